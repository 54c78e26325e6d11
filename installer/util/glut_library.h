// Writes the GLUT library embedded in the program (resource "OPENG32LDLL" of
// type "APP") to disk for the OpenGL probe, which loads it by name.
//
// Programs that call these functions link the object library
// qiv_glut_resource, which carries the resource; without it the writers
// return false.
#pragma once

#include <string>

// Writes the resource from the resource module to `target` (CREATE_ALWAYS,
// no sharing). true when every byte was written; a partly written file is
// removed.
bool WriteGlutLibrary(const std::wstring& target);

// Writes "<current directory>\glut32.dll" and remembers that path (see
// GlutLibraryPath). UI thread, before the probe is posted to the file thread.
bool WriteGlutLibraryToCurrentFolder();

// The path WriteGlutLibraryToCurrentFolder chose last (empty before). Read
// on the thread that runs the probe, after the write was posted to it.
std::wstring GlutLibraryPath();
