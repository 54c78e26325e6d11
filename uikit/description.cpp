#include "uikit/description.h"

#include <tinyxml.h>

#include <cstring>
#include <string>

namespace uikit {

namespace {

HMODULE g_description_module = nullptr;

// Closes a file handle on every way out.
class ScopedFile {
 public:
  explicit ScopedFile(HANDLE handle) : handle_(handle) {}
  ~ScopedFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Descriptions are small; anything larger is not one of ours.
constexpr DWORD kMaxDescriptionBytes = 16u * 1024u * 1024u;

}  // namespace

HMODULE DescriptionModule() {
  return g_description_module ? g_description_module
                              : GetModuleHandleW(nullptr);
}

void SetDescriptionModule(HMODULE module) { g_description_module = module; }

CWindowDescription::CWindowDescription() = default;
CWindowDescription::~CWindowDescription() = default;

bool CWindowDescription::LoadFromResource(HMODULE module, const wchar_t* name) {
  document_.reset();
  if (!name) return false;
  // windres stores the type upper-case ("XML"); the lookup ignores case.
  HRSRC info = FindResourceW(module, name, L"xml");
  if (!info) return false;
  DWORD size = SizeofResource(module, info);
  HGLOBAL loaded = LoadResource(module, info);
  // Resource memory is part of the mapped module: nothing to free.
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return false;
  return LoadFromMemory(static_cast<const char*>(bytes), size);
}

bool CWindowDescription::LoadFromResource(const wchar_t* name) {
  return LoadFromResource(DescriptionModule(), name);
}

bool CWindowDescription::LoadFromFile(const std::wstring& path) {
  document_.reset();
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
      size.QuadPart > kMaxDescriptionBytes)
    return false;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read,
                nullptr) ||
      read != bytes.size())
    return false;
  return LoadFromMemory(bytes.data(), bytes.size());
}

bool CWindowDescription::LoadFromMemory(const char* bytes, size_t size) {
  document_.reset();
  if (!bytes || size == 0) return false;
  // TinyXML reads up to a terminating zero; resource data has none.
  std::string text(bytes, size);
  text.resize(std::strlen(text.c_str()));
  auto document = std::make_unique<TiXmlDocument>();
  // Descriptions are UTF-8 whatever the declaration says; TinyXML skips a
  // UTF-8 byte-order mark in this mode too.
  document->Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
  if (document->Error() || !document->RootElement()) return false;
  document_ = std::move(document);
  return true;
}

const TiXmlElement* CWindowDescription::DocumentElement() const {
  return document_ ? document_->RootElement() : nullptr;
}

const TiXmlElement* CWindowDescription::Root() const {
  const TiXmlElement* root = DocumentElement();
  if (!root || root->ValueStr() != "window") return nullptr;
  return root;
}

}  // namespace uikit
