#include "api_e2e/api_items_fixture.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/system/settings_folders.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Hex(const std::string& text) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    out += digits[b >> 4];
    out += digits[b & 15];
    out += "00";
  }
  return out;
}

}  // namespace

void ApiItemsTest::SetUp() { ApiE2eTest::SetUp(); }

// The settings folder of the printer, made when the install left it out (the items write the
// printer's settings file).
static void MakeSettingsFolder() {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(TEXT("Api")), &printer, nullptr)) return;
  WCHAR path[MAX_PATH] = {};
  PathSettingsFileOf(path, MAX_PATH, 0, printer);
  ClosePrinter(printer);
  char narrow[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, MAX_PATH, nullptr, nullptr);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(HostPath(narrow)).parent_path(), ec);
}

void ApiItemsTest::Start(const std::vector<std::string>& options) {
  InstallPrinter();
  MakeSettingsFolder();
  for (const std::string& option : options)
    ASSERT_EQ(0, RunHost("machine data set Api " + option + " --type dword 1"));
  Level(16);
  ASSERT_NE(nullptr, EnableApi());
}

void ApiItemsTest::StartWithFixture(const std::string& opens, const std::string& fixture,
                                    const std::vector<std::pair<std::string, std::string>>& edits) {
  std::string model = ReadAll(SourceDir() + "/samples/models/zems_c4.zmd");
  const size_t at = model.find(opens);
  ASSERT_NE(std::string::npos, at) << opens;
  const size_t end = model.find("*CloseUI\n", at);
  ASSERT_NE(std::string::npos, end);
  model.replace(at, end + 9 - at, ReadAll(SourceDir() + "/tests/fixtures/api/" + fixture));
  for (const auto& edit : edits) {
    const size_t e = model.find(edit.first);
    ASSERT_NE(std::string::npos, e) << edit.first;
    model.replace(e, edit.first.size(), edit.second);
  }
  const std::string path = Root() + "/fixture_model.zmd";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << model;
  ASSERT_EQ(0, RunHostKept("machine install --model " + path + " --printer Api --extra " + SourceDir() +
                       "/samples/driver/OV1BD172.ini"));
  LoadDll();
  MakeSettingsFolder();
  Level(16);
  ASSERT_NE(nullptr, EnableApi());
}

LONG ApiItemsTest::SetSimple(DWORD id, LONG value, LONG value2, LONG value3, DWORD sw) {
  SimpleRecord r = {1, value, value2, value3, 0, {}, sw};
  return api_.setStatus(handle_, id, &r, nullptr, 0);
}

SimpleRecord ApiItemsTest::GetSimple(DWORD id) {
  SimpleRecord r = {};
  EXPECT_EQ(32, api_.getStatus(handle_, id, &r, 1)) << "item " << id << " error " << Error();
  return r;
}

std::vector<BYTE> ApiItemsTest::Devmode() {
  std::vector<BYTE> dm(1236);
  EXPECT_EQ(1236, api_.getDevmode(handle_, 4, dm.data()));
  return dm;
}

std::vector<std::string> ApiItemsTest::StoreLines() {
  std::vector<std::string> lines;
  std::ifstream in(std::string(SimMachineRoot()) + "/stand-ins/orvjc32.store");
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

bool ApiItemsTest::StoreHolds(const std::string& text) {
  const std::string hex = Hex(text);
  for (const std::string& line : StoreLines()) {
    const size_t tab = line.rfind('\t');
    if (line.rfind("Api\t", 0) == 0 && tab != std::string::npos && line.compare(tab + 1, hex.size(), hex) == 0)
      return true;
  }
  return false;
}

std::map<std::string, std::string> ApiItemsTest::StoreTexts() {
  std::map<std::string, std::string> texts;
  for (const std::string& line : StoreLines()) {
    const size_t a = line.find('\t'), b = line.rfind('\t');
    if (line.rfind("Api\t", 0) != 0 || a == b) continue;
    std::string hex = line.substr(b + 1);
    while (hex.size() >= 2 && hex.compare(hex.size() - 2, 2, "00") == 0) hex.resize(hex.size() - 2);
    if (!hex.empty()) texts[line.substr(a + 1, b - a - 1)] = hex;
  }
  return texts;
}

std::vector<BYTE> ApiItemsTest::PrinterData(const char16_t* name) {
  HANDLE printer = nullptr;
  std::vector<BYTE> bytes;
  if (!OpenPrinterW(const_cast<LPWSTR>(TEXT("Api")), &printer, nullptr)) return bytes;
  DWORD type = 0, needed = 0;
  GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, nullptr, 0, &needed);
  if (needed) {
    bytes.resize(needed);
    if (GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, bytes.data(), needed, &needed) != ERROR_SUCCESS)
      bytes.clear();
  }
  ClosePrinter(printer);
  return bytes;
}

namespace {
std::string SettingsIniHostPath() {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(TEXT("Api")), &printer, nullptr)) return "";
  WCHAR path[MAX_PATH] = {};
  PathSettingsFileOf(path, MAX_PATH, 0, printer);
  ClosePrinter(printer);
  char narrow[MAX_PATH] = {};
  WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, MAX_PATH, nullptr, nullptr);
  return HostPath(narrow);
}
}  // namespace

std::string ApiItemsTest::SettingsIni() { return ReadAll(SettingsIniHostPath()); }

void ApiItemsTest::AppendToSettingsIni(const std::string& text) {
  std::ofstream(SettingsIniHostPath(), std::ios::binary | std::ios::app) << text;
}

}  // namespace zems_test
