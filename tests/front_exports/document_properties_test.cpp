// DrvDocumentProperties, DrvAdvancedDocumentProperties and DrvConvertDevMode on the installed
// sample printer.
#include <gtest/gtest.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/common/locks.h"
#include "core/common/os_tests.h"
#include "core/system/terminal_server.h"
#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/front/ui_busy.h"
#include "core/install/install_ini.h"
#include "core/items/item_access.h"
#include "core/model/model_cache.h"
#include "core/system/settings_folders.h"
#include "front_exports/front_fixture.h"
#include "ui2k/sheets.h"
#include "platform/sim.h"

namespace zems_test {
namespace {

constexpr LONG kDevmodeSize = 1236;
constexpr DWORD kCurrentLayout = 322;

void SetLayoutVersion(std::vector<BYTE>& dm, DWORD version) { memcpy(dm.data() + kDmOffLayoutVersion, &version, 4); }
DWORD LayoutVersion(const std::vector<BYTE>& dm) {
  DWORD version = 0;
  memcpy(&version, dm.data() + kDmOffLayoutVersion, 4);
  return version;
}

class DocumentPropertiesTest : public FrontTest {
 protected:
  std::u16string Stamp(HANDLE printer, const char16_t* section, const char16_t* key) {
    WCHAR ini[MAX_PATH] = {};
    PathSettingsFileOf(ini, MAX_PATH, 0, printer);
    return Ini(ini, section, key);
  }
};

TEST_F(DocumentPropertiesTest, SizeQueriesTouchNothing) {
  std::vector<BYTE> out(kDevmodeSize, 0xA5);
  const std::vector<BYTE> untouched = out;
  EXPECT_EQ(DrvDocumentProperties(nullptr, printer_, Name(), reinterpret_cast<PDEVMODEW>(out.data()), nullptr, 0),
            kDevmodeSize);
  EXPECT_EQ(DrvDocumentProperties(nullptr, printer_, Name(), nullptr, nullptr, DM_COPY), kDevmodeSize);
  EXPECT_EQ(DrvAdvancedDocumentProperties(nullptr, printer_, Name(), nullptr, nullptr), kDevmodeSize);
  EXPECT_EQ(out, untouched);
}

TEST_F(DocumentPropertiesTest, ModifyAndCopyMergesTheInputAndWritesTheOutput) {
  std::vector<BYTE> in = DriverDefault();
  ASSERT_EQ(in.size(), size_t(kDevmodeSize));
  DEVMODEW* input = reinterpret_cast<DEVMODEW*>(in.data());
  input->dmFields |= DM_COPIES;
  input->dmCopies = 7;
  std::vector<BYTE> out(kDevmodeSize, 0xA5);
  DEVMODEW* output = reinterpret_cast<DEVMODEW*>(out.data());
  EXPECT_EQ(DrvDocumentProperties(nullptr, printer_, Name(), output, input, DM_MODIFY | DM_COPY), IDOK);
  EXPECT_EQ(output->dmCopies, 7);
  EXPECT_EQ(output->dmSize, 220);
  EXPECT_EQ(output->dmDriverExtra, 1016);
  EXPECT_TRUE(DmIsOwnDevmode(out.data()));
}

TEST_F(DocumentPropertiesTest, AFailureIsPassedThrough) {
  HideModel();
  std::vector<BYTE> out(kDevmodeSize, 0xA5);
  EXPECT_EQ(DrvDocumentProperties(nullptr, printer_, Name(), reinterpret_cast<PDEVMODEW>(out.data()), nullptr,
                                  DM_COPY),
            -1);
}

TEST_F(DocumentPropertiesTest, PromptAnswersTheSheetsResult) {
  // The printing-preferences sheet on the machine's fake, confirmed or cancelled: the document
  // properties answer IDOK or IDCANCEL, the advanced ones 1 only when the sheet was confirmed.
  const struct {
    int answer;
    LONG documentAnswer;
    LONG advancedAnswer;
  } cases[] = {{IDOK, IDOK, 1}, {IDCANCEL, IDCANCEL, 0}};
  for (const auto& c : cases) {
    std::vector<BYTE> out(kDevmodeSize);
    SimUiScriptSheet(c.answer);
    EXPECT_EQ(DrvDocumentProperties(nullptr, printer_, Name(), reinterpret_cast<PDEVMODEW>(out.data()), nullptr,
                                    DM_PROMPT | DM_COPY),
              c.documentAnswer)
        << c.answer;
    SimUiScriptSheet(c.answer);
    EXPECT_EQ(DrvAdvancedDocumentProperties(nullptr, printer_, Name(), reinterpret_cast<PDEVMODEW>(out.data()), nullptr),
              c.advancedAnswer)
        << c.answer;
  }
  EXPECT_EQ(UiBusyFlag.load(), 0);
}

TEST_F(DocumentPropertiesTest, ConvertRefusesASmallBuffer) {
  const struct {
    DWORD mode;
    LONG size;
  } cases[] = {{CDM_DRIVER_DEFAULT, kDevmodeSize}, {CDM_CONVERT351, 188 + 1016}};
  for (const auto& c : cases) {
    std::vector<BYTE> out(size_t(c.size - 1), 0xA5);
    LONG needed = c.size - 1;
    SetLastError(0);
    EXPECT_FALSE(DrvConvertDevMode(Name(), nullptr, reinterpret_cast<PDEVMODEW>(out.data()), &needed, c.mode)) << c.mode;
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER)) << c.mode;
    EXPECT_EQ(needed, c.size) << c.mode;
    EXPECT_EQ(out, std::vector<BYTE>(size_t(c.size - 1), 0xA5)) << c.mode;
  }
  LONG needed = kDevmodeSize;
  std::vector<BYTE> out(kDevmodeSize);
  EXPECT_FALSE(DrvConvertDevMode(Name(), nullptr, reinterpret_cast<PDEVMODEW>(out.data()), &needed, 0x80))
      << "another mode";
  EXPECT_EQ(UiBusyFlag.load(), 0);
}

