#include "uikit/layout_rule.h"

#include <gtest/gtest.h>

namespace uikit {
namespace {

struct LayoutCase {
  const char* what;
  LayoutCodes codes;
  LayoutBox current;
  int design_left, design_top;
  int old_w, old_h, new_w, new_h;
  LayoutBox want;
};

TEST(LayoutRuleTest, Cases) {
  const LayoutCase cases[] = {
      {"right alignment: 33 from the right of 492", {kAlignRight, kAlignTop, 0, 0},
       {33, 21, 11, 12}, 33, 21, 492, 402, 492, 402, {459, 21, 11, 12}},
      {"right alignment follows growth to 600, width kept", {kAlignRight, kAlignTop, 0, 0},
       {459, 21, 11, 12}, 33, 21, 492, 402, 600, 402, {567, 21, 11, 12}},
      {"bottom alignment from the design value", {kAlignLeft, kAlignBottom, 0, 0},
       {10, 999, 50, 20}, 10, 40, 300, 200, 300, 250, {10, 210, 50, 20}},
      {"fill grows by the parent's growth", {kAlignLeft, kAlignTop, kStretchFill, 0},
       {6, 246, 480, 150}, 6, 246, 492, 402, 502, 402, {6, 246, 490, 150}},
      {"fill shrinks back", {kAlignLeft, kAlignTop, kStretchFill, 0},
       {6, 246, 490, 150}, 6, 246, 502, 402, 492, 402, {6, 246, 480, 150}},
      {"centring 100 in 301 truncates", {kAlignCenter, kAlignTop, 0, 0},
       {0, 0, 100, 10}, 0, 0, 301, 50, 301, 50, {100, 0, 100, 10}},
      {"vertical centring", {kAlignLeft, kAlignCenter, 0, 0},
       {0, 0, 10, 30}, 0, 0, 100, 101, 100, 101, {0, 35, 10, 30}},
      {"centring uses the width before stretching", {kAlignCenter, kAlignTop, kStretchFill, 0},
       {0, 0, 100, 10}, 0, 0, 200, 50, 300, 50, {100, 0, 200, 10}},
      {"scale", {kAlignLeft, kAlignTop, kStretchScale, kStretchScale},
       {0, 0, 100, 50}, 0, 0, 200, 100, 300, 150, {0, 0, 150, 75}},
      {"scale from an empty parent keeps the size", {kAlignLeft, kAlignTop, kStretchScale, 0},
       {0, 0, 100, 50}, 0, 0, 0, 100, 300, 100, {0, 0, 100, 50}},
      {"'top' as x alignment behaves like left", {kAlignTop, kAlignLeft, 0, 0},
       {7, 8, 10, 10}, 70, 80, 100, 100, 500, 500, {7, 8, 10, 10}},
  };
  for (const LayoutCase& c : cases) {
    const LayoutBox got = ApplyLayoutRule(c.codes, c.current, c.design_left, c.design_top,
                                          c.old_w, c.old_h, c.new_w, c.new_h);
    EXPECT_EQ(c.want.left, got.left) << c.what;
    EXPECT_EQ(c.want.top, got.top) << c.what;
    EXPECT_EQ(c.want.width, got.width) << c.what;
    EXPECT_EQ(c.want.height, got.height) << c.what;
  }
}

}  // namespace
}  // namespace uikit
