// CUpdateWindowBase: what both skinned window hosts share.
//
// A skinned window is a borderless top-level window whose whole surface is
// painted by the program from skin images, and whose content is a list of
// owner-drawn controls built from a window description. The window is
// itself an element: it reads the common attributes through
// CBaseElementCtl, then the window attributes below.
//
// Painting. On a display at 32 bits per pixel the window is a layered
// window: controls post WM_UI_LAYERED_PAINT, and LayeredPaint renders
// background, caption and controls into an off-screen surface with
// per-pixel alpha and pushes it with UpdateLayeredWindow (repaints are
// coalesced by message). On other displays the same drawing runs on
// WM_PAINT. The depth comes from DisplayBitsPerPixel (display_depth.h).
//
// Notifications. Controls post WM_UI_CLICKED and friends with the control
// pointer; the host fires the control's handler slot. A notification whose
// control has been destroyed meanwhile (the dialog host destroys its
// controls on WM_CLOSE) is dropped instead of touching freed memory.
//
// Window attributes (root element "window", besides the common ones:
// `title` is the caption text, `style`/`style_ex` the Win32 styles, `left`,
// `top`, `width`, `height` the initial screen rectangle):
//   attribute        syntax      default  meaning
//   minWidth         integer     0        minimum tracking width
//   minHeight        integer     0        minimum tracking height
//   titleHeight      integer     0        caption band height from the top edge;
//                                         bottom of the caption text (< 1: 29)
//   icon             text        empty    kept (the window icon is resource 128)
//   frame            image       none     background, nine-part over the window
//   frameCorner      rectangle   0,0,0,0  corners of `frame`
//   frameBack        image       none     second background (dialog host only)
//   frameBackCorner  rectangle   0,0,0,0  corners of `frameBack`
//   frameBackPos     rectangle   0,0,0,0  target rectangle of `frameBack`
//   center           flag (= 1)  off      centre the window when created
//   topmost          flag        off      WS_EX_TOPMOST (main host only)
//   resize           image       none     kept, not drawn
//   title            image       none     kept, not drawn
//   logo             image       none     drawn at (12,10) main / (10,10) dialog
//   roundcorner      flag        off      round top corners (dialog host only)
// Example:
//   <window title="" width="492" height="402" center="1" style="2248146944"
//           titleHeight="246" frame="ABOUTDIALOG" frameCorner="10,10,10,10">
//     <button id="id_close" left="33" top="21" width="11" height="12"
//             xAlignment="right" image="DLG_BTN_CLOSE"/>
//   </window>
// Elements: see control_factory.h.
//
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "uikit/base_element_ctl.h"
#include "uikit/control_factory.h"
#include "uikit/control_list.h"
#include "uikit/description.h"
#include "uikit/window_base.h"

namespace uikit {

class CUpdateWindowBase : public CWindowBase, public CBaseElementCtl {
 public:
  CUpdateWindowBase();
  ~CUpdateWindowBase() override;

  // Builds the window from the description resource `name` (type "xml" of
  // the description module). The window is created hidden; false when the
  // description is missing or malformed, its root is not "window", or the
  // window cannot be created.
  bool CreateFromDescription(const wchar_t* name);
  // The same from a description file or from UTF-8 text in memory.
  bool CreateFromDescriptionFile(const std::wstring& path);
  bool CreateFromDescriptionText(const std::string& utf8);

  ControlList& controls() { return controls_; }
  CBaseElementCtl* FindControl(const std::wstring& id) const { return controls_.FindControl(id); }
  int title_height() const { return title_height_; }
  const RECT& window_rect() const { return window_rect_; }
  HWND tooltip() const { return tooltip_; }
  const std::wstring& description_name() const { return description_name_; }

  // Renders background, caption and controls into an off-screen surface and
  // pushes it (32-bit displays); elsewhere invalidates the window.
  virtual void LayeredPaint(int percent);
  // Renders the finished window into `dc` (of width × height).
  void RenderInto(HDC dc);
  // Whether the window paints as a layered window now.
  bool PaintsLayered() const;
  // Lays the controls out for a client area of width × height with equal
  // old and new sizes (aligned controls move; stretch has no effect).
  void SetLayoutSize(int width, int height);

  // The element's own Invalidate: a layered repaint of the whole window.
  void Invalidate(bool now) override;

 protected:
  // Which element table the host's window level uses.
  virtual ControlTable WindowTable() const = 0;
  // Reads the window attributes of `root` (common ones included).
  virtual void ReadWindowAttributes(const TiXmlElement* root);
  // Owner window for CreateWindowEx (dialogs: their owner).
  virtual HWND CreationOwner() const { return nullptr; }
  virtual DWORD CreationExStyle() const { return style_ex_; }
  // Hooks, in the order they run.
  virtual void OnCreationRect(RECT* /*rect*/) {}
  virtual void CreateControls();
  virtual void BindHandlers() {}
  virtual void OnAfterCreate() {}
  virtual void DestroyControls();
  virtual void SetIcon();

  // Drawing of the window itself, in the area of PaintArea().
  virtual void DrawBackground(HDC dc);
  virtual void DrawCaption(HDC dc);
  // Logo position and the caption box's left edge without a logo.
  virtual POINT LogoPosition() const = 0;
  virtual int CaptionLeftWithoutLogo() const = 0;
  virtual int CaptionLeftAfterLogo() const = 0;
  // The rectangle the background covers: the client rectangle.
  virtual RECT PaintArea() const;

  // Message handling. HandleMessage routes to the handlers below; window
  // classes override it to see messages first.
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
  virtual LRESULT OnCreate();
  virtual void OnDestroy();
  virtual void OnSize(int width, int height);
  virtual LRESULT OnNcHitTest(int screen_x, int screen_y) = 0;
  virtual bool OnClose() { return false; }
  virtual bool OnTimer(UINT_PTR id);
  virtual void OnActivate(WPARAM /*wparam*/) {}
  virtual void OnCursorMessage(HCURSOR cursor);
  // Notifications (wParam = control). Return true when handled.
  virtual bool OnNotification(UINT message, CBaseElementCtl* control, LPARAM lparam);
  // Whether `control` is still one of this window's controls.
  bool OwnsControl(const CBaseElementCtl* control) const;

  void RelayMouseToTooltip();
  void CreateTooltip();

  CWindowDescription description_;
  std::wstring description_name_;
  ControlList controls_;
  HWND tooltip_ = nullptr;
  int min_width_ = 307;
  int min_height_ = 451;
  int title_height_ = 20;
  bool centre_ = false;
  HBITMAP frame_image_ = nullptr;
  RECT frame_corners_ = {0, 0, 0, 0};
  HBITMAP frame_back_image_ = nullptr;
  RECT frame_back_corners_ = {0, 0, 0, 0};
  RECT frame_back_rect_ = {0, 0, 0, 0};
  HBITMAP resize_image_ = nullptr;
  HBITMAP title_image_ = nullptr;
  HBITMAP logo_image_ = nullptr;
  std::wstring icon_name_;
  bool active_window_ = false;
  bool resizable_ = false;
  bool maximisable_ = false;
  RECT window_rect_ = {0, 0, 0, 0};
  // Client size of the last layout (the description's size to begin with).
  int layout_width_ = 0;
  int layout_height_ = 0;
  bool mouse_tracked_ = false;

 private:
  bool CreateFromLoadedDescription();
};

}  // namespace uikit
