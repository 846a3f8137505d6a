// The terminal-server configuration transfer against the sample printer and the scripted
// remote-configuration library: the gate, the install fetch from a client fixture, the client's
// DEVMODE, hostile clients and the merge into a user's settings ini on a multi-session host.
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "bind_fixture.h"
#include "core/bind/bidi_store.h"
#include "core/bind/remote_config.h"
#include "core/common/ini_access.h"
#include "core/common/mem.h"
#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/context/context_cache.h"
#include "core/context/settings_snapshot.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_table.h"
#include "core/store/item_store.h"
#include "core/store/settings_file.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "core/tables/model_record.h"
#include "core/tables/static_tables.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

namespace fs = std::filesystem;

const char16_t kPrinter[] = u"ZEMS Printer";
const char kFolder[] = "C:\\_zems\\ZEMS Printer";

std::string Utf8(const WCHAR* text) {
  std::string out;
  for (; text && *text; ++text) out += char(*text < 0x80 ? *text : '?');
  return out;
}

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::string HexOf(const std::vector<BYTE>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (BYTE b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

class RemoteTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ResetTestVariant();
    CtxCacheInit();
    OsForgetCachedAnswers();
    ASSERT_EQ(0, RunHost("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd --extra " +
                         SourceDir() + "/samples/driver/OV1BD172.ini"));
    ASSERT_EQ(0, RunHost("machine system --terminal-server yes"));
    OsForgetCachedAnswers();
    SetGate(true);
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kPrinter), &printer_, nullptr));
    Open();
  }
  void TearDown() override {
    Close();
    if (printer_) ClosePrinter(printer_);
    OsForgetCachedAnswers();
    MachineTest::TearDown();
  }
  void Open() {
    ctx_ = CtxOpen(printer_, printer_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx_);
  }
  void Close() {
    if (ctx_) CtxDestroy(ctx_, kReleaseExpired);
    ctx_ = nullptr;
    CtxCacheExpire(TRUE);
  }

  static void SetGate(bool on) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\ORVEL\\Vora Printer Driver", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    DWORD value = on ? 1 : 0;
    RegSetValueExW(key, u"OMBIDI_FLG", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof value);
    RegCloseKey(key);
  }
  // The library's file in the System folder (the module table keeps its entry).
  static void RemoveLibrary() {
    std::error_code ec;
    fs::remove(HostPath("C:\\WINDOWS\\system32\\ombidiss.dll"), ec);
    fs::remove(HostPath("C:\\WINDOWS\\system32\\OMBIDISS.dll"), ec);
  }

  // A file of the client under its source path.
  void ClientFile(const std::string& source, const std::string& contents) {
    std::string relative = source;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    fs::path p = fs::path(Root()) / "stand-ins" / "ombidiss.client" / relative;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << contents;
  }
  void Script(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    WriteScript("ombidiss.script", all);
  }
  void Force(const std::string& lines) { WriteScript("ombidiss.force", lines); }
  std::vector<std::string> Log(const std::string& prefix) { return LogLinesStarting("ombidiss.log", prefix); }

  std::string LangCode() { return Utf8(ResGetLangCodeAlias(ctx_)); }
  std::string KeyOf(WORD id) { return Utf8(ItemGetName(ctx_, id)); }

  // Three class-2 items kept in printer data, with the bytes the client holds for each.
  struct ClientValue {
    WORD id;
    std::string name;
    std::vector<BYTE> bytes;
  };
  std::vector<ClientValue> ClientValues() {
    std::vector<ClientValue> out;
    for (int i = 0; i < ctx_->items->count && out.size() < 3; ++i) {
      const SettingItem& row = ctx_->items->rows[i];
      UINT type = ItemDescType(row.descriptor), size = ItemDescSize(row.descriptor);
      if (ItemDescArea(row.descriptor) != kStoreClassDevice || row.storageKind != ItemStorePrinterData ||
          !row.persistKey || ItemTypeIsBit(type) || size == 0 || size > 64 || type == 14)
        continue;
      if ((row.id >= 10004 && row.id <= 10009) || (row.id >= 10386 && row.id <= 10433)) continue;
      ClientValue v{row.id, Utf8(row.persistKey), {}};
      for (UINT b = 0; b < size; ++b) v.bytes.push_back(BYTE(0x11 * (out.size() + 1) + b));
      out.push_back(v);
    }
    return out;
  }

  // The client of the install import: a bidi ini, a settings ini with two presets (the second
  // at the given source), a quality list, a custom size and a watermark, and three printer-data
  // values.
  void StandardClient(const std::string& client = "CLIENT1", bool bidi = true,
                      const std::string& secondPreset = "C:\\_zems\\user0001.rst") {
    const std::string code = LangCode();
    if (bidi) ClientFile("%SystemDrive%\\_zems\\OV00C171.ini", "[" + client + "]\r\nBidiFlag=1\r\nBidiFunc=3\r\n");
    ClientFile("%SystemDrive%\\_zems\\OV1BD170.ini",
               "[" + client + "]\r\nCount=2\r\nPresetList0=C:\\_zems\\user0000.rst\r\nPresetList0Name=Draft\r\n"
               "PresetList0Comment=Quick\r\nPresetList1=" + secondPreset + "\r\nPresetList1Name=Booklet\r\n"
               "QualityCount=1\r\nQualityList0=C:\\_zems\\fine.rsq\r\nQualityList0Name=Fine\r\n"
               "[" + code + "]\r\nFreeSizeCount=1\r\nStampCount=1\r\n"
               "[FreeSize0" + code + "]\r\nRstVersion=321\r\n" + KeyOf(916) + "=4800\r\n"
               "[Stamp0" + code + "]\r\n" + KeyOf(117) + "=1\r\n");
    // The client's preset and quality files, saved by the same driver and model: a full header.
    const ModelRecord* record = CtxModelRecord(ctx_);
    const std::string header = "RstVersion=" + std::to_string(record->layoutVersion2) +
                               "\r\nRstMachine=" + std::to_string(record->modelCode) +
                               "\r\nRstLanguage=" + std::to_string(ItemGetRawById(ctx_, 169)) +
                               "\r\nRstOSKind=" + std::to_string(ItemGetRawById(ctx_, 707)) + "\r\n";
    const std::string sources[] = {"C:\\_zems\\user0000.rst", secondPreset, "C:\\_zems\\fine.rsq"};
    for (const std::string& source : sources) ClientFile(source, "[" + client + "]\r\n" + header);
    std::vector<std::string> lines = {"type\t18", "client\t" + client};
    for (const ClientValue& v : ClientValues()) lines.push_back("data\t" + v.name + "\t3\t" + HexOf(v.bytes));
    Script(lines);
  }

  DWORD PrinterDword(const char16_t* name, bool* present = nullptr) {
    DWORD value = 0, type = 0, needed = 0;
    DWORD rc = GetPrinterDataW(printer_, const_cast<LPWSTR>(name), &type, reinterpret_cast<BYTE*>(&value), 4, &needed);
    if (present) *present = rc == ERROR_SUCCESS;
    return value;
  }
  std::string FlagFileKey() {
    WCHAR path[MAX_PATH] = {}, value[16] = {};
    if (!RemoteFlagFilePath(ctx_, path, MAX_PATH)) return "?";
    IniReadString(u"kestor", u"KestorFlg", u"", value, 16, path);
    return Utf8(value);
  }
  bool InFolder(const std::string& leaf, const std::string& folder = kFolder) {
    return fs::is_regular_file(HostPath(folder + "\\" + leaf));
  }

  // Every file of drive C: outside the per-printer folder and the printer's settings ini.
  std::set<std::string> FilesOutside() {
    std::set<std::string> out;
    const std::string drive = HostPath("C:\\");
    const std::string folder = HostPath(kFolder);
    const std::string settings = HostPath(Utf8(PathSettingsFile(ctx_)));
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(drive, ec); it != fs::recursive_directory_iterator();
         it.increment(ec)) {
      std::string p = it->path().string();
      if (p.compare(0, folder.size(), folder) == 0 || p == settings) continue;
      out.insert(p);
    }
    return out;
  }

  HANDLE printer_ = nullptr;
  DriverContext* ctx_ = nullptr;
};

