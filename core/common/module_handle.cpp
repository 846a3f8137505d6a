// The module handle kept at process attach, for loading the deliverable's own resources.
#include "core/common/module_handle.h"

namespace {
HINSTANCE g_module = nullptr;
}

HINSTANCE ResModuleHandle() { return g_module; }
void ResSetModuleHandle(HINSTANCE module) { g_module = module; }
