#include "uikit/button_ctl.h"

#include <algorithm>

#include "uikit/gdi_resource.h"
#include "uikit/xml_helper.h"

namespace uikit {

namespace {

constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
constexpr UINT kCaptionAfterIconFormat = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

// Strip cell of each state: normal, pressed, hover, disabled.
int CellOfState(int state) {
  switch (state) {
    case CButtonCtl::kPressed: return 2;
    case CButtonCtl::kHover: return 1;
    case CButtonCtl::kDisabled: return 3;
    default: return 0;
  }
}

}  // namespace

CButtonCtl::CButtonCtl(HWND owner, bool layered) : CBaseElementCtl(owner, layered) {
  kind_ = kKindDirectButton;
}

void CButtonCtl::LoadAttributes(const TiXmlElement* element) {
  LoadCommonAttributes(element);
  image_ = CXmlHelper::ReadImage(element, "image");
  icon_ = CXmlHelper::ReadImage(element, "icon");
  small_icon_ = CXmlHelper::ReadImage(element, "smallicon");
  text_colour_ = CXmlHelper::ReadColour(element, "textcolor");
  hover_colour_ = CXmlHelper::ReadColour(element, "hovercolor");
  down_colour_ = CXmlHelper::ReadColour(element, "downcolor");
  disabled_colour_ = CXmlHelper::ReadColour(element, "discolor");
  corners_ = CXmlHelper::ReadRect(element, "corner");
  text_offset_y_ = CXmlHelper::ReadInt(element, "hdelta");
  if (CXmlHelper::ReadInt(element, "bigfont") != 0) font_ = GetGDIResource()->BigFont();
}

void CButtonCtl::EnableButton(bool enable) { SetState(enable ? kNormal : kDisabled); }

void CButtonCtl::SetState(int state) {
  if (state_ == state) return;
  state_ = state;
  Invalidate(true);
}

void CButtonCtl::OnPressed() { FireChange(); }

void CButtonCtl::OnMouseDown(UINT, int, int) {
  if (state_ == kDisabled) return;
  pressed_ = true;
  SetState(kPressed);
  OnPressed();
}

void CButtonCtl::OnMouseUp(UINT, int, int) {
  if (!visible_ || state_ == kDisabled) return;
  const int old_state = state_;
  SetState(kHover);
  if (pressed_ && old_state == kPressed) NotifyClicked();
  pressed_ = false;
}

void CButtonCtl::OnMouseMove(UINT, int, int) {
  if (state_ == kDisabled) return;
  SetState(pressed_ ? kPressed : kHover);
}

void CButtonCtl::OnMouseLeave() {
  pressed_ = false;
  hover_mark_ = false;
  if (state_ != kDisabled) SetState(kNormal);
}

int CButtonCtl::FireClick() { return click_.InvokeEither(id_.c_str()); }
int CButtonCtl::FireRightClick() { return right_click_.InvokeEither(id_.c_str()); }

COLORREF CButtonCtl::CaptionColour(int state) const {
  switch (state) {
    case kPressed: return down_colour_;
    case kHover: return hover_colour_;
    case kDisabled: return disabled_colour_;
    default: return text_colour_;
  }
}

void CButtonCtl::DrawStateImage(HDC dc, int cell) const {
  if (image_ == nullptr) return;
  const SIZE size = CGDIResource::BitmapSize(image_);
  RECT source;
  if (vertical_strip_) {
    const int cell_h = size.cy / 4;
    source = RECT{0, cell * cell_h, size.cx, (cell + 1) * cell_h};
  } else {
    const int cell_w = size.cx / 4;
    source = RECT{cell * cell_w, 0, (cell + 1) * cell_w, size.cy};
  }
  const RECT target = GetRect();
  const int cell_w = source.right - source.left;
  const int cell_h = source.bottom - source.top;
  CGDIResource* gdi = GetGDIResource();
  if (cell_w < width_ || cell_h < height_) {
    // Larger than the cell: keep the corners, stretch the edges and centre.
    RECT corners = corners_;
    if (corners.left == 0 && corners.top == 0 && corners.right == 0 && corners.bottom == 0) {
      corners = RECT{3, 6, 3, 6};
    }
    gdi->DrawNinePart(dc, image_, target, source, 255, corners);
  } else {
    gdi->DrawImageRect(dc, image_, target, source, kModeAlpha);
  }
}

bool CButtonCtl::DrawIcons(HDC dc, int cell, int* caption_left) const {
  CGDIResource* gdi = GetGDIResource();
  bool drawn = false;
  *caption_left = left_;
  if (icon_ != nullptr) {
    const SIZE size = CGDIResource::BitmapSize(icon_);
    const int cell_w = size.cx / 4;
    int caption_w = title_.empty() ? 0 : MeasureText(title_, gdi->DefaultFont()) + 5;
    const int x = left_ + std::max(0, (width_ - cell_w - caption_w) / 2);
    const int y = top_ + std::max(0, (height_ - static_cast<int>(size.cy)) / 2);
    const RECT target{x, y, x + cell_w, y + size.cy};
    const RECT source{cell * cell_w, 0, (cell + 1) * cell_w, size.cy};
    gdi->DrawImageRect(dc, icon_, target, source, kModeAlpha);
    *caption_left = target.right;
    drawn = true;
  }
  if (small_icon_ != nullptr) {
    const SIZE size = CGDIResource::BitmapSize(small_icon_);
    HFONT current = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    const int caption_w = MeasureText(title_, current);
    const int x = left_ + (width_ - caption_w - size.cx - 5) / 2;
    const int y = top_ + (height_ - size.cy) / 2;
    const RECT target{x, y, x + size.cx, y + size.cy};
    gdi->DrawImageInRect(dc, small_icon_, target, kModeAlpha, 255);
    *caption_left = target.right;
    drawn = true;
  }
  return drawn;
}

void CButtonCtl::DrawCaption(HDC dc, COLORREF colour, bool after_icon, int caption_left) const {
  if (title_.empty()) return;
  RECT box = GetRect();
  box.top += text_offset_y_;
  UINT format = kCaptionFormat;
  if (after_icon) {
    box.left = caption_left + 5;
    if (text_width_ > 0) box.right = box.left + text_width_;
    format = kCaptionAfterIconFormat;
  }
  CGDIResource* gdi = GetGDIResource();
  if (layered_) {
    if (font_ != nullptr) {
      gdi->DrawTextPlus(dc, title_, box, font_, colour, format);
    } else {
      gdi->DrawTextPlusDefaultColour(dc, title_, box, colour, format);
    }
  } else {
    gdi->DrawTextGdi(dc, title_, box, font_, colour, format);
  }
}

void CButtonCtl::Draw(HDC dc) {
  if (!visible_) return;
  const int cell = CellOfState(state_);
  DrawStateImage(dc, cell);
  int caption_left = left_;
  const bool after_icon = DrawIcons(dc, cell, &caption_left);
  DrawCaption(dc, CaptionColour(state_), after_icon, caption_left);
}

}  // namespace uikit
