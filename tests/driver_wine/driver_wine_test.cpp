// The driver under Wine, installed on Wine's spooler: the spooler's and applications' calls
// that reach zemsui (AddPrinterW's default DEVMODE, DocumentPropertiesW in its modes with the
// printing-preferences sheet through the common property-sheet UI, DeviceCapabilitiesW), the
// device sheet, zemsexc's application interface, and the exports Wine's spooler never calls,
// called on its printer where Windows' spooler calls them.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "driver_wine/sheet_driver.h"
#include "driver_wine/wine_printer.h"
#include "platform/win32.h"
#include "support/stored_devmode.h"

namespace {

constexpr LONG kDevmodeSize = 1236;
constexpr WORD kPublicSize = 220, kPrivateSize = 1016;
// The private part's tag, size and layout version.
constexpr size_t kPrivateHeader = 349, kPrivateHeaderSize = 12;

typedef LONG(WINAPI* DocumentPropertiesFn)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW, DWORD);
typedef LONG(WINAPI* AdvancedFn)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW);
typedef BOOL(WINAPI* ConvertFn)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
typedef DWORD(WINAPI* CapsFn)(HANDLE, LPWSTR, WORD, PVOID, PDEVMODEW);
typedef BOOL(WINAPI* PrinterEventFn)(LPWSTR, int, DWORD, LPARAM);
typedef int(WINAPI* DocumentEventFn)(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID);
typedef BOOL(WINAPI* UpgradeFn)(DWORD, LPBYTE);
typedef BOOL(WINAPI* QueryPrintFn)(PDEVQUERYPRINT_INFO);
typedef BOOL(WINAPI* PrinterPropertiesFn)(HWND, HANDLE);
typedef LONG(CALLBACK* SheetsFn)(PPROPSHEETUI_INFO, LPARAM);
typedef void*(WINAPI* ApiEnableFn)(const char*);
typedef LONG(WINAPI* ApiDisableFn)(void*);
typedef LONG(WINAPI* ApiGetDevmodeFn)(void*, DWORD, void*);

// Installs the sample printer once for the program.
class SamplePrinter : public ::testing::Environment {
 public:
  void SetUp() override { error_ = wine_printer::Install(); }
  void TearDown() override {
    if (error_.empty()) wine_printer::Remove();
  }
  static std::string error_;
};
std::string SamplePrinter::error_ = "not installed";
const auto* const g_printer = ::testing::AddGlobalTestEnvironment(new SamplePrinter);

class DriverWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SamplePrinter::error_, "") << "the sample printer did not install";
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    ASSERT_TRUE(OpenPrinterW(wine_printer::Name(), &printer_, &all)) << GetLastError();
  }
  void TearDown() override {
    if (printer_) ClosePrinter(printer_);
  }
  // The printer's stored DEVMODE (PRINTER_INFO_2 pDevMode); empty without one.
  std::vector<BYTE> Stored() { return zems_test::StoredPrinterDevmode(printer_); }
  std::vector<BYTE> OutBuffer() { return std::vector<BYTE>(kDevmodeSize, 0xA5); }
  static DEVMODEW* Dm(std::vector<BYTE>& b) { return reinterpret_cast<DEVMODEW*>(b.data()); }
  static std::string Describe(const std::vector<BYTE>& b) {
    if (b.size() < sizeof(DEVMODEW)) return "no DEVMODE (" + std::to_string(b.size()) + " bytes)";
    const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(b.data());
    std::string name;
    for (int i = 0; i < 32 && dm->dmDeviceName[i]; ++i) name.push_back(char(dm->dmDeviceName[i]));
    return "size " + std::to_string(dm->dmSize) + ", extra " + std::to_string(dm->dmDriverExtra) + ", device \"" +
           name + "\"";
  }
  // One of our DEVMODEs: the public and private sizes, and the private part's tag, size and
  // layout version as the driver default has them (the device name is the spooler's to fill in).
  static bool Ours(const std::vector<BYTE>& b) {
    static std::vector<BYTE> reference;
    if (reference.empty()) {
      ConvertFn convert = wine_printer::Export<ConvertFn>("DrvConvertDevMode");
      reference.assign(kDevmodeSize, 0);
      LONG needed = kDevmodeSize;
      if (!convert || !convert(wine_printer::Name(), nullptr, Dm(reference), &needed, CDM_DRIVER_DEFAULT)) return false;
    }
    const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(b.data());
    return b.size() >= size_t(kDevmodeSize) && dm->dmSize == kPublicSize && dm->dmDriverExtra == kPrivateSize &&
           memcmp(b.data() + kPrivateHeader, reference.data() + kPrivateHeader, kPrivateHeaderSize) == 0;
  }
  HANDLE printer_ = nullptr;
};

