// Path rules of the extractors: every entry of a pack must land inside its
// confinement folder, whatever its name says ("..\", drive letters, roots).
// The rule is applied to the path the file system itself resolves, so
// "a\..\..\x" and "a/./../x" are judged by where they really lead.
//
// Stateless; any thread.
#pragma once

#include <string>

// GetFullPathNameW of |path|: absolute, "." and ".." resolved, separators
// made "\". Empty on failure.
std::wstring FullPathOf(const std::wstring& path);

// |path| without the "\" or "/" characters at its end (a lone one is kept).
std::wstring WithoutTrailingSeparators(std::wstring path);

// True when |full| is the folder |root| or lies below it. Both are full
// paths (FullPathOf) and |root| has no trailing separator; the comparison
// ignores case, as the file system does.
bool IsPathWithin(const std::wstring& full, const std::wstring& root);

// True when |path| names an existing folder.
bool IsExistingFolder(const std::wstring& path);

// Creates the missing folders of |folder| below |root| (both full paths,
// |folder| within |root|). Failures show up when a file in them cannot be
// created.
void CreateFoldersBelow(const std::wstring& root, const std::wstring& folder);
