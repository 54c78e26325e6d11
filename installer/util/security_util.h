// Folder permissions for the installed tree: the emulator runs without
// administrator rights and must be able to write everywhere in its folder.
// Any thread; no state.
#pragma once

#include <windows.h>

// Allocates (LocalAlloc, 68 bytes) and fills a well-known SID; null on
// failure. The caller frees it with LocalFree.
PSID CreateWellKnownSidAlloc(WELL_KNOWN_SID_TYPE type);

// Builds a copy of `old_dacl` (null: an empty list) with inheritable
// full-access entries added for Everyone, Administrators and Users, in that
// order; a SID that cannot be made is left out. The caller frees *new_dacl
// with LocalFree. false when no entry could be made or the merge failed.
bool BuildFullAccessDacl(PACL old_dacl, PACL* new_dacl);

// Adds inheritable full-access entries for Everyone, Administrators and
// Users to the folder's DACL. false for a null/empty path, a path that is
// not a folder, or when the DACL cannot be read or written.
bool GrantFolderFullAccess(const wchar_t* folder);
