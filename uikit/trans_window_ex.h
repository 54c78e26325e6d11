// CTransWindowEx: the main window host (the installer's main window).
//
// Besides the shared host (update_window_base.h) it has the opening zoom
// animation (open_animation.h) with a hook when it has finished, the shake
// that draws the user's eye to the window, the notifications of edits
// (return, checkpath) and of check boxes (changed), and the main window's
// hit test: the caption band from the top edge down to `titleHeight` drags
// the window, controls take the mouse, nothing reacts while the window
// animates or shakes. Element table: control_factory.h, column "Main host";
// `topmost` applies here, `roundcorner` and `frameBack` do not.
//
// The creator decides whether to animate (set_animating(true) on a 32-bit
// display) before calling ShowAnimated.
//
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include "uikit/layered_surface.h"
#include "uikit/update_window_base.h"

namespace uikit {

class CTransWindowEx : public CUpdateWindowBase {
 public:
  static constexpr UINT_PTR kShakeTimer = 16;
  static constexpr UINT kShakeTickMs = 45;
  static constexpr int kShakeSteps = 11;

  CTransWindowEx();
  ~CTransWindowEx() override;

  void set_animating(bool animating) { animating_ = animating; }
  bool animating() const { return animating_; }
  bool shaking() const { return shaking_; }

  // Shows the window; with the opening animation when animating() is set
  // and the window is larger than 149 × 109.
  void ShowAnimated();
  // Brings the window to the foreground and shakes it.
  void BringToFront();

  void LayeredPaint(int percent) override;

 protected:
  // Hooks for the window class.
  virtual void OnShown() {}
  virtual void OnBeforeShake() {}
  virtual void OnAfterShake() {}
  // WM_UI_CHECKPATH from a layered edit with `checkpath` set.
  virtual void OnCheckPath(WPARAM /*value*/) {}

  ControlTable WindowTable() const override { return ControlTable::kMainHost; }
  void ReadWindowAttributes(const TiXmlElement* root) override;
  DWORD CreationExStyle() const override;
  const wchar_t* WindowClassName() const override { return L"QivTransWindowEx"; }
  UINT WindowClassStyle() const override { return 0; }
  POINT LogoPosition() const override { return POINT{12, 10}; }
  int CaptionLeftWithoutLogo() const override { return 14; }
  int CaptionLeftAfterLogo() const override { return 16; }
  RECT PaintArea() const override;

  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
  LRESULT OnNcHitTest(int screen_x, int screen_y) override;
  void OnSize(int width, int height) override;
  void OnDestroy() override;
  bool OnTimer(UINT_PTR id) override;
  void OnActivate(WPARAM wparam) override;
  bool OnNotification(UINT message, CBaseElementCtl* control, LPARAM lparam) override;

 private:
  void PhaseOneTick();
  void PhaseTwoTick();
  void DrawPhaseOneFrame(const RECT& frame, int opacity_percent);
  void PushSnapshotScaled(const RECT& window, int opacity_percent);
  void ShakeTick();
  void MoveWindowTo(const RECT& rect, bool resize);

  bool topmost_ = false;
  bool animating_ = false;
  RECT anim_rect_ = {0, 0, 0, 0};
  int anim_counter_ = 0;
  CLayeredSurface snapshot_;
  bool shaking_ = false;
  int shake_counter_ = kShakeSteps;
  int shake_phase_ = 0;
  RECT shake_rect_ = {0, 0, 0, 0};
};

}  // namespace uikit
