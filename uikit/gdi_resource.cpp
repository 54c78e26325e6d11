// CGDIResource: lifetime, the image cache and image loading, fonts, icons.
// Drawing lives in gdi_resource_draw.cpp, text in gdi_resource_text.cpp.
#include "uikit/gdi_resource.h"

#include <objbase.h>

#include <memory>

#include "uikit/description.h"
#include "uikit/gdiplus_include.h"

namespace uikit {

namespace {

// Frees a global memory block on every way out.
class ScopedGlobal {
 public:
  explicit ScopedGlobal(HGLOBAL block) : block_(block) {}
  ~ScopedGlobal() {
    if (block_) GlobalFree(block_);
  }
  ScopedGlobal(const ScopedGlobal&) = delete;
  ScopedGlobal& operator=(const ScopedGlobal&) = delete;
  HGLOBAL get() const { return block_; }

 private:
  HGLOBAL block_;
};

// Releases a COM stream on every way out.
class ScopedStream {
 public:
  ScopedStream() = default;
  ~ScopedStream() {
    if (stream_) stream_->Release();
  }
  ScopedStream(const ScopedStream&) = delete;
  ScopedStream& operator=(const ScopedStream&) = delete;
  IStream** receive() { return &stream_; }
  IStream* get() const { return stream_; }

 private:
  IStream* stream_ = nullptr;
};

// Copies a decoded GDI+ bitmap into a new top-down 32-bit DIB section with
// premultiplied alpha, the form AlphaBlend with AC_SRC_ALPHA expects.
// Locking the pixels in PARGB into our own buffer makes the format
// certain, whatever the decoder's own pixel format was.
HBITMAP ToPremultipliedDib(Gdiplus::Bitmap* source) {
  if (!source || source->GetLastStatus() != Gdiplus::Ok) return nullptr;
  const int width = static_cast<int>(source->GetWidth());
  const int height = static_cast<int>(source->GetHeight());
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib =
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) {
    if (dib) DeleteObject(dib);
    return nullptr;
  }
  Gdiplus::BitmapData data = {};
  data.Width = static_cast<UINT>(width);
  data.Height = static_cast<UINT>(height);
  data.Stride = width * 4;
  data.PixelFormat = PixelFormat32bppPARGB;
  data.Scan0 = bits;
  Gdiplus::Rect area(0, 0, width, height);
  if (source->LockBits(&area,
                       Gdiplus::ImageLockModeRead |
                           Gdiplus::ImageLockModeUserInputBuf,
                       PixelFormat32bppPARGB, &data) != Gdiplus::Ok) {
    DeleteObject(dib);
    return nullptr;
  }
  source->UnlockBits(&data);
  GdiFlush();
  return dib;
}

HBITMAP DecodeResource(HMODULE module, const wchar_t* name,
                       const wchar_t* type) {
  if (!name) return nullptr;
  HRSRC info = FindResourceW(module, name, type);
  if (!info) return nullptr;
  DWORD size = SizeofResource(module, info);
  HGLOBAL loaded = LoadResource(module, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return nullptr;
  // GDI+ reads the PNG through a stream over a movable block of our own.
  ScopedGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!block.get()) return nullptr;
  void* target = GlobalLock(block.get());
  if (!target) return nullptr;
  memcpy(target, bytes, size);
  GlobalUnlock(block.get());
  ScopedStream stream;
  if (FAILED(CreateStreamOnHGlobal(block.get(), FALSE, stream.receive())))
    return nullptr;
  std::unique_ptr<Gdiplus::Bitmap> bitmap(
      Gdiplus::Bitmap::FromStream(stream.get()));
  return ToPremultipliedDib(bitmap.get());
}

HBITMAP DecodeFile(const std::wstring& path) {
  if (path.empty()) return nullptr;
  std::unique_ptr<Gdiplus::Bitmap> bitmap(
      Gdiplus::Bitmap::FromFile(path.c_str()));
  return ToPremultipliedDib(bitmap.get());
}

// The cache key of a string or numeric resource name.
std::wstring NameKey(const wchar_t* name) {
  if (!name) return std::wstring();
  if (IS_INTRESOURCE(name))
    return L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name));
  return name;
}

typedef LONG(WINAPI* RtlGetVersionFunction)(OSVERSIONINFOW*);

// The real version: GetVersionExW answers what the manifest allows.
bool IsWindows61() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (!ntdll) return false;
  auto get_version = reinterpret_cast<RtlGetVersionFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion")));
  if (!get_version) return false;
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (get_version(&version) != 0) return false;
  return version.dwMajorVersion == 6 && version.dwMinorVersion == 1;
}

}  // namespace

