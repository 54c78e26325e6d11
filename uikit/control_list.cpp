#include "uikit/control_list.h"

#include "uikit/base_element_ctl.h"
#include "uikit/ui_messages.h"

namespace uikit {

ControlList::~ControlList() { DestroyAll(); }

void ControlList::Add(CBaseElementCtl* control) {
  if (control != nullptr) controls_.emplace_back(control);
}

void ControlList::DestroyAll() {
  hovered_ = nullptr;
  // Move the list out first: a destructor that looks at the list (a panel
  // asking its owner) then sees it empty instead of half-destroyed.
  std::vector<std::unique_ptr<CBaseElementCtl>> doomed;
  doomed.swap(controls_);
  doomed.clear();
}

bool ControlList::Eligible(const CBaseElementCtl* control) {
  return control->IsVisible() && control->IsActive();
}

CBaseElementCtl* ControlList::FindControl(const std::wstring& id) const {
  for (const auto& control : controls_) {
    if (control->GetKind() == CBaseElementCtl::kKindPanel && control->Children()) {
      if (CBaseElementCtl* found = control->Children()->FindControl(id)) return found;
    }
    if (control->GetId() == id) return control.get();
  }
  return nullptr;
}

bool ControlList::AnyControlAt(int x, int y) const {
  for (const auto& control : controls_) {
    if (Eligible(control.get()) && control->Contains(x, y)) return true;
  }
  return false;
}

void ControlList::LeftDown(UINT keys, int x, int y) {
  for (size_t i = 0; i < controls_.size(); ++i) {
    CBaseElementCtl* control = controls_[i].get();
    if (Eligible(control) && control->Contains(x, y)) control->OnMouseDown(keys, x, y);
  }
}

void ControlList::LeftUp(UINT keys, int x, int y) {
  for (size_t i = 0; i < controls_.size(); ++i) {
    CBaseElementCtl* control = controls_[i].get();
    if (!Eligible(control) || !control->Contains(x, y)) continue;
    control->OnMouseUp(keys, x, y);
    if (control->GetKind() == CBaseElementCtl::kKindDirectButton) break;
  }
}

void ControlList::RightUp(UINT keys, int x, int y) {
  for (size_t i = 0; i < controls_.size(); ++i) {
    CBaseElementCtl* control = controls_[i].get();
    if (Eligible(control) && control->Contains(x, y)) control->OnRightMouseUp(keys, x, y);
  }
}

void ControlList::DoubleClick(UINT keys, int x, int y) {
  for (size_t i = 0; i < controls_.size(); ++i) {
    CBaseElementCtl* control = controls_[i].get();
    if (Eligible(control) && control->Contains(x, y)) control->OnDoubleClick(keys, x, y);
  }
}

void ControlList::Wheel(UINT keys, int delta, int x, int y) {
  for (size_t i = 0; i < controls_.size(); ++i) {
    CBaseElementCtl* control = controls_[i].get();
    if (Eligible(control) && control->Contains(x, y)) control->OnMouseWheel(keys, delta, x, y);
  }
}

void ControlList::SendLeave(CBaseElementCtl* control) {
  control->OnMouseLeave();
  if (owner_ == nullptr) return;
  SendMessageW(owner_, WM_UI_TOOLTIP, 0, 0);
  // The cursor is read after the leave handler ran: a link resets its hand
  // cursor there.
  SendMessageW(owner_, WM_UI_CURSOR, reinterpret_cast<WPARAM>(control->GetCursor()), 0);
}

void ControlList::MouseMove(UINT keys, int x, int y) {
  CBaseElementCtl* previous = hovered_;
  CBaseElementCtl* now = nullptr;
  bool previous_still_under = false;
  for (const auto& control : controls_) {
    if (!Eligible(control.get()) || !control->Contains(x, y)) continue;
    now = control.get();
    if (now == previous) previous_still_under = true;
  }
  if (previous != nullptr &&
      ((now != nullptr && now != previous) || (now == nullptr && !previous_still_under))) {
    SendLeave(previous);
  }
  if (now != nullptr) {
    if (now->GetKind() == CBaseElementCtl::kKindPanel) {
      // The panel tracks its own children; its own tip and cursor never show.
      now->OnMouseMove(keys, x, y);
    } else {
      now->OnMouseMove(keys, x, y);
      if (now != previous && owner_ != nullptr) {
        SendMessageW(owner_, WM_UI_TOOLTIP, 1, reinterpret_cast<LPARAM>(now->GetTip().c_str()));
        SendMessageW(owner_, WM_UI_CURSOR, reinterpret_cast<WPARAM>(now->GetCursor()), 0);
      }
    }
  }
  hovered_ = now;
}

void ControlList::LeaveHovered() {
  CBaseElementCtl* previous = hovered_;
  hovered_ = nullptr;
  if (previous != nullptr) SendLeave(previous);
}

void ControlList::KeyDown(WPARAM key) {
  for (const auto& control : controls_) control->OnKeyDown(key);
}

void ControlList::KeyUp(WPARAM key) {
  for (const auto& control : controls_) control->OnKeyUp(key);
}

void ControlList::Tick() {
  for (const auto& control : controls_) {
    if (control->IsVisible() && control->IsTicking()) control->OnTick();
  }
}

void ControlList::WindowMoved() {
  for (const auto& control : controls_) {
    if (Eligible(control.get())) control->OnWindowMoved();
  }
}

void ControlList::FocusTo(CBaseElementCtl* target) {
  for (const auto& control : controls_) control->FocusOnly(target);
}

void ControlList::Broadcast(WPARAM a, LPARAM b, WPARAM c, LPARAM d) {
  for (const auto& control : controls_) control->OnCommand(a, b, c, d);
}

void ControlList::DrawAll(HDC dc) {
  for (const auto& control : controls_) {
    if (control->IsVisible()) control->Draw(dc);
  }
}

void ControlList::RelayoutAll(int new_w, int new_h, int old_w, int old_h) {
  for (const auto& control : controls_) control->Relayout(old_w, old_h, new_w, new_h);
}

}  // namespace uikit
