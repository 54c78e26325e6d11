// Closures: a member function or a free function packed with its bound
// arguments into a Task that any thread can post to a MessageLoop.
//
//   loop->PostTask(fastdelegate::Bind(this, &CFoo::OnDone, code, text));
//       CFoo derives from base::RefCountedThreadSafe<CFoo>; the Task keeps a
//       counted reference on the object until the Task dies.
//   loop->PostTask(fastdelegate::BindUnretained(logger, &Log::Write, line));
//       no reference: for objects that outlive every task aimed at them.
//   loop->PostTask(fastdelegate::Bind(weak_ptr, &CFoo::OnTick));
//       weak: the call is skipped when the object is gone by then.
//   loop->PostTask(fastdelegate::Bind(&DeleteFileTask, path));
//       free function.
//
// Arguments are stored by value: a parameter taken as `const std::string&`
// stores its own std::string copy (never a pointer to the caller's buffer).
// For arithmetic parameters the stored type follows the argument, so a
// `float` parameter bound with a double argument stores a double and converts
// at the call. The bound method's return value, if any, is dropped.
//
// Threads: Bind on any thread; the Task runs on the thread it is posted to.
#pragma once

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "base/obj_wrapper.h"
#include "base/task.h"
#include "base/weak_ptr.h"

namespace fastdelegate {

namespace internal {

template <class Method>
struct MethodTraits;

template <class R, class C, class... P>
struct MethodTraits<R (C::*)(P...)> {
  using Class = C;
  using Params = std::tuple<P...>;
};

template <class R, class C, class... P>
struct MethodTraits<R (C::*)(P...) const> {
  using Class = const C;
  using Params = std::tuple<P...>;
};

// Stored type of one bound argument, given the parameter type P and the type
// A of the argument passed to Bind.
template <class P, class A>
struct StoredType {
  using Param = std::decay_t<P>;
  using Arg = std::decay_t<A>;
  using type = std::conditional_t<std::is_arithmetic<Param>::value &&
                                      std::is_arithmetic<Arg>::value,
                                  Arg, Param>;
};

template <class Params, class... Args>
struct StoredTuple;

template <class... P, class... A>
struct StoredTuple<std::tuple<P...>, A...> {
  static_assert(sizeof...(P) == sizeof...(A),
                "Bind: the number of bound arguments must match the method");
  using type = std::tuple<typename StoredType<P, A>::type...>;
};

}  // namespace internal

// A bound member call. Owns its holder (deleted with the closure) and the
// stored arguments. Count starts at 1; its one owner is its Task.
template <class Holder, class Method, class Stored>
class DelegateEntity : public ExecDelegate<void> {
 public:
  using Object = typename internal::MethodTraits<Method>::Class;

  // Takes ownership of `holder`; adds one reference on the object through it.
  template <class... A>
  DelegateEntity(Holder* holder, Method method, A&&... args)
      : holder_(holder),
        object_(holder->Get()),
        method_(method),
        args_(std::forward<A>(args)...) {
    holder_->AddRef();
  }
  DelegateEntity(const DelegateEntity&) = delete;
  DelegateEntity& operator=(const DelegateEntity&) = delete;

  long AddRef() override { return ++count_; }
  long Release() override {
    const long count = --count_;
    if (count == 0) {
      holder_->Release();
      delete this;
    }
    return count;
  }

  void Run() override {
    // A weak holder whose owner died: skip.
    if (holder_->IsWeak() && !holder_->Get()) return;
    // An empty delegate (no object or no code): nothing to call.
    if (!object_ || !method_) return;
    Call(std::make_index_sequence<std::tuple_size<Stored>::value>());
  }

 private:
  ~DelegateEntity() override { delete holder_; }

  template <std::size_t... I>
  void Call(std::index_sequence<I...>) {
    (object_->*method_)(std::get<I>(args_)...);
  }

  Holder* holder_;
  Object* object_;
  Method method_;
  long count_ = 1;
  Stored args_;
};

// A bound free-function call (one argument in this system: the at-exit
// callbacks' void*, a wide path), generalised to any count.
template <class Function, class Stored>
class FunctionEntity : public ExecDelegate<void> {
 public:
  template <class... A>
  explicit FunctionEntity(Function function, A&&... args)
      : function_(function), args_(std::forward<A>(args)...) {}
  FunctionEntity(const FunctionEntity&) = delete;
  FunctionEntity& operator=(const FunctionEntity&) = delete;

  long AddRef() override { return ++count_; }
  long Release() override {
    const long count = --count_;
    if (count == 0) delete this;
    return count;
  }

  void Run() override {
    if (!function_) return;
    Call(std::make_index_sequence<std::tuple_size<Stored>::value>());
  }

 private:
  ~FunctionEntity() override = default;

  template <std::size_t... I>
  void Call(std::index_sequence<I...>) {
    function_(std::get<I>(args_)...);
  }

  Function function_;
  long count_ = 1;
  Stored args_;
};

namespace internal {

template <class Holder, class Method, class... A>
base::Task* MakeDelegateTask(Holder* holder, Method method, A&&... args) {
  using Stored = typename StoredTuple<typename MethodTraits<Method>::Params,
                                      A...>::type;
  auto* entity = new DelegateEntity<Holder, Method, Stored>(
      holder, method, std::forward<A>(args)...);
  return new base::Task(nullptr, entity);
}

}  // namespace internal

// Bound member call keeping a counted reference on `object` (which derives
// from base::RefCountedThreadSafe). Returns a new Task with count 0.
template <class C, class Method, class... A,
          class = std::enable_if_t<std::is_member_function_pointer<Method>::value>>
base::Task* Bind(C* object, Method method, A&&... args) {
  return internal::MakeDelegateTask(new base::NormalWrapper<C>(object), method,
                                    std::forward<A>(args)...);
}

// Bound member call without any reference on `object`.
template <class C, class Method, class... A,
          class = std::enable_if_t<std::is_member_function_pointer<Method>::value>>
base::Task* BindUnretained(C* object, Method method, A&&... args) {
  return internal::MakeDelegateTask(new base::UnretainedWrapper<C>(object),
                                    method, std::forward<A>(args)...);
}

// Bound member call through a weak pointer: skipped when the owner is gone.
template <class C, class Method, class... A,
          class = std::enable_if_t<std::is_member_function_pointer<Method>::value>>
base::Task* Bind(const base::WeakPtr<C>& object, Method method, A&&... args) {
  return internal::MakeDelegateTask(new base::WeakPtr<C>(object), method,
                                    std::forward<A>(args)...);
}

// Bound free-function call.
template <class R, class... P, class... A>
base::Task* Bind(R (*function)(P...), A&&... args) {
  using Function = R (*)(P...);
  using Stored = typename internal::StoredTuple<std::tuple<P...>, A...>::type;
  auto* entity =
      new FunctionEntity<Function, Stored>(function, std::forward<A>(args)...);
  return new base::Task(entity, nullptr);
}

}  // namespace fastdelegate
