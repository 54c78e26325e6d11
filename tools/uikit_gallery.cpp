// uikit_gallery: shows a main-host window built from a window description
// file, for looking at the skin and for the toolkit's window tests.
//
//   uikit_gallery.exe DESCRIPTION.xml [--seconds N] [--bpp 16|32] [--progress F]
//
// The skin images of the product are linked in. The window opens with its
// opening animation (on a 32-bit display) and the program prints, one line
// each, flushed at once:
//   shown                          the window is on screen and painted
//   window L T R B                 its screen rectangle, right after "shown"
//   clicked <id> / changed <id>    every click and change notification
//   rclicked <id>                  every right-click notification
// It ends on WM_CLOSE or after N seconds. --bpp replaces the display's
// colour depth, so that the 16-bit path (painting on WM_PAINT, no
// animation) can be looked at on any display. --progress sets every progress
// bar of the description to the fraction F (0 to 1).
//
// Threads: everything on the main thread, the UI loop.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "base/message_loop.h"
#include "uikit/display_depth.h"
#include "uikit/gdi_resource.h"
#include "uikit/gdiplus_session.h"
#include "uikit/progress_ctl.h"
#include "uikit/trans_window_ex.h"
#include "uikit/ui_messages.h"

namespace {

int g_forced_bits = 0;
int ForcedBits() { return g_forced_bits; }

void PrintLine(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size,
                      nullptr, nullptr);
  return out;
}

class CGalleryWindow : public uikit::CTransWindowEx {
 public:
  explicit CGalleryWindow(base::MessageLoop* loop) : loop_(loop) {}

  void SetAllProgress(float fraction) { SetProgressIn(&controls(), fraction); }

 protected:
  void OnShown() override { ReportShown(); }

  void LayeredPaint(int percent) override {
    uikit::CTransWindowEx::LayeredPaint(percent);
    if (!animating() && IsWindowVisible(hwnd()) && uikit::DisplayIs32Bit()) ReportShown();
  }

  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
    switch (message) {
      case uikit::WM_UI_CLICKED:
        Report("clicked", wparam);
        break;
      case uikit::WM_UI_CHANGED:
        Report("changed", wparam);
        break;
      case uikit::WM_UI_RCLICKED:
        Report("rclicked", wparam);
        break;
      case WM_CLOSE:
        DestroyControls();
        DestroyWindow();
        loop_->Quit();
        return true;
      default:
        break;
    }
    const bool handled = uikit::CTransWindowEx::HandleMessage(message, wparam, lparam, result);
    // Without the animation, "shown" means the first completed WM_PAINT.
    if (message == WM_PAINT && !animating() && !uikit::DisplayIs32Bit()) ReportShown();
    return handled;
  }

 private:
  static void SetProgressIn(uikit::ControlList* list, float fraction) {
    for (size_t i = 0; i < list->size(); ++i) {
      uikit::CBaseElementCtl* control = list->at(i);
      if (auto* bar = dynamic_cast<uikit::CProgressCtl*>(control)) bar->SetProgress(fraction);
      if (uikit::ControlList* children = control->Children()) SetProgressIn(children, fraction);
    }
  }

  void Report(const char* what, WPARAM wparam) {
    auto* control = reinterpret_cast<uikit::CBaseElementCtl*>(wparam);
    if (!OwnsControl(control)) return;
    PrintLine(std::string(what) + " " + Narrow(control->GetId()));
  }

  void ReportShown() {
    if (shown_reported_) return;
    shown_reported_ = true;
    PrintLine("shown");
    RECT r;
    GetWindowRect(hwnd(), &r);
    char line[96];
    std::snprintf(line, sizeof(line), "window %ld %ld %ld %ld", static_cast<long>(r.left),
                  static_cast<long>(r.top), static_cast<long>(r.right),
                  static_cast<long>(r.bottom));
    PrintLine(line);
  }

  base::MessageLoop* loop_;
  bool shown_reported_ = false;
};


int Usage() {
  std::fputs("usage: uikit_gallery DESCRIPTION.xml [--seconds N] [--bpp 16|32] [--progress F]\n", stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring description;
  int seconds = 0;
  float progress = -1.0f;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--seconds" && i + 1 < argc) {
      seconds = _wtoi(argv[++i]);
    } else if (arg == L"--bpp" && i + 1 < argc) {
      g_forced_bits = _wtoi(argv[++i]);
    } else if (arg == L"--progress" && i + 1 < argc) {
      progress = static_cast<float>(_wtof(argv[++i]));
    } else if (!arg.empty() && arg[0] != L'-' && description.empty()) {
      description = arg;
    } else {
      return Usage();
    }
  }
  if (description.empty()) return Usage();
  if (g_forced_bits != 0) uikit::SetDisplayDepthSource(&ForcedBits);

  uikit::ScopedGdiplus gdiplus;
  if (!gdiplus.ok()) {
    std::fputs("GDI+ did not start\n", stderr);
    return 1;
  }
  int exit_code = 0;
  {
    base::MessageLoop loop(base::MessageLoop::TYPE_UI);
    loop.set_thread_name("ui_thread");
    g_ui_loop = &loop;
    {
      CGalleryWindow window(&loop);
      if (!window.CreateFromDescriptionFile(description)) {
        std::fputs("the description could not be shown\n", stderr);
        exit_code = 1;
      } else {
        if (progress >= 0.0f) window.SetAllProgress(progress);
        window.set_animating(uikit::DisplayIs32Bit());
        window.ShowAnimated();
        if (seconds > 0) {
          loop.PostDelayedTask(loop.QuitTask(),
                               static_cast<int64_t>(seconds) * 1000000);
        }
        loop.Run();
      }
    }
    g_ui_loop = nullptr;
  }
  uikit::GetGDIResource()->Release();
  return exit_code;
}
