// What the window fake recorded of the message boxes shown since its reset.
#pragma once
#include "platform/sim.h"

namespace zems_test {

// The last message box shown; false (and an empty record) when none was.
bool LastMessageBox(SimUiCall* call);
// How many message boxes were shown.
int MessageBoxesShown();

}  // namespace zems_test
