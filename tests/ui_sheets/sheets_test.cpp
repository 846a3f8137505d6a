// The printing-preferences and printer-properties sheets through zemsui's exports: each reason
// of the sheet callbacks, the document properties without a sheet, whole sheets through the
// fake's common property-sheet UI, and PrinterProperties.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/bind/bidi_store.h"
#include "core/context/context_cache.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

const char16_t kPrinter[] = u"Office";
LPWSTR W(const char16_t* s) { return reinterpret_cast<LPWSTR>(const_cast<char16_t*>(s)); }

typedef LONG(WINAPI* SheetFn)(PPROPSHEETUI_INFO, LPARAM);
typedef BOOL(WINAPI* PropertiesFn)(HWND, HANDLE);

constexpr DWORD kDmOutBuffer = 2;    // DM_OUT_BUFFER
constexpr DWORD kDmInBuffer = 8;     // DM_IN_BUFFER
constexpr DWORD kDmUserDefault = 0x40;
constexpr DWORD kDmNoPermission = 0x20;

std::string Utf8Of(const WCHAR* text) {
  std::string out;
  for (; text && *text; ++text) out += static_cast<char>(*text < 0x80 ? *text : '?');
  return out;
}

class SheetsTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    CtxCacheInit();
    ASSERT_EQ(InstallOfficeWithLanguage(), "");
    ASSERT_TRUE(OpenPrinterW(W(kPrinter), &printer_, nullptr));
    SimUiReset();
    ui_ = LoadLibraryW(TEXT("zemsui.dll"));
    ASSERT_NE(nullptr, ui_);
    document_ = Export<SheetFn>("DrvDocumentPropertySheets");
    device_ = Export<SheetFn>("DrvDevicePropertySheets");
    properties_ = Export<PropertiesFn>("PrinterProperties");
    ASSERT_TRUE(document_ && device_ && properties_);
  }
  void TearDown() override {
    if (ui_) FreeLibrary(ui_);
    if (printer_) ClosePrinter(printer_);
    CtxCacheExpire(TRUE);
    MachineTest::TearDown();
  }

  template <typename F>
  F Export(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(ui_, name)));
  }

  DOCUMENTPROPERTYHEADER DocumentHeader(DWORD fMode, PDEVMODEW in = nullptr, PDEVMODEW out = nullptr) {
    DOCUMENTPROPERTYHEADER header = {};
    header.cbSize = sizeof header;
    header.hPrinter = printer_;
    header.pszPrinterName = W(kPrinter);
    header.pdmIn = in;
    header.pdmOut = out;
    header.fMode = fMode;
    return header;
  }
  DEVICEPROPERTYHEADER DeviceHeader(WORD flags = 0) {
    DEVICEPROPERTYHEADER header = {};
    header.cbSize = sizeof header;
    header.Flags = flags;
    header.hPrinter = printer_;
    header.pszPrinterName = W(kPrinter);
    return header;
  }

  // A sheet callback's record for one reason, with the recording sheet function of this test.
  PROPSHEETUI_INFO Info(WORD reason, LPARAM init, ULONG_PTR userData = 0) {
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof info;
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = reason;
    info.hComPropSheet = this;
    info.pfnComPropSheet = RecordSheetFunction;
    info.lParamInit = init;
    info.UserData = userData;
    return info;
  }
  static LONG_PTR CALLBACK RecordSheetFunction(HANDLE sheet, UINT function, LPARAM first, LPARAM second) {
    SheetsTest* self = static_cast<SheetsTest*>(sheet);
    self->functions_.push_back(function);
    if (function == CPSFUNC_SET_RESULT) self->results_.push_back(second);
    (void)first;
    return function == CPSFUNC_ADD_HPROPSHEETPAGE ? 1 : 0;
  }

  // The DLL's context between INIT and DESTROY (its layout is the core's).
  static DriverContext* Ctx(const PROPSHEETUI_INFO& info) { return reinterpret_cast<DriverContext*>(info.UserData); }

  // Runs a whole sheet through the fake's common property-sheet UI.
  LONG RunSheet(SheetFn callback, LPARAM header, int answer, DWORD* result) {
    SimUiScriptSheet(answer);
    return SimUiCommonPropertySheet(nullptr, callback, header, result);
  }
  std::vector<int> LastPages() {
    int pages[32];
    const int count = SimUiLastSheetPages(pages, 32);
    return std::vector<int>(pages, pages + (count < 32 ? count : 32));
  }

  HMODULE ui_ = nullptr;
  HANDLE printer_ = nullptr;
  SheetFn document_ = nullptr;
  SheetFn device_ = nullptr;
  PropertiesFn properties_ = nullptr;
  std::vector<UINT> functions_;
  std::vector<LPARAM> results_;
};

