// The runtime's clock: a 64-bit count of microseconds built on timeGetTime
// (milliseconds, 32 bits), carried across the 49.7-day wrap of that counter.
#pragma once

#include <windows.h>

#include <cstdint>

namespace base {

typedef DWORD (*TickSource)();

// Any thread (serialised by its own lock). Never decreases while the tick
// source keeps counting forward, including across its 2^32 ms wrap.
int64_t NowMicroseconds();

// Tests only: replaces timeGetTime with `source` (null restores it) and
// forgets the previous reading and the wrap offset.
void SetTickSourceForTesting(TickSource source);

}  // namespace base
