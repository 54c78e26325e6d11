#include "uikit/panel_ctl.h"

#include <tinyxml.h>

#include "uikit/control_factory.h"
#include "uikit/gdi_resource.h"
#include "uikit/xml_helper.h"

namespace uikit {

CPanelCtl::CPanelCtl(HWND owner, bool layered) : CBaseElementCtl(owner, layered) {
  kind_ = kKindPanel;
  ticking_ = true;
  children_.set_owner(owner);
}

CPanelCtl::~CPanelCtl() { children_.DestroyAll(); }

void CPanelCtl::LoadAttributes(const TiXmlElement* element) {
  LoadCommonAttributes(element);
  background_ = CXmlHelper::ReadImage(element, "background");
  back_colour_ = CXmlHelper::ReadColour(element, "backcolor");
  border_colour_ = CXmlHelper::ReadColour(element, "bordercolor");
  border_ = CXmlHelper::ReadInt(element, "border") == 1;
  children_.set_owner(owner_);
  for (const TiXmlElement* child = element->FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    CBaseElementCtl* control = CreateControl(ControlTable::kPanel, child, owner_, layered_);
    if (control != nullptr) AddChild(control);
  }
}

void CPanelCtl::AddChild(CBaseElementCtl* child) {
  if (child == nullptr) return;
  child->SetPosition(child->left() + left_, child->top() + top_, child->width(), child->height());
  children_.Add(child);
}

void CPanelCtl::ShiftChildren(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  for (size_t i = 0; i < children_.size(); ++i) {
    CBaseElementCtl* child = children_.at(i);
    child->SetPosition(child->left() + dx, child->top() + dy, child->width(), child->height());
  }
}

void CPanelCtl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  for (size_t i = 0; i < children_.size(); ++i) children_.at(i)->SetVisible(visible);
  Invalidate(true);
}

void CPanelCtl::SetPosition(int x, int y, int width, int height) {
  const int dx = x - left_;
  const int dy = y - top_;
  CBaseElementCtl::SetPosition(x, y, width, height);
  ShiftChildren(dx, dy);
}

void CPanelCtl::SetRect(int left, int top, int right, int bottom) {
  SetPosition(left, top, right - left, bottom - top);
}

CBaseElementCtl* CPanelCtl::FocusOnly(CBaseElementCtl* control) {
  CBaseElementCtl::FocusOnly(control);
  children_.FocusTo(control);
  return control;
}

void CPanelCtl::Relayout(int old_w, int old_h, int new_w, int new_h) {
  const int old_left = left_;
  const int old_top = top_;
  const int old_panel_w = width_;
  const int old_panel_h = height_;
  CBaseElementCtl::Relayout(old_w, old_h, new_w, new_h);
  for (size_t i = 0; i < children_.size(); ++i) {
    CBaseElementCtl* child = children_.at(i);
    // Into panel coordinates, lay out inside the panel, back out with the
    // panel's new origin.
    child->SetPosition(child->left() - old_left, child->top() - old_top, child->width(),
                       child->height());
    child->Relayout(old_panel_w, old_panel_h, width_, height_);
    child->SetPosition(child->left() + left_, child->top() + top_, child->width(),
                       child->height());
  }
}

void CPanelCtl::OnMouseDown(UINT keys, int x, int y) { children_.LeftDown(keys, x, y); }
void CPanelCtl::OnMouseUp(UINT keys, int x, int y) { children_.LeftUp(keys, x, y); }
void CPanelCtl::OnRightMouseUp(UINT keys, int x, int y) { children_.RightUp(keys, x, y); }
void CPanelCtl::OnDoubleClick(UINT keys, int x, int y) { children_.DoubleClick(keys, x, y); }
void CPanelCtl::OnMouseWheel(UINT keys, int delta, int x, int y) {
  children_.Wheel(keys, delta, x, y);
}
void CPanelCtl::OnMouseMove(UINT keys, int x, int y) { children_.MouseMove(keys, x, y); }
void CPanelCtl::OnMouseLeave() { children_.LeaveHovered(); }
void CPanelCtl::OnKeyDown(WPARAM key) { children_.KeyDown(key); }
void CPanelCtl::OnKeyUp(WPARAM key) { children_.KeyUp(key); }
void CPanelCtl::OnTick() { children_.Tick(); }
void CPanelCtl::OnWindowMoved() { children_.WindowMoved(); }
void CPanelCtl::OnCommand(WPARAM a, LPARAM b, WPARAM c, LPARAM d) {
  children_.Broadcast(a, b, c, d);
}

void CPanelCtl::Draw(HDC dc) {
  if (!visible_) return;
  CGDIResource* gdi = GetGDIResource();
  const RECT box = GetRect();
  if (layered_) {
    if (border_) gdi->DrawRectanglePlus(dc, box, border_colour_, back_colour_);
  } else {
    gdi->DrawRectangle(dc, box, border_colour_, back_colour_);
    if (background_ != nullptr) {
      const SIZE size = CGDIResource::BitmapSize(background_);
      gdi->DrawNinePart(dc, background_, box, RECT{0, 0, size.cx, size.cy}, 255,
                        RECT{10, 10, 10, 10});
    }
  }
  children_.DrawAll(dc);
}

}  // namespace uikit
