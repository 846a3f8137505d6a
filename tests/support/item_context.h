// A driver context for item tests: the catalogue's item table, a stamped zero settings block
// with its initial copy, a UI state and a copy of the model record, without any printer.
#pragma once
#include <gtest/gtest.h>

#include <vector>

#include "core/context/driver_context.h"
#include "core/items/item_table.h"
#include "core/tables/model_record.h"
#include "core/context/ui_state.h"
#include "support/machine_fixture.h"

namespace zems_test {

class ItemContextTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  DriverContext* ctx() { return &ctx_; }
  // The context's row of an item; fails the test when the id is not an item.
  SettingItem* Item(WORD id);
  LONG ModifiedFlag() const;
  // The context's own copy of the model record and its UI state, for tests that change them.
  ModelRecord* Model() { return &model_; }
  UiState* Ui() { return ui_; }

 private:
  DriverContext ctx_{};
  std::vector<BYTE> settings_;
  std::vector<BYTE> initial_;
  UiState* ui_ = nullptr;
  ModelRecord model_{};
};

}  // namespace zems_test
