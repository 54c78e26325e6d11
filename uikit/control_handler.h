// ControlHandler: one handler slot of a control (click, change, hover, ...).
//
// A slot holds at most one bound callable: a member function of the driving
// code's object taking no argument, or one taking the control's id text.
// The control never owns the target object; the driving code binds its
// window object, which outlives the controls it owns.
//
// Threads: UI thread only.
#pragma once

#include <functional>

namespace uikit {

class ControlHandler {
 public:
  template <class T>
  void Bind(T* target, int (T::*method)()) {
    with_id_ = nullptr;
    plain_ = [target, method]() { return (target->*method)(); };
  }
  template <class T>
  void Bind(T* target, int (T::*method)(const wchar_t*)) {
    plain_ = nullptr;
    with_id_ = [target, method](const wchar_t* id) { return (target->*method)(id); };
  }
  void Clear() {
    plain_ = nullptr;
    with_id_ = nullptr;
  }
  bool IsBound() const { return plain_ || with_id_; }

  // The no-argument form only; −1 when it is not bound.
  int Invoke() const { return plain_ ? plain_() : -1; }
  // The no-argument form if bound, else the id form with `id`, else −1.
  int InvokeEither(const wchar_t* id) const {
    if (plain_) return plain_();
    if (with_id_) return with_id_(id ? id : L"");
    return -1;
  }

 private:
  std::function<int()> plain_;
  std::function<int(const wchar_t*)> with_id_;
};

}  // namespace uikit
