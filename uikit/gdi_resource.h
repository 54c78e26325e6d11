// CGDIResource: the toolkit's one drawing and resource helper.
//
// Every control and window host draws through it, and it owns what they
// share: the skin images (PNG resources of type 6000, decoded once with
// GDI+ into 32-bit premultiplied-alpha DIB sections and cached by name for
// the life of the process) and the seven toolkit fonts (created on first
// request). Callers never delete a bitmap or font they get from here.
//
// Alpha. Skin images are drawn with AlphaBlend and per-pixel alpha (mode
// kModeAlpha); the magenta colour key (any other mode) exists for images
// without alpha. Text drawn through GDI (DrawTextGdi) leaves the alpha
// channel of a 32-bit surface at 0, which makes it invisible once the
// surface goes through UpdateLayeredWindow; text in layered windows
// therefore goes through GDI+ (DrawTextPlus), which blends its glyphs into
// the alpha channel. GDI+ colours carry alpha 0xFE: a fully opaque brush
// lets GDI+ take a GDI shortcut that again leaves alpha at 0.
//
// Drawing creates and deletes a memory DC per call rather than keeping
// bitmaps selected, so one bitmap may be drawn into many windows.
//
// GDI+ must be running (GdiplusSession) for image loading and the *Plus
// operations; without it they draw or load nothing.
//
// Threads: UI thread only; the cache and fonts are not locked.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace Gdiplus {
class Image;
}

namespace uikit {

// Resource type of the skin images.
constexpr int kSkinImageType = 6000;
// Image drawing modes: per-pixel alpha; anything else is the magenta key.
constexpr int kModeAlpha = 2;
constexpr int kModeColourKey = 0;

// The seven toolkit fonts, in accessor order.
enum FontIndex {
  kFontDefault = 0,
  kFontBold,
  kFontBigBold,
  kFontBig,
  kFontSmall,
  kFontSmaller,
  kFontUnderline,
  kFontCount
};

// What CreateFontW gets for one toolkit font (face, cell height, weight,
// underline). Pure: the face and height depend only on whether the system
// is a Simplified-Chinese Windows 7.
struct FontSpec {
  const wchar_t* face;
  int height;
  int weight;
  bool underline;
};
FontSpec FontSpecFor(FontIndex index, bool chinese_windows7);
// The operating-system read behind it: system default language 0x0804 and
// Windows 6.1.
bool IsChineseWindows7();

// Nine-part geometry: the nine destination and source rectangles of
// DrawNinePart, in drawing order (top-left, top-middle, top-right,
// middle-left, centre, middle-right, bottom-left, bottom-middle,
// bottom-right). Pure, so the arithmetic is tested without drawing.
struct NinePartPiece {
  RECT dst;
  RECT src;
};
void ComputeNineParts(const RECT& dst, const RECT& src, const RECT& corners,
                      NinePartPiece pieces[9]);

// The text cut for one line of `width`: the text itself when it fits, else
// its longest prefix followed by "…" that fits (just "…" when none does).
// measure gives the width of a candidate line. Pure, so the rule is tested
// without fonts.
std::wstring EllipsizeToWidth(const std::wstring& text, float width,
                              const std::function<float(const std::wstring&)>& measure);

// GDI+ ARGB of a COLORREF with the toolkit's alpha 0xFE.
inline DWORD ArgbFromColorref(COLORREF colour) {
  return 0xFE000000u | (static_cast<DWORD>(GetRValue(colour)) << 16) |
         (static_cast<DWORD>(GetGValue(colour)) << 8) | GetBValue(colour);
}

class CGDIResource {
 public:
  CGDIResource();
  ~CGDIResource();
  CGDIResource(const CGDIResource&) = delete;
  CGDIResource& operator=(const CGDIResource&) = delete;

  // Deletes every cached bitmap and font and empties the cache (the
  // destructor does the same). Called when the last window is gone, before
  // GDI+ stops; later requests load and create afresh.
  void Release();

  // --- images -------------------------------------------------------------
  // Nine-part stretch: corners (left, top, right, bottom sizes in the
  // corners RECT) are copied 1:1, edges stretched along one axis, the centre
  // along both. AlphaBlend with per-pixel alpha and the given opacity.
  void DrawNinePart(HDC dc, HBITMAP bitmap, const RECT& dst, const RECT& src,
                    int opacity, const RECT& corners);
  // mode kModeAlpha: AlphaBlend (stretching), opacity 255; else magenta key.
  void DrawImageRect(HDC dc, HBITMAP bitmap, const RECT& dst, const RECT& src,
                     int mode);
  void DrawImageInRect(HDC dc, HBITMAP bitmap, const RECT& dst, int mode,
                       int opacity);
  // The whole bitmap stretched into (x, y, width, height); opacity above
  // 255 is taken as 255.
  void DrawImage(HDC dc, HBITMAP bitmap, int x, int y, int width, int height,
                 int mode, int opacity);
  // GDI+: keyed → magenta transparent; else tiled from (x, y).
  void DrawImagePlus(HDC dc, Gdiplus::Image* image, int x, int y, int width,
                     int height, bool keyed);
  void DrawIconAt(HDC dc, HICON icon, int x, int y);
  void DrawIconSized(HDC dc, HICON icon, int x, int y, int width, int height);

