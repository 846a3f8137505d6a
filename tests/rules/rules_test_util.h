// Helpers of the rules tests: parsing text, cells as text, item names written as A and B.
#pragma once
#include <string>

#include "core/model/model_parser.h"
#include "core/rules/model_rules.h"

namespace rules_test {

struct Parse {
  ModelParseState* state;
  explicit Parse(const std::string& text)
      : state(ModelParseMemory(text.data(), static_cast<DWORD>(text.size()), 1252)) {}
  ~Parse() { ModelFreeParseState(state); }
  Parse(const Parse&) = delete;
  Parse& operator=(const Parse&) = delete;
  ModelParseState* operator->() const { return state; }
};

// Cells up to the end cell: "A" and "B" for the items TOV_dmColor and TOV_dmCopies, "i<id>"
// for other items, constants as numbers, operators as written, "?<code>" for unknown ones,
// ")" for a group end and "end".
std::string Cells(const JudgeCell* cells);

// The text with the words A and B replaced by TOV_dmColor and TOV_dmCopies.
std::string Named(const std::string& text);

// Item id of a symbol name.
WORD ItemId(const char* name);
WORD SymbolId(const char* name);
WORD Value(const char* name);

// Contents of tests/fixtures/model/<name>.
std::string Fixture(const std::string& name);

}  // namespace rules_test
