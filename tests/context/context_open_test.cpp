// Opening and destroying driver contexts for printers of the simulated machine.
#include <gtest/gtest.h>

#include <string>

#include "core/common/mem.h"
#include "core/context/settings_snapshot.h"
#include "core/items/item_ids.h"
#include "core/tables/model_record.h"
#include "core/front/dialog_records.h"
#include "core/front/ui_busy.h"
#include "core/store/font_tables.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

std::u16string W(const WCHAR* s) { return reinterpret_cast<const char16_t*>(s); }

TEST_F(ContextTest, FullOpenMakesPrivateCopiesOfTheTemplate) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  const DriverContext* tmpl = TblGetContextTemplate();
  EXPECT_EQ(ctx->printer, office_);
  EXPECT_EQ(ctx->secondHandle, office_);
  ASSERT_NE(ctx->ui, nullptr);
  EXPECT_EQ(W(ctx->ui->printerName), u"Office");
  EXPECT_EQ(W(ctx->ui->driverName), u"ORVEL ALTEN KV310 ZEMS");
  EXPECT_EQ(ctx->ui->openKind, kKindSettings);
  EXPECT_EQ(ctx->ui->useGlobalMutex, 1);
  EXPECT_EQ(ctx->ui->checkAdministrator, 1);
  EXPECT_EQ(ctx->ui->onServer, 2);
  EXPECT_NE(ctx->ui->languageCode[0], 0) << "the installed help language is cached at open";

  // Item table, page table with its control arrays and model record are the context's own.
  ASSERT_NE(ctx->items, nullptr);
  EXPECT_NE(ctx->items, tmpl->items);
  EXPECT_EQ(ctx->items->count, tmpl->items->count);
  ASSERT_NE(ctx->pages, nullptr);
  EXPECT_NE(ctx->pages, tmpl->pages);
  ASSERT_EQ(ctx->pages->count, 79);
  for (SHORT i = 0; i < ctx->pages->count; ++i) {
    const DlgPageRecord& mine = ctx->pages->rows[i];
    const DlgPageRecord& theirs = tmpl->pages->rows[i];
    EXPECT_EQ(mine.dialogId, theirs.dialogId);
    EXPECT_EQ(mine.controlCount, theirs.controlCount);
    if (mine.controlCount) {
      EXPECT_NE(mine.controls, theirs.controls) << mine.name;
    }
  }
  ASSERT_NE(ctx->model, nullptr);
  EXPECT_NE(ctx->model, tmpl->model);
  EXPECT_EQ(ctx->model->modelCode, 148);

  // The settings block, its initial copy and the lock defaults exist in a full open.
  EXPECT_NE(ctx->modelImage, nullptr);
  ASSERT_NE(ctx->settings, nullptr);
  EXPECT_NE(CtxInitialSettingsBlock(ctx), nullptr);
  EXPECT_NE(CtxLockDefaultSettingsBlock(ctx), nullptr);
  EXPECT_NE(ItemStoragePtr(ctx, ItemFind(ctx, kItem_zdmJobBinder)), nullptr);
  CtxRelease(ctx, kReleaseExpired);
}

TEST_F(ContextTest, WritesToACopyLeaveTheTemplateAlone) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  ctx->pages->rows[0].window = reinterpret_cast<HWND>(0x1234);
  ctx->model->maxCopies = 1;
  EXPECT_EQ(TblGetContextTemplate()->pages->rows[0].window, nullptr);
  EXPECT_EQ(TblGetModelRecord()->maxCopies, 999);
  CtxRelease(ctx, kReleaseExpired);
}

TEST_F(ContextTest, OpenFlagsAndKinds) {
  struct Case {
    const char* what;
    WORD flags;
    DWORD kind;
    int busy;
    DWORD recordedKind;
    LONG useMutex, checkAdmin;
    bool settings;
  } cases[] = {
      {"plain", 0x0000, kKindSettings, 0, kKindSettings, 1, 1, true},
      {"no mutex, no admin test", 0x0300, kKindSettings, 0, kKindSettings, 0, 0, true},
      {"busy front marks the kind", 0x0000, kKindCapabilities, 1, kKindCapabilities | kKindBusy, 1, 1, true},
      {"legacy kind is recorded anew", 0x0000, kKindLegacy, 0, kKindLegacyRecorded, 1, 1, true},
      {"mode 2", 0x0002, kKindSettings, 0, kKindSettings, 1, 1, true},
      {"mode 4 is bare", 0x0004, kKindSettings, 0, kKindSettings, 1, 1, false},
  };
  for (const Case& c : cases) {
    UiBusyFlag = c.busy;
    DriverContext* ctx = CtxOpen(office_, office_, nullptr, c.flags, c.kind, 0, nullptr);
    UiBusyFlag = 0;
    ASSERT_NE(ctx, nullptr) << c.what;
    EXPECT_EQ(ctx->ui->openKind, c.recordedKind) << c.what;
    EXPECT_EQ(ctx->ui->openMode, c.flags & 0xFF) << c.what;
    EXPECT_EQ(ctx->ui->useGlobalMutex, c.useMutex) << c.what;
    EXPECT_EQ(CtxUsesGlobalMutex(ctx), c.useMutex) << c.what;
    EXPECT_EQ(ctx->ui->checkAdministrator, c.checkAdmin) << c.what;
    EXPECT_EQ(ctx->settings != nullptr, c.settings) << c.what;
    EXPECT_EQ(ctx->modelImage != nullptr, c.settings) << c.what;
    CtxRelease(ctx, kReleaseExpired);
  }
}