// The printer is added with our driver, whose configuration DLL the spooler loads from the
// driver folder with its exports.
TEST_F(DriverWineTest, ThePrinterInstallsWithOurDriver) {
  DWORD needed = 0;
  GetPrinterDriverW(printer_, nullptr, 2, nullptr, 0, &needed);
  std::vector<BYTE> driver(needed);
  ASSERT_TRUE(GetPrinterDriverW(printer_, nullptr, 2, driver.data(), needed, &needed)) << GetLastError();
  const DRIVER_INFO_2W* info = reinterpret_cast<DRIVER_INFO_2W*>(driver.data());
  EXPECT_EQ(lstrcmpW(info->pName, wine_printer::kDriverName), 0);
  const std::wstring config = info->pConfigFile;
  EXPECT_EQ(config.substr(config.find_last_of(L'\\') + 1), L"zemsui.dll");
  HMODULE dll = wine_printer::ConfigDll();
  ASSERT_NE(dll, nullptr);
  for (const char* name : {"DrvDocumentPropertySheets", "DrvDevicePropertySheets", "DrvDocumentProperties",
                           "DrvConvertDevMode", "DrvDeviceCapabilities", "DevQueryPrintEx", "DrvPrinterEvent",
                           "DrvDocumentEvent", "DrvUpgradePrinter", "PrinterProperties"})
    EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
  // Wine's AddPrinterW asks DocumentPropertiesW for the default DEVMODE without a printer
  // handle, which the driver's document properties need, and stores the DEVMODE of its own
  // PostScript driver instead; Windows' spooler asks with one.
  if (!Ours(Stored())) std::printf("note: the stored DEVMODE is not the driver's: %s\n", Describe(Stored()).c_str());
}

// DocumentPropertiesW without the sheet: the size, and the driver's DEVMODE with its private part.
TEST_F(DriverWineTest, DocumentPropertiesWithoutTheSheet) {
  EXPECT_EQ(DocumentPropertiesW(nullptr, printer_, wine_printer::Name(), nullptr, nullptr, 0), kDevmodeSize);
  std::vector<BYTE> out = OutBuffer();
  EXPECT_EQ(DocumentPropertiesW(nullptr, printer_, wine_printer::Name(), Dm(out), nullptr, DM_OUT_BUFFER), IDOK);
  EXPECT_TRUE(Ours(out)) << Describe(out);
  // An input DEVMODE is merged into the output.
  std::vector<BYTE> in = out, merged = OutBuffer();
  Dm(in)->dmFields |= DM_COPIES;
  Dm(in)->dmCopies = 5;
  EXPECT_EQ(DocumentPropertiesW(nullptr, printer_, wine_printer::Name(), Dm(merged), Dm(in),
                                DM_IN_BUFFER | DM_OUT_BUFFER),
            IDOK);
  EXPECT_TRUE(Ours(merged)) << Describe(merged);
  EXPECT_EQ(Dm(merged)->dmCopies, 5);
}

// DocumentPropertiesW with the sheet: our seven document pages; OK answers IDOK and the
// DEVMODE, Cancel IDCANCEL and leaves the caller's DEVMODE as it was.
TEST_F(DriverWineTest, DocumentPropertiesWithTheSheet) {
  const struct {
    int button;
  } cases[] = {{IDOK}, {IDCANCEL}};
  for (const auto& c : cases) {
    std::vector<BYTE> out = OutBuffer();
    sheet_driver::Plan plan;
    plan.button = c.button;
    sheet_driver::Start(&plan);
    const LONG answer = DocumentPropertiesW(nullptr, printer_, wine_printer::Name(), Dm(out), nullptr,
                                            DM_IN_PROMPT | DM_OUT_BUFFER);
    sheet_driver::Stop();
    EXPECT_EQ(plan.pageIds, (std::vector<int>{1001, 1002, 1003, 1004, 1005, 1006, 1010})) << c.button;
    if (c.button == IDOK) {
      EXPECT_EQ(answer, IDOK);
      EXPECT_TRUE(Ours(out)) << Describe(out);
    } else {
      // Wine's DocumentPropertiesW answers IDOK whatever the sheet's result; the DEVMODE tells.
      EXPECT_EQ(out, OutBuffer()) << "a cancelled sheet writes nothing";
    }
  }
}

