#include "base/time.h"

#include <mmsystem.h>

namespace base {

namespace {

// Clock state shared by all threads, serialised by its own lock.
struct Clock {
  Clock() { InitializeCriticalSection(&lock); }
  ~Clock() { DeleteCriticalSection(&lock); }

  CRITICAL_SECTION lock;
  TickSource source = nullptr;  // Null: timeGetTime.
  DWORD last_reading = 0;
  int64_t wrap_offset_ms = 0;
};

Clock& GetClock() {
  static Clock clock;
  return clock;
}

}  // namespace

int64_t NowMicroseconds() {
  Clock& clock = GetClock();
  EnterCriticalSection(&clock.lock);
  const DWORD reading = clock.source ? clock.source() : timeGetTime();
  // timeGetTime wraps every 2^32 ms (49.7 days): a reading below the previous
  // one means the counter went round.
  if (reading < clock.last_reading) clock.wrap_offset_ms += int64_t{1} << 32;
  clock.last_reading = reading;
  const int64_t now_ms = static_cast<int64_t>(reading) + clock.wrap_offset_ms;
  LeaveCriticalSection(&clock.lock);
  return now_ms * 1000;
}

void SetTickSourceForTesting(TickSource source) {
  Clock& clock = GetClock();
  EnterCriticalSection(&clock.lock);
  clock.source = source;
  clock.last_reading = 0;
  clock.wrap_offset_ms = 0;
  LeaveCriticalSection(&clock.lock);
}

}  // namespace base
