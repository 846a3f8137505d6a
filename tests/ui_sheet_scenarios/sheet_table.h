// The sheet scenario tables (tests/ui_sheet_scenarios/*.scn): read once, run on the machine's
// fake by sheet_scenarios_test.cpp and on Windows' own windows under Wine by tests/driver_wine.
#pragma once
#include <string>
#include <vector>

#include "platform/win32.h"
#include "support/scenario_tables.h"

namespace sheet_table {

// The text of "type CONTROL TEXT" and "expect text CONTROL TEXT" is a step's rest.
using Step = zems_test::TableStep;
using Case = zems_test::TableCase;

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
