// Weak references. An owner object (usually through a WeakPtrFactory member)
// hands out WeakPtr<T>s that all share one counted flag; destroying the owner
// clears the flag, and every WeakPtr then answers null.
//
// Threads: hand WeakPtrs to any thread, but dereference them and destroy or
// invalidate the owner on ONE thread (the thread that runs the weak-bound
// tasks): checking the flag and using the object is not atomic.
#pragma once

#include <windows.h>

#include "base/obj_wrapper.h"
#include "base/ref_counted.h"

#include <utility>

namespace base {

// Heap flag shared by an owner and its weak pointers; it outlives the owner as
// long as a WeakPtr references it.
class WeakReferenceFlag {
 public:
  WeakReferenceFlag() = default;
  WeakReferenceFlag(const WeakReferenceFlag&) = delete;
  WeakReferenceFlag& operator=(const WeakReferenceFlag&) = delete;

  // Any thread.
  void AddRef() const { InterlockedIncrement(&ref_count_); }
  void Release() const {
    if (InterlockedDecrement(&ref_count_) == 0) delete this;
  }
  bool HasOneRef() const {
    return InterlockedCompareExchange(&ref_count_, 0, 0) == 1;
  }

  bool is_valid() const { return valid_ != 0; }
  void Invalidate() { valid_ = 0; }

 private:
  ~WeakReferenceFlag() = default;

  mutable volatile LONG ref_count_ = 0;
  volatile unsigned char valid_ = 1;
};

// Owner side of weak references: holds one reference on the current flag.
class WeakReferenceOwner {
 public:
  WeakReferenceOwner() = default;
  WeakReferenceOwner(const WeakReferenceOwner&) = delete;
  WeakReferenceOwner& operator=(const WeakReferenceOwner&) = delete;
  ~WeakReferenceOwner() { Invalidate(); }

  // Owner's thread. A counted flag for a new weak pointer. When the owner has
  // no flag, or its flag is referenced by nobody else, a fresh valid flag
  // takes its place.
  scoped_refptr<WeakReferenceFlag> AcquireFlag() {
    if (!flag_ || flag_->HasOneRef()) {
      WeakReferenceFlag* fresh = new WeakReferenceFlag;
      fresh->AddRef();
      if (flag_) flag_->Release();
      flag_ = fresh;
    }
    return scoped_refptr<WeakReferenceFlag>(flag_);
  }

  // Owner's thread. Every weak pointer handed out so far becomes null.
  void Invalidate() {
    if (!flag_) return;
    flag_->Invalidate();
    flag_->Release();
    flag_ = nullptr;
  }

  // Owner's thread. Whether weak pointers to the owner still exist.
  bool HasRefs() const { return flag_ && !flag_->HasOneRef(); }

  static bool IsValid(const WeakReferenceFlag* flag) {
    return flag && flag->is_valid();
  }

 private:
  WeakReferenceFlag* flag_ = nullptr;
};

// A weak reference, also usable as the holder of a bound member call:
// Bind(weak_ptr, &T::Method, ...) makes a closure that does nothing once the
// owner is gone.
template <class T>
class WeakPtr : public ObjWrapper<T> {
 public:
  WeakPtr() = default;
  WeakPtr(scoped_refptr<WeakReferenceFlag> flag, T* ptr)
      : flag_(std::move(flag)), ptr_(ptr) {}
  WeakPtr(const WeakPtr&) = default;
  WeakPtr& operator=(const WeakPtr&) = default;

  // Null once the owner was destroyed or invalidated its weak pointers.
  T* get() const { return WeakReferenceOwner::IsValid(flag_.get()) ? ptr_ : nullptr; }
  T* operator->() const { return get(); }
  explicit operator bool() const { return get() != nullptr; }
  void reset() {
    flag_ = nullptr;
    ptr_ = nullptr;
  }

  // ObjWrapper: no counting, weak.
  T* Get() const override { return get(); }
  void AddRef() override {}
  void Release() override {}
  bool IsWeak() const override { return true; }

 private:
  scoped_refptr<WeakReferenceFlag> flag_;
  T* ptr_ = nullptr;
};

// Member of the class that hands out weak pointers to itself; declare it
// last so that it invalidates the pointers before the other members die.
// Threads: the owner's thread.
template <class T>
class WeakPtrFactory {
 public:
  explicit WeakPtrFactory(T* ptr) : ptr_(ptr) {}
  WeakPtrFactory(const WeakPtrFactory&) = delete;
  WeakPtrFactory& operator=(const WeakPtrFactory&) = delete;

  WeakPtr<T> GetWeakPtr() { return WeakPtr<T>(owner_.AcquireFlag(), ptr_); }
  void InvalidateWeakPtrs() { owner_.Invalidate(); }
  bool HasWeakPtrs() const { return owner_.HasRefs(); }

 private:
  WeakReferenceOwner owner_;
  T* ptr_;
};

}  // namespace base
