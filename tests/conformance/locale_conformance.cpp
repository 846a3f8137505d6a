// Conformance cases for the locale information the driver asks: the country code
// (LOCALE_ICOUNTRY) of the locales of its languages, the size query and a buffer too small;
// and the word sort by which lstrcmpW and lstrcmpiW order texts.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"

namespace {

TEST(LocaleConformance, CountryCodes) {
  struct Case {
    LCID lcid;
    const char16_t* country;
  } cases[] = {{0x0409, u"1"}, {0x1009, u"1"}, {0x0436, u"27"}, {0x0407, u"49"}, {0x0416, u"55"}, {0x0411, u"81"},
               {0x0405, u"420"}, {0x0419, u"7"}, {0x040C, u"33"}, {0x0804, u"86"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lcid);
    WCHAR buffer[8] = {};
    const int expected = int(std::char_traits<char16_t>::length(c.country)) + 1;
    EXPECT_EQ(expected, GetLocaleInfoW(c.lcid, LOCALE_ICOUNTRY, buffer, 8));
    EXPECT_EQ(0, std::char_traits<char16_t>::compare(reinterpret_cast<const char16_t*>(buffer), c.country, expected));
    EXPECT_EQ(expected, GetLocaleInfoW(c.lcid, LOCALE_ICOUNTRY, nullptr, 0));
  }
  WCHAR tiny[2];
  SetLastError(0);
  EXPECT_EQ(0, GetLocaleInfoW(0x0405, LOCALE_ICOUNTRY, tiny, 2));
  EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
}

// The word sort leaves hyphen and apostrophe out at first, so "a-c" sorts after "ab" (by
// code units it would sort before); a text that differs only by them sorts after the one
// without. Case counts only after the letters, lower case first.
TEST(LocaleConformance, LstrcmpUsesTheWordSort) {
  struct Case {
    const WCHAR* a;
    const WCHAR* b;
    int withCase, withoutCase;  // sign of lstrcmpW and lstrcmpiW
  } cases[] = {
      {TEXT("ab"), TEXT("a-b"), -1, -1},    {TEXT("a-c"), TEXT("ab"), 1, 1},
      {TEXT("co-op"), TEXT("coop"), 1, 1},  {TEXT("don't"), TEXT("dont"), 1, 1},
      {TEXT("a'z"), TEXT("ab"), 1, 1},      {TEXT("a-b"), TEXT("a'b"), 1, 1},
      {TEXT("a-b"), TEXT("ab-"), 1, 1},     {TEXT("A-b"), TEXT("ab"), 1, 1},
      {TEXT("a"), TEXT("A"), -1, 0},        {TEXT("abc"), TEXT("ABD"), -1, -1},
      {TEXT("a-b"), TEXT("a-b"), 0, 0},     {TEXT("ab"), TEXT("abc"), -1, -1},
  };
  auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
  for (const Case& c : cases) {
    std::basic_string<WCHAR> a = c.a, b = c.b;
    SCOPED_TRACE(std::string(a.begin(), a.end()) + " / " + std::string(b.begin(), b.end()));
    EXPECT_EQ(sign(lstrcmpW(c.a, c.b)), c.withCase);
    EXPECT_EQ(sign(lstrcmpW(c.b, c.a)), -c.withCase);
    EXPECT_EQ(sign(lstrcmpiW(c.a, c.b)), c.withoutCase);
  }
}

}  // namespace
