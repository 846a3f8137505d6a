// The scenario tables of the UI tests (*.scn): one step a line, '#' starts a comment, "case
// NAME" starts a case. Each table kind says how many words precede a step's free text.
#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace zems_test {

struct TableStep {
  int line = 0;
  std::vector<std::string> words;
  std::string rest;  // the free text after the step's leading words, or empty
};

struct TableCase {
  std::string table;  // the file's name without ".scn"
  std::string name;
  std::vector<TableStep> steps;
};

// A case as a failing test names it.
inline void PrintTo(const TableCase& c, std::ostream* out) { *out << c.table << ".scn: " << c.name; }

// How many words of a step come before its free text; 0 when the step has none.
typedef size_t (*WordsBeforeText)(const std::vector<std::string>& words);

// Every case of every table in `folder`, tables in name order, cases in file order.
std::vector<TableCase> ReadScenarioTables(const std::string& folder, WordsBeforeText wordsBeforeText);

}  // namespace zems_test
