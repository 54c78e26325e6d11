#include "uikit/update_window_base.h"

#include <commctrl.h>
#include <tinyxml.h>
#include <windowsx.h>

#include "uikit/display_depth.h"
#include "uikit/gdi_resource.h"
#include "uikit/layered_surface.h"
#include "uikit/scoped_gdi.h"
#include "uikit/ui_messages.h"
#include "uikit/xml_helper.h"

namespace uikit {

namespace {

constexpr UINT_PTR kControlTickTimer = 512;
constexpr DWORD kStyleAddedAtCreation = 0x00000080;

void EnsureCommonControls() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  done = true;
}

// The tool that covers the whole window. The version-2 size is accepted by
// every comctl32, with or without a version-6 manifest.
TTTOOLINFOW WindowTool(HWND window) {
  TTTOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND;
  tool.hwnd = window;
  tool.uId = reinterpret_cast<UINT_PTR>(window);
  return tool;
}

bool ContainsControl(ControlList* list, const CBaseElementCtl* control) {
  for (size_t i = 0; i < list->size(); ++i) {
    CBaseElementCtl* candidate = list->at(i);
    if (candidate == control) return true;
    if (ControlList* children = candidate->Children()) {
      if (ContainsControl(children, control)) return true;
    }
  }
  return false;
}

}  // namespace

CUpdateWindowBase::CUpdateWindowBase() : CBaseElementCtl(nullptr, true) {}

// The controls die with the members; CWindowBase then detaches the object
// from its window before destroying it, so no message reaches a host that is
// half destroyed.
CUpdateWindowBase::~CUpdateWindowBase() = default;

bool CUpdateWindowBase::CreateFromDescription(const wchar_t* name) {
  description_name_ = name ? name : L"";
  if (!description_.LoadFromResource(name)) return false;
  return CreateFromLoadedDescription();
}

bool CUpdateWindowBase::CreateFromDescriptionFile(const std::wstring& path) {
  description_name_ = path;
  if (!description_.LoadFromFile(path)) return false;
  return CreateFromLoadedDescription();
}

bool CUpdateWindowBase::CreateFromDescriptionText(const std::string& utf8) {
  description_name_.clear();
  if (!description_.LoadFromMemory(utf8.data(), utf8.size())) return false;
  return CreateFromLoadedDescription();
}

bool CUpdateWindowBase::CreateFromLoadedDescription() {
  const TiXmlElement* root = description_.Root();
  if (root == nullptr || hwnd() != nullptr) return false;
  ReadWindowAttributes(root);
  RECT rect{left_, top_, left_ + width_, top_ + height_};
  OnCreationRect(&rect);
  window_rect_ = rect;
  layout_width_ = width_;
  layout_height_ = height_;
  style_ |= kStyleAddedAtCreation;
  if (Create(CreationOwner(), rect, title_.c_str(), style_, CreationExStyle()) == nullptr) {
    return false;
  }
  SetForegroundWindow(hwnd());
  OnAfterCreate();
  return true;
}

void CUpdateWindowBase::ReadWindowAttributes(const TiXmlElement* root) {
  LoadCommonAttributes(root);
  min_width_ = CXmlHelper::ReadInt(root, "minWidth");
  min_height_ = CXmlHelper::ReadInt(root, "minHeight");
  title_height_ = CXmlHelper::ReadInt(root, "titleHeight");
  icon_name_ = CXmlHelper::ReadText(root, "icon");
  frame_image_ = CXmlHelper::ReadImage(root, "frame");
  frame_corners_ = CXmlHelper::ReadRect(root, "frameCorner");
  frame_back_image_ = CXmlHelper::ReadImage(root, "frameBack");
  frame_back_corners_ = CXmlHelper::ReadRect(root, "frameBackCorner");
  frame_back_rect_ = CXmlHelper::ReadRect(root, "frameBackPos");
  centre_ = CXmlHelper::ReadFlagOne(root, "center");
  resize_image_ = CXmlHelper::ReadImage(root, "resize");
  title_image_ = CXmlHelper::ReadImage(root, "title");
  logo_image_ = CXmlHelper::ReadImage(root, "logo");
}

void CUpdateWindowBase::CreateControls() {
  const TiXmlElement* root = description_.Root();
  if (root == nullptr) return;
  for (const TiXmlElement* child = root->FirstChildElement(); child != nullptr;
       child = child->NextSiblingElement()) {
    controls_.Add(CreateControl(WindowTable(), child, hwnd(), true));
  }
}

void CUpdateWindowBase::DestroyControls() { controls_.DestroyAll(); }

void CUpdateWindowBase::SetIcon() {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
  if (icon == nullptr) return;
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void CUpdateWindowBase::CreateTooltip() {
  EnsureCommonControls();
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (tooltip_ == nullptr) return;
  SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
  TTTOOLINFOW tool = WindowTool(hwnd());
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 260);
}

