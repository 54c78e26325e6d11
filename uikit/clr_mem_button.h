// CClrMemButton: a button whose `icon` strip shows the system memory load
// (element "clrmembutton", only inside a panel). The strip has eleven cells;
// cell = load / 10 + 1 for the physical memory in use.
//
// Description attributes: those of "button" (see button_ctl.h).
// Example: <clrmembutton id="id_mem" left="10" top="10" width="120" height="30"
//           image="BACKMAIN" icon="MEMGAUGE" title="Free memory"/>
//
// Threads: UI thread only.
#pragma once

#include <windows.h>

#include "uikit/button_ctl.h"

namespace uikit {

class CClrMemButton : public CButtonCtl {
 public:
  CClrMemButton(HWND owner, bool layered);

  // Gauge cell for a memory load in percent (0..100).
  static int GaugeCell(int load_percent);
  // Load in percent of the physical memory in use.
  static int MemoryLoadPercent(const MEMORYSTATUSEX& status);

  // Makes the next paint read the memory load again.
  void Refresh() { refresh_ = true; }
  void Draw(HDC dc) override;

 private:
  void UpdateGaugeCell();
  void DrawGauge(HDC dc) const;

  int gauge_cell_ = -1;
  bool refresh_ = true;
};

}  // namespace uikit
