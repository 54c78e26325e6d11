// CGDIResource: images, lines and boxes.
#include "uikit/gdi_resource.h"

#include "uikit/gdiplus_include.h"
#include "uikit/scoped_gdi.h"

namespace uikit {

namespace {

constexpr COLORREF kMagentaKey = RGB(255, 0, 255);

BYTE ClampOpacity(int opacity) {
  if (opacity < 0) return 0;
  if (opacity > 255) return 255;
  return static_cast<BYTE>(opacity);
}

BLENDFUNCTION PerPixelBlend(int opacity) {
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, ClampOpacity(opacity), AC_SRC_ALPHA};
  return blend;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// One blit from the bitmap selected in `source` (per-pixel alpha or the
// magenta key). Empty rectangles are skipped: AlphaBlend rejects them.
void Blit(HDC dc, HDC source, const RECT& dst, const RECT& src, int mode,
          int opacity) {
  if (Width(dst) <= 0 || Height(dst) <= 0 || Width(src) <= 0 ||
      Height(src) <= 0)
    return;
  if (mode == kModeAlpha) {
    AlphaBlend(dc, dst.left, dst.top, Width(dst), Height(dst), source,
               src.left, src.top, Width(src), Height(src),
               PerPixelBlend(opacity));
  } else {
    TransparentBlt(dc, dst.left, dst.top, Width(dst), Height(dst), source,
                   src.left, src.top, Width(src), Height(src), kMagentaKey);
  }
}

Gdiplus::Color PlusColour(COLORREF colour) {
  return Gdiplus::Color(ArgbFromColorref(colour));
}

}  // namespace

void ComputeNineParts(const RECT& dst, const RECT& src, const RECT& corners,
                      NinePartPiece pieces[9]) {
  const int cl = corners.left, ct = corners.top;
  const int cr = corners.right, cb = corners.bottom;
  // Column and row edges: [outer start, after first corner, before last
  // corner, outer end], in destination and source.
  const int dx[4] = {dst.left, dst.left + cl, dst.right - cr, dst.right};
  const int dy[4] = {dst.top, dst.top + ct, dst.bottom - cb, dst.bottom};
  const int sx[4] = {src.left, src.left + cl, src.right - cr, src.right};
  const int sy[4] = {src.top, src.top + ct, src.bottom - cb, src.bottom};
  int n = 0;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column, ++n) {
      pieces[n].dst = {dx[column], dy[row], dx[column + 1], dy[row + 1]};
      pieces[n].src = {sx[column], sy[row], sx[column + 1], sy[row + 1]};
    }
  }
}

void CGDIResource::DrawNinePart(HDC dc, HBITMAP bitmap, const RECT& dst,
                                const RECT& src, int opacity,
                                const RECT& corners) {
  if (!dc || !bitmap) return;
  ScopedMemoryDC memory(dc);
  ScopedSelect select(memory.get(), bitmap);
  NinePartPiece pieces[9];
  ComputeNineParts(dst, src, corners, pieces);
  for (const NinePartPiece& piece : pieces)
    Blit(dc, memory.get(), piece.dst, piece.src, kModeAlpha, opacity);
}

void CGDIResource::DrawImageRect(HDC dc, HBITMAP bitmap, const RECT& dst,
                                 const RECT& src, int mode) {
  if (!dc || !bitmap) return;
  ScopedMemoryDC memory(dc);
  ScopedSelect select(memory.get(), bitmap);
  Blit(dc, memory.get(), dst, src, mode, 255);
}

void CGDIResource::DrawImageInRect(HDC dc, HBITMAP bitmap, const RECT& dst,
                                   int mode, int opacity) {
  DrawImage(dc, bitmap, dst.left, dst.top, Width(dst), Height(dst), mode,
            opacity);
}

void CGDIResource::DrawImage(HDC dc, HBITMAP bitmap, int x, int y, int width,
                             int height, int mode, int opacity) {
  if (!dc || !bitmap) return;
  SIZE size = BitmapSize(bitmap);
  ScopedMemoryDC memory(dc);
  ScopedSelect select(memory.get(), bitmap);
  RECT dst = {x, y, x + width, y + height};
  RECT src = {0, 0, size.cx, size.cy};
  Blit(dc, memory.get(), dst, src, mode, opacity);
}

