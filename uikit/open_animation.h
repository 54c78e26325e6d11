// The opening zoom of the main window, as tables.
//
// Phase one (timer kPhaseOneTimer) draws scaled frames of a snapshot of the
// finished window into a surface 20 pixels larger on every side; phase two
// (timer kPhaseTwoTimer) moves and sizes the window itself, settling from an
// overshoot to its final rectangle. Every frame is the final rectangle
// resized by the step's delta; the opacity rises with each frame.
//
// Threads: pure functions, any thread.
#pragma once

#include <windows.h>

namespace uikit {

inline constexpr UINT_PTR kPhaseOneTimer = 480147;
inline constexpr UINT_PTR kPhaseTwoTimer = 480148;
inline constexpr UINT kAnimationTickMs = 30;
// Margin of the phase-one surface around the final rectangle.
inline constexpr int kAnimationMargin = 20;
// First frame: the final rectangle shrunk by 50 on every side, at 35 %.
inline constexpr int kFirstFrameShrink = 50;
inline constexpr int kFirstFrameOpacity = 35;
inline constexpr int kFirstCounter = 10;

struct AnimationStep {
  int resize;           // Delta of width and height (negative shrinks).
  int opacity_percent;
  bool last_of_phase;   // Phase one: switch to phase two after this frame.
};

// The frame of a tick by the counter read before its decrement; false for
// counters outside the phase's table.
bool PhaseOneStep(int counter, AnimationStep* step);
bool PhaseTwoStep(int counter, AnimationStep* step);

// left −= d/2, right += d/2, top −= d/2, bottom += d/2, with d/2 truncated
// toward zero.
RECT ResizeRect(const RECT& rect, int d);

// Whether a window of this size gets the animation (wider than 149 and
// taller than 109).
bool IsAnimatable(int width, int height);

}  // namespace uikit
