#include "base/bind.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/ref_counted.h"
#include "base/task.h"
#include "base/weak_ptr.h"

namespace {

using fastdelegate::internal::StoredType;

// Stored argument types follow the rules callers rely on.
static_assert(std::is_same<StoredType<float, float>::type, float>::value, "");
static_assert(std::is_same<StoredType<float, double>::type, double>::value, "");
static_assert(std::is_same<StoredType<const std::string&, char*>::type,
                           std::string>::value,
              "a narrow string parameter taken by reference stores a copy");
static_assert(std::is_same<StoredType<const std::wstring&, const wchar_t*>::type,
                           std::wstring>::value,
              "");
static_assert(std::is_same<StoredType<unsigned long, int>::type, int>::value, "");

std::vector<std::string>* g_calls = nullptr;

void Record(const std::string& call) { g_calls->push_back(call); }

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

struct Fetch {};
struct FetchRcPack {};

// Stand-in for the objects the system binds (the main window, a fetcher, the
// logger): one method per closure shape.
class Target : public base::RefCountedThreadSafe<Target> {
 public:
  explicit Target(bool* destroyed = nullptr) : destroyed_(destroyed) {}

  void None() { Record("none"); }
  void Wide(std::wstring text) { Record("wide:" + Narrow(text)); }
  void Ulong(unsigned long value) { Record("ulong:" + std::to_string(value)); }
  void Int(int value) { Record("int:" + std::to_string(value)); }
  void Float(float value) {
    char text[32];
    snprintf(text, sizeof(text), "float:%.9g", static_cast<double>(value));
    Record(text);
  }
  void IntInt(int a, int b) { Record("ii:" + std::to_string(a) + "," + std::to_string(b)); }
  void UlongInt(unsigned long a, int b) {
    Record("ui:" + std::to_string(a) + "," + std::to_string(b));
  }
  void FetchDone(Fetch* fetch, unsigned long a, unsigned long b, unsigned long c) {
    Record(std::string("fetch:") + (fetch ? "p" : "0") + "," + std::to_string(a) + "," +
           std::to_string(b) + "," + std::to_string(c));
  }
  void RcDone(FetchRcPack* fetch, unsigned long a, unsigned long b, unsigned long c) {
    Record(std::string("rc:") + (fetch ? "p" : "0") + "," + std::to_string(a + b + c));
  }
  void Text(const std::string& text) { Record("text:" + text); }
  void LevelText(int level, const std::string& text) {
    Record("lt:" + std::to_string(level) + "," + text);
  }
  void Line(const std::string& file, int line, int flag, const std::string& text) {
    Record("line:" + file + "," + std::to_string(line) + "," + std::to_string(flag) + "," + text);
  }

 private:
  ~Target() override {
    if (destroyed_) *destroyed_ = true;
  }
  bool* destroyed_;
};

void FreeWide(std::wstring path) { Record("fwide:" + Narrow(path)); }
void FreePointer(void* param) { Record(param ? "fptr:set" : "fptr:null"); }

enum class Hold { kCounted, kUnretained, kNone };

struct ShapeCase {
  const char* shape;
  Hold hold;
  std::function<base::Task*(Target*)> make;
  const char* expected;
};

TEST(BindTest, EveryClosureShapeCallsWithItsStoredArguments) {
  static Fetch fetch;
  static FetchRcPack rc_pack;
  const ShapeCase cases[] = {
      {"0 args", Hold::kCounted, [](Target* t) { return fastdelegate::Bind(t, &Target::None); }, "none"},
      {"wide string", Hold::kCounted,
       [](Target* t) {
         std::wstring path = L"C:\\pack\\a.7z";
         base::Task* task = fastdelegate::Bind(t, &Target::Wide, path);
         path.assign(L"overwritten");
         return task;
       },
       "wide:C:\\pack\\a.7z"},
      {"unsigned long", Hold::kCounted,
       [](Target* t) { return fastdelegate::Bind(t, &Target::Ulong, 4000000000ul); },
       "ulong:4000000000"},
      {"int", Hold::kCounted, [](Target* t) { return fastdelegate::Bind(t, &Target::Int, -7); }, "int:-7"},
      {"float stored float", Hold::kCounted,
       [](Target* t) { return fastdelegate::Bind(t, &Target::Float, 0.25f); }, "float:0.25"},
      {"float stored double", Hold::kCounted,
       [](Target* t) { return fastdelegate::Bind(t, &Target::Float, 0.1); }, "float:0.100000001"},
      {"int, int", Hold::kCounted,
       [](Target* t) { return fastdelegate::Bind(t, &Target::IntInt, 3, -4); }, "ii:3,-4"},
      {"unsigned long, int", Hold::kCounted,
       [](Target* t) { return fastdelegate::Bind(t, &Target::UlongInt, 12ul, 5); }, "ui:12,5"},
      {"pointer + 3 unsigned long", Hold::kCounted,
       [](Target* t) { return fastdelegate::Bind(t, &Target::FetchDone, &fetch, 1ul, 2ul, 3ul); },
       "fetch:p,1,2,3"},
      {"other pointer + 3 unsigned long", Hold::kCounted,
       [](Target* t) { return fastdelegate::Bind(t, &Target::RcDone, &rc_pack, 1ul, 2ul, 3ul); },
       "rc:p,6"},
      {"narrow string by reference", Hold::kUnretained,
       [](Target* t) {
         char buffer[16] = "first";
         base::Task* task = fastdelegate::BindUnretained(t, &Target::Text, buffer);
         buffer[0] = 'X';  // The closure keeps its own copy.
         return task;
       },
       "text:first"},
      {"int, narrow string", Hold::kUnretained,
       [](Target* t) { return fastdelegate::BindUnretained(t, &Target::LevelText, 2, std::string("msg")); },
       "lt:2,msg"},
      {"string, int, int, string", Hold::kUnretained,
       [](Target* t) {
         std::string file = "DoApp";
         return fastdelegate::BindUnretained(t, &Target::Line, file, 42, 1, "hello");
       },
       "line:DoApp,42,1,hello"},
      {"free function, wide string", Hold::kNone,
       [](Target*) { return fastdelegate::Bind(&FreeWide, L"D:\\x"); }, "fwide:D:\\x"},
      {"free function, void*", Hold::kNone,
       [](Target* t) { return fastdelegate::Bind(&FreePointer, static_cast<void*>(t)); }, "fptr:set"},
  };

  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(c.shape);
    std::vector<std::string> calls;
    g_calls = &calls;
    bool destroyed = false;
    Target* target = new Target(&destroyed);
    target->AddRef();  // The test's own reference.
    {
      base::scoped_refptr<base::Task> task(c.make(target));
      // A counted holder adds exactly one reference; the others none.
      EXPECT_EQ(c.hold != Hold::kCounted, target->HasOneRef());
      task->Run();
      task->Run();  // Stored arguments survive a run.
      EXPECT_EQ((std::vector<std::string>{c.expected, c.expected}), calls);
    }
    EXPECT_TRUE(target->HasOneRef());  // Releasing the task dropped its reference.
    target->Release();
    EXPECT_TRUE(destroyed);
  }
  g_calls = nullptr;
}

