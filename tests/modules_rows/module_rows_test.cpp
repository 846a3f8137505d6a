// Which row of each deliverable's module table takes which notify code and event, as each DLL
// is built: the first row whose callback answers nonzero ends a dispatch.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "core/bind/bidi_acquire.h"
#include "core/context/module_bus.h"
#include "core/front/dialog_records.h"
#include "core/items/control_states.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/chapter_records.h"
#include "core/modules/module_rows.h"
#include "core/store/item_store.h"
#include "support/item_context.h"

namespace {

using zems_test::ItemContextTest;

enum Dll { kUi, kGr, kExc };
const UiModuleEntry* Rows(Dll dll) {
  return dll == kUi ? kModuleRowsPrinterInterface : dll == kGr ? kModuleRowsGraphics : kModuleRowsExclusion;
}
const char* Name(Dll dll) { return dll == kUi ? "zemsui" : dll == kGr ? "zemsgr" : "zemsexc"; }

// The argument records the cases send, one of each kind, rebuilt before every call.
struct Arguments {
  SettingItem otherItem{};
  StoreItemOffer offer{};
  BidiTrayKindEvent trayKind{};
  BYTE functions = 0;
  BidiTrayFuncEvent trayFunc{};
  DWORD reply = 1;
  DlgControlRecord control{};
  DlgPageRecord page{};
  CtlRestrictedQuery restricted{};
  void Reset() {
    otherItem = SettingItem{};
    otherItem.id = 35;
    offer = {2, &otherItem, 0};
    trayKind = {0x20, 1, 0};
    functions = 0;
    trayFunc = {0x40, 7, &functions};
    reply = 1;
    control = DlgControlRecord{};
    control.controlId = 2384;
    page = DlgPageRecord{};
    page.dialogId = 1009;
    restricted = {&control, &page, 0, 0};
  }
};

struct Case {
  char kind;  // 'N' notify, 'E' event
  int code;
  int arg;    // 0 none, 1 item offer, 2 tray kind, 3 tray function, 4 reply word, 5 restricted query
  int ui, gr, exc;  // the row that takes it, -1 for none
};

// Rows: 0 presets, 1 watermarks, 2 quality, 3 custom size, 4 chapters, 5 options, 6 font
// substitution, 7 summary, 8 locks, 9 print method.
const Case kCases[] = {
    // The bus's own events and the snapshots: every module lets them pass.
    {'E', 1, 0, -1, -1, -1},
    {'E', 2, 0, -1, -1, -1},
    {'E', 26, 0, -1, -1, -1},
    {'E', 27, 0, -1, -1, -1},
    // Chapters: the store's item offers, the acquisition's tray events, the limits.
    {'E', 4, 1, 4, 4, 4},
    {'E', 5, 1, 4, 4, 4},
    {'E', 6, 0, -1, -1, -1},
    {'E', 8, 2, 4, 4, 4},
    {'E', 9, 3, 4, 4, 4},
    {'E', 10, 0, 4, 4, 4},
    {'E', 11, 0, 4, 4, 4},
    {'E', 12, 4, 4, 4, 4},
    {'E', 13, 0, 4, 4, 4},
    {'E', 18, 0, -1, -1, -1},
    {'E', 23, 0, -1, -1, -1},
    {'N', 303, 0, 4, 4, 4},
    {'N', 307, 0, 4, 4, 4},
    {'N', 302, 0, 4, -1, -1},  // the chapter dialog's delete all: only the printer interface has it
    // The device-font list's restricted state.
    {'E', 3, 5, 6, 6, 6},
    // Colour profiles: the window-less list operations and the fallback after a merge; the
    // per-object and quality-list codes only in the printer interface's dialogs.
    {'N', 111, 0, 2, 2, 2},
    {'N', 118, 0, 2, 2, 2},
    {'N', 124, 0, 2, 2, 2},
    {'N', 100, 0, 2, -1, -1},
    {'N', 325, 0, 2, -1, -1},
    {'E', 36, 0, 2, 2, 2},
    // Custom sizes: the graphics DLL runs no dialog actions, so event 47 is not its.
    {'E', 44, 0, 3, 3, 3},
    {'E', 46, 0, 3, 3, 3},
    {'E', 47, 0, 3, -1, 3},
    {'E', 55, 0, 3, 3, 3},
    {'N', 202, 0, 3, -1, -1},  // the custom-size notifications: only the printer interface's dialogs
    // Locks: only the lock data and the stored files' locks outside the printer interface.
    {'N', 312, 0, 8, 8, 8},
    {'N', 326, 0, 8, -1, -1},
    {'N', 318, 0, 8, -1, -1},
    {'E', 59, 0, 8, 8, 8},
    {'E', 60, 0, 8, 8, 8},
    {'E', 62, 0, 8, -1, -1},
    // Print method: the graphics DLL asks no printer.
    {'N', 901, 0, 9, 9, 9},
    {'N', 250, 0, 9, -1, -1},
    {'N', 324, 0, 9, -1, -1},
    {'E', 21, 4, 9, -1, 9},
    {'E', 30, 4, 9, 9, 9},
    {'E', 35, 0, 9, 9, 9},
    {'E', 54, 4, 9, 9, 9},
    {'E', 14, 0, 9, -1, -1},
    // Watermarks saved again.
    {'N', 327, 0, 1, 1, 1},
    // Codes nobody takes.
    {'N', 1, 0, -1, -1, -1},
    {'E', 22, 0, -1, -1, -1},
};

class ModuleRowsTest : public ItemContextTest {
 protected:
  void TearDown() override {
    ModBusFree(ctx());  // frees the chapter array the events made
    ItemContextTest::TearDown();
  }
  // The first row whose callback takes the case; -1 for none.
  int Taker(Dll dll, const Case& c) {
    const UiModuleEntry* rows = Rows(dll);
    BYTE privateBlock[4] = {};
    for (int r = 0; r < kModuleCount; ++r) {
      args_.Reset();
      void* argument = nullptr;
      switch (c.arg) {
        case 1: argument = &args_.offer; break;
        case 2: argument = &args_.trayKind; break;
        case 3: argument = &args_.trayFunc; break;
        case 4: argument = &args_.reply; break;
        case 5: argument = &args_.restricted; break;
        default: break;
      }
      void* data = rows[r].privateSize ? privateBlock : nullptr;
      const int answer = c.kind == 'N' ? (rows[r].notify ? rows[r].notify(ctx(), static_cast<WORD>(c.code), data) : 0)
                                       : (rows[r].event ? rows[r].event(ctx(), c.code, argument, data) : 0);
      if (answer) return r;
    }
    return -1;
  }
  Arguments args_;
};

TEST_F(ModuleRowsTest, EachDeliverableRoutesEachCodeToItsModule) {
  for (const Case& c : kCases)
    for (Dll dll : {kUi, kGr, kExc}) {
      const int expected = dll == kUi ? c.ui : dll == kGr ? c.gr : c.exc;
      EXPECT_EQ(expected, Taker(dll, c)) << Name(dll) << " " << c.kind << c.code;
    }
}

TEST(ModuleRowsShape, SameRowsAndPrivateSizesControlStubsOutsideThePrinterInterface) {
  for (Dll dll : {kUi, kGr, kExc}) {
    const UiModuleEntry* rows = Rows(dll);
    for (int r = 0; r < kModuleCount; ++r) {
      EXPECT_EQ(r == kModuleChapters ? 4u : 0u, rows[r].privateSize) << Name(dll) << " row " << r;
      EXPECT_NE(nullptr, rows[r].notify) << Name(dll) << " row " << r;
      EXPECT_NE(nullptr, rows[r].event) << Name(dll) << " row " << r;
      if (dll != kUi) {
        EXPECT_EQ(&UiModuleIgnoreControl, rows[r].control) << Name(dll) << " row " << r;
      }
    }
  }
}

// The other deliverables keep no snapshot copies and answer no dialog: a context's chapters
// are what the settings made them, whatever the bus sends.
TEST_F(ModuleRowsTest, OutsideThePrinterInterfaceTheBusEventsLeaveTheChaptersAlone) {
  for (Dll dll : {kGr, kExc}) {
    ASSERT_EQ(1, ModBusLoadRows(ctx(), Rows(dll), kModuleCount));
    ItemSetRawById(ctx(), kItem_wdmChapterMax, 4);
    ItemSetRawById(ctx(), kItem_wdmChapterNum, 2);
    DWORD records = 0;
    ChapterRecord* array = ChapterArray(ctx(), &records);
    ASSERT_NE(nullptr, array);
    array[0].page = 3;
    array[1].page = 8;
    const std::vector<BYTE> before(reinterpret_cast<BYTE*>(array), reinterpret_cast<BYTE*>(array + records));
    DlgPageRecord chapterDialog{};
    chapterDialog.dialogId = 1044;
    struct {
      DlgPageRecord* page;
      DlgControlRecord* control;
      DWORD button;
    } closed = {&chapterDialog, nullptr, 2};
    DlgControlRecord deleteButton{};
    deleteButton.controlId = 2802;
    CtlRestrictedQuery query = {&deleteButton, &chapterDialog, 0, 0};
    ModBusSendEvent(ctx(), 26, nullptr);
    array[0].page = 4;  // changed after the push
    ModBusSendEvent(ctx(), 27, nullptr);
    ModBusSendEvent(ctx(), 25, &closed);
    ModBusSendEvent(ctx(), 3, &query);
    EXPECT_EQ(0, query.answered) << Name(dll);
    EXPECT_EQ(4, array[0].page) << Name(dll) << ": no snapshot copy came back";
    array[0].page = 3;
    EXPECT_EQ(0, memcmp(before.data(), array, before.size())) << Name(dll);
    EXPECT_EQ(2, ItemGetRawById(ctx(), kItem_wdmChapterNum)) << Name(dll) << ": the dialog's cancel is not theirs";
    void* privateData = ctx()->ui->modules->rows[kModuleChapters].privateData;
    ASSERT_NE(nullptr, privateData);
    EXPECT_EQ(0, memcmp(privateData, "\0\0\0\0", 4)) << Name(dll);
    ModBusFree(ctx());
  }
}

}  // namespace
