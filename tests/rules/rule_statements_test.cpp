// Item, Action, Transact, AlertAction, Alert and Exclusive statements read into entries, and
// their references linked in the compiled image.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/common/mem.h"
#include "core/front/dialog_records.h"
#include "core/model/model_image.h"
#include "core/tables/symbol_table.h"
#include "rules_test_util.h"

namespace {

using rules_test::Fixture;
using rules_test::ItemId;
using rules_test::Parse;
using rules_test::SymbolId;
using rules_test::Value;

constexpr DWORD U = kModelRuleUnresolved;

std::vector<std::vector<DWORD>> Entries(const ModelRuleEntry* e, int width) {
  std::vector<std::vector<DWORD>> out;
  for (; e; e = e->next) out.emplace_back(e->element, e->element + width);
  return out;
}

const ModelRuleList* Nth(const ModelRuleList* l, int n) {
  for (; l && n > 0; --n) l = l->next;
  return l;
}

void CollectReport(void* context, const char* token, DWORD line) {
  static_cast<std::vector<std::pair<std::string, DWORD>>*>(context)->emplace_back(token, line);
}

TEST(RuleStatements, ReferencesByNumberNameNullAndPrefix) {
  Parse p(Fixture("rule_references.zmd"));
  ASSERT_NE(nullptr, p.state);
  ASSERT_NE(nullptr, p->transacts);
  std::vector<std::vector<DWORD>> expected = {
      {3, 1}, {3, 1}, {0, 1}, {U, 1}, {U, 1}, {U, 1}, {99, 1}, {U, 1},
  };
  EXPECT_EQ(expected, Entries(p->transacts->first, 2))
      << "number, name, NULL, another kind's prefix, ItemX (reads as Item 0), unknown, missing, 70000";
  ASSERT_NE(nullptr, Nth(p->alerts, 1));
  EXPECT_EQ(2u, p->alerts->first->element[5]) << "AlertAction2 is an AlertAction reference";
  EXPECT_EQ(U, Nth(p->alerts, 1)->first->element[5]) << "Alert1 is another kind's reference";

  std::vector<std::pair<std::string, DWORD>> reported;
  EXPECT_EQ(5u, ModelListUnresolvedJudges(p.state, CollectReport, &reported));
  std::vector<std::pair<std::string, DWORD>> expectedReport = {
      {"Action1", 6}, {"ItemX", 6}, {"Missing", 6}, {"Judge99", 6}, {"Judge70000", 6}};
  EXPECT_EQ(expectedReport, reported) << "judges that do not exist, with the line of their statement";

  // Linked: a reference to no compiled judge gets the always-false judge, NULL gets none.
  ModelImageHeader* image = ModelBuildImage(p.state);
  ASSERT_NE(nullptr, image);
  ModelFixUpImage(image);
  // The Transact list is reached through the AlertAction of Alert 1; nothing fixes up lists
  // that no Exclusive record reaches, so read the stored entries instead.
  const BYTE* base = reinterpret_cast<const BYTE*>(image);
  const ModelRuleList* refs = p->transacts;
  ASSERT_NE(0u, refs->imageOffset);
  const JudgeRecord* j3 = ModelFindJudge(p.state, 3);
  std::vector<DWORD> judges;
  for (int i = 0; i < 8; ++i) {
    DWORD stored;
    memcpy(&stored, base + refs->imageOffset + i * sizeof(TransactEntry) + 4, 4);
    judges.push_back(stored);
  }
  DWORD j3Link = j3->imageOffset * 16 + 1;
  EXPECT_EQ(j3Link, judges[0]);
  EXPECT_EQ(j3Link, judges[1]);
  EXPECT_EQ(0u, judges[2]) << "NULL: no judge";
  for (int i = 3; i < 8; ++i) {
    ASSERT_EQ(1u, judges[i] & 1) << i;
    const JudgeCell* cells = reinterpret_cast<const JudgeCell*>(base + (judges[i] - 1) / 16);
    EXPECT_EQ("0 end", rules_test::Cells(cells)) << "entry " << i << " links to a judge that is always false";
  }
  MemFree(image);
}

TEST(RuleStatements, ActionTargetsAndValues) {
  Parse p(Fixture("rule_actions.zmd"));
  ASSERT_NE(nullptr, p.state);
  WORD color = ItemId("TOV_dmColor"), copies = ItemId("TOV_dmCopies");
  WORD preset = TblGetPageTable()->rows[0].dialogId;
  std::vector<std::vector<DWORD>> expected = {
      {color, Value("DMCOLOR_MONO"), 0},
      {copies, 5, 0},
      {preset, 2, 1},  // a dialog
      {0, 7, 0},
      {color, Value("DMCOLOR_COLOR"), 0},  // Default of an item described before
      {copies, 0, 0},                      // Default of an item described later
      {color, 0, 0},
  };
  ASSERT_NE(nullptr, p->actions);
  EXPECT_EQ(expected, Entries(p->actions->first, 3));
  ASSERT_NE(nullptr, p->actions->next);
  EXPECT_EQ((std::vector<std::vector<DWORD>>{{copies, 3, 0}}), Entries(p->actions->next->first, 3));
  ASSERT_NE(nullptr, p->actions->next->next);
  EXPECT_EQ((std::vector<std::vector<DWORD>>{{copies, 0xFFFFFFFFu, 0}}), Entries(p->actions->next->next->first, 3));
  EXPECT_EQ(nullptr, p->actions->next->next->next)
      << "no brace block, number 0 and 65536 drop their statements, as does a value above 32 bits";
}

TEST(RuleStatements, AlertActionsAndAlerts) {
  Parse p(Fixture("rule_alerts.zmd"));
  ASSERT_NE(nullptr, p.state);
  WORD preset = TblGetPageTable()->rows[0].dialogId;
  ASSERT_NE(nullptr, p->alertActions);
  std::vector<std::vector<DWORD>> actions = {{1, 4, preset, 0}, {2, 0, 0, 0}, {0, 0, 0, 0}};
  EXPECT_EQ(actions, Entries(p->alertActions->first, 4)) << "buttons, transact, dialog, control";
  WORD message = TblFindMessageByName(nullptr, "TOV_DuplexOnMessage")->messageId;
  std::vector<std::vector<DWORD>> alerts = {
      {0, message, 0x30, 1, 0, 1},
      {0, 0, 0x10, 3, 3, 0},
      {0, message, 0xFFFF, 0xFFFF, 0xFFFF, 0},
  };
  ASSERT_NE(nullptr, p->alerts);
  EXPECT_EQ(alerts, Entries(p->alerts->first, 6)) << "judge, message, icon, buttons, timing, alert action";
}

TEST(RuleStatements, OnlyTheFirstExclusiveStatementCounts) {
  Parse p(Fixture("rule_exclusive.zmd"));
  ASSERT_NE(nullptr, p.state);
  std::vector<std::vector<DWORD>> expected = {
      {SymbolId("TOV_dmColor"), 1, 0, 1, 1, 1, 1, 1},
      {0, 0, 0, 0, 0, 0, 0, 0},
  };
  EXPECT_EQ(expected, Entries(p->exclusives, 8));
  EXPECT_EQ(2u, p->rules->exclusiveCount);

  ModelImageHeader* image = ModelBuildImage(p.state);
  ASSERT_NE(nullptr, image);
  ModelFixUpImage(image);
  const ExclusiveRecord* x = image->exclusives;
  ASSERT_NE(nullptr, x);
  EXPECT_EQ(x + 1, x->next);
  EXPECT_EQ(nullptr, x->next->next) << "the third statement's entry is not linked";
  EXPECT_EQ("A " + std::to_string(Value("DMCOLOR_COLOR")) + " == end", rules_test::Cells(x->judgeDisabled));
  EXPECT_EQ(x->judgeDisabled, x->judgeLocked) << "one judge, linked twice";
  ASSERT_NE(nullptr, x->valueRules);
  EXPECT_EQ(Value("DMCOLOR_MONO"), x->valueRules->valueId);
  EXPECT_EQ(x->judgeDisabled, x->valueRules->judgeDisabled);
  EXPECT_EQ(x->transact, x->transactStored) << "a shared Transact list is fixed up once";
  ASSERT_NE(nullptr, x->transact);
  EXPECT_EQ(x->judgeDisabled, x->transact->judge);
  ASSERT_NE(nullptr, x->alert);
  EXPECT_EQ(0x10, x->alert->icon);
  MemFree(image);
}

}  // namespace
