// CButtonCtl: the image push button (element "button"), and the base of the
// check box, the radio button, the hyperlink and the memory-gauge button.
//
// One state machine serves them all: normal (0), pressed (1), hover (2),
// disabled (3). A click is a press inside and a release inside without
// leaving in between; leaving cancels it. The state picks a cell of the
// `image` strip (four equal cells side by side: normal, hover, pressed,
// disabled) and the caption colour.
//
// Description attributes (besides the common ones):
//   attribute   syntax     default  meaning
//   image       image      none     state strip, four cells
//   icon        image      none     four-cell strip drawn left of the caption
//   smallicon   image      none     one image drawn centred with the caption
//   textcolor   colour     0,0,0    caption colour, normal
//   hovercolor  colour     0,0,0    caption colour, hover
//   downcolor   colour     0,0,0    caption colour, pressed
//   discolor    colour     0,0,0    caption colour, disabled
//   corner      rectangle  0,0,0,0  corners for stretching `image`; all zero = 3,6,3,6
//   hdelta      integer    0        vertical offset added to the caption box's top
//   bigfont     flag       0        caption in the big font
// Example: <button id="id_install" left="160" top="28" width="180" height="42"
//           image="DLG_BTN_INSTALL" title="Install" textcolor="250,250,250"
//           hdelta="-5" bigfont="1"/>
//
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include "uikit/base_element_ctl.h"

namespace uikit {

class CButtonCtl : public CBaseElementCtl {
 public:
  enum State { kNormal = 0, kPressed = 1, kHover = 2, kDisabled = 3 };

  CButtonCtl(HWND owner, bool layered);

  void LoadAttributes(const TiXmlElement* element) override;

  // State 0 when enabling, 3 when disabling; repaints on a change.
  void EnableButton(bool enable);
  int state() const { return state_; }
  // Stores the state and repaints when it changes.
  void SetState(int state);
  virtual void SetIconImage(HBITMAP icon) { icon_ = icon; }

  void OnMouseDown(UINT keys, int x, int y) override;
  void OnMouseUp(UINT keys, int x, int y) override;
  void OnMouseMove(UINT keys, int x, int y) override;
  void OnMouseLeave() override;
  void Draw(HDC dc) override;
  int FireClick() override;
  int FireRightClick() override;

 protected:
  // Runs when a press starts: fires the change slot synchronously.
  virtual void OnPressed();
  // Caption colour for a state.
  virtual COLORREF CaptionColour(int state) const;
  void DrawStateImage(HDC dc, int cell) const;
  // Draws the icon strip or the small icon; returns the caption's left edge
  // (the control's left when neither is drawn) and whether one was drawn.
  bool DrawIcons(HDC dc, int cell, int* caption_left) const;
  virtual void DrawCaption(HDC dc, COLORREF colour, bool after_icon, int caption_left) const;

  bool hover_mark_ = false;
  bool pressed_ = false;
  int state_ = kNormal;
  HBITMAP image_ = nullptr;
  HBITMAP icon_ = nullptr;
  HBITMAP small_icon_ = nullptr;
  COLORREF text_colour_ = 0;
  COLORREF hover_colour_ = 0;
  COLORREF down_colour_ = 0;
  COLORREF disabled_colour_ = 0;
  bool vertical_strip_ = false;
  int text_width_ = 0;
  RECT corners_ = {0, 0, 0, 0};
  HFONT font_ = nullptr;
  int text_offset_y_ = 0;
};

}  // namespace uikit
