// The private profile calls as Windows answers them: reading, listing, truncation, quotes,
// blanks, case, integers, writing and deleting.
#include <gtest/gtest.h>

#include <algorithm>

#include "conformance/conformance_support.h"

using conformance::ReadBytes;
using conformance::TempFolder;
using conformance::WriteBytes;
using conformance::WString;

namespace {

// A text with embedded zeros, its final zero not counted.
#define ZLIST(s) WString(TEXT(s), sizeof(TEXT(s)) / sizeof(WCHAR) - 1)

const char kSample[] =
    "; printer settings\r\n"
    "[Printer A]\r\n"
    "Name = Office ,2nd floor,\r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Half=\"open\r\n"
    "Empty=\r\n"
    "  Spaces  =  a b  \r\n"
    "Bare\r\n"
    "\r\n"
    "[ Other ]\r\n"
    "Count=42\r\n"
    "Neg=-7\r\n"
    "Hex=0x1F\r\n"
    "UpperHex=0X1F\r\n"
    "Mixed=12ab\r\n"
    "Plus= +5\r\n"
    "Big=4294967295\r\n"
    "Wrap=4294967297\r\n"
    "Blank=\r\n"
    "QuotedNum=\"17\"\r\n"
    "[printer a]\r\n"
    "Second=1\r\n";

class IniConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = folder_ / TEXT("sample.ini");
    WriteBytes(file_, kSample);
  }
  WString Read(const WCHAR* section, const WCHAR* key, const WCHAR* def, DWORD size, DWORD* result) {
    WCHAR buffer[256];
    for (auto& c : buffer) c = 'X';
    *result = GetPrivateProfileStringW(section, key, def, buffer, size, file_.c_str());
    return WString(buffer, size ? *result : 0);
  }
  // A list as the call left it in the buffer: up to and including its two final zeros.
  WString ReadList(const WCHAR* section, const WCHAR* key, DWORD size, DWORD* result) {
    WCHAR buffer[256];
    for (auto& c : buffer) c = 'X';
    *result = GetPrivateProfileStringW(section, key, TEXT("dflt"), buffer, size, file_.c_str());
    size_t n = 0;
    while (n + 1 < size && !(buffer[n] == 0 && buffer[n + 1] == 0)) ++n;
    return WString(buffer, std::min<size_t>(n + 2, size));
  }
  TempFolder folder_;
  WString file_;
};

struct ValueCase {
  const WCHAR* section;
  const WCHAR* key;
  const WCHAR* def;
  DWORD size;
  const WCHAR* expected;
};

TEST_F(IniConformance, ReadsValuesWithWindowsRules) {
  const ValueCase cases[] = {
      // Case-blind section and key names; blanks around names and values are dropped.
      {TEXT("printer a"), TEXT("NAME"), TEXT("d"), 100, TEXT("Office ,2nd floor,")},
      {TEXT("Printer A"), TEXT("spaces"), TEXT("d"), 100, TEXT("a b")},
      {TEXT("other"), TEXT("Count"), TEXT("d"), 100, TEXT("42")},
      // One pair of matching quotes goes; blanks inside them stay.
      {TEXT("Printer A"), TEXT("Quoted"), TEXT("d"), 100, TEXT("  spaced  ")},
      {TEXT("Printer A"), TEXT("Single"), TEXT("d"), 100, TEXT("x")},
      {TEXT("Printer A"), TEXT("Half"), TEXT("d"), 100, TEXT("\"open")},
      // Present but empty is not absent: the default is not used.
      {TEXT("Printer A"), TEXT("Empty"), TEXT("d"), 100, TEXT("")},
      // A line without "=" is no key.
      {TEXT("Printer A"), TEXT("Bare"), TEXT("d"), 100, TEXT("d")},
      // Absent: the default, without its trailing blanks; null default gives "".
      {TEXT("Printer A"), TEXT("Missing"), TEXT("dflt  "), 100, TEXT("dflt")},
      {TEXT("Printer A"), TEXT("Missing"), nullptr, 100, TEXT("")},
      {TEXT("No such"), TEXT("Name"), TEXT("d"), 100, TEXT("d")},
      // Only the first section of a name counts.
      {TEXT("Printer A"), TEXT("Second"), TEXT("d"), 100, TEXT("d")},
      // Truncation keeps size - 1 characters, for values and defaults alike.
      {TEXT("Printer A"), TEXT("Name"), TEXT("d"), 7, TEXT("Office")},
      {TEXT("Printer A"), TEXT("Name"), TEXT("d"), 1, TEXT("")},
      {TEXT("Printer A"), TEXT("Missing"), TEXT("default"), 3, TEXT("de")},
  };
  int index = 0;
  for (const ValueCase& c : cases) {
    DWORD result = 0;
    WString got = Read(c.section, c.key, c.def, c.size, &result);
    SCOPED_TRACE(::testing::Message() << "case " << index++);
    EXPECT_EQ(got, WString(c.expected));
    EXPECT_EQ(result, WString(c.expected).size());
  }
}