TEST_F(ContextTest, BareContextServesLookupsButHoldsNoSettings) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 4, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  EXPECT_EQ(ctx->settings, nullptr);
  SettingItem* item = ItemFind(ctx, kItem_zdmJobBinder);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(ItemStoragePtr(ctx, item), nullptr);
  CtxRelease(ctx, kReleasePark);  // a bare context parks like any other
  EXPECT_EQ(CtxCacheSlot(2, 0), ctx);
}

TEST_F(ContextTest, DriverVariantGivesTheCapabilityMask) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  EXPECT_EQ(ctx->ui->variantCapMask, 0u);
  EXPECT_EQ(CtxHasModelCap(ctx, 0xFFFFFFFF), 0);
  ctx->ui->variantCapMask = 0x6;
  EXPECT_EQ(CtxHasModelCap(ctx, 0x2), 1);
  EXPECT_EQ(CtxHasModelCap(ctx, 0x1), 0);
  EXPECT_EQ(CtxHasModelCap(nullptr, 0x2), 0);
  CtxRelease(ctx, kReleaseExpired);
}

TEST_F(ContextTest, ThePrinterInfoGivenIsUsedAndKept) {
  PRINTER_INFO_2W info = {};
  info.pPrinterName = Text(u"Given Name");
  info.pDriverName = Text(u"Other Driver");
  info.Attributes = 0x800;
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, &info);
  ASSERT_NE(ctx, nullptr);
  EXPECT_EQ(W(ctx->ui->printerName), u"Given Name");
  EXPECT_EQ(W(ctx->ui->driverName), u"Other Driver");
  EXPECT_EQ(ctx->ui->attributes, 0x800u);
  EXPECT_EQ(W(info.pPrinterName), u"Given Name");
  CtxRelease(ctx, kReleaseExpired);
}

TEST_F(ContextTest, InitialSettingsOwnTheirFontTables) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  // The tables the sample model gave at open go, the initial copies too (keeping the initial
  // settings again does not free them); the option fonts are left empty.
  StoreFreeFontTables(ctx);
  CtxFreeFontTables(ctx, CtxInitialSettingsBlock(ctx));
  const SHORT none = 0;
  memcpy(ValueIn(ctx, ctx->settings, kItem_zdmOptionFontNum), &none, 2);
  // Two device fonts of 68 bytes each, owned by the current settings.
  BYTE* fonts = static_cast<BYTE*>(MemAllocZero(2 * 68));
  ASSERT_NE(fonts, nullptr);
  fonts[4] = 'A';
  const SHORT count = 2;
  memcpy(ValueIn(ctx, ctx->settings, kItem_zdmDeviceFontNum), &count, 2);
  WriteDword(ValueIn(ctx, ctx->settings, kItem_zdmDeviceFont), static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(fonts)));

  CtxKeepInitialSettings(ctx);
  BYTE* initial = CtxInitialSettingsBlock(ctx);
  const BYTE* copy = reinterpret_cast<const BYTE*>(
      static_cast<ULONG_PTR>(ReadDword(ValueIn(ctx, initial, kItem_zdmDeviceFont))));
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, fonts);
  EXPECT_EQ(copy[4], 'A');
  // A table without entries is recorded as none.
  EXPECT_EQ(ReadDword(ValueIn(ctx, initial, kItem_zdmOptionFont)), 0u);

  // Released to be destroyed without freeing the current settings' tables: the duplicate goes
  // with the context (the leak checker sees it), the original stays with the test.
  CtxRelease(ctx, kReleaseKeepFonts);
  MemFree(fonts);
}

TEST_F(ContextTest, ReleaseReasonOneLeavesTheCurrentFontTables) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  StoreFreeFontTables(ctx);  // the sample model's tables, which the release would leave
  BYTE* fonts = static_cast<BYTE*>(MemAllocZero(68));
  ASSERT_NE(fonts, nullptr);
  fonts[4] = 'A';
  const SHORT count = 1;
  memcpy(ValueIn(ctx, ctx->settings, kItem_zdmDeviceFontNum), &count, 2);
  WriteDword(ValueIn(ctx, ctx->settings, kItem_zdmDeviceFont), static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(fonts)));
  CtxRelease(ctx, kReleaseKeepFonts);
  EXPECT_EQ(fonts[4], 'A');
  MemFree(fonts);
}

}  // namespace
}  // namespace zems_test