  // --- lines and boxes ----------------------------------------------------
  void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour);
  void DrawDottedLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour);
  void DrawLinePlus(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour);
  void FillRectColour(HDC dc, const RECT& rect, COLORREF colour);
  void DrawRectangle(HDC dc, const RECT& rect, COLORREF border, COLORREF fill);
  void DrawRectanglePlus(HDC dc, const RECT& rect, COLORREF border,
                         COLORREF fill);
  void DrawRoundRect(HDC dc, const RECT& rect, COLORREF border, COLORREF fill);
  // Corner arcs 6 % of the width and height.
  void DrawRoundRectPlus(HDC dc, const RECT& rect, COLORREF border,
                         COLORREF fill);

  // --- text ---------------------------------------------------------------
  // GDI text (DT_ format flags); kills alpha on 32-bit surfaces.
  void DrawTextGdi(HDC dc, const std::wstring& text, const RECT& rect,
                   HFONT font, COLORREF colour, UINT format);
  void DrawTextDefault(HDC dc, const std::wstring& text, const RECT& rect,
                       COLORREF colour, UINT format);
  void DrawTextDefaultEx(HDC dc, const wchar_t* text, const RECT& rect,
                         COLORREF colour, UINT format = 0);
  // GDI+ text. font null → the dc's selected font. Of the DT_ flags only
  // DT_CENTER, DT_RIGHT, DT_VCENTER, DT_SINGLELINE and DT_END_ELLIPSIS are
  // translated; text wraps unless DT_SINGLELINE. A single line with
  // DT_END_ELLIPSIS is cut here (EllipsizeToWidth) rather than by GDI+'s
  // trimming, which some GDI+ implementations do not draw.
  void DrawTextPlus(HDC dc, const std::wstring& text, const RECT& rect,
                    HFONT font, COLORREF colour, UINT format);
  // Font 1 and the dc's text colour.
  void DrawTextPlusDefault(HDC dc, const std::wstring& text, const RECT& rect,
                           UINT format);
  void DrawTextPlusDefaultColour(HDC dc, const std::wstring& text,
                                 const RECT& rect, COLORREF colour,
                                 UINT format);
  // Width and height of one line of text in font (GDI measure; null font →
  // the dc's font).
  SIZE MeasureText(HDC dc, const std::wstring& text, HFONT font);

  // --- image loading (cached by name alone, whatever the type) ------------
  HBITMAP LoadFileImage(const std::wstring& path);
  HBITMAP LoadResourceImageNamedType(HMODULE module, const wchar_t* name,
                                     const wchar_t* type);
  HBITMAP LoadResourceImage(HMODULE module, const wchar_t* name, int type);
  // Not cached: the caller owns the result and deletes it.
  HBITMAP LoadFileImageUncached(const std::wstring& path);
  HBITMAP LoadResourceImageUncached(HMODULE module, const wchar_t* name,
                                    int type);
  // A skin image of the description module (type 6000), cached. Empty
  // name → nullptr.
  HBITMAP LoadSkinImage(const std::wstring& name);
  // Width and height of a bitmap; 0,0 for null.
  static SIZE BitmapSize(HBITMAP bitmap);

  // --- fonts (created once, owned here) -----------------------------------
  HFONT Font(FontIndex index);
  HFONT DefaultFont() { return Font(kFontDefault); }
  HFONT BoldFont() { return Font(kFontBold); }
  HFONT BigBoldFont() { return Font(kFontBigBold); }
  HFONT BigFont() { return Font(kFontBig); }
  HFONT SmallFont() { return Font(kFontSmall); }
  HFONT SmallerFont() { return Font(kFontSmaller); }
  HFONT UnderlineFont() { return Font(kFontUnderline); }

  // --- icons (the caller owns the result) ---------------------------------
  HICON LoadIconById(int resource_id);
  HICON LoadIconFileSized(const std::wstring& path, int width, int height);
  HICON LoadIconFile(const std::wstring& path);

 private:
  HBITMAP CacheLookup(const std::wstring& key, bool* found) const;
  void CacheStore(const std::wstring& key, HBITMAP bitmap);

  std::map<std::wstring, HBITMAP> cache_;
  HFONT fonts_[kFontCount] = {};
};

// The process-wide instance, created on first use and destroyed at exit.
CGDIResource* GetGDIResource();

}  // namespace uikit
