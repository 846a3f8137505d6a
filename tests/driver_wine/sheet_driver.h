// Plays the user of a property sheet that a call on this thread opens modally: once the sheet
// shows, it notes each page's dialog id (and hands each page, shown in turn, to a callback),
// then presses OK or Cancel. A message box or sub-dialog the driver opens meanwhile is
// answered with the plan's next answer, or confirmed with OK. Windows API only.
#pragma once
#include <string>
#include <vector>

#include "platform/win32.h"

namespace sheet_driver {

struct Plan {
  int button = IDCANCEL;                // IDOK or IDCANCEL
  std::vector<int> pageIds;             // filled in: the pages' template ids, in order
  void (*onPage)(HWND page, int id, void* context) = nullptr;  // each page once it shows
  // Once the sheet shows, before the pages are walked: a user's steps on it.
  void (*onSheet)(HWND sheet, void* context) = nullptr;
  void* context = nullptr;
  std::vector<int> answers;             // the next message boxes' buttons, in order (then IDOK)
  std::vector<std::wstring> others;     // filled in: "title: text" of each other dialog confirmed
  bool done = false;
};

// Starts watching for the sheet (a thread timer, so the sheet's own message loop runs it).
void Start(Plan* plan);
// Stops watching.
void Stop();

}  // namespace sheet_driver