// ---- the gate ----

TEST_F(RemoteTest, StateFollowsGateLibraryTerminalServerAndConnection) {
  struct Case {
    const char* what;
    bool flag, library, terminal, connected;
    int state;
  } const cases[] = {
      {"flag without the library", true, false, true, false, 0},
      {"library without the flag", false, true, true, false, 0},
      {"not a terminal server", true, true, false, false, 0},
      {"transfer due", true, true, true, false, 2},
      {"client data fetched", true, true, true, true, 1},
  };
  for (const Case& c : cases) {
    SetGate(c.flag);
    if (!c.library) RemoveLibrary();
    ASSERT_EQ(0, RunHost(std::string("machine system --terminal-server ") + (c.terminal ? "yes" : "no")));
    OsForgetCachedAnswers();
    DWORD one = 1;
    if (c.connected)
      SetPrinterDataW(printer_, const_cast<LPWSTR>(u"KestorConnection"), REG_BINARY, reinterpret_cast<BYTE*>(&one), 4);
    EXPECT_EQ(c.state, RemoteConfigState(ctx_)) << c.what;
    // A closed gate leaves everything as it was.
    if (c.state == 0) {
      EXPECT_EQ(0, RemoteImportOnInstall(ctx_)) << c.what;
      BYTE devmode[kRemoteDevmodeSize];
      EXPECT_EQ(0, RemoteFetchClientDevmode(ctx_, devmode, nullptr)) << c.what;
    }
    DeletePrinterDataW(printer_, const_cast<LPWSTR>(u"KestorConnection"));
    std::error_code ec;
    fs::copy_file(BinDir() + "/ombidiss.so", HostPath("C:\\WINDOWS\\system32\\ombidiss.dll"),
                  fs::copy_options::overwrite_existing, ec);
    ASSERT_FALSE(ec) << ec.message();
  }
  EXPECT_TRUE(Log("OMGetServerType").empty()) << "the state never asks the library";
}

