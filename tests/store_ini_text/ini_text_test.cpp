// The in-memory ini text reader and writer, checked against the system's ini calls on the
// same files, and the section rewrite's safety.
#include <signal.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/context/ui_state.h"
#include "core/store/ini_text.h"
#include "platform/sim.h"
#include "store_ini_text/ini_file_fixture.h"
#include "tests/common_ini/host_files.h"

namespace {

using namespace common_ini_test;

class IniTextTest : public store_ini_test::IniFileTest {
 protected:
  // Reads key from section of the loaded text with a fresh position.
  std::u16string Get(const char* text, const WCHAR* section, const WCHAR* key, DWORD size = 64) {
    WriteHostFile(Host(), text);
    char* all = StoreLoadIniText(path_, FALSE);
    EXPECT_TRUE(all);
    std::vector<WCHAR> value(size);
    DWORD position = 0;
    StoreIniTextGetString(key, TEXT("<none>"), value.data(), size, StoreIniTextFindSection(section, all), &position);
    StoreFreeIniText(all);
    return value.data();
  }
};

// Files as the ini calls write them read the same through the text reader.
TEST_F(IniTextTest, ReadsWhatTheIniCallsWrite) {
  struct Entry {
    const char16_t* section;
    const char16_t* key;
    const char16_t* value;
  } entries[] = {
      {u"Printer A", u"Copies", u"2"},      {u"Printer A", u"Title", u"a b  c"},
      {u"Printer B", u"Copies", u"17"},     {u"Printer B", u"Empty", u""},
      {u"Printer B", u"Path", u"C:\\x=y"},  {u"Other", u"Copies", u"-4"},
  };
  for (const Entry& e : entries) ASSERT_TRUE(WritePrivateProfileStringW(e.section, e.key, e.value, path_));
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path_);

  char* text = StoreLoadIniText(path_, FALSE);
  ASSERT_TRUE(text);
  const char16_t* lookups[][2] = {
      {u"printer a", u"copies"}, {u"Printer A", u"Title"}, {u"PRINTER B", u"copies"}, {u"Printer B", u"Empty"},
      {u"Printer B", u"Path"},   {u"Other", u"Copies"},    {u"Other", u"Missing"},    {u"None", u"Copies"},
  };
  for (const auto& l : lookups) {
    WCHAR expected[64], actual[64];
    DWORD position = 0;
    DWORD n = GetPrivateProfileStringW(l[0], l[1], TEXT("dflt"), expected, 64, path_);
    WORD m = StoreIniTextGetString(l[1], TEXT("dflt"), actual, 64, StoreIniTextFindSection(l[0], text), &position);
    EXPECT_EQ(std::u16string(expected), std::u16string(actual)) << "key " << std::string(l[1], l[1] + std::u16string(l[1]).size());
    EXPECT_EQ(n, m);
  }
  DWORD position = 0;
  EXPECT_EQ(-4, StoreIniTextGetInt(TEXT("Copies"), 0, StoreIniTextFindSection(TEXT("Other"), text), &position));
  position = 0;
  EXPECT_EQ(9, StoreIniTextGetInt(TEXT("Empty"), 9, StoreIniTextFindSection(TEXT("Printer B"), text), &position));
  StoreFreeIniText(text);
}

// Where the text reader is stricter than the ini calls (no blanks are skipped).
TEST_F(IniTextTest, NoBlanksAreSkipped) {
  struct Case {
    const char* file;
    const char16_t* section;
    const char16_t* key;
    const char16_t* expected;
  } cases[] = {
      {"[Printer A]\r\nK=1\r\n", u"printer a", u"k", u"1"},
      {" [Printer A]\r\nK=1\r\n", u"Printer A", u"K", u"<none>"},  // blank before '['
      {"[Printer A]\r\nK =1\r\n", u"Printer A", u"K", u"<none>"},  // blank before '='
      {"[Printer A] trailing\r\nK=1\r\n", u"Printer A", u"K", u"1"},  // after ']' nothing is looked at
      {"[A]\r\nK=1\r\n[B]\r\nK=2\r\n", u"B", u"K", u"2"},
      {"[A]\r\nX=1\r\n[B]\r\nK=2\r\n", u"A", u"K", u"<none>"},  // the section ends at the next '['
      {"[A]\nK=1\n", u"A", u"K", u"1"},                            // LF line ends
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::u16string(c.expected), Get(c.file, c.section, c.key)) << c.file;
}

