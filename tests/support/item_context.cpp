// A driver context for item tests, made by hand from the catalogue.
#include "support/item_context.h"

#include <string.h>

#include "core/context/settings_snapshot.h"
#include "core/context/ui_state.h"

namespace zems_test {

namespace {

// The private header's three area-offset words: DEVMODE area, extension area, work area.
void StampAreas(std::vector<BYTE>& block) {
  block.assign(kSettingsBlockSize, 0);
  const WORD words[3] = {0, static_cast<WORD>(kDevmodeAreaSize),
                         static_cast<WORD>(kDevmodeAreaSize + kExtensionAreaSize)};
  memcpy(block.data() + kDmAreaOffsetWords, words, sizeof words);
  const WORD public_size = 220;  // dmSize of the NT public part
  memcpy(block.data() + 68, &public_size, sizeof public_size);
}

}  // namespace

void ItemContextTest::SetUp() {
  MachineTest::SetUp();
  StampAreas(settings_);
  StampAreas(initial_);
  ui_ = new UiState{};
  model_ = *TblGetModelRecord();
  ctx_ = DriverContext{};
  ctx_.items = ItemTableCreate();
  ASSERT_NE(nullptr, ctx_.items);
  ctx_.settings = settings_.data();
  ctx_.model = &model_;
  ui_->initialSettings = initial_.data();
  ctx_.ui = ui_;
}

void ItemContextTest::TearDown() {
  CtxSnapshotFreeAll(&ctx_);
  ItemTableFree(ctx_.items);
  delete ui_;
  MachineTest::TearDown();
}

SettingItem* ItemContextTest::Item(WORD id) {
  SettingItem* item = ItemFind(&ctx_, id);
  EXPECT_NE(nullptr, item) << "item " << id;
  return item;
}

LONG ItemContextTest::ModifiedFlag() const { return ui_->modified; }


}  // namespace zems_test