TEST_F(RemoteTest, QueryServerTypeNeedsOnlyTheGate) {
  Script({"type\t17"});
  DWORD type = 0;
  EXPECT_EQ(1, RemoteQueryServerType(u"ZEMS Printer", &type));
  EXPECT_EQ(17u, type);
  SetGate(false);
  EXPECT_EQ(0, RemoteQueryServerType(u"ZEMS Printer", &type));
  EXPECT_EQ(0u, type);
}

// ---- the install import ----

TEST_F(RemoteTest, InstallImportFetchesTheClientsFilesAndPrinterData) {
  StandardClient();
  const std::vector<ClientValue> values = ClientValues();
  ASSERT_EQ(3u, values.size());
  ASSERT_EQ(2, RemoteConfigState(ctx_));
  EXPECT_EQ(1, RemoteImportOnInstall(ctx_));

  for (const char* leaf : {"OV00C171.ini", "OV1BD170.ini", "user0000.rst", "user0001.rst", "fine.rsq"})
    EXPECT_TRUE(InFolder(leaf)) << leaf;
  // The class-2 items are the client's, locally stored in printer data too.
  for (const ClientValue& v : values) {
    BYTE* storage = ItemStoragePtr(ctx_, ItemFind(ctx_, v.id));
    ASSERT_NE(nullptr, storage);
    EXPECT_EQ(0, memcmp(storage, v.bytes.data(), v.bytes.size())) << v.name;
    std::vector<BYTE> local(v.bytes.size());
    DWORD type = 0, needed = 0;
    std::u16string name = Wide(v.name);
    ASSERT_EQ(DWORD(ERROR_SUCCESS), GetPrinterDataW(printer_, const_cast<LPWSTR>(name.c_str()), &type, local.data(),
                                                    DWORD(local.size()), &needed));
    EXPECT_EQ(v.bytes, local) << v.name;
    EXPECT_EQ(DWORD(v.id == 10275 ? REG_DWORD : REG_BINARY), type) << v.name;
  }
  EXPECT_EQ(1u, PrinterDword(u"KestorConnection"));
  EXPECT_EQ(1u, PrinterDword(u"KestorIni"));
  EXPECT_EQ(1u, PrinterDword(u"PresetRefresh"));
  EXPECT_EQ("1", FlagFileKey());

  // The library got the destinations in their %SystemDrive% form and the printer-interface
  // DLL's full path.
  std::vector<std::string> copies = Log("OMGetDataFile");
  ASSERT_EQ(5u, copies.size());
  EXPECT_NE(std::string::npos, copies[0].find("source=\"%SystemDrive%\\_zems\\OV00C171.ini\"")) << copies[0];
  EXPECT_NE(std::string::npos, copies[0].find("destination=\"%SystemDrive%\\_zems\\ZEMS Printer\\OV00C171.ini\""))
      << copies[0];
  std::vector<std::string> set = Log("OMSetDevmode");
  ASSERT_EQ(1u, set.size());
  auto* driver = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(printer_, 3));
  ASSERT_NE(nullptr, driver);
  EXPECT_NE(std::string::npos, set[0].find("dll=\"" + Utf8(driver->pConfigFile) + "\"")) << set[0];
  EXPECT_NE(std::string::npos, Utf8(driver->pConfigFile).find("\\zemsui.dll"));
  MemFree(driver);
  EXPECT_NE(std::string::npos, set[0].find("function=\"DrvConvertDevMode\" zero=0,0")) << set[0];
  EXPECT_EQ(1u, Log("OMPrintConfigDisConnect").size());
  EXPECT_TRUE(Log("unexpected").empty());

  // Fetched once: the next install pass asks nothing.
  const size_t calls = ScriptLines("ombidiss.log").size();
  EXPECT_EQ(1, RemoteConfigState(ctx_));
  EXPECT_EQ(1, RemoteImportOnInstall(ctx_));
  EXPECT_EQ(calls, ScriptLines("ombidiss.log").size());
}

// A source in the client's driver form asks for the file of that client; other sources name
// no client.
TEST_F(RemoteTest, DriverFormSourcesNameTheClient) {
  StandardClient("CLIENT1", true, "%%driver%%\\user0001.rst");
  EXPECT_EQ(1, RemoteImportOnInstall(ctx_));
  EXPECT_TRUE(InFolder("user0001.rst"));
  std::vector<std::string> sizes = Log("OMRegFileGetSize");
  ASSERT_EQ(5u, sizes.size());
  for (const std::string& line : sizes) {
    const bool driverForm = line.find("source=\"%%driver%%\\user0001.rst\"") != std::string::npos;
    EXPECT_NE(std::string::npos, line.find(driverForm ? "client=\"CLIENT1\"" : "client=null")) << line;
  }
}

