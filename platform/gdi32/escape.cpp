// ExtEscape: the escapes an application or driver sends to a printer DC. A print session's DC
// hands them to its driver's DrvEscape; on any other DC each escape is recorded (DC, code,
// input bytes) for tests and answered 0.
#include <mutex>
#include <string>
#include <vector>

#include "platform/gdi32/engine_internal.h"
#include "platform/sim.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace {

struct Escape {
  HDC dc;
  int code;
  std::string input;
};

std::mutex g_lock;
std::vector<Escape> g_escapes;

void ForgetEscapes() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_escapes.clear();
}

// A new machine starts without escapes.
struct ResetRegistration {
  ResetRegistration() { winsim::RegisterResetHook(ForgetEscapes); }
} g_resetRegistration;

}  // namespace

// Simplified: outside a print session no driver receives the escape; the answer is 0 ("not
// implemented").
WINSIM_API int WINAPI ExtEscape(HDC hdc, int iEscape, int cjInput, LPCSTR lpInData, int cjOutput, LPSTR lpOutData) {
  int answer = 0;
  if (winsim::EngineSessionEscape(hdc, iEscape, cjInput, lpInData, cjOutput, lpOutData, &answer)) return answer;
  WINSIM_SIMPLIFIED("ExtEscape", "records the escape of a DC without a driver and answers 0");
  std::lock_guard<std::mutex> hold(g_lock);
  Escape e{hdc, iEscape, std::string()};
  if (lpInData && cjInput > 0) e.input.assign(lpInData, size_t(cjInput));
  g_escapes.push_back(std::move(e));
  return 0;
}

DWORD SimEscapeCount(void) {
  std::lock_guard<std::mutex> hold(g_lock);
  return DWORD(g_escapes.size());
}

int SimGetEscape(DWORD index, HDC* dc, int* code, void* input, int cbInput) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (index >= g_escapes.size()) return -1;
  const Escape& e = g_escapes[index];
  if (dc) *dc = e.dc;
  if (code) *code = e.code;
  int n = int(e.input.size());
  if (input && cbInput > 0) e.input.copy(static_cast<char*>(input), size_t(n < cbInput ? n : cbInput));
  return n;
}

void SimClearEscapes(void) { ForgetEscapes(); }
