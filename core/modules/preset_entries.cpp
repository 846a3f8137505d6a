// The preset list's entries without a window.
#include "core/modules/preset_entries.h"

#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/store/preset_store.h"
#include "core/store/store_keys.h"

namespace {

constexpr DWORD kKeyChars = 64;
constexpr DWORD kSectionChars = 261;
// Names are compared up to 259 characters (the dialogs' 260-character name buffers); the read
// takes one more, so that a longer key is seen as such and not compared by its cut head.
constexpr DWORD kNameRead = 261;
constexpr DWORD kNameLongest = 259;

int g_fileNameOffset = 0;  // process-wide, as the file dialogs keep it

// Key kind (1 name, 2 comment) of entry n, from the printer's section of its settings ini, into
// text; its length.
DWORD ReadEntryKey(DriverContext* ctx, int n, int kind, WCHAR* text, DWORD cchText) {
  text[0] = 0;
  WCHAR ini[kPathChars], printer[kSectionChars], key[kKeyChars];
  StoreCopySettingsIni(ctx, ini);
  if (!ini[0]) return 0;
  StoreCopyPrinterName(ctx, printer, kSectionChars);
  PresetKeyName(key, kKeyChars, n, kind);
  return IniReadString(printer, key, TEXT(""), text, cchText, ini);
}

// Entry n's name into name (kNameRead characters); false when it is too long to compare.
bool ReadName(DriverContext* ctx, int n, WCHAR* name) {
  return ReadEntryKey(ctx, n, 1, name, kNameRead) <= kNameLongest;
}

}  // namespace

int PresetFindByName(DriverContext* ctx, LPCWSTR name, int preferred) {
  if (!ctx || !ctx->ui || !name) return -1;
  const int count = PresetGetCount(ctx);  // bounded by the sixteen slots
  int found = -1;
  for (int i = 0; i < count; ++i) {
    WCHAR text[kNameRead];
    if (!ReadName(ctx, i, text) || !StrWideEqual(text, name)) continue;
    if (i == preferred) return i;
    if (found < 0) found = i;
  }
  return found;
}

int PresetCheckDuplicateName(DriverContext* ctx, HWND dialog) {
  if (!ctx || !ctx->ui) return -1;
  const int count = PresetGetCount(ctx);
  WCHAR names[kStoreLimitPresets][kNameRead];
  bool comparable[kStoreLimitPresets];
  for (int i = 0; i < count; ++i) comparable[i] = ReadName(ctx, i, names[i]);
  for (int i = 0; i < count; ++i) {
    if (!comparable[i]) continue;
    for (int j = i + 1; j < count; ++j) {
      if (!comparable[j] || !StrWideEqual(names[i], names[j])) continue;
      WuiPost(dialog, kPresetMsgDuplicate, WPARAM(j), 0);
      return j;
    }
  }
  return -1;
}

DWORD PresetReadEntryText(DriverContext* ctx, int n, int kind, WCHAR* buffer, DWORD cchBuffer) {
  if (!buffer || cchBuffer == 0) return 0;
  buffer[0] = 0;
  if (!ctx || !ctx->ui || (kind != 1 && kind != 2) || n < 0 || n >= PresetGetCount(ctx)) return 0;
  return ReadEntryKey(ctx, n, kind, buffer, cchBuffer);
}

WCHAR* PresetGetChosenFilePath(DriverContext* ctx) {
  return ctx && ctx->ui ? ctx->ui->presetChosenFile : nullptr;
}

void PresetSetFileNameOffset(int offset) { g_fileNameOffset = offset; }
int PresetGetFileNameOffset() { return g_fileNameOffset; }