// Both readers of one file read the same number: leading blanks are skipped as the ini calls
// skip them.
TEST_F(IniTextTest, IntegersReadAsTheIniCallsReadThem) {
  const char* values[] = {"12", " 12", "\t12", "   -3", "+7", "12abc", "abc", "  ", "", "-0", "0012",
                          " \t 4096", "2147483647", "-21474836"};
  for (const char* value : values) {
    WriteHostFile(Host(), std::string("[S]\r\na=") + value + "\r\n");
    char* text = StoreLoadIniText(path_, FALSE);
    ASSERT_TRUE(text);
    DWORD position = 0;
    LONG ours = StoreIniTextGetInt(TEXT("a"), 9, StoreIniTextFindSection(TEXT("S"), text), &position);
    StoreFreeIniText(text);
    EXPECT_EQ(LONG(GetPrivateProfileIntW(TEXT("S"), TEXT("a"), 9, path_)), ours) << "value \"" << value << '"';
  }
}

// Section and key names match through the system's case table, as the ini calls match them,
// not by ASCII alone.
TEST_F(IniTextTest, NamesMatchThroughTheSystemCaseTable) {
  struct Case {
    const char* file;  // in code page 1252
    const char16_t* section;
    const char16_t* key;
  } cases[] = {
      {"[b\xFCro]\r\nk=1\r\n", u"B\u00DCRO", u"K"},
      {"[B\xDCRO]\r\nk=1\r\n", u"b\u00FCro", u"k"},
      {"[S]\r\n\xC4rger=1\r\n", u"s", u"\u00E4RGER"},
      {"[\xC9t\xE9]\r\nk=1\r\n", u"\u00E9T\u00C9", u"k"},
      {"[b\xFCro]\r\nk=1\r\n", u"BURO", u"k"},  // not the same letter: found by neither
  };
  for (const Case& c : cases) {
    WCHAR expected[16];
    WriteHostFile(Host(), c.file);
    GetPrivateProfileStringW(c.section, c.key, TEXT("<none>"), expected, 16, path_);
    EXPECT_EQ(std::u16string(expected), Get(c.file, c.section, c.key)) << c.file;
  }
}

TEST_F(IniTextTest, LookupsResumeWrapOnceAndTakeTheFirstAfterThePosition) {
  WriteHostFile(Host(), "[S]\r\nA=1\r\nB=2\r\nC=3\r\nA=4\r\n[T]\r\nD=5\r\n");
  char* text = StoreLoadIniText(path_, FALSE);
  const char* cursor = StoreIniTextFindSection(TEXT("S"), text);
  WCHAR value[8];
  DWORD position = 0;
  // Opposite order: each lookup wraps once and still finds its key.
  for (const char16_t* key : {u"C", u"B"}) {
    ASSERT_EQ(1, StoreIniTextGetString(key, TEXT(""), value, 8, cursor, &position)) << char(key[0]);
  }
  // The first occurrence after the position wins: after B that is the second A ...
  EXPECT_EQ(1, StoreIniTextGetString(TEXT("A"), TEXT(""), value, 8, cursor, &position));
  EXPECT_EQ(std::u16string(u"4"), std::u16string(value));
  // ... and from there the search wraps to the first one.
  EXPECT_EQ(1, StoreIniTextGetString(TEXT("A"), TEXT(""), value, 8, cursor, &position));
  EXPECT_EQ(std::u16string(u"1"), std::u16string(value));
  // A key of another section is not found after a whole round; the position stays.
  DWORD kept = position;
  EXPECT_EQ(4, StoreIniTextGetString(TEXT("D"), TEXT("none"), value, 8, cursor, &position));
  EXPECT_EQ(kept, position);
  // No section: the default.
  EXPECT_EQ(3, StoreIniTextGetString(TEXT("A"), TEXT("def"), value, 8, nullptr, &position));
  StoreFreeIniText(text);
}

TEST_F(IniTextTest, LongValuesAreCutWithoutSplittingACharacter) {
  EXPECT_EQ(std::u16string(u"abcd"), Get("[S]\r\nK=abcdefgh\r\n", TEXT("S"), TEXT("K"), 5));
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  // "a" then three double-byte characters (0x82A0 each); four bytes fit after "a" only two
  // whole characters' worth would be five bytes, so the cut comes after the first one.
  EXPECT_EQ(std::u16string(u"a\u3042"), Get("[S]\r\nK=a\x82\xA0\x82\xA0\x82\xA0\r\n", TEXT("S"), TEXT("K"), 5));
  char out[5];
  EXPECT_EQ(3u, IniTextCopyValue(out, "a\x82\xA0\x82\xA0", 5));
  EXPECT_EQ(0u, IniTextCopyValue(out, "abc", 0));
}

