// The language rule: the system's default language picks the language
// index, the Chinese flag and the names of shortcuts and the Start Menu
// folder. Only Chinese as used in the People's Republic of China (0x0804)
// counts as Chinese; every other language, other Chinese variants included,
// gets the English names.
#pragma once

#include <windows.h>

namespace app {

constexpr int kLanguageChinese = 0;
constexpr int kLanguageOther = 6;

struct LanguageChoice {
  int chinese = 0;
  int language_index = kLanguageOther;
};

struct LanguageNames {
  const wchar_t* main_shortcut;
  const wchar_t* multi_shortcut;
  const wchar_t* uninstall_shortcut;
  const wchar_t* program_folder;  // appended to the Start Menu folder
};

// Pure.
LanguageChoice ChooseLanguage(LANGID lang_id);
// Pure. Index 0 gives the Chinese names, every other index the English ones.
LanguageNames NamesForLanguageIndex(int language_index);

// Applies the rule for `lang_id` to CGlobal's start-up settings.
void ApplyLanguage(LANGID lang_id);
// ApplyLanguage(GetSystemDefaultLangID()). Main thread, at start.
void InitLanguage();

}  // namespace app
