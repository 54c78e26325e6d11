// CStaticCtl: a text with an optional icon and overlay image (element
// "static"). With `viewport` the driving code scrolls the text up by
// SetScrollOffset and repaints. Statics click like buttons (WM_UI_CLICKED on
// a release after a press inside) but have no pressed look.
//
// Description attributes (besides the common ones):
//   attribute    syntax  default  meaning
//   background   image   none     drawn at the top-left at natural size, over the text
//   color        colour  0,0,0    text colour
//   icon         image   none     at the left edge, vertically centred; the text
//                                 then runs on one line 2 pixels right of it
//   bigfont      flag    0        big font
//   samllerfont  flag    0        smaller font (overrides bigfont)
//   samllfont    flag    0        small font (read last: wins)
//   viewport     flag    0        the text is drawn with a vertical scroll offset
// Example: <static id="id_static_downing" left="150" top="28" width="280"
//           height="29" title="Downloading...Please wait!" color="250,250,250"/>
//
// Threads: UI thread only.
#pragma once

#include "uikit/base_element_ctl.h"

namespace uikit {

class CStaticCtl : public CBaseElementCtl {
 public:
  CStaticCtl(HWND owner, bool layered);

  void LoadAttributes(const TiXmlElement* element) override;

  // Pixels the text is scrolled up (viewport statics); the caller repaints.
  void SetScrollOffset(int offset) { scroll_offset_ = offset; }
  int scroll_offset() const { return scroll_offset_; }
  // DT_ flags replacing the default rule; 0 restores it.
  void SetFormat(UINT format) { format_ = format; }
  void SetTextColour(COLORREF colour) { text_colour_ = colour; }

  void OnMouseDown(UINT keys, int x, int y) override;
  void OnMouseUp(UINT keys, int x, int y) override;
  void Draw(HDC dc) override;

 private:
  bool pressed_ = false;
  HBITMAP background_ = nullptr;
  HBITMAP icon_ = nullptr;
  HFONT font_;
  COLORREF text_colour_ = 0;
  UINT format_ = 0;
  int viewport_ = 0;
  int scroll_offset_ = 0;
};

}  // namespace uikit
