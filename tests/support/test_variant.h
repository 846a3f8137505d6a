// The build switches the test programs link in place of a deliverable's. Tests may change the
// switches and restore them with ResetTestVariant.
#pragma once
#include "core/tables/build_switches.h"

struct UiModuleEntry;

namespace zems_test {
BuildVariant& TestVariant();
void ResetTestVariant();
// The module rows contexts opened from now on get (null: the default rows, the printer
// interface's in the test programs).
void UseModuleRows(const UiModuleEntry* rows);
void SetDefaultModuleRows(const UiModuleEntry* rows);
}  // namespace zems_test
