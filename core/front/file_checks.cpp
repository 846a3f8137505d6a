// What the closing steps and the file dialogs check of a file name: the dialog's pattern, the
// name's extension against it, and whether the file is there.
#include "core/common/window_ui.h"
#include "core/front/dialog_engine.h"

namespace {

constexpr WORD kFileDialogKinds = 0xFF00;
constexpr WORD kKindImage = 0x0400, kKindOverlaySave = 0x0800, kKindOverlay = 0x1000, kKindColourData = 0x4000;

WCHAR Upper(WCHAR c) { return c >= 'a' && c <= 'z' ? static_cast<WCHAR>(c - 'a' + 'A') : c; }

}  // namespace

int DlgIsFileDialog(const DlgPageRecord* page) { return page && (page->kind & kFileDialogKinds) ? 1 : 0; }

LPCWSTR DlgGetFileFilter(const DlgPageRecord* page) {
  const WORD kind = page ? page->kind : 0;
  if (kind & kKindColourData) {
    // The colour-data dialog lists every file when its type choice is not the first.
    HWND types = page->window ? WuiFindControl(page->window, 1136) : NULL;
    return types && WuiChoiceSelection(types) > 0 ? TEXT("*.*") : TEXT("*.vtc");
  }
  if (kind & kKindImage) return TEXT("*.bmp");
  if ((kind & (kKindOverlaySave | kKindOverlay)) || (page && page->dialogId == 1037)) return TEXT("*.zvl");
  return TEXT("*.rst");
}

int DlgMatchFileExtension(const DlgPageRecord* page, LPCWSTR lastFour) {
  LPCWSTR pattern = DlgGetFileFilter(page);
  if (pattern[2] == '*') return 1;
  if (!lastFour || lastFour[0] != '.') return 0;
  for (int i = 0; i < 3; ++i) {
    const WCHAR want = pattern[2 + i], got = lastFour[1 + i];
    if (got != want && Upper(got) != Upper(want)) return 0;
  }
  return 1;
}

int DlgFileExists(LPCWSTR path) {
  if (!path || !path[0]) return 0;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(file);
  return 1;
}
