// The module whose resources the program reads (window descriptions,
// images, strings, the embedded GLUT library), and string resources.
#pragma once

#include <windows.h>

#include <string>

// The resource module; the program's own module until SetResourceModule is
// called. Any thread.
HMODULE ResourceModule();
// Set once by the entry point, before other threads start.
void SetResourceModule(HMODULE module);

// LoadStringW from the resource module, growing the buffer by 256
// characters until the string fits. false (and an empty *text) when the
// string does not exist or is empty.
bool LoadResourceString(UINT id, std::wstring* text);
