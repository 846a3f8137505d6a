// Conformance cases for the locale information the driver asks: the country code
// (LOCALE_ICOUNTRY) of the locales of its languages, the size query and a buffer too small.
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

}  // namespace
