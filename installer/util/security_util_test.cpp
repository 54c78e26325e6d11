#include "installer/util/security_util.h"

#include <aclapi.h>

#include <gtest/gtest.h>

#include "installer/util/scoped_handle.h"
#include "installer/util/test_folder.h"

namespace {

// Index of the allow entry for `type` with full access that child files and
// folders inherit, or -1.
int FullAccessEntryIndex(PACL dacl, WELL_KNOWN_SID_TYPE type) {
  ScopedLocalMemory sid(CreateWellKnownSidAlloc(type));
  for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(dacl, i, &ace)) continue;
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    const BYTE kInherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    if (EqualSid(&allowed->SidStart, sid.get()) && allowed->Mask == FILE_ALL_ACCESS &&
        (allowed->Header.AceFlags & kInherit) == kInherit)
      return static_cast<int>(i);
  }
  return -1;
}

TEST(SecurityUtilTest, WellKnownSid) {
  ScopedLocalMemory everyone(CreateWellKnownSidAlloc(WinWorldSid));
  ASSERT_NE(nullptr, everyone.get());
  EXPECT_TRUE(IsWellKnownSid(everyone.get(), WinWorldSid));
  EXPECT_EQ(nullptr, CreateWellKnownSidAlloc(static_cast<WELL_KNOWN_SID_TYPE>(9999)));
}

TEST(SecurityUtilTest, DaclGainsEveryoneAdministratorsAndUsersInOrder) {
  ScopedLocalMemory dacl;
  ASSERT_TRUE(BuildFullAccessDacl(nullptr, reinterpret_cast<PACL*>(dacl.receive())));
  PACL acl = static_cast<PACL>(dacl.get());
  ASSERT_EQ(3, acl->AceCount);
  EXPECT_EQ(0, FullAccessEntryIndex(acl, WinWorldSid));
  EXPECT_EQ(1, FullAccessEntryIndex(acl, WinBuiltinAdministratorsSid));
  EXPECT_EQ(2, FullAccessEntryIndex(acl, WinBuiltinUsersSid));
}

// The folder's present entries are kept beside the new ones.
TEST(SecurityUtilTest, DaclKeepsTheFoldersEntries) {
  TestFolder folder;
  PACL old_dacl = nullptr;
  ScopedLocalMemory descriptor;
  ASSERT_EQ(ERROR_SUCCESS,
            GetNamedSecurityInfoW(folder.path().c_str(), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION, nullptr, nullptr, &old_dacl,
                                  nullptr,
                                  reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.receive())));
  ASSERT_NE(nullptr, old_dacl);
  ScopedLocalMemory dacl;
  ASSERT_TRUE(BuildFullAccessDacl(old_dacl, reinterpret_cast<PACL*>(dacl.receive())));
  PACL acl = static_cast<PACL>(dacl.get());
  EXPECT_GE(acl->AceCount, old_dacl->AceCount);
  EXPECT_NE(-1, FullAccessEntryIndex(acl, WinWorldSid));
  EXPECT_NE(-1, FullAccessEntryIndex(acl, WinBuiltinUsersSid));
}

// Wine accepts the new DACL without keeping it (it derives a folder's DACL
// from the Unix mode), so under Wine only the call's answer is checked.
TEST(SecurityUtilTest, GrantOnFoldersOnly) {
  TestFolder folder;
  ASSERT_TRUE(WriteTestFile(folder.Child(L"file.txt"), "x"));
  EXPECT_TRUE(GrantFolderFullAccess(folder.path().c_str()));
  EXPECT_FALSE(GrantFolderFullAccess(nullptr));
  EXPECT_FALSE(GrantFolderFullAccess(L""));
  EXPECT_FALSE(GrantFolderFullAccess(folder.Child(L"file.txt").c_str()));
  EXPECT_FALSE(GrantFolderFullAccess(folder.Child(L"missing").c_str()));
}

}  // namespace
