// Test helper: a message-only window that records the toolkit messages it
// receives (posted or sent), in order, for comparison with the expected
// sequence. UI thread only.
#pragma once

#include <windows.h>

#include <vector>

namespace uikit {

struct RecordedMessage {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  bool operator==(const RecordedMessage& other) const {
    return message == other.message && wparam == other.wparam;
  }
};

class RecordingWindow {
 public:
  RecordingWindow() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &RecordingWindow::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QivUikitRecordingWindow";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                          wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~RecordingWindow() { DestroyWindow(hwnd_); }
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  // Delivers what was posted so far, then returns everything recorded and
  // forgets it.
  std::vector<RecordedMessage> Take() {
    MSG msg;
    while (PeekMessageW(&msg, hwnd_, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    std::vector<RecordedMessage> out;
    out.swap(messages_);
    return out;
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && message >= 0x1400 && message < 0x8000) {
      self->messages_.push_back(RecordedMessage{message, wparam, lparam});
      return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }

  HWND hwnd_ = nullptr;
  std::vector<RecordedMessage> messages_;
};

}  // namespace uikit
