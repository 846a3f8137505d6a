#include "support/test_variant.h"

#include "core/devmode/dm_layout.h"
#include "core/system/languages.h"
#include "core/store/item_store.h"

namespace {
// As the printer interface builds it: every step of the open runs.
const BuildVariant kDefault = {"test", 6, 1, 1u << 7, 1u << 0, 1, StoreLoadAtOpen,
                                ResGetInstalledLangCode, nullptr, 0, 0, 0, 0, 0, 0, 0, 0,
                                kDmStepCommonMark | kDmStepOptionBlock | kDmStepRetestCompanions |
                                    kDmStepJobControlFetch | kDmStepEnvCompanions | kDmStepResetWorkItems,
                                1, nullptr, 0, 0, 0};
BuildVariant g_variant = kDefault;
}  // namespace

const BuildVariant& BuildGetVariant() { return g_variant; }

namespace zems_test {
BuildVariant& TestVariant() { return g_variant; }
void ResetTestVariant() { g_variant = kDefault; }
}  // namespace zems_test
