// The recording behind the dialogs' drawing interface (not gdi32): DC tokens per window with the
// state a DC keeps, and the list of primitives drawn, for tests to read. Nothing is painted.
#include <string.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/sim.h"
#include "platform/sim/internal.h"

namespace winsim {
namespace {

struct DcToken {
  HWND window;
  bool deleted = false;
  SimDrawDcState state;
  std::vector<SimDrawDcState> saved;
};

std::recursive_mutex g_drawLock;
std::vector<SimDrawCall> g_drawCalls;
// Tokens are kept for the life of the recording: a handle stays unique and valid to ask about.
std::vector<std::unique_ptr<DcToken>> g_tokens;
std::map<HWND, HDC> g_windowDcs;
LONG g_advance = 7;
LONG g_height = 13;
LONG g_overhangA = 0;
LONG g_overhangC = 0;
COLORREF g_nearestMask = 0xFFFFFF;

SimDrawDcState FreshState() {
  SimDrawDcState s;
  s.textColour = 0;
  s.bkColour = 0xFFFFFF;
  s.bkMode = 2;  // OPAQUE
  s.font = NULL;
  s.bitmap = NULL;
  s.pen = NULL;
  s.brush = NULL;
  return s;
}

HDC NewToken(HWND window) {
  g_tokens.push_back(std::make_unique<DcToken>());
  DcToken* token = g_tokens.back().get();
  token->window = window;
  token->state = FreshState();
  return reinterpret_cast<HDC>(token);
}

DcToken* FindToken(HDC dc) {
  for (const std::unique_ptr<DcToken>& t : g_tokens)
    if (reinterpret_cast<HDC>(t.get()) == dc) return t.get();
  return nullptr;
}

}  // namespace

void DrawFakeForget() {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  g_drawCalls.clear();
  g_tokens.clear();
  g_windowDcs.clear();
  g_advance = 7;
  g_height = 13;
  g_overhangA = 0;
  g_overhangC = 0;
  g_nearestMask = 0xFFFFFF;
}

}  // namespace winsim

using namespace winsim;

void SimDrawRecord(const SimDrawCall* call) {
  if (!call) return;
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  SimDrawCall copy = *call;
  if (DcToken* t = FindToken(copy.dc)) copy.window = t->window;
  g_drawCalls.push_back(copy);
}

HDC SimDrawWindowDc(HWND window) {
  if (!window || !SimUiIsWindow(window)) return NULL;
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  auto it = g_windowDcs.find(window);
  if (it != g_windowDcs.end()) return it->second;
  HDC dc = NewToken(window);
  g_windowDcs[window] = dc;
  return dc;
}

HDC SimDrawFreeDc(void) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  return NewToken(NULL);
}

HWND SimDrawDcWindow(HDC dc) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  DcToken* t = FindToken(dc);
  return t ? t->window : NULL;
}

BOOL SimDrawGetDcState(HDC dc, SimDrawDcState* state) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  DcToken* t = FindToken(dc);
  if (!t || !state) return FALSE;
  *state = t->state;
  return TRUE;
}

BOOL SimDrawSetDcState(HDC dc, const SimDrawDcState* state) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  DcToken* t = FindToken(dc);
  if (!t || !state) return FALSE;
  t->state = *state;
  return TRUE;
}

int SimDrawSaveDcState(HDC dc) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  DcToken* t = FindToken(dc);
  if (!t) return 0;
  t->saved.push_back(t->state);
  return static_cast<int>(t->saved.size());
}

BOOL SimDrawRestoreDcState(HDC dc, int level) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  DcToken* t = FindToken(dc);
  if (!t) return FALSE;
  int count = static_cast<int>(t->saved.size());
  int target = level < 0 ? count + level + 1 : level;
  if (target < 1 || target > count) return FALSE;
  t->state = t->saved[target - 1];
  t->saved.resize(target - 1);
  return TRUE;
}

void SimDrawSetTextMetrics(LONG advance, LONG height) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  g_advance = advance;
  g_height = height;
}

void SimDrawGetTextMetrics(LONG* advance, LONG* height) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  if (advance) *advance = g_advance;
  if (height) *height = g_height;
}

void SimDrawSetCharOverhang(LONG a, LONG c) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  g_overhangA = a;
  g_overhangC = c;
}

void SimDrawGetCharOverhang(LONG* a, LONG* c) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  if (a) *a = g_overhangA;
  if (c) *c = g_overhangC;
}

void SimDrawSetNearestMask(COLORREF mask) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  g_nearestMask = mask;
}

COLORREF SimDrawNearestColour(COLORREF colour) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  return colour & g_nearestMask;
}

void SimDrawForgetDc(HDC dc) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  if (DcToken* t = FindToken(dc)) t->deleted = true;
}

BOOL SimDrawObjectSelected(HANDLE object) {
  if (!object) return FALSE;
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  for (const std::unique_ptr<DcToken>& t : g_tokens) {
    if (t->deleted) continue;
    const SimDrawDcState& s = t->state;
    if (s.font == object || s.bitmap == object || s.pen == object || s.brush == object) return TRUE;
  }
  return FALSE;
}

DWORD SimDrawCallCount(void) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  return static_cast<DWORD>(g_drawCalls.size());
}

BOOL SimDrawGetCall(DWORD index, SimDrawCall* call) {
  std::lock_guard<std::recursive_mutex> hold(g_drawLock);
  if (!call || index >= g_drawCalls.size()) return FALSE;
  *call = g_drawCalls[index];
  return TRUE;
}

void SimDrawReset(void) { DrawFakeForget(); }
