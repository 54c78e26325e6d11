#include "app/language.h"

#include <gtest/gtest.h>

#include <string>

#include "app/global.h"

namespace app {
namespace {

TEST(LanguageTest, RuleTable) {
  const struct { LANGID id; int chinese; int index; } kCases[] = {
      {0x0804, 1, 0},   // Chinese (PRC)
      {0x0404, 0, 6},   // Chinese (Taiwan)
      {0x0C04, 0, 6},   // Chinese (Hong Kong)
      {0x1004, 0, 6},   // Chinese (Singapore)
      {0x1404, 0, 6},   // Chinese (Macao)
      {0x0004, 0, 6},   // neutral Chinese
      {0x0409, 0, 6},   // English (US)
      {0x0412, 0, 6},   // Korean
      {0x0411, 0, 6},   // Japanese
      {0x042A, 0, 6},   // Vietnamese
      {0x0419, 0, 6},   // Russian
      {0x0000, 0, 6},
  };
  for (const auto& c : kCases) {
    LanguageChoice choice = ChooseLanguage(c.id);
    EXPECT_EQ(c.chinese, choice.chinese) << std::hex << c.id;
    EXPECT_EQ(c.index, choice.language_index) << std::hex << c.id;
  }
}

TEST(LanguageTest, NamesTable) {
  const struct {
    int index;
    const wchar_t *main, *multi, *uninstall, *folder;
  } kCases[] = {
      {0, L"泰维模拟器.lnk", L"泰维多开器.lnk", L"泰维卸载器.lnk", L"\\泰维模拟器"},
      {1, L"Qiv.lnk", L"Stage-Deck.lnk", L"Qiv_unload.lnk", L"\\Qiv"},
      {2, L"Qiv.lnk", L"Stage-Deck.lnk", L"Qiv_unload.lnk", L"\\Qiv"},
      {6, L"Qiv.lnk", L"Stage-Deck.lnk", L"Qiv_unload.lnk", L"\\Qiv"},
      {-1, L"Qiv.lnk", L"Stage-Deck.lnk", L"Qiv_unload.lnk", L"\\Qiv"},
  };
  for (const auto& c : kCases) {
    LanguageNames names = NamesForLanguageIndex(c.index);
    EXPECT_STREQ(c.main, names.main_shortcut) << c.index;
    EXPECT_STREQ(c.multi, names.multi_shortcut) << c.index;
    EXPECT_STREQ(c.uninstall, names.uninstall_shortcut) << c.index;
    EXPECT_STREQ(c.folder, names.program_folder) << c.index;
  }
}

TEST(LanguageTest, TaiwanGetsEnglishSettings) {
  const StartupSettings saved = CGlobal::startup();
  ApplyLanguage(0x0404);
  EXPECT_EQ(0x0404, CGlobal::lang_id());
  EXPECT_EQ(0, CGlobal::chinese());
  EXPECT_EQ(6, CGlobal::language_index());
  EXPECT_EQ(L"Qiv.lnk", CGlobal::startup().main_shortcut_name);
  EXPECT_EQ(L"\\Qiv", CGlobal::startup().program_folder_name);
  ApplyLanguage(0x0804);
  EXPECT_EQ(1, CGlobal::chinese());
  EXPECT_EQ(L"泰维卸载器.lnk", CGlobal::startup().uninstall_shortcut_name);
  CGlobal::mutable_startup() = saved;
}

}  // namespace
}  // namespace app
