// What the guarded print-type and authentication fields accept, typed or pasted, and the
// job-merge folder and name checks.
#include <gtest/gtest.h>

#include <string>

#include "core/modules/input_filters.h"
#include "support/machine_fixture.h"

namespace {

std::u16string U(const char* s) { return std::u16string(s, s + strlen(s)); }
const WCHAR* W(const std::u16string& s) { return reinterpret_cast<const WCHAR*>(s.c_str()); }

TEST(InputFilters, CharactersByFilter) {
  struct Row {
    WCHAR ch;
    BOOL name, text, printable;
  } rows[] = {
      {'a', 1, 1, 1},  {'Z', 1, 1, 1},  {'0', 1, 1, 1},  {' ', 1, 1, 1},   {'~', 1, 1, 1},
      {'"', 0, 1, 1},  {':', 0, 1, 1},  {8, 1, 1, 1},    {0x1F, 0, 0, 0},  {0x7F, 0, 0, 0},
      {0xE9, 0, 0, 0}, {0x3042, 0, 0, 0}, {'\r', 0, 0, 0}, {'\t', 0, 0, 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(InpCharPasses(kInpFilterName, r.ch), r.name) << int(r.ch);
    EXPECT_EQ(InpCharPasses(kInpFilterText, r.ch), r.text) << int(r.ch);
    EXPECT_EQ(InpCharPasses(kInpFilterPrintable, r.ch), r.printable) << int(r.ch);
  }
}

class PasteChecks : public zems_test::MachineTest {};

TEST_F(PasteChecks, OverAnsiBytesWithDoubleBytePairs) {
  // 0x82 0xA0 is one double-byte character of code page 932; its trail 0x22 looks like '"'.
  const char quoteTrail[] = "ab\x81\x22" "cd";
  struct Row {
    const char* bytes;
    int limit;
    BOOL lettersAndDigits, withoutQuote, nameFilter;
  } rows[] = {
      {"Abc123", 8, 1, 1, 1},
      {"abc 123", 8, 0, 1, 1},
      {"abcdefgh\"", 8, 1, 1, 1},  // the quote past the limit does not land...
      {"abcdefgh\"", 16, 0, 0, 0},  // ...within it, it does
      {"\x82\xA0" "a", 8, 0, 1, 0},
      {quoteTrail, 16, 0, 1, 0},  // a trail byte 0x22 is no quote
      {"ab\"cd", 16, 0, 0, 0},
      {"user:x", 16, 0, 1, 0},
      {"", 8, 1, 1, 1},
  };
  for (const Row& r : rows) {
    const int n = static_cast<int>(strlen(r.bytes));
    EXPECT_EQ(InpPasteLettersAndDigits(r.bytes, n, r.limit, 932), r.lettersAndDigits) << r.bytes;
    EXPECT_EQ(InpPasteWithoutQuote(r.bytes, n, r.limit, 932), r.withoutQuote) << r.bytes;
    EXPECT_EQ(InpPasteNameFilter(r.bytes, n, r.limit, 932), r.nameFilter) << r.bytes;
  }
  // A lead byte at the very end has no trail: it is a single (refused) byte, read no further.
  EXPECT_FALSE(InpPasteLettersAndDigits("ab\x82", 3, 8, 932));
}

TEST(InputFilters, JobMergeFolderTokensAndBounds) {
  WCHAR out[MAX_PATH];
  ASSERT_TRUE(InpExpandJobMergeFolder(W(U("<OS>\\Temp\\Omp")), W(U("C:\\WINDOWS")), out, MAX_PATH));
  EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(out)), U("C:\\WINDOWS\\Temp\\Omp"));
  ASSERT_TRUE(InpExpandJobMergeFolder(W(U("<OSDRIVE>\\Merge")), W(U("C:\\WINDOWS")), out, MAX_PATH));
  EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(out)), U("C:\\Merge"));
  ASSERT_TRUE(InpExpandJobMergeFolder(W(U("D:\\x<OS>")), W(U("C:\\WINDOWS")), out, MAX_PATH));
  EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(out)), U("D:\\x<OS>"));  // only at the start
  const std::u16string tooLong = U("<OS>\\") + std::u16string(260, u'a');
  EXPECT_FALSE(InpExpandJobMergeFolder(W(tooLong), W(U("C:\\WINDOWS")), out, MAX_PATH));
  EXPECT_EQ(out[0], 0);

  ASSERT_TRUE(InpJoinJobMergeFile(W(U("C:\\M")), W(U("job")), W(U("omp")), out, MAX_PATH));
  EXPECT_EQ(std::u16string(reinterpret_cast<char16_t*>(out)), U("C:\\M\\job.omp"));
  const std::u16string longName(255, u'n');
  EXPECT_FALSE(InpJoinJobMergeFile(W(U("C:\\M")), W(longName), W(U("omp")), out, MAX_PATH));
}

TEST(InputFilters, JobMergeNamesWithoutForbiddenCharacters) {
  EXPECT_TRUE(InpJobMergeNameValid(W(U("weekly report 2"))));
  for (char forbidden : std::string("\\/:;,*?\"<>|")) {
    std::u16string name = U("a") + char16_t(forbidden) + U("b");
    EXPECT_FALSE(InpJobMergeNameValid(W(name))) << forbidden;
  }
}

}  // namespace
