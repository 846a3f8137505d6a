// The user messages' formatter, one table in both builds: a language string is a format only
// through it, and nothing is read that was not given.
#include <gtest/gtest.h>

#include <string>

#include "core/system/user_messages.h"

namespace {

TEST(MessageFormat, FillsOnlyWhatWasGiven) {
  const WORD three[] = {10, 20, 65535};
  const WORD six[] = {7, 42, 9, 255, 4096, 65535};
  const char16_t kText[] = u"C:\\a.rst";
  struct Case {
    const char16_t* format;
    WORD kind;
    int count;
    const void* arguments;
    const char16_t* expected;
  } cases[] = {
      {u"%u, %u and %u", kUiArgNumbers, 3, three, u"10, 20 and 65535"},
      {u"%s then %u", kUiArgNumbers, 1, three, u"%s then 10"},
      {u"%s then %u", kUiArgText, 0, kText, u"C:\\a.rst then %u"},
      {u"%n %u %u %u %u", kUiArgNumbers, 3, three, u"%n 10 20 65535 %u"},
      {u"[%5u|%-5u|%05u|%#x|%x|%d]", kUiArgNumbers, 6, six, u"[    7|42   |00009|0xff|1000|65535]"},
      {u"100%% of %s and %s", kUiArgText, 0, kText, u"100% of C:\\a.rst and %s"},
      {u"%ls %5s %", kUiArgText, 0, kText, u"%ls %5s %"},
      {u"%u", kUiArgNumbers, 0, three, u"%u"},
  };
  for (const Case& c : cases) {
    const WCHAR* format = reinterpret_cast<const WCHAR*>(c.format);
    size_t length = UiFormatMessageText(format, c.kind, c.arguments, c.count, nullptr, 0);
    std::u16string out(length + 4, u'#');
    EXPECT_EQ(UiFormatMessageText(format, c.kind, c.arguments, c.count, reinterpret_cast<WCHAR*>(&out[0]), length + 1),
              length);
    EXPECT_EQ(out.substr(0, length), std::u16string(c.expected)) << "format " << (&c - cases);
    EXPECT_EQ(out[length], u'\0');
    EXPECT_EQ(out.substr(length + 1), u"###") << "written past the size";
  }
  // A width beyond 1024 is cut there; a buffer too small is filled and terminated.
  const WCHAR wide[] = {'%', '9', '9', '9', '9', '9', '9', '9', '9', 'u', 0};
  EXPECT_EQ(UiFormatMessageText(wide, kUiArgNumbers, three, 1, nullptr, 0), 1024u);
  WCHAR small[4];
  EXPECT_EQ(UiFormatMessageText(reinterpret_cast<const WCHAR*>(u"%u, %u and %u"), kUiArgNumbers, three, 3, small, 4),
            16u);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(small)), u"10,");
}

}  // namespace
