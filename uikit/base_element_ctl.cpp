#include "uikit/base_element_ctl.h"

#include "uikit/ui_messages.h"
#include "uikit/xml_helper.h"

namespace uikit {

const wchar_t CBaseElementCtl::kKindPanel[] = L"Panel";
const wchar_t CBaseElementCtl::kKindDirectButton[] = L"DirectButton";

CBaseElementCtl::CBaseElementCtl(HWND owner, bool layered)
    : owner_(owner), cursor_(LoadCursorW(nullptr, IDC_ARROW)), layered_(layered) {}

CBaseElementCtl::~CBaseElementCtl() = default;

void CBaseElementCtl::LoadLayoutAttributes(const TiXmlElement* element) {
  LayoutCodes codes;
  codes.x_align = CXmlHelper::ReadAlignment(element, "xAlignment", kAlignLeft);
  codes.y_align = CXmlHelper::ReadAlignment(element, "yAlignment", kAlignTop);
  codes.x_stretch = CXmlHelper::ReadStretch(element, "xStretch");
  codes.y_stretch = CXmlHelper::ReadStretch(element, "yStretch");
  layout_codes_ = codes;
}

void CBaseElementCtl::LoadAttributes(const TiXmlElement* element) {
  LoadCommonAttributes(element);
}

void CBaseElementCtl::LoadCommonAttributes(const TiXmlElement* element) {
  id_ = CXmlHelper::ReadText(element, "id");
  name_ = CXmlHelper::ReadText(element, "name");
  title_ = CXmlHelper::ReadText(element, "title");
  tip_ = CXmlHelper::ReadText(element, "tip");
  style_ = static_cast<DWORD>(CXmlHelper::ReadInt(element, "style"));
  style_ex_ = static_cast<DWORD>(CXmlHelper::ReadInt(element, "style_ex"));
  left_ = CXmlHelper::ReadInt(element, "left");
  top_ = CXmlHelper::ReadInt(element, "top");
  width_ = CXmlHelper::ReadInt(element, "width");
  height_ = CXmlHelper::ReadInt(element, "height");
  SetDesignPosition(left_, top_, width_, height_);
  LoadLayoutAttributes(element);
}

void CBaseElementCtl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Invalidate(true);
}

CBaseElementCtl* CBaseElementCtl::FocusOnly(CBaseElementCtl* control) {
  focused_ = (control == this);
  return control;
}

void CBaseElementCtl::SetRect(int left, int top, int right, int bottom) {
  left_ = left;
  top_ = top;
  width_ = right - left;
  height_ = bottom - top;
}

void CBaseElementCtl::SetPosition(int x, int y, int width, int height) {
  left_ = x;
  top_ = y;
  width_ = width;
  height_ = height;
}

void CBaseElementCtl::SetDesignRect(int left, int top, int right, int bottom) {
  SetDesignPosition(left, top, right - left, bottom - top);
}

void CBaseElementCtl::SetDesignPosition(int x, int y, int width, int height) {
  design_left_ = x;
  design_top_ = y;
  design_width_ = width;
  design_height_ = height;
}

RECT CBaseElementCtl::GetRect() const {
  return RECT{left_, top_, left_ + width_, top_ + height_};
}

RECT CBaseElementCtl::GetDesignRect() const {
  return RECT{design_left_, design_top_, design_left_ + design_width_,
              design_top_ + design_height_};
}

void CBaseElementCtl::Invalidate(bool now) {
  if (owner_ == nullptr || !now) return;
  if (layered_) {
    PostMessageW(owner_, WM_UI_LAYERED_PAINT, 0, 100);
  } else {
    const RECT rect = GetRect();
    InvalidateRect(owner_, &rect, TRUE);
  }
}

int CBaseElementCtl::MeasureText(const std::wstring& text, HFONT font) const {
  if (text.empty()) return 0;
  // A memory DC of the screen measures like the paint DC of the owner: both
  // map one logical unit to one pixel.
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return 0;
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SIZE size = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  if (old) SelectObject(dc, old);
  DeleteDC(dc);
  return size.cx;
}

void CBaseElementCtl::PostToOwner(UINT message, LPARAM lparam) {
  if (owner_ != nullptr) {
    PostMessageW(owner_, message, reinterpret_cast<WPARAM>(this), lparam);
  }
}

void CBaseElementCtl::NotifyChanged() { PostToOwner(WM_UI_CHANGED, 0); }
void CBaseElementCtl::NotifyClicked() { PostToOwner(WM_UI_CLICKED, 0); }
void CBaseElementCtl::NotifyReturn() { PostToOwner(WM_UI_RETURN, 0); }

void CBaseElementCtl::OnMouseDown(UINT, int, int) {}
void CBaseElementCtl::OnDoubleClick(UINT, int, int) { NotifyChanged(); }
void CBaseElementCtl::OnMouseUp(UINT, int, int) {}
void CBaseElementCtl::OnRightMouseUp(UINT, int, int) { PostToOwner(WM_UI_RCLICKED, 0); }
void CBaseElementCtl::OnMouseMove(UINT, int, int) { hover_.Invoke(); }
void CBaseElementCtl::OnMouseLeave() { leave_.Invoke(); }
void CBaseElementCtl::OnMouseWheel(UINT, int, int, int) {}
void CBaseElementCtl::Draw(HDC) {}

void CBaseElementCtl::Relayout(int old_w, int old_h, int new_w, int new_h) {
  const LayoutBox box = ApplyLayoutRule(layout_codes_, LayoutBox{left_, top_, width_, height_},
                                        design_left_, design_top_, old_w, old_h, new_w, new_h);
  left_ = box.left;
  top_ = box.top;
  width_ = box.width;
  height_ = box.height;
}

bool CBaseElementCtl::HitTest(int x, int y, int left, int top, int right, int bottom) const {
  return left <= x && x <= right && top <= y && y <= bottom;
}

bool CBaseElementCtl::Contains(int x, int y) const {
  const RECT r = GetRect();
  return HitTest(x, y, r.left, r.top, r.right, r.bottom);
}

int CBaseElementCtl::FireClick() { return click_.Invoke(); }
int CBaseElementCtl::FireRightClick() { return right_click_.Invoke(); }
int CBaseElementCtl::FireReturn() { return return_.Invoke(); }
int CBaseElementCtl::FireChange() { return change_.Invoke(); }
int CBaseElementCtl::Command() { return command_.InvokeEither(id_.c_str()); }
void CBaseElementCtl::OnCommand(WPARAM, LPARAM, WPARAM, LPARAM) {}

}  // namespace uikit
