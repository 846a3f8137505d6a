// What the window fake recorded of the message boxes shown since its reset.
#pragma once
#include <string>
#include <vector>

#include "platform/sim.h"

namespace zems_test {

// The last message box shown; false (and an empty record) when none was.
bool LastMessageBox(SimUiCall* call);
// How many message boxes were shown.
int MessageBoxesShown();
// The texts of the message boxes shown since the fake's call count was `mark`, in order.
std::vector<std::u16string> MessageBoxTextsSince(DWORD mark);

}  // namespace zems_test
