// DrvDocumentEvent, DrvPrinterEvent and DrvUpgradePrinter on the installed sample printer.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/front/ui_busy.h"
#include "core/install/install_ini.h"
#include "core/system/settings_folders.h"
#include "front_exports/front_fixture.h"
#include "platform/sim.h"

namespace zems_test {
namespace {

class PrinterEventsTest : public FrontTest {
 protected:
  // A connection to a server's printer of the sample driver that no event has seen yet.
  HANDLE AddConnection(const char16_t* name) {
    PRINTER_INFO_2W info = {};
    info.pServerName = const_cast<LPWSTR>(u"\\\\SRV");
    info.pPrinterName = const_cast<LPWSTR>(name);
    info.pPortName = const_cast<LPWSTR>(u"LPT1:");
    info.pDriverName = const_cast<LPWSTR>(u"ORVEL ALTEN KV310 ZEMS");
    info.pPrintProcessor = const_cast<LPWSTR>(u"WinPrint");
    info.pDatatype = const_cast<LPWSTR>(u"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_NETWORK;
    SimActForMachine(TRUE);
    HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    SimActForMachine(FALSE);
    EXPECT_NE(h, nullptr);
    return h;
  }
  std::u16string Key(HANDLE printer, const char16_t* section, const char16_t* key) {
    WCHAR ini[MAX_PATH] = {};
    PathSettingsFileOf(ini, MAX_PATH, 0, printer);
    return Ini(ini, section, key);
  }
};

TEST_F(PrinterEventsTest, DocumentEventAnswersByTheLowWord) {
  const struct {
    int escape;
    int expected;
  } cases[] = {
      {DOCUMENTEVENT_CREATEDCPRE, 1}, {DOCUMENTEVENT_CREATEDCPOST, 1}, {DOCUMENTEVENT_STARTDOC, 1},
      {DOCUMENTEVENT_STARTPAGE, 1},   {DOCUMENTEVENT_STARTDOCPOST, 1}, {0, 0},
      {14, 0},                        {DOCUMENTEVENT_RESETDCPRE, 0},   {DOCUMENTEVENT_ENDPAGE, 0},
      {DOCUMENTEVENT_ENDDOC, 0},      {DOCUMENTEVENT_DELETEDC, 0},     {0x10000 | DOCUMENTEVENT_STARTPAGE, 1},
      {0x7FFF0000 | DOCUMENTEVENT_CREATEDCPRE, 1}, {0x10000 | 14, 0},  {0x10000, 0},
  };
  HDC dc = reinterpret_cast<HDC>(0x5A5A);
  for (const auto& c : cases)
    EXPECT_EQ(DrvDocumentEvent(printer_, dc, c.escape, 0, nullptr, 0, nullptr), c.expected) << std::hex << c.escape;
}

TEST_F(PrinterEventsTest, StartDocSendsTheTextTableOnTheJobsDc) {
  SimClearEscapes();
  HDC dc = reinterpret_cast<HDC>(0x7171);
  ASSERT_EQ(DrvDocumentEvent(printer_, dc, DOCUMENTEVENT_STARTPAGE, 0, nullptr, 0, nullptr), 1);
  EXPECT_EQ(SimEscapeCount(), 0u) << "only STARTDOC sends it";
  ASSERT_EQ(DrvDocumentEvent(printer_, dc, DOCUMENTEVENT_STARTDOC, 0, nullptr, 0, nullptr), 1);
  ASSERT_EQ(SimEscapeCount(), 1u);
  HDC sentOn = nullptr;
  int code = 0;
  std::string input(4096, '\0');
  EXPECT_EQ(SimGetEscape(0, &sentOn, &code, &input[0], int(input.size())), 2104);
  EXPECT_EQ(sentOn, dc);
  EXPECT_EQ(code, 122);
}

TEST_F(PrinterEventsTest, StartPageRunsTheHousekeepingAgain) {
  HANDLE conn = AddConnection(u"\\\\SRV\\Shared");
  const char16_t kSection[] = u"\\\\SRV\\Shared";
  EXPECT_EQ(DrvDocumentEvent(conn, nullptr, DOCUMENTEVENT_STARTDOCPOST, 0, nullptr, 0, nullptr), 1);
  EXPECT_EQ(Key(conn, kSection, u"BatchInstallDone"), u"<absent>") << "STARTDOCPOST does nothing";
  EXPECT_EQ(DrvDocumentEvent(conn, nullptr, DOCUMENTEVENT_STARTPAGE, 0, nullptr, 0, nullptr), 1);
  EXPECT_EQ(Key(conn, kSection, u"BatchInstallDone"), u"1") << "the connection's pass ran at the page";
  ClosePrinter(conn);
}

TEST_F(PrinterEventsTest, OtherPrinterEventsAnswerTrue) {
  for (int event : {PRINTER_EVENT_CONFIGURATION_CHANGE, PRINTER_EVENT_CACHE_DELETE, PRINTER_EVENT_ATTRIBUTES_CHANGED, 99})
    EXPECT_TRUE(DrvPrinterEvent(Name(), event, 0, 0)) << event;
  EXPECT_FALSE(DrvPrinterEvent(nullptr, PRINTER_EVENT_INITIALIZE, 0, 0));
  for (int event : {PRINTER_EVENT_ADD_CONNECTION, PRINTER_EVENT_DELETE_CONNECTION, PRINTER_EVENT_INITIALIZE,
                    PRINTER_EVENT_DELETE, PRINTER_EVENT_CACHE_REFRESH})
    EXPECT_FALSE(DrvPrinterEvent(const_cast<LPWSTR>(u"No such printer"), event, 0, 0)) << event;
  EXPECT_EQ(UiBusyFlag.load(), 0);
}

TEST_F(PrinterEventsTest, AddConnectionRunsThePassAndStamps) {
  HANDLE conn = AddConnection(u"\\\\SRV\\Conn");
  EXPECT_TRUE(DrvPrinterEvent(const_cast<LPWSTR>(u"\\\\SRV\\Conn"), PRINTER_EVENT_ADD_CONNECTION, 0, 0));
  EXPECT_EQ(Key(conn, u"\\\\SRV\\Conn", u"BatchInstallDone"), u"1") << "the connection's pass ran";
  EXPECT_EQ(UiBusyFlag.load(), 0);
  ClosePrinter(conn);
}

TEST_F(PrinterEventsTest, InitializeAfterTheBatchInstallOnlyCleansUp) {
  ASSERT_TRUE(InstIsBatchInstallDone(printer_, nullptr)) << "the install ran the pass";
  const std::u16string stamp = SettingsKey(u"DrvInstTime");
  // The pass would write the identity values again; after the batch install it does not run.
  DeleteData(u"ZEMSPrinterName");
  SimAdvanceTickCount(5000);
  EXPECT_TRUE(DrvPrinterEvent(Name(), PRINTER_EVENT_INITIALIZE, 0, 0));
  EXPECT_FALSE(HasData(u"ZEMSPrinterName")) << "no pass";
  EXPECT_EQ(SettingsKey(u"DrvInstTime"), stamp);
  EXPECT_EQ(UiBusyFlag.load(), 0);
}

TEST_F(PrinterEventsTest, InitializeRunsThePassUntilItSucceeds) {
  HANDLE bare = AddBarePrinter(u"Fresh");
  ASSERT_FALSE(InstIsBatchInstallDone(bare, nullptr));
  EXPECT_TRUE(DrvPrinterEvent(const_cast<LPWSTR>(u"Fresh"), PRINTER_EVENT_INITIALIZE, 0, 0));
  EXPECT_TRUE(InstIsBatchInstallDone(bare, nullptr));
  EXPECT_EQ(UiBusyFlag.load(), 0);
  ClosePrinter(bare);
}

TEST_F(PrinterEventsTest, AFailedPassLeavesNoStampAndIsTriedAgain) {
  MultiSession();
  HANDLE fresh = AddBarePrinter(u"Fresh");
  HANDLE conn = AddConnection(u"\\\\SRV\\Conn");
  const struct {
    const char16_t* name;
    HANDLE printer;
    int event;
  } cases[] = {{u"Fresh", fresh, PRINTER_EVENT_INITIALIZE}, {u"\\\\SRV\\Conn", conn, PRINTER_EVENT_ADD_CONNECTION}};
  for (const auto& c : cases) {
    HideModel();
    EXPECT_FALSE(DrvPrinterEvent(const_cast<LPWSTR>(c.name), c.event, 0, 0)) << c.event;
    EXPECT_EQ(Key(c.printer, c.name, u"DrvInstTime"), u"<absent>") << c.event << ": no stamp";
    EXPECT_EQ(UiBusyFlag.load(), 0);
    ShowModel();
    EXPECT_TRUE(DrvPrinterEvent(const_cast<LPWSTR>(c.name), c.event, 0, 0)) << c.event << ": tried again";
    EXPECT_EQ(Key(c.printer, c.name, u"DrvInstTime").size(), 14u) << c.event;
  }
  ClosePrinter(fresh);
  ClosePrinter(conn);
}

TEST_F(PrinterEventsTest, DeleteConnectionClearsTheBatchInstall) {
  ASSERT_TRUE(InstIsBatchInstallDone(printer_, nullptr));
  EXPECT_TRUE(DrvPrinterEvent(Name(), PRINTER_EVENT_DELETE_CONNECTION, 0, 0));
  EXPECT_EQ(SettingsKey(u"BatchInstallDone"), u"0");
  EXPECT_EQ(SettingsKey(u"DrvInstVersion"), u"");
  EXPECT_TRUE(DrvPrinterEvent(Name(), PRINTER_EVENT_DELETE, 0, 0));
}

TEST_F(PrinterEventsTest, DeleteConnectionWithoutAContextIsTrue) {
  HideModel();
  EXPECT_TRUE(DrvPrinterEvent(Name(), PRINTER_EVENT_DELETE_CONNECTION, 0, 0));
  EXPECT_TRUE(DrvPrinterEvent(Name(), PRINTER_EVENT_DELETE, 0, 0));
  EXPECT_EQ(SettingsKey(u"BatchInstallDone"), u"1") << "nothing was cleared without a context";
}

TEST_F(PrinterEventsTest, ThePrinterOpensWithTheFirstAccessItGrants) {
  // A printer refusing PRINTER_ALL_ACCESS: the events that list other masks open with the next.
  const struct {
    DWORD allowed;
    int event;
    BOOL expected;
  } cases[] = {
      {0xF0003, PRINTER_EVENT_CACHE_REFRESH, TRUE},
      {PRINTER_ACCESS_USE, PRINTER_EVENT_CACHE_REFRESH, TRUE},
      {PRINTER_ACCESS_USE, PRINTER_EVENT_DELETE, TRUE},
      {PRINTER_ACCESS_USE, PRINTER_EVENT_DELETE_CONNECTION, TRUE},
      {PRINTER_ACCESS_USE, PRINTER_EVENT_INITIALIZE, FALSE},
      {PRINTER_ACCESS_USE, PRINTER_EVENT_ADD_CONNECTION, FALSE},
      {0x20000, PRINTER_EVENT_CACHE_REFRESH, FALSE},
  };
  for (const auto& c : cases) {
    SimLimitPrinterAccess(c.allowed);
    EXPECT_EQ(DrvPrinterEvent(Name(), c.event, 0, 0), c.expected) << std::hex << c.allowed << " event " << c.event;
  }
  SimLimitPrinterAccess(0);
  DRIVER_UPGRADE_INFO_1W info = {Name(), nullptr};
  SimLimitPrinterAccess(0xF0003);
  EXPECT_FALSE(DrvUpgradePrinter(1, reinterpret_cast<LPBYTE>(&info)));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  SimLimitPrinterAccess(0);
}

TEST_F(PrinterEventsTest, UpgradePrinter) {
  DRIVER_UPGRADE_INFO_1W info = {Name(), nullptr};
  SetLastError(0);
  EXPECT_FALSE(DrvUpgradePrinter(2, reinterpret_cast<LPBYTE>(&info)));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_FALSE(DrvUpgradePrinter(1, nullptr));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  DRIVER_UPGRADE_INFO_1W missing = {const_cast<LPWSTR>(u"No such printer"), nullptr};
  EXPECT_FALSE(DrvUpgradePrinter(1, reinterpret_cast<LPBYTE>(&missing)));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));

