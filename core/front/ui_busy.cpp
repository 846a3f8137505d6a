#include "core/front/ui_busy.h"

namespace zems {

// One per loaded deliverable, like every other piece of core state.
int UiBusyFlag = 0;

}  // namespace zems
