// The window interface's fake property sheets (not comctl32 and compstui): pages are
// descriptions kept by handle, and the common property-sheet UI runs a sheet's callback through
// its reasons, shows the pages it added as dialogs of the fake, lets the scenario act through
// the sheet hook, then confirms or cancels the sheet as scripted and ends it.
#include <stdio.h>
#include <string.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

struct FakePage {
  PROPSHEETPAGEW description;
  std::u16string templateName;  // a template named by text; the description points here
};

struct SheetRun {
  std::vector<HPROPSHEETPAGE> pages;
};

std::recursive_mutex g_sheetLock;
std::vector<std::unique_ptr<FakePage>> g_pages;  // every page made since the last reset
bool g_missing = false;
int g_nextAnswer = IDCANCEL;
std::vector<LPARAM> g_results;      // CPSFUNC_SET_RESULT values of the sheets run
std::vector<int> g_lastTemplates;   // template ids of the pages the last sheet showed
std::u16string g_lastTitle;
std::vector<HWND> g_shownPages;     // the page windows of the sheet being shown
void (*g_sheetHook)(HWND, void*) = NULL;
void* g_sheetContext = NULL;

FakePage* PageOf(HPROPSHEETPAGE handle) {
  for (const std::unique_ptr<FakePage>& page : g_pages)
    if (reinterpret_cast<HPROPSHEETPAGE>(page.get()) == handle) return page.get();
  return NULL;
}

LONG_PTR CALLBACK ComPropSheet(HANDLE sheet, UINT function, LPARAM first, LPARAM second) {
  SheetRun* run = static_cast<SheetRun*>(sheet);
  std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
  switch (function) {
    case CPSFUNC_ADD_HPROPSHEETPAGE: {
      HPROPSHEETPAGE page = reinterpret_cast<HPROPSHEETPAGE>(first);
      if (!run || !PageOf(page)) return 0;
      run->pages.push_back(page);
      return 1;
    }
    case CPSFUNC_SET_RESULT:
      // Recorded; the answer is 0, as the common property-sheet UI under Wine gives it.
      g_results.push_back(second);
      return 0;
    default:
      WINSIM_SIMPLIFIED("CommonPropertySheetUIW", "its sheet function answers only ADD_HPROPSHEETPAGE and SET_RESULT");
      return 0;
  }
}

int TemplateIdOf(const PROPSHEETPAGEW& page) {
  if (page.dwFlags & PSP_DLGINDIRECT) return 0;
  ULONG_PTR value = reinterpret_cast<ULONG_PTR>(page.pszTemplate);
  return value <= 0xFFFF ? static_cast<int>(value) : 0;
}

void Notify(HWND page, UINT code) {
  PSHNOTIFY note = {};
  note.hdr.hwndFrom = SimUiParent(page) ? SimUiParent(page) : page;
  note.hdr.idFrom = 0;
  note.hdr.code = code;
  SimUiSend(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
}

// The shown pages of a sheet: the test's hook runs while they are up, then the scripted answer
// applies or resets every page and the pages and their frame are destroyed.
void PlayShownPages(HWND frame, const std::vector<HWND>& windows, int answer) {
  // A sheet opened from a page of another: once it ends, the pages below are the shown ones.
  std::vector<HWND> below;
  {
    std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
    below = g_shownPages;
    g_shownPages = windows;
  }
  void (*hook)(HWND, void*) = NULL;
  void* context = NULL;
  {
    std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
    hook = g_sheetHook;
    context = g_sheetContext;
  }
  // The sheet's message loop handles what the pages posted while they were made and shown
  // before a user can act on them.
  SimUiPump();
  if (hook) hook(frame, context);
  SimUiPump();
  for (HWND window : windows)
    if (window && SimUiIsWindow(window)) Notify(window, answer == IDOK ? PSN_APPLY : PSN_RESET);
  for (HWND window : windows)
    if (window && SimUiIsWindow(window)) SimUiDestroy(window);
  if (frame) SimUiDestroy(frame);
  {
    std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
    g_shownPages = below;
  }
}

}  // namespace

void SheetFakeForget() {
  std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
  g_pages.clear();
  g_missing = false;
  g_nextAnswer = IDCANCEL;
  g_results.clear();
  g_lastTemplates.clear();
  g_lastTitle.clear();
  g_sheetHook = NULL;
  g_sheetContext = NULL;
  g_shownPages.clear();
}

}  // namespace winsim

using namespace winsim;

HPROPSHEETPAGE SimUiCreatePropertyPage(const PROPSHEETPAGEW* page) {
  if (!page || page->dwSize < 40) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return NULL;
  }
  auto made = std::make_unique<FakePage>();
  memset(&made->description, 0, sizeof made->description);
  memcpy(&made->description, page, page->dwSize < sizeof(PROPSHEETPAGEW) ? page->dwSize : sizeof(PROPSHEETPAGEW));
  if (!(page->dwFlags & PSP_DLGINDIRECT) && reinterpret_cast<ULONG_PTR>(page->pszTemplate) > 0xFFFF) {
    made->templateName = page->pszTemplate;
    made->description.pszTemplate = reinterpret_cast<LPCWSTR>(made->templateName.c_str());
  }
  std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
  HPROPSHEETPAGE handle = reinterpret_cast<HPROPSHEETPAGE>(made.get());
  g_pages.push_back(std::move(made));
  return handle;
}

