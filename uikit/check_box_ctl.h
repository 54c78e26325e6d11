// CCheckBoxCtl: the check box (element "checkbox").
//
// Each press toggles the check: WM_UI_CHANGED is posted on the press and
// WM_UI_CLICKED on the release, so the change handler runs first. The
// `image` strip has two cells side by side: unchecked, checked.
//
// Description attributes (besides the common ones):
//   attribute  syntax  default     meaning
//   image      image   none        two-cell strip; always applied, so an
//                                  element without it draws no mark
//   textcolor  colour  0,0,0       caption colour (67,75,94 only when the
//                                  control is made by code)
// Example: <checkbox id="id_checkbox" left="20" top="89" width="30" height="27"
//           image="CHECKBOX" textcolor="250,250,250"/>
//
// Threads: UI thread only.
#pragma once

#include "uikit/button_ctl.h"

namespace uikit {

class CCheckBoxCtl : public CButtonCtl {
 public:
  CCheckBoxCtl(HWND owner, bool layered);

  void LoadAttributes(const TiXmlElement* element) override;

  // checkMark = value; the checked flag and the state follow (1 or 0). No
  // notification and no repaint: the caller repaints.
  void SetCheck(bool check);
  bool GetCheck() const { return check_mark_; }

  void OnMouseDown(UINT keys, int x, int y) override;
  void OnMouseUp(UINT keys, int x, int y) override;
  void OnMouseLeave() override;
  void Draw(HDC dc) override;

 protected:
  // Draws the two-cell mark and the caption right of it.
  void DrawMarkAndCaption(HDC dc, bool checked_cell) const;

  COLORREF check_text_colour_;
  bool check_mark_ = false;
};

}  // namespace uikit