TEST_F(IniConformance, ReadsIntegers) {
  struct IntCase {
    const WCHAR* key;
    UINT expected;
  } cases[] = {
      {TEXT("Count"), 42},
      {TEXT("Neg"), UINT(-7)},
      {TEXT("Hex"), 31},       // a "0x" prefix reads hexadecimal digits ...
      {TEXT("UpperHex"), 0},   // ... but "0X" stops at the X
      {TEXT("Mixed"), 12},     // digits up to the first other character
      {TEXT("Plus"), 5},
      {TEXT("Big"), 0xFFFFFFFFu},
      {TEXT("Wrap"), 1},       // wraps at 32 bits
      {TEXT("Blank"), 99},     // empty value: the default
      {TEXT("QuotedNum"), 17}, // quotes go first
      {TEXT("Missing"), 99},
  };
  for (const IntCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "expected " << c.expected);
    EXPECT_EQ(GetPrivateProfileIntW(TEXT("Other"), c.key, 99, file_.c_str()), c.expected);
  }
  EXPECT_EQ(GetPrivateProfileIntW(TEXT("Printer A"), TEXT("Name"), 99, file_.c_str()), 0u);
}

TEST_F(IniConformance, ListsSectionNamesWithTruncation) {
  const WString all = ZLIST("Printer A\0Other\0printer a\0\0");
  struct ListCase {
    DWORD size;
    DWORD result;
    WString expected;
  } cases[] = {
      {100, 26, all},
      {26, 24, ZLIST("Printer A\0Other\0printer \0\0")},  // cut to size - 2, two zeros
      {13, 11, ZLIST("Printer A\0O\0\0")},
      {2, 0, ZLIST("\0\0")},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "size " << c.size);
    DWORD result = 0;
    EXPECT_EQ(ReadList(nullptr, nullptr, c.size, &result), c.expected);
    EXPECT_EQ(result, c.result);
  }
  WCHAR buffer[100];
  EXPECT_EQ(GetPrivateProfileSectionNamesW(buffer, 100, file_.c_str()), 26u);
  EXPECT_EQ(WString(buffer, all.size()), all);
}

TEST_F(IniConformance, ListsKeysOfASection) {
  DWORD result = 0;
  const WString keys = ZLIST("Name\0Quoted\0Single\0Half\0Empty\0Spaces\0\0");
  EXPECT_EQ(ReadList(TEXT("PRINTER A"), nullptr, 100, &result), keys);
  EXPECT_EQ(result, keys.size() - 1);
  EXPECT_EQ(ReadList(TEXT("Printer A"), nullptr, 10, &result), ZLIST("Name\0Quo\0\0"));
  EXPECT_EQ(result, 8u);
  // A section without keys gives the default.
  WCHAR buffer[20];
  result = GetPrivateProfileStringW(TEXT("Nowhere"), nullptr, TEXT("dflt"), buffer, 20, file_.c_str());
  EXPECT_EQ(WString(buffer), WString(TEXT("dflt")));
  EXPECT_EQ(result, 4u);
}

TEST_F(IniConformance, ReadsAWholeSection) {
  WCHAR buffer[200];
  DWORD result = GetPrivateProfileSectionW(TEXT("printer a"), buffer, 200, file_.c_str());
  const WString expected =
      ZLIST("Name=Office ,2nd floor,\0Quoted=\"  spaced  \"\0Single='x'\0Half=\"open\0Empty=\0Spaces=a b\0Bare\0\0");
  EXPECT_EQ(result, expected.size() - 1);
  EXPECT_EQ(WString(buffer, expected.size()), expected);
  result = GetPrivateProfileSectionW(TEXT("Printer A"), buffer, 10, file_.c_str());
  EXPECT_EQ(result, 8u);
  EXPECT_EQ(WString(buffer, 10), ZLIST("Name=Off\0\0"));
  result = GetPrivateProfileSectionW(TEXT("No such"), buffer, 10, file_.c_str());
  EXPECT_EQ(result, 0u);
  EXPECT_EQ(buffer[0], 0);
}

