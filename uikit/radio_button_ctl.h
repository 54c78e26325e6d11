// CRadioButtonCtl: the radio button (element "radiobutton", only inside a
// panel). A press selects it and sends WM_UI_RADIO_SELECTED to the owner;
// unselecting the others of a group is the owner's business.
//
// Description attributes (besides the common ones):
//   attribute  syntax  default        meaning
//   image      image   "RadioButton"  two-cell strip: unselected, selected
// Example: <radiobutton id="id_radio_a" left="10" top="10" width="80"
//           height="20" image="CHECKBOX" title="A"/>
//
// Threads: UI thread only.
#pragma once

#include "uikit/check_box_ctl.h"

namespace uikit {

class CRadioButtonCtl : public CCheckBoxCtl {
 public:
  CRadioButtonCtl(HWND owner, bool layered);

  void LoadAttributes(const TiXmlElement* element) override;

  bool IsSelected() const { return selected_; }
  // Selects or clears the radio button without notifying; repaints.
  void SetSelected(bool selected);

  void OnMouseDown(UINT keys, int x, int y) override;
  void OnMouseUp(UINT keys, int x, int y) override;

 private:
  bool selected_ = false;
};

}  // namespace uikit
