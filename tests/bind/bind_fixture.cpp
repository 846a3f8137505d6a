#include "bind_fixture.h"

#include <filesystem>
#include <fstream>

#include <strings.h>

#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

namespace zems_test {

namespace {
std::string StandInPath(const std::string& name) { return std::string(SimMachineRoot()) + "/stand-ins/" + name; }
}  // namespace

void RemoveStandIn(const char* windowsName) {
  std::string table = std::string(SimMachineRoot()) + "/modules/table.txt";
  std::ifstream in(table);
  std::string line, kept;
  const std::string prefix = std::string(windowsName) + "\t";
  while (std::getline(in, line))
    if (strncasecmp(line.c_str(), prefix.c_str(), prefix.size()) != 0) kept += line + "\n";
  in.close();
  std::ofstream(table, std::ios::trunc) << kept;
  // The machine's names match without case: remove the file whatever its spelling.
  std::error_code ec;
  std::filesystem::path system = HostPath("C:\\WINDOWS\\system32");
  for (const auto& entry : std::filesystem::directory_iterator(system, ec))
    if (strcasecmp(entry.path().filename().c_str(), windowsName) == 0) std::filesystem::remove(entry.path(), ec);
}

void WriteScript(const std::string& name, const std::string& contents) {
  std::error_code ec;
  std::filesystem::create_directories(std::string(SimMachineRoot()) + "/stand-ins", ec);
  std::ofstream(StandInPath(name), std::ios::binary | std::ios::trunc) << contents;
}

std::vector<std::string> ScriptLines(const std::string& name) {
  std::vector<std::string> lines;
  std::ifstream in(StandInPath(name));
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::vector<std::string> LogLinesStarting(const std::string& log, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& line : ScriptLines(log))
    if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
  return out;
}

std::string HexText(const std::u16string& text, bool terminated) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  auto put = [&](unsigned byte) {
    out += digits[byte >> 4];
    out += digits[byte & 15];
  };
  for (char16_t c : text) {
    put(c & 0xFF);
    put(c >> 8);
  }
  if (terminated) out += "0000";
  return out;
}

void BindTest::SetUp() {
  ItemContextTest::SetUp();
  SetPrinterName(u"Office");
  Ui()->onServer = 2;  // local
}

void BindTest::TearDown() {
  JcCloseSession(ctx());
  JcUnloadInterface(&Block(), ctx());
  ItemContextTest::TearDown();
}

void BindTest::SetPrinterName(const std::u16string& name) {
  ASSERT_LT(name.size(), size_t(kPrinterNameChars));
  std::copy(name.begin(), name.end(), Ui()->printerName);
  Ui()->printerName[name.size()] = 0;
}

std::u16string BindTest::TextOf(WORD id) {
  WCHAR buffer[512] = {};
  ItemGetTextBounded(ctx(), Item(id), buffer, 512);
  return std::u16string(buffer);
}

void BindTest::SetTextOf(WORD id, const std::u16string& text) { ItemSetText(ctx(), Item(id), text.c_str()); }

void BindTest::StoreValue(DWORD property, const std::string& hex) {
  std::vector<std::string> lines = ScriptLines("orvjc32.store");
  std::string all;
  for (const std::string& l : lines) all += l + "\n";
  all += "Office\t" + std::to_string(property) + "\t" + hex + "\n";
  WriteScript("orvjc32.store", all);
}

}  // namespace zems_test
