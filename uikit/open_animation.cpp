#include "uikit/open_animation.h"

namespace uikit {

namespace {

struct Row {
  int counter;
  AnimationStep step;
};

const Row kPhaseOne[] = {
    {10, {-94, 40, false}}, {9, {-77, 45, false}}, {8, {-49, 55, false}},
    {7, {-10, 60, false}},  {6, {40, 65, true}},
};

const Row kPhaseTwo[] = {
    {5, {26, 70, false}}, {4, {14, 75, false}}, {3, {6, 80, false}}, {2, {2, 90, false}},
};

template <size_t N>
bool Lookup(const Row (&rows)[N], int counter, AnimationStep* step) {
  for (const Row& row : rows) {
    if (row.counter == counter) {
      *step = row.step;
      return true;
    }
  }
  return false;
}

}  // namespace

bool PhaseOneStep(int counter, AnimationStep* step) { return Lookup(kPhaseOne, counter, step); }
bool PhaseTwoStep(int counter, AnimationStep* step) { return Lookup(kPhaseTwo, counter, step); }

RECT ResizeRect(const RECT& rect, int d) {
  const int half = d / 2;  // C++ division truncates toward zero.
  return RECT{rect.left - half, rect.top - half, rect.right + half, rect.bottom + half};
}

bool IsAnimatable(int width, int height) { return width > 149 && height > 109; }

}  // namespace uikit
