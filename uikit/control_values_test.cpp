// Pure decisions of the controls and the opening animation.
#include <gtest/gtest.h>

#include "uikit/clr_mem_button.h"
#include "uikit/open_animation.h"
#include "uikit/progress_ctl.h"

namespace uikit {
namespace {

TEST(ProgressCtlTest, InstallerBarAtHalf) {
  // length 405, marker LIGHTPOINT 32 wide, offset −6, control at x 26.
  EXPECT_EQ(202, CProgressCtl::FillWidth(405, 0.5f));
  EXPECT_EQ(26 + 196, CProgressCtl::MarkerLeft(26, 405, 0.5f, -6, 32) + 16);
  EXPECT_EQ(0, CProgressCtl::FillWidth(405, 0.0f));
  EXPECT_EQ(405, CProgressCtl::FillWidth(405, 1.0f));
  EXPECT_EQ(std::wstring(L"50.0%"), CProgressCtl::PercentText(0.5f));
  EXPECT_EQ(std::wstring(L"0.0%"), CProgressCtl::PercentText(0.0f));
  EXPECT_EQ(std::wstring(L"99.9%"), CProgressCtl::PercentText(0.999f));
}

TEST(ClrMemButtonTest, GaugeCells) {
  const struct {
    int load, cell;
  } cases[] = {{0, 1}, {9, 1}, {10, 2}, {55, 6}, {99, 10}, {100, 10}};
  for (const auto& c : cases) EXPECT_EQ(c.cell, CClrMemButton::GaugeCell(c.load)) << c.load;
  MEMORYSTATUSEX status = {};
  status.ullTotalPhys = 8000;
  status.ullAvailPhys = 2000;
  EXPECT_EQ(75, CClrMemButton::MemoryLoadPercent(status));
  status.ullTotalPhys = 0;
  EXPECT_EQ(0, CClrMemButton::MemoryLoadPercent(status));
}

TEST(OpenAnimationTest, StepTables) {
  const struct {
    int counter, resize, opacity;
    bool last;
  } one[] = {{10, -94, 40, false}, {9, -77, 45, false}, {8, -49, 55, false},
             {7, -10, 60, false},  {6, 40, 65, true}};
  for (const auto& row : one) {
    AnimationStep step;
    ASSERT_TRUE(PhaseOneStep(row.counter, &step)) << row.counter;
    EXPECT_EQ(row.resize, step.resize);
    EXPECT_EQ(row.opacity, step.opacity_percent);
    EXPECT_EQ(row.last, step.last_of_phase);
  }
  const struct {
    int counter, resize, opacity;
  } two[] = {{5, 26, 70}, {4, 14, 75}, {3, 6, 80}, {2, 2, 90}};
  for (const auto& row : two) {
    AnimationStep step;
    ASSERT_TRUE(PhaseTwoStep(row.counter, &step)) << row.counter;
    EXPECT_EQ(row.resize, step.resize);
    EXPECT_EQ(row.opacity, step.opacity_percent);
  }
  AnimationStep step;
  EXPECT_FALSE(PhaseOneStep(5, &step));
  EXPECT_FALSE(PhaseTwoStep(1, &step));
  EXPECT_FALSE(PhaseTwoStep(6, &step));
}

TEST(OpenAnimationTest, ResizeTruncatesTowardZero) {
  const RECT r{100, 100, 592, 502};
  const RECT shrunk = ResizeRect(r, -77);  // d/2 = −38.
  EXPECT_EQ(138, shrunk.left);
  EXPECT_EQ(138, shrunk.top);
  EXPECT_EQ(554, shrunk.right);
  EXPECT_EQ(464, shrunk.bottom);
  const RECT grown = ResizeRect(r, 40);
  EXPECT_EQ(80, grown.left);
  EXPECT_EQ(612, grown.right);
  EXPECT_FALSE(IsAnimatable(149, 110));
  EXPECT_FALSE(IsAnimatable(150, 109));
  EXPECT_TRUE(IsAnimatable(150, 110));
}

}  // namespace
}  // namespace uikit
