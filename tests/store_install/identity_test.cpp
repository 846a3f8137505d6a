// Driver identity values in printer data, HKLM helpers, companion products and print-log
// defaults: exact value names, types and sizes; every text read back terminated.
#include <gtest/gtest.h>

#include <string>

#include "core/context/ui_state.h"
#include "core/install/driver_identity.h"
#include "core/tables/component_files.h"
#include "store_install/install_fixture.h"

namespace {

using zems_test::InstallTest;

const char16_t kPrintLog[] = u"Software\\ORVEL\\PrintLog";

std::string TextBytes(const std::u16string& text, bool terminator) {
  std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  if (terminator) bytes.append(2, '\0');
  return bytes;
}

TEST_F(InstallTest, DriverFileNamesAreWrittenWithTheirTerminators) {
  EXPECT_EQ(InstWriteDriverFileNames(office_, ctx()), 1);
  struct Case {
    const char16_t* value;
    const char16_t* text;
  } cases[] = {{u"SPLUserModePrinterDriver", u"OV1BC123.DLL"},
               {u"DriverIniFileName", u"OV1BD170.ini"},
               {u"DriverGRFileName", u"zemsgr.dll"},
               {u"DriverEDFileName", u"zemsexc.dll"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(zems_test::Narrow16(c.value));
    std::string bytes;
    DWORD type = 0;
    ASSERT_TRUE(Data(c.value, &bytes, &type));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(bytes, TextBytes(c.text, true));
  }
}

TEST_F(InstallTest, PrinterNameAndDriverNameFromThePrinter) {
  EXPECT_EQ(InstWritePrinterName(office_), 1);
  EXPECT_EQ(InstWriteDriverName(office_), 1);
  EXPECT_EQ(DataText(u"ZEMSPrinterName"), u"Office");
  WCHAR name[261];
  EXPECT_EQ(InstReadPrinterNameInto(office_, name), 1);
  EXPECT_EQ(std::u16string(name), u"Office");
  EXPECT_EQ(InstReadPrinterNameData(office_, nullptr, ctx()), 1);
  EXPECT_EQ(std::u16string(ctx()->ui->install.storedPrinterName), u"Office");
  EXPECT_EQ(InstReadPrinterNameInto(office_, nullptr), 0);
}

// Texts stored by others without a terminator, or longer than the reader's buffer, read back
// terminated inside the buffer.
TEST_F(InstallTest, TextsReadBackAreTerminated) {
  std::u16string longName(300, u'n');
  ASSERT_EQ(SetPrinterDataW(office_, Text(u"ZEMSPrinterName"), REG_SZ,
                            (LPBYTE)longName.data(), DWORD(longName.size() * 2)),
            DWORD(ERROR_SUCCESS));
  WCHAR name[262];
  name[261] = u'x';
  EXPECT_EQ(InstReadPrinterNameInto(office_, name), 0) << "longer than 522 bytes";
  std::u16string plain(10, u'p');
  ASSERT_EQ(SetPrinterDataW(office_, Text(u"ZEMSPrinterName"), REG_SZ, (LPBYTE)plain.data(), 20), DWORD(ERROR_SUCCESS));
  EXPECT_EQ(InstReadPrinterNameInto(office_, name), 1);
  EXPECT_EQ(std::u16string(name), plain);
  ASSERT_EQ(SetPrinterDataW(office_, Text(u"HelpFileName"), REG_SZ, (LPBYTE)plain.data(), 20), DWORD(ERROR_SUCCESS));
  WCHAR help[4];
  EXPECT_EQ(InstReadHelpFileName(help, 4, ctx()), 0) << "does not fit";
  WCHAR full[64];
  EXPECT_EQ(InstReadHelpFileName(full, 64, ctx()), 1);
  EXPECT_EQ(std::u16string(full), plain);
  SetReg(kPrintLog, u"LogFileDirectory", REG_SZ, plain.data(), 20);
  WCHAR folder[11];
  folder[10] = u'x';
  EXPECT_EQ(InstReadHklmValueRaw(kPrintLog, u"LogFileDirectory", folder, sizeof folder), 1);
  EXPECT_EQ(std::u16string(folder), plain);
}

TEST_F(InstallTest, PrintLogDefaultsAreCreatedOnceAndKept) {
  EXPECT_EQ(InstWriteLogFileName(0, ctx()), 1);
  EXPECT_EQ(RegText(kPrintLog, u"LogFileDirectory"), u"C:\\WINDOWS\\temp\\PrintLog");
  std::string bytes;
  DWORD type = 0;
  ASSERT_TRUE(Reg(kPrintLog, u"MaxLogFileSize", &bytes, &type));
  EXPECT_EQ(type, DWORD(REG_DWORD));
  EXPECT_EQ(bytes, std::string("\x40\0\0\0", 4));
  EXPECT_EQ(DataText(u"LogFileName"), u"<absent>") << "refresh 0 writes no printer data";
  DWORD size = 128;
  SetReg(kPrintLog, u"MaxLogFileSize", REG_DWORD, &size, 4);
  SetReg(kPrintLog, u"LogFileDirectory", REG_SZ, u"D:\\logs", 16);
  EXPECT_EQ(InstWriteLogFileName(1, ctx()), 1);
  ASSERT_TRUE(Reg(kPrintLog, u"MaxLogFileSize", &bytes));
  EXPECT_EQ(bytes, std::string("\x80\0\0\0", 4));
  EXPECT_EQ(RegText(kPrintLog, u"LogFileDirectory"), u"D:\\logs");
  EXPECT_EQ(DataText(u"LogFileName"), u"zemsgr.log");
}

TEST_F(InstallTest, SaveDeviceSetupCountsOnlyAFirstUnitOfOne) {
  const char16_t* key = u"Software\\ORVEL\\ZemsDrvCustomSetup";
  EXPECT_EQ(InstIsSaveDeviceSetup(ctx()), 0) << "absent";
  struct Case {
    DWORD type;
    std::string data;
    int expected;
  } cases[] = {{REG_DWORD, std::string("\x01\0\0\0", 4), 1},
               {REG_SZ, std::string("1\0\0\0", 4), 0},
               {REG_DWORD, std::string("\0\0\0\0", 4), 0},
               {REG_BINARY, std::string("\x01\0", 2), 1}};
  for (const Case& c : cases) {
    SetReg(key, u"SaveDeviceSetup", c.type, c.data.data(), DWORD(c.data.size()));
    EXPECT_EQ(InstIsSaveDeviceSetup(ctx()), c.expected) << c.type;
  }
}

TEST_F(InstallTest, CompanionProductsAreInstalledWhenTheirValueIsNonzero) {
  EXPECT_EQ(InstIsCompanionInstalled(2, ctx()), 0);
  EXPECT_EQ(InstIsCompanionInstalled(8, ctx()), 0);
  struct Case {
    const char16_t* key;
    const char16_t* value;
    DWORD data;
    int kind;
    int expected;
  } cases[] = {
      {u"Software\\ORVEL\\Tavrello\\JobBinder", u"INSTALL_COUNT", 3, 2, 1},
      {u"Software\\ORVEL\\Tavrello\\JobBinder", u"INSTALL_COUNT", 0, 2, 0},
      {u"Software\\ORVEL\\Tavrello\\Preview", u"VERSION", 1, 8, 1},
      {u"Software\\ORVEL\\Tavrello\\Preview", u"VERSION", 0, 8, 0},
      {u"Software\\ORVEL\\Tavrello\\Preview", u"VERSION", 1, 4, 0},
  };
  for (const Case& c : cases) {
    SetReg(c.key, c.value, REG_DWORD, &c.data, 4);
    EXPECT_EQ(InstIsCompanionInstalled(c.kind, ctx()), c.expected) << c.kind << " " << c.data;
  }
}

TEST_F(InstallTest, PermissionIsWrittenAsTheCallerGivesIt) {
  DWORD value = 1;
  EXPECT_EQ(InstWritePermission(office_, &value, 4), 1);
  std::string bytes;
  DWORD type = 0;
  ASSERT_TRUE(Data(u"Permission", &bytes, &type));
  EXPECT_EQ(type, DWORD(REG_DWORD));
  EXPECT_EQ(bytes, std::string("\x01\0\0\0", 4));
  EXPECT_EQ(InstWritePermission(nullptr, &value, 4), 0);
}

TEST(ComponentFiles, EachFileOnceWithKindTwoAndOnceWithKindOne) {
  int two = 0, one = 0;
  const ComponentFileRow* row = TblGetComponentFiles();
  for (; row->name; ++row) {
    if (row->kind == 2) ++two;
    if (row->kind == 1) ++one;
  }
  EXPECT_EQ(row->kind, 0u);
  EXPECT_EQ(two, one);
  EXPECT_GT(two, 0);
}

}  // namespace
