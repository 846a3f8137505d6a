// The PJL variable table: its shape, its lookups and the condition lists its rows encode.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "core/tables/pjl_table.h"

namespace {

const PjlVariable* Row(const char* name) {
  const PjlSettingTable* t = TblGetPjlSettingTable();
  for (DWORD i = 0; i < t->count; ++i)
    if (std::strcmp(t->rows[i].name, name) == 0) return &t->rows[i];
  return nullptr;
}

const PjlValueList* Values(const PjlVariable* row) { return static_cast<const PjlValueList*>(row->values); }

// Condition lists as the readers take them: OR inside a clause, a term with flag 1 ends the
// clause, clauses joined by AND.
bool Holds(const ConditionTerm* term, const std::map<DWORD, LONG>& settings) {
  bool all = true, clause = false;
  for (; term; term = term->next) {
    auto it = settings.find(term->item);
    clause = clause || (it != settings.end() && it->second == term->value);
    if (term->flags == 1) {
      all = all && clause;
      clause = false;
    }
  }
  return all;
}

TEST(PjlTable, HasThirtyEightRowsWithUniqueNames) {
  const PjlSettingTable* t = TblGetPjlSettingTable();
  ASSERT_EQ(t->count, 38u);
  EXPECT_EQ(TblGetPjlSettingCount(), 38u);
  std::set<std::string> names;
  for (DWORD i = 0; i < t->count; ++i) {
    const PjlVariable& r = t->rows[i];
    EXPECT_TRUE(names.insert(r.name).second) << r.name;
    EXPECT_NE(r.setting, 0u) << r.name;
    EXPECT_EQ(r.variant, 0u) << r.name;
    EXPECT_EQ(r.dependencies, nullptr) << r.name;
    EXPECT_EQ(r.requirement, nullptr) << r.name;
    // A row takes its value from a list or from its option command, never both.
    EXPECT_NE((r.flags & kPjlFromList) != 0, (r.flags & kPjlByOptionCommand) != 0) << r.name;
    if (r.flags & kPjlFromList) {
      ASSERT_NE(r.values, nullptr) << r.name;
      EXPECT_EQ(TblGetPjlValueListLength(r.values), Values(&r)->count) << r.name;
      EXPECT_GT(Values(&r)->count, 0u) << r.name;
    }
  }
  EXPECT_STREQ(t->rows[0].name, "COLLATE");
  EXPECT_STREQ(t->rows[37].name, "BOOKLET");
}

TEST(PjlTable, ValueListLengthIsZeroForOtherAddresses) {
  static const PjlValueList stranger = {3, nullptr};
  EXPECT_EQ(TblGetPjlValueListLength(nullptr), 0u);
  EXPECT_EQ(TblGetPjlValueListLength(&stranger), 0u);
  // The scale variables' number record is no value list.
  EXPECT_EQ(TblGetPjlValueListLength(Row("PAPERSCALEH")->values), 0u);
  struct Case {
    const char* name;
    DWORD length;
  } cases[] = {{"COLLATE", 3}, {"OUTBIN", 7}, {"PAPER", 21}, {"NUP", 16}, {"BINDING", 9},
               {"MEDIATYPE", 8}, {"COLORSELECT", 1}, {"BOOKLET", 3}};
  for (const Case& c : cases) EXPECT_EQ(TblGetPjlValueListLength(Row(c.name)->values), c.length) << c.name;
}

TEST(PjlTable, RowsSharingAValueListShareIt) {
  EXPECT_EQ(Row("TRAYPAPERMEDIA1")->values, Row("MEDIATYPE")->values);
  EXPECT_EQ(Row("SRCRESOLUTIONW")->values, Row("DSTRESOLUTIONH")->values);
  EXPECT_EQ(Row("TRAYPAPERORIENT3")->values, Row("MULTIPAPERORIENT")->values);
}

TEST(PjlTable, MappedVariablesAndBooklet) {
  EXPECT_EQ(Row("BINDING")->flags, 0x10801u);
  EXPECT_EQ(Row("BOOKLET")->flags, 0x11001u);
  EXPECT_EQ(Row("BOOKLET")->setting, kPjlBookletSetting);
  EXPECT_EQ(Row("MEMORYSIZE")->modes, DWORD(kPjlModeValue));
  EXPECT_EQ(Row("TRAY")->modes, DWORD(kPjlModeUpdate | kPjlModeOption));
  EXPECT_EQ(Row("USERCODE")->type, DWORD(kPjlTypeText));
}

TEST(PjlTable, EveryConditionListEndsItsLastClause) {
  const PjlSettingTable* t = TblGetPjlSettingTable();
  for (DWORD i = 0; i < t->count; ++i) {
    const PjlVariable& r = t->rows[i];
    if (!(r.flags & kPjlFromList)) continue;
    const PjlValueList* list = Values(&r);
    for (DWORD k = 0; k < list->count; ++k) {
      const ConditionTerm* term = list->entries[k].requirement;
      if (!term) continue;
      while (term->next) term = term->next;
      EXPECT_EQ(term->flags, 1u) << r.name << " " << list->entries[k].word;
    }
  }
}

TEST(PjlTable, CollateRequirementsReadAsClauses) {
  const PjlValueList* collate = Values(Row("COLLATE"));
  const ConditionTerm* sort = collate->entries[0].requirement;
  const ConditionTerm* shift = collate->entries[1].requirement;
  ASSERT_STREQ(collate->entries[1].word, "SHIFT");
  struct Case {
    LONG hdd, upperBin, memory;
    bool sort, shift;
  } cases[] = {
      {1, 0, 0, true, false},    // a hard disk alone allows sorting
      {0, 0, 160, true, false},  // so does enough memory
      {0, 0, 64, false, false},
      {0, 1, 96, true, true},    // shifting needs the upper bin and memory
      {1, 1, 64, true, false},
      {1, 0, 288, true, false},
  };
  for (const Case& c : cases) {
    std::map<DWORD, LONG> s = {{10070, c.hdd}, {10056, c.upperBin}, {10012, c.memory}};
    EXPECT_EQ(Holds(sort, s), c.sort) << c.hdd << c.upperBin << " " << c.memory;
    EXPECT_EQ(Holds(shift, s), c.shift) << c.hdd << c.upperBin << " " << c.memory;
  }
}

TEST(PjlTable, NupLayoutsCarryTheirPostKind) {
  const PjlValueList* nup = Values(Row("NUP"));
  std::map<LONG, LONG> kindOf;
  for (DWORD k = 0; k < nup->count; ++k) {
    const PjlValueEntry& e = nup->entries[k];
    for (const ConditionTerm* d = e.dependents; d; d = d->next)
      if (d->item == 91) kindOf[e.value] = d->value;
  }
  EXPECT_EQ(kindOf[33], 2);
  EXPECT_EQ(kindOf[3], 1);
  EXPECT_EQ(kindOf[102], 4);
  EXPECT_EQ(kindOf.count(0), 0u);  // OFF only turns N-up off
  EXPECT_EQ(nup->entries[nup->count - 1].flags, DWORD(kPjlValueDefault));
}

}  // namespace