TEST_F(SheetsTest, ReasonsWithoutAContext) {
  DOCUMENTPROPERTYHEADER doc = DocumentHeader(kDmOutBuffer);
  DEVICEPROPERTYHEADER dev = DeviceHeader();
  PROPSHEETUI_INFO_HEADER infoHeader = {};
  SETRESULT_INFO setResult = {};
  setResult.Result = CPSUI_OK;
  struct Case {
    const char* what;
    SheetFn callback;
    WORD reason;
    LPARAM init;
    LPARAM argument;
    LONG expected;
  };
  const Case cases[] = {
      {"document GET_INFO_HEADER", document_, PROPSHEETUI_REASON_GET_INFO_HEADER, (LPARAM)&doc, (LPARAM)&infoHeader, -1},
      {"document SET_RESULT", document_, PROPSHEETUI_REASON_SET_RESULT, (LPARAM)&doc, (LPARAM)&setResult, -1},
      {"document DESTROY", document_, PROPSHEETUI_REASON_DESTROY, (LPARAM)&doc, 0, -1},
      {"document GET_ICON", document_, PROPSHEETUI_REASON_GET_ICON, (LPARAM)&doc, 0, -1},
      {"document BEFORE_INIT", document_, PROPSHEETUI_REASON_BEFORE_INIT, (LPARAM)&doc, 0, 1},
      {"document without a header", document_, PROPSHEETUI_REASON_INIT, 0, 0, -1},
      {"device GET_INFO_HEADER", device_, PROPSHEETUI_REASON_GET_INFO_HEADER, (LPARAM)&dev, (LPARAM)&infoHeader, -1},
      {"device DESTROY", device_, PROPSHEETUI_REASON_DESTROY, (LPARAM)&dev, 0, -1},
      {"device without a header", device_, PROPSHEETUI_REASON_INIT, 0, 0, -1},
  };
  for (const Case& c : cases) {
    PROPSHEETUI_INFO info = Info(c.reason, c.init);
    EXPECT_EQ(c.expected, c.callback(&info, c.argument)) << c.what;
  }
  EXPECT_EQ(-1, device_(nullptr, (LPARAM)&dev)) << "there is no device call without a sheet";
  EXPECT_EQ(-1, document_(nullptr, 0));
}

TEST_F(SheetsTest, DocumentReasonsWithAContext) {
  DOCUMENTPROPERTYHEADER doc = DocumentHeader(kDmOutBuffer);
  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, (LPARAM)&doc);
  ASSERT_EQ(1, document_(&info, 0));
  ASSERT_NE(0u, info.UserData);
  EXPECT_EQ(7u, functions_.size()) << "one page added per document dialog";

  PROPSHEETUI_INFO_HEADER header = {};
  info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
  EXPECT_EQ(1, document_(&info, (LPARAM)&header));
  EXPECT_EQ(PSUIHDRF_NOAPPLYNOW | PSUIHDRF_PROPTITLE, header.Flags);
  EXPECT_EQ(W(kPrinter), header.pTitle);
  EXPECT_EQ(64082u, header.IconID);
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(ui_), header.hInst);

  SETRESULT_INFO result = {};
  result.Result = 7;
  info.Reason = PROPSHEETUI_REASON_SET_RESULT;
  EXPECT_EQ(1, document_(&info, (LPARAM)&result));
  EXPECT_EQ(7u, info.Result);
  info.Reason = PROPSHEETUI_REASON_GET_ICON;
  EXPECT_EQ(-1, document_(&info, 0));

  info.Reason = PROPSHEETUI_REASON_DESTROY;
  EXPECT_EQ(1, document_(&info, 0));
  EXPECT_EQ(0u, info.UserData);
  EXPECT_EQ(CPSUI_CANCEL, (LONG)info.Result) << "not confirmed";
}

