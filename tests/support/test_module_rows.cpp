// The test programs dispatch through the printer interface's module rows unless a test picks
// another deliverable's (zems_test::UseModuleRows).
#include "core/modules/module_rows.h"
#include "support/test_variant.h"

namespace {
const bool g_rowsSet = (zems_test::SetDefaultModuleRows(kModuleRowsPrinterInterface), true);
}