void CUpdateWindowBase::RelayMouseToTooltip() {
  if (tooltip_ == nullptr) return;
  const DWORD pos = GetMessagePos();
  MSG msg = {};
  msg.hwnd = hwnd();
  msg.message = WM_MOUSEMOVE;
  POINT point{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  ScreenToClient(hwnd(), &point);
  msg.lParam = MAKELPARAM(point.x, point.y);
  msg.time = GetMessageTime();
  msg.pt = POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

bool CUpdateWindowBase::PaintsLayered() const { return DisplayIs32Bit(); }

RECT CUpdateWindowBase::PaintArea() const {
  RECT area = {0, 0, 0, 0};
  GetClientRect(hwnd(), &area);
  return area;
}

void CUpdateWindowBase::DrawBackground(HDC dc) {
  if (frame_image_ == nullptr) return;
  const SIZE size = CGDIResource::BitmapSize(frame_image_);
  GetGDIResource()->DrawNinePart(dc, frame_image_, PaintArea(), RECT{0, 0, size.cx, size.cy},
                                 255, frame_corners_);
}

void CUpdateWindowBase::DrawCaption(HDC dc) {
  CGDIResource* gdi = GetGDIResource();
  int caption_left = CaptionLeftWithoutLogo();
  if (logo_image_ != nullptr) {
    const SIZE size = CGDIResource::BitmapSize(logo_image_);
    const POINT at = LogoPosition();
    gdi->DrawImage(dc, logo_image_, at.x, at.y, size.cx, size.cy, kModeAlpha, 255);
    caption_left = size.cx + CaptionLeftAfterLogo();
  }
  if (title_.empty()) return;
  const RECT area = PaintArea();
  const RECT box{caption_left, 9, area.right - 1, title_height_ < 1 ? 29 : title_height_};
  // GDI+ text keeps its alpha in a layered surface; it draws alike on WM_PAINT.
  gdi->DrawTextPlus(dc, title_, box, gdi->DefaultFont(), RGB(255, 255, 255),
                    DT_SINGLELINE | DT_END_ELLIPSIS);
}

void CUpdateWindowBase::RenderInto(HDC dc) {
  DrawBackground(dc);
  DrawCaption(dc);
  controls_.DrawAll(dc);
}

void CUpdateWindowBase::LayeredPaint(int percent) {
  if (!IsWindow()) return;
  if (!PaintsLayered()) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    return;
  }
  if (percent < 0 || percent > 100) percent = 100;
  RECT window;
  GetWindowRect(hwnd(), &window);
  CLayeredSurface surface;
  if (!surface.Create(window.right - window.left, window.bottom - window.top)) return;
  RenderInto(surface.dc());
  // Integer arithmetic: 100 % is exactly 255 (100 × 2.55 in floating point
  // truncates to 254 and leaves the window faintly translucent).
  surface.Push(hwnd(), window.left, window.top, static_cast<BYTE>(percent * 255 / 100));
}

void CUpdateWindowBase::SetLayoutSize(int width, int height) {
  width_ = width;
  height_ = height;
  controls_.RelayoutAll(width, height, width, height);
  layout_width_ = width;
  layout_height_ = height;
}

void CUpdateWindowBase::Invalidate(bool now) {
  if (now && IsWindow()) PostMessageW(hwnd(), WM_UI_LAYERED_PAINT, 0, 100);
}

bool CUpdateWindowBase::OwnsControl(const CBaseElementCtl* control) const {
  return control != nullptr &&
         ContainsControl(const_cast<ControlList*>(&controls_), control);
}

LRESULT CUpdateWindowBase::OnCreate() {
  if (PaintsLayered() && LayeredWindowApi() != nullptr) {
    PostMessageW(hwnd(), WM_UI_LAYERED_PAINT, 0, 100);
  }
  SetOwnerWindow(hwnd());
  if (centre_) {
    CenterWindow(GetWindow(hwnd(), GW_OWNER));
    GetWindowRect(hwnd(), &window_rect_);
  }
  controls_.set_owner(hwnd());
  CreateControls();
  CreateTooltip();
  BindHandlers();
  SetIcon();
  return 0;
}

void CUpdateWindowBase::OnDestroy() {
  if (tooltip_ != nullptr) ::DestroyWindow(tooltip_);
  tooltip_ = nullptr;
}

void CUpdateWindowBase::OnSize(int width, int height) {
  controls_.RelayoutAll(width, height, layout_width_, layout_height_);
  layout_width_ = width;
  layout_height_ = height;
}

bool CUpdateWindowBase::OnTimer(UINT_PTR id) {
  if (id != kControlTickTimer) return false;
  controls_.Tick();
  return true;
}

void CUpdateWindowBase::OnCursorMessage(HCURSOR cursor) {
  HCURSOR shown = LoadCursorW(nullptr, IDC_ARROW);
  if (cursor == LoadCursorW(nullptr, IDC_HAND)) shown = cursor;
  SetClassLongPtrW(hwnd(), GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(shown));
}

bool CUpdateWindowBase::OnNotification(UINT message, CBaseElementCtl* control, LPARAM) {
  if (!OwnsControl(control)) return true;  // Destroyed meanwhile: dropped.
  switch (message) {
    case WM_UI_CLICKED:
      control->FireClick();
      return true;
    case WM_UI_RCLICKED:
      control->FireRightClick();
      return true;
    default:
      return false;
  }
}

bool CUpdateWindowBase::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam,
                                      LRESULT* result) {
  switch (message) {
    case WM_CREATE:
      *result = OnCreate();
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd(), &paint);
      RECT client;
      GetClientRect(hwnd(), &client);
      // Double-buffered: the frame and the controls reach the screen at once.
      ScopedMemoryDC memory(dc);
      ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
      if (memory.get() != nullptr && bitmap.get() != nullptr) {
        ScopedSelect select(memory.get(), bitmap.get());
        RenderInto(memory.get());
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
      } else {
        RenderInto(dc);
      }
      EndPaint(hwnd(), &paint);
      return true;
    }
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_UI_LAYERED_PAINT:
      LayeredPaint(static_cast<int>(lparam));
      return true;
    case WM_NCHITTEST:
      *result = OnNcHitTest(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return true;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
      RECT work = {};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      info->ptMinTrackSize = POINT{min_width_, min_height_};
      info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
      info->ptMaxTrackSize = info->ptMaxSize;
      info->ptMaxPosition = POINT{work.left, work.top};
      return true;
    }
    case WM_NCLBUTTONDBLCLK:
      if (maximisable_) {
        SendMessageW(hwnd(), WM_SYSCOMMAND, IsZoomed(hwnd()) ? SC_RESTORE : SC_MAXIMIZE, 0);
      }
      return true;
    case WM_NCMOUSEMOVE: {
      const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
      LONG_PTR wanted = IsZoomed(hwnd())
                            ? style | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX
                            : style & ~static_cast<LONG_PTR>(WS_SYSMENU);
      if (wanted != style) SetWindowLongPtrW(hwnd(), GWL_STYLE, wanted);
      return false;
    }
    case WM_GETICON: {
      const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
      const LONG_PTR wanted = style | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      if (wanted != style) SetWindowLongPtrW(hwnd(), GWL_STYLE, wanted);
      return false;
    }
    case WM_ACTIVATE:
      OnActivate(wparam);
      return false;
    case WM_SIZE:
      OnSize(LOWORD(lparam), HIWORD(lparam));
      return true;
    case WM_MOVE:
      controls_.WindowMoved();
      return false;
    case WM_MOUSEMOVE:
      RelayMouseToTooltip();
      controls_.MouseMove(static_cast<UINT>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      if (!mouse_tracked_) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd(), 0};
        mouse_tracked_ = TrackMouseEvent(&track) != FALSE;
      }
      return true;
    case WM_MOUSELEAVE:
      mouse_tracked_ = false;
      controls_.MouseMove(0, 0, 0);
      return true;
    case WM_LBUTTONDOWN:
      controls_.LeftDown(static_cast<UINT>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return true;
    case WM_LBUTTONUP:
      controls_.LeftUp(static_cast<UINT>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return true;
    case WM_RBUTTONDOWN:
      return true;
    case WM_RBUTTONUP:
      controls_.RightUp(static_cast<UINT>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return true;
    case WM_MOUSEWHEEL: {
      POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ScreenToClient(hwnd(), &point);
      controls_.Wheel(GET_KEYSTATE_WPARAM(wparam), GET_WHEEL_DELTA_WPARAM(wparam), point.x,
                      point.y);
      return true;
    }
    case WM_KEYDOWN:
      controls_.KeyDown(wparam);
      return true;
    case WM_KEYUP:
      controls_.KeyUp(wparam);
      return true;
    // System keys reach the controls and then the default handling, so that
    // Alt+F4 and the system menu keep working.
    case WM_SYSKEYDOWN:
      controls_.KeyDown(wparam);
      return false;
    case WM_SYSKEYUP:
      controls_.KeyUp(wparam);
      return false;
    case WM_TIMER:
      return OnTimer(wparam);
    case WM_UI_CURSOR:
      OnCursorMessage(reinterpret_cast<HCURSOR>(wparam));
      return true;
    case WM_UI_TOOLTIP:
      if (tooltip_ != nullptr) {
        if (wparam == 1) {
          TTTOOLINFOW tool = WindowTool(hwnd());
          tool.lpszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(lparam));
          SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
          SendMessageW(tooltip_, TTM_ACTIVATE, TRUE, 0);
        } else {
          SendMessageW(tooltip_, TTM_ACTIVATE, FALSE, 0);
        }
      }
      return true;
    case WM_UI_FOCUS:
      controls_.FocusTo(reinterpret_cast<CBaseElementCtl*>(wparam));
      return true;
    case WM_UI_CLICKED:
    case WM_UI_RCLICKED:
    case WM_UI_RETURN:
    case WM_UI_TAB:
    case WM_UI_CHANGED:
      return OnNotification(message, reinterpret_cast<CBaseElementCtl*>(wparam), lparam);
    case WM_CLOSE:
      return OnClose();
    case WM_DESTROY:
      OnDestroy();
      return false;
    case WM_COMMAND:
      *result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace uikit
