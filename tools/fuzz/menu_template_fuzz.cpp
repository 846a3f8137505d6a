// Fuzz target: any bytes as a MENU template, as the window fake reads the language DLL's popup
// menus. The reader either refuses them or answers items that all came from inside the bytes,
// within its bounds of depth and count; a crash or a sanitizer report is a finding.
#include <stdint.h>

#include "platform/sim/dialog_template.h"

namespace {
// Items in all; a level that holds items deeper than the reader's bound is a finding.
int Count(const std::vector<winsim::MenuItemTemplate>& items, int depth) {
  if (!items.empty() && depth > winsim::kMaxMenuDepth) __builtin_trap();
  int n = 0;
  for (const winsim::MenuItemTemplate& item : items) n += 1 + Count(item.items, depth + 1);
  return n;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  std::vector<winsim::MenuItemTemplate> menu;
  if (!winsim::ReadMenuTemplate(data, size, &menu)) return 0;
  if (Count(menu, 1) > winsim::kMaxMenuItems) __builtin_trap();
  return 0;
}
