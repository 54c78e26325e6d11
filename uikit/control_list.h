// ControlList: the ordered, owning list of controls of a window or a panel,
// and the dispatch of mouse, keyboard, tick and paint events to them.
//
// Document order is drawing order (later controls paint over earlier ones)
// and decides who gets the mouse where controls overlap: the hovered
// control is the last one under the mouse; a left-button release stops at
// the first "DirectButton" under it.
//
// Hover tracking sends (not posts) WM_UI_TOOLTIP and WM_UI_CURSOR to the
// owner window, so the tooltip and the cursor have changed before the
// dispatch returns.
//
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace uikit {

class CBaseElementCtl;

class ControlList {
 public:
  ControlList() = default;
  ControlList(const ControlList&) = delete;
  ControlList& operator=(const ControlList&) = delete;
  ~ControlList();

  void set_owner(HWND owner) { owner_ = owner; }
  HWND owner() const { return owner_; }

  // Takes ownership of `control`; null is ignored.
  void Add(CBaseElementCtl* control);
  // Deletes every control and forgets the hovered one.
  void DestroyAll();
  size_t size() const { return controls_.size(); }
  CBaseElementCtl* at(size_t index) const { return controls_[index].get(); }
  CBaseElementCtl* hovered() const { return hovered_; }

  // First control with this id in document order; panels are searched
  // before their own id is compared. Null when there is none.
  CBaseElementCtl* FindControl(const std::wstring& id) const;
  // Whether some visible, active control contains the point.
  bool AnyControlAt(int x, int y) const;

  void LeftDown(UINT keys, int x, int y);
  void LeftUp(UINT keys, int x, int y);
  void RightUp(UINT keys, int x, int y);
  void DoubleClick(UINT keys, int x, int y);
  void Wheel(UINT keys, int delta, int x, int y);
  // Hover tracking for a mouse at (x, y).
  void MouseMove(UINT keys, int x, int y);
  // The hovered control (if any) leaves; used when the mouse leaves a panel.
  void LeaveHovered();
  void KeyDown(WPARAM key);
  void KeyUp(WPARAM key);
  void Tick();
  void WindowMoved();
  void FocusTo(CBaseElementCtl* control);
  void Broadcast(WPARAM a, LPARAM b, WPARAM c, LPARAM d);
  void DrawAll(HDC dc);
  void RelayoutAll(int new_w, int new_h, int old_w, int old_h);

 private:
  static bool Eligible(const CBaseElementCtl* control);
  void SendLeave(CBaseElementCtl* control);

  HWND owner_ = nullptr;
  std::vector<std::unique_ptr<CBaseElementCtl>> controls_;
  CBaseElementCtl* hovered_ = nullptr;
};

}  // namespace uikit
