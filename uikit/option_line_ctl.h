// COptionLineCtl: a caption followed by a horizontal rule (element
// "optionline", main host only). Always drawn as in a layered owner.
//
// Description attributes (besides the common ones):
//   attribute  syntax  default  meaning
//   textcolor  colour  0,0,0    caption colour
//   linecolor  colour  0,0,0    line colour
// Example: <optionline left="20" top="10" width="440" height="20"
//           title="Options" textcolor="250,250,250" linecolor="69,68,73"/>
//
// Threads: UI thread only.
#pragma once

#include "uikit/base_element_ctl.h"

namespace uikit {

class COptionLineCtl : public CBaseElementCtl {
 public:
  COptionLineCtl(HWND owner, bool layered);

  void LoadAttributes(const TiXmlElement* element) override;
  void Draw(HDC dc) override;

 private:
  HFONT font_;
  COLORREF text_colour_ = 0;
  COLORREF line_colour_ = 0;
};

}  // namespace uikit
