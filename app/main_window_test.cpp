#include "app/main_window.h"

#include <string>

#include "gtest/gtest.h"

TEST(MainWindowTest, DescriptionFollowsLanguageIndex) {
  const struct {
    int language_index;
    const wchar_t* description;
  } cases[] = {
      {0, L"UIMAINWINDOW"},   {1, L"ENGUIMAINWINDOW"}, {2, L"KRUIMainWindow"},
      {3, L"JPUIMainWindow"}, {4, L"VNUIMainWindow"},  {5, L"RUUIMainWindow"},
      {6, L"ENGUIMAINWINDOW"}, {-1, L"ENGUIMAINWINDOW"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::wstring(app::MainWindowDescriptionFor(c.language_index)), c.description)
        << "language index " << c.language_index;
  }
}
