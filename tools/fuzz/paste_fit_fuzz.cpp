// Fuzz target: the cut of a pasted clipboard text to the bytes a text edit's item still takes.
// The first byte picks the ANSI code page (1252 or 932) and the room in bytes, the rest is the
// clipboard's text as UTF-16. The characters taken must fit the room in ANSI bytes, be the
// longest such start, and never end inside a surrogate pair. A crash, a sanitizer report or a
// broken rule is a finding.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/front/ctl_subclass.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

bool MakeMachine() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zems-paste-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return false;
  SimSetMachineRoot(pattern.c_str());
  return true;
}

int Bytes(const WCHAR* text, int length) {
  return length > 0 ? WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = MakeMachine();
  if (!ready || size < 1) return 0;
  SimSetAnsiCodePage((data[0] & 0x80) ? 932 : 1252);
  const int room = data[0] & 0x7F;
  std::vector<WCHAR> text((size - 1) / 2 + 1, 0);
  const int length = static_cast<int>((size - 1) / 2);
  memcpy(text.data(), data + 1, static_cast<size_t>(length) * sizeof(WCHAR));
  const int taken = CtlPasteFitChars(text.data(), length, room);
  if (taken < 0 || taken > length) abort();
  if (Bytes(text.data(), taken) > room) abort();
  // Never half a pair: the last character taken is no high surrogate followed by its low one.
  if (taken > 0 && taken < length && text[taken - 1] >= 0xD800 && text[taken - 1] < 0xDC00 &&
      text[taken] >= 0xDC00 && text[taken] < 0xE000)
    abort();
  // The longest start: one more character (or pair) would not fit.
  if (taken < length) {
    int next = 1;
    if (taken + 1 < length && text[taken] >= 0xD800 && text[taken] < 0xDC00 && text[taken + 1] >= 0xDC00 &&
        text[taken + 1] < 0xE000)
      next = 2;
    const int more = Bytes(text.data() + taken, next);
    if (more > 0 && Bytes(text.data(), taken) + more <= room) abort();
  }
  return 0;
}
