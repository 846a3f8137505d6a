// Alert lists and their answers on hand-made records: the first true record, the AlertAction
// entry of each answer with its Transact list, and the focus that only an open page's found
// control receives.
#include <gtest/gtest.h>

#include "core/front/dialog_records.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_types.h"
#include "core/rules/alerts.h"
#include "core/rules/judge_eval.h"
#include "core/rules/model_rules.h"
#include "platform/sim.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

HWND FakeWindow(int n) { return (HWND)(size_t)(0x2000 + n); }

// Judges on dmCopies: copies > 5, copies > 50, always true.
const JudgeCell kMoreThan5[] = {{kJudgeItem, kItem_dmCopies}, {kJudgeConstant, 5}, {kJudgeOperator, kJudgeOpGreater},
                                {kJudgeOperator, kJudgeOpEnd}};
const JudgeCell kMoreThan50[] = {{kJudgeItem, kItem_dmCopies}, {kJudgeConstant, 50}, {kJudgeOperator, kJudgeOpGreater},
                                 {kJudgeOperator, kJudgeOpEnd}};
const JudgeCell kTrue[] = {{kJudgeConstant, 1}, {kJudgeOperator, kJudgeOpEnd}};

class AlertTest : public ItemContextTest {
 protected:
  void SetUp() override {
    ItemContextTest::SetUp();
    ASSERT_EQ(ModelAllocEvalStack(ctx()), 0);
    // Records: no judge (never true), copies > 50, copies > 5, always.
    records_[0] = {&records_[1], nullptr, 11, 0x10, 0, 0, nullptr};
    records_[1] = {&records_[2], kMoreThan50, 12, 0x20, 1, 1, nullptr};
    records_[2] = {&records_[3], kMoreThan5, 13, 0x30, 1, 2, actions_};
    records_[3] = {nullptr, kTrue, 14, 0x40, 3, 3, nullptr};
    // Answers: IDOK nothing; IDCANCEL copies := 1 and focus on page 1002's control 2017;
    // IDYES opens dialog 1011 with no focus (dialog id 0); IDNO a page that is not in the table;
    // IDRETRY page 1004, which has no window; IDIGNORE page 1002's undeclared control 9.
    copiesOne_ = {nullptr, kItem_dmCopies, 0, 1};
    openDialog_ = {nullptr, 1011, 1, 0};
    transactCopies_ = {nullptr, nullptr, &copiesOne_};
    transactDialog_ = {nullptr, nullptr, &openDialog_};
    actions_[0] = {&actions_[1], IDOK, 0, nullptr, 0, 0};
    actions_[1] = {&actions_[2], IDCANCEL, 0, &transactCopies_, 1002, 2017};
    actions_[2] = {&actions_[3], IDYES, 0, &transactDialog_, 0, 2017};
    actions_[3] = {&actions_[4], IDNO, 0, &transactCopies_, 7777, 2017};
    actions_[4] = {&actions_[5], IDRETRY, 0, &transactCopies_, 1004, 2017};
    actions_[5] = {nullptr, IDIGNORE, 0, &transactCopies_, 1002, 9};
    pages_[0] = {};
    pages_[0].dialogId = 1002;
    pages_[0].window = FakeWindow(1);
    pages_[1] = {};
    pages_[1].dialogId = 1004;
    table_ = {2, pages_};
    ctx()->pages = &table_;
    DeclareControls();
  }
  // Page 1002's window has control 2017. A control declared for no window would be found by a
  // lookup that asks without a page window: the alert action must never ask that way.
  void DeclareControls() {
    SimUiDeclareControl(FakeWindow(1), 2017, FakeWindow(2));
    SimUiDeclareControl(nullptr, 2017, FakeWindow(3));
  }
  void TearDown() override {
    ctx()->pages = nullptr;
    ModelFreeEvalStack(ctx());
    ItemContextTest::TearDown();
  }
  int FocusCalls() {
    int n = 0;
    SimUiCall call;
    for (DWORD i = 0; SimUiGetCall(i, &call); ++i) n += call.kind == kSimUiSetFocus;
    return n;
  }

  AlertRecord records_[4];
  AlertActionEntry actions_[6];
  ActionEntry copiesOne_, openDialog_;
  TransactEntry transactCopies_, transactDialog_;
  DlgPageRecord pages_[2];
  DlgPageTable table_;
};

TEST_F(AlertTest, FirstTrueRecord) {
  struct Case {
    LONG copies;
    int record;  // record 0 has no judge and is never the answer
  } cases[] = {{60, 1}, {6, 2}, {1, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.copies);
    ItemSetValueById(ctx(), kItem_dmCopies, c.copies);
    EXPECT_EQ(JudgeFirstTrueEntry(records_, ctx()), &records_[c.record]);
    EXPECT_EQ(JudgeFirstTrueValue(records_, ctx()), records_[c.record].messageId);
  }
  const AlertRecord* first = JudgeFirstTrueEntry(&records_[2], ctx());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->messageId, 14) << "copies 1: only the record that is always true";
  EXPECT_EQ(first->icon, 0x40);
  EXPECT_EQ(first->buttons, 3);
  EXPECT_EQ(first->timing, 3);
  // A record without judge alone: never true.
  records_[0].next = nullptr;
  EXPECT_EQ(JudgeFirstTrueEntry(records_, ctx()), nullptr);
  EXPECT_EQ(JudgeFirstTrueValue(records_, ctx()), 0);
  EXPECT_EQ(ModelCheckItemAlert(nullptr, ctx()), 0);
}

TEST_F(AlertTest, AnswersRunTheirTransactAndFocusOnlyAFoundControl) {
  struct Case {
    const char* what;
    int answer;
    int result;
    LONG copies;
    HWND focused;  // null: no focus call
  } cases[] = {
      {"IDOK: an entry without Transact", IDOK, 0, 9, nullptr},
      {"IDCANCEL: copies reset, focus on the open page's control", IDCANCEL, 0, 1, FakeWindow(2)},
      {"IDYES: the dialog to open; dialog id 0 makes no focus call", IDYES, 1011, 9, nullptr},
      {"IDNO: a page that is not in the table", IDNO, 0, 1, nullptr},
      {"IDRETRY: a page without window", IDRETRY, 0, 1, nullptr},
      {"IDIGNORE: a control the page's window does not have", IDIGNORE, 0, 1, nullptr},
      {"IDHELP (9): no entry for the answer", 9, 0, 9, nullptr},
  };
  for (int form = 0; form < 2; ++form) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      ItemSetValueById(ctx(), kItem_dmCopies, 9);
      SimUiReset();
      DeclareControls();
      int result = form == 0 ? ModelRunAlertAction(&records_[2], c.answer, ctx())
                             : ModelRunAlertActionFor(&records_[2], ctx(), c.answer);
      EXPECT_EQ(result, c.result);
      EXPECT_EQ(ItemGetValueById(ctx(), kItem_dmCopies), c.copies);
      ASSERT_EQ(FocusCalls(), c.focused ? 1 : 0);
      SimUiCall call;
      if (c.focused) {
        ASSERT_TRUE(SimUiGetCall(0, &call));
        EXPECT_EQ(call.window, c.focused);
      }
    }
  }
  ItemSetValueById(ctx(), kItem_dmCopies, 9);
  EXPECT_EQ(ModelRunAlertAction(&records_[3], IDCANCEL, ctx()), 0) << "a record without AlertAction list";
  EXPECT_EQ(ModelRunAlertAction(nullptr, IDCANCEL, ctx()), 0);
  EXPECT_EQ(ItemGetValueById(ctx(), kItem_dmCopies), 9);
}

}  // namespace
