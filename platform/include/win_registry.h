// Declarations of the simulated machine (Linux build only; mingw uses the SDK).
#pragma once
#include "platform/include/win_base.h"
