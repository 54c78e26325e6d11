#include "base/layer_loop.h"

#include <gtest/gtest.h>

#include <process.h>

#include <string>
#include <vector>

#include "base/bind.h"
#include "base/message_loop.h"

namespace {

// A modal window opened from a task while the UI loop runs. Meanwhile a
// delayed task, a task posted from another thread and a window timer must all
// be served, and the owner must stay disabled until the modal window closes.
struct Scenario {
  HWND owner = nullptr;
  HWND modal = nullptr;
  std::vector<std::string> events;
  bool delayed_ran = false;
  bool cross_thread_ran = false;
  bool closed = false;
  HANDLE worker_go = nullptr;
};

Scenario* g_scenario = nullptr;

void Record(const std::string& event) { g_scenario->events.push_back(event); }

void CloseModal() {
  g_scenario->closed = true;
  DestroyWindow(g_scenario->modal);
  EXPECT_TRUE(base::LayerLoop::QuitTop());
}

void CrossThreadTask() {
  g_scenario->cross_thread_ran = true;
  EXPECT_EQ(1u, base::LayerLoop::depth());
  // The application asks to end while the modal window is open: the layer
  // loop keeps running until the window closes.
  PostQuitMessage(0);
}

void DelayedTask() {
  g_scenario->delayed_ran = true;
  EXPECT_EQ(1u, base::LayerLoop::depth());
  EXPECT_FALSE(IsWindowEnabled(g_scenario->owner));
  SetEvent(g_scenario->worker_go);
}

unsigned __stdcall Worker(void*) {
  WaitForSingleObject(g_scenario->worker_go, INFINITE);
  g_ui_loop->PostTask(fastdelegate::Bind(&CrossThreadTask));
  return 0;
}

void CALLBACK ModalTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_scenario->closed) return;
  if (g_scenario->delayed_ran && g_scenario->cross_thread_ran) {
    Record("timer closes modal");
    CloseModal();
  }
}

void Watchdog() {
  if (g_scenario->closed) return;
  ADD_FAILURE() << "the modal window was not closed in time";
  CloseModal();
}

void OpenModal() {
  Record("open");
  g_ui_loop->PostDelayedTask(fastdelegate::Bind(&DelayedTask), 20000);
  g_ui_loop->PostDelayedTask(fastdelegate::Bind(&Watchdog), 20000000);
  SetTimer(g_scenario->modal, 1, 10, &ModalTimer);
  base::LayerLoop::RunModal(g_scenario->modal);
  Record(IsWindowEnabled(g_scenario->owner) ? "closed, owner enabled" : "closed, owner disabled");
  EXPECT_EQ(0u, base::LayerLoop::depth());
}

TEST(LayerLoopTest, ModalLoopKeepsTasksAndTimersRunningWithTheOwnerDisabled) {
  base::MessageLoop loop(base::MessageLoop::TYPE_UI);
  g_ui_loop = &loop;
  Scenario scenario;
  g_scenario = &scenario;
  scenario.worker_go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  scenario.owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                   nullptr, nullptr, instance, nullptr);
  ASSERT_NE(nullptr, scenario.owner);
  scenario.modal = CreateWindowExW(0, L"STATIC", L"modal", WS_POPUP, 0, 0, 100, 50,
                                   scenario.owner, nullptr, instance, nullptr);
  ASSERT_NE(nullptr, scenario.modal);
  EXPECT_EQ(scenario.owner, GetWindow(scenario.modal, GW_OWNER));
  HANDLE worker = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Worker, nullptr, 0, nullptr));
  ASSERT_NE(nullptr, worker);

  loop.PostTask(fastdelegate::Bind(&OpenModal));
  // No Quit() anywhere: the WM_QUIT taken inside the modal loop is handed on
  // to this run once the modal window closed.
  loop.Run();

  WaitForSingleObject(worker, INFINITE);
  CloseHandle(worker);
  EXPECT_EQ((std::vector<std::string>{"open", "timer closes modal", "closed, owner enabled"}),
            scenario.events);
  EXPECT_TRUE(scenario.delayed_ran);
  EXPECT_TRUE(scenario.cross_thread_ran);
  EXPECT_FALSE(IsWindow(scenario.modal));

  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  DestroyWindow(scenario.owner);
  CloseHandle(scenario.worker_go);
  g_scenario = nullptr;
  g_ui_loop = nullptr;
}

TEST(LayerLoopTest, QuitTopWithoutALayerLoopReportsFalse) {
  EXPECT_EQ(0u, base::LayerLoop::depth());
  EXPECT_FALSE(base::LayerLoop::QuitTop());
}

}  // namespace
