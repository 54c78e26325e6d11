// <gdiplus.h> for the toolkit's sources. The build defines NOMINMAX, but
// GDI+'s headers use the min and max of <windows.h>; give them std's.
#pragma once

#include <windows.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>