TEST_F(RemoteTest, ServerType19ClearsButCopiesNothing) {
  StandardClient();
  Script({"type\t19"});
  EXPECT_EQ(0, RemoteImportOnInstall(ctx_));
  std::vector<std::string> clear = Log("OMSaveInformationClear");
  ASSERT_EQ(1u, clear.size());
  EXPECT_NE(std::string::npos, clear[0].find("type=17")) << clear[0];
  EXPECT_TRUE(Log("OMPrintConfigConnectEx").empty());
  EXPECT_TRUE(Log("OMGetDataFile").empty());
  bool present = true;
  PrinterDword(u"KestorConnection", &present);
  EXPECT_FALSE(present);
}

TEST_F(RemoteTest, ClearServerInformationByType) {
  for (auto c : {std::make_pair(17, 1), std::make_pair(18, 1), std::make_pair(19, 0), std::make_pair(20, 0)}) {
    Script({"type\t" + std::to_string(c.first)});
    WriteScript("ombidiss.log", "");
    EXPECT_EQ(c.second, RemoteClearServerInformation(ctx_)) << c.first;
    EXPECT_EQ(c.first <= 19 ? 1u : 0u, Log("OMSaveInformationClear").size()) << c.first;
  }
  Script({"type\t17"});
  Force("OMSaveInformationClear 5\n");
  EXPECT_EQ(0, RemoteClearServerInformation(ctx_));
}

TEST_F(RemoteTest, ClientWithoutBidiIniGetsAnEmptyFileAndLosesThePrintersBidiSection) {
  StandardClient("CLIENT1", false);
  EXPECT_EQ(1, RemoteImportOnInstall(ctx_));
  ASSERT_TRUE(InFolder("OV00C171.ini"));
  EXPECT_EQ(0u, fs::file_size(HostPath(std::string(kFolder) + "\\OV00C171.ini")));

  // The handler of the copied file deletes this printer's section of the bidi ini.
  ASSERT_TRUE(BidiIniWriteFlag(ctx_, 1));
  ASSERT_EQ(1, BidiIniHasFlag(ctx_));
  RemoteLibrary* lib = RemoteBindLibraryEx(ctx_);
  ASSERT_NE(nullptr, lib);
  ASSERT_EQ(1, RemoteAskServerType(lib, u"ZEMS Printer", nullptr));
  std::u16string copied = Wide(std::string(kFolder) + "\\OV00C171.ini");
  RemoteImportClientBidiState(ctx_, copied.c_str(), lib);
  RemoteFreeLibrary(lib);
  EXPECT_EQ(0, BidiIniHasFlag(ctx_));
}

TEST_F(RemoteTest, ClientBidiStateIsSavedUnderThePrinterAndTheNameComesBack) {
  StandardClient();
  EXPECT_EQ(1, RemoteImportOnInstall(ctx_));
  RemoteLibrary* lib = RemoteBindLibraryEx(ctx_);
  ASSERT_NE(nullptr, lib);
  ASSERT_EQ(1, RemoteAskServerType(lib, u"ZEMS Printer", nullptr));
  std::u16string copied = Wide(std::string(kFolder) + "\\OV00C171.ini");
  RemoteImportClientBidiState(ctx_, copied.c_str(), lib);
  RemoteFreeLibrary(lib);
  EXPECT_EQ("ZEMS Printer", Utf8(PrnGetPrinterName(ctx_)));
  EXPECT_EQ(1, BidiIniFlagIsSet(ctx_));
  WCHAR path[MAX_PATH];
  ASSERT_TRUE(PathInSettingsFolder(path, MAX_PATH, kBidiIniName, ctx_));
  EXPECT_EQ(3u, IniReadInt(u"ZEMS Printer", u"BidiFunc", 0, path));
}

TEST_F(RemoteTest, FailedStepsWriteNoFlagAndAreTriedAgain) {
  for (const char* force : {"OMPrintConfigConnectEx 5", "OMGetDataFile 5", "OMPrintConfigDisConnect 5",
                            "OMClientOSType 5", "OMRegFileGetSize 5", "OMSetDevmode 5", "OMSaveInformationClear 5"}) {
    StandardClient();
    Force(std::string(force) + "\n");
    EXPECT_EQ(0, RemoteImportOnInstall(ctx_)) << force;
    bool present = true;
    PrinterDword(u"KestorConnection", &present);
    EXPECT_FALSE(present) << force;
    EXPECT_NE("1", FlagFileKey()) << force;
    EXPECT_EQ(2, RemoteConfigState(ctx_)) << force;
    // Whatever failed after the connect, the connection was closed.
    if (std::string(force) != "OMPrintConfigConnectEx 5" && std::string(force) != "OMSaveInformationClear 5") {
      EXPECT_FALSE(Log("OMPrintConfigDisConnect").empty()) << force;
    }
    Force("");
    EXPECT_EQ(1, RemoteImportOnInstall(ctx_)) << force;
    EXPECT_EQ("1", FlagFileKey()) << force;
    DeletePrinterDataW(printer_, const_cast<LPWSTR>(u"KestorConnection"));
    WCHAR flag[MAX_PATH];
    ASSERT_TRUE(RemoteFlagFilePath(ctx_, flag, MAX_PATH));
    IniWriteString(u"kestor", nullptr, nullptr, flag);
    WriteScript("ombidiss.log", "");
  }
}

