// Stand-in for the printer's communication library ("ov4manNT.dll", also "ovoman32.dll"). Its
// export OrvelInitializeBidiApiW fills a 60-byte block: two words, then 13 entry points, of
// which slots 0-4, 6 and 7 answer and the others log an unexpected call. Scripted per printer
// by <root>/stand-ins/ov4mannt.printers, read at every call, one "<printer>\t<key>\t<value>" per
// line (format in the README's conventions):
//   reachable 0|1        slot 0 succeeds (default 1)      ready 0|1   its ready flag (default 1)
//   model TEXT           slot 4's model name (cut to the characters asked, unterminated when
//                        it fills them)
//   begin R E, group R E results of slots 2 and 3 and the last error they leave (default 1 0;
//                        without E the last error is left as it was)
//   info<code> HEX       the bytes of information <code>  item<code> HEX  of group item <code>
//   claim<code> N        the size query of information <code> claims N bytes
//   count<code> N        the entry count slot 6 returns for <code> (default bytes / 4)
//   fail<code> 1         the second call of information <code> returns -1
//   deny<code> 1         the size query of group item <code> fails with last error 5
//   delay MS             every call of the printer sleeps this long first
//   stale CODE           slots 4 and 6 leave this last error behind
// Every call is appended to ov4mannt.log with its arguments and answer.
#include <stdint.h>
#include <string.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "samples/modules/stand_in_script.h"

