#include "uikit/gdi_resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "uikit/description.h"
#include "uikit/gdiplus_session.h"
#include "uikit/xml_helper.h"

namespace uikit {
namespace {

// GDI+ runs for the whole test program.
class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(GdiplusSession::AddUser()); }
  void TearDown() override {
    GetGDIResource()->Release();
    GdiplusSession::RemoveUser();
  }
};
::testing::Environment* const g_gdiplus =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

struct Pixel {
  uint8_t b, g, r, a;
};

// A top-down 32-bit DIB section selected into its own memory dc, cleared
// to transparent black: the surface a layered window paints into.
class Surface {
 public:
  Surface(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS,
                               reinterpret_cast<void**>(&bits_), nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    std::fill(bits_, bits_ + width * height, Pixel{0, 0, 0, 0});
  }
  ~Surface() {
    Unselect();
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  void Unselect() {
    if (old_) SelectObject(dc_, old_);
    old_ = nullptr;
  }
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  Pixel at(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x];
  }
  void set(int x, int y, Pixel p) { bits_[y * width_ + x] = p; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Bounding box of pixels with alpha > threshold; empty when none.
  RECT InkBox(int threshold = 0) const {
    GdiFlush();
    RECT box = {width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (bits_[y * width_ + x].a > threshold) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
  }
  int MaxAlpha() const {
    GdiFlush();
    int best = 0;
    for (int i = 0; i < width_ * height_; ++i) best = std::max<int>(best, bits_[i].a);
    return best;
  }
  bool AnyColour() const {
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i)
      if (bits_[i].r || bits_[i].g || bits_[i].b) return true;
    return false;
  }

 private:
  int width_, height_;
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
  Pixel* bits_ = nullptr;
};

// Pixels of a bitmap from the cache, as 32-bit top-down rows.
std::vector<Pixel> ReadBitmap(HBITMAP bitmap, SIZE size) {
  std::vector<Pixel> pixels(static_cast<size_t>(size.cx * size.cy));
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &info,
            DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST(FontSpecTest, FaceAndHeightFollowTheSystem) {
  struct Case {
    FontIndex index;
    int latin_height, chinese_height, weight;
    bool underline;
  };
  const Case cases[] = {
      {kFontDefault, 13, 18, 0, false},   {kFontBold, 13, 18, 700, false},
      {kFontBigBold, 16, 20, 700, false}, {kFontBig, 16, 21, 0, false},
      {kFontSmall, 10, 14, 700, false},   {kFontSmaller, 11, 15, 700, false},
      {kFontUnderline, 13, 18, 0, true},
  };
  for (const Case& c : cases) {
    FontSpec latin = FontSpecFor(c.index, false);
    FontSpec chinese = FontSpecFor(c.index, true);
    EXPECT_STREQ(L"Tahoma", latin.face);
    EXPECT_STREQ(L"微软雅黑", chinese.face);
    EXPECT_EQ(c.latin_height, latin.height) << c.index;
    EXPECT_EQ(c.chinese_height, chinese.height) << c.index;
    EXPECT_EQ(c.weight, latin.weight) << c.index;
    EXPECT_EQ(c.weight, chinese.weight) << c.index;
    EXPECT_EQ(c.underline, latin.underline) << c.index;
  }
}

TEST(FontSpecTest, FontsAreCreatedOnceWithTheirSpec) {
  CGDIResource* gdi = GetGDIResource();
  HFONT big = gdi->BigFont();
  ASSERT_NE(nullptr, big);
  EXPECT_EQ(big, gdi->BigFont());
  LOGFONTW logfont;
  ASSERT_EQ(static_cast<int>(sizeof(logfont)), GetObjectW(big, sizeof(logfont), &logfont));
  FontSpec spec = FontSpecFor(kFontBig, IsChineseWindows7());
  EXPECT_EQ(spec.height, logfont.lfHeight);
  EXPECT_STREQ(spec.face, logfont.lfFaceName);
  ASSERT_EQ(static_cast<int>(sizeof(logfont)),
            GetObjectW(gdi->UnderlineFont(), sizeof(logfont), &logfont));
  EXPECT_TRUE(logfont.lfUnderline);
}

TEST(NinePartTest, GeometryKeepsCornersAndStretchesTheRest) {
  NinePartPiece p[9];
  ComputeNineParts({0, 0, 492, 402}, {0, 0, 100, 100}, {10, 10, 10, 10}, p);
  const RECT expected_dst[9] = {
      {0, 0, 10, 10},     {10, 0, 482, 10},     {482, 0, 492, 10},
      {0, 10, 10, 392},   {10, 10, 482, 392},   {482, 10, 492, 392},
      {0, 392, 10, 402},  {10, 392, 482, 402},  {482, 392, 492, 402}};
  const RECT expected_src[9] = {
      {0, 0, 10, 10},   {10, 0, 90, 10},   {90, 0, 100, 10},
      {0, 10, 10, 90},  {10, 10, 90, 90},  {90, 10, 100, 90},
      {0, 90, 10, 100}, {10, 90, 90, 100}, {90, 90, 100, 100}};
  for (int i = 0; i < 9; ++i) {
    EXPECT_TRUE(EqualRect(&expected_dst[i], &p[i].dst)) << "piece " << i;
    EXPECT_TRUE(EqualRect(&expected_src[i], &p[i].src)) << "piece " << i;
  }
  // Corners 0: the centre piece is the whole image onto the whole target.
  ComputeNineParts({5, 6, 105, 56}, {0, 0, 44, 12}, {0, 0, 0, 0}, p);
  RECT whole_dst = {5, 6, 105, 56}, whole_src = {0, 0, 44, 12};
  EXPECT_TRUE(EqualRect(&whole_dst, &p[4].dst));
  EXPECT_TRUE(EqualRect(&whole_src, &p[4].src));
}

// Skin images decode from the program's type-6000 resources at the sizes
// and strip layouts the controls depend on.
TEST(SkinImageTest, EveryImageDecodesAtItsSize) {
  struct Case {
    const wchar_t* name;
    int width, height;
  };
  const Case cases[] = {
      {L"ABOUTDIALOG", 100, 100},    {L"APP", 480, 240},
      {L"APPLOGO", 92, 30},          {L"DLG_BTN_CLOSE", 44, 12},
      {L"DLG_BTN_MIN", 44, 12},      {L"DLG_BTN_INSTALL", 488, 42},
      {L"SELECTPATH", 336, 29},      {L"BACKMAIN", 372, 37},
      {L"CHECKBOX", 40, 20},         {L"EDIT_INSTALL_BACK", 268, 30},
      {L"PROGRESS", 405, 2},         {L"LIGHTPOINT", 32, 30},
      {L"DOWNLOADPOINT", 4, 8},
  };
  for (const Case& c : cases) {
    HBITMAP bitmap = GetGDIResource()->LoadSkinImage(c.name);
    ASSERT_NE(nullptr, bitmap) << c.name;
    SIZE size = CGDIResource::BitmapSize(bitmap);
    EXPECT_EQ(c.width, size.cx) << c.name;
    EXPECT_EQ(c.height, size.cy) << c.name;
    BITMAP info;
    ASSERT_EQ(static_cast<int>(sizeof(info)), GetObjectW(bitmap, sizeof(info), &info));
    EXPECT_EQ(32, info.bmBitsPixel) << c.name;
  }
}

TEST(SkinImageTest, PixelsArePremultiplied) {
  HBITMAP light = GetGDIResource()->LoadSkinImage(L"LIGHTPOINT");
  ASSERT_NE(nullptr, light);
  SIZE size = CGDIResource::BitmapSize(light);
  std::vector<Pixel> pixels = ReadBitmap(light, size);
  int translucent = 0;
  for (const Pixel& p : pixels) {
    // A bright cyan glow stored straight would have g > a at its rim.
    ASSERT_LE(p.r, p.a);
    ASSERT_LE(p.g, p.a);
    ASSERT_LE(p.b, p.a);
    if (p.a > 0 && p.a < 200) ++translucent;
  }
  EXPECT_GT(translucent, 100);
  EXPECT_EQ(0, pixels[0].a);                                  // corner: empty
  EXPECT_EQ(255, pixels[15 * size.cx + 16].a);                // core: opaque
  EXPECT_GT(pixels[15 * size.cx + 16].r, 200);                // and white
  // The check box's checked cell is opaque at its centre, its corner empty.
  HBITMAP check = GetGDIResource()->LoadSkinImage(L"CHECKBOX");
  std::vector<Pixel> box = ReadBitmap(check, CGDIResource::BitmapSize(check));
  EXPECT_EQ(0, box[0].a);
  EXPECT_EQ(255, box[4 * 40 + 30].a);
}

TEST(SkinImageTest, CacheIsKeyedByNameAlone) {
  CGDIResource own_cache;  // starts empty
  CGDIResource* gdi = &own_cache;
  HMODULE module = DescriptionModule();
  HBITMAP first = gdi->LoadResourceImage(module, L"CHECKBOX", kSkinImageType);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, gdi->LoadSkinImage(L"CHECKBOX"));
  EXPECT_EQ(first, gdi->LoadResourceImageNamedType(module, L"CHECKBOX", L"OTHER"));
  EXPECT_EQ(first, gdi->LoadResourceImage(module, L"CHECKBOX", 7000));
  // A name missing under one type is not cached and loads under the other.
  EXPECT_EQ(nullptr, gdi->LoadResourceImage(module, L"PROGRESS", 7000));
  EXPECT_NE(nullptr, gdi->LoadResourceImage(module, L"PROGRESS", kSkinImageType));
  EXPECT_EQ(nullptr, gdi->LoadSkinImage(L"NOSUCHIMAGE"));
  EXPECT_EQ(nullptr, gdi->LoadSkinImage(L""));
  EXPECT_EQ(nullptr, gdi->LoadFileImage(L""));
  // Uncached loads are new bitmaps the caller owns.
  HBITMAP own = gdi->LoadResourceImageUncached(module, L"CHECKBOX", kSkinImageType);
  ASSERT_NE(nullptr, own);
  EXPECT_NE(first, own);
  DeleteObject(own);
}

TEST(SkinImageTest, ReadImageLoadsTheNamedSkinImage) {
  TiXmlDocument document;
  document.Parse("<checkbox image=\"CHECKBOX\" none=\"\" bad=\"NOPE\"/>");
  const TiXmlElement* element = document.RootElement();
  EXPECT_EQ(GetGDIResource()->LoadSkinImage(L"CHECKBOX"),
            CXmlHelper::ReadImage(element, "image"));
  EXPECT_EQ(nullptr, CXmlHelper::ReadImage(element, "none"));
  EXPECT_EQ(nullptr, CXmlHelper::ReadImage(element, "bad"));
  EXPECT_EQ(nullptr, CXmlHelper::ReadImage(element, "absent"));
}

// A 100 x 100 image whose pixels name their own coordinates (red = x,
// green = y), drawn nine-part with corners 10 onto a 492 x 402 window.
TEST(DrawNinePartTest, CornersStayUnscaledEdgesStretch) {
  Surface source(100, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      source.set(x, y, Pixel{0, static_cast<uint8_t>(y), static_cast<uint8_t>(x), 255});
  source.Unselect();  // a bitmap can be selected into one dc only
  Surface window(492, 402);
  GetGDIResource()->DrawNinePart(window.dc(), source.bitmap(), {0, 0, 492, 402},
                                 {0, 0, 100, 100}, 255, {10, 10, 10, 10});
  auto expect_source = [&](int x, int y, int sx, int sy) {
    Pixel p = window.at(x, y);
    EXPECT_EQ(sx, p.r) << "at " << x << "," << y;
    EXPECT_EQ(sy, p.g) << "at " << x << "," << y;
    EXPECT_EQ(255, p.a) << "at " << x << "," << y;
  };
  // Corners: 1:1.
  expect_source(0, 0, 0, 0);
  expect_source(9, 9, 9, 9);
  expect_source(3, 7, 3, 7);
  expect_source(482, 0, 90, 0);
  expect_source(491, 9, 99, 9);
  expect_source(0, 392, 0, 90);
  expect_source(488, 397, 96, 95);
  expect_source(491, 401, 99, 99);
  // Left edge: x kept, y stretched; top edge: y kept, x stretched.
  Pixel left = window.at(5, 200);
  EXPECT_EQ(5, left.r);
  EXPECT_NEAR(10 + (200 - 10) * 80 / 382, left.g, 1);
  Pixel top = window.at(246, 4);
  EXPECT_EQ(4, top.g);
  EXPECT_NEAR(10 + (246 - 10) * 80 / 472, top.r, 1);
  // Centre: both stretched, within the source's centre.
  Pixel centre = window.at(246, 201);
  EXPECT_NEAR(50, centre.r, 1);
  EXPECT_NEAR(50, centre.g, 1);
}

TEST(DrawNinePartTest, RealFrameKeepsItsRoundCorners) {
  HBITMAP frame = GetGDIResource()->LoadSkinImage(L"ABOUTDIALOG");
  ASSERT_NE(nullptr, frame);
  std::vector<Pixel> source = ReadBitmap(frame, {100, 100});
  Surface window(492, 402);
  GetGDIResource()->DrawNinePart(window.dc(), frame, {0, 0, 492, 402}, {0, 0, 100, 100},
                                 255, {10, 10, 10, 10});
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      const Pixel& s = source[y * 100 + x];
      Pixel d = window.at(x, y);
      EXPECT_NEAR(s.a, d.a, 1) << x << "," << y;
      const Pixel& s2 = source[(90 + y) * 100 + 90 + x];
      Pixel d2 = window.at(482 + x, 392 + y);
      EXPECT_NEAR(s2.a, d2.a, 1) << x << "," << y;
      EXPECT_NEAR(s2.g, d2.g, 1) << x << "," << y;
    }
  }
  EXPECT_EQ(0, window.at(0, 0).a);  // the rounded corner stays transparent
  EXPECT_EQ(255, window.at(246, 300).a);
}

