#include "tools/model_gen.h"

#include <stdio.h>

#include <set>
#include <vector>

#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"

namespace {

std::vector<const SymbolEntry*> Items(int count) {
  std::vector<const SymbolEntry*> items;
  for (int i = 0; i < TblSymbolCount() && static_cast<int>(items.size()) < count; ++i) {
    const SymbolEntry* s = TblSymbolAt(i);
    if (s && s->itemId && s->symbolId && s->name) items.push_back(s);
  }
  return items;
}

// Value names with distinct value ids, so every value of a list is kept.
std::vector<const ValueSymbol*> Values() {
  std::vector<const ValueSymbol*> values;
  std::set<unsigned> seen;
  for (int table = 0; table < 2; ++table) {
    for (int i = 0; i < TblValueSymbolCount(table); ++i) {
      const ValueSymbol* v = TblValueSymbolAt(table, i);
      if (v && v->name && v->logical && seen.insert(v->logical).second) values.push_back(v);
    }
  }
  return values;
}

}  // namespace

std::string GenerateModelDescription(const ModelGenShape& shape) {
  std::vector<const SymbolEntry*> items = Items(shape.items);
  std::vector<const ValueSymbol*> values = Values();
  std::string out = "*FileVersion: 9.99\n";
  char line[512];
  if (items.empty() || values.empty()) return out;
  auto value = [&](int item, int v) { return values[(item * 7 + v) % values.size()]->name; };
  int n = static_cast<int>(items.size());
  for (int i = 0; i < n; ++i) {
    const char* name = items[i]->name;
    snprintf(line, sizeof(line), "*OpenUI *%s: PickOne\n*OptionCommand: {\"@PJL SET O%d=\" \"<0A>\"}\n", name, i);
    out += line;
    snprintf(line, sizeof(line), "*%s: IDList {", name);
    out += line;
    for (int v = 0; v < shape.values; ++v) {
      snprintf(line, sizeof(line), " {%s \"%d\"}", value(i, v), v);
      out += line;
    }
    out += " }\n";
    snprintf(line, sizeof(line), "*Default%s: %s\n*CloseUI\n", name, value(i, 0));
    out += line;
  }
  int judges = shape.rules / 2 > 0 ? shape.rules / 2 : 1;
  int rest = shape.rules - judges;
  int valueRules = rest / 2, actions = rest / 4, transacts = rest - valueRules - actions;
  for (int j = 1; j <= judges; ++j) {
    int a = j % n, b = (j * 3 + 1) % n;
    // Every other judge joins two comparisons.
    if (j % 2)
      snprintf(line, sizeof(line), "*Judge %d=J%d: %s == %s\n", j, j, items[a]->name, value(a, j % shape.values));
    else
      snprintf(line, sizeof(line), "*Judge %d=J%d: (%s == %s) || J%d\n", j, j, items[b]->name,
               value(b, 1 % shape.values), j - 1);
    out += line;
  }
  for (int r = 1; r <= valueRules; ++r) {
    int i = r % n;
    snprintf(line, sizeof(line), "*Item %d=V%d: { %s J%d NULL NULL %s NULL J%d NULL }\n", r, r, value(i, 1 % shape.values),
             1 + r % judges, value(i, 2 % shape.values), 1 + (r * 5) % judges);
    out += line;
  }
  for (int a = 1; a <= actions; ++a) {
    int i = a % n;
    snprintf(line, sizeof(line), "*Action %d=A%d: { %s %s }\n", a, a, items[i]->name, value(i, 0));
    out += line;
  }
  for (int t = 1; t <= transacts; ++t) {
    snprintf(line, sizeof(line), "*Transact %d=T%d: { J%d A%d NULL A%d }\n", t, t, 1 + t % judges,
             1 + t % (actions ? actions : 1), 1 + (t * 3) % (actions ? actions : 1));
    out += line;
  }
  out += "*Exclusive: {\n";
  for (int i = 0; i < n; ++i) {
    snprintf(line, sizeof(line), "   %s J%d NULL V%d NULL T%d NULL NULL\n", items[i]->name, 1 + i % judges,
             1 + i % (valueRules ? valueRules : 1), 1 + i % (transacts ? transacts : 1));
    out += line;
  }
  out += "}\n*CommandGroup: JobStart {\n";
  for (int i = 0; i < n; ++i) {
    snprintf(line, sizeof(line), "   Type : GroupType %s\n", items[i]->name);
    out += line;
  }
  out += "}\n";
  return out;
}
