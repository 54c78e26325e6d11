#include "base/task.h"

namespace base {

Task::Task(fastdelegate::ExecDelegate<void>* function,
           fastdelegate::ExecDelegate<void>* delegate)
    : function_(function), delegate_(delegate) {}

Task::~Task() {
  if (delegate_) delegate_->Release();
  if (function_) function_->Release();
}

long Task::AddRef() { return InterlockedIncrement(&ref_count_); }

long Task::Release() {
  const LONG count = InterlockedDecrement(&ref_count_);
  if (count == 0) delete this;
  return count;
}

void Task::Run() {
  if (delegate_) {
    delegate_->Run();
  } else if (function_) {
    function_->Run();
  }
}

}  // namespace base
