#include "uikit/gdiplus_session.h"

#include <gtest/gtest.h>

#include <memory>

#include "uikit/gdiplus_include.h"

namespace uikit {
namespace {

// GDI+ answers a real call only while it runs.
bool GdiplusWorks() {
  Gdiplus::GpBitmap* bitmap = nullptr;
  Gdiplus::Status status = Gdiplus::DllExports::GdipCreateBitmapFromScan0(
      4, 4, 0, PixelFormat32bppARGB, nullptr, &bitmap);
  if (bitmap) Gdiplus::DllExports::GdipDisposeImage(bitmap);
  return status == Gdiplus::Ok;
}

// One thread's turn: 50 short GDI+ uses. 0 when every one worked.
DWORD WINAPI UseGdiplusRepeatedly(void*) {
  for (int i = 0; i < 50; ++i) {
    ScopedGdiplus user;
    if (!user.ok() || !GdiplusWorks()) return 1;
  }
  return 0;
}

// This program has no other GDI+ user, so the counts are absolute.
TEST(GdiplusSessionTest, FirstUserStartsLastUserStops) {
  ASSERT_EQ(0, GdiplusSession::user_count());
  ASSERT_TRUE(GdiplusSession::AddUser());
  EXPECT_EQ(1, GdiplusSession::user_count());
  EXPECT_TRUE(GdiplusWorks());
  {
    ScopedGdiplus nested;
    EXPECT_TRUE(nested.ok());
    EXPECT_EQ(2, GdiplusSession::user_count());
  }
  EXPECT_EQ(1, GdiplusSession::user_count());
  EXPECT_TRUE(GdiplusWorks());  // the nested user's leaving kept it running
  GdiplusSession::RemoveUser();
  EXPECT_EQ(0, GdiplusSession::user_count());
  GdiplusSession::RemoveUser();  // one too many: ignored
  EXPECT_EQ(0, GdiplusSession::user_count());
  // Starts again for a new first user.
  ScopedGdiplus again;
  EXPECT_TRUE(again.ok());
  EXPECT_EQ(1, GdiplusSession::user_count());
  EXPECT_TRUE(GdiplusWorks());
}

TEST(GdiplusSessionTest, UsersOnManyThreadsBalance) {
  const int kThreads = 8;
  HANDLE threads[kThreads];
  for (HANDLE& thread : threads) {
    thread = CreateThread(nullptr, 0, UseGdiplusRepeatedly, nullptr, 0, nullptr);
    ASSERT_NE(nullptr, thread);
  }
  WaitForMultipleObjects(kThreads, threads, TRUE, INFINITE);
  for (HANDLE thread : threads) {
    DWORD code = 2;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(0u, code);
    CloseHandle(thread);
  }
  EXPECT_EQ(0, GdiplusSession::user_count());
}

}  // namespace
}  // namespace uikit
