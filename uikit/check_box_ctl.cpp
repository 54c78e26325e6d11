#include "uikit/check_box_ctl.h"

#include "uikit/gdi_resource.h"
#include "uikit/xml_helper.h"

namespace uikit {

CCheckBoxCtl::CCheckBoxCtl(HWND owner, bool layered)
    : CButtonCtl(owner, layered), check_text_colour_(RGB(67, 75, 94)) {
  kind_.clear();
  image_ = GetGDIResource()->LoadSkinImage(L"CHECKBOX");
}

void CCheckBoxCtl::LoadAttributes(const TiXmlElement* element) {
  LoadCommonAttributes(element);
  image_ = CXmlHelper::ReadImage(element, "image");
  check_text_colour_ = CXmlHelper::ReadColour(element, "textcolor");
}

void CCheckBoxCtl::SetCheck(bool check) {
  check_mark_ = check;
  pressed_ = check;
  state_ = check ? kPressed : kNormal;
}

void CCheckBoxCtl::OnMouseDown(UINT, int, int) {
  if (state_ == kDisabled) return;
  // For a check box the base's pressed flag is the checked flag.
  pressed_ = !pressed_;
  SetState(pressed_ ? kPressed : kNormal);
  check_mark_ = pressed_;
  NotifyChanged();
}

void CCheckBoxCtl::OnMouseUp(UINT, int, int) {
  if (state_ != kDisabled) NotifyClicked();
}

void CCheckBoxCtl::OnMouseLeave() {
  hover_mark_ = false;
  if (state_ != kDisabled && !pressed_) SetState(kNormal);
}

void CCheckBoxCtl::DrawMarkAndCaption(HDC dc, bool checked_cell) const {
  CGDIResource* gdi = GetGDIResource();
  int caption_left = left_;
  if (image_ != nullptr) {
    const SIZE size = CGDIResource::BitmapSize(image_);
    const int cell_w = size.cx / 2;
    const int cell = checked_cell ? 1 : 0;
    const int y = top_ + (height_ - size.cy) / 2;
    const RECT target{left_, y, left_ + cell_w, y + size.cy};
    const RECT source{cell * cell_w, 0, (cell + 1) * cell_w, size.cy};
    gdi->DrawImageRect(dc, image_, target, source, kModeAlpha);
    caption_left = target.right;
  }
  if (title_.empty()) return;
  const RECT box{caption_left + 5, top_, left_ + width_ + 4, top_ + height_};
  if (layered_) {
    gdi->DrawTextPlusDefaultColour(dc, title_, box, check_text_colour_,
                                   DT_SINGLELINE | DT_VCENTER);
  } else {
    gdi->DrawTextDefaultEx(dc, title_.c_str(), box, check_text_colour_);
  }
}

void CCheckBoxCtl::Draw(HDC dc) {
  if (!visible_) return;
  DrawMarkAndCaption(dc, state_ == kPressed);
}

}  // namespace uikit
