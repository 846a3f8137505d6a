// The UI-module bus with recording modules in a context's copy of the table.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/common/mem.h"
#include "core/context/driver_context.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_records.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

struct Call {
  int row;
  char kind;  // 'n' notify, 'c' control, 'e' event
  int code;
  void* data;
  bool operator==(const Call& o) const { return row == o.row && kind == o.kind && code == o.code; }
};
std::ostream& operator<<(std::ostream& os, const Call& c) {
  return os << "{" << c.row << " " << c.kind << " " << c.code << "}";
}

// Window messages the dialogs route (their Windows values).
constexpr UINT kMsgPaint = 0x000F, kMsgInitDialog = 0x0110, kMsgCommand = 0x0111;

std::vector<Call> g_calls;
int g_answer[kModuleCount];  // what each row's callbacks return

template <int R>
int Notify(DriverContext*, WORD code, void* data) {
  g_calls.push_back({R, 'n', code, data});
  return g_answer[R];
}
template <int R>
int Control(DriverContext*, DlgPageRecord*, DlgControlRecord*, UINT message, WPARAM, LPARAM, void* data) {
  g_calls.push_back({R, 'c', static_cast<int>(message), data});
  return g_answer[R];
}
template <int R>
int Event(DriverContext*, int event, void*, void* data) {
  g_calls.push_back({R, 'e', event, data});
  return g_answer[R];
}

template <int... R>
std::vector<UiModuleEntry> MakeRecordingRows(std::integer_sequence<int, R...>) {
  LONG count = 0;
  const UiModuleEntry* rows = ModBusGetTable(&count);
  std::vector<UiModuleEntry> out(rows, rows + count);
  ((out[R].notify = Notify<R>, out[R].control = Control<R>, out[R].event = Event<R>), ...);
  return out;
}
std::vector<UiModuleEntry> RecordingRows() { return MakeRecordingRows(std::make_integer_sequence<int, kModuleCount>()); }

// A context as the bus sees it: a UI state, nothing else.
class ModuleBusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx_.ui = &ui_;
    g_calls.clear();
    for (int& a : g_answer) a = 0;
  }
  void TearDown() override { ModBusFree(&ctx_); }
  // Loads the bus with recording rows and forgets the calls of the load.
  void LoadRecording() {
    std::vector<UiModuleEntry> rows = RecordingRows();
    ASSERT_EQ(1, ModBusLoadRows(&ctx_, rows.data(), static_cast<LONG>(rows.size())));
    g_calls.clear();
  }
  std::vector<Call> Calls(char kind) const {
    std::vector<Call> out;
    for (const Call& c : g_calls)
      if (c.kind == kind) out.push_back(c);
    return out;
  }
  DriverContext ctx_{};
  UiState ui_{};
};

TEST(ModuleTable, TenRowsInDispatchOrderOnlyChaptersHavePrivateData) {
  LONG count = 0;
  const UiModuleEntry* rows = ModBusGetTable(&count);
  ASSERT_EQ(10, count);
  for (LONG i = 0; i < count; ++i) {
    EXPECT_EQ(i == kModuleChapters ? 4u : 0u, rows[i].privateSize) << "row " << i;
    EXPECT_EQ(nullptr, rows[i].privateData) << "row " << i;
  }
  EXPECT_EQ(4, kModuleChapters);
  EXPECT_EQ(9, kModulePrintMethod);
}

TEST_F(ModuleBusTest, LoadCopiesTheRowsWithZeroedPrivateBlocksThenSendsCreate) {
  std::vector<UiModuleEntry> rows = RecordingRows();
  ASSERT_EQ(1, ModBusLoadRows(&ctx_, rows.data(), kModuleCount));
  UiModuleTable* table = ui_.modules;
  ASSERT_NE(nullptr, table);
  ASSERT_EQ(10, table->count);
  EXPECT_NE(rows.data(), table->rows) << "the context's own copy";
  for (int i = 0; i < kModuleCount; ++i) {
    if (i == kModuleChapters) {
      ASSERT_NE(nullptr, table->rows[i].privateData);
      EXPECT_EQ(0, memcmp(table->rows[i].privateData, "\0\0\0\0", 4));
    } else {
      EXPECT_EQ(nullptr, table->rows[i].privateData) << "row " << i;
    }
  }
  // Create is the first call any module sees; every row gets it with its own block.
  ASSERT_EQ(10u, g_calls.size());
  for (int i = 0; i < kModuleCount; ++i) {
    EXPECT_EQ((Call{i, 'e', kEventCreate, nullptr}), g_calls[i]);
    EXPECT_EQ(table->rows[i].privateData, g_calls[i].data);
  }
}

TEST_F(ModuleBusTest, FreeSendsDestroyLastAndLeavesNoTable) {
  LoadRecording();
  ModBusSendEvent(&ctx_, 26, nullptr);
  ModBusFree(&ctx_);
  ASSERT_EQ(20u, g_calls.size());
  for (int i = 0; i < kModuleCount; ++i) EXPECT_EQ((Call{i, 'e', kEventDestroy, nullptr}), g_calls[10 + i]);
  EXPECT_EQ(nullptr, ui_.modules);
  g_calls.clear();
  ModBusSendEvent(&ctx_, 26, nullptr);
  ModBusNotify(&ctx_, 312);
  EXPECT_TRUE(g_calls.empty()) << "nothing reaches a module after destroy";
}