// A sheet's context is parked for the next open of the printer only when the sheet was
// confirmed; a cancelled one holds what the user threw away and is destroyed, so the next
// sheet shows the settings as they were.
TEST_F(SheetsTest, OnlyAConfirmedSheetParksItsContext) {
  DOCUMENTPROPERTYHEADER doc = DocumentHeader(kDmOutBuffer);
  DEVICEPROPERTYHEADER device = DeviceHeader();
  struct Case {
    const char* name;
    bool deviceSheet;
    bool confirmed;
  } cases[] = {
      {"document sheet cancelled", false, false},
      {"document sheet confirmed", false, true},
      {"device sheet cancelled", true, false},
      {"device sheet confirmed", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto run = [&](PROPSHEETUI_INFO* info) { return c.deviceSheet ? device_(info, 0) : document_(info, 0); };
    const LPARAM header = c.deviceSheet ? (LPARAM)&device : (LPARAM)&doc;
    PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, header);
    ASSERT_EQ(1, run(&info));
    DriverContext* ctx = Ctx(info);
    ASSERT_NE(nullptr, ctx);
    const LONG_PTR copies = ItemGetValueById(ctx, kItem_dmCopies);
    ASSERT_TRUE(ItemSetValueById(ctx, kItem_dmCopies, copies + 6));
    ctx->ui->front.okFlag = c.confirmed ? 1 : 0;
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    ASSERT_EQ(1, run(&info));

    PROPSHEETUI_INFO again = Info(PROPSHEETUI_REASON_INIT, header);
    ASSERT_EQ(1, run(&again));
    EXPECT_EQ(c.confirmed ? copies + 6 : copies, ItemGetValueById(Ctx(again), kItem_dmCopies));
    if (c.confirmed) {
      EXPECT_EQ(ctx, Ctx(again)) << "the confirmed sheet's context was parked and found again";
    }
    again.Reason = PROPSHEETUI_REASON_DESTROY;
    EXPECT_EQ(1, run(&again));
  }
}

TEST_F(SheetsTest, DocumentPropertiesWithoutASheet) {
  std::vector<BYTE> out(1236 + 64, 0xA5);
  PDEVMODEW outDm = reinterpret_cast<PDEVMODEW>(out.data());
  struct Case {
    DWORD fMode;
    bool withOut;
    LONG expected;
  };
  const Case cases[] = {{0, true, 1236}, {kDmOutBuffer, false, 1236}, {kDmOutBuffer, true, 1}};
  for (const Case& c : cases) {
    DOCUMENTPROPERTYHEADER header = DocumentHeader(c.fMode, nullptr, c.withOut ? outDm : nullptr);
    header.cbOut = 0;
    EXPECT_EQ(c.expected, document_(nullptr, (LPARAM)&header)) << c.fMode;
    EXPECT_EQ(1236u, header.cbOut);
  }
  EXPECT_EQ(220, outDm->dmSize);
  EXPECT_EQ(1016, outDm->dmDriverExtra);
  EXPECT_TRUE(DmIsOwnDevmode(outDm)) << "the output carries our private part";
  EXPECT_EQ(0xA5, out[1236]) << "nothing written past the DEVMODE";
}