// ---- the client's DEVMODE ----

TEST_F(RemoteTest, ClientDevmodeOnlyOfExactlyTheDriversSizeAndType18) {
  struct Case {
    DWORD type, bytes;
    int taken;
  } const cases[] = {{18, 1236, 1}, {18, 1235, 0}, {18, 1237, 0}, {17, 1236, 0}};
  for (const Case& c : cases) {
    std::vector<BYTE> client(c.bytes);
    for (DWORD i = 0; i < c.bytes; ++i) client[i] = BYTE(i * 7 + 1);
    Script({"type\t" + std::to_string(c.type), "devmode\t" + HexOf(client)});
    WriteScript("ombidiss.log", "");
    std::vector<BYTE> buffer(kRemoteDevmodeSize, 0xEE);
    BYTE type = 0;
    EXPECT_EQ(c.taken, RemoteFetchClientDevmode(ctx_, buffer.data(), &type)) << c.bytes;
    EXPECT_EQ(BYTE(c.type), type);
    if (c.taken)
      EXPECT_EQ(0, memcmp(buffer.data(), client.data(), kRemoteDevmodeSize));
    else
      EXPECT_EQ(std::vector<BYTE>(kRemoteDevmodeSize, 0xEE), buffer) << "the caller's buffer is untouched";
    EXPECT_EQ(c.taken ? 1u : 0u, Log("OMDevmode ").size()) << c.bytes;
    EXPECT_EQ(Log("OMPrintConfigConnectEx").size(), Log("OMPrintConfigDisConnect").size());
  }
}

TEST_F(RemoteTest, ClientDevmodeSizeClaimDrivesNoAllocation) {
  Script({"type\t18", "devmode\t0102", "devmodeclaim\t0x7fffffff"});
  BYTE buffer[kRemoteDevmodeSize] = {};
  EXPECT_EQ(0, RemoteFetchClientDevmode(ctx_, buffer, nullptr));
  Script({"type\t18", "devmode\t0102", "devmodeclaim\t1236"});
  EXPECT_EQ(1, RemoteFetchClientDevmode(ctx_, buffer, nullptr));
  EXPECT_EQ(0x01, buffer[0]);
  EXPECT_EQ(0x00, buffer[1235]);
}

// ---- hostile clients ----

TEST(RemoteNames, SanitizedPrinterNames) {
  std::u16string longName(300, u'x');
  struct Case {
    std::u16string name;
    int ok;
    std::u16string folder;
  } const cases[] = {
      {u"A/B", 1, u"AB"},
      {u"Office \"3\" <lab>?", 1, u"Office 3 lab"},
      {u"\\\\server\\queue", 1, u"serverqueue"},
      {u"c:evil", 1, u"cevil"},
      {u"tab\there", 1, u"tabhere"},
      {u"..", 0, u""},
      {u"./.", 0, u""},
      {u".", 0, u""},
      {u"*?|", 0, u""},
      {u"", 0, u""},
      {longName, 0, u""},
  };
  for (const Case& c : cases) {
    WCHAR out[260];
    EXPECT_EQ(c.ok, RemoteSanitizeName(c.name.c_str(), out, 260)) << Utf8(c.name.c_str());
    EXPECT_EQ(c.folder, std::u16string(out)) << Utf8(c.name.c_str());
  }
  for (const char16_t* leaf : {u"a/b.rst", u"c:d.rst", u"..", u".", u"", u"a..b.rst", u"x\x01.rst", u"a\\b.rst"})
    EXPECT_EQ(0, RemoteLeafIsSafe(leaf)) << Utf8(leaf);
  EXPECT_EQ(1, RemoteLeafIsSafe(u"user0000.rst"));
}

TEST_F(RemoteTest, PrinterNameWithASlashGetsTheTwoLetterFolder) {
  StrCopyCut(ctx_->ui->printerName, kPrinterNameChars, u"A/B");
  WCHAR folder[MAX_PATH], flag[MAX_PATH];
  ASSERT_EQ(1, RemotePrinterFolder(ctx_, folder, MAX_PATH));
  EXPECT_EQ("C:\\_zems\\AB", Utf8(folder));
  ASSERT_EQ(1, RemoteFlagFilePath(ctx_, flag, MAX_PATH));
  EXPECT_EQ(Utf8(folder) + "\\OV1BD170.ini", Utf8(flag));
  ASSERT_EQ(1, RemoteCreatePrinterFolder(ctx_));
  EXPECT_TRUE(fs::is_directory(HostPath("C:\\_zems\\AB")));
  // A name with nothing left gives no folder at all.
  StrCopyCut(ctx_->ui->printerName, kPrinterNameChars, u"..");
  EXPECT_EQ(0, RemotePrinterFolder(ctx_, folder, MAX_PATH));
  EXPECT_EQ(0, RemoteCreatePrinterFolder(ctx_));
  StrCopyCut(ctx_->ui->printerName, kPrinterNameChars, u"ZEMS Printer");
}

