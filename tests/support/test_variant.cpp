#include "support/test_variant.h"

#include "core/devmode/dm_layout.h"
#include "core/system/languages.h"
#include "core/store/item_store.h"
#include "core/context/module_bus.h"

namespace {
// As the printer interface builds it: every step of the open runs.
const BuildVariant kDefault = {"test", 6, 1, 1u << 7, 1u << 0, 1, StoreLoadAtOpen,
                                ResGetInstalledLangCode, nullptr, 0, 0, 0, 0, 0, 0, 0, 0,
                                kDmStepCommonMark | kDmStepOptionBlock | kDmStepRetestCompanions |
                                    kDmStepJobControlFetch | kDmStepEnvCompanions | kDmStepResetWorkItems,
                                1, nullptr, 0, 0, 0, 0};
BuildVariant g_variant = kDefault;
// Rows without callbacks for the programs that link no deliverable's table; the test support
// library puts the printer interface's in (test_module_rows.cpp).
const UiModuleEntry kNoModules[kModuleCount] = {{0, nullptr, nullptr, nullptr, nullptr}, {0, nullptr, nullptr, nullptr, nullptr},
                                              {0, nullptr, nullptr, nullptr, nullptr}, {0, nullptr, nullptr, nullptr, nullptr},
                                              {4, nullptr, nullptr, nullptr, nullptr}, {0, nullptr, nullptr, nullptr, nullptr},
                                              {0, nullptr, nullptr, nullptr, nullptr}, {0, nullptr, nullptr, nullptr, nullptr},
                                              {0, nullptr, nullptr, nullptr, nullptr}, {0, nullptr, nullptr, nullptr, nullptr}};
const UiModuleEntry* g_defaultRows = kNoModules;
const UiModuleEntry* g_moduleRows = kNoModules;
}  // namespace

const BuildVariant& BuildGetVariant() { return g_variant; }
const UiModuleEntry* BuildGetModuleRows() { return g_moduleRows; }

namespace zems_test {
BuildVariant& TestVariant() { return g_variant; }
void ResetTestVariant() {
  g_variant = kDefault;
  g_moduleRows = g_defaultRows;
}
void UseModuleRows(const UiModuleEntry* rows) { g_moduleRows = rows ? rows : g_defaultRows; }
void SetDefaultModuleRows(const UiModuleEntry* rows) { g_defaultRows = g_moduleRows = rows; }
}  // namespace zems_test