LONG SimUiCommonPropertySheet(HWND owner, SheetUiCallback callback, LPARAM lParam, DWORD* result) {
  WINSIM_SIMPLIFIED("CommonPropertySheetUIW",
                    "runs one sheet callback (no nested callbacks), without GET_ICON, BEFORE_INIT or SET_RESULT "
                    "reasons; shows every page at once; the scripted answer ends the sheet after the sheet hook");
  int answer = IDCANCEL;
  {
    std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
    if (g_missing) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return ERR_CPSUI_GETLASTERROR;
    }
    answer = g_nextAnswer;
    g_nextAnswer = IDCANCEL;
    g_lastTemplates.clear();
    g_lastTitle.clear();
  }
  if (!callback) return ERR_CPSUI_GETLASTERROR;
  SheetRun run;
  PROPSHEETUI_INFO info = {};
  info.cbSize = sizeof info;
  info.Version = PROPSHEETUI_INFO_VERSION;
  info.Reason = PROPSHEETUI_REASON_INIT;
  info.hComPropSheet = &run;
  info.pfnComPropSheet = ComPropSheet;
  info.lParamInit = lParam;
  info.Result = CPSUI_CANCEL;
  if (callback(&info, lParam) <= 0) return ERR_CPSUI_GETLASTERROR;

  PROPSHEETUI_INFO_HEADER header = {};
  header.cbSize = sizeof header;
  header.hWndParent = owner;
  info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
  callback(&info, reinterpret_cast<LPARAM>(&header));

  // The sheet's frame and one dialog per page, each page procedure given its description.
  HWND frame = SimUiMakeWindow(TEXT("#32770"), NULL, 0, WS_VISIBLE);
  if (frame && header.pTitle) SimUiSetText(frame, header.pTitle);
  std::vector<HWND> windows;
  for (HPROPSHEETPAGE handle : run.pages) {
    PROPSHEETPAGEW description;
    {
      std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
      FakePage* page = PageOf(handle);
      if (!page) continue;
      description = page->description;
      g_lastTemplates.push_back(TemplateIdOf(description));
      if (header.pTitle) g_lastTitle = header.pTitle;
    }
    int templateId = TemplateIdOf(description);
    FakePage* kept = NULL;
    {
      std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
      kept = PageOf(handle);
    }
    HWND window = templateId ? SimUiCreateDialog(description.hInstance, templateId, frame, description.pfnDlgProc,
                                                 reinterpret_cast<LPARAM>(&kept->description))
                             : NULL;
    if (!window) fprintf(stderr, "SimUi: property page %d could not be made\n", templateId);
    windows.push_back(window);
  }
  // Every page is shown at once, each told it is the active one (a sheet shows one at a time).
  for (HWND window : windows) {
    if (!window) continue;
    SimUiShow(window, SW_SHOW);
    Notify(window, PSN_SETACTIVE);
  }
  PlayShownPages(frame, windows, answer);

  info.Reason = PROPSHEETUI_REASON_DESTROY;
  callback(&info, answer == IDOK ? 1 : 0);
  if (result) *result = static_cast<DWORD>(info.Result);
  return 1;
}

// A property sheet of comctl32 (PropertySheetW), shown as the common UI shows its pages.
INT_PTR winsim::SheetFakeRunPages(const PROPSHEETHEADERW* header) {
  WINSIM_SIMPLIFIED("PropertySheetW", "shows every page at once; the scripted answer ends the sheet after the sheet hook");
  int answer = IDCANCEL;
  {
    std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
    answer = g_nextAnswer;
    g_nextAnswer = IDCANCEL;
    g_lastTemplates.clear();
    g_lastTitle = header->pszCaption ? header->pszCaption : u"";
  }
  HWND frame = SimUiMakeWindow(TEXT("#32770"), NULL, 0, WS_VISIBLE);
  if (frame && header->pszCaption) SimUiSetText(frame, header->pszCaption);
  std::vector<PROPSHEETPAGEW> descriptions;
  for (UINT i = 0; header->ppsp && i < header->nPages; ++i) descriptions.push_back(header->ppsp[i]);
  std::vector<HWND> windows;
  for (PROPSHEETPAGEW& description : descriptions) {
    const int templateId = TemplateIdOf(description);
    {
      std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
      g_lastTemplates.push_back(templateId);
    }
    HWND window = templateId ? SimUiCreateDialog(description.hInstance, templateId, frame, description.pfnDlgProc,
                                                 reinterpret_cast<LPARAM>(&description))
                             : NULL;
    windows.push_back(window);
  }
  for (HWND window : windows)
    if (window) Notify(window, PSN_SETACTIVE);
  PlayShownPages(frame, windows, answer);
  return answer == IDOK ? 1 : 0;
}

void SimUiScriptSheet(int answer) {
  std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
  g_nextAnswer = answer;
}

void SimUiSetCommonSheetMissing(BOOL missing) {
  std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
  g_missing = missing != FALSE;
}

void SimUiSetSheetHook(void (*hook)(HWND sheet, void* context), void* context) {
  std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
  g_sheetHook = hook;
  g_sheetContext = context;
}

int SimUiLastSheetPages(int* templateIds, int capacity) {
  std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
  const int count = static_cast<int>(g_lastTemplates.size());
  for (int i = 0; templateIds && i < count && i < capacity; ++i) templateIds[i] = g_lastTemplates[i];
  return count;
}

int SimUiSheetResults(LPARAM* results, int capacity) {
  std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
  const int count = static_cast<int>(g_results.size());
  for (int i = 0; results && i < count && i < capacity; ++i) results[i] = g_results[i];
  return count;
}

HWND SimUiSheetPage(int index) {
  std::lock_guard<std::recursive_mutex> hold(g_sheetLock);
  return index >= 0 && index < static_cast<int>(g_shownPages.size()) ? g_shownPages[index] : NULL;
}
