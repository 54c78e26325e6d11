// File version text ("%d.%d.%d.%d") from a file's version resource.
// Any thread; no state.
#pragma once

#include <cstddef>
#include <string>

// Formats the fixed file version of `path` into `buffer` (always
// terminated). false for a null/empty path, a version block larger than
// 0x3FFF bytes, a file without version resource or a too small buffer.
bool GetFileVersionText(const wchar_t* path, wchar_t* buffer, size_t buffer_length);

// GetFileVersionText into a string; empty on failure.
std::wstring GetFileVersionString(const std::wstring& path);

// The version of the running program's own file; empty when unknown.
std::wstring GetOwnFileVersion();
