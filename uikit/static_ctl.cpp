#include "uikit/static_ctl.h"

#include "uikit/gdi_resource.h"
#include "uikit/xml_helper.h"

namespace uikit {

CStaticCtl::CStaticCtl(HWND owner, bool layered)
    : CBaseElementCtl(owner, layered), font_(GetGDIResource()->DefaultFont()) {}

void CStaticCtl::LoadAttributes(const TiXmlElement* element) {
  LoadCommonAttributes(element);
  background_ = CXmlHelper::ReadImage(element, "background");
  text_colour_ = CXmlHelper::ReadColour(element, "color");
  icon_ = CXmlHelper::ReadImage(element, "icon");
  CGDIResource* gdi = GetGDIResource();
  if (CXmlHelper::ReadInt(element, "bigfont") != 0) font_ = gdi->BigFont();
  if (CXmlHelper::ReadInt(element, "samllerfont") != 0) font_ = gdi->SmallerFont();
  if (CXmlHelper::ReadInt(element, "samllfont") != 0) font_ = gdi->SmallFont();
  viewport_ = CXmlHelper::ReadInt(element, "viewport");
}

void CStaticCtl::OnMouseDown(UINT, int, int) {
  if (visible_) pressed_ = true;
}

void CStaticCtl::OnMouseUp(UINT, int, int) {
  if (!visible_) return;
  if (pressed_) NotifyClicked();
  pressed_ = false;
}

void CStaticCtl::Draw(HDC dc) {
  if (!visible_) return;
  CGDIResource* gdi = GetGDIResource();
  RECT box = GetRect();
  UINT format = 0;
  if (icon_ != nullptr) {
    const SIZE size = CGDIResource::BitmapSize(icon_);
    gdi->DrawImage(dc, icon_, left_, top_ + (height_ - size.cy) / 2, size.cx, size.cy,
                   kModeAlpha, 255);
    box.left = left_ + size.cx + 2;
    format = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  }
  if (!title_.empty()) {
    POINT old_origin = {};
    if (viewport_ != 0) {
      SetWindowOrgEx(dc, 0, scroll_offset_, &old_origin);
      box.bottom += scroll_offset_;
    }
    if (format_ != 0) format = format_;
    if (layered_) {
      gdi->DrawTextPlus(dc, title_, box, font_, text_colour_, format);
    } else {
      gdi->DrawTextGdi(dc, title_, box, font_, text_colour_, format);
    }
    if (viewport_ != 0) SetWindowOrgEx(dc, 0, 0, nullptr);
  }
  if (background_ != nullptr) {
    const SIZE size = CGDIResource::BitmapSize(background_);
    gdi->DrawImage(dc, background_, left_, top_, size.cx, size.cy, kModeAlpha, 255);
  }
}

}  // namespace uikit