constexpr UINT kCentredEllipsis = DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_CENTER;

// GDI+ text in a 32-bit surface gets alpha (visible in a layered window);
// GDI text leaves alpha at 0.
TEST(DrawTextTest, PlusTextIsOpaqueGdiTextIsNot) {
  static_assert(kCentredEllipsis == 0x8025, "the button caption format");
  CGDIResource* gdi = GetGDIResource();
  Surface plus(200, 30);
  gdi->DrawTextPlus(plus.dc(), L"Install", {0, 0, 200, 30}, gdi->DefaultFont(),
                    RGB(250, 250, 250), kCentredEllipsis);
  EXPECT_GE(plus.MaxAlpha(), 0xF0);
  RECT ink = plus.InkBox(128);
  ASSERT_LT(ink.left, ink.right);
  // One centred line.
  EXPECT_NEAR(100, (ink.left + ink.right) / 2, 4);
  EXPECT_NEAR(15, (ink.top + ink.bottom) / 2, 4);
  EXPECT_LE(ink.bottom - ink.top, 16);

  Surface gdi_surface(200, 30);
  gdi->DrawTextGdi(gdi_surface.dc(), L"Install", {0, 0, 200, 30}, gdi->DefaultFont(),
                   RGB(250, 250, 250), kCentredEllipsis);
  EXPECT_TRUE(gdi_surface.AnyColour());
  EXPECT_EQ(0, gdi_surface.MaxAlpha());
}

