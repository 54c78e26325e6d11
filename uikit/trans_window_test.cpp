// The skinned window hosts with real windows: description building, hit
// tests, the modal loop, round corners, the 16-bit paint path, the opening
// animation and the shake.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "base/bind.h"
#include "base/message_loop.h"
#include "uikit/display_depth.h"
#include "uikit/gdiplus_session.h"
#include "uikit/trans_window.h"
#include "uikit/trans_window_ex.h"
#include "uikit/ui_messages.h"

namespace uikit {
namespace {

int g_bits = 32;
int TestBits() { return g_bits; }

// Runs `check` every 10 ms on the loop until it answers true; false when
// the bound passes first.
struct Poll {
  base::MessageLoop* loop;
  std::function<bool()> check;
  int left_ms;
  bool met = false;
};

void PollTick(Poll* poll) {
  if (poll->check()) {
    poll->met = true;
    poll->loop->Quit();
    return;
  }
  poll->left_ms -= 10;
  if (poll->left_ms <= 0) {
    poll->loop->Quit();
    return;
  }
  poll->loop->PostDelayedTask(fastdelegate::Bind(&PollTick, poll), 10000);
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_bits = 32;
    SetDisplayDepthSource(&TestBits);
    loop_.reset(new base::MessageLoop(base::MessageLoop::TYPE_UI));
    g_ui_loop = loop_.get();
  }
  void TearDown() override {
    g_ui_loop = nullptr;
    loop_.reset();
    SetDisplayDepthSource(nullptr);
  }
  bool RunUntil(std::function<bool()> check, int bound_ms = 10000) {
    Poll poll{loop_.get(), std::move(check), bound_ms};
    loop_->PostTask(fastdelegate::Bind(&PollTick, &poll));
    loop_->Run();
    return poll.met;
  }

  ScopedGdiplus gdiplus_;
  std::unique_ptr<base::MessageLoop> loop_;
};

class TestMainWindow : public CTransWindowEx {
 public:
  int shown = 0;
  int paints = 0;
  int before_shake = 0;
  int after_shake = 0;
  int clicks = 0;
  int OnClick() { return ++clicks; }
  using CUpdateWindowBase::DestroyControls;

 protected:
  void OnShown() override { ++shown; }
  void OnBeforeShake() override { ++before_shake; }
  void OnAfterShake() override { ++after_shake; }
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
    if (message == WM_PAINT) ++paints;
    return CTransWindowEx::HandleMessage(message, wparam, lparam, result);
  }
};

class TestDialog : public CTransWindow {};

std::string Description(const char* root_attributes, const char* children = "") {
  return std::string("<?xml version='1.0' encoding='utf-8'?><window ") + root_attributes + ">" +
         children + "</window>";
}

const char kControls[] =
    "<button id='b' left='10' top='10' width='40' height='20'/>"
    "<radiobutton id='r' left='60' top='10' width='40' height='20'/>"
    "<mystery id='m'><button id='hidden' left='0' top='0' width='5' height='5'/></mystery>"
    "<optionline id='o' left='10' top='40' width='100' height='20'/>"
    "<panel id='p' left='0' top='100' width='200' height='50'>"
    "  <radiobutton id='pr' left='5' top='5' width='40' height='20'/></panel>";

TEST_F(HostTest, DescriptionRootAndElementTables) {
  TestMainWindow wrong_root;
  EXPECT_FALSE(wrong_root.CreateFromDescriptionText(
      "<Window width='300' height='200' style='2248146944'/>"));
  EXPECT_EQ(nullptr, wrong_root.hwnd());
  TestMainWindow broken;
  EXPECT_FALSE(broken.CreateFromDescriptionText("<window width='300'"));
  TestMainWindow missing;
  EXPECT_FALSE(missing.CreateFromDescription(L"NO_SUCH_DESCRIPTION"));

  TestMainWindow main_window;
  ASSERT_TRUE(main_window.CreateFromDescriptionText(
      Description("width='300' height='200' style='2248146944'", kControls)));
  // button, optionline, panel; radiobutton only inside the panel; the
  // unknown element is skipped with its subtree.
  EXPECT_EQ(3u, main_window.controls().size());
  EXPECT_NE(nullptr, main_window.FindControl(L"b"));
  EXPECT_NE(nullptr, main_window.FindControl(L"o"));
  EXPECT_NE(nullptr, main_window.FindControl(L"pr"));
  EXPECT_EQ(nullptr, main_window.FindControl(L"r"));
  EXPECT_EQ(nullptr, main_window.FindControl(L"hidden"));
  // Style 2248146944 is the pattern 0x86000000; the host adds 0x80.
  EXPECT_EQ(0x86000080u, static_cast<DWORD>(GetWindowLongPtrW(main_window.hwnd(), GWL_STYLE)) &
                             0xFF0000FFu);

  TestDialog dialog;
  ASSERT_TRUE(dialog.CreateFromDescriptionText(
      Description("width='300' height='200' style='2248146944'", kControls)));
  EXPECT_EQ(2u, dialog.controls().size());  // No optionline in dialogs.
  EXPECT_EQ(nullptr, dialog.FindControl(L"o"));
}

