// What the closing steps check of a named file: a bitmap's info header, a file's presence and
// its extension against the dialog's pattern.
#include <fstream>
#include <string>

#include "core/front/page_lookup.h"
#include "core/system/resources.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "ui_engine/engine_fixture.h"

namespace zems_test {
namespace {

class FileChecksTest : public MachineTest {
 protected:
  // A file of these bytes at a Windows path of the machine.
  void Write(const char16_t* path, const std::string& bytes) {
    HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>(path), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(file);
  }
  static std::string Bmp(DWORD infoSize) {
    std::string bytes = "BM" + std::string(12, '\0');
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((infoSize >> (8 * i)) & 0xFF);
    return bytes + std::string(36, '\0');
  }
};

TEST_F(FileChecksTest, OnlyABitmapWithTheFortyByteInfoHeaderOpens) {
  struct Case {
    const char16_t* path;
    std::string bytes;
    int opens;
  } cases[] = {
      {u"C:\\info40.bmp", Bmp(40), 1},
      {u"C:\\core12.bmp", Bmp(12), 0},
      {u"C:\\v5.bmp", Bmp(124), 0},
      {u"C:\\short.bmp", "BM1234", 0},
      {u"C:\\\u65e5\u672c.bmp", Bmp(40), 1},  // a name outside the ANSI code page
  };
  for (const Case& c : cases) {
    Write(c.path, c.bytes);
    HANDLE file = NULL;
    EXPECT_EQ(ResOpenBmpFile(reinterpret_cast<LPCWSTR>(c.path), &file), c.opens);
    EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens == 1);
    if (c.opens) CloseHandle(file);
  }
  HANDLE file = NULL;
  EXPECT_EQ(ResOpenBmpFile(TEXT("C:\\missing.bmp"), &file), 0);
  EXPECT_EQ(file, INVALID_HANDLE_VALUE);
}

TEST_F(FileChecksTest, AFileExistsWhateverItsName) {
  Write(u"C:\\\u65e5\u672c.zvl", "x");
  EXPECT_EQ(DlgFileExists(reinterpret_cast<LPCWSTR>(u"C:\\\u65e5\u672c.zvl")), 1);
  EXPECT_EQ(DlgFileExists(TEXT("C:\\none.zvl")), 0);
  EXPECT_EQ(DlgFileExists(TEXT("")), 0);
  EXPECT_EQ(DlgFileExists(nullptr), 0);
}

TEST(FileFilters, EachDialogKindHasItsPatternAndExtension) {
  struct Case {
    WORD dialog, kind;
    const char16_t* pattern;
    const char16_t* matching;
    const char16_t* other;
  } cases[] = {
      {4001, 0x0100, u"*.rst", u".RsT", u".rsd"}, {4003, 0x0400, u"*.bmp", u".bmp", u".bmx"},
      {4007, 0x0800, u"*.zvl", u".ZVL", u".zv "}, {4008, 0x1000, u"*.zvl", u".zvl", u"zvl."},
      {1037, 0x0004, u"*.zvl", u".zvl", u".rst"}, {4009, 0x2000, u"*.rst", u".rst", u".bmp"},
      {0, 0x4000, u"*.vtc", u".vtc", u".vtx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialog);
    DlgPageRecord page = {};
    page.dialogId = c.dialog;
    page.kind = c.kind;
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(DlgGetFileFilter(&page))), c.pattern);
    EXPECT_EQ(DlgMatchFileExtension(&page, reinterpret_cast<LPCWSTR>(c.matching)), 1);
    EXPECT_EQ(DlgMatchFileExtension(&page, reinterpret_cast<LPCWSTR>(c.other)), 0);
    EXPECT_EQ(DlgIsFileDialog(&page), c.kind & 0xFF00 ? 1 : 0);
  }
}

}  // namespace
}  // namespace zems_test
