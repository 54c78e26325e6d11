#include "installer/util/string_conv.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

std::wstring MultiByteToWide(const char* text, int length, UINT code_page) {
  if (text == nullptr || length == 0) return std::wstring();
  int needed = MultiByteToWideChar(code_page, 0, text, length, nullptr, 0);
  if (needed <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(needed), L'\0');
  if (MultiByteToWideChar(code_page, 0, text, length, &out[0], needed) != needed)
    return std::wstring();
  return out;
}

std::string WideToMultiByte(const std::wstring& text, UINT code_page) {
  if (text.empty()) return std::string();
  int length = static_cast<int>(text.size());
  int needed = WideCharToMultiByte(code_page, 0, text.data(), length, nullptr, 0,
                                   nullptr, nullptr);
  if (needed <= 0) return std::string();
  std::string out(static_cast<size_t>(needed), '\0');
  if (WideCharToMultiByte(code_page, 0, text.data(), length, &out[0], needed,
                          nullptr, nullptr) != needed)
    return std::string();
  return out;
}

}  // namespace

std::string WideToAnsi(const std::wstring& text) {
  return WideToMultiByte(text, CP_ACP);
}

std::wstring AnsiToWide(const std::string& text) {
  std::wstring out = MultiByteToWide(text.data(), static_cast<int>(text.size()), CP_ACP);
  // Files saved by Notepad carry a byte-order mark that survives conversion.
  if (!out.empty() && out[0] == 0xFEFF) out.erase(0, 1);
  return out;
}

std::wstring Utf8ToWide(const char* text) {
  if (text == nullptr) return std::wstring();
  return MultiByteToWide(text, static_cast<int>(strlen(text)), CP_UTF8);
}

std::wstring Utf8ToWide(const std::string& text) {
  return MultiByteToWide(text.data(), static_cast<int>(text.size()), CP_UTF8);
}

std::string WideToUtf8(const std::wstring& text) {
  return WideToMultiByte(text, CP_UTF8);
}

std::string Utf8ToAnsi(const std::string& text) {
  return WideToAnsi(Utf8ToWide(text));
}

wchar_t* MultiByteToWideBuffer(wchar_t* target, const char* source,
                               int capacity, unsigned code_page) {
  if (target == nullptr || capacity <= 0) return nullptr;
  target[0] = 0;
  if (source == nullptr) return nullptr;
  // -1: convert the terminator too, so the result is always terminated.
  if (MultiByteToWideChar(code_page, 0, source, -1, target, capacity) == 0) {
    target[0] = 0;
    return nullptr;
  }
  return target;
}

char* WideToMultiByteBuffer(char* target, const wchar_t* source,
                            int capacity, unsigned code_page) {
  if (target == nullptr || capacity <= 0) return nullptr;
  target[0] = 0;
  if (source == nullptr) return nullptr;
  if (WideCharToMultiByte(code_page, 0, source, -1, target, capacity, nullptr,
                          nullptr) == 0) {
    target[0] = 0;
    return nullptr;
  }
  return target;
}

std::wstring ToUpper(const std::wstring& text) {
  std::wstring out = text;
  if (!out.empty()) CharUpperBuffW(&out[0], static_cast<DWORD>(out.size()));
  return out;
}

bool EqualsIgnoreCase(const std::wstring& a, const std::wstring& b) {
  return ToUpper(a) == ToUpper(b);
}

std::wstring UintToWide(unsigned value) {
  wchar_t buffer[16];
  swprintf(buffer, 16, L"%u", value);
  return buffer;
}

std::wstring IntToWide(int value) {
  wchar_t buffer[16];
  swprintf(buffer, 16, L"%d", value);
  return buffer;
}

std::wstring LongToWide(long value) {
  wchar_t buffer[24];
  swprintf(buffer, 24, L"%ld", value);
  return buffer;
}

std::string LongToAnsi(long value) {
  char buffer[24];
  snprintf(buffer, sizeof(buffer), "%ld", value);
  return buffer;
}

std::string DoubleToAnsi(double value) {
  char buffer[352];  // "%.0f" of DBL_MAX has 309 digits.
  snprintf(buffer, sizeof(buffer), "%.0f", value);
  return buffer;
}

std::string IntToAnsi(int value) {
  std::ostringstream stream;
  stream << value;
  return stream.str();
}

unsigned long AnsiToUlong(const std::string& text) {
  return strtoul(text.c_str(), nullptr, 10);
}
