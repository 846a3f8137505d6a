#include "store_install/install_fixture.h"

#include <fstream>
#include <iterator>

#include "core/context/context_cache.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_cache.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "support/test_variant.h"

namespace zems_test {

namespace {

std::string ReadSource(const std::string& relative) {
  std::ifstream in(SourceDir() + "/" + relative, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void MakeFolders(const std::u16string& path) {
  for (size_t i = 3; i < path.size(); ++i)
    if (path[i] == u'\\') CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
}

}  // namespace

std::string Narrow16(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? char(c) : '?';
  return out;
}

void InstallTest::SetUp() {
  ContextTest::SetUp();
  WriteFile(DriverFolder() + u"OV1BD172.ini", ReadSource("samples/driver/OV1BD172.ini"));
  WriteFile(DriverFolder() + u"OVINST.INI", ReadSource("samples/driver/OVINST.INI"));
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);
  // English display language, as the property-sheet start's user defaults give it here.
  ItemSetRawById(ctx_, kItem_zdmLanguageID, 1);
  MakeFolders(PathSettingsFile(ctx_));
}

void InstallTest::TearDown() {
  SimSetDiskFull(-1);
  SimSetUserDefaultLCID(0x0409);
  ResetTestVariant();
  if (ctx_) CtxRelease(ctx_, kReleaseExpired);
  ContextTest::TearDown();
}

std::u16string InstallTest::DriverFolder() { return u"C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\"; }
std::u16string InstallTest::DataFile() const { return DriverFolder() + u"OV1BD172.ini"; }
std::u16string InstallTest::ZemsIni() const { return u"C:\\WINDOWS\\system32\\ZEMS.ini"; }
std::u16string InstallTest::SettingsIni() { return PathSettingsFile(ctx_); }
std::u16string InstallTest::Printer() { return PrnGetPrinterName(ctx_); }

std::u16string InstallTest::DefaultsIni() {
  WCHAR path[MAX_PATH];
  PathInSettingsFolder(path, MAX_PATH, u"OV00C170.ini", ctx_);
  return path;
}

std::u16string InstallTest::IniGet(const std::u16string& file, const std::u16string& section, const char16_t* key) {
  WCHAR buffer[1024];
  GetPrivateProfileStringW(section.c_str(), key, u"<absent>", buffer, 1024, file.c_str());
  return buffer;
}

void InstallTest::IniSet(const std::u16string& file, const std::u16string& section, const char16_t* key,
                         const char16_t* value) {
  ASSERT_TRUE(WritePrivateProfileStringW(section.c_str(), key, value, file.c_str()));
}

void InstallTest::WriteFile(const std::u16string& windowsPath, const std::string& text) {
  ASSERT_TRUE(WriteMachineFile(Narrow16(windowsPath), text));
}

std::string InstallTest::ReadFile(const std::u16string& windowsPath) {
  std::ifstream in(HostPath(Narrow16(windowsPath)), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool InstallTest::Exists(const std::u16string& windowsPath) {
  return GetFileAttributesW(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool InstallTest::Data(const char16_t* name, std::string* bytes, DWORD* type) {
  return ReadPrinterData(office_, name, bytes, type);
}

std::u16string InstallTest::DataText(const char16_t* name) {
  std::string bytes;
  if (!Data(name, &bytes)) return u"<absent>";
  std::u16string text(bytes.size() / 2, u'\0');
  memcpy(&text[0], bytes.data(), text.size() * 2);
  while (!text.empty() && text.back() == 0) text.pop_back();
  return text;
}

bool InstallTest::Reg(const char16_t* key, const char16_t* value, std::string* bytes, DWORD* type) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  DWORD t = 0, size = 0;
  LONG rc = RegQueryValueExW(h, value, nullptr, &t, nullptr, &size);
  std::string buffer(size, '\0');
  if (rc == ERROR_SUCCESS && size)
    rc = RegQueryValueExW(h, value, nullptr, &t, reinterpret_cast<LPBYTE>(&buffer[0]), &size);
  RegCloseKey(h);
  if (rc != ERROR_SUCCESS) return false;
  if (bytes) *bytes = buffer;
  if (type) *type = t;
  return true;
}

void InstallTest::SetReg(const char16_t* key, const char16_t* value, DWORD type, const void* data, DWORD size) {
  HKEY h = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(h, value, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  RegCloseKey(h);
}

std::u16string InstallTest::RegText(const char16_t* key, const char16_t* value) {
  std::string bytes;
  if (!Reg(key, value, &bytes)) return u"<absent>";
  std::u16string text(bytes.size() / 2, u'\0');
  memcpy(&text[0], bytes.data(), text.size() * 2);
  while (!text.empty() && text.back() == 0) text.pop_back();
  return text;
}

std::u16string InstallTest::ItemText(WORD id) {
  WCHAR buffer[512] = {};
  ItemGetTextBounded(ctx_, ItemFind(ctx_, id), buffer, 512);
  return buffer;
}

LONG_PTR InstallTest::Raw(WORD id) { return ItemGetRawById(ctx_, id); }

void SamplePrinterTest::SetUp() {
  MachineTest::SetUp();
  ResetTestVariant();
  CtxCacheInit();
  ModelFreeImageCache();
  ASSERT_EQ(RunHost("machine install --model '" + SampleModel() + "'", install_), 0) << install_;
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(u"ZEMS Printer"), &printer_, nullptr)) << install_;
}

void SamplePrinterTest::TearDown() {
  CtxCacheExpire(TRUE);
  if (printer_) ClosePrinter(printer_);
  MachineTest::TearDown();
}

std::string SamplePrinterTest::SampleModel() { return SourceDir() + "/samples/models/zems_c4.zmd"; }

std::u16string SamplePrinterTest::Ini(const std::u16string& file, const char16_t* section, const char16_t* key) {
  WCHAR buffer[512];
  GetPrivateProfileStringW(section, key, u"<absent>", buffer, 512, file.c_str());
  return buffer;
}

std::string SamplePrinterTest::Host(const std::string& arguments) {
  std::string out;
  RunHost(arguments, out);
  return out;
}

}  // namespace zems_test
