#include "store_items/store_fixture.h"

#include <fstream>
#include <iterator>

#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "platform/sim.h"

namespace zems_test {

void StoreTest::SetUp() {
  ContextTest::SetUp();
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);
  // The settings folder exists once the printer is installed; make it for this machine.
  std::u16string path = PathSettingsFile(ctx_);
  ASSERT_GT(path.size(), 3u);
  for (size_t i = 3; i < path.size(); ++i)
    if (path[i] == u'\\') CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
}

void StoreTest::TearDown() {
  SimSetDiskFull(-1);
  if (ctx_) CtxRelease(ctx_, kReleaseExpired);
  ContextTest::TearDown();
}

SettingItem* StoreTest::Row(WORD id) {
  SettingItem* row = ItemFind(ctx_, id);
  EXPECT_NE(row, nullptr) << id;
  return row;
}

BYTE* StoreTest::Value(WORD id) { return ItemStoragePtr(ctx_, Row(id)); }

bool StoreTest::Data(const char16_t* name, std::string* bytes, DWORD* type) {
  return ReadPrinterData(office_, name, bytes, type);
}

void StoreTest::SetData(const char16_t* name, const std::string& bytes, DWORD type) {
  ASSERT_EQ(SetPrinterDataW(office_, Text(name), type, (LPBYTE)bytes.data(), DWORD(bytes.size())), DWORD(ERROR_SUCCESS));
}

void StoreTest::DeleteData(const char16_t* name) { DeletePrinterDataW(office_, Text(name)); }

std::vector<std::u16string> StoreTest::DataNames() {
  std::vector<std::u16string> names;
  for (DWORD i = 0;; ++i) {
    WCHAR name[256];
    BYTE data[4096];
    DWORD nameBytes = 0, type = 0, dataBytes = 0;
    if (EnumPrinterDataW(office_, i, name, sizeof name, &nameBytes, &type, data, sizeof data, &dataBytes) !=
        ERROR_SUCCESS)
      break;
    names.push_back(name);
  }
  return names;
}

void StoreTest::DeleteAllData() {
  for (const std::u16string& name : DataNames()) DeleteData(name.c_str());
}

std::u16string StoreTest::Ini(const char16_t* key) {
  WCHAR buffer[1024];
  GetPrivateProfileStringW(PrnGetPrinterName(ctx_), key, u"<absent>", buffer, 1024, PathSettingsFile(ctx_));
  return buffer;
}

void StoreTest::SetIni(const char16_t* key, const char16_t* value) {
  WritePrivateProfileStringW(PrnGetPrinterName(ctx_), key, value, PathSettingsFile(ctx_));
}

std::string StoreTest::SettingsIniBytes() {
  std::ifstream in(SimHostPath(PathSettingsFile(ctx_)), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace zems_test