TEST_F(RemoteTest, HostileListEntriesAreSkippedAndLaterOnesStillCopied) {
  StandardClient();
  const std::string longLeaf = std::string(300, 'l') + ".rst";
  ClientFile("%SystemDrive%\\_zems\\OV1BD170.ini",
             "[CLIENT1]\r\nCount=8\r\n"
             "PresetList0=C:\\x\\..\\a/../../../evil0.rst\r\n"
             "PresetList1=C:\\x\\..\r\n"
             "PresetList2=C:\\x\\\r\n"
             "PresetList3=C:\\x\\c:evil3.rst\r\n"
             "PresetList4=nobackslash.rst\r\n"
             "PresetList5=C:\\x\\" + longLeaf + "\r\n"
             "PresetList6=C:\\x\\..evil6.rst\r\n"
             "PresetList7=C:\\_zems\\user0000.rst\r\n"
             "QualityCount=2\r\nQualityList0=C:\\x\\q/../../evilq.rsq\r\nQualityList1=C:\\_zems\\fine.rsq\r\n");
  ClientFile("C:\\x\\a/evil0.rst", "[CLIENT1]\r\n");
  ASSERT_EQ(1, RemoteCreatePrinterFolder(ctx_));
  const std::set<std::string> before = FilesOutside();
  EXPECT_EQ(1, RemoteImportOnInstall(ctx_));
  EXPECT_EQ(before, FilesOutside());
  EXPECT_TRUE(InFolder("user0000.rst"));
  EXPECT_TRUE(InFolder("fine.rsq"));
  for (const std::string& line : Log("OMGetDataFile")) {
    EXPECT_EQ(std::string::npos, line.find("evil")) << line;
    EXPECT_NE(std::string::npos, line.find("destination=\"%SystemDrive%\\_zems\\ZEMS Printer\\")) << line;
  }
}

TEST_F(RemoteTest, HostileClientNamesChangeNothingOutsideThePrinterFolder) {
  std::string unterminated;
  for (int i = 0; i < 260; ++i) unterminated += "4100";
  struct Case {
    std::string script;
    int result;
  } const cases[] = {
      {"client\t..\\..\\evil", 1},
      {"client\tc:\\evil", 1},
      {"client\ta/../b", 1},
      {"client\t" + std::string(300, 'n'), 0},
      {"clienthex\t" + unterminated, 0},
      {"clienthex\t" + unterminated + "0000", 0},
  };
  for (const Case& c : cases) {
    StandardClient();
    std::vector<std::string> lines = ScriptLines("ombidiss.script");
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.compare(0, 7, "client\t") == 0; }),
                lines.end());
    lines.push_back(c.script);
    Script(lines);
    ASSERT_EQ(1, RemoteCreatePrinterFolder(ctx_));
    const std::set<std::string> before = FilesOutside();
    EXPECT_EQ(c.result, RemoteImportOnInstall(ctx_)) << c.script.substr(0, 40);
    EXPECT_EQ(before, FilesOutside()) << c.script.substr(0, 40);
    DeletePrinterDataW(printer_, const_cast<LPWSTR>(u"KestorConnection"));
  }
}

TEST_F(RemoteTest, PrinterDataOfAnotherSizeIsRefused) {
  StandardClient();
  const std::vector<ClientValue> values = ClientValues();
  std::vector<std::string> lines = {"type\t18"};
  lines.push_back("data\t" + values[0].name + "\t3\t" + HexOf(values[0].bytes));
  lines.push_back("claim\t" + values[0].name + "\t" + std::to_string(values[0].bytes.size() + 1));
  lines.push_back("data\t" + values[1].name + "\t3\t" + HexOf(values[1].bytes));
  lines.push_back("claim\t" + values[1].name + "\t0x7fffffff");
  Script(lines);
  std::vector<BYTE> before(ItemStoragePtr(ctx_, ItemFind(ctx_, values[0].id)),
                           ItemStoragePtr(ctx_, ItemFind(ctx_, values[0].id)) + values[0].bytes.size());
  EXPECT_EQ(1, RemoteImportOnInstall(ctx_));
  EXPECT_EQ(0, memcmp(ItemStoragePtr(ctx_, ItemFind(ctx_, values[0].id)), before.data(), before.size()));
  EXPECT_TRUE(Log("OMGetPrinterData ").empty());
}

