#include "app/application.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "app/global.h"
#include "app/single_instance.h"
#include "app/utility_window.h"
#include "base/bind.h"
#include "base/exit_callbacks.h"
#include "base/message_loop.h"
#include "base/thread.h"
#include "gtest/gtest.h"
#include "server/server_urls.h"

namespace {

// Events from every thread, in the order they happened.
std::mutex g_events_lock;
std::vector<std::string> g_events;

void Record(const std::string& event) {
  std::lock_guard<std::mutex> hold(g_events_lock);
  g_events.push_back(event);
}

std::vector<std::string> Events() {
  std::lock_guard<std::mutex> hold(g_events_lock);
  return g_events;
}

void CountDown(int* pending) { --*pending; }

// Runs on a worker: notes the thread it runs on, leaves an exit task on that
// thread's loop (it runs when the thread ends) and reports back to the UI.
void WorkerTask(std::string name, int* pending) {
  Record(name + " task on " + base::MessageLoop::current()->thread_name());
  base::MessageLoop::current()->PostExitTask(fastdelegate::Bind(&Record, name + " exit"));
  g_ui_loop->PostTask(fastdelegate::Bind(&CountDown, pending));
}

// A small real window standing in for the installer's main window.
class TestMainWindow : public app::MainWindow {
 public:
  static app::MainWindow* Make() { return new TestMainWindow; }

  bool CreateFromDescription(const wchar_t* name) override {
    Record("create " + std::string(name, name + wcslen(name)));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TestMainWindow::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QivSpineTestWindow";
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"spine test", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                            100, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return hwnd_ != nullptr;
  }
  void SetDisplayIs32Bit(bool) override {}
  void ShowAnimated() override {
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    g_ui_loop->PostTask(fastdelegate::Bind(this, &TestMainWindow::Scenario));
  }
  void Invalidate(bool repaint) override {
    if (repaint)
      ++repaints_;
  }
  HWND hwnd() const override { return hwnd_; }

 private:
  ~TestMainWindow() override { Record("main window released"); }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
      Record("main window destroyed");
      PostQuitMessage(0);
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }

  // Runs on the UI loop once the window is shown.
  void Scenario() {
    Record("ui task on " + base::MessageLoop::current()->thread_name());
    g_ui_loop->PostExitTask(fastdelegate::Bind(&Record, std::string("ui exit")));

    // A second instance's request restores a minimised window and repaints.
    ShowWindow(hwnd_, SW_MINIMIZE);
    PostMessageW(app::CUtilityWindow::ProcessWindow(), app::kMsgBringToFront, 0, 0);
    // "Destroy later" ignores a window that is gone and destroys a live one.
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                nullptr, nullptr);
    DestroyWindow(gone);
    doomed_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              nullptr, nullptr);
    PostMessageW(app::CUtilityWindow::ProcessWindow(), app::kMsgDestroyWindowLater, 0,
                 reinterpret_cast<LPARAM>(gone));
    PostMessageW(app::CUtilityWindow::ProcessWindow(), app::kMsgDestroyWindowLater, 0,
                 reinterpret_cast<LPARAM>(doomed_));
    g_ui_loop->PostDelayedTask(fastdelegate::Bind(this, &TestMainWindow::AfterRequests), 50000);
  }

  void AfterRequests() {
    if (!IsIconic(hwnd_) && repaints_ == 1)
      Record("restored and repainted");
    if (!IsWindow(doomed_))
      Record("destroyed later");
    pending_ = 3;
    g_file_loop->PostTask(fastdelegate::Bind(&WorkerTask, std::string("file"), &pending_));
    g_io_loop->PostTask(fastdelegate::Bind(&WorkerTask, std::string("io"), &pending_));
    // The log's initialisation, the UI loop's first task, started "log_thread".
    base::LogThread()->message_loop()->PostTask(
        fastdelegate::Bind(&WorkerTask, std::string("log"), &pending_));
    g_ui_loop->PostDelayedTask(fastdelegate::Bind(this, &TestMainWindow::CloseWhenDone), 10000);
  }

  void CloseWhenDone() {
    if (pending_ > 0) {
      g_ui_loop->PostDelayedTask(fastdelegate::Bind(this, &TestMainWindow::CloseWhenDone), 10000);
      return;
    }
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  }

  HWND hwnd_ = nullptr;
  HWND doomed_ = nullptr;
  int repaints_ = 0;
  int pending_ = 0;
};

app::MainWindow* NoMainWindow() {
  Record("factory asked");
  // Leave an exit task on "file_thread": it runs only if the thread is
  // joined during shutdown.
  g_file_loop->PostTask(fastdelegate::Bind(
      +[](int) {
        base::MessageLoop::current()->PostExitTask(
            fastdelegate::Bind(&Record, std::string("file exit")));
      },
      0));
  return nullptr;
}

}  // namespace

// The whole spine with a small test window: the UI loop runs, every loop
// takes tasks, closing the window ends the loop, the workers are joined io,
// file, log in that order, and the UI loop's exit tasks run after them.
TEST(SpineTest, RunsLoopsAndShutsDownInOrder) {
  g_events.clear();
  EXPECT_EQ(app::RunApplication(GetModuleHandleW(nullptr), &TestMainWindow::Make), 1);

  const std::vector<std::string> expected = {
      "create ENGUIMAINWINDOW",
      "ui task on ui_thread",
      "restored and repainted",
      "destroyed later",
      "main window destroyed",
      "main window released",
      "io exit",
      "file exit",
      "log exit",
      "ui exit",
  };
  std::vector<std::string> events = Events();
  std::vector<std::string> ordered;
  for (const std::string& e : events) {
    if (e.find(" task on ") == std::string::npos || e.rfind("ui task", 0) == 0)
      ordered.push_back(e);
  }
  EXPECT_EQ(ordered, expected);
  EXPECT_NE(std::find(events.begin(), events.end(), "file task on file_thread"), events.end());
  EXPECT_NE(std::find(events.begin(), events.end(), "io task on io_thread"), events.end());
  EXPECT_NE(std::find(events.begin(), events.end(), "log task on log_thread"), events.end());
  EXPECT_EQ(g_ui_loop, nullptr);
  EXPECT_EQ(g_file_loop, nullptr);
  EXPECT_EQ(g_io_loop, nullptr);
  EXPECT_EQ(base::ExitCallbacks::instance(), nullptr);
  // The utility window kept the signed package-query address it was made with.
  EXPECT_NE(CGlobal::server_urls().query_url.find("/api/token/file/v1_0/infor?accessToken="),
            std::string::npos)
      << CGlobal::server_urls().query_url;
}

// Without a main window the UI loop never runs, yet the process shuts down
// the ordinary way: workers joined, result 1.
TEST(SpineTest, NoMainWindowEndsNormally) {
  g_events.clear();
  EXPECT_EQ(app::RunApplication(GetModuleHandleW(nullptr), &NoMainWindow), 1);
  EXPECT_EQ(Events(), (std::vector<std::string>{"factory asked", "file exit"}));
  EXPECT_EQ(app::CUtilityWindow::ProcessWindow(), nullptr);
}
