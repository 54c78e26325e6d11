#include "uikit/layout_rule.h"

namespace uikit {

namespace {

// One axis of the stretch. "scale" multiplies in 32-bit integers and divides
// in floating point. A parent that had no extent before cannot be scaled
// from: the size is then left alone instead of dividing by zero.
int StretchExtent(int stretch, int extent, int old_parent, int new_parent) {
  switch (stretch) {
    case kStretchScale:
      if (old_parent <= 0) return extent;
      return static_cast<int>(static_cast<double>(new_parent * extent) / old_parent);
    case kStretchFill:
      return extent + new_parent - old_parent;
    default:
      return extent;
  }
}

}  // namespace

LayoutBox ApplyLayoutRule(const LayoutCodes& codes, const LayoutBox& current,
                          int design_left, int design_top, int old_w, int old_h,
                          int new_w, int new_h) {
  LayoutBox box = current;
  if (codes.x_align == kAlignRight) box.left = new_w - design_left;
  if (codes.y_align == kAlignBottom) box.top = new_h - design_top;
  // Integer division truncates toward zero, as the rule wants.
  if (codes.x_align == kAlignCenter) box.left = (new_w - current.width) / 2;
  if (codes.y_align == kAlignCenter) box.top = (new_h - current.height) / 2;
  box.width = StretchExtent(codes.x_stretch, current.width, old_w, new_w);
  box.height = StretchExtent(codes.y_stretch, current.height, old_h, new_h);
  return box;
}

}  // namespace uikit
