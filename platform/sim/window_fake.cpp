// The recording fake behind the dialogs' window interface. No window exists on this machine:
// a control is found only when a test declared it, a focus change and a message box are
// recorded, and a message box answers what the test scripted (IDOK otherwise).
#include <mutex>
#include <vector>

#include "platform/sim.h"
#include "platform/sim/internal.h"

namespace winsim {
namespace {

struct DeclaredControl {
  HWND page;
  int id;
  HWND control;
};

std::mutex g_uiLock;
std::vector<DeclaredControl> g_controls;
std::vector<int> g_answers;  // scripted answers, consumed from the front
std::vector<SimUiCall> g_calls;

void CopyCut(WCHAR* to, size_t capacity, LPCWSTR from) {
  size_t n = 0;
  if (from)
    while (n + 1 < capacity && from[n]) {
      to[n] = from[n];
      ++n;
    }
  to[n] = 0;
}

void ForgetAll() {
  std::lock_guard<std::mutex> hold(g_uiLock);
  g_controls.clear();
  g_answers.clear();
  g_calls.clear();
}

struct ResetRegistration {
  ResetRegistration() { RegisterResetHook(ForgetAll); }
} g_reset;

}  // namespace
}  // namespace winsim

using namespace winsim;

void SimUiDeclareControl(HWND page, int controlId, HWND control) {
  std::lock_guard<std::mutex> hold(g_uiLock);
  for (size_t i = 0; i < g_controls.size(); ++i)
    if (g_controls[i].page == page && g_controls[i].id == controlId) {
      if (control)
        g_controls[i].control = control;
      else
        g_controls.erase(g_controls.begin() + (long)i);
      return;
    }
  if (control) g_controls.push_back(DeclaredControl{page, controlId, control});
}

HWND SimUiFindControl(HWND page, int controlId) {
  std::lock_guard<std::mutex> hold(g_uiLock);
  if (!page) return NULL;
  for (const DeclaredControl& c : g_controls)
    if (c.page == page && c.id == controlId) return c.control;
  return NULL;
}

HWND SimUiSetFocus(HWND control) {
  std::lock_guard<std::mutex> hold(g_uiLock);
  SimUiCall call = {};
  call.kind = kSimUiSetFocus;
  call.window = control;
  g_calls.push_back(call);
  return NULL;  // no window had the focus before
}

int SimUiMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
  std::lock_guard<std::mutex> hold(g_uiLock);
  SimUiCall call = {};
  call.kind = kSimUiMessageBox;
  call.window = owner;
  call.style = style;
  call.answer = IDOK;
  if (!g_answers.empty()) {
    call.answer = g_answers.front();
    g_answers.erase(g_answers.begin());
  }
  CopyCut(call.text, sizeof call.text / sizeof call.text[0], text);
  CopyCut(call.caption, sizeof call.caption / sizeof call.caption[0], caption);
  g_calls.push_back(call);
  return call.answer;
}

void SimUiScriptAnswers(const int* answers, int count) {
  std::lock_guard<std::mutex> hold(g_uiLock);
  g_answers.clear();
  for (int i = 0; answers && i < count; ++i) g_answers.push_back(answers[i]);
}

DWORD SimUiCallCount(void) {
  std::lock_guard<std::mutex> hold(g_uiLock);
  return (DWORD)g_calls.size();
}

BOOL SimUiGetCall(DWORD index, SimUiCall* call) {
  std::lock_guard<std::mutex> hold(g_uiLock);
  if (!call || index >= g_calls.size()) return FALSE;
  *call = g_calls[index];
  return TRUE;
}

void SimUiReset(void) { ForgetAll(); }
