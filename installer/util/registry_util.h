// Registry string access in the 64-bit view, and the choice of the
// "SOFTWARE" prefix under which a 32-bit program finds its own entries.
//
// The installer is a 32-bit program. It reads and writes through
// KEY_WOW64_64KEY, so on 64-bit Windows both land in the 64-bit view; the
// product's own keys are then addressed as "SOFTWARE\Wow6432Node\..." on a
// 64-bit system (see RegistryViewPrefix). Any thread; no state.
#pragma once

#include <windows.h>

#include <string>

// Reads a REG_SZ value (at most 1023 characters). On success stores it in
// *value and returns true; on any failure returns false and leaves *value
// untouched.
bool RegReadString(HKEY root, const std::wstring& subkey,
                   const std::wstring& name, std::wstring* value);

// Creates the key if needed and writes a REG_SZ value; true on success.
bool RegWriteString(HKEY root, const std::wstring& subkey,
                    const std::wstring& name, const std::wstring& value);

// The prefix under HKEY_LOCAL_MACHINE of the product's keys: on a 64-bit
// system (the installer then runs under WoW64) "SOFTWARE\Wow6432Node\",
// otherwise "SOFTWARE\". Pure.
std::wstring RegistryViewPrefix(bool wow64_process);

// Asks IsWow64Process (looked up at run time in kernel32) about the current
// process. Returns false when the function is missing or the call fails;
// *wow64 is set only on success. A 64-bit build always answers false in
// *wow64, since it is not a WoW64 process.
bool QueryWow64Process(bool* wow64);
