#include "uikit/description.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>

#include "uikit/xml_helper.h"

namespace uikit {
namespace {

TEST(WindowDescriptionTest, LoadsResourcesWithAndWithoutByteOrderMark) {
  CWindowDescription with_bom;
  ASSERT_TRUE(with_bom.LoadFromResource(L"TESTWINDOWBOM"));
  ASSERT_NE(nullptr, with_bom.Root());
  EXPECT_EQ(L"快速安装", CXmlHelper::ReadText(with_bom.Root(), "title"));
  EXPECT_EQ(static_cast<int>(0x86000000u), CXmlHelper::ReadInt(with_bom.Root(), "style"));
  const TiXmlElement* child = with_bom.Root()->FirstChildElement();
  ASSERT_NE(nullptr, child);
  EXPECT_EQ(std::string("button"), child->ValueStr());

  // Lower-case type name as the hosts ask for it; the module is explicit.
  CWindowDescription plain;
  ASSERT_TRUE(plain.LoadFromResource(GetModuleHandleW(nullptr), L"TESTWINDOWPLAIN"));
  ASSERT_NE(nullptr, plain.Root());
  EXPECT_EQ(644, CXmlHelper::ReadInt(plain.Root(), "width"));
}

TEST(WindowDescriptionTest, MissingResourceFails) {
  CWindowDescription description;
  EXPECT_FALSE(description.LoadFromResource(L"NOSUCHWINDOW"));
  EXPECT_EQ(nullptr, description.Root());
  EXPECT_FALSE(description.LoadFromResource(nullptr));
}

TEST(WindowDescriptionTest, RootMustBeExactlyWindow) {
  struct Case {
    const char* xml;
    bool loads;
    bool has_window_root;
  };
  const Case cases[] = {
      {"<window width=\"10\"/>", true, true},
      {"\xEF\xBB\xBF<window/>", true, true},
      {"<?xml version=\"1.0\"?>\n<!-- c --><window><x/></window>", true, true},
      {"<Window/>", true, false},
      {"<dialog/>", true, false},
      {"<window>", false, false},   // unclosed
      {"not xml at all", false, false},
      {"", false, false},
  };
  for (const Case& c : cases) {
    CWindowDescription description;
    std::string xml(c.xml);
    EXPECT_EQ(c.loads, description.LoadFromMemory(xml.data(), xml.size())) << c.xml;
    EXPECT_EQ(c.has_window_root, description.Root() != nullptr) << c.xml;
  }
}

TEST(WindowDescriptionTest, ResourceBytesNeedNoTerminatingZero) {
  // Resource data ends exactly at the closing tag; nothing after it is read.
  const char bytes[] = {'<', 'w', 'i', 'n', 'd', 'o', 'w', '/', '>', '<'};
  CWindowDescription description;
  EXPECT_TRUE(description.LoadFromMemory(bytes, 9));
}

TEST(WindowDescriptionTest, LoadsFromFile) {
  wchar_t folder[MAX_PATH];
  ASSERT_NE(0u, GetTempPathW(MAX_PATH, folder));
  std::wstring path = std::wstring(folder) + L"uikit_description_test.xml";
  const char xml[] = "\xEF\xBB\xBF<window title=\"\xE4\xB8\xAD\"><static/></window>";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  DWORD written = 0;
  WriteFile(file, xml, sizeof(xml) - 1, &written, nullptr);
  CloseHandle(file);

  CWindowDescription description;
  EXPECT_TRUE(description.LoadFromFile(path));
  ASSERT_NE(nullptr, description.Root());
  EXPECT_EQ(L"中", CXmlHelper::ReadText(description.Root(), "title"));
  DeleteFileW(path.c_str());
  EXPECT_FALSE(description.LoadFromFile(path));
  EXPECT_EQ(nullptr, description.Root());
}

}  // namespace
}  // namespace uikit