TEST_F(HostTest, DialogCaptionBand) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.CreateFromDescriptionText(Description(
      "left='100' top='100' width='300' height='200' style='2248146944' titleHeight='41'",
      "<button id='b' left='200' top='10' width='40' height='20'/>")));
  RECT window;
  GetWindowRect(dialog.hwnd(), &window);
  auto hit = [&](int x, int y) {
    return SendMessageW(dialog.hwnd(), WM_NCHITTEST, 0,
                        MAKELPARAM(window.left + x, window.top + y));
  };
  EXPECT_EQ(HTCLIENT, hit(50, 4));
  EXPECT_EQ(HTCAPTION, hit(50, 5));
  EXPECT_EQ(HTCAPTION, hit(50, 41));
  EXPECT_EQ(HTCLIENT, hit(50, 42));
  EXPECT_EQ(HTCLIENT, hit(210, 20));  // On the button.

  TestDialog flat;
  ASSERT_TRUE(flat.CreateFromDescriptionText(
      Description("left='100' top='100' width='300' height='200' style='2248146944'")));
  GetWindowRect(flat.hwnd(), &window);
  for (int y = 0; y < 200; y += 7) {
    EXPECT_EQ(HTCLIENT, SendMessageW(flat.hwnd(), WM_NCHITTEST, 0,
                                     MAKELPARAM(window.left + 50, window.top + y)));
  }
}

TEST_F(HostTest, RoundCornersKeepTheBottomSquare) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.CreateFromDescriptionText(Description(
      "left='100' top='100' width='300' height='200' style='2248146944' roundcorner='1'")));
  SetWindowPos(dialog.hwnd(), nullptr, 0, 0, 320, 210, SWP_NOMOVE | SWP_NOZORDER);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(dialog.hwnd(), region));
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, 319, 0));
  EXPECT_TRUE(PtInRegion(region, 160, 0));
  EXPECT_TRUE(PtInRegion(region, 0, 209));
  EXPECT_TRUE(PtInRegion(region, 319, 209));
  DeleteObject(region);
}

void CheckOwnerDisabledThenClose(HWND* owner, TestDialog* dialog, bool* owner_was_disabled) {
  *owner_was_disabled = IsWindowEnabled(*owner) == FALSE;
  dialog->EndDialog(7);
}

TEST_F(HostTest, RunModalDisablesTheOwnerWhileTasksRun) {
  TestMainWindow owner;
  ASSERT_TRUE(owner.CreateFromDescriptionText(
      Description("left='50' top='50' width='400' height='300' style='2248146944'")));
  ShowWindow(owner.hwnd(), SW_SHOWNORMAL);
  TestDialog dialog;
  dialog.set_owner_window(owner.hwnd());
  ASSERT_TRUE(dialog.CreateFromDescriptionText(Description(
      "left='100' top='100' width='300' height='200' style='2248146944' center='1'")));
  EXPECT_EQ(owner.hwnd(), GetWindow(dialog.hwnd(), GW_OWNER));

  bool owner_was_disabled = false;
  HWND owner_hwnd = owner.hwnd();
  // Posted before the modal loop starts; runs inside it, 50 ms later.
  g_ui_loop->PostDelayedTask(fastdelegate::Bind(&CheckOwnerDisabledThenClose, &owner_hwnd,
                                                &dialog, &owner_was_disabled),
                             50000);
  EXPECT_EQ(7, dialog.RunModal());
  EXPECT_TRUE(owner_was_disabled);
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
  EXPECT_FALSE(dialog.IsWindow());
  EXPECT_EQ(0u, dialog.controls().size());
}

