// Holders of the object a bound member call runs on. The holder decides how
// the closure keeps its object: by a counted reference (NormalWrapper), not at
// all (UnretainedWrapper), or weakly (WeakPtr, see weak_ptr.h).
#pragma once

namespace base {

// Threads: a holder belongs to its closure, and so to the closure's Task.
template <class T>
class ObjWrapper {
 public:
  virtual ~ObjWrapper() = default;
  // The object to call, or null when it must not be called (weak holder
  // whose owner died).
  virtual T* Get() const = 0;
  virtual void AddRef() = 0;
  virtual void Release() = 0;
  virtual bool IsWeak() const = 0;
};

// Keeps the object alive: AddRef/Release change the object's own atomic count
// (T derives from RefCountedThreadSafe<T>). A null object is tolerated.
template <class T>
class NormalWrapper : public ObjWrapper<T> {
 public:
  explicit NormalWrapper(T* object) : object_(object) {}
  T* Get() const override { return object_; }
  void AddRef() override {
    if (object_) object_->AddRef();
  }
  void Release() override {
    if (object_) object_->Release();
  }
  bool IsWeak() const override { return false; }

 private:
  T* object_;
};

// A raw pointer, for objects that outlive every task aimed at them (message
// loops, the logger).
template <class T>
class UnretainedWrapper : public ObjWrapper<T> {
 public:
  explicit UnretainedWrapper(T* object) : object_(object) {}
  T* Get() const override { return object_; }
  void AddRef() override {}
  void Release() override {}
  bool IsWeak() const override { return false; }

 private:
  T* object_;
};

}  // namespace base
