// Intrusive, thread-safe reference counting for objects shared between
// threads (the URL fetcher, the main installer window), plus a small scoped
// owner for anything with AddRef()/Release().
#pragma once

#include <windows.h>

#include <utility>

namespace base {

// Atomic count shared by every RefCountedThreadSafe<T>. The thread that
// brings the count to zero deletes the object through the virtual
// destructor, so the object's own destructor may stay protected or private.
class RefCountedThreadSafeBase {
 public:
  RefCountedThreadSafeBase(const RefCountedThreadSafeBase&) = delete;
  RefCountedThreadSafeBase& operator=(const RefCountedThreadSafeBase&) = delete;

  // Any thread.
  void AddRef() const;
  // Any thread. Deletes the object when this drops the last reference.
  void Release() const;
  // Any thread; only meaningful when the caller holds a reference.
  bool HasOneRef() const;

 protected:
  RefCountedThreadSafeBase() = default;
  virtual ~RefCountedThreadSafeBase();

 private:
  mutable volatile LONG ref_count_ = 0;
};

template <class T>
struct DefaultRefCountedThreadSafeTraits {};

// Derive as `class Foo : public base::RefCountedThreadSafe<Foo>`. A new object
// starts with count 0; the first owner (a scoped_refptr, or a closure bound
// through Bind()) adds the first reference.
template <class T, class Traits = DefaultRefCountedThreadSafeTraits<T>>
class RefCountedThreadSafe : public RefCountedThreadSafeBase {
 protected:
  RefCountedThreadSafe() = default;
  ~RefCountedThreadSafe() override = default;
};

// Holds one reference on a counted object (RefCountedThreadSafe, Task, ...).
// Not thread-safe itself: one scoped_refptr belongs to one thread at a time.
template <class T>
class scoped_refptr {
 public:
  scoped_refptr() = default;
  scoped_refptr(T* p) : ptr_(p) {  // NOLINT: implicit like a raw pointer
    if (ptr_) ptr_->AddRef();
  }
  scoped_refptr(const scoped_refptr& other) : scoped_refptr(other.ptr_) {}
  scoped_refptr(scoped_refptr&& other) noexcept : ptr_(other.ptr_) {
    other.ptr_ = nullptr;
  }
  ~scoped_refptr() {
    if (ptr_) ptr_->Release();
  }
  scoped_refptr& operator=(T* p) {
    scoped_refptr(p).swap(*this);
    return *this;
  }
  scoped_refptr& operator=(const scoped_refptr& other) {
    scoped_refptr(other).swap(*this);
    return *this;
  }
  scoped_refptr& operator=(scoped_refptr&& other) noexcept {
    scoped_refptr(std::move(other)).swap(*this);
    return *this;
  }

  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  T& operator*() const { return *ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

  void swap(scoped_refptr& other) noexcept { std::swap(ptr_, other.ptr_); }

 private:
  T* ptr_ = nullptr;
};

}  // namespace base
