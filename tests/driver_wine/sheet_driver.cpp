#include "driver_wine/sheet_driver.h"

#include <commctrl.h>

namespace sheet_driver {

namespace {

Plan* g_plan = nullptr;
UINT_PTR g_timer = 0;

struct Found {
  HWND sheet = nullptr;
  std::vector<HWND> others;  // other dialogs of the thread: message boxes, sub-dialogs
};

BOOL CALLBACK FindWindows(HWND window, LPARAM data) {
  Found* found = reinterpret_cast<Found*>(data);
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (!IsWindowVisible(window) || lstrcmpW(cls, L"#32770") != 0) return TRUE;
  if (SendMessageW(window, PSM_GETTABCONTROL, 0, 0))
    found->sheet = window;
  else
    found->others.push_back(window);
  return TRUE;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_TIMER && msg.hwnd == nullptr) continue;  // not our own tick again
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  Plan* plan = g_plan;
  if (!plan) return;
  Found found;
  EnumThreadWindows(GetCurrentThreadId(), FindWindows, reinterpret_cast<LPARAM>(&found));
  // A message box or sub-dialog over the sheet is confirmed, its title and text noted.
  for (HWND other : found.others) {
    wchar_t title[256] = {}, text[1024] = {};
    GetWindowTextW(other, title, 256);
    GetDlgItemTextW(other, 0xFFFF, text, 1024);
    if (!text[0]) GetDlgItemTextW(other, 1088, text, 1024);
    plan->others.push_back(std::wstring(title) + L": " + text);
    int answer = IDOK;
    if (!plan->answers.empty()) {
      answer = plan->answers.front();
      plan->answers.erase(plan->answers.begin());
    }
    PostMessageW(other, WM_COMMAND, WPARAM(answer), 0);
  }
  if (!found.others.empty() || plan->done || !found.sheet) return;
  HWND sheet = found.sheet;
  plan->done = true;
  if (plan->onSheet) plan->onSheet(sheet, plan->context);
  HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  const int pages = int(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < pages; ++i) {
    const int id = int(SendMessageW(sheet, PSM_INDEXTOID, WPARAM(i), 0));
    plan->pageIds.push_back(id);
    if (plan->onPage) {
      SendMessageW(sheet, PSM_SETCURSEL, WPARAM(i), 0);
      Pump();
      HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
      if (page) {
        RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        plan->onPage(page, id, plan->context);
      }
    }
  }
  SendMessageW(sheet, PSM_PRESSBUTTON, plan->button == IDOK ? PSBTN_OK : PSBTN_CANCEL, 0);
}

}  // namespace

void Start(Plan* plan) {
  g_plan = plan;
  g_timer = SetTimer(nullptr, 0, 50, Tick);
}

void Stop() {
  if (g_timer) KillTimer(nullptr, g_timer);
  g_timer = 0;
  g_plan = nullptr;
}

}  // namespace sheet_driver