TEST(DrawTextTest, LongLineIsCutWithAnEllipsis) {
  CGDIResource* gdi = GetGDIResource();
  const std::wstring text = L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
  Surface surface(300, 60);
  gdi->DrawTextPlus(surface.dc(), text, {0, 0, 120, 60}, gdi->DefaultFont(),
                    RGB(255, 255, 255), kCentredEllipsis);
  RECT ink = surface.InkBox(64);
  ASSERT_LT(ink.left, ink.right);
  EXPECT_LE(ink.right, 120);         // nothing beyond the box
  EXPECT_GT(ink.right, 90);          // the line fills it
  EXPECT_LE(ink.bottom - ink.top, 16);  // one line
  // The last glyphs are dots: in the rightmost 6 columns ink starts in the
  // lower half of the line, where a cut "W" would reach its top.
  int top_of_dots = surface.height();
  for (int x = ink.right - 6; x < ink.right; ++x)
    for (int y = 0; y < surface.height(); ++y)
      if (surface.at(x, y).a > 64) top_of_dots = std::min(top_of_dots, y);
  EXPECT_GT(top_of_dots, (ink.top + ink.bottom) / 2);

  // Without DT_SINGLELINE the same text wraps onto several lines.
  Surface wrapped(300, 60);
  gdi->DrawTextPlus(wrapped.dc(), L"one two three four five six seven", {0, 0, 80, 60},
                    gdi->DefaultFont(), RGB(255, 255, 255), 0);
  RECT wrapped_ink = wrapped.InkBox(64);
  EXPECT_GT(wrapped_ink.bottom - wrapped_ink.top, 20);
}

