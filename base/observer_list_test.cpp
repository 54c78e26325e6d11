#include "base/observer_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class Observer {
 public:
  Observer(int id, std::vector<int>* log) : id_(id), log_(log) {}
  void OnEvent() {
    log_->push_back(id_);
    if (on_event_) on_event_();
  }
  std::function<void()> on_event_;

 private:
  int id_;
  std::vector<int>* log_;
};

typedef base::ObserverListBase<Observer> List;

TEST(ObserverListTest, AddIgnoresDuplicatesAndRemovalKeepsSlotsUntilCompaction) {
  std::vector<int> log;
  Observer a(1, &log), b(2, &log);
  List list;
  list.AddObserver(&a);
  list.AddObserver(&a);
  list.AddObserver(&b);
  EXPECT_EQ(2u, list.size());
  list.RemoveObserver(&a);
  EXPECT_EQ(1u, list.size());
  EXPECT_EQ(2u, list.slot_count());
  FOR_EACH_OBSERVER(Observer, list, OnEvent());
  EXPECT_EQ(std::vector<int>({2}), log);
}

TEST(ObserverListTest, RemovalDuringNotificationNotifiesEachRemainingObserverOnce) {
  std::vector<int> log;
  std::vector<Observer> observers;
  for (int i = 0; i < 5; ++i) observers.emplace_back(i, &log);
  List list;
  for (Observer& o : observers) list.AddObserver(&o);
  // Observer 1 removes itself, the observer after it and the one before it.
  observers[1].on_event_ = [&] {
    list.RemoveObserver(&observers[1]);
    list.RemoveObserver(&observers[2]);
    list.RemoveObserver(&observers[0]);
  };

  FOR_EACH_OBSERVER(Observer, list, OnEvent());
  EXPECT_EQ(std::vector<int>({0, 1, 3, 4}), log);

  log.clear();
  FOR_EACH_OBSERVER(Observer, list, OnEvent());
  EXPECT_EQ(std::vector<int>({3, 4}), log);
}

TEST(ObserverListTest, The129thRemovalCallCompacts) {
  std::vector<int> log;
  Observer a(1, &log), b(2, &log), c(3, &log), stranger(9, &log);
  List list;
  list.AddObserver(&a);
  list.AddObserver(&b);
  list.AddObserver(&c);
  list.RemoveObserver(&b);
  // Removals of absent observers count too.
  for (int i = 0; i < 127; ++i) list.RemoveObserver(&stranger);
  EXPECT_EQ(3u, list.slot_count());  // 128 calls: not yet.
  list.RemoveObserver(&stranger);
  EXPECT_EQ(2u, list.slot_count());  // 129th: compacted.
  FOR_EACH_OBSERVER(Observer, list, OnEvent());
  EXPECT_EQ(std::vector<int>({1, 3}), log);
}

TEST(ObserverListTest, CompactionWaitsForARunningNotification) {
  std::vector<int> log;
  Observer a(1, &log), b(2, &log), c(3, &log), d(4, &log), stranger(9, &log);
  List list;
  for (Observer* o : {&a, &b, &c, &d}) list.AddObserver(o);
  // Observer b removes a (before it) and then 128 strangers: compacting here
  // would shift c into b's slot and c would be skipped.
  b.on_event_ = [&] {
    list.RemoveObserver(&a);
    for (int i = 0; i < 128; ++i) list.RemoveObserver(&stranger);
    EXPECT_EQ(4u, list.slot_count());
  };
  FOR_EACH_OBSERVER(Observer, list, OnEvent());
  EXPECT_EQ(std::vector<int>({1, 2, 3, 4}), log);
  EXPECT_EQ(3u, list.slot_count());  // Compacted once the walk ended.
}

TEST(ObserverListTest, AnObserverMayDestroyTheList) {
  std::vector<int> log;
  Observer a(1, &log), b(2, &log);
  List* list = new List;
  list->AddObserver(&a);
  list->AddObserver(&b);
  a.on_event_ = [&] {
    delete list;
    list = nullptr;
  };
  FOR_EACH_OBSERVER(Observer, *list, OnEvent());
  EXPECT_EQ(std::vector<int>({1}), log);
  EXPECT_EQ(nullptr, list);
}

}  // namespace
