#include "uikit/xml_helper.h"

#include <tinyxml.h>

#include <cstdint>
#include <vector>

#include "uikit/gdi_resource.h"

namespace uikit {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// sscanf's "%d" skips any white space first.
bool IsScanfSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' ||
         c == L'\r';
}

// Optional sign and leading decimal digits from `pos`, nothing skipped.
// The value wraps modulo 2^32 like the runtime's "%d" conversion, so a
// style of "2248146944" keeps its bit pattern. No digits → 0.
int ReadSignedDigits(const std::wstring& text, size_t pos) {
  bool negative = false;
  if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
    negative = text[pos] == L'-';
    ++pos;
  }
  if (pos >= text.size() || !IsDigit(text[pos])) return 0;
  uint32_t value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos)
    value = value * 10u + static_cast<uint32_t>(text[pos] - L'0');
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

// Cuts at every ",", keeping empty pieces.
std::vector<std::wstring> SplitCommas(const std::wstring& text) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(L',', start);
    if (comma == std::wstring::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

const char* RawAttribute(const TiXmlElement* element, const char* name) {
  return element ? element->Attribute(name) : nullptr;
}

struct Keyword {
  const wchar_t* text;
  int code;
};

const Keyword kAlignments[] = {
    {L"left", 1}, {L"top", 2}, {L"right", 3}, {L"bottom", 4}, {L"center", 5}};
const Keyword kStretches[] = {{L"none", 0}, {L"scale", 1}, {L"fill", 2}};

template <size_t N>
int LookUp(const Keyword (&table)[N], const std::wstring& value,
           int default_value) {
  for (const Keyword& keyword : table)
    if (value == keyword.text) return keyword.code;
  return default_value;
}

}  // namespace

int CXmlHelper::ParseInt(const std::wstring& value) {
  size_t pos = 0;
  while (pos < value.size() && IsScanfSpace(value[pos])) ++pos;
  return ReadSignedDigits(value, pos);
}

COLORREF CXmlHelper::ParseColour(const std::wstring& value) {
  std::vector<std::wstring> parts = SplitCommas(value);
  if (parts.size() != 3) return 0;
  BYTE red = static_cast<BYTE>(ReadSignedDigits(parts[0], 0) & 0xFF);
  BYTE green = static_cast<BYTE>(ReadSignedDigits(parts[1], 0) & 0xFF);
  BYTE blue = static_cast<BYTE>(ReadSignedDigits(parts[2], 0) & 0xFF);
  return RGB(red, green, blue);
}

RECT CXmlHelper::ParseRect(const std::wstring& value) {
  RECT rect = {0, 0, 0, 0};
  std::vector<std::wstring> parts = SplitCommas(value);
  if (parts.size() != 4) return rect;
  rect.left = ReadSignedDigits(parts[0], 0);
  rect.top = ReadSignedDigits(parts[1], 0);
  rect.right = ReadSignedDigits(parts[2], 0);
  rect.bottom = ReadSignedDigits(parts[3], 0);
  return rect;
}

int CXmlHelper::ParseAlignment(const std::wstring& value, int default_value) {
  return LookUp(kAlignments, value, default_value);
}

int CXmlHelper::ParseStretch(const std::wstring& value) {
  return LookUp(kStretches, value, 0);
}

std::wstring CXmlHelper::Utf8ToWide(const char* utf8) {
  if (!utf8 || !*utf8) return std::wstring();
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  if (length <= 1) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

std::wstring CXmlHelper::ReadText(const TiXmlElement* element,
                                  const char* name) {
  return Utf8ToWide(RawAttribute(element, name));
}

int CXmlHelper::ReadInt(const TiXmlElement* element, const char* name) {
  return ParseInt(ReadText(element, name));
}

bool CXmlHelper::ReadFlag(const TiXmlElement* element, const char* name) {
  return ReadInt(element, name) != 0;
}

bool CXmlHelper::ReadFlagOne(const TiXmlElement* element, const char* name) {
  return ReadInt(element, name) == 1;
}

COLORREF CXmlHelper::ReadColour(const TiXmlElement* element,
                                const char* name) {
  return ParseColour(ReadText(element, name));
}

RECT CXmlHelper::ReadRect(const TiXmlElement* element, const char* name) {
  return ParseRect(ReadText(element, name));
}

HBITMAP CXmlHelper::ReadImage(const TiXmlElement* element, const char* name) {
  return GetGDIResource()->LoadSkinImage(ReadText(element, name));
}

int CXmlHelper::ReadAlignment(const TiXmlElement* element, const char* name,
                              int default_value) {
  return ParseAlignment(ReadText(element, name), default_value);
}

int CXmlHelper::ReadStretch(const TiXmlElement* element, const char* name) {
  return ParseStretch(ReadText(element, name));
}

}  // namespace uikit
