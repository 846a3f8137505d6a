// Fuzz target: any bytes as a DIALOGEX template, as the window fake reads the language DLL's
// dialogs. The reader either refuses them or answers a dialog whose every text and item came
// from inside the bytes; a crash or a sanitizer report is a finding.
#include <stdint.h>

#include "platform/sim/dialog_template.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  winsim::DialogTemplate dialog;
  if (!winsim::ReadDialogTemplate(data, size, &dialog)) return 0;
  volatile size_t sum = dialog.title.size() + dialog.typeface.size() + dialog.className.size();
  for (const winsim::DialogItemTemplate& item : dialog.items)
    sum = sum + item.text.size() + item.className.size() + item.id;
  if (dialog.items.size() > size_t(winsim::kMaxDialogItems)) __builtin_trap();
  return 0;
}
