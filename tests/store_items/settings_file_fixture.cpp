#include "store_items/settings_file_fixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "core/items/item_access.h"
#include "core/system/languages.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/model_record.h"
#include "platform/sim.h"

namespace zems_test {

void SettingsFileTest::SetUp() {
  StoreTest::SetUp();
  // The message texts come from the language DLL in the driver folder.
  std::error_code ec;
  std::filesystem::copy_file(BinDir() + "/zemsresus.dll", DriverFolderHost() + "/zemsresus.dll",
                             std::filesystem::copy_options::overwrite_existing, ec);
  ASSERT_FALSE(ec) << ec.message();
  ItemSetRawById(ctx(), 169, ResLangIndexFromCode(u"us"));
  SimUiReset();
}

void SettingsFileTest::TearDown() {
  SimUiReset();
  ResetTestVariant();
  StoreTest::TearDown();
}

std::u16string SettingsFileTest::FilePath(const char16_t* name) {
  WCHAR buffer[260];
  EXPECT_TRUE(PathInSettingsFolder(buffer, 260, name, ctx()));
  return buffer;
}

std::string SettingsFileTest::ReadBytes(const std::u16string& path) {
  std::ifstream in(SimHostPath(path.c_str()), std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void SettingsFileTest::WriteBytes(const std::u16string& path, const std::string& bytes) {
  std::ofstream out(SimHostPath(path.c_str()), std::ios::binary | std::ios::trunc);
  out << bytes;
}

namespace {
std::string Lower(std::string s) {
  for (char& c : s) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}
}  // namespace

std::vector<std::string> SettingsFileTest::Keys(const std::u16string& path, const std::string& section) {
  std::vector<std::string> keys;
  std::istringstream in(ReadBytes(path));
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inside = Lower(line) == "[" + Lower(section) + "]";
      continue;
    }
    if (!inside) continue;
    size_t eq = line.find('=');
    if (eq != std::string::npos) keys.push_back(line.substr(0, eq));
  }
  return keys;
}

std::map<std::string, std::string> SettingsFileTest::Section(const std::u16string& path, const std::string& section) {
  std::map<std::string, std::string> values;
  std::istringstream in(ReadBytes(path));
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inside = Lower(line) == "[" + Lower(section) + "]";
      continue;
    }
    size_t eq = line.find('=');
    if (inside && eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return values;
}

bool SettingsFileTest::HasSection(const std::u16string& path, const std::string& section) {
  std::istringstream in(ReadBytes(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Lower(line) == "[" + Lower(section) + "]") return true;
  }
  return false;
}

std::string SettingsFileTest::HeaderLines(DriverContext* c) {
  const ModelRecord* record = CtxModelRecord(c);
  return "RstVersion=" + std::to_string(record->layoutVersion2) + "\r\nRstMachine=" +
         std::to_string(record->modelCode) + "\r\nRstLanguage=" + std::to_string(ItemGetRawById(c, 169)) +
         "\r\nRstOSKind=" + std::to_string(ItemGetRawById(c, 707)) + "\r\n";
}

int SettingsFileTest::MessageBoxCount() {
  int n = 0;
  for (DWORD i = 0; i < SimUiCallCount(); ++i) {
    SimUiCall call;
    if (SimUiGetCall(i, &call) && call.kind == kSimUiMessageBox) ++n;
  }
  return n;
}

std::u16string SettingsFileTest::MessageBoxText(int index) {
  int n = 0;
  for (DWORD i = 0; i < SimUiCallCount(); ++i) {
    SimUiCall call;
    if (SimUiGetCall(i, &call) && call.kind == kSimUiMessageBox && n++ == index) return call.text;
  }
  return u"";
}

std::string SettingsFileTest::Narrow(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += char(c);
  return out;
}

std::string SettingsFileTest::PrinterName() { return Narrow(PrnGetPrinterName(ctx())); }
std::string SettingsFileTest::DriverName() { return Narrow(PrnGetDriverName(ctx())); }

LONG_PTR SettingsFileTest::Raw(WORD id) { return ItemGetRawById(ctx(), id); }
void SettingsFileTest::SetRaw(WORD id, LONG_PTR value) { ASSERT_TRUE(ItemSetRawById(ctx(), id, value)) << id; }

}  // namespace zems_test