FontSpec FontSpecFor(FontIndex index, bool chinese_windows7) {
  struct Row {
    int latin_height;
    int chinese_height;
    int weight;
    bool underline;
  };
  static const Row kRows[kFontCount] = {
      {13, 18, 0, false},    // default
      {13, 18, 700, false},  // bold
      {16, 20, 700, false},  // big bold
      {16, 21, 0, false},    // big
      {10, 14, 700, false},  // small
      {11, 15, 700, false},  // smaller
      {13, 18, 0, true},     // underline
  };
  if (index < 0 || index >= kFontCount) index = kFontDefault;
  const Row& row = kRows[index];
  FontSpec spec;
  spec.face = chinese_windows7 ? L"微软雅黑" : L"Tahoma";
  spec.height = chinese_windows7 ? row.chinese_height : row.latin_height;
  spec.weight = row.weight;
  spec.underline = row.underline;
  return spec;
}

bool IsChineseWindows7() {
  return GetSystemDefaultLangID() == 0x0804 && IsWindows61();
}

CGDIResource::CGDIResource() = default;

CGDIResource::~CGDIResource() { Release(); }

void CGDIResource::Release() {
  for (auto& entry : cache_)
    if (entry.second) DeleteObject(entry.second);
  cache_.clear();
  for (HFONT& font : fonts_) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}

HBITMAP CGDIResource::CacheLookup(const std::wstring& key, bool* found) const {
  auto it = cache_.find(key);
  *found = it != cache_.end();
  return *found ? it->second : nullptr;
}

void CGDIResource::CacheStore(const std::wstring& key, HBITMAP bitmap) {
  cache_[key] = bitmap;
}

HBITMAP CGDIResource::LoadFileImage(const std::wstring& path) {
  if (path.empty()) return nullptr;
  bool found = false;
  HBITMAP cached = CacheLookup(path, &found);
  if (found) return cached;
  HBITMAP bitmap = DecodeFile(path);
  CacheStore(path, bitmap);
  return bitmap;
}

HBITMAP CGDIResource::LoadResourceImageNamedType(HMODULE module,
                                                 const wchar_t* name,
                                                 const wchar_t* type) {
  const std::wstring key = NameKey(name);
  if (key.empty()) return nullptr;
  bool found = false;
  HBITMAP cached = CacheLookup(key, &found);
  if (found) return cached;
  // A missing resource is not cached: it may be asked for with another type.
  if (!FindResourceW(module, name, type)) return nullptr;
  HBITMAP bitmap = DecodeResource(module, name, type);
  CacheStore(key, bitmap);
  return bitmap;
}

HBITMAP CGDIResource::LoadResourceImage(HMODULE module, const wchar_t* name,
                                        int type) {
  return LoadResourceImageNamedType(module, name, MAKEINTRESOURCEW(type));
}

HBITMAP CGDIResource::LoadFileImageUncached(const std::wstring& path) {
  return DecodeFile(path);
}

HBITMAP CGDIResource::LoadResourceImageUncached(HMODULE module,
                                                const wchar_t* name,
                                                int type) {
  return DecodeResource(module, name, MAKEINTRESOURCEW(type));
}

HBITMAP CGDIResource::LoadSkinImage(const std::wstring& name) {
  if (name.empty()) return nullptr;
  return LoadResourceImage(DescriptionModule(), name.c_str(), kSkinImageType);
}

SIZE CGDIResource::BitmapSize(HBITMAP bitmap) {
  SIZE size = {0, 0};
  BITMAP info;
  if (bitmap && GetObjectW(bitmap, sizeof(info), &info) == sizeof(info)) {
    size.cx = info.bmWidth;
    size.cy = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  }
  return size;
}

HFONT CGDIResource::Font(FontIndex index) {
  if (index < 0 || index >= kFontCount) index = kFontDefault;
  if (!fonts_[index]) {
    FontSpec spec = FontSpecFor(index, IsChineseWindows7());
    // A failure leaves null, which GDI takes as the system font; the next
    // request tries again.
    fonts_[index] = CreateFontW(spec.height, 0, 0, 0, spec.weight, FALSE,
                                spec.underline ? TRUE : FALSE, FALSE,
                                ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH, spec.face);
  }
  return fonts_[index];
}

HICON CGDIResource::LoadIconById(int resource_id) {
  return static_cast<HICON>(LoadImageW(DescriptionModule(),
                                       MAKEINTRESOURCEW(resource_id),
                                       IMAGE_ICON, 0, 0, 0));
}

HICON CGDIResource::LoadIconFileSized(const std::wstring& path, int width,
                                      int height) {
  return static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON,
                                       width, height, LR_LOADFROMFILE));
}

HICON CGDIResource::LoadIconFile(const std::wstring& path) {
  return LoadIconFileSized(path, 0, 0);
}

CGDIResource* GetGDIResource() {
  // Destroyed by the runtime's exit handlers, after every window is gone.
  static CGDIResource instance;
  return &instance;
}

}  // namespace uikit