TEST(EllipsisTest, LongestPrefixThatFitsWithTheEllipsis) {
  // Ten pixels a character, the ellipsis included.
  auto measure = [](const std::wstring& s) { return 10.0f * static_cast<float>(s.size()); };
  struct Case {
    const wchar_t* text;
    float width;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"Install", 70, L"Install"},      // fits exactly
      {L"Install", 200, L"Install"},
      {L"Install", 69, L"Insta\u2026"},  // 5 characters + ellipsis = 60
      {L"Install", 60, L"Insta\u2026"},
      {L"Install", 15, L"\u2026"},
      {L"Install", 5, L"\u2026"},
      {L"", 5, L""},
      {L"ab\U0001F600cd", 45, L"ab\u2026"},  // never half a surrogate pair
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::wstring(c.expected), EllipsizeToWidth(c.text, c.width, measure))
        << "width " << c.width;
}

TEST(DrawTextTest, ChineseTextIsDrawnWithAlpha) {
  CGDIResource* gdi = GetGDIResource();
  Surface surface(200, 30);
  gdi->DrawTextPlus(surface.dc(), L"快速安装，立即使用", {0, 0, 200, 30}, gdi->DefaultFont(),
                    RGB(0, 213, 254), kCentredEllipsis);
  EXPECT_GE(surface.MaxAlpha(), 0xF0);
  RECT ink = surface.InkBox(128);
  ASSERT_LT(ink.left, ink.right);
  EXPECT_GT(ink.right - ink.left, 60);  // nine wide glyphs, not a box or two
  EXPECT_NEAR(100, (ink.left + ink.right) / 2, 6);
}

TEST(DrawShapesTest, PlusShapesKeepAlpha) {
  CGDIResource* gdi = GetGDIResource();
  Surface surface(100, 40);
  gdi->DrawRectanglePlus(surface.dc(), {0, 0, 50, 40}, RGB(255, 0, 0), RGB(53, 53, 61));
  gdi->DrawRoundRectPlus(surface.dc(), {50, 0, 100, 40}, RGB(60, 152, 208), RGB(255, 255, 255));
  Pixel box = surface.at(25, 20);
  EXPECT_GE(box.a, 0xF0);
  EXPECT_NEAR(61, box.b, 2);
  Pixel round = surface.at(75, 20);
  EXPECT_GE(round.a, 0xF0);
  Pixel outline = surface.at(0, 20);
  EXPECT_GT(outline.r, outline.g);
}

}  // namespace
}  // namespace uikit
