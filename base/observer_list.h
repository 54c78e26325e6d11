// ObserverListBase<T>: observers of one object, notified on one thread.
//
// Why removal only nulls a slot: a notification walks the vector by index, and
// an observer may remove itself or others while being notified. Shrinking the
// vector then would shift positions and skip or repeat observers. Null slots
// are erased in one go once more than 128 removals have accumulated, and never
// while a notification is walking the list (the compaction then waits for the
// walk to end).
//
// A notification holds only a weak reference to the list, so an observer may
// even destroy the list; the walk then stops.
//
// Threads: no lock; every list belongs to one thread (say which in the
// owner's comments), and all calls happen there.
#pragma once

#include <algorithm>
#include <vector>

#include "base/weak_ptr.h"

namespace base {

template <class ObserverType>
class ObserverListBase {
 public:
  // Removal calls since the last compaction that are tolerated before the
  // null slots are erased.
  static constexpr int kCompactAfterRemovals = 128;

  ObserverListBase() : weak_factory_(this) {}
  ObserverListBase(const ObserverListBase&) = delete;
  ObserverListBase& operator=(const ObserverListBase&) = delete;
  ~ObserverListBase() = default;

  // Appends `observer` unless it is already in the list. The caller keeps
  // ownership of the observer.
  void AddObserver(ObserverType* observer) {
    if (!observer || HasObserver(observer)) return;
    observers_.push_back(observer);
  }

  // Nulls the observer's slot (if present). Every call counts towards the
  // compaction, found or not.
  void RemoveObserver(ObserverType* observer) {
    auto it = std::find(observers_.begin(), observers_.end(), observer);
    if (observer && it != observers_.end()) *it = nullptr;
    if (++removals_ > kCompactAfterRemovals) {
      removals_ = 0;
      if (notify_depth_ == 0) {
        Compact();
      } else {
        compact_pending_ = true;
      }
    }
  }

  bool HasObserver(const ObserverType* observer) const {
    return observer &&
           std::find(observers_.begin(), observers_.end(), observer) !=
               observers_.end();
  }

  // Number of non-null observers.
  size_t size() const {
    return static_cast<size_t>(
        std::count_if(observers_.begin(), observers_.end(),
                      [](const ObserverType* o) { return o != nullptr; }));
  }
  bool might_have_observers() const { return size() != 0; }

  // Slots including nulls not yet compacted (for tests and diagnostics).
  size_t slot_count() const { return observers_.size(); }

  // Calls `notify(observer)` for every observer, by index, skipping null
  // slots; observers added during the walk are notified too. Stops if the list
  // is destroyed from inside a call.
  template <class Function>
  void ForEachObserver(Function notify) {
    WeakPtr<ObserverListBase> alive = weak_factory_.GetWeakPtr();
    ++notify_depth_;
    for (size_t i = 0; alive && i < observers_.size(); ++i) {
      ObserverType* observer = observers_[i];
      if (observer) notify(observer);
    }
    if (!alive) return;  // The list died inside a notification.
    if (--notify_depth_ == 0 && compact_pending_) {
      compact_pending_ = false;
      Compact();
    }
  }

 private:
  void Compact() {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), nullptr),
                     observers_.end());
  }

  std::vector<ObserverType*> observers_;
  int removals_ = 0;
  int notify_depth_ = 0;
  bool compact_pending_ = false;
  WeakPtrFactory<ObserverListBase> weak_factory_;
};

}  // namespace base

// FOR_EACH_OBSERVER(Observer, list, OnSomething(a, b)) calls
// observer->OnSomething(a, b) on every observer of `list`.
#define FOR_EACH_OBSERVER(ObserverType, observer_list, func) \
  (observer_list).ForEachObserver([&](ObserverType* qiv_observer_) { qiv_observer_->func; })
