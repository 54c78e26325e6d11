// Byte-range rules of the transfers: the Range header a request sends and
// the size of the whole file as a 206 answer tells it.
//
// Ranges are closed ("bytes=<first>-<last>"): the answer then ends where the
// range ends. An open range ("bytes=<first>-") makes the server send the
// rest of the file into a connection that is closed once the range is
// written; closing such a request makes WinINet (wine's at least) read the
// unread rest off the connection first, which costs as long as downloading
// it. The range probe asks for the first byte only, for the same reason.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace net {

// "Range:bytes=<first>-<last>\r\n" for [begin, end); end > begin.
std::string RangeHeader(DWORD begin, DWORD end);

// Size of the whole file from a Content-Range value ("bytes 0-0/10003");
// when that is missing or has no numeric total ("*"), the answer is taken to
// carry the rest of the file: request_begin + content_length.
uint64_t WholeSizeOfRangeAnswer(const std::wstring& content_range,
                                DWORD request_begin, DWORD content_length);

}  // namespace net
