#include "uikit/clr_mem_button.h"

#include <algorithm>

#include "uikit/gdi_resource.h"

namespace uikit {

namespace {

constexpr int kGaugeCells = 11;

}  // namespace

CClrMemButton::CClrMemButton(HWND owner, bool layered) : CButtonCtl(owner, layered) {}

int CClrMemButton::GaugeCell(int load_percent) {
  return std::min(kGaugeCells - 1, std::max(0, load_percent) / 10 + 1);
}

int CClrMemButton::MemoryLoadPercent(const MEMORYSTATUSEX& status) {
  if (status.ullTotalPhys == 0) return 0;
  const unsigned long long used = status.ullTotalPhys - status.ullAvailPhys;
  return static_cast<int>(used * 100 / status.ullTotalPhys);
}

void CClrMemButton::UpdateGaugeCell() {
  if (gauge_cell_ != -1 && (state_ == kPressed || state_ == kHover) && !refresh_) return;
  MEMORYSTATUSEX status = {};
  status.dwLength = sizeof(status);
  if (!GlobalMemoryStatusEx(&status)) return;
  gauge_cell_ = GaugeCell(MemoryLoadPercent(status));
  refresh_ = false;
}

void CClrMemButton::DrawGauge(HDC dc) const {
  if (icon_ == nullptr || gauge_cell_ < 0) return;
  const SIZE size = CGDIResource::BitmapSize(icon_);
  const int cell_w = size.cx / kGaugeCells;
  CGDIResource* gdi = GetGDIResource();
  const int caption_w = title_.empty() ? 0 : MeasureText(title_, gdi->DefaultFont()) + 5;
  const int x = left_ + std::max(0, (width_ - cell_w - caption_w) / 2);
  const int y = top_ + std::max(0, (height_ - static_cast<int>(size.cy)) / 2);
  const RECT target{x, y, x + cell_w, y + size.cy};
  const RECT source{gauge_cell_ * cell_w, 0, (gauge_cell_ + 1) * cell_w, size.cy};
  gdi->DrawImageRect(dc, icon_, target, source, kModeAlpha);
}

void CClrMemButton::Draw(HDC dc) {
  if (!visible_) return;
  UpdateGaugeCell();
  static const int kCells[] = {0, 2, 1, 3};
  DrawStateImage(dc, kCells[state_ & 3]);
  DrawGauge(dc);
  if (title_.empty()) return;
  // The disabled state keeps the normal caption colour; always font 1.
  const COLORREF colour = state_ == kDisabled ? text_colour_ : CaptionColour(state_);
  RECT box = GetRect();
  box.top += text_offset_y_;
  UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  if (icon_ != nullptr) {
    const SIZE size = CGDIResource::BitmapSize(icon_);
    const int cell_w = size.cx / kGaugeCells;
    const int caption_w = MeasureText(title_, GetGDIResource()->DefaultFont()) + 5;
    box.left = left_ + std::max(0, (width_ - cell_w - caption_w) / 2) + cell_w + 5;
    format = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  }
  CGDIResource* gdi = GetGDIResource();
  if (layered_) {
    gdi->DrawTextPlusDefaultColour(dc, title_, box, colour, format);
  } else {
    gdi->DrawTextDefaultEx(dc, title_.c_str(), box, colour);
  }
}

}  // namespace uikit
