#include "uikit/control_factory.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <memory>

#include "uikit/base_element_ctl.h"
#include "uikit/panel_ctl.h"
#include "uikit/recording_window_for_test.h"

namespace uikit {
namespace {

TEST(ControlFactoryTest, ElementTables) {
  struct Row {
    const wchar_t* name;
    bool main_host, dialog_host, panel;
  };
  const Row rows[] = {
      {L"button", true, true, true},        {L"checkbox", true, true, true},
      {L"radiobutton", false, false, true}, {L"link", true, true, true},
      {L"clrmembutton", false, false, true}, {L"static", true, true, true},
      {L"progress", true, true, true},      {L"panel", true, true, true},
      {L"optionline", true, false, false},  {L"Button", false, false, false},
      {L"window", false, false, false},     {L"", false, false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.main_host, IsKnownElement(ControlTable::kMainHost, row.name)) << row.name;
    EXPECT_EQ(row.dialog_host, IsKnownElement(ControlTable::kDialogHost, row.name)) << row.name;
    EXPECT_EQ(row.panel, IsKnownElement(ControlTable::kPanel, row.name)) << row.name;
  }
}

std::unique_ptr<CBaseElementCtl> CreateFrom(ControlTable table, const char* xml, HWND owner) {
  TiXmlDocument document;
  document.Parse(xml);
  return std::unique_ptr<CBaseElementCtl>(
      CreateControl(table, document.RootElement(), owner, true));
}

TEST(ControlFactoryTest, PanelChildrenAndTheirLayout) {
  RecordingWindow owner;
  const char* xml =
      "<panel id='id_panel_userdef' left='6' top='246' width='480' height='220'>"
      "  <button id='id_btn_installdir' left='102' top='28' width='82' height='29'"
      "          xAlignment='right'/>"
      "  <radiobutton id='id_radio' left='1' top='2' width='3' heigth='29'/>"
      "  <mystery id='id_mystery'><button id='id_hidden_inside'/></mystery>"
      "  <optionline id='id_line'/>"
      "  <panel id='id_inner'><static id='id_deep' left='5' top='5'/></panel>"
      "</panel>";
  std::unique_ptr<CBaseElementCtl> control = CreateFrom(ControlTable::kPanel, xml, owner.hwnd());
  ASSERT_NE(nullptr, control);
  ControlList* children = control->Children();
  ASSERT_NE(nullptr, children);
  // The button, the radio button and the inner panel; the unknown element
  // is skipped with its subtree, "optionline" is not a panel element.
  EXPECT_EQ(3u, children->size());
  EXPECT_NE(nullptr, children->FindControl(L"id_radio"));
  EXPECT_EQ(nullptr, children->FindControl(L"id_hidden_inside"));
  EXPECT_EQ(nullptr, children->FindControl(L"id_line"));
  EXPECT_NE(nullptr, children->FindControl(L"id_deep"));
  // "heigth" is not an attribute: the height stays 0.
  EXPECT_EQ(0, children->FindControl(L"id_radio")->height());

  CBaseElementCtl* button = children->FindControl(L"id_btn_installdir");
  EXPECT_EQ(108, button->left());  // Design position plus the panel's.
  control->Relayout(492, 472, 492, 472);
  EXPECT_EQ(384, button->left());  // 6 + 480 − 102.
  EXPECT_EQ(274, button->top());
  // The design geometry stays relative to the panel.
  EXPECT_EQ(102, button->GetDesignRect().left);
}

TEST(ControlFactoryTest, WindowLevelTables) {
  RecordingWindow owner;
  EXPECT_EQ(nullptr, CreateFrom(ControlTable::kMainHost, "<radiobutton/>", owner.hwnd()));
  EXPECT_EQ(nullptr, CreateFrom(ControlTable::kDialogHost, "<radiobutton/>", owner.hwnd()));
  EXPECT_EQ(nullptr, CreateFrom(ControlTable::kDialogHost, "<optionline/>", owner.hwnd()));
  EXPECT_NE(nullptr, CreateFrom(ControlTable::kMainHost, "<optionline/>", owner.hwnd()));
  std::unique_ptr<CBaseElementCtl> progress =
      CreateFrom(ControlTable::kMainHost, "<progress id='p'/>", owner.hwnd());
  ASSERT_NE(nullptr, progress);
  // Made from a description at window level, it still repaints as layered.
  EXPECT_TRUE(progress->IsLayered());
  EXPECT_FALSE(progress->IsActive());
}

}  // namespace
}  // namespace uikit