TEST_F(HostTest, SixteenBitDisplayPaintsOnWmPaint) {
  g_bits = 16;
  TestMainWindow window;
  ASSERT_TRUE(window.CreateFromDescriptionText(Description(
      "left='100' top='100' width='300' height='200' style='2248146944'",
      "<button id='b' left='10' top='10' width='40' height='20'/>")));
  window.set_animating(false);
  window.ShowAnimated();
  EXPECT_TRUE(IsWindowVisible(window.hwnd()));
  ASSERT_TRUE(RunUntil([&] { return window.paints > 0; }));
  const int before = window.paints;
  // A control's repaint request turns into WM_PAINT.
  window.FindControl(L"b")->Invalidate(true);
  ASSERT_TRUE(RunUntil([&] { return window.paints > before; }));
  EXPECT_EQ(0, GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(0, window.shown);  // The shown hook belongs to the animation.
}

TEST_F(HostTest, OpeningAnimationEndsInPlaceAndCallsTheShownHook) {
  TestMainWindow window;
  ASSERT_TRUE(window.CreateFromDescriptionText(Description(
      "left='200' top='150' width='492' height='402' style='2248146944' titleHeight='246'",
      "<button id='id_close' left='33' top='21' width='11' height='12'"
      "        xAlignment='right'/>")));
  window.set_animating(true);
  window.ShowAnimated();
  RECT window_rect;
  GetWindowRect(window.hwnd(), &window_rect);
  EXPECT_EQ(HTNOWHERE, SendMessageW(window.hwnd(), WM_NCHITTEST, 0,
                                    MAKELPARAM(window_rect.left + 250, window_rect.top + 100)));
  ASSERT_TRUE(RunUntil([&] { return window.shown > 0; }));
  EXPECT_EQ(1, window.shown);
  EXPECT_FALSE(window.animating());
  GetWindowRect(window.hwnd(), &window_rect);
  const RECT want = window.window_rect();
  EXPECT_TRUE(EqualRect(&want, &window_rect));
  EXPECT_EQ(492, window_rect.right - window_rect.left);
  EXPECT_NE(0, GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  // The layout ran once for the final size: the close button sits at the right.
  EXPECT_EQ(459, window.FindControl(L"id_close")->left());
  // Now the banner drags and the button takes the mouse.
  EXPECT_EQ(HTCAPTION, SendMessageW(window.hwnd(), WM_NCHITTEST, 0,
                                    MAKELPARAM(window_rect.left + 250, window_rect.top + 100)));
  EXPECT_EQ(HTCLIENT, SendMessageW(window.hwnd(), WM_NCHITTEST, 0,
                                   MAKELPARAM(window_rect.left + 462, window_rect.top + 25)));
  EXPECT_EQ(HTCLIENT, SendMessageW(window.hwnd(), WM_NCHITTEST, 0,
                                   MAKELPARAM(window_rect.left + 250, window_rect.top + 300)));

  TestMainWindow small;
  ASSERT_TRUE(small.CreateFromDescriptionText(
      Description("width='149' height='300' style='2248146944'")));
  small.set_animating(true);
  small.ShowAnimated();
  EXPECT_FALSE(small.animating());
  EXPECT_TRUE(IsWindowVisible(small.hwnd()));
}

TEST_F(HostTest, ShakeReturnsToTheExactPlace) {
  TestMainWindow window;
  ASSERT_TRUE(window.CreateFromDescriptionText(
      Description("left='120' top='130' width='300' height='200' style='2248146944'")));
  ShowWindow(window.hwnd(), SW_SHOWNORMAL);
  RECT before;
  GetWindowRect(window.hwnd(), &before);
  window.BringToFront();
  EXPECT_TRUE(window.shaking());
  // A second request while shaking keeps the saved place.
  ASSERT_TRUE(RunUntil([&] {
    RECT now;
    GetWindowRect(window.hwnd(), &now);
    return !EqualRect(&now, &before);
  }));
  window.BringToFront();
  ASSERT_TRUE(RunUntil([&] { return !window.shaking(); }));
  RECT after;
  GetWindowRect(window.hwnd(), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_EQ(2, window.before_shake);
  EXPECT_EQ(1, window.after_shake);
}

TEST_F(HostTest, NotificationsOfDestroyedControlsAreDropped) {
  TestMainWindow window;
  ASSERT_TRUE(window.CreateFromDescriptionText(Description(
      "width='300' height='200' style='2248146944'",
      "<button id='b' left='10' top='10' width='40' height='20'/>")));
  CBaseElementCtl* button = window.FindControl(L"b");
  button->SetClickHandler(&window, &TestMainWindow::OnClick);
  button->NotifyClicked();
  ASSERT_TRUE(RunUntil([&] { return window.clicks == 1; }));
  button->NotifyClicked();
  window.DestroyControls();
  // A later message proves the stale one was handled (and dropped) first.
  bool later = false;
  PostMessageW(window.hwnd(), WM_NULL, 0, 0);
  ASSERT_TRUE(RunUntil([&] {
    MSG msg;
    later = !PeekMessageW(&msg, window.hwnd(), 0, 0, PM_NOREMOVE);
    return later;
  }));
  EXPECT_EQ(1, window.clicks);
}

}  // namespace
}  // namespace uikit