TEST_F(DocumentPropertiesTest, Convert351GivesThe188ByteLayout) {
  std::vector<BYTE> in = DriverDefault();
  std::vector<BYTE> out(188 + 1016, 0xA5);
  LONG needed = LONG(out.size());
  ASSERT_TRUE(DrvConvertDevMode(Name(), reinterpret_cast<PDEVMODEW>(in.data()), reinterpret_cast<PDEVMODEW>(out.data()),
                                &needed, CDM_CONVERT351));
  const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(out.data());
  EXPECT_EQ(dm->dmSize, 188);
  EXPECT_EQ(dm->dmSpecVersion, 0x320);
  EXPECT_EQ(dm->dmDriverVersion, 0x350);
  EXPECT_EQ(needed, 188 + 1016);
}

TEST_F(DocumentPropertiesTest, DriverDefaultOfAnInstalledPrinterIsTheFullDefaults) {
  ASSERT_TRUE(InstIsBatchInstallDone(printer_, nullptr));
  std::vector<BYTE> out(kDevmodeSize, 0xA5);
  LONG needed = kDevmodeSize;
  EXPECT_TRUE(DrvConvertDevMode(Name(), nullptr, reinterpret_cast<PDEVMODEW>(out.data()), &needed,
                                CDM_DRIVER_DEFAULT));
  EXPECT_TRUE(DmIsOwnDevmode(out.data()));
  EXPECT_EQ(UiBusyFlag.load(), 0);
}

TEST_F(DocumentPropertiesTest, DriverDefaultRunsTheInstallPassAndStamps) {
  MultiSession();
  const struct {
    const char16_t* name;
    bool hideModel;
    BOOL answer;
    const char16_t* firstStamp;  // DrvFirstInstTime: written by stamp kind 2 only
  } cases[] = {
      {u"Fresh", false, TRUE, nullptr},
      {u"Lab\\Client", false, TRUE, u"<absent>"},
      {u"Broken", true, FALSE, u"<absent>"},
  };
  for (const auto& c : cases) {
    HANDLE h = AddBarePrinter(c.name);
    // Without the client transfer's context after the pass, the stamp alone follows the pass.
    if (c.hideModel) TestVariant().featureBits &= ~(1u << 7);
    if (c.hideModel) HideModel();
    std::vector<BYTE> out(kDevmodeSize, 0xA5);
    LONG needed = kDevmodeSize;
    EXPECT_EQ(DrvConvertDevMode(const_cast<LPWSTR>(c.name), nullptr, reinterpret_cast<PDEVMODEW>(out.data()), &needed,
                                CDM_DRIVER_DEFAULT),
              c.answer)
        << Narrow16(c.name);
    EXPECT_EQ(UiBusyFlag.load(), 0);
    const std::u16string first = Stamp(h, c.name, u"DrvFirstInstTime");
    const std::u16string time = Stamp(h, c.name, u"DrvInstTime");
    if (c.answer) {
      EXPECT_EQ(time.size(), 14u) << Narrow16(c.name) << ": stamped";
      EXPECT_TRUE(DmIsOwnDevmode(out.data())) << Narrow16(c.name);
    } else {
      EXPECT_EQ(time, u"<absent>") << Narrow16(c.name) << ": a failed pass leaves no stamp";
    }
    if (c.firstStamp)
      EXPECT_EQ(first, c.firstStamp) << Narrow16(c.name);
    else
      EXPECT_EQ(first.size(), 14u) << Narrow16(c.name);
    ShowModel();
    ClosePrinter(h);
  }
}