  for (const char16_t* name : {u"SPLUserModePrinterDriver", u"DriverIniFileName", u"DriverGRFileName", u"DriverEDFileName"})
    DeleteData(name);
  EXPECT_TRUE(DrvUpgradePrinter(1, reinterpret_cast<LPBYTE>(&info)));
  for (const char16_t* name : {u"SPLUserModePrinterDriver", u"DriverIniFileName", u"DriverGRFileName", u"DriverEDFileName"}) {
    EXPECT_TRUE(HasData(name)) << Narrow16(name);
  }
}

TEST_F(PrinterEventsTest, TheSpoolerUpgradesThePrintersOfAReinstalledDriver) {
  DWORD needed = 0;
  GetPrinterDriverW(printer_, nullptr, 3, nullptr, 0, &needed);
  std::vector<BYTE> driver(needed);
  ASSERT_TRUE(GetPrinterDriverW(printer_, nullptr, 3, driver.data(), needed, &needed));
  DeleteData(u"DriverGRFileName");
  SimActForMachine(TRUE);
  ASSERT_TRUE(AddPrinterDriverW(nullptr, 3, driver.data()));
  SimActForMachine(FALSE);
  EXPECT_TRUE(HasData(u"DriverGRFileName")) << "DrvUpgradePrinter wrote the driver's file names again";
}

TEST_F(PrinterEventsTest, TheSpoolerInitializesANewPrinter) {
  SimActForMachine(TRUE);
  PRINTER_INFO_2W info = {};
  info.pPrinterName = const_cast<LPWSTR>(u"Second");
  info.pPortName = const_cast<LPWSTR>(u"LPT1:");
  info.pDriverName = const_cast<LPWSTR>(u"ORVEL ALTEN KV310 ZEMS");
  info.pPrintProcessor = const_cast<LPWSTR>(u"WinPrint");
  info.pDatatype = const_cast<LPWSTR>(u"RAW");
  HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  SimActForMachine(FALSE);
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(InstIsBatchInstallDone(h, nullptr)) << "the initialize event ran the install pass";
  ClosePrinter(h);
}

}  // namespace
}  // namespace zems_test
