// Folder and file helpers for the install steps: creation, deletion that
// survives locked files, replacement and tree copy.
//
// Paths are wide; buffers inside are MAX_PATH (260) characters. All
// functions are stateless, may run on any thread, never throw and never
// write to the log: failure shows only in the result.
#pragma once

#include <string>

// false for a null or empty path; CreateDirectoryW; true when the folder was
// created or already existed.
bool CreateDirectoryIfMissing(const wchar_t* path);

// Creates, in order, every folder named by a prefix of `path` that ends just
// before a "\" or "/" (one-character prefixes such as "\" are skipped). The
// text after the last separator is not created: "C:\a\b" creates "C:\a",
// "C:\a\b\" creates both. false for a null/empty path or one longer than
// 260 characters; true at once for a root; else the result of the last
// creation (false when the path has no separator at all).
bool CreateParentFolders(const wchar_t* path);

// SHGetSpecialFolderPathW(NULL, csidl, create); empty on failure.
std::wstring GetSpecialFolderPath(int csidl, bool create);

// Text after the last "\" or "/" (the whole path when there is none).
std::wstring FileNameOf(const std::wstring& path);
// Text up to and including the last "\" or "/" (empty when there is none).
std::wstring DirectoryOf(const std::wstring& path);
// Appends "\" to a non-empty path that lacks it (PathAddBackslashW rules,
// at most 260 characters). Always true.
bool AddTrailingBackslash(std::wstring* path);

// Deletes a file even when it is in use. true when there is nothing to
// delete (no such path, or a folder) or the delete succeeded. A file that
// cannot be deleted but can be renamed (a running program or a loaded
// library) is renamed to path + ".tmp"; that copy is deleted if possible,
// otherwise scheduled for deletion at the next reboot, and the result is
// false because the original could not be deleted directly.
bool DeleteFileForce(const std::wstring& path);

// Removes a folder and everything in it through the shell; a file of that
// name is deleted too. Does nothing for an empty path. Always true.
bool DeleteFolderTree(const std::wstring& folder);

// Copies `source` over `target`, moving a locked target out of the way as
// DeleteFileForce does. false when the source does not exist or both name
// the same file (compared without regard to case); else true (the copy's own
// result is not checked; callers verify the target where it matters).
bool ReplaceFileForce(const std::wstring& source, const std::wstring& target);

// Copies a folder tree. With `overwrite`, existing target files are replaced
// (ReplaceFileForce); without it only missing files are copied. Subfolders
// whose names begin with "." are skipped. false when the source does not
// exist; else the result of the last file or folder handled.
bool CopyFolderTree(const std::wstring& source, const std::wstring& target,
                    bool overwrite);