TEST_F(IniConformance, MissingFileGivesDefaults) {
  WString missing = folder_ / TEXT("missing.ini");
  WCHAR buffer[20];
  EXPECT_EQ(GetPrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("d"), buffer, 20, missing.c_str()), 1u);
  EXPECT_EQ(WString(buffer), WString(TEXT("d")));
  EXPECT_EQ(GetPrivateProfileIntW(TEXT("s"), TEXT("k"), 5, missing.c_str()), 5u);
  EXPECT_EQ(GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Empty names: a zero-separated list cannot begin with one, or it would read as empty.
TEST(IniListConformance, EmptyNamesInLists) {
  struct {
    const char* text;
    const WCHAR* section;  // null lists the section names
    WString expected;
    DWORD result;
  } cases[] = {
      {"[]\r\nq=1\r\n[S]\r\n", nullptr, ZLIST("S\0\0"), 2},
      {"[T]\r\n=v\r\ny=2\r\n", TEXT("T"), ZLIST("dflt\0"), 4},
      {"[T]\r\n =v\r\n", TEXT("T"), ZLIST("dflt\0"), 4},
      {"[T]\r\nx=1\r\n=v\r\ny=2\r\n", TEXT("T"), ZLIST("x\0\0y\0\0"), 5},
      {"[T]\r\nk\r\nx=1\r\n", TEXT("T"), ZLIST("x\0\0"), 2},
  };
  TempFolder folder;
  WString file = folder / TEXT("names.ini");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    WriteBytes(file, c.text);
    WCHAR buffer[32];
    for (auto& ch : buffer) ch = '#';
    EXPECT_EQ(c.result, GetPrivateProfileStringW(c.section, nullptr, TEXT("dflt"), buffer, 32, file.c_str()));
    EXPECT_EQ(c.expected, WString(buffer, c.expected.size()));
  }
}

// The caller's section name is trimmed like the names in the file, for reading and writing.
TEST(IniWriteConformance, SectionNamesOfTheCallerAreTrimmed) {
  TempFolder folder;
  WString file = folder / TEXT("trim.ini");
  WriteBytes(file, "[S]\r\nk=1\r\n  [ T ]  \r\nt=2\r\n");
  struct {
    const WCHAR* section;
    const WCHAR* key;
    const WCHAR* expected;
  } reads[] = {{TEXT(" T "), TEXT("t"), TEXT("2")}, {TEXT("T  "), TEXT(" t"), TEXT("2")}, {TEXT("  s"), TEXT("k"), TEXT("1")}};
  WCHAR buffer[16];
  for (const auto& c : reads) {
    GetPrivateProfileStringW(c.section, c.key, TEXT("dflt"), buffer, 16, file.c_str());
    EXPECT_EQ(WString(buffer), WString(c.expected)) << "[" << WString(c.section).size() << "]";
  }
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT(" S "), TEXT(" nk "), TEXT("v"), file.c_str()));
  GetPrivateProfileStringW(TEXT("S"), TEXT("nk"), TEXT("dflt"), buffer, 16, file.c_str());
  EXPECT_EQ(WString(buffer), WString(TEXT("v")));
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT(" New "), TEXT("a"), TEXT("b"), file.c_str()));
  WCHAR names[64];
  DWORD n = GetPrivateProfileSectionNamesW(names, 64, file.c_str());
  EXPECT_EQ(WString(names, n + 1), ZLIST("S\0T\0New\0\0")) << "no section named with blanks";
}

