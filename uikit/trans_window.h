// CTransWindow: the dialog host (agreement, notice and quit dialogs).
//
// Besides the shared host (update_window_base.h) it draws the second
// background layer `frameBack`, rounds its two top corners when the
// description says `roundcorner`, lets the band from 5 pixels below the top
// edge down to `titleHeight` drag the window, and runs modally on a layer
// loop: the owner is disabled while the dialog is open and every task and
// timer of the UI loop keeps running meanwhile. Element table:
// control_factory.h, column "Dialog host".
//
// Closing: EndDialog(result) stores the result and posts WM_CLOSE; the host
// hides the window and destroys its controls, and when it runs modally it
// also destroys the window and ends the layer loop, so RunModal returns.
//
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include "uikit/update_window_base.h"

namespace uikit {

class CTransWindow : public CUpdateWindowBase {
 public:
  CTransWindow();
  ~CTransWindow() override;

  using CUpdateWindowBase::CreateFromDescription;
  // Builds the dialog owned by `owner` (may be null).
  bool CreateFromDescription(const wchar_t* name, HWND owner);
  void set_owner_window(HWND owner) { creation_owner_ = owner; }

  // Shows the dialog and runs a nested loop until it closes; the owner is
  // disabled meanwhile, then enabled and focused again. Returns the result
  // given to EndDialog (0 when none was given).
  int RunModal();
  void EndDialog(int result);
  int dialog_result() const { return dialog_result_; }
  void set_dialog_result(int result) { dialog_result_ = result; }
  bool running_modal() const { return running_modal_; }

  // Rounds the two top corners (5 × 5 ellipse) or removes the region.
  virtual void ApplyRoundCorners(bool on);

 protected:
  ControlTable WindowTable() const override { return ControlTable::kDialogHost; }
  void ReadWindowAttributes(const TiXmlElement* root) override;
  HWND CreationOwner() const override { return creation_owner_; }
  const wchar_t* WindowClassName() const override { return L"QivTransWindow"; }
  UINT WindowClassStyle() const override { return 0; }
  POINT LogoPosition() const override { return POINT{10, 10}; }
  int CaptionLeftWithoutLogo() const override { return 18; }
  int CaptionLeftAfterLogo() const override { return 17; }

  void DrawBackground(HDC dc) override;
  LRESULT OnCreate() override;
  LRESULT OnNcHitTest(int screen_x, int screen_y) override;
  void OnSize(int width, int height) override;
  bool OnClose() override;
  void OnCursorMessage(HCURSOR cursor) override;

  bool round_corners_ = false;
  int dialog_result_ = 0;

 private:
  HWND creation_owner_ = nullptr;
  bool running_modal_ = false;
};

}  // namespace uikit
