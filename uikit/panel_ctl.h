// CPanelCtl: a group of controls moved, shown, hidden and laid out together
// (element "panel"). The installer's pages are panels switched by showing
// one and hiding the others.
//
// Children keep their design geometry relative to the panel and their
// current geometry in window coordinates; the panel converts between the two
// whenever it moves or lays out. Showing or hiding the panel does the same
// to every child, including children the driving code hid earlier.
//
// Description attributes (besides the common ones):
//   attribute    syntax  default      meaning
//   background   image   none         nine-part background (corners 10);
//                                     drawn in non-layered owners only
//   backcolor    colour  0,0,0        fill colour (white for panels made by code)
//   bordercolor  colour  0,0,0        border colour (white for panels made by code)
//   border       flag    off          = 1: layered owners draw the box
// Child elements: see control_factory.h (the panel's element table).
// Example: <panel id="id_panel_main" left="6" top="246" width="480"
//           height="150" xStretch="fill"> <button .../> </panel>
//
// Threads: UI thread only.
#pragma once

#include "uikit/base_element_ctl.h"
#include "uikit/control_list.h"

namespace uikit {

class CPanelCtl : public CBaseElementCtl {
 public:
  CPanelCtl(HWND owner, bool layered);
  ~CPanelCtl() override;

  // Reads the panel's attributes, then creates its children.
  void LoadAttributes(const TiXmlElement* element) override;
  // Adds a child made by code: shifted by the panel's position like one
  // read from the description. Takes ownership.
  void AddChild(CBaseElementCtl* child);

  ControlList* Children() override { return &children_; }
  ControlList& children() { return children_; }

  void SetVisible(bool visible) override;
  void SetPosition(int x, int y, int width, int height) override;
  void SetRect(int left, int top, int right, int bottom) override;
  CBaseElementCtl* FocusOnly(CBaseElementCtl* control) override;
  void Relayout(int old_w, int old_h, int new_w, int new_h) override;

  void OnMouseDown(UINT keys, int x, int y) override;
  void OnMouseUp(UINT keys, int x, int y) override;
  void OnRightMouseUp(UINT keys, int x, int y) override;
  void OnDoubleClick(UINT keys, int x, int y) override;
  void OnMouseWheel(UINT keys, int delta, int x, int y) override;
  void OnMouseMove(UINT keys, int x, int y) override;
  void OnMouseLeave() override;
  void OnKeyDown(WPARAM key) override;
  void OnKeyUp(WPARAM key) override;
  void OnTick() override;
  void OnWindowMoved() override;
  void OnCommand(WPARAM a, LPARAM b, WPARAM c, LPARAM d) override;
  void Draw(HDC dc) override;

 private:
  // Moves every child by (dx, dy).
  void ShiftChildren(int dx, int dy);

  ControlList children_;
  HBITMAP background_ = nullptr;
  COLORREF back_colour_ = RGB(255, 255, 255);
  COLORREF border_colour_ = RGB(255, 255, 255);
  bool border_ = false;
};

}  // namespace uikit