TEST_F(IniTextTest, LoadingDoesNotCreateAMissingFile) {
  char* text = StoreLoadIniText(TEXT("C:\\set\\none.ini"), FALSE);
  ASSERT_TRUE(text);
  EXPECT_EQ('\0', text[0]);
  StoreFreeIniText(text);
  EXPECT_FALSE(HostExists(OnC(Root(), "set/none.ini")));
  EXPECT_EQ(nullptr, StoreLoadIniText(TEXT("set\\p.ini"), FALSE)) << "not a drive path";
  WriteHostFile(Host(), "[S]\r\n");
  EXPECT_EQ(nullptr, StoreLoadIniText(path_, TRUE)) << "small files are left to the ini calls";
}

TEST_F(IniTextTest, WriterKeepsEveryValueOnItsLine) {
  IniSectionBuffer buffer;
  ASSERT_TRUE(StoreIniTextBufferInit(&buffer));
  DWORD position = 0;
  ASSERT_TRUE(StoreIniTextPutSection(&position, TEXT("Printer A"), &buffer));
  ASSERT_TRUE(StoreIniTextPutKey(&position, TEXT("Title"), TEXT("two\r\nlines\n[X]"), &buffer));
  ASSERT_TRUE(StoreIniTextPutKey(&position, TEXT("[Fake]"), TEXT("1"), &buffer));
  ASSERT_TRUE(StoreIniTextPutKey(&position, TEXT("Empty"), TEXT(""), &buffer));
  ASSERT_TRUE(StoreIniTextPutKey(&position, TEXT(""), TEXT("no key"), &buffer));
  EXPECT_EQ("[Printer A]\r\nTitle=two  lines [X]\r\nEmpty=\r\n", std::string(buffer.data, position));
  EXPECT_FALSE(StoreIniTextPutKey(&position, nullptr, TEXT("1"), &buffer));

  // The buffer grows past its first 32,768 bytes.
  std::u16string big(1000, u'v');
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(StoreIniTextPutKey(&position, TEXT("Key"), big.c_str(), &buffer));
  EXPECT_GT(position, kIniSectionBufferBytes);
  EXPECT_EQ("Key=vvv", std::string(buffer.data + position - 1006, 7));
  StoreIniTextBufferFree(&buffer);
}

class IniRewriteTest : public IniTextTest {
 protected:
  void SetUp() override {
    IniTextTest::SetUp();
    ctx_.printer = nullptr;
    ctx_.ui = &ui_;
    CtxSetFileStatus(&ctx_, 0);
  }
  UiState ui_ = {};  // the settings-file status lives in the UI state
  DriverContext ctx_ = {};
};

TEST_F(IniRewriteTest, RewrittenSectionMovesToTheStart) {
  WriteHostFile(Host(), "[A]\r\na=1\r\n[B]\r\nb=1\r\n[C]\r\nc=1\r\n");
  const char section[] = "[b]\r\nb=2\r\n";
  ASSERT_TRUE(StoreIniTextReplaceSection(&ctx_, path_, TEXT("B"), section, sizeof section - 1));
  EXPECT_EQ("[b]\r\nb=2\r\n[A]\r\na=1\r\n[C]\r\nc=1\r\n", ReadHostFile(Host()));
  // The system's ini calls read the result.
  EXPECT_EQ(2u, GetPrivateProfileIntW(TEXT("B"), TEXT("b"), 0, path_));
  EXPECT_EQ(1u, GetPrivateProfileIntW(TEXT("C"), TEXT("c"), 0, path_));

  ASSERT_TRUE(StoreIniTextReplaceSection(&ctx_, TEXT("C:\\set\\new.ini"), TEXT("N"), "[N]\r\nx=1\r\n", 10));
  EXPECT_EQ("[N]\r\nx=1\r\n", ReadHostFile(OnC(Root(), "set/new.ini")));
  EXPECT_FALSE(HostExists(OnC(Root(), "set/new.ini.~zt")));
  EXPECT_FALSE(StoreIniTextReplaceSection(&ctx_, path_, TEXT("B"), nullptr, 0));
}

