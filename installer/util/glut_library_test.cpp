#include "installer/util/glut_library.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "installer/util/test_folder.h"

namespace {

// The embedded library is the freeglut DLL of this build: written out, it
// loads and exports the two entry points the OpenGL probe calls.
TEST(GlutLibraryTest, WrittenLibraryLoads) {
  TestFolder folder;
  std::wstring target = folder.Child(L"glut32.dll");
  ASSERT_TRUE(WriteGlutLibrary(target));
  HMODULE library = LoadLibraryW(target.c_str());
  ASSERT_NE(nullptr, library) << GetLastError();
  EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(library, "glutInit")));
  EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(library, "glutCreateWindow")));
  FreeLibrary(library);
}

TEST(GlutLibraryTest, CurrentFolderCopyAndPath) {
  TestFolder folder;
  wchar_t saved[MAX_PATH] = {0};
  GetCurrentDirectoryW(MAX_PATH, saved);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
  bool written = WriteGlutLibraryToCurrentFolder();
  SetCurrentDirectoryW(saved);
  ASSERT_TRUE(written);
  EXPECT_EQ(folder.Child(L"glut32.dll"), GlutLibraryPath());
  EXPECT_GT(ReadTestFile(GlutLibraryPath()).size(), 100000u);
}

TEST(GlutLibraryTest, UnwritableTargetFails) {
  EXPECT_FALSE(WriteGlutLibrary(L"Z:\\no\\such\\folder\\glut32.dll"));
}

}  // namespace
