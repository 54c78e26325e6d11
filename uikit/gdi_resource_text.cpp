// CGDIResource: text through GDI and through GDI+.
#include "uikit/gdi_resource.h"

#include <memory>

#include "uikit/gdiplus_include.h"
#include "uikit/scoped_gdi.h"

namespace uikit {

namespace {

// The GDI+ font of a GDI font handle, or of the dc's selected font when the
// handle is null or unreadable. The wide LOGFONT keeps a Chinese face name
// intact whatever the ANSI code page is.
std::unique_ptr<Gdiplus::Font> PlusFont(HDC dc, HFONT font) {
  LOGFONTW logfont;
  if (font && GetObjectW(font, sizeof(logfont), &logfont) == sizeof(logfont))
    return std::make_unique<Gdiplus::Font>(dc, &logfont);
  return std::make_unique<Gdiplus::Font>(dc);
}

// The DT_ flags GDI+ knows an equivalent for; the rest are ignored.
void ApplyFormat(UINT format, Gdiplus::StringFormat* string_format) {
  if (format & DT_CENTER)
    string_format->SetAlignment(Gdiplus::StringAlignmentCenter);
  else if (format & DT_RIGHT)
    string_format->SetAlignment(Gdiplus::StringAlignmentFar);
  else
    string_format->SetAlignment(Gdiplus::StringAlignmentNear);
  string_format->SetLineAlignment((format & DT_VCENTER)
                                      ? Gdiplus::StringAlignmentCenter
                                      : Gdiplus::StringAlignmentNear);
  if (format & DT_SINGLELINE)
    string_format->SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
  if (format & DT_END_ELLIPSIS)
    string_format->SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
}

constexpr wchar_t kEllipsis[] = L"\u2026";

}  // namespace

std::wstring EllipsizeToWidth(const std::wstring& text, float width,
                              const std::function<float(const std::wstring&)>& measure) {
  if (text.empty() || measure(text) <= width) return text;
  // Longest prefix that fits with the ellipsis: widths grow with length,
  // so search the length.
  size_t low = 0, high = text.size() - 1;
  while (low < high) {
    size_t mid = (low + high + 1) / 2;
    if (measure(text.substr(0, mid) + kEllipsis) <= width)
      low = mid;
    else
      high = mid - 1;
  }
  // Do not leave half of a surrogate pair before the ellipsis.
  if (low > 0 && IS_HIGH_SURROGATE(text[low - 1])) --low;
  return text.substr(0, low) + kEllipsis;
}

void CGDIResource::DrawTextGdi(HDC dc, const std::wstring& text,
                               const RECT& rect, HFONT font, COLORREF colour,
                               UINT format) {
  if (!dc || text.empty()) return;
  int old_mode = SetBkMode(dc, TRANSPARENT);
  COLORREF old_colour = SetTextColor(dc, colour);
  ScopedSelect select(dc, font);
  RECT box = rect;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
}

void CGDIResource::DrawTextDefault(HDC dc, const std::wstring& text,
                                   const RECT& rect, COLORREF colour,
                                   UINT format) {
  DrawTextGdi(dc, text, rect, DefaultFont(), colour, format);
}

void CGDIResource::DrawTextDefaultEx(HDC dc, const wchar_t* text,
                                     const RECT& rect, COLORREF colour,
                                     UINT format) {
  if (text) DrawTextGdi(dc, text, rect, DefaultFont(), colour, format);
}

void CGDIResource::DrawTextPlus(HDC dc, const std::wstring& text,
                                const RECT& rect, HFONT font, COLORREF colour,
                                UINT format) {
  if (!dc || text.empty()) return;
  Gdiplus::Graphics graphics(dc);
  std::unique_ptr<Gdiplus::Font> plus_font = PlusFont(dc, font);
  // GDI+ has no font fallback: an unresolved family draws nothing anyway.
  if (plus_font->GetLastStatus() != Gdiplus::Ok) return;
  Gdiplus::SolidBrush brush(Gdiplus::Color(ArgbFromColorref(colour)));
  Gdiplus::StringFormat string_format;
  ApplyFormat(format, &string_format);
  Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rect.left),
                        static_cast<Gdiplus::REAL>(rect.top),
                        static_cast<Gdiplus::REAL>(rect.right - rect.left),
                        static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintClearTypeGridFit);
  std::wstring line = text;
  if ((format & DT_SINGLELINE) && (format & DT_END_ELLIPSIS)) {
    line = EllipsizeToWidth(text, layout.Width, [&](const std::wstring& candidate) {
      Gdiplus::RectF bounds;
      graphics.MeasureString(candidate.c_str(), static_cast<INT>(candidate.size()),
                             plus_font.get(), Gdiplus::PointF(0.0f, 0.0f), &string_format,
                             &bounds);
      return bounds.Width;
    });
  }
  graphics.DrawString(line.c_str(), -1, plus_font.get(), layout, &string_format,
                      &brush);
}

void CGDIResource::DrawTextPlusDefault(HDC dc, const std::wstring& text,
                                       const RECT& rect, UINT format) {
  DrawTextPlus(dc, text, rect, DefaultFont(), GetTextColor(dc), format);
}

void CGDIResource::DrawTextPlusDefaultColour(HDC dc, const std::wstring& text,
                                             const RECT& rect, COLORREF colour,
                                             UINT format) {
  DrawTextPlus(dc, text, rect, DefaultFont(), colour, format);
}

SIZE CGDIResource::MeasureText(HDC dc, const std::wstring& text, HFONT font) {
  SIZE size = {0, 0};
  if (!dc || text.empty()) return size;
  ScopedSelect select(dc, font);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()),
                        &size);
  return size;
}

}  // namespace uikit
