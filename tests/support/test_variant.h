// The build switches the test programs link in place of a deliverable's. Tests may change the
// switches and restore them with ResetTestVariant.
#pragma once
#include "core/tables/build_switches.h"

namespace zems_test {
BuildVariant& TestVariant();
void ResetTestVariant();
}  // namespace zems_test