TEST_F(DocumentPropertiesTest, TheBusyCountStandsWhileThePassReadsSettings) {
  // The pass reads its settings with the count raised, so each context it opens is marked; the
  // client settings read after it are not.
  HANDLE h = AddBarePrinter(u"Fresh");
  struct Seen {
    int reads = 0, busy = 0;
  } seen;
  ItemSetReadObserver(
      [](void* data, WORD) {
        Seen* s = static_cast<Seen*>(data);
        ++s->reads;
        if (UiBusyFlag.load() > 0) ++s->busy;
      },
      &seen);
  std::vector<BYTE> out(kDevmodeSize);
  LONG needed = kDevmodeSize;
  const BOOL ok = DrvConvertDevMode(const_cast<LPWSTR>(u"Fresh"), nullptr, reinterpret_cast<PDEVMODEW>(out.data()),
                                    &needed, CDM_DRIVER_DEFAULT);
  ItemSetReadObserver(nullptr, nullptr);
  EXPECT_TRUE(ok);
  EXPECT_GT(seen.reads, 0);
  EXPECT_GT(seen.busy, 0) << "the pass reads its settings with the count raised";
  EXPECT_EQ(UiBusyFlag.load(), 0);
  ClosePrinter(h);
}

TEST_F(DocumentPropertiesTest, ConvertWithoutASettingsIniIsTheStandardConversion) {
  std::vector<BYTE> in = DriverDefault(), out(kDevmodeSize);
  CtxCacheExpire(TRUE);
  const std::string ini = HostPath(Narrow16(SettingsIni()));
  ASSERT_EQ(rename(ini.c_str(), (ini + ".away").c_str()), 0) << ini;
  LONG needed = kDevmodeSize;
  reinterpret_cast<DEVMODEW*>(out.data())->dmSize = 220;
  reinterpret_cast<DEVMODEW*>(out.data())->dmDriverExtra = 1016;
  EXPECT_TRUE(DrvConvertDevMode(Name(), reinterpret_cast<PDEVMODEW>(in.data()), reinterpret_cast<PDEVMODEW>(out.data()),
                                &needed, CDM_CONVERT));
  EXPECT_EQ(needed, kDevmodeSize);
  EXPECT_TRUE(DmIsOwnDevmode(out.data())) << "the standard conversion copied it";
  EXPECT_FALSE(std::filesystem::exists(ini)) << "nothing of the printer's own work ran";
  rename((ini + ".away").c_str(), ini.c_str());
}

TEST_F(DocumentPropertiesTest, ConvertOfACurrentDevmodeStampsTheUpdate) {
  MultiSession();
  std::vector<BYTE> in = DriverDefault(), out(kDevmodeSize);
  reinterpret_cast<DEVMODEW*>(out.data())->dmSize = 220;
  reinterpret_cast<DEVMODEW*>(out.data())->dmDriverExtra = 1016;
  LONG needed = kDevmodeSize;
  EXPECT_TRUE(DrvConvertDevMode(Name(), reinterpret_cast<PDEVMODEW>(in.data()), reinterpret_cast<PDEVMODEW>(out.data()),
                                &needed, CDM_CONVERT));
  EXPECT_EQ(SettingsKey(u"DrvInstType"), u"2");
  EXPECT_EQ(UiBusyFlag.load(), 0);
}

