#include "base/message_pump.h"

#include "base/time.h"

namespace base {

int MessagePump::DelayMsAt(int64_t next_time, int64_t now) {
  if (next_time == 0) return -1;
  const int64_t remaining_us = next_time - now;
  if (remaining_us <= 0) return 0;
  // Round up: waking a little late is harmless, waking early means another
  // pass through the loop for nothing.
  const int64_t ms = (remaining_us + 999) / 1000;
  return ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ms);
}

int MessagePump::CurrentDelayMs(int64_t next_time) {
  if (next_time == 0) return -1;
  return DelayMsAt(next_time, NowMicroseconds());
}

}  // namespace base
