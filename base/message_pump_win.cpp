#include "base/message_pump_win.h"

namespace base {

void MessagePumpWin::Quit() { keep_running_ = false; }

HANDLE MessagePumpWin::GetCompletionPort() const { return nullptr; }

}  // namespace base