TEST_F(SheetsTest, AForeignDevmodeBringsOnlyItsPublicFields) {
  std::vector<BYTE> defaults(1236);
  DOCUMENTPROPERTYHEADER first = DocumentHeader(kDmOutBuffer, nullptr, reinterpret_cast<PDEVMODEW>(defaults.data()));
  ASSERT_EQ(1, document_(nullptr, (LPARAM)&first));
  // Another driver's DEVMODE: only the public part, three copies, another device name.
  DEVMODEW foreign = {};
  memcpy(foreign.dmDeviceName, u"Another printer", sizeof(u"Another printer"));
  foreign.dmSpecVersion = 0x401;
  foreign.dmSize = sizeof foreign;
  foreign.dmDriverExtra = 0;
  foreign.dmFields = DM_COPIES;
  foreign.dmCopies = 3;
  std::vector<BYTE> out(1236);
  DOCUMENTPROPERTYHEADER header =
      DocumentHeader(kDmInBuffer | kDmOutBuffer, &foreign, reinterpret_cast<PDEVMODEW>(out.data()));
  ASSERT_EQ(1, document_(nullptr, (LPARAM)&header));
  const DEVMODEW* merged = reinterpret_cast<const DEVMODEW*>(out.data());
  EXPECT_EQ(3, merged->dmCopies) << "the public field arrives through the merge";
  EXPECT_EQ(220, merged->dmSize);
  EXPECT_EQ(0, merged->dmDriverExtra) << "the output keeps the caller's layout";
  EXPECT_EQ(reinterpret_cast<const DEVMODEW*>(defaults.data())->dmPaperSize, merged->dmPaperSize);
}

TEST_F(SheetsTest, DocumentSheetShowsTheSevenDocumentPages) {
  const struct {
    int answer;
    DWORD result;
  } cases[] = {{IDOK, CPSUI_OK}, {IDCANCEL, CPSUI_CANCEL}};
  for (const auto& c : cases) {
    std::vector<BYTE> out(1236);
    DOCUMENTPROPERTYHEADER header =
        DocumentHeader(kDmOutBuffer | DM_PROMPT, nullptr, reinterpret_cast<PDEVMODEW>(out.data()));
    DWORD result = 99;
    EXPECT_EQ(1, RunSheet(document_, (LPARAM)&header, c.answer, &result));
    EXPECT_EQ(c.result, result) << c.answer;
    EXPECT_EQ((std::vector<int>{1001, 1002, 1003, 1004, 1005, 1006, 1010}), LastPages());
    if (c.answer == IDOK) {
      EXPECT_TRUE(DmIsOwnDevmode(out.data())) << "the confirmed sheet fills pdmOut";
    }
  }
  // Only the confirmed sheet reports: its first page's Apply commits the changes and reports,
  // and DESTROY commits the document default and reports again.
  LPARAM reported[4];
  ASSERT_EQ(2, SimUiSheetResults(reported, 4)) << "only the confirmed sheet reports a result";
  EXPECT_EQ(CPSUI_OK, reported[0]);
  EXPECT_EQ(CPSUI_OK, reported[1]);
}

