#include "core/front/ui_busy.h"

// One per loaded deliverable, like every other piece of core state.
std::atomic<int> UiBusyFlag{0};