TEST(BindTest, ReleasingTheLastTaskDropsTheLastObjectReference) {
  bool destroyed = false;
  Target* target = new Target(&destroyed);  // Count 0: the closure owns it.
  base::Task* task = fastdelegate::Bind(target, &Target::None);
  EXPECT_EQ(1, task->AddRef());
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(2, task->AddRef());
  task->Release();
  EXPECT_FALSE(destroyed);
  task->Release();
  EXPECT_TRUE(destroyed);
}

class WeakTarget {
 public:
  void Hit() { ++hits_; }
  int hits() const { return hits_; }
  base::WeakPtr<WeakTarget> AsWeakPtr() { return weak_factory_.GetWeakPtr(); }
  void InvalidateWeakPtrs() { weak_factory_.InvalidateWeakPtrs(); }

 private:
  int hits_ = 0;
  base::WeakPtrFactory<WeakTarget> weak_factory_{this};
};

TEST(BindTest, WeakBoundTaskIsSkippedOnceTheOwnerIsGone) {
  WeakTarget* owner = new WeakTarget;
  base::scoped_refptr<base::Task> before(fastdelegate::Bind(owner->AsWeakPtr(), &WeakTarget::Hit));
  base::scoped_refptr<base::Task> after(fastdelegate::Bind(owner->AsWeakPtr(), &WeakTarget::Hit));
  before->Run();
  EXPECT_EQ(1, owner->hits());
  delete owner;
  after->Run();  // Would touch freed memory if it called.

  // Invalidation without destruction behaves the same, and a fresh weak
  // pointer taken afterwards works again.
  WeakTarget alive;
  base::scoped_refptr<base::Task> stale(fastdelegate::Bind(alive.AsWeakPtr(), &WeakTarget::Hit));
  alive.InvalidateWeakPtrs();
  stale->Run();
  EXPECT_EQ(0, alive.hits());
  base::scoped_refptr<base::Task> fresh(fastdelegate::Bind(alive.AsWeakPtr(), &WeakTarget::Hit));
  fresh->Run();
  EXPECT_EQ(1, alive.hits());
}

TEST(BindTest, EmptyDelegatesRunWithoutEffect) {
  std::vector<std::string> calls;
  g_calls = &calls;
  base::scoped_refptr<base::Task> no_object_no_code(fastdelegate::Bind(
      static_cast<Target*>(nullptr), static_cast<void (Target::*)(int)>(nullptr), 1));
  base::scoped_refptr<base::Task> no_function(
      fastdelegate::Bind(static_cast<void (*)(void*)>(nullptr), static_cast<void*>(nullptr)));
  base::scoped_refptr<base::Task> no_closure(new base::Task(nullptr, nullptr));
  no_object_no_code->Run();
  no_function->Run();
  no_closure->Run();
  EXPECT_TRUE(calls.empty());
  g_calls = nullptr;
}

}  // namespace
