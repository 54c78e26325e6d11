#pragma once

#include <string>

// Helpers shared by the archive extractor tests. The fixtures are made by
// testing/archive_fixtures.py, which names their folder in the environment
// variable QIV_ARCHIVE_FIXTURES.

// The fixture folder (empty when the variable is missing).
std::wstring FixtureFolder();
// FixtureFolder() + "\" + name.
std::wstring Fixture(const std::wstring& name);
// A new, empty folder below the fixture folder's "work" folder.
std::wstring NewWorkFolder();

bool PathExists(const std::wstring& path);
bool IsFolderPath(const std::wstring& path);
// The whole content of a file; empty when it cannot be read.
std::string ReadWholeFile(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, const std::string& content);
// True when the two files have the same bytes (read in pieces, for big ones).
bool SameFileContent(const std::wstring& a, const std::wstring& b);
// Paths (relative to |root|, "\" separated) of every file and folder below
// it, folders ending in "\", sorted.
std::wstring ListTree(const std::wstring& root);
