// CWindowDescription: one window description, parsed.
//
// A description is a UTF-8 XML document (with or without a byte-order mark)
// compiled into the program as a resource of the string type "xml", looked
// up by name without a language preference. The window hosts load it here,
// check that the root element is "window" and then walk its children with
// the CXmlHelper readers. The same parser serves descriptions read from a
// file (the gallery tool) or from memory (tests).
//
// The description module is the module whose resources hold the
// descriptions and the skin images (type 6000). It is the program's own
// executable unless SetDescriptionModule says otherwise.
//
// Threads: any thread for parsing; hosts use it on the UI thread.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class TiXmlDocument;
class TiXmlElement;

namespace uikit {

// The module of descriptions and skin images; GetModuleHandleW(nullptr)
// until set. Set once at start-up, before the first window is built.
HMODULE DescriptionModule();
void SetDescriptionModule(HMODULE module);

class CWindowDescription {
 public:
  CWindowDescription();
  ~CWindowDescription();
  CWindowDescription(const CWindowDescription&) = delete;
  CWindowDescription& operator=(const CWindowDescription&) = delete;

  // Each Load replaces the previous document. False when the resource or
  // file is missing or the XML does not parse; Root() is then null.
  bool LoadFromResource(HMODULE module, const wchar_t* name);
  bool LoadFromResource(const wchar_t* name);  // DescriptionModule()
  bool LoadFromFile(const std::wstring& path);
  bool LoadFromMemory(const char* bytes, size_t size);

  // The root element when it is named "window" (exactly); null for any
  // other root or when nothing is loaded. The document owns the element.
  const TiXmlElement* Root() const;
  // The document element whatever its name (null when nothing is loaded).
  const TiXmlElement* DocumentElement() const;

 private:
  std::unique_ptr<TiXmlDocument> document_;
};

}  // namespace uikit
