// CBaseElementCtl: the base of every control and of the window element.
//
// Controls are not child windows. Each one lives in its owner window's
// ControlList, keeps its rectangle in the owner's client coordinates, paints
// into the device context the owner hands it, and learns about the mouse
// from the owner's dispatch (ControlList). It reports to the driving code by
// posting WM_UI_* notifications to the owner window, which then fires the
// matching handler slot, so handlers never run inside the mouse dispatch
// that caused them. A control must therefore live until its window closes:
// nothing removes single controls.
//
// Repaints: a control whose owner paints as a layered window ("layered")
// posts WM_UI_LAYERED_PAINT to the owner, which coalesces them into one
// UpdateLayeredWindow; otherwise it invalidates its own rectangle.
//
// Threads: UI thread only (the thread of the owner window).
#pragma once

#include <windows.h>

#include <string>

#include "uikit/control_handler.h"
#include "uikit/layout_rule.h"

class TiXmlElement;

namespace uikit {

class ControlList;

// The layout codes of an element (alignment and stretch on both axes) and a
// style text the toolkit keeps but does not read.
class CWindowCtlStyle {
 public:
  const LayoutCodes& layout_codes() const { return layout_codes_; }
  void set_layout_codes(const LayoutCodes& codes) { layout_codes_ = codes; }

 protected:
  std::wstring style_text_;
  LayoutCodes layout_codes_;
};

class CBaseElementCtl : public CWindowCtlStyle {
 public:
  // Kind names that change the dispatch (ControlList).
  static const wchar_t kKindPanel[];
  static const wchar_t kKindDirectButton[];

  CBaseElementCtl(HWND owner, bool layered);
  CBaseElementCtl(const CBaseElementCtl&) = delete;
  CBaseElementCtl& operator=(const CBaseElementCtl&) = delete;
  virtual ~CBaseElementCtl();

  // Description reading. LoadAttributes reads the common attributes, then
  // the class's own; LoadCommonAttributes ends with LoadLayoutAttributes.
  virtual void LoadLayoutAttributes(const TiXmlElement* element);
  virtual void LoadAttributes(const TiXmlElement* element);
  void LoadCommonAttributes(const TiXmlElement* element);

  const std::wstring& GetId() const { return id_; }
  const std::wstring& GetName() const { return name_; }
  const std::wstring& GetTitle() const { return title_; }
  const std::wstring& GetTip() const { return tip_; }
  const std::wstring& GetKind() const { return kind_; }
  virtual void SetTitle(const std::wstring& text) { title_ = text; }
  void SetTip(const std::wstring& text) { tip_ = text; }
  void SetId(const std::wstring& text) { id_ = text; }
  void SetName(const std::wstring& text) { name_ = text; }
  DWORD style() const { return style_; }
  DWORD style_ex() const { return style_ex_; }

  void SetActive(bool active) { active_ = active; }
  bool IsActive() const { return active_; }
  bool IsVisible() const { return visible_; }
  // Repaints when the visibility changes.
  virtual void SetVisible(bool visible);
  void SetTicking(bool ticking) { ticking_ = ticking; }
  bool IsTicking() const { return ticking_; }
  // focused = (control == this); panels pass it to their children.
  virtual CBaseElementCtl* FocusOnly(CBaseElementCtl* control);
  void SetFocused(bool focused) { focused_ = focused; }
  bool IsFocused() const { return focused_; }
  void SetMarked(bool marked) { marked_ = marked; }
  bool IsMarked() const { return marked_; }
  bool IsLayered() const { return layered_; }

  // Geometry in owner client coordinates.
  virtual void SetRect(int left, int top, int right, int bottom);
  virtual void SetPosition(int x, int y, int width, int height);
  void SetDesignRect(int left, int top, int right, int bottom);
  void SetDesignPosition(int x, int y, int width, int height);
  RECT GetRect() const;
  RECT GetDesignRect() const;
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }

  HCURSOR GetCursor() const { return cursor_; }
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

  // Handler slots. `target` is not owned and must outlive the control.
  template <class T, class M> void SetChangeHandler(T* target, M method) { change_.Bind(target, method); }
  template <class T, class M> void SetClickHandler(T* target, M method) { click_.Bind(target, method); }
  template <class T, class M> void SetRightClickHandler(T* target, M method) { right_click_.Bind(target, method); }
  template <class T, class M> void SetHoverHandler(T* target, M method) { hover_.Bind(target, method); }
  template <class T, class M> void SetLeaveHandler(T* target, M method) { leave_.Bind(target, method); }
  template <class T, class M> void SetReturnHandler(T* target, M method) { return_.Bind(target, method); }
  template <class T, class M> void SetCommandHandler(T* target, M method) { command_.Bind(target, method); }

  // Asks the owner for a repaint (see the class comment). Without an owner,
  // or with `now` false, nothing happens.
  virtual void Invalidate(bool now);
  // Width in pixels of `text` drawn in `font`.
  int MeasureText(const std::wstring& text, HFONT font) const;
  HWND GetOwnerWindow() const { return owner_; }
  void SetOwnerWindow(HWND owner) { owner_ = owner; }

  // The children of a container (panels), or null.
  virtual ControlList* Children() { return nullptr; }

  virtual void OnTick() {}
  void MoveBy(int dy) { top_ += dy; }
  virtual void OnWindowMoved() {}
  virtual void OnKeyDown(WPARAM /*key*/) {}
  virtual void OnKeyUp(WPARAM /*key*/) {}

  // Notifications to the owner (posted): wParam = this.
  void NotifyChanged();
  void NotifyClicked();
  void NotifyReturn();
  virtual void NotifyTab() {}

  // Mouse events, in owner client coordinates.
  virtual void OnMouseDown(UINT keys, int x, int y);
  virtual void OnDoubleClick(UINT keys, int x, int y);
  virtual void OnMouseUp(UINT keys, int x, int y);
  virtual void OnRightMouseUp(UINT keys, int x, int y);
  virtual void OnMouseMove(UINT keys, int x, int y);
  virtual void OnMouseLeave();
  virtual void OnMouseWheel(UINT keys, int delta, int x, int y);

  virtual void Draw(HDC dc);
  // The layout rule for a parent going from old_w × old_h to new_w × new_h.
  virtual void Relayout(int old_w, int old_h, int new_w, int new_h);
  // Right and bottom edges included.
  virtual bool HitTest(int x, int y, int left, int top, int right, int bottom) const;
  // HitTest against the control's own rectangle.
  bool Contains(int x, int y) const;

  // Run by the owner for the matching notification; −1 when unbound.
  virtual int FireClick();
  virtual int FireRightClick();
  int FireReturn();
  int FireChange();
  // The command slot, either form.
  int Command();
  virtual void OnCommand(WPARAM a, LPARAM b, WPARAM c, LPARAM d);

 protected:
  void PostToOwner(UINT message, LPARAM lparam);

  HWND owner_;
  std::wstring id_;
  std::wstring name_;
  std::wstring title_;
  std::wstring kind_;
  std::wstring tip_;
  DWORD style_ = 0;
  DWORD style_ex_ = 0;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  int design_left_ = 0;
  int design_top_ = 0;
  int design_width_ = 0;
  int design_height_ = 0;
  bool active_ = true;
  bool ticking_ = false;
  bool focused_ = false;
  bool visible_ = true;
  bool marked_ = false;
  HCURSOR cursor_;
  bool layered_;
  ControlHandler change_;
  ControlHandler click_;
  ControlHandler right_click_;
  ControlHandler hover_;
  ControlHandler leave_;
  ControlHandler return_;
  ControlHandler command_;
};

}  // namespace uikit