namespace {

constexpr char kLog[] = "ov4mannt.log";
constexpr char kScript[] = "ov4mannt.printers";

std::mutex g_lock;  // the handle table and the log, shared by the threads of a process
std::map<uintptr_t, std::string> g_handles;
uintptr_t g_next = 0x100;

void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Log(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::lock_guard<std::mutex> hold(g_lock);
  stand_in::Log(kLog, "%s", line);
}

// The script value of a printer's key; false when there is none.
bool Value(const std::string& printer, const std::string& key, std::string* value) {
  for (const std::string& line : stand_in::Lines(kScript)) {
    size_t a = line.find('\t'), b = a == std::string::npos ? a : line.find('\t', a + 1);
    if (b == std::string::npos) continue;
    if (line.compare(0, a, printer) == 0 && line.compare(a + 1, b - a - 1, key) == 0) {
      *value = line.substr(b + 1);
      return true;
    }
  }
  return false;
}

unsigned long Number(const std::string& printer, const std::string& key, unsigned long def) {
  std::string v;
  return Value(printer, key, &v) ? strtoul(v.c_str(), nullptr, 0) : def;
}

// "R E": the result and the last error left; without E the last error is not touched (-1).
void Pair(const std::string& printer, const std::string& key, unsigned long* result, long* error) {
  std::string v;
  *result = 1;
  *error = 0;
  if (Value(printer, key, &v) && sscanf(v.c_str(), "%lu %ld", result, error) == 1) *error = -1;
}

HANDLE NewHandle(const std::string& printer) {
  std::lock_guard<std::mutex> hold(g_lock);
  uintptr_t h = g_next++;
  g_handles[h] = printer;
  return reinterpret_cast<HANDLE>(h);
}

std::string PrinterOf(HANDLE handle) {
  std::lock_guard<std::mutex> hold(g_lock);
  auto it = g_handles.find(reinterpret_cast<uintptr_t>(handle));
  return it == g_handles.end() ? std::string() : it->second;
}

void Slow(const std::string& printer) {
  unsigned long ms = Number(printer, "delay", 0);
  if (ms) usleep(useconds_t(ms * 1000));
}

// Slots 4 and 6 set no last error of their own; a script may have them leave one behind.
void LeaveStale(const std::string& printer) {
  std::string stale;
  if (Value(printer, "stale", &stale)) SetLastError(DWORD(strtoul(stale.c_str(), nullptr, 0)));
}

BOOL WINAPI SlotOpenPrinter(LPCWSTR name, HANDLE* printer, DWORD* ready) {
  std::string p = stand_in::Utf8(name);
  Slow(p);
  BOOL r = Number(p, "reachable", 1) ? TRUE : FALSE;
  DWORD isReady = r ? DWORD(Number(p, "ready", 1)) : 0;
  if (r && printer) *printer = NewHandle(p);
  if (ready) *ready = isReady;
  Log("slot0 printer=\"%s\" -> %d ready=%lu", p.c_str(), r, (unsigned long)isReady);
  return r;
}

BOOL WINAPI SlotClosePrinter(HANDLE printer) {
  std::string p = PrinterOf(printer);
  {
    std::lock_guard<std::mutex> hold(g_lock);
    g_handles.erase(reinterpret_cast<uintptr_t>(printer));
  }
  Log("slot1 printer=\"%s\"", p.c_str());
  return TRUE;
}

BOOL WINAPI SlotBeginQuery(HANDLE printer, HANDLE* query, DWORD flags, DWORD* out) {
  std::string p = PrinterOf(printer);
  Slow(p);
  unsigned long r;
  long e;
  Pair(p, "begin", &r, &e);
  if (query) *query = NewHandle(p);
  if (out) *out = 0;
  Log("slot2 printer=\"%s\" flags=0x%lx -> %lu error=%ld", p.c_str(), (unsigned long)flags, r, e);
  if (e >= 0) SetLastError(DWORD(e));
  return r ? TRUE : FALSE;
}

BOOL WINAPI SlotOpenGroup(HANDLE printer, HANDLE* group, DWORD id, DWORD one) {
  std::string p = PrinterOf(printer);
  Slow(p);
  unsigned long r;
  long e;
  Pair(p, "group", &r, &e);
  if (group) *group = NewHandle(p);
  Log("slot3 printer=\"%s\" group=%lu one=%lu -> %lu error=%ld", p.c_str(), (unsigned long)id, (unsigned long)one, r,
      e);
  if (e >= 0) SetLastError(DWORD(e));
  return r ? TRUE : FALSE;
}

BOOL WINAPI SlotGetModelName(HANDLE printer, DWORD zero, LPWSTR buffer, DWORD chars) {
  std::string p = PrinterOf(printer);
  Slow(p);
  std::string model;
  BOOL r = Value(p, "model", &model) ? TRUE : FALSE;
  if (r && buffer) {
    // Never beyond the characters asked; a name that fills them stays unterminated.
    DWORD n = 0;
    for (; n < chars && n < model.size(); ++n) buffer[n] = WCHAR((unsigned char)model[n]);
    if (n < chars) buffer[n] = 0;
  }
  Log("slot4 printer=\"%s\" zero=%lu chars=%lu -> %d", p.c_str(), (unsigned long)zero, (unsigned long)chars, r);
  LeaveStale(p);
  return r;
}

LONG WINAPI SlotGetInformation(HANDLE query, DWORD code, void* buffer, DWORD size, DWORD* needed) {
  std::string p = PrinterOf(query);
  Slow(p);
  const std::string c = std::to_string(code);
  std::string hex;
  LONG r = 0;
  DWORD answered = 0;
  if (Value(p, "info" + c, &hex)) {
    std::vector<unsigned char> data = stand_in::FromHex(hex);
    answered = DWORD(data.size());
    r = LONG(Number(p, "count" + c, data.size() / 4));
    if (!buffer) {
      answered = DWORD(Number(p, "claim" + c, answered));
    } else if (Number(p, "fail" + c, 0)) {
      r = -1;
    } else {
      if (!data.empty()) memcpy(buffer, data.data(), data.size() < size ? data.size() : size);
    }
  }
  if (needed) *needed = answered;
  Log("slot6 printer=\"%s\" code=%lu buffer=%s size=%lu -> %ld needed=%lu", p.c_str(), (unsigned long)code,
      buffer ? "set" : "null", (unsigned long)size, (long)r, (unsigned long)answered);
  LeaveStale(p);
  return r;
}

BOOL WINAPI SlotGetGroupItem(HANDLE group, DWORD id, DWORD item, void* buffer, DWORD size, DWORD* needed) {
  std::string p = PrinterOf(group);
  Slow(p);
  const std::string c = std::to_string(item);
  std::string hex;
  BOOL r = TRUE;
  DWORD answered = 0, error = 0;
  if (Value(p, "item" + c, &hex)) {
    std::vector<unsigned char> data = stand_in::FromHex(hex);
    answered = DWORD(data.size());
    if (!buffer && Number(p, "deny" + c, 0)) {
      r = FALSE;
      error = 5;
    } else if (buffer) {
      if (!data.empty()) memcpy(buffer, data.data(), data.size() < size ? data.size() : size);
    }
  }
  if (needed) *needed = answered;
  Log("slot7 printer=\"%s\" group=%lu item=%lu buffer=%s size=%lu -> %d needed=%lu", p.c_str(), (unsigned long)id,
      (unsigned long)item, buffer ? "set" : "null", (unsigned long)size, r, (unsigned long)answered);
  SetLastError(error);
  return r;
}

// The slots the driver never calls: they take no arguments, so that a stray call is logged
// and answered without touching the caller's stack beyond what a call of none would.
template <int Slot>
BOOL WINAPI Unexpected() {
  Log("unexpected slot%d", Slot);
  return FALSE;
}

struct Block {
  DWORD header[2];
  void* slots[13];
};
static_assert(sizeof(void*) != 4 || sizeof(Block) == 60, "the driver hands over a 60-byte block");

}  // namespace

STAND_IN_EXPORT BOOL WINAPI OrvelInitializeBidiApiW(void* block) {
  if (!block) {
    Log("OrvelInitializeBidiApiW block=null -> 0");
    return FALSE;
  }
  Block* b = static_cast<Block*>(block);
  b->header[0] = 1;
  b->header[1] = 13;
  void* slots[13] = {reinterpret_cast<void*>(SlotOpenPrinter),    reinterpret_cast<void*>(SlotClosePrinter),
                     reinterpret_cast<void*>(SlotBeginQuery),     reinterpret_cast<void*>(SlotOpenGroup),
                     reinterpret_cast<void*>(SlotGetModelName),   reinterpret_cast<void*>(Unexpected<5>),
                     reinterpret_cast<void*>(SlotGetInformation), reinterpret_cast<void*>(SlotGetGroupItem),
                     reinterpret_cast<void*>(Unexpected<8>),  reinterpret_cast<void*>(Unexpected<9>),
                     reinterpret_cast<void*>(Unexpected<10>), reinterpret_cast<void*>(Unexpected<11>),
                     reinterpret_cast<void*>(Unexpected<12>)};
  memcpy(b->slots, slots, sizeof slots);
  Log("OrvelInitializeBidiApiW -> 1");
  return TRUE;
}