// The device sheet through the common property-sheet UI with DrvDevicePropertySheets, and
// through our PrinterProperties: the four device pages.
TEST_F(DriverWineTest, TheDeviceSheetShowsItsFourPages) {
  SheetsFn sheets = wine_printer::Export<SheetsFn>("DrvDevicePropertySheets");
  ASSERT_NE(sheets, nullptr);
  HMODULE compstui = LoadLibraryW(L"compstui.dll");
  ASSERT_NE(compstui, nullptr);
  typedef LONG(WINAPI * CommonSheetFn)(HWND, PFNPROPSHEETUI, LPARAM, LPDWORD);
  CommonSheetFn common =
      reinterpret_cast<CommonSheetFn>(reinterpret_cast<void*>(GetProcAddress(compstui, "CommonPropertySheetUIW")));
  ASSERT_NE(common, nullptr);
  DEVICEPROPERTYHEADER header = {};
  header.cbSize = sizeof header;
  header.hPrinter = printer_;
  header.pszPrinterName = wine_printer::Name();
  sheet_driver::Plan plan;
  plan.button = IDCANCEL;
  sheet_driver::Start(&plan);
  DWORD result = 0;
  common(nullptr, reinterpret_cast<PFNPROPSHEETUI>(sheets), reinterpret_cast<LPARAM>(&header), &result);
  sheet_driver::Stop();
  EXPECT_EQ(plan.pageIds, (std::vector<int>{1011, 1009, 1008, 1015}));
  for (const std::wstring& other : plan.others) std::printf("note: confirmed %ls\n", other.c_str());

  PrinterPropertiesFn properties = wine_printer::Export<PrinterPropertiesFn>("PrinterProperties");
  ASSERT_NE(properties, nullptr);
  sheet_driver::Plan own;
  own.button = IDOK;
  sheet_driver::Start(&own);
  EXPECT_TRUE(properties(nullptr, printer_));
  sheet_driver::Stop();
  EXPECT_EQ(own.pageIds, (std::vector<int>{1011, 1009, 1008, 1015}));
  FreeLibrary(compstui);
}

// An application enables the printer through zemsexc's interface and reads its DEVMODE back.
TEST_F(DriverWineTest, AnApplicationEnablesThePrinter) {
  HMODULE exc = LoadLibraryW(L"zemsexc.dll");
  ASSERT_NE(exc, nullptr) << GetLastError();
  ApiEnableFn enable = reinterpret_cast<ApiEnableFn>(reinterpret_cast<void*>(GetProcAddress(exc, "ZEMSDrvEnable")));
  ApiDisableFn disable = reinterpret_cast<ApiDisableFn>(reinterpret_cast<void*>(GetProcAddress(exc, "ZEMSDrvDisable")));
  ApiGetDevmodeFn get =
      reinterpret_cast<ApiGetDevmodeFn>(reinterpret_cast<void*>(GetProcAddress(exc, "ZEMSDrvGetDevmode")));
  ASSERT_TRUE(enable && disable && get);
  void* api = enable("ZEMS Printer");
  ASSERT_NE(api, nullptr);
  std::vector<BYTE> dm = OutBuffer();
  EXPECT_EQ(get(api, 4, dm.data()), kDevmodeSize);
  EXPECT_TRUE(Ours(dm));
  disable(api);
  FreeLibrary(exc);
}