TEST_F(SheetsTest, APageTheModelDisablesIsNotAdded) {
  // The sample with the print-quality page described and always disabled.
  std::ifstream in(SourceDir() + "/samples/models/zems_c4.zmd", std::ios::binary);
  std::string model((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto insert = [&model](const std::string& before, const std::string& text) {
    const size_t at = model.find(before);
    ASSERT_NE(std::string::npos, at) << before;
    model.insert(at, text);
  };
  insert("*OpenUI *TOV_dmPaperSize: PickPage", "*OpenUI *TOV_IDD_PRINTQUALITY: Boolean\n*CloseUI\n\n");
  insert("*Judge 30=", "*Judge 31=Always: TOV_dmCopies >= 0\n");
  insert("   TOV_zdmStapleType NoStapling", "   TOV_IDD_PRINTQUALITY Always NULL NULL NULL NULL NULL NULL\n");
  const std::string folder = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";
  std::error_code ec;
  std::filesystem::remove(HostPath(folder + "zems_c4.BCS"), ec);
  ASSERT_TRUE(WriteMachineFile(folder + "zems_c4.zmd", model));

  DOCUMENTPROPERTYHEADER header = DocumentHeader(DM_PROMPT);
  DWORD result = 99;
  EXPECT_EQ(1, RunSheet(document_, (LPARAM)&header, IDCANCEL, &result));
  EXPECT_EQ((std::vector<int>{1001, 1002, 1003, 1004, 1005, 1010}), LastPages()) << "1006 left out";
}

TEST_F(SheetsTest, DeviceSheetShowsItsFourPagesAndPublishesAtEveryReason) {
  DEVICEPROPERTYHEADER header = DeviceHeader();
  DWORD result = 99;
  DWORD before = SimPrinterPublishCount(W(kPrinter), nullptr);
  EXPECT_EQ(1, RunSheet(device_, (LPARAM)&header, IDOK, &result));
  EXPECT_EQ(DWORD(CPSUI_OK), result);
  EXPECT_EQ((std::vector<int>{1011, 1009, 1008, 1015}), LastPages());
  DWORD action = 0;
  EXPECT_EQ(before + 4, SimPrinterPublishCount(W(kPrinter), &action))
      << "INIT, GET_INFO_HEADER, the confirmed page's Apply and DESTROY";
  EXPECT_EQ(DWORD(DSPRINT_UPDATE), action);
}

TEST_F(SheetsTest, ConfirmingWithAuthenticationOffClearsSecureMode) {
  DEVICEPROPERTYHEADER header = DeviceHeader();
  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, (LPARAM)&header);
  ASSERT_EQ(1, device_(&info, 0));
  DriverContext* ctx = Ctx(info);
  ASSERT_NE(nullptr, ctx);
  EXPECT_EQ(1, CtxGetPropertyType(ctx));
  EXPECT_EQ(0, CtxGetNoPermission(ctx));
  ItemSetRawById(ctx, kItem_zdmPrnFuncAuthenticationMode, 0);
  ItemSetRawById(ctx, kItem_zdmPrnFuncAuthenticationSecureMode, 1);
  ctx->ui->front.okFlag = 1;
  info.Reason = PROPSHEETUI_REASON_DESTROY;
  // The commit reads the item back from what it stores: watch the context before it closes.
  ASSERT_EQ(1, device_(&info, 0));
  EXPECT_EQ(DWORD(CPSUI_OK), info.Result);
  ASSERT_EQ(1u, results_.size());
  EXPECT_EQ(CPSUI_OK, results_[0]);

  PROPSHEETUI_INFO again = Info(PROPSHEETUI_REASON_INIT, (LPARAM)&header);
  ASSERT_EQ(1, device_(&again, 0));
  EXPECT_EQ(0, ItemGetRawById(Ctx(again), kItem_zdmPrnFuncAuthenticationSecureMode)) << "stored without secure mode";
  again.Reason = PROPSHEETUI_REASON_DESTROY;
  EXPECT_EQ(1, device_(&again, 0));
}

TEST_F(SheetsTest, NoPermissionOpensTheDeviceSheetReadOnly) {
  DEVICEPROPERTYHEADER header = DeviceHeader(DPS_NOPERMISSION);
  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, (LPARAM)&header);
  ASSERT_EQ(1, device_(&info, 0));
  EXPECT_EQ(1, CtxGetNoPermission(Ctx(info)));
  EXPECT_EQ(0, Ctx(info)->ui->front.changesAllowed);
  info.Reason = PROPSHEETUI_REASON_DESTROY;
  EXPECT_EQ(1, device_(&info, 0));
}

