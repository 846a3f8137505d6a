// Text and number helpers: conversions with the ANSI code page, fixed-point formatting,
// decimal comma, charset codes, narrow-text checks and the line scanner.
#include "core/common/text.h"

#include <climits>
#include <string>

#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/units.h"
#include "core/common/os_tests.h"
#include "platform/sim.h"
#include "support/item_context.h"
#include "support/machine_fixture.h"

namespace {

typedef std::basic_string<WCHAR> WString;

std::string Narrow(const WCHAR* text) {
  std::string out;
  for (; *text; ++text) out += *text < 0x80 ? char(*text) : '#';
  return out;
}

class TextTest : public zems_test::MachineTest {};
class TextInContextTest : public zems_test::ItemContextTest {};

TEST_F(TextTest, FixedPoint) {
  struct {
    LONG value;
    LONG divisor;
    const char* expected;
  } cases[] = {
      {2970, 10, "297.0"},     {1169, 100, "11.69"},   {5, 100, "0.05"},          {5, 10000, "0.0005"},
      {42, 1, "42"},           {42, 0, "42"},          {7, 1000, "0.007"},        {123456, 100000, "123456"},
      {-5, 100, "-0.05"},      {-2970, 10, "-297.0"},  {-7, 1, "-7"},             {LONG_MIN, 1, "-2147483648"},
      {LONG_MAX, 10000, "214748.3647"},
  };
  for (const auto& c : cases) {
    WCHAR buffer[32];
    StrFormatFixedPoint(buffer, 32, c.divisor, c.value, FALSE);
    EXPECT_EQ(c.expected, Narrow(buffer)) << c.value << " / " << c.divisor;
  }
}

// The display language of the context decides the separator (the caller asks it); the
// number itself is unchanged.
TEST_F(TextInContextTest, FixedPointWithTheLanguagesDecimalComma) {
  struct {
    LONG language;
    LONG value;
    LONG divisor;
    const char* expected;
  } cases[] = {
      {2, 2970, 10, "297,0"}, {2, 1169, 100, "11,69"}, {2, 42, 1, "42"},
      {0, 2970, 10, "297.0"}, {0, 1169, 100, "11.69"},
  };
  for (const auto& c : cases) {
    ItemSetRawById(ctx(), kItem_zdmLanguageID, c.language);
    WCHAR buffer[16];
    StrFormatFixedPoint(buffer, 16, c.divisor, c.value, ItemLangUsesDecimalComma(ctx()));
    EXPECT_EQ(c.expected, Narrow(buffer)) << "language " << c.language << ": " << c.value << " / " << c.divisor;
  }
}

TEST_F(TextTest, FixedPointStaysInsideItsBuffer) {
  WCHAR buffer[8];
  for (WCHAR& c : buffer) c = 'x';
  StrFormatFixedPoint(buffer, 4, 10, 2970, FALSE);
  EXPECT_EQ("297", Narrow(buffer));
  EXPECT_EQ('x', buffer[4]);
  StrFormatFixedPoint(buffer, 0, 10, 2970, FALSE);  // no room: nothing written
  EXPECT_EQ("297", Narrow(buffer));
}

TEST_F(TextTest, DecimalComma) {
  struct {
    const char* text;
    const char* expected;
    int stop;  // index of the '(' where the scan stopped, -1 when it reached the start
  } cases[] = {
      {"297.0", "297,0", -1},
      {"1.2.3", "1,2,3", -1},
      {"A4(210.0 x 297.0mm)", "A4(210,0 x 297,0mm)", 2},
      {"v1.0 (2.5)", "v1.0 (2,5)", 5},
      {"", "", -1},
  };
  for (const auto& c : cases) {
    WString text(c.text, c.text + strlen(c.text));
    WCHAR* stop = StrUseDecimalComma(&text[0]);
    EXPECT_EQ(c.expected, Narrow(text.c_str()));
    EXPECT_EQ(c.stop, stop ? int(stop - text.c_str()) : -1) << c.text;
  }
}

TEST_F(TextTest, AnsiToWide) {
  WCHAR wide[8];
  StrAnsiToWide(wide, "caf\xE9", 0);
  EXPECT_EQ(WString(u"caf\u00E9"), WString(wide));
  for (WCHAR& c : wide) c = 'x';
  StrAnsiToWide(wide, "abcdef", 3);
  EXPECT_EQ(WString(u"ab"), WString(wide));
  EXPECT_EQ('x', wide[3]) << "nothing past n characters";
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  StrAnsiToWide(wide, "\x93\xFA\x96\x7B", 8);
  EXPECT_EQ(WString(u"\u65E5\u672C"), WString(wide));
}

TEST_F(TextTest, WideToAnsi) {
  struct {
    UINT codePage;
    const char16_t* wide;
    int n;
    const char* expected;
  } cases[] = {
      {1252, u"abcdef", 0, "abcdef"},
      {1252, u"abcdef", 4, "abc"},
      {1252, u"caf\u00E9", 0, "caf\xE9"},
      {1252, u"\u65E5x", 0, "?x"},  // not in the code page
      {932, u"a\u3042\u3044", 0, "a\x82\xA0\x82\xA2"},
      {932, u"a\u3042\u3044", 3, "a"},  // the cut never splits a double-byte character
      {932, u"a\u3042\u3044", 4, "a\x82\xA0"},
      {932, u"a\u3042\u3044", 5, "a\x82\xA0"},
      {932, u"\u3042", 2, ""},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(SimSetAnsiCodePage(c.codePage));
    char narrow[16];
    memset(narrow, 'x', sizeof narrow);
    StrWideToAnsi(narrow, reinterpret_cast<const WCHAR*>(c.wide), c.n);
    EXPECT_STREQ(c.expected, narrow) << "n = " << c.n;
    if (c.n > 0) {
      EXPECT_EQ('x', narrow[c.n]) << "n = " << c.n << ": nothing past n bytes";
    }
  }
}

TEST_F(TextTest, ConversionsTakeNullTextAsEmpty) {
  WCHAR wide[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(wide, StrAnsiToWide(wide, nullptr, 4));
  EXPECT_EQ(0, wide[0]);
  char narrow[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(narrow, StrWideToAnsi(narrow, nullptr, 4));
  EXPECT_EQ(0, narrow[0]);
  EXPECT_EQ(nullptr, StrAnsiToWide(nullptr, "a", 4));
  EXPECT_EQ(nullptr, StrWideToAnsi(nullptr, wide, 4));
}

TEST_F(TextTest, CharsetCodes) {
  EXPECT_EQ(2, OsAnsiCharsetCode());
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  EXPECT_EQ(1, OsAnsiCharsetCode());
  struct {
    UINT charset;
    int code;
  } cases[] = {{SHIFTJIS_CHARSET, 1},    {ANSI_CHARSET, 2},     {EASTEUROPE_CHARSET, 3}, {GREEK_CHARSET, 4},
               {RUSSIAN_CHARSET, 5},     {TURKISH_CHARSET, 6},  {BALTIC_CHARSET, 7},     {GB2312_CHARSET, 8},
               {CHINESEBIG5_CHARSET, 9}, {HEBREW_CHARSET, 10},  {ARABIC_CHARSET, 11},    {THAI_CHARSET, 12},
               {JOHAB_CHARSET, 13},      {HANGEUL_CHARSET, 13}, {VIETNAMESE_CHARSET, 0}, {SYMBOL_CHARSET, 0}};
  for (const auto& c : cases) EXPECT_EQ(c.code, OsCharsetCode(c.charset)) << "charset " << c.charset;
}

TEST_F(TextTest, NarrowTextChecks) {
  struct {
    const char* text;
    int digits;
    int alnum;
  } cases[] = {{"0042", 1, 1}, {"12a", 0, 1}, {"ab-1", 0, 0}, {"", 1, 1}, {"AbZ9", 0, 1}, {"\xE9", 0, 0}, {" 1", 0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.digits, StrIsDigits(c.text)) << c.text;
    EXPECT_EQ(c.alnum, StrIsAlnum(c.text)) << c.text;
  }
  EXPECT_EQ(0, StrIsDigits(nullptr));
  EXPECT_EQ(0, StrIsAlnum(nullptr));
}

TEST_F(TextTest, NextLine) {
  const char text[] = "ab\n\ncd";
  int count = 0;
  const char* p = StrNextLine(text, &count);
  EXPECT_EQ(text + 3, p);
  EXPECT_EQ(3, count);
  p = StrNextLine(p, &count);
  EXPECT_EQ(text + 4, p);
  EXPECT_EQ(1, count);
  p = StrNextLine(p, &count);
  EXPECT_EQ(text + sizeof text, p) << "after the terminator";
  EXPECT_EQ(3, count);
  EXPECT_EQ(text + 3, StrNextLine(text, nullptr));
  EXPECT_EQ(nullptr, StrNextLine(nullptr, &count));
}

}  // namespace