// The remote transfer's client hands its DEVMODE over after the install pass of a driver
// default; it reaches the output only when it is one of ours, whole, within 1,236 bytes, of the
// current layout or an older minor one.
TEST_F(DocumentPropertiesTest, TheClientsDevmodeReachesTheOutputOnlyWhenItIsOurs) {
  ASSERT_EQ(RunHost("machine system --terminal-server yes"), 0);
  OsForgetCachedAnswers();
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\ORVEL\\Vora Printer Driver", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD on = 1;
  RegSetValueExW(key, u"OMBIDI_FLG", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
  RegCloseKey(key);
  const std::vector<BYTE> own = DriverDefault();
  const struct {
    const char* what;
    int offset;  // a byte of the client's DEVMODE changed, or -1
    BYTE value;
    DWORD layout;  // 0: as it is
    bool copied;
  } cases[] = {
      {"ours", -1, 0, 0, true},
      {"another driver's", kDmOffPrivateTag, 0x5A, 0, false},
      {"ours, claiming more than 1,236 bytes", kDmOffDriverExtra + 1, 0x08, 0, false},
      // An older minor layout is converted and upgraded into the output; an older major one
      // is not taken.
      {"ours, older layout (1)", -1, 0, 321, true},
      {"ours, older major layout (2)", -1, 0, 220, false},
  };
  int n = 0;
  for (const auto& c : cases) {
    std::vector<BYTE> client = own;
    reinterpret_cast<DEVMODEW*>(client.data())->dmCopies = 77;
    if (c.offset >= 0) client[size_t(c.offset)] = c.value;
    if (c.layout) SetLayoutVersion(client, c.layout);
    std::string hex;
    for (BYTE b : client) {
      static const char digits[] = "0123456789abcdef";
      hex += digits[b >> 4];
      hex += digits[b & 15];
    }
    std::ofstream(std::string(SimMachineRoot()) + "/stand-ins/ombidiss.script", std::ios::binary | std::ios::trunc)
        << "type\t18\ndevmode\t" << hex << "\n";
    const std::u16string name = u"Client" + std::u16string(1, char16_t(u'A' + n++));
    HANDLE h = AddBarePrinter(name.c_str());
    std::vector<BYTE> out(kDevmodeSize);
    LONG needed = kDevmodeSize;
    EXPECT_TRUE(DrvConvertDevMode(const_cast<LPWSTR>(name.c_str()), nullptr, reinterpret_cast<PDEVMODEW>(out.data()),
                                  &needed, CDM_DRIVER_DEFAULT))
        << c.what;
    EXPECT_EQ(reinterpret_cast<DEVMODEW*>(out.data())->dmCopies == 77, c.copied) << c.what;
    EXPECT_TRUE(DmIsOwnDevmode(out.data())) << c.what << ": the output is ours either way";
    EXPECT_EQ(LayoutVersion(out), kCurrentLayout) << c.what;
    EXPECT_EQ(UiBusyFlag.load(), 0);
    ClosePrinter(h);
  }
}


// A conversion by the version of the caller's DEVMODE: an older minor layout is upgraded and
// keeps the caller's settings, an older major one gives way to the full defaults of a reinstall.
TEST_F(DocumentPropertiesTest, ConvertTakesEachInputVersionItsOwnWay) {
  MultiSession();
  const struct {
    const char* what;
    DWORD layout;
    const char16_t* stampType;
    short copies;  // in the output
  } cases[] = {
      {"current", kCurrentLayout, u"2", 7},
      {"older minor (1)", 321, u"2", 7},
      {"older major (2)", 220, u"1", 1},
  };
  for (const auto& c : cases) {
    std::vector<BYTE> in = DriverDefault();
    DEVMODEW* input = reinterpret_cast<DEVMODEW*>(in.data());
    input->dmFields |= DM_COPIES;
    input->dmCopies = 7;
    SetLayoutVersion(in, c.layout);
    std::vector<BYTE> out(kDevmodeSize);
    reinterpret_cast<DEVMODEW*>(out.data())->dmSize = 220;
    reinterpret_cast<DEVMODEW*>(out.data())->dmDriverExtra = 1016;
    LONG needed = kDevmodeSize;
    EXPECT_TRUE(DrvConvertDevMode(Name(), input, reinterpret_cast<PDEVMODEW>(out.data()), &needed, CDM_CONVERT))
        << c.what;
    EXPECT_EQ(SettingsKey(u"DrvInstType"), c.stampType) << c.what;
    EXPECT_EQ(reinterpret_cast<DEVMODEW*>(out.data())->dmCopies, c.copies) << c.what;
    EXPECT_TRUE(DmIsOwnDevmode(out.data())) << c.what;
    if (c.layout != kCurrentLayout) {
      EXPECT_EQ(LayoutVersion(out), kCurrentLayout) << c.what << ": upgraded";
    }
    EXPECT_EQ(UiBusyFlag.load(), 0) << c.what;
  }
}

// A printer shared from a server: its driver default is the full defaults, without the
// install pass or its stamp (the server's own spooler ran them).
TEST_F(DocumentPropertiesTest, DriverDefaultOfAServerPrinterRunsNoPass) {
  MultiSession();
  HANDLE shared = AddBarePrinter(u"\\\\SRV\\Shared", u"\\\\SRV");
  ASSERT_NE(shared, nullptr);
  std::vector<BYTE> out(kDevmodeSize, 0xA5);
  LONG needed = kDevmodeSize;
  EXPECT_TRUE(DrvConvertDevMode(const_cast<LPWSTR>(u"\\\\SRV\\Shared"), nullptr,
                                reinterpret_cast<PDEVMODEW>(out.data()), &needed, CDM_DRIVER_DEFAULT));
  EXPECT_TRUE(DmIsOwnDevmode(out.data()));
  EXPECT_EQ(Stamp(shared, u"\\\\SRV\\Shared", u"DrvInstTime"), u"<absent>");
  EXPECT_EQ(UiBusyFlag.load(), 0);
  ClosePrinter(shared);
}

// From Vista on, a conversion on a printer without its directory-service name cleans the stale
// remote-configuration entries when it ends, holding the driver mutex while it does; with the
// name, or before Vista, nothing is cleaned.
TEST_F(DocumentPropertiesTest, TheVistaCleanUpRunsUnderTheMutex) {
  const std::u16string jobCodes = u"SOFTWARE\\ORVEL\\JOBCODE\\JCUserName";
  auto plant = [&] {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, jobCodes.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, u"\\\\CSR|a", 0, REG_SZ, reinterpret_cast<const BYTE*>(u"v"), 4);
    RegCloseKey(key);
  };
  auto planted = [&] {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, jobCodes.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    const bool there = RegQueryValueExW(key, u"\\\\CSR|a", nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return there;
  };
  const std::vector<BYTE> current = DriverDefault();
  auto convert = [&] {
    std::vector<BYTE> in = current, out(kDevmodeSize);
    reinterpret_cast<DEVMODEW*>(out.data())->dmSize = 220;
    reinterpret_cast<DEVMODEW*>(out.data())->dmDriverExtra = 1016;
    LONG needed = kDevmodeSize;
    return DrvConvertDevMode(Name(), reinterpret_cast<PDEVMODEW>(in.data()), reinterpret_cast<PDEVMODEW>(out.data()),
                             &needed, CDM_CONVERT);
  };
  const struct {
    const char* what;
    DWORD major;
    bool dsName;
    bool cleaned;
  } cases[] = {
      {"XP", 5, false, false},
      {"Vista with the name", 6, true, false},
      {"Vista without the name", 6, false, true},
  };
  for (const auto& c : cases) {
    SetWindows(c.major, c.major == 5 ? 1 : 0);
    OsForgetCachedAnswers();
    SimActForMachine(TRUE);
    if (c.dsName) {
      SetPrinterDataExW(printer_, const_cast<LPWSTR>(u"DsSpooler"), const_cast<LPWSTR>(u"printerName"), REG_SZ,
                        reinterpret_cast<LPBYTE>(const_cast<char16_t*>(u"ZEMS Printer")), 26);
    } else {
      DeletePrinterDataExW(printer_, const_cast<LPWSTR>(u"DsSpooler"), const_cast<LPWSTR>(u"printerName"));
    }
    SimActForMachine(FALSE);
    plant();
    EXPECT_TRUE(convert()) << c.what;
    EXPECT_EQ(planted(), !c.cleaned) << c.what;
  }

  // Another holder of the driver mutex keeps the clean-up waiting until it lets go.
  plant();
  LockGlobalMutex();
  BOOL answer = FALSE;
  std::thread conversion([&] { answer = convert(); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(planted()) << "cleaned while another held the mutex";
  UnlockGlobalMutex();
  conversion.join();
  EXPECT_TRUE(answer);
  EXPECT_FALSE(planted());
  EXPECT_EQ(UiBusyFlag.load(), 0);
}


// The machine's DocumentPropertiesW asks the printer's configuration DLL as Wine's spooler
// does: without the sheet for the size and DM_OUT_BUFFER (the caller's DEVMODE merged), through
// the common property sheet for DM_IN_PROMPT.
TEST_F(DocumentPropertiesTest, TheSpoolersDocumentPropertiesAskTheDriver) {
  EXPECT_EQ(DocumentPropertiesW(nullptr, printer_, Name(), nullptr, nullptr, 0), kDevmodeSize);
  EXPECT_EQ(DocumentPropertiesW(nullptr, nullptr, Name(), nullptr, nullptr, 0), kDevmodeSize) << "opened by name";
  std::vector<BYTE> in = DriverDefault();
  reinterpret_cast<DEVMODEW*>(in.data())->dmFields |= DM_COPIES;
  reinterpret_cast<DEVMODEW*>(in.data())->dmCopies = 5;
  const struct {
    const char* what;
    DWORD mode;
    int sheetAnswer;
    LONG answer;
    short copies;  // 0: the output is not written
  } cases[] = {
      {"out", DM_OUT_BUFFER, 0, IDOK, 1},
      {"in and out", DM_IN_BUFFER | DM_OUT_BUFFER, 0, IDOK, 5},
      {"sheet confirmed", DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER, IDOK, IDOK, 5},
      {"sheet cancelled", DM_IN_PROMPT | DM_IN_BUFFER | DM_OUT_BUFFER, IDCANCEL, IDCANCEL, 0},
  };
  for (const auto& c : cases) {
    std::vector<BYTE> out(kDevmodeSize, 0xA5);
    if (c.sheetAnswer) SimUiScriptSheet(c.sheetAnswer);
    EXPECT_EQ(DocumentPropertiesW(nullptr, printer_, Name(), reinterpret_cast<PDEVMODEW>(out.data()),
                                  reinterpret_cast<PDEVMODEW>(in.data()), c.mode),
              c.answer)
        << c.what;
    if (c.copies) {
      EXPECT_TRUE(DmIsOwnDevmode(out.data())) << c.what;
      EXPECT_EQ(reinterpret_cast<DEVMODEW*>(out.data())->dmCopies, c.copies) << c.what;
    } else {
      EXPECT_EQ(out, std::vector<BYTE>(kDevmodeSize, 0xA5)) << c.what;
    }
    if (c.sheetAnswer) {
      int pages[16] = {};
      EXPECT_EQ(SimUiLastSheetPages(pages, 16), 7) << c.what;
      EXPECT_EQ(pages[0], 1001) << c.what;
    }
  }
}


// The printer's stored DEVMODE as the document properties find it: one of ours is taken as it
// is, one of the same model with an older layout is upgraded in place (its settings kept), one
// of another driver or of another size gives way to the defaults.
TEST_F(DocumentPropertiesTest, TheStoredDevmodeIsCheckedWhenTheContextOpens) {
  const std::vector<BYTE> own = DriverDefault();
  const struct {
    const char* what;
    int offset;  // a byte changed, or -1
    BYTE value;
    DWORD layout;   // 0: as it is
    size_t size;    // bytes stored, with dmDriverExtra to match
    short copies;   // in the output
  } cases[] = {
      {"ours", -1, 0, 0, 1236, 4},
      {"same model, older layout", -1, 0, 321, 1236, 4},
      {"another driver's", kDmOffPrivateTag, 0x5A, 0, 1236, 1},
      {"another size", -1, 0, 0, 1220, 1},
  };
  for (const auto& c : cases) {
    std::vector<BYTE> stored = own;
    DEVMODEW* dm = reinterpret_cast<DEVMODEW*>(stored.data());
    dm->dmFields |= DM_COPIES;
    dm->dmCopies = 4;
    if (c.offset >= 0) stored[size_t(c.offset)] = c.value;
    if (c.layout) SetLayoutVersion(stored, c.layout);
    dm->dmDriverExtra = WORD(c.size - dm->dmSize);
    stored.resize(c.size);
    SetStoredDevmode(stored);
    CtxCacheExpire(TRUE);
    std::vector<BYTE> out(kDevmodeSize, 0xA5);
    EXPECT_EQ(DrvDocumentProperties(nullptr, printer_, Name(), reinterpret_cast<PDEVMODEW>(out.data()), nullptr,
                                    DM_COPY),
              IDOK)
        << c.what;
    EXPECT_TRUE(DmIsOwnDevmode(out.data())) << c.what;
    EXPECT_EQ(reinterpret_cast<DEVMODEW*>(out.data())->dmCopies, c.copies) << c.what;
    EXPECT_EQ(LayoutVersion(out), kCurrentLayout) << c.what;
  }
}


// The sheets' check of their context's DEVMODE, on a context whose DEVMODE was changed after
// it opened: ours stays, the same model's older layout is upgraded in place, another driver's
// or another size is reset to the defaults with the stored settings.
TEST_F(DocumentPropertiesTest, TheSheetsCheckOfTheContextsDevmode) {
  const struct {
    const char* what;
    int offset;  // a byte changed, or -1
    BYTE value;
    DWORD layout;  // 0: as it is
    WORD extra;    // dmDriverExtra
    short copies;  // after the check
  } cases[] = {
      {"ours", -1, 0, 0, 1016, 4},
      {"same model, older layout", -1, 0, 321, 1016, 4},
      {"another driver's", kDmOffPrivateTag, 0x5A, 0, 1016, 1},
      {"another size", -1, 0, 0, 1000, 1},
  };
  for (const auto& c : cases) {
    CtxCacheExpire(TRUE);
    DriverContext* ctx = CtxOpenByKind(printer_, printer_, nullptr, 0x80000000);
    ASSERT_NE(ctx, nullptr) << c.what;
    ASSERT_NE(ctx->settings, nullptr) << c.what;
    DEVMODEW* dm = reinterpret_cast<DEVMODEW*>(ctx->settings);
    dm->dmCopies = 4;
    if (c.offset >= 0) ctx->settings[c.offset] = c.value;
    if (c.layout) memcpy(ctx->settings + kDmOffLayoutVersion, &c.layout, 4);
    dm->dmDriverExtra = c.extra;
    SheetCheckContextDevmode(ctx);
    std::vector<BYTE> after(ctx->settings, ctx->settings + kDevmodeSize);
    EXPECT_TRUE(DmIsOwnDevmode(after.data())) << c.what;
    EXPECT_EQ(reinterpret_cast<DEVMODEW*>(after.data())->dmCopies, c.copies) << c.what;
    EXPECT_EQ(LayoutVersion(after), kCurrentLayout) << c.what;
    CtxClose(ctx);
  }
}


// The spooler's AddPrinterW stores the driver's default DEVMODE, asked as DocumentPropertiesW
// asks it, for a printer added without one; a DEVMODE the caller gives is kept.
TEST_F(DocumentPropertiesTest, AddPrinterStoresTheDriversDefaultDevmode) {
  EXPECT_TRUE(DmIsOwnDevmode(StoredDevmode().data())) << "the sample printer, as the install added it";
  DEVMODEW given = {};
  given.dmSpecVersion = 0x401;
  given.dmSize = sizeof given;
  given.dmFields = DM_COPIES;
  given.dmCopies = 9;
  const struct {
    const char16_t* name;
    DEVMODEW* devmode;
  } cases[] = {{u"Added", nullptr}, {u"Given", &given}};
  for (const auto& c : cases) {
    PRINTER_INFO_2W info = {};
    info.pPrinterName = const_cast<LPWSTR>(c.name);
    info.pPortName = const_cast<LPWSTR>(TEXT("LPT1:"));
    info.pDriverName = const_cast<LPWSTR>(TEXT("ORVEL ALTEN KV310 ZEMS"));
    info.pPrintProcessor = const_cast<LPWSTR>(TEXT("WinPrint"));
    info.pDatatype = const_cast<LPWSTR>(TEXT("RAW"));
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    info.pDevMode = c.devmode;
    SimActForMachine(TRUE);
    HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
    SimActForMachine(FALSE);
    ASSERT_NE(h, nullptr) << Narrow16(c.name);
    DWORD needed = 0;
    GetPrinterW(h, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterW(h, 2, buffer.data(), needed, &needed));
    const DEVMODEW* stored = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data())->pDevMode;
    ASSERT_NE(stored, nullptr) << Narrow16(c.name);
    if (c.devmode) {
      EXPECT_EQ(stored->dmCopies, 9) << "the caller's DEVMODE is kept";
      EXPECT_EQ(stored->dmDriverExtra, 0);
    } else {
      EXPECT_TRUE(DmIsOwnDevmode(stored)) << Narrow16(c.name);
    }
    ClosePrinter(h);
  }
}

}  // namespace
}  // namespace zems_test
