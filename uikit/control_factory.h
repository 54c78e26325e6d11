// The element tables: which description elements become which controls, at
// window level in each host and inside a panel.
//
// | Element      | Class            | Kind           | Main host | Dialog host | In panel |
// |--------------|------------------|----------------|-----------|-------------|----------|
// | button       | CButtonCtl       | DirectButton   | yes       | yes         | yes      |
// | checkbox     | CCheckBoxCtl     |                | yes       | yes         | yes      |
// | radiobutton  | CRadioButtonCtl  |                | no        | no          | yes      |
// | link         | CHyperLinkCtl    |                | yes       | yes         | yes      |
// | clrmembutton | CClrMemButton    | DirectButton   | no        | no          | yes      |
// | static       | CStaticCtl       |                | yes       | yes         | yes      |
// | progress     | CProgressCtl     |                | yes       | yes         | yes      |
// | panel        | CPanelCtl        | Panel          | yes       | yes         | yes      |
// | optionline   | COptionLineCtl   | DUIOptionLine  | yes       | no          | no       |
//
// An element whose name is not in the table for its place (or is spelled
// differently: names compare exactly and case-sensitively) is skipped
// together with its whole subtree, without a message. The edit, tab and
// tree elements join the table with their controls.
//
// Every control made from a description gets the owner's layered flag,
// including a progress bar placed directly in the window: with the flag
// cleared its repaints would go through WM_PAINT, which a layered window
// never shows.
//
// Threads: UI thread only.
#pragma once

#include <windows.h>

class TiXmlElement;

namespace uikit {

class CBaseElementCtl;

enum class ControlTable { kMainHost, kDialogHost, kPanel };

// Makes the control of `element` for the given place, reads its attributes
// (a panel also makes its children) and returns it; the caller takes
// ownership. Null when the element is not in that place's table.
CBaseElementCtl* CreateControl(ControlTable table, const TiXmlElement* element, HWND owner,
                               bool layered);

// Whether the element name has a control in that place's table.
bool IsKnownElement(ControlTable table, const wchar_t* name);

}  // namespace uikit