// What the first page of a shown sheet finds in its context (the page keeps it in DWL_USER).
struct SeenBySheet {
  int shown = 0;
  int noPermission = -1;
  LONG changesAllowed = -1;
};
void NoteSheet(HWND sheet, void* context) {
  (void)sheet;
  SeenBySheet* seen = static_cast<SeenBySheet*>(context);
  DriverContext* ctx = reinterpret_cast<DriverContext*>(SimUiGetSlot(SimUiSheetPage(0), DWL_USER));
  if (!ctx) return;
  ++seen->shown;
  seen->noPermission = CtxGetNoPermission(ctx);
  seen->changesAllowed = ctx->ui->front.changesAllowed;
}

TEST_F(SheetsTest, ARefusedPermissionWriteOpensTheSheetReadOnly) {
  const struct {
    bool admin;
    int noPermission;
  } cases[] = {{true, 0}, {false, 1}};
  for (const auto& c : cases) {
    SetUserIsAdmin(c.admin);
    SeenBySheet seen;
    SimUiSetSheetHook(NoteSheet, &seen);
    SimUiScriptSheet(IDCANCEL);
    EXPECT_FALSE(properties_(nullptr, printer_));
    SimUiSetSheetHook(nullptr, nullptr);
    ASSERT_EQ(1, seen.shown);
    EXPECT_EQ(c.noPermission, seen.noPermission) << c.admin;
    EXPECT_EQ(c.noPermission ? 0 : 1, seen.changesAllowed) << c.admin;
  }
}

TEST_F(SheetsTest, PrinterPropertiesAnswersTheSheetsResult) {
  SimUiScriptSheet(IDOK);
  EXPECT_TRUE(properties_(nullptr, printer_));
  SimUiScriptSheet(IDCANCEL);
  EXPECT_FALSE(properties_(nullptr, printer_));
  SimUiSetCommonSheetMissing(TRUE);
  EXPECT_FALSE(properties_(nullptr, printer_)) << "a sheet that could not run is no success";
}

TEST_F(SheetsTest, EnvironmentFlagsOfTheDocumentSheet) {
  struct Case {
    const char* what;
    WORD servicePack;
    DWORD minor;
    const char* process;
    DWORD fMode;
    int callSrc;
  };
  const Case cases[] = {
      {"2000 before SP4", 3, 0, "C:\\WINDOWS\\explorer.exe", 0, 1},
      {"2000 SP4, shell, user default", 4, 0, "C:\\WINDOWS\\explorer.exe", kDmUserDefault, 1},
      {"2000 SP4, application, user default", 4, 0, "C:\\Program Files\\App\\app.exe", kDmUserDefault, 0},
      {"XP, user default", 2, 1, "C:\\Program Files\\App\\app.exe", kDmUserDefault, 1},
      {"XP, no user default", 2, 1, "C:\\WINDOWS\\explorer.exe", 0, 0},
  };
  for (const Case& c : cases) {
    SetWindows(5, c.minor, c.servicePack);
    SimSetProcessName(c.process);
    DOCUMENTPROPERTYHEADER doc = DocumentHeader(c.fMode | kDmNoPermission);
    PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, (LPARAM)&doc);
    ASSERT_EQ(1, document_(&info, 0)) << c.what;
    DriverContext* ctx = Ctx(info);
    EXPECT_EQ(c.callSrc, CtxGetCallSrc(ctx)) << c.what;
    EXPECT_EQ(2, CtxGetOSKind(ctx)) << c.what;
    EXPECT_EQ(0, CtxGetPropertyType(ctx)) << c.what;
    EXPECT_EQ(1, CtxGetNoPermission(ctx)) << c.what;
    EXPECT_EQ(CtxGetUserCodeGet(ctx), CtxGetUserCodeDLL(ctx)) << c.what;
    EXPECT_EQ(kSheetDocumentProperties, ctx->ui->front.sheetKind);
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    EXPECT_EQ(1, document_(&info, 0));
  }
}

