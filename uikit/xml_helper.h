// CXmlHelper: the shared readers of window-description attribute values.
//
// Every control's LoadAttributes reads its attributes through these readers,
// so one table of rules holds for the whole vocabulary. No reader fails: an
// absent attribute, a malformed number, a wrong part count or an unknown
// keyword yields the default of its syntax, and the control is still made.
// Attribute values arrive from TinyXML as UTF-8 (entities already
// unescaped) and are converted to UTF-16 before they are read; keyword
// comparisons are exact and case-sensitive.
//
// Value syntaxes
//
// | Syntax     | Written as                      | Result / default                                   |
// |------------|---------------------------------|----------------------------------------------------|
// | text       | any text, line breaks kept      | UTF-16 text; absent → empty                        |
// | integer    | like sscanf "%d": leading white | 32-bit int; no number → 0; "2248146944" keeps its  |
// |            | space, optional sign, digits,   | 32-bit pattern (0x86000000): values wrap modulo    |
// |            | the rest ignored                | 2^32                                               |
// | flag       | integer                         | "= 1" flags: only 1 is on; others: non-zero is on  |
// | colour     | "R,G,B" decimal                 | COLORREF R + 256·G + 65536·B, each part cut to its |
// |            |                                 | low 8 bits; not exactly 3 parts → 0 (black)        |
// | rectangle  | "L,T,R,B" decimal               | RECT; not exactly 4 parts → 0,0,0,0                |
// | image      | name of a PNG resource of type  | bitmap from the shared image cache; empty or not   |
// |            | 6000                            | found → no image (nullptr)                         |
// | alignment  | "left" 1, "top" 2, "right" 3,   | the code; absent or unknown → the attribute's      |
// |            | "bottom" 4, "center" 5          | default                                            |
// | stretch    | "none" 0, "scale" 1, "fill" 2   | the code; absent or unknown → 0 (none)             |
//
// Colour and rectangle values are cut at every ",", keeping empty pieces
// ("1,,3" has three parts, the middle one 0). Each part is read as an
// optional sign and leading decimal digits with nothing skipped: a part that
// begins with a space (" 5") reads as 0, unlike the integer syntax.
//
// Example: <button id="id_install" left="160" top="28" width="180" height="42"
//            xAlignment="right" image="DLG_BTN_INSTALL" textcolor="250,250,250"
//            corner="3,6,3,6"/>
//
// Threads: the pure parsers are safe on any thread; ReadImage touches the
// image cache and is UI thread only.
#pragma once

#include <windows.h>

#include <string>

class TiXmlElement;

namespace uikit {

class CXmlHelper {
 public:
  // Parsers of one value text (the attribute's value, already UTF-16).
  static int ParseInt(const std::wstring& value);
  static COLORREF ParseColour(const std::wstring& value);
  static RECT ParseRect(const std::wstring& value);
  // Returns the keyword's code, or default_value when it is none of them.
  static int ParseAlignment(const std::wstring& value, int default_value);
  static int ParseStretch(const std::wstring& value);

  // Readers: element may be null (then every reader returns its default).
  static std::wstring ReadText(const TiXmlElement* element, const char* name);
  static int ReadInt(const TiXmlElement* element, const char* name);
  // A flag that any non-zero value switches on.
  static bool ReadFlag(const TiXmlElement* element, const char* name);
  // A flag that only the value 1 switches on ("center", "border").
  static bool ReadFlagOne(const TiXmlElement* element, const char* name);
  static COLORREF ReadColour(const TiXmlElement* element, const char* name);
  static RECT ReadRect(const TiXmlElement* element, const char* name);
  // The named skin image (resource type 6000 of the description module,
  // see description.h), loaded through the shared image cache. The cache
  // owns the bitmap: callers never delete it.
  static HBITMAP ReadImage(const TiXmlElement* element, const char* name);
  static int ReadAlignment(const TiXmlElement* element, const char* name,
                           int default_value);
  static int ReadStretch(const TiXmlElement* element, const char* name);

  // UTF-8 → UTF-16 (invalid sequences become U+FFFD).
  static std::wstring Utf8ToWide(const char* utf8);
};

}  // namespace uikit