// A section whose name differs in a letter's case outside ASCII is replaced, not added twice.
TEST_F(IniRewriteTest, SectionNamesMatchThroughTheSystemCaseTable) {
  WriteHostFile(Host(), "[b\xFCro]\r\nk=1\r\n[X]\r\nx=1\r\n");
  const char section[] = "[B\xDCRO]\r\nk=2\r\n";
  ASSERT_TRUE(StoreIniTextReplaceSection(&ctx_, path_, u"B\u00DCRO", section, sizeof section - 1));
  EXPECT_EQ("[B\xDCRO]\r\nk=2\r\n[X]\r\nx=1\r\n", ReadHostFile(Host()));
  EXPECT_EQ(2u, GetPrivateProfileIntW(u"b\u00FCro", TEXT("k"), 0, path_));
}

// A file with zero bytes of its own keeps every other section whole: the rewrite must not stop
// at the first zero. A zero ends only its line, for the ini calls as for the text reader, so a
// line of the old section that holds one is replaced with the rest of that section.
TEST_F(IniRewriteTest, ZeroBytesInTheOldFileDoNotCutItShort) {
  using namespace std::string_literals;
  struct Case {
    std::string before;
    std::string after;
  } cases[] = {
      {"[A]\r\na=1\r\n\0junk\r\n[C]\r\nc=1\r\n"s, "[B]\r\nb=2\r\n[A]\r\na=1\r\n\0junk\r\n[C]\r\nc=1\r\n"s},
      {"[B]\r\nb=1\r\n\0x\r\nb2=1\r\n[C]\r\nc=1\r\n"s, "[B]\r\nb=2\r\n[C]\r\nc=1\r\n"s},
      {"\0\0\0\0[B]\r\nb=1\r\n[C]\r\nc=1\r\n"s, "\0\0\0\0[B]\r\nb=1\r\n[B]\r\nb=2\r\n[C]\r\nc=1\r\n"s},
  };
  for (const Case& c : cases) {
    WriteHostFile(Host(), c.before);
    ASSERT_TRUE(StoreIniTextReplaceSection(&ctx_, path_, TEXT("B"), "[B]\r\nb=2\r\n", 10));
    EXPECT_EQ(c.after, ReadHostFile(Host()));
  }
}

// Every section of a file, as the ini calls list it, except the one given.
std::vector<std::u16string> OtherSections(const WCHAR* path, const char16_t* except) {
  std::vector<std::u16string> all;
  std::vector<WCHAR> names(4096), body(4096);
  GetPrivateProfileSectionNamesW(names.data(), DWORD(names.size()), path);
  for (const WCHAR* name = names.data(); *name; name += std::u16string(name).size() + 1) {
    if (lstrcmpiW(name, except) == 0) continue;
    GetPrivateProfileSectionW(name, body.data(), DWORD(body.size()), path);
    std::u16string listed = std::u16string(name) + u":";
    for (const WCHAR* line = body.data(); *line; line += std::u16string(line).size() + 1)
      listed += std::u16string(line) + u";";
    all.push_back(listed);
  }
  return all;
}

// A file saved as UTF-16 is rewritten in UTF-16: every other section, characters outside the
// code page included, still reads back through the ini calls, and so does the new section.
TEST_F(IniRewriteTest, Utf16FilesAreRewrittenInUtf16) {
  const char16_t* before[] = {u"[A]\r\na=1\r\n[B]\r\nb=1\r\n[C]\r\nc=\u00e9\u4e00\r\n",
                              u"[A]\r\na=1\r\n[C]\r\nc=\u00e9\u4e00",  // no B yet, no final line end
                              u"[b]\r\nb=1\r\n[A]\r\na=1\r\n[C]\r\nc=\u00e9\u4e00\r\n"};
  for (const char16_t* text : before) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t* c = text; *c; ++c) {
      bytes += char(*c & 0xFF);
      bytes += char(*c >> 8);
    }
    WriteHostFile(Host(), bytes);
    std::vector<std::u16string> others = OtherSections(path_, u"B");
    ASSERT_TRUE(StoreIniTextReplaceSection(&ctx_, path_, TEXT("B"), "[B]\r\nb=\xE9" "2\r\n", 11));
    EXPECT_EQ(others, OtherSections(path_, u"B"));
    WCHAR value[16];
    GetPrivateProfileStringW(TEXT("C"), TEXT("c"), TEXT(""), value, 16, path_);
    EXPECT_EQ(std::u16string(u"\u00e9\u4e00"), std::u16string(value));
    GetPrivateProfileStringW(TEXT("B"), TEXT("b"), TEXT(""), value, 16, path_);
    EXPECT_EQ(std::u16string(u"\u00e92"), std::u16string(value));
    GetPrivateProfileSectionNamesW(value, 16, path_);
    EXPECT_EQ(std::u16string(u"B"), std::u16string(value)) << "one copy of B, at the start";

    // The text reader reads the same file as the ini calls do.
    char* loaded = StoreLoadIniText(path_, FALSE);
    ASSERT_TRUE(loaded);
    for (const char16_t* section : {u"A", u"B"}) {
      WCHAR expected[16], actual[16];
      DWORD position = 0;
      const char16_t* key = section[0] == u'A' ? u"a" : u"b";
      GetPrivateProfileStringW(section, key, TEXT("-"), expected, 16, path_);
      StoreIniTextGetString(key, TEXT("-"), actual, 16, StoreIniTextFindSection(section, loaded), &position);
      EXPECT_EQ(std::u16string(expected), std::u16string(actual));
    }
    StoreFreeIniText(loaded);
  }
}

