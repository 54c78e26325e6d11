#include "app/language.h"

#include "app/global.h"

namespace app {

namespace {

constexpr LANGID kChineseSimplifiedPrc = 0x0804;

const LanguageNames kChineseNames = {
    L"泰维模拟器.lnk", L"泰维多开器.lnk", L"泰维卸载器.lnk", L"\\泰维模拟器"};
const LanguageNames kEnglishNames = {L"Qiv.lnk", L"Stage-Deck.lnk", L"Qiv_unload.lnk",
                                     L"\\Qiv"};

}  // namespace

LanguageChoice ChooseLanguage(LANGID lang_id) {
  LanguageChoice choice;
  if (lang_id == kChineseSimplifiedPrc) {
    choice.chinese = 1;
    choice.language_index = kLanguageChinese;
  }
  return choice;
}

LanguageNames NamesForLanguageIndex(int language_index) {
  return language_index == kLanguageChinese ? kChineseNames : kEnglishNames;
}

void ApplyLanguage(LANGID lang_id) {
  StartupSettings& settings = CGlobal::mutable_startup();
  LanguageChoice choice = ChooseLanguage(lang_id);
  settings.lang_id = lang_id;
  settings.chinese = choice.chinese;
  settings.language_index = choice.language_index;
  LanguageNames names = NamesForLanguageIndex(choice.language_index);
  settings.main_shortcut_name = names.main_shortcut;
  settings.multi_shortcut_name = names.multi_shortcut;
  settings.uninstall_shortcut_name = names.uninstall_shortcut;
  settings.program_folder_name = names.program_folder;
}

void InitLanguage() { ApplyLanguage(GetSystemDefaultLangID()); }

}  // namespace app