void CGDIResource::DrawImagePlus(HDC dc, Gdiplus::Image* image, int x, int y,
                                 int width, int height, bool keyed) {
  if (!dc || !image) return;
  Gdiplus::Graphics graphics(dc);
  if (keyed) {
    Gdiplus::ImageAttributes attributes;
    Gdiplus::Color magenta(0xFFFF00FF);
    attributes.SetColorKey(magenta, magenta);
    graphics.DrawImage(image, Gdiplus::Rect(x, y, width, height), 0, 0,
                       static_cast<INT>(image->GetWidth()),
                       static_cast<INT>(image->GetHeight()),
                       Gdiplus::UnitPixel, &attributes);
  } else {
    Gdiplus::TextureBrush brush(image);
    brush.TranslateTransform(static_cast<Gdiplus::REAL>(x),
                             static_cast<Gdiplus::REAL>(y));
    graphics.FillRectangle(&brush, x, y, width, height);
  }
}

void CGDIResource::DrawIconAt(HDC dc, HICON icon, int x, int y) {
  if (dc && icon) DrawIcon(dc, x, y, icon);
}

void CGDIResource::DrawIconSized(HDC dc, HICON icon, int x, int y, int width,
                                 int height) {
  if (dc && icon) DrawIconEx(dc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
}

void CGDIResource::DrawLine(HDC dc, int x1, int y1, int x2, int y2,
                            COLORREF colour) {
  ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 0, colour));
  ScopedSelect select(dc, pen.get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void CGDIResource::DrawDottedLine(HDC dc, int x1, int y1, int x2, int y2,
                                  COLORREF colour) {
  ScopedGdiObject<HPEN> pen(CreatePen(PS_DOT, 0, colour));
  ScopedSelect select(dc, pen.get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void CGDIResource::DrawLinePlus(HDC dc, int x1, int y1, int x2, int y2,
                                COLORREF colour) {
  Gdiplus::Graphics graphics(dc);
  Gdiplus::Pen pen(PlusColour(colour), 1.0f);
  graphics.DrawLine(&pen, x1, y1, x2, y2);
}

void CGDIResource::FillRectColour(HDC dc, const RECT& rect, COLORREF colour) {
  ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
}

void CGDIResource::DrawRectangle(HDC dc, const RECT& rect, COLORREF border,
                                 COLORREF fill) {
  ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, border));
  ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(fill));
  ScopedSelect select_pen(dc, pen.get());
  ScopedSelect select_brush(dc, brush.get());
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void CGDIResource::DrawRectanglePlus(HDC dc, const RECT& rect, COLORREF border,
                                     COLORREF fill) {
  if (Width(rect) <= 0 || Height(rect) <= 0) return;
  Gdiplus::Graphics graphics(dc);
  Gdiplus::SolidBrush brush(PlusColour(fill));
  graphics.FillRectangle(&brush, rect.left, rect.top, Width(rect),
                         Height(rect));
  // GDI+ outlines cover width + 1 pixels; keep the outline inside the
  // rectangle like GDI's Rectangle does.
  Gdiplus::Pen pen(PlusColour(border), 1.0f);
  graphics.DrawRectangle(&pen, rect.left, rect.top, Width(rect) - 1,
                         Height(rect) - 1);
}

void CGDIResource::DrawRoundRect(HDC dc, const RECT& rect, COLORREF border,
                                 COLORREF fill) {
  ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, border));
  ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(fill));
  ScopedSelect select_pen(dc, pen.get());
  ScopedSelect select_brush(dc, brush.get());
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, 3, 3);
}

void CGDIResource::DrawRoundRectPlus(HDC dc, const RECT& rect, COLORREF border,
                                     COLORREF fill) {
  const int width = Width(rect), height = Height(rect);
  const int arc_w = width * 6 / 100, arc_h = height * 6 / 100;
  // Too small for arcs (GDI+ rejects empty arcs): a plain box.
  if (arc_w < 1 || arc_h < 1) {
    DrawRectanglePlus(dc, rect, border, fill);
    return;
  }
  const int l = rect.left, t = rect.top;
  const int r = rect.right - 1, b = rect.bottom - 1;  // outline inside
  Gdiplus::GraphicsPath path;
  path.AddArc(r - arc_w, t, arc_w, arc_h, 270.0f, 90.0f);
  path.AddArc(r - arc_w, b - arc_h, arc_w, arc_h, 0.0f, 90.0f);
  path.AddArc(l, b - arc_h, arc_w, arc_h, 90.0f, 90.0f);
  path.AddArc(l, t, arc_w, arc_h, 180.0f, 90.0f);
  path.CloseFigure();
  Gdiplus::Graphics graphics(dc);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  Gdiplus::SolidBrush brush(PlusColour(fill));
  graphics.FillPath(&brush, &path);
  Gdiplus::Pen pen(PlusColour(border), 1.0f);
  graphics.DrawPath(&pen, &path);
}

}  // namespace uikit