// A file with another byte-order mark is not text the ini calls read: it is left untouched
// and the call fails.
TEST_F(IniRewriteTest, OtherByteOrderMarksLeaveTheFileUntouched) {
  for (const std::string& before : {std::string("\xEF\xBB\xBF[A]\r\na=1\r\n"), std::string("\xFE\xFF\0[\0A\0]")}) {
    WriteHostFile(Host(), before);
    CtxSetFileStatus(&ctx_, 0);
    EXPECT_FALSE(StoreIniTextReplaceSection(&ctx_, path_, TEXT("B"), "[B]\r\n", 5));
    EXPECT_EQ(LONG(ERROR_INVALID_DATA), CtxGetFileStatus(&ctx_));
    EXPECT_EQ(before, ReadHostFile(Host()));
  }
}

// Lines the rewrite cannot classify stay where they are: every other section reads back as
// before through the ini calls, and lines before the first header stay outside any section.
TEST_F(IniRewriteTest, UnclassifiedLinesStayWhereTheyAre) {
  struct Case {
    const char* what;
    const char* before;
    const char* after;
    UINT codePage = 1252;
  } cases[] = {
      {"indented header after the section", "[A]\r\na=1\r\n [B]\r\nb=1\r\n", "[A]\r\na=2\r\n [B]\r\nb=1\r\n"},
      {"'[' without ']' inside the section", "[X]\r\nx=1\r\n[A]\r\na=1\r\n[oops\r\nk=1\r\n[C]\r\nc=1\r\n",
       "[A]\r\na=2\r\n[oops\r\nk=1\r\n[X]\r\nx=1\r\n[C]\r\nc=1\r\n"},
      {"'[' without ']' at the end", "[X]\r\nx=1\r\n[A]\r\na=1\r\n[oops", "[A]\r\na=2\r\n[oops\r\n[X]\r\nx=1\r\n"},
      {"lines before the first header", "; note\r\nk=1\r\n[X]\r\nx=1\r\n", "; note\r\nk=1\r\n[A]\r\na=2\r\n[X]\r\nx=1\r\n"},
      {"a file of such lines alone", "k=1", "k=1\r\n[A]\r\na=2\r\n"},
      {"an indented header of the same name is another's", "[X]\r\nx=1\r\n [A]\r\na=1\r\n",
       "[A]\r\na=2\r\n[X]\r\nx=1\r\n [A]\r\na=1\r\n"},
      {"indented header inside the section before", "[X]\r\nx=1\r\n  [Y]\r\ny=1\r\n[A]\r\na=1\r\n",
       "[A]\r\na=2\r\n[X]\r\nx=1\r\n  [Y]\r\ny=1\r\n"},
      {"a ']' that is the second byte of a character", "[X]\r\nx=1\r\n[A]\r\na=1\r\n[\x81\x5D\r\nk=1\r\n",
       "[A]\r\na=2\r\n[\x81\x5D\r\nk=1\r\n[X]\r\nx=1\r\n", 932},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SimSetAnsiCodePage(c.codePage));
    WriteHostFile(Host(), c.before);
    std::vector<std::u16string> others = OtherSections(path_, u"A");
    WCHAR loose[8];
    GetPrivateProfileStringW(TEXT("A"), TEXT("k"), TEXT("-"), loose, 8, path_);
    ASSERT_TRUE(StoreIniTextReplaceSection(&ctx_, path_, TEXT("A"), "[A]\r\na=2\r\n", 10)) << c.what;
    EXPECT_EQ(c.after, ReadHostFile(Host())) << c.what;
    EXPECT_EQ(others, OtherSections(path_, u"A")) << c.what;
    WCHAR kept[8];
    GetPrivateProfileStringW(TEXT("A"), TEXT("k"), TEXT("-"), kept, 8, path_);
    EXPECT_EQ(std::u16string(loose), std::u16string(kept)) << c.what;
  }
  SimSetAnsiCodePage(1252);
}

