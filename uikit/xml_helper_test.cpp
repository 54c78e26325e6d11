#include "uikit/xml_helper.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdint>
#include <string>

namespace uikit {
namespace {

struct IntCase {
  const wchar_t* text;
  int expected;
};

TEST(XmlHelperTest, IntegerReadsLikeScanfD) {
  const IntCase cases[] = {
      {L"", 0},
      {L"12", 12},
      {L"-7", -7},
      {L"+3", 3},
      {L" 5", 5},  // "%d" skips leading white space
      {L"\t\n42", 42},
      {L"12abc", 12},
      {L"29px", 29},
      {L"abc", 0},
      {L"-", 0},
      {L"+-1", 0},
      {L"0x10", 0},
      {L"3.7", 3},
      {L"2147483647", 2147483647},
      {L"-2147483648", INT32_MIN},
      // Above INT_MAX: the 32-bit pattern is kept (a window style).
      {L"2248146944", static_cast<int>(0x86000000u)},
      {L"4294967295", -1},
      {L"4294967296", 0},
  };
  for (const IntCase& c : cases)
    EXPECT_EQ(c.expected, CXmlHelper::ParseInt(c.text)) << "\"" << c.text << "\"";
}

struct ColourCase {
  const wchar_t* text;
  COLORREF expected;
};

TEST(XmlHelperTest, ColourNeedsExactlyThreeParts) {
  const ColourCase cases[] = {
      {L"255,0,0", 0x0000FF},  // red
      {L"0,213,254", RGB(0, 213, 254)},
      {L"250,250,250", 0xFAFAFA},
      {L"255,0", 0},
      {L"1,2,3,4", 0},
      {L"", 0},
      {L"255", 0},
      {L"1,,3", RGB(1, 0, 3)},  // empty pieces are kept, read as 0
      {L"255,0,", RGB(255, 0, 0)},
      {L",,", 0},
      {L" 5,6,7", RGB(0, 6, 7)},  // no trimming: a leading space reads 0
      {L"5, 6,7", RGB(5, 0, 7)},
      {L"5 ,6,7", RGB(5, 6, 7)},  // trailing rest ignored
      {L"256,257,-1", RGB(0, 1, 255)},  // low 8 bits of each part
      {L"+9,-0,12x", RGB(9, 0, 12)},
      {L"a,b,c", 0},
  };
  for (const ColourCase& c : cases)
    EXPECT_EQ(c.expected, CXmlHelper::ParseColour(c.text)) << "\"" << c.text << "\"";
}

struct RectCase {
  const wchar_t* text;
  RECT expected;
};

TEST(XmlHelperTest, RectangleNeedsExactlyFourParts) {
  const RectCase cases[] = {
      {L"10,10,10,10", {10, 10, 10, 10}},
      {L"3,6,3,6", {3, 6, 3, 6}},
      {L"10,10,10", {0, 0, 0, 0}},
      {L"1,2,3,4,5", {0, 0, 0, 0}},
      {L"", {0, 0, 0, 0}},
      {L"-1,2,300,4", {-1, 2, 300, 4}},
      {L" 5,1,1,1", {0, 1, 1, 1}},
      {L"1,,,4", {1, 0, 0, 4}},
  };
  for (const RectCase& c : cases) {
    RECT r = CXmlHelper::ParseRect(c.text);
    EXPECT_EQ(c.expected.left, r.left) << "\"" << c.text << "\"";
    EXPECT_EQ(c.expected.top, r.top) << "\"" << c.text << "\"";
    EXPECT_EQ(c.expected.right, r.right) << "\"" << c.text << "\"";
    EXPECT_EQ(c.expected.bottom, r.bottom) << "\"" << c.text << "\"";
  }
}

struct KeywordCase {
  const wchar_t* text;
  int default_value;
  int expected;
};

TEST(XmlHelperTest, KeywordsAreExactAndCaseSensitive) {
  const KeywordCase alignments[] = {
      {L"left", 9, 1},    {L"top", 9, 2},     {L"right", 9, 3},
      {L"bottom", 9, 4},  {L"center", 9, 5},  {L"Right", 1, 1},
      {L"CENTER", 2, 2},  {L"centre", 1, 1},  {L" right", 1, 1},
      {L"right ", 1, 1},  {L"", 2, 2},        {L"3", 1, 1},
  };
  for (const KeywordCase& c : alignments)
    EXPECT_EQ(c.expected, CXmlHelper::ParseAlignment(c.text, c.default_value))
        << "\"" << c.text << "\"";

  const KeywordCase stretches[] = {
      {L"none", 0, 0}, {L"scale", 0, 1}, {L"fill", 0, 2},
      {L"Fill", 0, 0}, {L"", 0, 0},      {L"stretch", 0, 0},
  };
  for (const KeywordCase& c : stretches)
    EXPECT_EQ(c.expected, CXmlHelper::ParseStretch(c.text)) << "\"" << c.text << "\"";
}

// The readers on a parsed element: absent attributes, flags, UTF-8 text,
// entities and line breaks.
class XmlHelperReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* xml =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<static id=\"id_static_tip2\" title=\"第一行&#10;second &amp; &lt;third&gt;\"\n"
        "        tip=\"line one\nline two\" center=\"1\" border=\"2\" empty=\"\"\n"
        "        heigth=\"29\" color=\"255,0,0\" frameCorner=\"10,10,10\"\n"
        "        xAlignment=\"right\" yAlignment=\"Bottom\" xStretch=\"fill\"\n"
        "        style=\"2248146944\"/>\n";
    document_.Parse(xml, nullptr, TIXML_ENCODING_UTF8);
    ASSERT_FALSE(document_.Error()) << document_.ErrorDesc();
    element_ = document_.RootElement();
  }