TEST_F(RemoteTest, RelocatedMachineFolderCompletesTheTransfer) {
  for (const char* folder : {"C:\\Data\\zems", "D:\\zemsdata"}) {
    ASSERT_EQ(0, RunHost(std::string("machine reg set 'HKLM\\SOFTWARE\\ORVEL\\ZemsDrv' _ZEMSDirectory --type sz ") +
                         "'" + folder + "'"));
    // The folder an administrator chose exists; the driver makes only its last part.
    fs::create_directories(fs::path(HostPath(folder)).parent_path());
    Close();
    Open();
    StandardClient();
    EXPECT_EQ(1, RemoteImportOnInstall(ctx_)) << folder;
    const std::string printerFolder = std::string(folder) + "\\ZEMS Printer";
    EXPECT_TRUE(InFolder("OV00C171.ini", printerFolder)) << folder;
    EXPECT_TRUE(InFolder("user0001.rst", printerFolder)) << folder;
    EXPECT_EQ("1", FlagFileKey()) << folder;
    WCHAR flag[MAX_PATH];
    ASSERT_TRUE(RemoteFlagFilePath(ctx_, flag, MAX_PATH));
    EXPECT_EQ(printerFolder + "\\OV1BD170.ini", Utf8(flag));
    const std::string expected = folder[0] == 'C' ? "%SystemDrive%\\Data\\zems\\ZEMS Printer\\" : printerFolder + "\\";
    for (const std::string& line : Log("OMGetDataFile"))
      EXPECT_NE(std::string::npos, line.find("destination=\"" + expected)) << line;
    DeletePrinterDataW(printer_, const_cast<LPWSTR>(u"KestorConnection"));
    WriteScript("ombidiss.log", "");
  }
}

// ---- the merge at sheet open ----

class RemoteMergeTest : public RemoteTest {
 protected:
  void SetUp() override {
    RemoteTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(1, OsIsMultiSessionHost(printer_));
    WCHAR folder[MAX_PATH];
    ASSERT_GT(PathGetUserSettingsFolder(folder, MAX_PATH, printer_), 0);
    fs::create_directories(HostPath(Utf8(folder)));
    StandardClient();
    ASSERT_EQ(1, RemoteImportOnInstall(ctx_));
  }
  std::string UserKey(const std::string& section, const std::string& key) {
    WCHAR value[300] = {};
    std::u16string s = Wide(section), k = Wide(key);
    IniReadString(s.c_str(), k.c_str(), u"", value, 300, PathSettingsFile(ctx_));
    return Utf8(value);
  }
  int Merge() {
    auto* info = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer_, 2));
    auto* driver = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(printer_, 3));
    int r = RemoteImportClientSettingsOnce(ctx_, info, driver);
    MemFree(info);
    MemFree(driver);
    return r;
  }
};

TEST_F(RemoteMergeTest, CustomSizesAndWatermarksMergedOnceAndTheNameRestored) {
  const std::string code = LangCode();
  EXPECT_EQ(1, Merge());
  EXPECT_EQ("ZEMS Printer", Utf8(PrnGetPrinterName(ctx_)));
  EXPECT_EQ("1", UserKey(code, "FreeSizeCount"));
  EXPECT_EQ("4800", UserKey("FreeSize0" + code, KeyOf(916)));
  EXPECT_EQ("321", UserKey("FreeSize0" + code, "RstVersion")) << "the client's";
  EXPECT_EQ("1", UserKey(code, "StampCount"));
  EXPECT_EQ("1", UserKey("Stamp0" + code, KeyOf(117)));
  EXPECT_EQ("2", FlagFileKey());
  EXPECT_EQ(2u, PrinterDword(u"KestorIni"));
  EXPECT_EQ(0, CtxSnapshotDepth(ctx_));
  // The client's bidi state went into the printer's section of the bidi ini.
  EXPECT_EQ(1, BidiIniFlagIsSet(ctx_));

  // Run twice, merged once.
  IniWriteString(u"FreeSize0xx", nullptr, nullptr, PathSettingsFile(ctx_));
  ASSERT_TRUE(IniWriteString(Wide(code).c_str(), u"FreeSizeCount", u"0", PathSettingsFile(ctx_)));
  EXPECT_EQ(0, Merge());
  EXPECT_EQ("0", UserKey(code, "FreeSizeCount"));
}

// Step 4: a merged printer whose KestorIni mirror was lost gets it back from the flag file.
TEST_F(RemoteMergeTest, TheMirrorOfTheFlagFileIsRestored) {
  EXPECT_EQ(1, Merge());
  ASSERT_EQ("2", FlagFileKey());
  struct Case {
    const char* what;
    bool remove;
    DWORD before;
  } cases[] = {{"no mirror", true, 0}, {"mirror 0", false, 0}, {"mirror 1 stays", false, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.remove) {
      DeletePrinterDataW(printer_, const_cast<LPWSTR>(u"KestorIni"));
    } else {
      DWORD v = c.before;
      SetPrinterDataW(printer_, const_cast<LPWSTR>(u"KestorIni"), REG_BINARY, reinterpret_cast<BYTE*>(&v), 4);
    }
    EXPECT_EQ(0, Merge()) << "merged before";
    EXPECT_EQ(c.before ? c.before : 2u, PrinterDword(u"KestorIni"));
  }
}

