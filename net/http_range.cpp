#include "net/http_range.h"

#include <cstdio>

namespace net {

std::string RangeHeader(DWORD begin, DWORD end) {
  char header[64];
  snprintf(header, sizeof(header), "Range:bytes=%lu-%lu\r\n",
           static_cast<unsigned long>(begin),
           static_cast<unsigned long>(end - 1));
  return header;
}

uint64_t WholeSizeOfRangeAnswer(const std::wstring& content_range,
                                DWORD request_begin, DWORD content_length) {
  const uint64_t rest = static_cast<uint64_t>(request_begin) + content_length;
  const size_t slash = content_range.rfind(L'/');
  if (slash == std::wstring::npos || slash + 1 >= content_range.size())
    return rest;
  uint64_t total = 0;
  for (size_t i = slash + 1; i < content_range.size(); ++i) {
    const wchar_t c = content_range[i];
    if (c < L'0' || c > L'9') return rest;
    total = total * 10 + static_cast<uint64_t>(c - L'0');
    if (total > 0xFFFFFFFFull) return rest;  // Files stay below 4 GiB.
  }
  return total;
}

}  // namespace net
