// CProgressCtl: a progress bar (element "progress"): a track, a fill and a
// moving marker, with the percentage written right of the track. It never
// takes the mouse. The fraction is not clamped: the driving code passes 0..1.
//
// Description attributes (besides the common ones):
//   attribute       syntax   default  meaning
//   background      image    none     track image (else a 53,53,61 box)
//   progress        image    none     fill image (else a 144,197,38 box)
//   progress_width  integer  0        pixels of the fillable length
//   image           image    none     marker drawn at the end of the fill
//   lightpointdela  integer  0        horizontal offset of the marker
// Example: <progress id="id_progress_download" left="20" top="84" width="442"
//           height="2" progress_width="405" lightpointdela="-6"
//           image="LIGHTPOINT" progress="PROGRESS"/>
//
// Threads: UI thread only.
#pragma once

#include <string>

#include "uikit/base_element_ctl.h"

namespace uikit {

class CProgressCtl : public CBaseElementCtl {
 public:
  CProgressCtl(HWND owner, bool layered);

  void LoadAttributes(const TiXmlElement* element) override;

  // Stores the fraction and repaints.
  void SetProgress(float fraction);
  float progress() const { return fraction_; }

  // Pure helpers of the drawing, exposed for the tests.
  static int FillWidth(int length, float fraction);
  // Left edge of the marker image of width `marker_width`.
  static int MarkerLeft(int left, int length, float fraction, int offset, int marker_width);
  static std::wstring PercentText(float fraction);

  void Draw(HDC dc) override;

 private:
  void DrawBox(HDC dc, const RECT& box, COLORREF colour) const;

  HBITMAP track_image_ = nullptr;
  HBITMAP fill_image_ = nullptr;
  HBITMAP marker_image_ = nullptr;
  COLORREF track_colour_ = RGB(53, 53, 61);
  COLORREF fill_colour_ = RGB(144, 197, 38);
  int marker_offset_ = 0;
  int length_ = 0;
  float fraction_ = 0.0f;
};

}  // namespace uikit
