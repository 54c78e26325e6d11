#include "uikit/trans_window.h"

#include <windowsx.h>

#include "base/layer_loop.h"
#include "uikit/gdi_resource.h"
#include "uikit/xml_helper.h"

namespace uikit {

namespace {

constexpr int kBorder = 5;

}  // namespace

CTransWindow::CTransWindow() = default;
CTransWindow::~CTransWindow() = default;

bool CTransWindow::CreateFromDescription(const wchar_t* name, HWND owner) {
  creation_owner_ = owner;
  return CUpdateWindowBase::CreateFromDescription(name);
}

void CTransWindow::ReadWindowAttributes(const TiXmlElement* root) {
  CUpdateWindowBase::ReadWindowAttributes(root);
  round_corners_ = CXmlHelper::ReadFlag(root, "roundcorner");
}

void CTransWindow::DrawBackground(HDC dc) {
  CUpdateWindowBase::DrawBackground(dc);
  if (frame_back_image_ == nullptr) return;
  const SIZE size = CGDIResource::BitmapSize(frame_back_image_);
  GetGDIResource()->DrawNinePart(dc, frame_back_image_, frame_back_rect_,
                                 RECT{0, 0, size.cx, size.cy}, 255, frame_back_corners_);
}

LRESULT CTransWindow::OnCreate() {
  const LRESULT result = CUpdateWindowBase::OnCreate();
  SetWindowTextW(hwnd(), title_.c_str());
  return result;
}

LRESULT CTransWindow::OnNcHitTest(int screen_x, int screen_y) {
  POINT point{screen_x, screen_y};
  ScreenToClient(hwnd(), &point);
  if (controls_.AnyControlAt(point.x, point.y)) return HTCLIENT;
  controls_.MouseMove(0, point.x, point.y);
  RECT window;
  GetWindowRect(hwnd(), &window);
  if (window.top + 4 < screen_y && screen_y <= window.top + title_height_) return HTCAPTION;
  if (!resizable_) return HTCLIENT;
  const bool left = screen_x < window.left + kBorder;
  const bool right = screen_x >= window.right - kBorder;
  const bool top = screen_y < window.top + kBorder;
  const bool bottom = screen_y >= window.bottom - kBorder;
  if (top && left) return HTTOPLEFT;
  if (top && right) return HTTOPRIGHT;
  if (bottom && left) return HTBOTTOMLEFT;
  if (bottom && right) return HTBOTTOMRIGHT;
  if (left) return HTLEFT;
  if (right) return HTRIGHT;
  if (top) return HTTOP;
  if (bottom) return HTBOTTOM;
  return HTCLIENT;
}

void CTransWindow::OnSize(int width, int height) {
  CUpdateWindowBase::OnSize(width, height);
  ApplyRoundCorners(round_corners_);
}

void CTransWindow::ApplyRoundCorners(bool on) {
  if (!IsWindow()) return;
  if (!on) {
    SetWindowRgn(hwnd(), nullptr, TRUE);
    return;
  }
  RECT window;
  GetWindowRect(hwnd(), &window);
  const int w = window.right - window.left;
  const int h = window.bottom - window.top;
  HRGN region = CreateRoundRectRgn(0, 0, w + 1, h, 5, 5);
  HRGN lower = CreateRectRgn(0, 5, w, h);
  if (region != nullptr && lower != nullptr) CombineRgn(region, region, lower, RGN_OR);
  if (lower != nullptr) DeleteObject(lower);
  // The system owns the region once SetWindowRgn succeeds.
  if (region != nullptr && !SetWindowRgn(hwnd(), region, TRUE)) DeleteObject(region);
}

bool CTransWindow::OnClose() {
  ShowWindow(hwnd(), SW_HIDE);
  DestroyControls();
  if (running_modal_) {
    DestroyWindow();
    base::LayerLoop::QuitTop();
  }
  return true;
}

void CTransWindow::OnCursorMessage(HCURSOR cursor) {
  if (cursor == LoadCursorW(nullptr, IDC_IBEAM)) {
    SetClassLongPtrW(hwnd(), GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
    return;
  }
  CUpdateWindowBase::OnCursorMessage(cursor);
}

int CTransWindow::RunModal() {
  if (!IsWindow()) return dialog_result_;
  running_modal_ = true;
  base::LayerLoop::RunModal(hwnd());
  running_modal_ = false;
  return dialog_result_;
}

void CTransWindow::EndDialog(int result) {
  dialog_result_ = result;
  if (IsWindow()) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace uikit