TEST_F(SheetsTest, FirstRunTakesTheInstallersLanguage) {
  DOCUMENTPROPERTYHEADER doc = DocumentHeader(0);
  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, (LPARAM)&doc);
  ASSERT_EQ(1, document_(&info, 0));
  WCHAR path[MAX_PATH];
  ASSERT_TRUE(PathInSettingsFolder(path, MAX_PATH, TEXT("OV00C170.ini"), Ctx(info)));
  const LONG_PTR untouched = ItemGetRawById(Ctx(info), kItem_zdmLanguageID);
  info.Reason = PROPSHEETUI_REASON_DESTROY;
  ASSERT_EQ(1, document_(&info, 0));

  struct Case {
    const char* done;  // null: no key
    LONG_PTR expected;
    const char* doneAfter;
  };
  const Case cases[] = {{nullptr, untouched, ""}, {"1", 7, "1"}, {"0", -1, "1"}};
  for (const Case& c : cases) {
    std::string ini = "[Office]\r\nDispLang=263\r\n";  // the low byte, 7, is the language
    if (c.done) ini += std::string("ZemsInstDone=") + c.done + "\r\n";
    std::filesystem::remove(HostPath(Utf8Of(path)));
    ASSERT_TRUE(WriteMachineFile(Utf8Of(path), ini));
    PROPSHEETUI_INFO again = Info(PROPSHEETUI_REASON_INIT, (LPARAM)&doc);
    ASSERT_EQ(1, document_(&again, 0));
    if (c.expected >= 0) {
      EXPECT_EQ(c.expected, ItemGetRawById(Ctx(again), kItem_zdmLanguageID)) << c.done;
    }
    again.Reason = PROPSHEETUI_REASON_DESTROY;
    ASSERT_EQ(1, document_(&again, 0));
    WCHAR done[8] = {};
    GetPrivateProfileStringW(TEXT("Office"), TEXT("ZemsInstDone"), TEXT(""), done, 8, path);
    EXPECT_EQ(std::string(c.doneAfter), Utf8Of(done)) << "0 takes the user defaults and marks them taken";
  }
}

TEST_F(SheetsTest, ACancelledSheetAfterAFirstAcquisitionKeepsTheAcquiredDefaults) {
  ASSERT_TRUE(BidiWriteFlag(printer_, 1));  // options acquired, not yet applied
  std::vector<BYTE> out(1236);
  DOCUMENTPROPERTYHEADER header =
      DocumentHeader(kDmOutBuffer | DM_PROMPT, nullptr, reinterpret_cast<PDEVMODEW>(out.data()));
  DWORD result = 99;
  EXPECT_EQ(1, RunSheet(document_, (LPARAM)&header, IDCANCEL, &result));
  EXPECT_EQ(DWORD(CPSUI_OK), result);
  LPARAM reported[4];
  ASSERT_EQ(1, SimUiSheetResults(reported, 4));
  EXPECT_EQ(CPSUI_OK, reported[0]);
  EXPECT_TRUE(BidiPrinterExFlagIsSet(printer_)) << "the acquired settings count as applied";
  EXPECT_TRUE(DmIsOwnDevmode(out.data())) << "committed as the document default";
}

TEST_F(SheetsTest, DestroyCommitsAndClosesWhenThePrinterCannotBeRead) {
  DOCUMENTPROPERTYHEADER doc = DocumentHeader(kDmOutBuffer);
  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT, (LPARAM)&doc);
  ASSERT_EQ(1, document_(&info, 0));
  Ctx(info)->ui->front.okFlag = 1;
  ASSERT_TRUE(DeletePrinter(printer_));  // GetPrinterW fails from here on
  info.Reason = PROPSHEETUI_REASON_DESTROY;
  EXPECT_EQ(1, document_(&info, 0));
  EXPECT_EQ(0u, info.UserData) << "the context is closed";
  EXPECT_EQ(DWORD(CPSUI_OK), info.Result);
  ASSERT_EQ(1u, results_.size());
  EXPECT_EQ(CPSUI_OK, results_[0]);
}

}  // namespace
}  // namespace zems_test