  TiXmlDocument document_;
  const TiXmlElement* element_ = nullptr;
};

TEST_F(XmlHelperReaderTest, TextIsUtf16WithEntitiesAndLineBreaks) {
  EXPECT_EQ(L"id_static_tip2", CXmlHelper::ReadText(element_, "id"));
  EXPECT_EQ(L"第一行\nsecond & <third>", CXmlHelper::ReadText(element_, "title"));
  EXPECT_EQ(L"line one\nline two", CXmlHelper::ReadText(element_, "tip"));
  EXPECT_EQ(L"", CXmlHelper::ReadText(element_, "absent"));
  EXPECT_EQ(L"", CXmlHelper::ReadText(nullptr, "id"));
}

TEST_F(XmlHelperReaderTest, NumbersFlagsAndDefaults) {
  EXPECT_EQ(static_cast<int>(0x86000000u), CXmlHelper::ReadInt(element_, "style"));
  // A misspelt attribute is not the real one.
  EXPECT_EQ(0, CXmlHelper::ReadInt(element_, "height"));
  EXPECT_EQ(29, CXmlHelper::ReadInt(element_, "heigth"));
  EXPECT_TRUE(CXmlHelper::ReadFlagOne(element_, "center"));
  EXPECT_FALSE(CXmlHelper::ReadFlagOne(element_, "border"));  // "= 1" flag
  EXPECT_TRUE(CXmlHelper::ReadFlag(element_, "border"));      // non-zero flag
  EXPECT_FALSE(CXmlHelper::ReadFlag(element_, "empty"));
  EXPECT_FALSE(CXmlHelper::ReadFlagOne(element_, "absent"));
  EXPECT_EQ(0x0000FFu, CXmlHelper::ReadColour(element_, "color"));
  EXPECT_EQ(0u, CXmlHelper::ReadColour(element_, "absent"));
  RECT corners = CXmlHelper::ReadRect(element_, "frameCorner");
  EXPECT_EQ(0, corners.left | corners.top | corners.right | corners.bottom);
  EXPECT_EQ(3, CXmlHelper::ReadAlignment(element_, "xAlignment", 1));
  EXPECT_EQ(2, CXmlHelper::ReadAlignment(element_, "yAlignment", 2));
  EXPECT_EQ(2, CXmlHelper::ReadStretch(element_, "xStretch"));
  EXPECT_EQ(0, CXmlHelper::ReadStretch(element_, "yStretch"));
}

}  // namespace
}  // namespace uikit