// DeviceCapabilitiesW reaches DrvDeviceCapabilities: its fixed answers. Wine's passes no
// printer handle, so the answers of the printer's settings are asked of the export with one,
// as Windows' spooler calls it: the sample's papers and bins.
TEST_F(DriverWineTest, DeviceCapabilitiesGivesTheSamplesPapersAndBins) {
  const struct {
    WORD index;
    int expected;
  } fixed[] = {{DC_SIZE, 220}, {DC_EXTRA, 1016}, {DC_VERSION, 0x401}, {DC_DRIVER, 0x400}, {DC_COPIES, 999},
               {DC_ORIENTATION, 90}};
  for (const auto& f : fixed)
    EXPECT_EQ(DeviceCapabilitiesW(wine_printer::kPrinterName, L"LPT1:", f.index, nullptr, nullptr), f.expected)
        << f.index;
  CapsFn caps = wine_printer::Export<CapsFn>("DrvDeviceCapabilities");
  ASSERT_NE(caps, nullptr);
  auto ask = [&](WORD index, void* out) { return caps(printer_, wine_printer::Name(), index, out, nullptr); };
  ASSERT_EQ(ask(DC_PAPERS, nullptr), 12u);
  std::vector<WORD> papers(12);
  std::vector<WCHAR> paperNames(12 * 64);
  EXPECT_EQ(ask(DC_PAPERS, papers.data()), 12u);
  EXPECT_EQ(ask(DC_PAPERNAMES, paperNames.data()), 12u);
  EXPECT_EQ(papers[0], 8);
  EXPECT_EQ(papers[1], 9);
  EXPECT_EQ(std::wstring(&paperNames[0]), L"A3");
  EXPECT_EQ(std::wstring(&paperNames[64]), L"A4");
  std::vector<WORD> bins(3);
  std::vector<WCHAR> binNames(3 * 24);
  EXPECT_EQ(ask(DC_BINS, bins.data()), 3u);
  EXPECT_EQ(ask(DC_BINNAMES, binNames.data()), 3u);
  EXPECT_EQ(bins, (std::vector<WORD>{7, 1, 4}));
  EXPECT_EQ(std::wstring(&binNames[0]), L"Auto");
  EXPECT_EQ(std::wstring(&binNames[2 * 24]), L"Multi");
}

// The document properties exports, called as Windows' spooler calls them.
TEST_F(DriverWineTest, TheDocumentPropertiesExports) {
  DocumentPropertiesFn document = wine_printer::Export<DocumentPropertiesFn>("DrvDocumentProperties");
  AdvancedFn advanced = wine_printer::Export<AdvancedFn>("DrvAdvancedDocumentProperties");
  ASSERT_TRUE(document && advanced);
  std::vector<BYTE> out = OutBuffer();
  EXPECT_EQ(document(nullptr, printer_, wine_printer::Name(), Dm(out), nullptr, 0), kDevmodeSize);
  EXPECT_EQ(out, OutBuffer()) << "a size query touches nothing";
  EXPECT_EQ(document(nullptr, printer_, wine_printer::Name(), Dm(out), nullptr, DM_COPY), IDOK);
  EXPECT_TRUE(Ours(out)) << Describe(out);
  const struct {
    int button;
    LONG documentAnswer, advancedAnswer;
  } cases[] = {{IDOK, IDOK, 1}, {IDCANCEL, IDCANCEL, 0}};
  for (const auto& c : cases) {
    sheet_driver::Plan plan;
    plan.button = c.button;
    sheet_driver::Start(&plan);
    EXPECT_EQ(document(nullptr, printer_, wine_printer::Name(), Dm(out), nullptr, DM_PROMPT | DM_COPY),
              c.documentAnswer);
    sheet_driver::Stop();
    EXPECT_EQ(plan.pageIds.size(), 7u);
    sheet_driver::Plan again;
    again.button = c.button;
    sheet_driver::Start(&again);
    EXPECT_EQ(advanced(nullptr, printer_, wine_printer::Name(), Dm(out), nullptr), c.advancedAnswer);
    sheet_driver::Stop();
    EXPECT_EQ(again.pageIds.size(), 7u);
  }
}

