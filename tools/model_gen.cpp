#include "tools/model_gen.h"

#include <stdio.h>

#include <set>
#include <vector>

#include "core/items/item_table.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"

namespace {

bool PlainItem(WORD id) {
  if ((id >= 723 && id <= 914) || (id >= 1260 && id <= 1451)) return false;
  const ItemTemplateRow* row = TblItemTemplateRow(id);
  if (!row) return false;
  UINT type = ItemDescType(row->descriptor);
  return !ItemTypeIsText(type) && !ItemTypeIsBit(type);
}

std::vector<const SymbolEntry*> Items(int count, bool plainOnly = false) {
  std::vector<const SymbolEntry*> items;
  for (int i = 0; i < TblSymbolCount() && static_cast<int>(items.size()) < count; ++i) {
    const SymbolEntry* s = TblSymbolAt(i);
    if (s && s->itemId && s->symbolId && s->name && (!plainOnly || PlainItem(s->itemId))) items.push_back(s);
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

// The items' OpenUI blocks: each a PickOne list of perItem values with its option command.
std::string ItemBlocks(const std::vector<const SymbolEntry*>& items, const std::vector<const ValueSymbol*>& values,
                       int perItem) {
  std::string out;
  char line[512];
  for (size_t i = 0; i < items.size(); ++i) {
    const char* name = items[i]->name;
    snprintf(line, sizeof(line), "*OpenUI *%s: PickOne\n*OptionCommand: {\"@PJL SET O%zu=\" \"<0A>\"}\n", name, i);
    out += line;
    snprintf(line, sizeof(line), "*%s: IDList {", name);
    out += line;
    for (int v = 0; v < perItem; ++v) {
      snprintf(line, sizeof(line), " {%s \"%d\"}", values[(i * 7 + v) % values.size()]->name, v);
      out += line;
    }
    out += " }\n";
    snprintf(line, sizeof(line), "*Default%s: %s\n*CloseUI\n", name, values[(i * 7) % values.size()]->name);
    out += line;
  }
  return out;
}

// Eight rules per item k (items i and its neighbour j): judges Ja (i is its value 1), Jb (j is
// its value 2, or Ja) and Jc (i is not its value 0); value rules V for i's values 1 and 2; the
// action A that sets j back to its value 0; the transact T (Ja: A); the alert AL (Jc) whose
// cancel answer runs T; and i's Exclusive entry with all of them.
std::string SameRulesPerItem(const ModelGenShape& shape) {
  std::vector<const ValueSymbol*> values = Values();
  std::vector<const SymbolEntry*> items = Items(shape.rules / 8, true);
  std::string out = "*FileVersion: 9.99\n";
  if (items.empty() || values.empty()) return out;
  const int perItem = shape.values < 3 ? 3 : shape.values;
  out += ItemBlocks(items, values, perItem);
  auto value = [&](size_t item, int v) { return values[(item * 7 + v) % values.size()]->name; };
  const size_t n = items.size();
  char line[2048];
  std::string exclusive = "*Exclusive: {\n";
  for (size_t i = 0; i < n; ++i) {
    const size_t j = (i + 1) % n, k = i + 1;
    const char* a = items[i]->name;
    const char* b = items[j]->name;
    snprintf(line, sizeof(line),
             "*Judge %zu=Ja%zu: %s == %s\n*Judge %zu=Jb%zu: (%s == %s) || Ja%zu\n*Judge %zu=Jc%zu: %s != %s\n"
             "*Item %zu=V%zu: { %s Jb%zu NULL Jc%zu %s NULL Ja%zu NULL }\n*Action %zu=A%zu: { %s %s }\n"
             "*Transact %zu=T%zu: { Ja%zu A%zu }\n"
             "*AlertAction %zu=AA%zu: { IDOKBUTTON NULL NULL NULL IDCANCELBUTTON T%zu NULL NULL }\n"
             "*Alert %zu=AL%zu: { Jc%zu TOV_DuplexOnMessage MB_ICONEXCLAMATION MB_OKCANCEL AlertAtOnce AA%zu }\n",
             3 * k - 2, k, a, value(i, 1), 3 * k - 1, k, b, value(j, 2), k, 3 * k, k, a, value(i, 0), k, k,
             value(i, 1), k, k, value(i, 2), k, k, k, b, value(j, 0), k, k, k, k, k, k, k, k, k, k, k);
    out += line;
    snprintf(line, sizeof(line), "   %s Jb%zu NULL V%zu AL%zu T%zu NULL Jc%zu\n", a, k, k, k, k, k);
    exclusive += line;
  }
  out += exclusive + "}\n";
  return out;
}

}  // namespace

std::string GenerateModelDescription(const ModelGenShape& shape) {
  if (shape.sameRulesPerItem) return SameRulesPerItem(shape);
  std::vector<const SymbolEntry*> items = Items(shape.items);
  std::vector<const ValueSymbol*> values = Values();
  std::string out = "*FileVersion: 9.99\n";
  char line[512];
  if (items.empty() || values.empty()) return out;
  auto value = [&](int item, int v) { return values[(item * 7 + v) % values.size()]->name; };
  int n = static_cast<int>(items.size());
  out += ItemBlocks(items, values, shape.values);
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

std::vector<ModelGenItem> GenerateModelItems(const ModelGenShape& shape) {
  std::vector<const SymbolEntry*> items =
      shape.sameRulesPerItem ? Items(shape.rules / 8, true) : Items(shape.items);
  std::vector<const ValueSymbol*> values = Values();
  std::vector<ModelGenItem> out;
  if (items.empty() || values.empty()) return out;
  const int perItem = shape.sameRulesPerItem && shape.values < 3 ? 3 : shape.values;
  for (size_t i = 0; i < items.size(); ++i) {
    ModelGenItem item = {items[i]->name, {}};
    for (int v = 0; v < perItem; ++v) item.values.push_back(values[(i * 7 + v) % values.size()]->name);
    out.push_back(item);
  }
  return out;
}
