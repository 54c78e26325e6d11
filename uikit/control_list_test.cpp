#include "uikit/control_list.h"

#include <gtest/gtest.h>

#include "uikit/button_ctl.h"
#include "uikit/check_box_ctl.h"
#include "uikit/link_ctl.h"
#include "uikit/panel_ctl.h"
#include "uikit/recording_window_for_test.h"
#include "uikit/ui_messages.h"

namespace uikit {
namespace {

WPARAM W(const CBaseElementCtl* control) { return reinterpret_cast<WPARAM>(control); }

template <class T>
T* Make(HWND owner, const wchar_t* id, int x, int y, int w, int h) {
  T* control = new T(owner, false);
  control->SetId(id);
  control->SetPosition(x, y, w, h);
  control->SetDesignPosition(x, y, w, h);
  return control;
}

class ControlListTest : public ::testing::Test {
 protected:
  void SetUp() override { list_.set_owner(window_.hwnd()); }
  RecordingWindow window_;
  ControlList list_;
};

TEST_F(ControlListTest, OverlappingButtonsAndEdges) {
  auto* first = Make<CButtonCtl>(window_.hwnd(), L"first", 10, 10, 50, 20);
  auto* second = Make<CButtonCtl>(window_.hwnd(), L"second", 30, 10, 50, 20);
  list_.Add(first);
  list_.Add(second);
  window_.Take();

  // The later control in list order is the hovered one.
  list_.MouseMove(0, 40, 15);
  EXPECT_EQ(second, list_.hovered());
  // Both get the press; only the first "DirectButton" gets the release.
  list_.LeftDown(0, 40, 15);
  EXPECT_EQ(CButtonCtl::kPressed, first->state());
  EXPECT_EQ(CButtonCtl::kPressed, second->state());
  list_.LeftUp(0, 40, 15);
  std::vector<RecordedMessage> got;
  for (const RecordedMessage& m : window_.Take()) {
    if (m.message == WM_UI_CLICKED) got.push_back(m);
  }
  ASSERT_EQ(1u, got.size());
  EXPECT_EQ(W(first), got[0].wparam);

  // Right and bottom edges hit; one past does not.
  EXPECT_TRUE(list_.AnyControlAt(80, 30));
  EXPECT_FALSE(list_.AnyControlAt(81, 30));
  EXPECT_FALSE(list_.AnyControlAt(40, 31));
}

TEST_F(ControlListTest, LeavingCancelsTheClick) {
  auto* button = Make<CButtonCtl>(window_.hwnd(), L"id_install", 10, 10, 50, 20);
  list_.Add(button);
  list_.MouseMove(0, 20, 20);
  list_.LeftDown(0, 20, 20);
  list_.MouseMove(0, 200, 200);  // Out: the button leaves.
  EXPECT_EQ(CButtonCtl::kNormal, button->state());
  list_.MouseMove(0, 20, 20);    // Back in.
  EXPECT_EQ(CButtonCtl::kHover, button->state());
  list_.LeftUp(0, 20, 20);
  for (const RecordedMessage& m : window_.Take()) EXPECT_NE(WM_UI_CLICKED, m.message);

  // Disabled: the mouse changes nothing.
  button->EnableButton(false);
  list_.LeftDown(0, 20, 20);
  list_.LeftUp(0, 20, 20);
  EXPECT_EQ(CButtonCtl::kDisabled, button->state());
  for (const RecordedMessage& m : window_.Take()) EXPECT_NE(WM_UI_CLICKED, m.message);
}

TEST_F(ControlListTest, CheckBoxPostsChangedBeforeClicked) {
  auto* box = Make<CCheckBoxCtl>(window_.hwnd(), L"id_checkbox", 20, 89, 30, 27);
  list_.Add(box);
  window_.Take();
  list_.LeftDown(0, 25, 100);
  list_.LeftUp(0, 25, 100);
  const std::vector<RecordedMessage> want = {{WM_UI_CHANGED, W(box), 0},
                                             {WM_UI_CLICKED, W(box), 0}};
  EXPECT_EQ(want, window_.Take());
  EXPECT_TRUE(box->GetCheck());
  EXPECT_EQ(CButtonCtl::kPressed, box->state());
  list_.LeftDown(0, 25, 100);
  EXPECT_FALSE(box->GetCheck());

  // SetCheck on a disabled box checks it and leaves the disabled state.
  box->EnableButton(false);
  box->SetCheck(true);
  EXPECT_TRUE(box->GetCheck());
  EXPECT_EQ(CButtonCtl::kPressed, box->state());
}

TEST_F(ControlListTest, LinkTooltipAndCursorOnEnterAndLeave) {
  auto* link = Make<CHyperLinkCtl>(window_.hwnd(), L"id_openurl", 40, 94, 220, 27);
  link->SetTip(L"agreement");
  list_.Add(link);
  window_.Take();
  const WPARAM hand = reinterpret_cast<WPARAM>(LoadCursorW(nullptr, IDC_HAND));
  const WPARAM arrow = reinterpret_cast<WPARAM>(LoadCursorW(nullptr, IDC_ARROW));

  list_.MouseMove(0, 50, 100);
  std::vector<RecordedMessage> want = {{WM_UI_TOOLTIP, 1, 0}, {WM_UI_CURSOR, hand, 0}};
  EXPECT_EQ(want, window_.Take());
  // Moving inside sends nothing new.
  list_.MouseMove(0, 60, 100);
  EXPECT_TRUE(window_.Take().empty());
  // Out to empty space: hide the tip, and the cursor read after the link
  // reset it.
  list_.MouseMove(0, 5, 5);
  want = {{WM_UI_TOOLTIP, 0, 0}, {WM_UI_CURSOR, arrow, 0}};
  EXPECT_EQ(want, window_.Take());
  EXPECT_EQ(nullptr, list_.hovered());
}

TEST_F(ControlListTest, FindControlSearchesPanelsFirst) {
  auto* panel = Make<CPanelCtl>(window_.hwnd(), L"id_panel_main", 6, 246, 480, 150);
  auto* inner = Make<CButtonCtl>(window_.hwnd(), L"id_install", 160, 28, 180, 42);
  panel->AddChild(inner);
  auto* later = Make<CButtonCtl>(window_.hwnd(), L"id_install", 0, 0, 10, 10);
  auto* same_id_as_panel = Make<CButtonCtl>(window_.hwnd(), L"id_panel_main", 0, 0, 10, 10);
  list_.Add(panel);
  list_.Add(later);
  list_.Add(same_id_as_panel);
  EXPECT_EQ(inner, list_.FindControl(L"id_install"));
  EXPECT_EQ(panel, list_.FindControl(L"id_panel_main"));
  EXPECT_EQ(nullptr, list_.FindControl(L"ID_INSTALL"));
  // Children are shifted by the panel's position.
  EXPECT_EQ(166, inner->left());
  EXPECT_EQ(274, inner->top());

  // The mouse reaches the child through the panel; hiding the panel hides it.
  list_.LeftDown(0, 170, 280);
  EXPECT_EQ(CButtonCtl::kPressed, inner->state());
  panel->SetVisible(false);
  EXPECT_FALSE(inner->IsVisible());
  inner->SetVisible(false);
  panel->SetVisible(true);
  EXPECT_TRUE(inner->IsVisible());
}

}  // namespace
}  // namespace uikit