// A section name may hold ']': the header runs to the line's last one, so what was written
// reads back. The blanks before a written value are not stored.
TEST(IniWriteConformance, BracketsInSectionNamesAndBlanksAroundValues) {
  TempFolder folder;
  WString file = folder / TEXT("brackets.ini");
  const WCHAR* const names[] = {TEXT("a]b"), TEXT("end]"), TEXT("x] y")};
  for (const WCHAR* name : names) {
    ASSERT_TRUE(WritePrivateProfileStringW(name, TEXT("k"), TEXT("v"), file.c_str()));
    WCHAR buffer[16];
    EXPECT_EQ(GetPrivateProfileStringW(name, TEXT("k"), TEXT("dflt"), buffer, 16, file.c_str()), 1u);
    EXPECT_EQ(WString(buffer), WString(TEXT("v"))) << "section " << WString(name).size();
  }
  WCHAR list[64];
  DWORD n = GetPrivateProfileSectionNamesW(list, 64, file.c_str());
  EXPECT_EQ(WString(list, n + 1), ZLIST("a]b\0end]\0x] y\0\0"));

  WString spaced = folder / TEXT("spaced.ini");
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("  v w"), spaced.c_str()));
  EXPECT_EQ(ReadBytes(spaced), "[s]\r\nk=v w\r\n");
  ASSERT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT(" \t changed  "), spaced.c_str()));
  EXPECT_EQ(ReadBytes(spaced).substr(0, 14), "[s]\r\nk=changed");
  WCHAR buffer[16];
  EXPECT_EQ(GetPrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("dflt"), buffer, 16, spaced.c_str()), 7u);
  EXPECT_EQ(WString(buffer), WString(TEXT("changed")));
}

TEST(IniWriteConformance, CreatesFileSectionsAndKeys) {
  TempFolder folder;
  WString file = folder / TEXT("new.ini");
  EXPECT_TRUE(WritePrivateProfileStringW(TEXT("s1"), TEXT("k"), TEXT("v"), file.c_str()));
  EXPECT_EQ(ReadBytes(file), "[s1]\r\nk=v\r\n");
  EXPECT_TRUE(WritePrivateProfileStringW(TEXT("s2"), TEXT("k"), TEXT("v"), file.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringW(TEXT("S1"), TEXT("k2"), TEXT("v2"), file.c_str()));
  EXPECT_EQ(ReadBytes(file), "[s1]\r\nk=v\r\nk2=v2\r\n[s2]\r\nk=v\r\n");
  // An existing key keeps its spelling and place; comments stay.
  WriteBytes(file, "; keep me\r\n[A]\r\nKey=1\r\nOther=2\r\n");
  EXPECT_TRUE(WritePrivateProfileStringW(TEXT("a"), TEXT("KEY"), TEXT("new"), file.c_str()));
  EXPECT_EQ(ReadBytes(file), "; keep me\r\n[A]\r\nKey=new\r\nOther=2\r\n");
}

TEST(IniWriteConformance, DeletesKeysAndSections) {
  TempFolder folder;
  WString file = folder / TEXT("del.ini");
  WriteBytes(file, "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n[C]\r\nw=4\r\n");
  EXPECT_TRUE(WritePrivateProfileStringW(TEXT("a"), TEXT("X"), nullptr, file.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringW(TEXT("b"), nullptr, nullptr, file.c_str()));
  EXPECT_EQ(ReadBytes(file), "[A]\r\ny=2\r\n[C]\r\nw=4\r\n");
  // Deleting what is not there changes nothing.
  EXPECT_TRUE(WritePrivateProfileStringW(TEXT("A"), TEXT("nothing"), nullptr, file.c_str()));
  // The flush call (all null) leaves the file as it is; its answer is not documented.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
  EXPECT_EQ(ReadBytes(file), "[A]\r\ny=2\r\n[C]\r\nw=4\r\n");
  WCHAR buffer[20];
  EXPECT_EQ(GetPrivateProfileStringW(TEXT("B"), TEXT("z"), TEXT("gone"), buffer, 20, file.c_str()), 4u);
}

// The flush call answers FALSE but is no failure: it leaves no error behind, not even one an
// earlier call set.
TEST(IniWriteConformance, FlushCallLeavesNoError) {
  TempFolder folder;
  WString file = folder / TEXT("flush.ini");
  WriteBytes(file, "[A]\r\nx=1\r\n");
  SetLastError(ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str()));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
  EXPECT_EQ(ReadBytes(file), "[A]\r\nx=1\r\n");
}

TEST(IniWriteConformance, ReplacesAWholeSection) {
  TempFolder folder;
  WString file = folder / TEXT("sec.ini");
  WriteBytes(file, "[A]\r\nold=1\r\n[B]\r\nb=2\r\n");
  const WCHAR lines[] = TEXT("p=1\0q=2\0");
  EXPECT_TRUE(WritePrivateProfileSectionW(TEXT("A"), lines, file.c_str()));
  EXPECT_TRUE(WritePrivateProfileSectionW(TEXT("New"), lines, file.c_str()));
  EXPECT_EQ(ReadBytes(file), "[A]\r\np=1\r\nq=2\r\n[B]\r\nb=2\r\n[New]\r\np=1\r\nq=2\r\n");
}

TEST(IniWriteConformance, AnsiCodePageAndUnicodeFiles) {
  TempFolder folder;
  WString file = folder / TEXT("cp.ini");
  const WCHAR value[] = {0x00E9, 0x20AC, 0};  // e acute and the euro sign, both in code page 1252
  EXPECT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), value, file.c_str()));
  EXPECT_EQ(ReadBytes(file), "[s]\r\nk=\xE9\x80\r\n");
  char ansi[20];
  std::string fileA(file.begin(), file.end());  // the test folder's name is plain ASCII
  EXPECT_EQ(GetPrivateProfileStringA("S", "K", "", ansi, 20, fileA.c_str()), 2u);
  EXPECT_EQ(std::string(ansi), "\xE9\x80");
  EXPECT_TRUE(WritePrivateProfileStringA("s", "a", "\xFC", fileA.c_str()));
  WCHAR wide[20];
  EXPECT_EQ(GetPrivateProfileStringW(TEXT("s"), TEXT("a"), TEXT(""), wide, 20, file.c_str()), 1u);
  EXPECT_EQ(wide[0], 0x00FC);

  // A file that starts with the UTF-16 byte-order mark is read and written as UTF-16.
  WString unicode = folder / TEXT("u.ini");
  const char utf16[] = "\xFF\xFE[\0U\0]\0\r\0\n\0k\0=\0\x00\x4E\r\0\n\0";
  WriteBytes(unicode, std::string(utf16, sizeof(utf16) - 1));
  EXPECT_EQ(GetPrivateProfileStringW(TEXT("u"), TEXT("k"), TEXT(""), wide, 20, unicode.c_str()), 1u);
  EXPECT_EQ(wide[0], 0x4E00);
  const WCHAR next[] = {0x4E01, 0};
  EXPECT_TRUE(WritePrivateProfileStringW(TEXT("U"), TEXT("k2"), next, unicode.c_str()));
  EXPECT_EQ(ReadBytes(unicode), std::string(utf16, sizeof(utf16) - 1) + std::string("k\0" "2\0=\0\x01\x4E\r\0\n\0", 12));
}

