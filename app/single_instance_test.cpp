#include "app/single_instance.h"

#include <string>

#include "gtest/gtest.h"
#include "testing/wine_path.h"

namespace {

int g_bring_to_front_count = 0;

LRESULT CALLBACK FakeInstanceProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == app::kMsgBringToFront)
    ++g_bring_to_front_count;
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

// A message-only window that looks like a running installer's utility
// window, with or without its marker.
class FakeInstance {
 public:
  FakeInstance(const wchar_t* title, bool marker) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &FakeInstanceProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = app::kUtilityWindowClass;
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, app::kUtilityWindowClass, title, WS_POPUP, 0, 0, 1, 1,
                            HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (marker)
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, app::kUtilityWindowMarker);
  }
  ~FakeInstance() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// Runs the real installer and returns its exit code, or -1 when it could not
// start or did not end within a minute.
long RunInstaller() {
  std::wstring exe = testing_support::WindowsPathOf(QIV_INSTALLER_EXE);
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  else
    TerminateProcess(process.hProcess, 99);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(code);
}

void DrainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageW(&msg);
}

}  // namespace

TEST(SingleInstanceTest, FindsOnlyMarkedWindowWithClassAndTitle) {
  EXPECT_EQ(app::FindRunningInstance(), nullptr);
  FakeInstance unmarked(app::kUtilityWindowTitle, false);
  FakeInstance other_title(L"another title", true);
  EXPECT_EQ(app::FindRunningInstance(), nullptr);
  FakeInstance marked(app::kUtilityWindowTitle, true);
  EXPECT_EQ(app::FindRunningInstance(), marked.hwnd());
}

// Each case starts the real installer beside a look-alike window. Only a
// window with the class, the title and the marker makes it a second
// instance: it then asks that window to come forward and ends with 0. In
// every other case it runs as the first instance, which today ends with 1
// because the product's main window is not part of the build yet.
TEST(SingleInstanceTest, SecondProcessYieldsOnlyToMarkedWindow) {
  struct Case {
    const wchar_t* title;
    bool marker;
    long exit_code;
    int bring_to_front;
  };
  const Case cases[] = {
      {app::kUtilityWindowTitle, true, 0, 1},
      {app::kUtilityWindowTitle, false, 1, 0},
      {L"another title", true, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "marker " << c.marker);
    g_bring_to_front_count = 0;
    FakeInstance fake(c.title, c.marker);
    EXPECT_EQ(RunInstaller(), c.exit_code);
    DrainMessages();
    EXPECT_EQ(g_bring_to_front_count, c.bring_to_front);
  }
}

TEST(SingleInstanceTest, InstallerWithoutAnyOtherInstanceRunsAsFirst) {
  EXPECT_EQ(RunInstaller(), 1);
}
