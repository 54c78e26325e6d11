#include "uikit/control_factory.h"

#include <tinyxml.h>

#include <cwchar>
#include <string>

#include "uikit/button_ctl.h"
#include "uikit/check_box_ctl.h"
#include "uikit/clr_mem_button.h"
#include "uikit/link_ctl.h"
#include "uikit/option_line_ctl.h"
#include "uikit/panel_ctl.h"
#include "uikit/progress_ctl.h"
#include "uikit/radio_button_ctl.h"
#include "uikit/static_ctl.h"
#include "uikit/xml_helper.h"

namespace uikit {

namespace {

using Factory = CBaseElementCtl* (*)(HWND owner, bool layered);

template <class T>
CBaseElementCtl* Make(HWND owner, bool layered) {
  return new T(owner, layered);
}

struct ElementEntry {
  const wchar_t* name;
  Factory factory;
  bool main_host;
  bool dialog_host;
  bool panel;
};

// The table of the header, row for row.
const ElementEntry kElements[] = {
    {L"button", &Make<CButtonCtl>, true, true, true},
    {L"checkbox", &Make<CCheckBoxCtl>, true, true, true},
    {L"radiobutton", &Make<CRadioButtonCtl>, false, false, true},
    {L"link", &Make<CHyperLinkCtl>, true, true, true},
    {L"clrmembutton", &Make<CClrMemButton>, false, false, true},
    {L"static", &Make<CStaticCtl>, true, true, true},
    {L"progress", &Make<CProgressCtl>, true, true, true},
    {L"panel", &Make<CPanelCtl>, true, true, true},
    {L"optionline", &Make<COptionLineCtl>, true, false, false},
};

const ElementEntry* FindEntry(ControlTable table, const wchar_t* name) {
  if (name == nullptr) return nullptr;
  for (const ElementEntry& entry : kElements) {
    if (wcscmp(entry.name, name) != 0) continue;
    const bool allowed = table == ControlTable::kMainHost     ? entry.main_host
                         : table == ControlTable::kDialogHost ? entry.dialog_host
                                                              : entry.panel;
    return allowed ? &entry : nullptr;
  }
  return nullptr;
}

}  // namespace

bool IsKnownElement(ControlTable table, const wchar_t* name) {
  return FindEntry(table, name) != nullptr;
}

CBaseElementCtl* CreateControl(ControlTable table, const TiXmlElement* element, HWND owner,
                               bool layered) {
  if (element == nullptr) return nullptr;
  const std::wstring name = CXmlHelper::Utf8ToWide(element->Value());
  const ElementEntry* entry = FindEntry(table, name.c_str());
  if (entry == nullptr) return nullptr;
  CBaseElementCtl* control = entry->factory(owner, layered);
  control->LoadAttributes(element);
  return control;
}

}  // namespace uikit
