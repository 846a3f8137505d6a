// Generator of model descriptions for the benchmarks: items of the symbol table with values of
// the value-symbol tables, their commands, and rules (judges, per-value rules, actions,
// transacts and one Exclusive statement) over them. The same shape serves every benchmark
// that needs a model of a given size.
#pragma once
#include <string>
#include <vector>

struct ModelGenShape {
  int items;   // PickOne items, each with its option command
  int values;  // values per item
  int rules;   // rule statements: half judges, then per-value rules, actions and transacts
  // Nonzero: the same eight rules for every item instead (rules / 8 items, each with three
  // judges, value rules, an action, a transact, an alert and its answers), each reading only
  // the item and its neighbour, so a change costs the same whatever the model's size. Items
  // are list-valued plain settings (no text, bit or computed items).
  int sameRulesPerItem;
};

// The description text; deterministic for a shape. Items beyond what the symbol table holds
// are left out.
std::string GenerateModelDescription(const ModelGenShape& shape);

// The items of the description of a shape with their values' names, in the order the
// description declares them: what a description of another format must offer to be equal.
struct ModelGenItem {
  std::string name;
  std::vector<std::string> values;
};
std::vector<ModelGenItem> GenerateModelItems(const ModelGenShape& shape);
