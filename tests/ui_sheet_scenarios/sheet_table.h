// The sheet scenario tables (tests/ui_sheet_scenarios/*.scn): read once, run on the machine's
// fake by sheet_scenarios_test.cpp and on Windows' own windows under Wine by tests/driver_wine.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace sheet_table {

struct Step {
  int line = 0;
  std::vector<std::string> words;
  std::string rest;  // the text of "type CONTROL TEXT" and "expect text CONTROL TEXT"
};

struct Case {
  std::string table;  // the file's name without ".scn"
  std::string name;
  std::vector<Step> steps;
};

// A case as a failing test names it.
inline void PrintTo(const Case& c, std::ostream* out) { *out << c.table << ".scn: " << c.name; }

// Every case of every table in `folder`, tables in name order, cases in file order.
std::vector<Case> Read(const std::string& folder);

// The public DEVMODE field a table names (paper, duplex, copies, orientation) and its dmFields
// bit; null for another name.
short* DevmodeField(DEVMODEW* devmode, const std::string& name, DWORD* bit = nullptr);
// A field's value in a table: a value symbol's stored value, else a number.
long DevmodeValue(const std::string& word);
// The FIELD=VALUE words of a "sheet" step set into a DEVMODE (with their dmFields bits); the
// first word that is not one is returned, empty when all were.
std::string SetDevmodeFields(const Step& sheet, DEVMODEW* devmode);
// Whether a "sheet" step asks for an input DEVMODE.
bool HasDevmodeFields(const Step& sheet);

// A "printer-data NAME=NUMBER" step (before the sheets of a case): the printer data value the
// driver reads, as a DWORD. False when the step does not have that form.
bool PrinterDataOf(const Step& step, std::basic_string<WCHAR>* name, DWORD* value);

// A case's gtest name: its table and index, letters and digits only.
std::string CaseName(const Case& c, size_t index);

}  // namespace sheet_table