// DrvConvertDevMode: the driver default, a buffer too small, the 188-byte layout.
TEST_F(DriverWineTest, DevmodeConversion) {
  ConvertFn convert = wine_printer::Export<ConvertFn>("DrvConvertDevMode");
  ASSERT_NE(convert, nullptr);
  std::vector<BYTE> out = OutBuffer();
  LONG needed = kDevmodeSize;
  EXPECT_TRUE(convert(wine_printer::Name(), nullptr, Dm(out), &needed, CDM_DRIVER_DEFAULT));
  EXPECT_TRUE(Ours(out)) << Describe(out);
  std::vector<BYTE> small(kDevmodeSize - 1, 0xA5);
  needed = kDevmodeSize - 1;
  SetLastError(0);
  EXPECT_FALSE(convert(wine_printer::Name(), nullptr, reinterpret_cast<PDEVMODEW>(small.data()), &needed,
                       CDM_DRIVER_DEFAULT));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(needed, kDevmodeSize);
  std::vector<BYTE> old(188 + kPrivateSize, 0xA5);
  needed = LONG(old.size());
  ASSERT_TRUE(convert(wine_printer::Name(), Dm(out), reinterpret_cast<PDEVMODEW>(old.data()), &needed, CDM_CONVERT351));
  EXPECT_EQ(reinterpret_cast<DEVMODEW*>(old.data())->dmSize, 188);
  std::vector<BYTE> converted = OutBuffer();
  Dm(converted)->dmSize = kPublicSize;
  Dm(converted)->dmDriverExtra = kPrivateSize;
  needed = kDevmodeSize;
  EXPECT_TRUE(convert(wine_printer::Name(), Dm(out), Dm(converted), &needed, CDM_CONVERT));
  EXPECT_TRUE(Ours(converted));
}

// The job check: no DEVMODE passes, the printer's own DEVMODE passes.
TEST_F(DriverWineTest, JobCheck) {
  QueryPrintFn query = wine_printer::Export<QueryPrintFn>("DevQueryPrintEx");
  ASSERT_NE(query, nullptr);
  DEVQUERYPRINT_INFO info = {};
  info.cbSize = sizeof info;
  info.Level = 1;
  info.hPrinter = printer_;
  EXPECT_TRUE(query(&info));
  std::vector<BYTE> dm = OutBuffer();
  ASSERT_EQ(DocumentPropertiesW(nullptr, printer_, wine_printer::Name(), Dm(dm), nullptr, DM_OUT_BUFFER), IDOK);
  ASSERT_TRUE(Ours(dm));
  info.pDevMode = Dm(dm);
  EXPECT_TRUE(query(&info));
}

// Printer events, the driver upgrade and the document events on a DC of the printer.
TEST_F(DriverWineTest, EventsAndUpgrade) {
  PrinterEventFn event = wine_printer::Export<PrinterEventFn>("DrvPrinterEvent");
  UpgradeFn upgrade = wine_printer::Export<UpgradeFn>("DrvUpgradePrinter");
  DocumentEventFn documentEvent = wine_printer::Export<DocumentEventFn>("DrvDocumentEvent");
  ASSERT_TRUE(event && upgrade && documentEvent);

  std::wstring folder = L"C:\\windows\\system32\\spool\\drivers\\w32x86\\3";
  DRIVER_UPGRADE_INFO_1W info = {wine_printer::Name(), &folder[0]};
  EXPECT_TRUE(upgrade(1, reinterpret_cast<LPBYTE>(&info)));
  SetLastError(0);
  EXPECT_FALSE(upgrade(2, reinterpret_cast<LPBYTE>(&info)));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));

  HDC dc = CreateDCW(nullptr, wine_printer::kPrinterName, nullptr, nullptr);
  ASSERT_NE(dc, nullptr) << GetLastError();
  const struct {
    int escape;
    int expected;
  } cases[] = {
      {DOCUMENTEVENT_CREATEDCPRE, 1}, {DOCUMENTEVENT_CREATEDCPOST, 1}, {DOCUMENTEVENT_STARTDOC, 1},
      {DOCUMENTEVENT_STARTPAGE, 1},   {DOCUMENTEVENT_STARTDOCPOST, 1}, {0, 0},
      {14, 0},                        {DOCUMENTEVENT_ENDPAGE, 0},      {0x10000 | DOCUMENTEVENT_STARTPAGE, 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(documentEvent(printer_, dc, c.escape, 0, nullptr, 0, nullptr), c.expected) << std::hex << c.escape;
  DeleteDC(dc);
  // INITIALIZE after the install's: only the clean-up; the cache and other events answer TRUE;
  // the end of a connection (last: it clears the install pass's mark) too.
  const int events[] = {PRINTER_EVENT_INITIALIZE, PRINTER_EVENT_CACHE_REFRESH, 77, PRINTER_EVENT_DELETE_CONNECTION};
  for (int e : events) EXPECT_TRUE(event(wine_printer::Name(), e, PRINTER_EVENT_FLAG_NO_UI, 0)) << e;
}

}  // namespace
