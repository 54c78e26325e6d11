#include "uikit/link_ctl.h"

#include "uikit/gdi_resource.h"
#include "uikit/xml_helper.h"

namespace uikit {

CHyperLinkCtl::CHyperLinkCtl(HWND owner, bool layered)
    : CButtonCtl(owner, layered),
      normal_font_(GetGDIResource()->DefaultFont()),
      hover_font_(GetGDIResource()->UnderlineFont()) {
  kind_.clear();
}

void CHyperLinkCtl::LoadAttributes(const TiXmlElement* element) {
  LoadCommonAttributes(element);
  link_colour_ = CXmlHelper::ReadColour(element, "linkcolor");
  visited_colour_ = CXmlHelper::ReadColour(element, "visitedcolor");
  link_hover_colour_ = CXmlHelper::ReadColour(element, "hovercolor");
  CGDIResource* gdi = GetGDIResource();
  // In this order: the last flag that is set wins.
  const struct {
    const char* attribute;
    HFONT font;
  } fonts[] = {{"samllfont", gdi->SmallFont()},
               {"samllerfont", gdi->SmallerFont()},
               {"bigfont", gdi->BigFont()}};
  for (const auto& entry : fonts) {
    if (CXmlHelper::ReadInt(element, entry.attribute) != 0) {
      normal_font_ = entry.font;
      hover_font_ = entry.font;
    }
  }
}

void CHyperLinkCtl::OnMouseMove(UINT keys, int x, int y) {
  CButtonCtl::OnMouseMove(keys, x, y);
  if (state_ != kDisabled) cursor_ = LoadCursorW(nullptr, IDC_HAND);
}

void CHyperLinkCtl::OnMouseLeave() {
  CButtonCtl::OnMouseLeave();
  cursor_ = LoadCursorW(nullptr, IDC_ARROW);
}

void CHyperLinkCtl::Draw(HDC dc) {
  if (!visible_) return;
  COLORREF colour = link_colour_;
  HFONT font = normal_font_;
  switch (state_) {
    case kPressed: colour = visited_colour_; font = hover_font_; break;
    case kHover: colour = link_hover_colour_; font = hover_font_; break;
    case kDisabled: colour = RGB(153, 153, 153); break;
    default: break;
  }
  CGDIResource* gdi = GetGDIResource();
  RECT box = GetRect();
  if (link_icon_ != nullptr) {
    const SIZE size = CGDIResource::BitmapSize(link_icon_);
    const int y = top_ + (height_ - size.cy) / 2;
    gdi->DrawImage(dc, link_icon_, left_, y, size.cx, size.cy, kModeAlpha, 255);
    box.left = left_ + size.cx + 2;
  }
  if (title_.empty()) return;
  if (layered_) {
    gdi->DrawTextPlus(dc, title_, box, font, colour, format_);
  } else {
    gdi->DrawTextGdi(dc, title_, box, font, colour, format_);
  }
}

int CHyperLinkCtl::FireClick() {
  // One slot holds one form: the no-argument form if bound, else the id
  // form with the link's own argument.
  return click_.InvokeEither(link_argument_.c_str());
}

}  // namespace uikit
