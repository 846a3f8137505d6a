// The one-pass settings ini reader: every answer the same as the system's ini calls give for
// the same file, and the stored text the settings-file transfer reads.
#include <string>
#include <vector>

#include "core/store/ini_table.h"
#include "platform/sim.h"
#include "support/ini_table_compare.h"
#include "store_ini_text/ini_file_fixture.h"
#include "tests/common_ini/host_files.h"

namespace {

using namespace common_ini_test;
using namespace std::string_literals;  // file texts hold zero bytes of their own

class IniTableTest : public store_ini_test::IniFileTest {
 protected:
  // Every section and key name of the file looked up through both readers.
  void ExpectSameAsIniCalls(const std::string& file, const std::vector<std::u16string>& extra = {}) {
    WriteHostFile(Host(), file);
    std::vector<std::u16string> names = zems_test::IniLookupNames(file, path_, extra);
    EXPECT_EQ("", zems_test::CompareIniTableWithIniCalls(file, path_, names)) << "file: " << file;
  }

  std::u16string Stored(const std::string& file, const WCHAR* section, const WCHAR* key) {
    WriteHostFile(Host(), file);
    IniTable* table = StoreIniTableLoad(path_);
    EXPECT_TRUE(table);
    WCHAR value[64];
    StoreIniTableGetStored(StoreIniTableFindSection(table, section), key, TEXT("<none>"), value, 64);
    StoreIniTableFree(table);
    return reinterpret_cast<const char16_t*>(value);
  }
};

// Each file shows one rule of the ini calls' reading.
TEST_F(IniTableTest, AnswersAsTheIniCallsOnEachRule) {
  const std::string files[] = {
      "[Printer A]\r\nCopies=2\r\nTitle=a b  c\r\n[Printer B]\r\nCopies=17\r\nEmpty=\r\n"s,
      " [S] \r\n  k  =  v  \r\n\tj\t=\tw\t\r\n"s,                   // blanks around names and values
      "[S]\r\nK=1\r\nk=2\r\n[s]\r\nK=3\r\nx=4\r\n"s,                  // first section and key of a name
      "[S]\r\n;c=1\r\n; d = 2\r\nbare line\r\n=5\r\n"s,               // commented keys, bare lines, no name
      "[S]\r\nq=\"quoted\"\r\nr='single'\r\nu=\"open\r\nv=\"\r\nw=''\r\n"s,  // one pair of quotes
      "[a]b]\r\nk=1\r\n[c\r\nk=2\r\n[]\r\nk=3\r\n"s,                   // last ']', no ']', empty name
      "k=0\r\n\r\n[S]\r\nk=1\r\n"s,                                   // lines before the first header
      "[S]\nk=1\r\r\nj=2\rl=3\n"s,                                    // lone line feeds and returns
      "[S]\r\nk=a\0b\r\n[T\0]\r\nk=2\r\n[U]\0x\r\nk=3\r\nk\0=4\r\n"s,  // zeros in names and values
      "[S]\r\nk=1"s,                                                   // no line end at the end
      ""s,
      "[S]\r\nk==v=\r\n[S2] x=1\r\nk=2\r\n"s,
      "[b\xFCro]\r\nk=1\r\n[S]\r\n\xC4rger=1\r\n"s,                   // code page 1252 letters
  };
  for (const std::string& file : files) ExpectSameAsIniCalls(file, {u"", u"\u00DCberall", u"B\u00DCRO"});
}

TEST_F(IniTableTest, AnswersAsTheIniCallsInUtf16AndCodePage932) {
  std::string wide = "\xFF\xFE";
  for (char16_t c : std::u16string(u"[\u0160ection]\r\nk\u00E9y= v\u0101lue \r\n[S]\nk=1\r\n"))
    wide += std::string{char(c & 0xFF), char(c >> 8)};
  ExpectSameAsIniCalls(wide, {u"\u0160ECTION", u"K\u00C9Y", u"\u0161ection"});
  ExpectSameAsIniCalls(wide + "x");  // an odd byte at the end
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  // A double-byte name, a lead byte whose trail is ']' or '[', one at a line's end.
  ExpectSameAsIniCalls("[\x93\xFA\x96\x7B]\r\n\x83L\x81[=\x92l\r\n[a\x81]\r\nk=1\r\n[b]\r\nk=\x81\r\nj=2\r\n",
                       {u"\u65E5\u672C", u"\u30AD\u30FC"});
  SimSetAnsiCodePage(1252);
}

TEST_F(IniTableTest, MissingFileReadsEmptyAndDefaultsAsTheIniCalls) {
  IniTable* table = StoreIniTableLoad(TEXT("C:\\set\\none.ini"));
  ASSERT_TRUE(table);
  EXPECT_EQ(nullptr, StoreIniTableFindSection(table, TEXT("S")));
  WCHAR value[8];
  EXPECT_EQ(4u, StoreIniTableGetString(nullptr, TEXT("k"), TEXT("'dflt'  "), value, 8));
  EXPECT_EQ(std::u16string(u"dflt"), reinterpret_cast<const char16_t*>(value));
  StoreIniTableFree(table);
  EXPECT_EQ(nullptr, StoreIniTableLoad(TEXT("\\\\server\\x.ini")));
}

// The transfer reads a value as its writer stored it: blanks and quotes kept, up to a carriage
// return; the key is found as the ini calls find it.
TEST_F(IniTableTest, StoredTextKeepsBlanksAndQuotes) {
  struct Case {
    std::string file;
    const char16_t* expected;
  } cases[] = {
      {"[S]\r\nk=DRAFT X  \r\n", u"DRAFT X  "},
      {"[S]\r\nk= \"q\" \r\n", u" \"q\" "},
      {"[S]\r\n k =1\r\n", u"1"},
      {"[S]\r\nk=1\r2\r\n", u"1"},
      {"[S]\r\nk=a\0b\r\n"s, u"a"},
      {"[S]\r\nK=1\r\nk=2\r\n", u"1"},
      {"[S]\r\nj=1\r\n", u"<none>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::u16string(c.expected), Stored(c.file, TEXT("s"), TEXT("k"))) << c.file;
  }
}

}  // namespace
