// The layout rule of controls: where a control goes when its parent (the
// window's client area, or a panel) changes size.
//
// Positions aligned "right" or "bottom" always start again from the design
// value, so repeated layouts never drift. "fill" and "scale" are
// incremental: they change the current size by the parent's change from
// the previous size, which the hosts remember. Centring uses the width
// before stretching.
#pragma once

namespace uikit {

// Alignment codes, the same table for both axes.
enum Alignment { kAlignLeft = 1, kAlignTop = 2, kAlignRight = 3, kAlignBottom = 4, kAlignCenter = 5 };
// Stretch codes.
enum Stretch { kStretchNone = 0, kStretchScale = 1, kStretchFill = 2 };

struct LayoutBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct LayoutCodes {
  int x_align = kAlignLeft;
  int y_align = kAlignTop;
  int x_stretch = kStretchNone;
  int y_stretch = kStretchNone;
};

// Pure: the new box of a control with current box `current` and design
// position (design_left, design_top), for a parent going from
// old_w × old_h to new_w × new_h.
LayoutBox ApplyLayoutRule(const LayoutCodes& codes, const LayoutBox& current,
                          int design_left, int design_top, int old_w, int old_h,
                          int new_w, int new_h);

}  // namespace uikit
