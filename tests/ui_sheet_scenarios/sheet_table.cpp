// Reading the sheet scenario tables.
#include "ui_sheet_scenarios/sheet_table.h"

#include <cctype>
#include <cstdlib>

#include "core/tables/value_symbols.h"

namespace sheet_table {

std::vector<Case> Read(const std::string& folder) {
  return zems_test::ReadScenarioTables(folder, [](const std::vector<std::string>& words) -> size_t {
    if (words[0] == "type") return 2;
    return words.size() > 1 && words[1] == "text" ? 3 : 0;
  });
}

short* DevmodeField(DEVMODEW* devmode, const std::string& name, DWORD* bit) {
  short* field = nullptr;
  DWORD flag = 0;
  if (name == "paper") {
    field = &devmode->dmPaperSize;
    flag = DM_PAPERSIZE;
  } else if (name == "duplex") {
    field = &devmode->dmDuplex;
    flag = DM_DUPLEX;
  } else if (name == "copies") {
    field = &devmode->dmCopies;
    flag = DM_COPIES;
  } else if (name == "orientation") {
    field = &devmode->dmOrientation;
    flag = DM_ORIENTATION;
  }
  if (bit) *bit = flag;
  return field;
}

long DevmodeValue(const std::string& word) {
  if (const ValueSymbol* symbol = TblFindValueSymbolByName(word.c_str())) return static_cast<long>(symbol->stored);
  return std::stol(word, nullptr, 0);
}

bool HasDevmodeFields(const Step& sheet) { return sheet.words.size() > 2; }

std::string SetDevmodeFields(const Step& sheet, DEVMODEW* devmode) {
  for (size_t i = 2; i < sheet.words.size(); ++i) {
    const std::string& word = sheet.words[i];
    const size_t equals = word.find('=');
    DWORD bit = 0;
    short* field = equals == std::string::npos ? nullptr : DevmodeField(devmode, word.substr(0, equals), &bit);
    if (!field || equals + 1 == word.size()) return word;
    *field = static_cast<short>(DevmodeValue(word.substr(equals + 1)));
    devmode->dmFields |= bit;
  }
  return "";
}

std::string CaseName(const Case& c, size_t index) {
  std::string name = c.table + "_" + std::to_string(index);
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
}

bool PrinterDataOf(const Step& step, std::basic_string<WCHAR>* name, DWORD* value) {
  if (step.words.size() != 2 || step.words[0] != "printer-data") return false;
  const std::string& pair = step.words[1];
  const size_t equals = pair.find('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == pair.size()) return false;
  char* end = nullptr;
  const unsigned long number = strtoul(pair.c_str() + equals + 1, &end, 0);
  if (*end) return false;
  name->assign(pair.begin(), pair.begin() + static_cast<long>(equals));
  *value = static_cast<DWORD>(number);
  return true;
}

}  // namespace sheet_table
