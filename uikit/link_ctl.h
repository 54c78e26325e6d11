// CHyperLinkCtl: a text link (element "link"). It clicks like a button,
// shows the hand cursor while hovered and draws its text in the colour and
// font of its state (underlined while hovered or pressed).
//
// Description attributes (besides the common ones):
//   attribute     syntax  default  meaning
//   linkcolor     colour  0,0,0    text colour, normal
//   visitedcolor  colour  0,0,0    text colour while pressed
//   hovercolor    colour  0,0,0    text colour while hovered
//   samllfont     flag    0        small font in every state
//   samllerfont   flag    0        smaller font in every state
//   bigfont       flag    0        big font in every state (read last: wins)
// Example: <link id="id_openurl" left="40" top="94" width="220" height="27"
//           title="Accept Agreement" linkcolor="250,250,250"
//           hovercolor="250,250,250" visitedcolor="250,250,250"/>
//
// Threads: UI thread only.
#pragma once

#include <string>

#include "uikit/button_ctl.h"

namespace uikit {

class CHyperLinkCtl : public CButtonCtl {
 public:
  CHyperLinkCtl(HWND owner, bool layered);

  void LoadAttributes(const TiXmlElement* element) override;

  // The text passed to id-form click handlers (empty unless set here).
  void SetLinkArgument(const std::wstring& text) { link_argument_ = text; }
  void SetFormat(UINT format) { format_ = format; }
  void SetIconImage(HBITMAP icon) override { link_icon_ = icon; }

  void OnMouseMove(UINT keys, int x, int y) override;
  void OnMouseLeave() override;
  void Draw(HDC dc) override;
  int FireClick() override;

 private:
  std::wstring link_argument_;
  COLORREF link_colour_ = 0;
  COLORREF visited_colour_ = 0;
  COLORREF link_hover_colour_ = 0;
  UINT format_ = 0;
  HBITMAP link_icon_ = nullptr;
  HFONT normal_font_;
  HFONT hover_font_;
};

}  // namespace uikit
