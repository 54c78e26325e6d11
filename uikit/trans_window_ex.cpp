#include "uikit/trans_window_ex.h"

#include "uikit/open_animation.h"
#include "uikit/ui_messages.h"
#include "uikit/xml_helper.h"

namespace uikit {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

CTransWindowEx::CTransWindowEx() = default;
CTransWindowEx::~CTransWindowEx() = default;

void CTransWindowEx::ReadWindowAttributes(const TiXmlElement* root) {
  CUpdateWindowBase::ReadWindowAttributes(root);
  topmost_ = CXmlHelper::ReadFlag(root, "topmost");
}

DWORD CTransWindowEx::CreationExStyle() const {
  return style_ex_ | (topmost_ ? WS_EX_TOPMOST : 0);
}

RECT CTransWindowEx::PaintArea() const {
  // While animating the window's own size changes frame by frame; the
  // picture is always of the final size.
  if (animating_) return RECT{0, 0, Width(window_rect_), Height(window_rect_)};
  return CUpdateWindowBase::PaintArea();
}

void CTransWindowEx::LayeredPaint(int percent) {
  if (animating_) return;
  CUpdateWindowBase::LayeredPaint(percent);
}

void CTransWindowEx::MoveWindowTo(const RECT& rect, bool resize) {
  SetWindowPos(hwnd(), nullptr, rect.left, rect.top, Width(rect), Height(rect),
               SWP_NOZORDER | SWP_NOACTIVATE | (resize ? 0 : SWP_NOSIZE));
}

void CTransWindowEx::ShowAnimated() {
  if (!IsWindow()) return;
  const int width = Width(window_rect_);
  const int height = Height(window_rect_);
  if (!animating_ || !IsAnimatable(width, height)) {
    animating_ = false;
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    return;
  }
  // Repaints requested so far would draw over the first frames.
  MSG pending;
  while (PeekMessageW(&pending, hwnd(), WM_UI_LAYERED_PAINT, WM_UI_LAYERED_PAINT, PM_REMOVE)) {
  }
  SetLayoutSize(width, height);
  if (!snapshot_.Create(width, height)) {
    animating_ = false;
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    return;
  }
  RenderInto(snapshot_.dc());
  MoveWindowTo(ResizeRect(window_rect_, 2 * kAnimationMargin), true);
  anim_rect_ = ResizeRect(window_rect_, -2 * kFirstFrameShrink);
  DrawPhaseOneFrame(anim_rect_, kFirstFrameOpacity);
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  anim_counter_ = kFirstCounter;
  SetTimer(hwnd(), kPhaseOneTimer, kAnimationTickMs, nullptr);
}

void CTransWindowEx::DrawPhaseOneFrame(const RECT& frame, int opacity_percent) {
  CLayeredSurface surface;
  const int margin = kAnimationMargin;
  if (!surface.Create(Width(window_rect_) + 2 * margin, Height(window_rect_) + 2 * margin)) return;
  SetStretchBltMode(surface.dc(), COLORONCOLOR);
  StretchBlt(surface.dc(), frame.left - (window_rect_.left - margin),
             frame.top - (window_rect_.top - margin), Width(frame), Height(frame), snapshot_.dc(),
             0, 0, snapshot_.width(), snapshot_.height(), SRCCOPY);
  surface.Push(hwnd(), window_rect_.left - margin, window_rect_.top - margin,
               static_cast<BYTE>(opacity_percent * 255 / 100));
}

void CTransWindowEx::PushSnapshotScaled(const RECT& window, int opacity_percent) {
  CLayeredSurface surface;
  if (!surface.Create(Width(window), Height(window))) return;
  SetStretchBltMode(surface.dc(), COLORONCOLOR);
  StretchBlt(surface.dc(), 0, 0, Width(window), Height(window), snapshot_.dc(), 0, 0,
             snapshot_.width(), snapshot_.height(), SRCCOPY);
  surface.Push(hwnd(), window.left, window.top, static_cast<BYTE>(opacity_percent * 255 / 100));
}

void CTransWindowEx::PhaseOneTick() {
  const int counter = anim_counter_--;
  AnimationStep step;
  if (PhaseOneStep(counter, &step)) {
    anim_rect_ = ResizeRect(window_rect_, step.resize);
    DrawPhaseOneFrame(anim_rect_, step.opacity_percent);
  }
  if (!PhaseOneStep(counter, &step) || step.last_of_phase) {
    KillTimer(hwnd(), kPhaseOneTimer);
    SetTimer(hwnd(), kPhaseTwoTimer, kAnimationTickMs, nullptr);
  }
  if (anim_counter_ < -3) {
    KillTimer(hwnd(), kPhaseOneTimer);
    animating_ = false;
  }
}

void CTransWindowEx::PhaseTwoTick() {
  if (!animating_) {
    KillTimer(hwnd(), kPhaseTwoTimer);
    LayeredPaint(100);
    snapshot_.Reset();
    OnShown();
    return;
  }
  const int counter = anim_counter_--;
  AnimationStep step;
  if (PhaseTwoStep(counter, &step)) {
    const RECT frame = ResizeRect(window_rect_, step.resize);
    MoveWindowTo(frame, true);
    PushSnapshotScaled(frame, step.opacity_percent);
  } else {
    // Moved while still animating, so the WM_SIZE does not lay out again.
    MoveWindowTo(window_rect_, true);
    animating_ = false;
  }
}

void CTransWindowEx::BringToFront() {
  if (!IsWindow()) return;
  HWND foreground = GetForegroundWindow();
  if (foreground != hwnd()) {
    const DWORD their_thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const DWORD our_thread = GetCurrentThreadId();
    if (their_thread != 0 && their_thread != our_thread) {
      AttachThreadInput(our_thread, their_thread, TRUE);
      SetForegroundWindow(hwnd());
      AttachThreadInput(our_thread, their_thread, FALSE);
    } else {
      SetForegroundWindow(hwnd());
    }
  }
  SetFocus(hwnd());
  OnBeforeShake();
  // A shake that is still running keeps its saved rectangle: the window is
  // off its place by a step now, and must come back to where it was.
  if (!shaking_) GetWindowRect(hwnd(), &shake_rect_);
  shaking_ = true;
  KillTimer(hwnd(), kShakeTimer);
  shake_phase_ = 0;
  shake_counter_ = kShakeSteps;
  SetTimer(hwnd(), kShakeTimer, kShakeTickMs, nullptr);
}

void CTransWindowEx::ShakeTick() {
  if (shake_counter_ > 0) {
    --shake_counter_;
    static const POINT kOffsets[] = {{-2, 0}, {0, -2}, {2, 0}, {0, 2}};
    const POINT offset = kOffsets[shake_phase_];
    RECT moved = shake_rect_;
    OffsetRect(&moved, offset.x, offset.y);
    MoveWindowTo(moved, false);
    shake_phase_ = (shake_phase_ + 1) % 4;
    return;
  }
  OnAfterShake();
  shaking_ = false;
  KillTimer(hwnd(), kShakeTimer);
  shake_counter_ = kShakeSteps;
  MoveWindowTo(shake_rect_, false);
}

bool CTransWindowEx::OnTimer(UINT_PTR id) {
  switch (id) {
    case kShakeTimer:
      ShakeTick();
      return true;
    case kPhaseOneTimer:
      PhaseOneTick();
      return true;
    case kPhaseTwoTimer:
      PhaseTwoTick();
      return true;
    default:
      return CUpdateWindowBase::OnTimer(id);
  }
}

LRESULT CTransWindowEx::OnNcHitTest(int screen_x, int screen_y) {
  if (animating_ || shaking_) return HTNOWHERE;
  POINT point{screen_x, screen_y};
  ScreenToClient(hwnd(), &point);
  if (controls_.AnyControlAt(point.x, point.y)) return HTCLIENT;
  // Not over a control: whatever was hovered is left now.
  controls_.MouseMove(0, point.x, point.y);
  RECT window;
  GetWindowRect(hwnd(), &window);
  if (screen_y > window.top && screen_y <= window.top + title_height_) return HTCAPTION;
  return HTCLIENT;
}

void CTransWindowEx::OnSize(int width, int height) {
  if (animating_) return;
  CUpdateWindowBase::OnSize(width, height);
}

void CTransWindowEx::OnDestroy() {
  KillTimer(hwnd(), kShakeTimer);
  CUpdateWindowBase::OnDestroy();
}

void CTransWindowEx::OnActivate(WPARAM wparam) {
  active_window_ = LOWORD(wparam) == WA_ACTIVE || LOWORD(wparam) == WA_CLICKACTIVE;
  RECT band;
  GetClientRect(hwnd(), &band);
  band.bottom = title_height_;
  InvalidateRect(hwnd(), &band, FALSE);
}

bool CTransWindowEx::OnNotification(UINT message, CBaseElementCtl* control, LPARAM lparam) {
  if (!OwnsControl(control)) return true;
  switch (message) {
    case WM_UI_CHANGED:
      control->FireChange();
      return true;
    case WM_UI_RETURN:
      control->FireReturn();
      return true;
    default:
      return CUpdateWindowBase::OnNotification(message, control, lparam);
  }
}

bool CTransWindowEx::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam,
                                   LRESULT* result) {
  if (message == WM_UI_CHECKPATH) {
    OnCheckPath(wparam);
    return true;
  }
  return CUpdateWindowBase::HandleMessage(message, wparam, lparam, result);
}

}  // namespace uikit