TEST_F(IniRewriteTest, FileThatCannotBeReadIsLeftAlone) {
  WriteHostFile(Host(), "[A]\r\na=1\r\n");
  HANDLE held = CreateFileW(path_, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_FALSE(StoreIniTextReplaceSection(&ctx_, path_, TEXT("B"), "[B]\r\n", 5));
  CloseHandle(held);
  EXPECT_EQ("[A]\r\na=1\r\n", ReadHostFile(Host()));

  // A new file that cannot be created: the system error becomes the settings-file status.
  EXPECT_FALSE(StoreIniTextReplaceSection(&ctx_, TEXT("C:\\nofolder\\p.ini"), TEXT("B"), "[B]\r\n", 5));
  EXPECT_EQ(LONG(ERROR_PATH_NOT_FOUND), CtxGetFileStatus(&ctx_));

  // A read-only file cannot be replaced: reported the same way, and nothing is left behind.
  CtxSetFileStatus(&ctx_, 0);
  ASSERT_TRUE(SetFileAttributesW(path_, FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(StoreIniTextReplaceSection(&ctx_, path_, TEXT("B"), "[B]\r\n", 5));
  EXPECT_EQ(LONG(ERROR_ACCESS_DENIED), CtxGetFileStatus(&ctx_));
  EXPECT_EQ("[A]\r\na=1\r\n", ReadHostFile(Host()));
  EXPECT_FALSE(HostExists(Host() + ".~zt"));
  SetFileAttributesW(path_, FILE_ATTRIBUTE_NORMAL);
}

// A write that fails half way (the file-size limit of the process stands in for a full disk)
// leaves the previous file as it was.
TEST_F(IniRewriteTest, FailingWriteLeavesThePreviousFile) {
  const std::string before = "[A]\r\na=1\r\n[B]\r\nb=1\r\n";
  WriteHostFile(Host(), before);
  std::string section = "[B]\r\n";
  for (int i = 0; i < 800; ++i) section += "key" + std::to_string(i) + "=value\r\n";

  struct rlimit saved;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
  void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = {4096, saved.rlim_max};
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
  BOOL result = StoreIniTextReplaceSection(&ctx_, path_, TEXT("B"), section.data(), DWORD(section.size()));
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(result);
  EXPECT_EQ(LONG(ERROR_DISK_FULL), CtxGetFileStatus(&ctx_)) << "a write that failed reports its system error";
  EXPECT_EQ(before, ReadHostFile(Host()));
  EXPECT_FALSE(HostExists(Host() + ".~zt"));
}

}  // namespace

namespace {

// Hostile settings texts: short random texts over the bytes that matter to the reader, looked
// up and copied with small buffers (run under the sanitizers, any overrun shows).
TEST(IniTextFuzz, RandomTextsStayInBounds) {
  const char alphabet[] = "[]=\r\n aK\x82\xA0\x81";
  unsigned seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    size_t length = next() % 48;
    for (size_t i = 0; i < length; ++i) text += alphabet[next() % (sizeof alphabet - 1)];
    const char* cursor = StoreIniTextFindSection(TEXT("a"), text.c_str());
    DWORD position = 0;
    for (int lookup = 0; lookup < 3; ++lookup) {
      WCHAR value[4];
      WORD n = StoreIniTextGetString(TEXT("K"), TEXT("d"), value, 1 + next() % 4, cursor, &position);
      ASSERT_LE(n, 3);
      if (cursor) {
        ASSERT_LE(position, DWORD(text.size() - size_t(cursor - text.c_str())));
      }
    }
    char copy[4];
    ASSERT_LE(IniTextCopyValue(copy, text.c_str(), 1 + next() % 4), 3u);
  }
  SimSetAnsiCodePage(1252);
}

}  // namespace
