#pragma once

#include <windows.h>

#include "base/ref_counted.h"

namespace app {

// What the process spine needs of the installer's main window. The
// utility window makes one through a MainWindowFactory, keeps a counted
// reference on it for as long as it lives, and forwards the "come forward"
// request of a second instance to it. Closing the main window must post
// WM_QUIT (exit code 0): that is what ends the UI loop.
//
// All methods: UI thread only.
class MainWindow : public base::RefCountedThreadSafe<MainWindow> {
 public:
  // Builds the window from the window description resource |name|.
  virtual bool CreateFromDescription(const wchar_t* name) = 0;

  // Whether the display runs at 32 bits per pixel; the window paints as a
  // layered window only then.
  virtual void SetDisplayIs32Bit(bool is_32_bit) = 0;

  // Shows the window with its opening animation.
  virtual void ShowAnimated() = 0;

  // Repaints the whole window now when |repaint| is true, else later.
  virtual void Invalidate(bool repaint) = 0;

  virtual HWND hwnd() const = 0;

 protected:
  friend class base::RefCountedThreadSafe<MainWindow>;
  virtual ~MainWindow() = default;
};

// Makes a new main window object, not yet created, or returns null when
// none can be made. The caller takes the first reference.
using MainWindowFactory = MainWindow* (*)();

// The window description of the main window for a language index: 0 is
// Chinese, 2 Korean, 3 Japanese, 4 Vietnamese, 5 Russian, anything else
// English.
const wchar_t* MainWindowDescriptionFor(int language_index);

}  // namespace app
