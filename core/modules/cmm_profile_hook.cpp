// The colour-profile browse dialog's hook.
#include "core/modules/cmm_profile_hook.h"

#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/dialog_engine.h"
#include "core/modules/cmm_profiles.h"
#include "core/system/user_messages.h"

namespace {

constexpr int kNameEdit = 1152, kFolderList = 1121;
const WCHAR kBackslash[] = {'\\', 0};
constexpr int kFolderLines = 64;

class PathText {
 public:
  explicit PathText(WCHAR* path) : path_(path) { path_[0] = 0; }
  bool Put(LPCWSTR text, int count = -1) {
    for (int i = 0; text && text[i] && (count < 0 || i < count); ++i) {
      if (length_ >= kCmmPathChars - 1) return fits_ = false;
      path_[length_++] = text[i];
    }
    path_[length_] = 0;
    return fits_;
  }
  bool Fits() const { return fits_; }

 private:
  WCHAR* path_;
  int length_ = 0;
  bool fits_ = true;
};

bool HasWildcard(LPCWSTR text) {
  for (; *text; ++text)
    if (*text == '*' || *text == '?') return true;
  return false;
}

DriverContext* ContextOf(HWND window) { return reinterpret_cast<DriverContext*>(WuiGetSlot(window, DWL_USER)); }

UINT_PTR CheckProfile(DriverContext* ctx, HWND window) {
  DlgClearActionGuard(ctx, 0, 0, 0, 1);
  WCHAR name[kCmmPathChars] = {0};
  WuiGetText(WuiFindControl(window, kNameEdit), name, kCmmPathChars);
  if (HasWildcard(name)) return 0;
  HWND list = WuiFindControl(window, kFolderList);
  static WCHAR lines[kFolderLines][MAX_PATH];
  LPCWSTR folders[kFolderLines];
  int selected = list ? WuiChoiceSelection(list) : -1;
  if (selected >= kFolderLines) selected = kFolderLines - 1;
  const int count = list ? WuiChoiceCount(list) : 0;
  for (int i = 0; i < kFolderLines; ++i) {
    lines[i][0] = 0;
    if (i < count) WuiChoiceText(list, i, lines[i], MAX_PATH);
    folders[i] = lines[i];
  }
  WCHAR path[kCmmPathChars];
  if (!CmmJoinProfilePath(name, folders, selected, path) || !CmmCheckProfileHeader(path)) {
    UiWarnOk(ctx, window, kMessageNoProfile);
    return TRUE;
  }
  WuiSetText(WuiFindControl(window, kNameEdit), path);
  ctx->ui->front.okFlag = 1;
  return 0;
}

}  // namespace

int CmmJoinProfilePath(LPCWSTR name, const LPCWSTR* folders, int selected, WCHAR* path) {
  if (!path) return 0;
  PathText out(path);
  if (!name) return 0;
  const bool drive = name[0] && name[1] == ':';
  const bool unc = name[0] == '\\' && name[1] == '\\';
  if (drive || unc) {
    out.Put(name);
  } else if (name[0] == '\\') {
    // From the root of the listed folder's drive: "C:" of its first line.
    LPCWSTR first = folders ? folders[0] : nullptr;
    if (first && first[0] && first[1] == ':') out.Put(first, 2);
    out.Put(name);
  } else {
    for (int i = 0; folders && i <= selected; ++i) {
      out.Put(folders[i]);
      int n = 0;
      while (folders[i][n]) ++n;
      if (n == 0 || folders[i][n - 1] != '\\') out.Put(kBackslash);
    }
    out.Put(name);
  }
  if (!out.Fits()) path[0] = 0;
  return out.Fits() ? 1 : 0;
}

// Everything but the OK is the file dialogs' own hook: the context kept at the start, the help
// requests swallowed, the cancel and the file-type box.
UINT_PTR CALLBACK CmmProfileDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    DriverContext* ctx = ContextOf(window);
    if (ctx && ctx->ui) return CheckProfile(ctx, window);
  }
  return DlgFileDialogHook(window, message, wParam, lParam);
}
