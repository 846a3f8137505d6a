// The sheet scenario tables (tests/ui_sheet_scenarios/*.scn): read once, run on the machine's
// fake by sheet_scenarios_test.cpp and on Windows' own windows under Wine by tests/driver_wine.
#pragma once
#include <string>
#include <vector>

namespace sheet_table {

struct Step {
  int line;
  std::vector<std::string> words;
  std::string rest;  // the text of "type CONTROL TEXT" and "expect text CONTROL TEXT"
};

struct Case {
  std::string table;  // the file's name without ".scn"
  std::string name;
  std::vector<Step> steps;
};

// Every case of every table in `folder`, tables in name order, cases in file order.
std::vector<Case> Read(const std::string& folder);

// A case's gtest name: its table and index, letters and digits only.
std::string CaseName(const Case& c, size_t index);

}  // namespace sheet_table
