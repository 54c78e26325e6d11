#include "uikit/progress_ctl.h"

#include <cwchar>

#include "uikit/gdi_resource.h"
#include "uikit/xml_helper.h"

namespace uikit {

CProgressCtl::CProgressCtl(HWND owner, bool layered) : CBaseElementCtl(owner, layered) {
  active_ = false;
}

void CProgressCtl::LoadAttributes(const TiXmlElement* element) {
  LoadCommonAttributes(element);
  track_image_ = CXmlHelper::ReadImage(element, "background");
  fill_image_ = CXmlHelper::ReadImage(element, "progress");
  length_ = CXmlHelper::ReadInt(element, "progress_width");
  marker_image_ = CXmlHelper::ReadImage(element, "image");
  marker_offset_ = CXmlHelper::ReadInt(element, "lightpointdela");
  // The bar never takes the mouse, whatever the description says.
  active_ = false;
}

void CProgressCtl::SetProgress(float fraction) {
  fraction_ = fraction;
  Invalidate(true);
}

int CProgressCtl::FillWidth(int length, float fraction) {
  return static_cast<int>(length * fraction);
}

int CProgressCtl::MarkerLeft(int left, int length, float fraction, int offset, int marker_width) {
  return left + FillWidth(length, fraction) + offset - marker_width / 2;
}

std::wstring CProgressCtl::PercentText(float fraction) {
  wchar_t text[24];
  swprintf(text, sizeof(text) / sizeof(text[0]), L"%.1f%%",
           static_cast<double>(fraction) * 100.0);
  return text;
}

void CProgressCtl::DrawBox(HDC dc, const RECT& box, COLORREF colour) const {
  if (layered_) {
    GetGDIResource()->DrawRectanglePlus(dc, box, colour, colour);
  } else {
    GetGDIResource()->DrawRectangle(dc, box, colour, colour);
  }
}

void CProgressCtl::Draw(HDC dc) {
  if (!visible_) return;
  CGDIResource* gdi = GetGDIResource();
  if (track_image_ != nullptr) {
    gdi->DrawImage(dc, track_image_, left_, top_, length_, height_, kModeAlpha, 255);
  } else {
    DrawBox(dc, RECT{left_, top_, left_ + length_, top_ + height_}, track_colour_);
  }
  const int fill = FillWidth(length_, fraction_);
  if (fill_image_ != nullptr) {
    const SIZE size = CGDIResource::BitmapSize(fill_image_);
    if (fill > 0) {
      gdi->DrawImage(dc, fill_image_, left_, top_, fill, size.cy, kModeAlpha, 255);
    }
  } else if (fill > 0) {
    DrawBox(dc, RECT{left_, top_, left_ + fill, top_ + height_}, fill_colour_);
  }
  if (marker_image_ != nullptr) {
    const SIZE size = CGDIResource::BitmapSize(marker_image_);
    const int x = MarkerLeft(left_, length_, fraction_, marker_offset_, size.cx);
    const int y = top_ + height_ / 2 - size.cy / 2;
    gdi->DrawImage(dc, marker_image_, x, y, size.cx, size.cy, kModeAlpha, 255);
  }
  // The x bounds are not offset by the control's left: the installer's bar
  // sits 20 pixels into its panel and the text lands right of the track.
  const std::wstring text = PercentText(fraction_);
  const RECT box{length_ + 30, top_ - 10, length_ + 85, top_ + 10};
  const UINT format = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  if (layered_) {
    gdi->DrawTextPlus(dc, text, box, gdi->SmallFont(), RGB(250, 250, 250), format);
  } else {
    gdi->DrawTextGdi(dc, text, box, gdi->SmallFont(), RGB(250, 250, 250), format);
  }
}

}  // namespace uikit