TEST_F(RemoteMergeTest, PresetsAndQualityListsReSavedUnderThePrinter) {
  EXPECT_EQ(1, Merge());
  EXPECT_EQ("2", UserKey("ZEMS Printer", "Count"));
  EXPECT_EQ("C:\\_zems\\user0000.rst", UserKey("ZEMS Printer", "PresetList0"));
  EXPECT_EQ("Draft", UserKey("ZEMS Printer", "PresetList0Name"));
  EXPECT_EQ("Quick", UserKey("ZEMS Printer", "PresetList0Comment"));
  EXPECT_EQ("1", UserKey("ZEMS Printer", "QualityCount"));
  EXPECT_EQ("Fine", UserKey("ZEMS Printer", "QualityList0Name"));
  EXPECT_TRUE(fs::is_regular_file(HostPath("C:\\_zems\\user0000.rst")));
  EXPECT_EQ("ZEMS Printer", Utf8(PrnGetPrinterName(ctx_)));
}

TEST_F(RemoteMergeTest, FailingLoadsLeaveTheEntriesOutAndRestoreTheName) {
  WCHAR copied[MAX_PATH];
  ASSERT_TRUE(RemotePrinterFolder(ctx_, copied, MAX_PATH));
  // Copied files that are not settings files.
  for (const char16_t* leaf : {u"\\user0000.rst", u"\\user0001.rst", u"\\fine.rsq"}) {
    std::u16string path = std::u16string(copied) + leaf;
    fs::resize_file(HostPath(Utf8(path.c_str())), 0);
  }
  EXPECT_EQ(1, Merge());
  EXPECT_EQ("ZEMS Printer", Utf8(PrnGetPrinterName(ctx_)));
  EXPECT_EQ("0", UserKey("ZEMS Printer", "Count"));
  EXPECT_EQ("", UserKey("ZEMS Printer", "PresetList0"));
  EXPECT_EQ("0", UserKey("ZEMS Printer", "QualityCount"));
}

TEST_F(RemoteMergeTest, NothingMergedIntoTheMachinesSettingsIni) {
  Close();
  ctx_ = CtxOpen(printer_, printer_, nullptr, 0, kKindSettings | 0x40000, 0, nullptr);
  ASSERT_NE(nullptr, ctx_);
  WCHAR machine[MAX_PATH];
  ASSERT_TRUE(PathSettingsFileOf(machine, MAX_PATH, 0, printer_));
  ASSERT_EQ(0, lstrcmpiW(machine, PathSettingsFile(ctx_)));
  EXPECT_EQ(0, Merge());
  EXPECT_EQ("1", FlagFileKey()) << "tried again by the next user's context";
}

// ---- end to end ----

TEST_F(RemoteTest, EndToEndInstallThenALaterContextMergesThroughTheFeatureHook) {
  // A fresh machine made a terminal server by the host command, the HKLM flag set by it too.
  Close();
  ASSERT_EQ(0, RunHost("machine system --terminal-server no"));
  ASSERT_EQ(0, RunHost("machine reg set 'HKLM\\Software\\ORVEL\\Vora Printer Driver' OMBIDI_FLG --type dword 0"));
  OsForgetCachedAnswers();
  Open();
  EXPECT_EQ(0, RemoteConfigState(ctx_));
  ASSERT_EQ(0, RunHost("machine system --terminal-server yes"));
  ASSERT_EQ(0, RunHost("machine reg set 'HKLM\\Software\\ORVEL\\Vora Printer Driver' OMBIDI_FLG --type dword 1"));
  OsForgetCachedAnswers();
  Close();
  Open();
  WCHAR folder[MAX_PATH];
  ASSERT_GT(PathGetUserSettingsFolder(folder, MAX_PATH, printer_), 0);
  fs::create_directories(HostPath(Utf8(folder)));
  StandardClient();

  EXPECT_EQ(2, RemoteConfigState(ctx_));
  EXPECT_EQ(1, RemoteImportOnInstall(ctx_));
  EXPECT_EQ(1, RemoteConfigState(ctx_));
  Close();
  Open();
  auto* info = static_cast<PRINTER_INFO_2W*>(PrnGetPrinterInfo(printer_, 2));
  auto* driver = static_cast<DRIVER_INFO_3W*>(PrnGetDriverInfo(printer_, 3));
  EXPECT_EQ(1, BuildRunFeatureHook(ctx_, info, driver));
  EXPECT_EQ("2", FlagFileKey());
  EXPECT_EQ("1", [&] {
    WCHAR value[16] = {};
    IniReadString(ResGetLangCodeAlias(ctx_), u"StampCount", u"", value, 16, PathSettingsFile(ctx_));
    return Utf8(value);
  }());
  // A second sheet opening merges nothing more.
  const size_t calls = Log("OMGetServerType").size();
  EXPECT_EQ(1, BuildRunFeatureHook(ctx_, info, driver));
  EXPECT_EQ(calls, Log("OMGetServerType").size());
  MemFree(info);
  MemFree(driver);
  // The client's two presets, re-saved under the printer's name.
  EXPECT_EQ("2", [&] {
    WCHAR value[16] = {};
    IniReadString(u"ZEMS Printer", u"Count", u"", value, 16, PathSettingsFile(ctx_));
    return Utf8(value);
  }());
}

}  // namespace
}  // namespace zems_test