TEST_F(ModuleBusTest, EachDispatchStopsAtTheFirstNonzeroAnswer) {
  LoadRecording();
  g_answer[3] = 1;
  g_answer[6] = 1;
  ModBusSendEvent(&ctx_, 33, nullptr);
  ModBusNotify(&ctx_, 0x1234);
  g_answer[3] = 0;
  g_answer[6] = 7;
  EXPECT_EQ(7, ModBusRouteControl(&ctx_, nullptr, nullptr, kMsgCommand, 0, 0));
  std::vector<Call> expected;
  for (int i = 0; i <= 3; ++i) expected.push_back({i, 'e', 33, nullptr});
  for (int i = 0; i <= 3; ++i) expected.push_back({i, 'n', 0x1234, nullptr});
  for (int i = 0; i <= 6; ++i) expected.push_back({i, 'c', static_cast<int>(kMsgCommand), nullptr});
  EXPECT_EQ(expected, g_calls);
}

TEST_F(ModuleBusTest, EmptySlotsAreSkippedAndRowsWithoutPrivateDataStillCalled) {
  LoadRecording();
  UiModuleTable* table = ui_.modules;
  table->rows[0].event = nullptr;
  table->rows[5].notify = nullptr;
  table->rows[5].event = nullptr;
  table->rows[9].control = nullptr;
  void* chapterBlock = table->rows[kModuleChapters].privateData;
  MemFree(chapterBlock);
  table->rows[kModuleChapters].privateData = nullptr;  // as when its block could not be had
  ModBusSendEvent(&ctx_, 27, nullptr);
  std::vector<Call> events = Calls('e');
  ASSERT_EQ(8u, events.size());
  EXPECT_EQ(1, events.front().row);
  EXPECT_EQ(9, events.back().row);
  for (const Call& c : events) {
    EXPECT_NE(5, c.row);
    EXPECT_EQ(nullptr, c.data);
  }
  EXPECT_EQ(0, ModBusRouteControl(&ctx_, nullptr, nullptr, kMsgPaint, 0, 0));
  EXPECT_EQ(9u, Calls('c').size());
}

TEST_F(ModuleBusTest, NotifyCodesTravelAsSixteenBits) {
  LoadRecording();
  ModBusNotify(&ctx_, static_cast<WORD>(11976));
  ASSERT_FALSE(g_calls.empty());
  EXPECT_EQ(11976, g_calls[0].code);
}

TEST_F(ModuleBusTest, WithoutTableOrContextNothingIsCalled) {
  // No table at all, as when its allocation failed.
  ModBusSendEvent(&ctx_, 1, nullptr);
  ModBusNotify(&ctx_, 312);
  EXPECT_EQ(0, ModBusRouteControl(&ctx_, nullptr, nullptr, kMsgInitDialog, 0, 0));
  EXPECT_EQ(0, ModBusRouteControl(nullptr, nullptr, nullptr, kMsgInitDialog, 0, 0));
  ModBusSendEvent(nullptr, 1, nullptr);
  ModBusNotify(nullptr, 1);
  ModBusFree(nullptr);
  EXPECT_EQ(0, ModBusLoad(nullptr));
  // A table without rows.
  ASSERT_EQ(1, ModBusLoadRows(&ctx_, nullptr, 10));
  ASSERT_NE(nullptr, ui_.modules);
  EXPECT_EQ(0, ui_.modules->count);
  ModBusSendEvent(&ctx_, 3, nullptr);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(ModuleBusTest, AnAnswerTravelsBackInTheSendersRecord) {
  LoadRecording();
  ui_.modules->rows[kModulePrintMethod].event = [](DriverContext*, int event, void* argument, void*) {
    if (event != 54 || !argument) return 0;
    *static_cast<LONG*>(argument) = 1;
    return 1;
  };
  LONG answer = 0;
  ModBusSendEvent(&ctx_, 54, &answer);
  EXPECT_EQ(1, answer);
  LONG untouched = 5;
  ModBusSendEvent(&ctx_, 30, &untouched);
  EXPECT_EQ(5, untouched) << "a record no module fills keeps what the sender put in it";
}

// The judge hooks of the quality and print-method modules: their ranges reach them and their
// neighbours read 0.
TEST(ModuleBusJudgeHooks, RangesRoutedNeighboursZero) {
  DriverContext ctx{};
  EXPECT_EQ(1, ModBusJudgeHookValue(&ctx, 1292)) << "no profile is selected in an empty context";
  for (WORD id : {1291, 1308, 1403, 1420, 1260, 1275, 0, 65535})
    EXPECT_EQ(0, ModBusJudgeHookValue(&ctx, id)) << id;
}

// A real open gives the context its own copy of the static table; destruction takes it away.
TEST_F(ContextTest, OpenGivesTheContextItsModuleTable) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(nullptr, ctx);
  UiModuleTable* table = ctx->ui->modules;
  ASSERT_NE(nullptr, table);
  ASSERT_EQ(10, table->count);
  LONG count = 0;
  EXPECT_NE(ModBusGetTable(&count), table->rows);
  EXPECT_NE(nullptr, table->rows[kModuleChapters].privateData);
  CtxRelease(ctx, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test
