#include "uikit/option_line_ctl.h"

#include "uikit/gdi_resource.h"
#include "uikit/xml_helper.h"

namespace uikit {

COptionLineCtl::COptionLineCtl(HWND owner, bool /*layered*/)
    : CBaseElementCtl(owner, true), font_(GetGDIResource()->DefaultFont()) {
  kind_ = L"DUIOptionLine";
}

void COptionLineCtl::LoadAttributes(const TiXmlElement* element) {
  LoadCommonAttributes(element);
  text_colour_ = CXmlHelper::ReadColour(element, "textcolor");
  line_colour_ = CXmlHelper::ReadColour(element, "linecolor");
}

void COptionLineCtl::Draw(HDC dc) {
  if (!visible_) return;
  CGDIResource* gdi = GetGDIResource();
  int caption_w = 0;
  if (!title_.empty()) {
    caption_w = MeasureText(title_, font_) + 10;
    const RECT box{left_, top_, left_ + caption_w, top_ + height_};
    if (layered_) {
      gdi->DrawTextPlus(dc, title_, box, font_, text_colour_, 0);
    } else {
      gdi->DrawTextGdi(dc, title_, box, font_, text_colour_, 0);
    }
  }
  const int y = top_ + height_ / 2;
  if (layered_) {
    gdi->DrawLinePlus(dc, left_ + caption_w, y, left_ + width_, y, line_colour_);
  } else {
    gdi->DrawLine(dc, left_ + caption_w, y, left_ + width_, y, line_colour_);
  }
}

}  // namespace uikit
