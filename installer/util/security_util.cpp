#include "installer/util/security_util.h"

#include <aclapi.h>
#include <shlwapi.h>

#include "installer/util/scoped_handle.h"

namespace {

// SECURITY_MAX_SID_SIZE: large enough for every well-known SID.
constexpr DWORD kSidBytes = 68;

}  // namespace

PSID CreateWellKnownSidAlloc(WELL_KNOWN_SID_TYPE type) {
  PSID sid = LocalAlloc(LMEM_FIXED, kSidBytes);
  if (sid == nullptr) return nullptr;
  DWORD size = kSidBytes;
  if (!CreateWellKnownSid(type, nullptr, sid, &size)) {
    LocalFree(sid);
    return nullptr;
  }
  return sid;
}

bool BuildFullAccessDacl(PACL old_dacl, PACL* new_dacl) {
  if (new_dacl == nullptr) return false;
  *new_dacl = nullptr;
  const WELL_KNOWN_SID_TYPE kTrustees[] = {WinWorldSid, WinBuiltinAdministratorsSid,
                                           WinBuiltinUsersSid};
  ScopedLocalMemory sids[3];
  EXPLICIT_ACCESS_W entries[3] = {};
  ULONG count = 0;
  for (WELL_KNOWN_SID_TYPE type : kTrustees) {
    PSID sid = CreateWellKnownSidAlloc(type);
    if (sid == nullptr) continue;  // left out; the next one moves up
    *sids[count].receive() = sid;
    EXPLICIT_ACCESS_W& entry = entries[count++];
    entry.grfAccessPermissions = FILE_ALL_ACCESS;
    entry.grfAccessMode = GRANT_ACCESS;
    entry.grfInheritance = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.TrusteeType = TRUSTEE_IS_UNKNOWN;
    entry.Trustee.ptstrName = static_cast<LPWSTR>(sid);
  }
  if (count == 0) return false;
  return SetEntriesInAclW(count, entries, old_dacl, new_dacl) == ERROR_SUCCESS;
}

bool GrantFolderFullAccess(const wchar_t* folder) {
  if (folder == nullptr || folder[0] == 0 || !PathIsDirectoryW(folder)) return false;
  PACL old_dacl = nullptr;  // points into `descriptor`
  ScopedLocalMemory descriptor;
  if (GetNamedSecurityInfoW(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                            nullptr, nullptr, &old_dacl, nullptr,
                            reinterpret_cast<PSECURITY_DESCRIPTOR*>(
                                descriptor.receive())) != ERROR_SUCCESS)
    return false;
  ScopedLocalMemory new_dacl;
  if (!BuildFullAccessDacl(old_dacl, reinterpret_cast<PACL*>(new_dacl.receive())))
    return false;
  return SetNamedSecurityInfoW(const_cast<LPWSTR>(folder), SE_FILE_OBJECT,
                               DACL_SECURITY_INFORMATION, nullptr, nullptr,
                               static_cast<PACL>(new_dacl.get()),
                               nullptr) == ERROR_SUCCESS;
}