TEST(IniWriteConformance, NameWithoutFolderIsInTheWindowsDirectory) {
  TempFolder folder;  // its unique name makes the ini name unique
  WString leaf = folder.Path().substr(folder.Path().find_last_of('\\') + 1) + TEXT(".ini");
  EXPECT_TRUE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("v"), leaf.c_str()));
  WString full = WString(TEXT("C:\\WINDOWS\\")) + leaf;
  EXPECT_NE(GetFileAttributesW(full.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetPrivateProfileIntW(TEXT("s"), TEXT("k"), 7, full.c_str()), 0u);  // "v" is no number
  WCHAR buffer[10];
  EXPECT_EQ(GetPrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT(""), buffer, 10, leaf.c_str()), 1u);
  DeleteFileW(full.c_str());
}

TEST(IniWriteConformance, LongSectionNames) {
  TempFolder folder;
  WString file = folder / TEXT("long.ini");
  WString section;
  for (int i = 0; i < 260; ++i) section += WCHAR('a' + i % 26);
  EXPECT_TRUE(WritePrivateProfileStringW(section.c_str(), TEXT("k"), TEXT("v"), file.c_str()));
  WCHAR buffer[10];
  EXPECT_EQ(GetPrivateProfileStringW(section.c_str(), TEXT("k"), TEXT(""), buffer, 10, file.c_str()), 1u);
}

TEST(IniWriteConformance, ReadOnlyFileIsNotWritten) {
  if (zems_test::UnderWine()) GTEST_SKIP() << "Wine rewrites read-only ini files; Windows refuses";
  TempFolder folder;
  WString file = folder / TEXT("ro.ini");
  WriteBytes(file, "[s]\r\nk=1\r\n");
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WritePrivateProfileStringW(TEXT("s"), TEXT("k"), TEXT("2"), file.c_str()));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadBytes(file), "[s]\r\nk=1\r\n");
}

}  // namespace
