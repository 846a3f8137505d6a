#include "rules_test_util.h"

#include <ctype.h>

#include <fstream>
#include <sstream>

#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "support/machine_fixture.h"

namespace rules_test {

WORD ItemId(const char* name) {
  const SymbolEntry* s = TblFindSymbolByName(name);
  return s ? s->itemId : 0;
}

WORD SymbolId(const char* name) {
  const SymbolEntry* s = TblFindSymbolByName(name);
  return s ? s->symbolId : 0;
}

WORD Value(const char* name) {
  const ValueSymbol* v = TblFindValueSymbolByName(name);
  return v ? v->logical : 0;
}

std::string Cells(const JudgeCell* cells) {
  static const char* const kOps[] = {"?0", "==", "!=", "&&", "||", "!", ">", "<", ">=", "<=", "end"};
  std::string out;
  for (int i = 0; cells && i < 100000; ++i) {
    const JudgeCell& c = cells[i];
    if (!out.empty()) out += ' ';
    if (c.kind == kJudgeItem) {
      out += c.value == ItemId("TOV_dmColor") ? "A" : c.value == ItemId("TOV_dmCopies") ? "B" : "i" + std::to_string(c.value);
    } else if (c.kind == kJudgeConstant) {
      out += std::to_string(c.value);
    } else if (c.kind == kJudgeOperator) {
      out += c.value <= 10 ? kOps[c.value] : "?" + std::to_string(c.value);
      if (c.value == kJudgeOpEnd) break;
    } else if (c.kind == kJudgeGroupEnd) {
      out += ")";
    } else {
      out += "kind" + std::to_string(c.kind);
      break;
    }
  }
  return out;
}

std::string Named(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_') {
      size_t j = i;
      while (j < text.size() && (isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_')) ++j;
      std::string word = text.substr(i, j - i);
      out += word == "A" ? "TOV_dmColor" : word == "B" ? "TOV_dmCopies" : word;
      i = j;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string Fixture(const std::string& name) {
  std::ifstream in(zems_test::SourceDir() + "/tests/fixtures/model/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace rules_test
