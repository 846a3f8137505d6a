// Helpers shared by the parts of the simulated machine. Not visible to driver code.
#pragma once
#include <time.h>

#include <string>

#include "platform/win32.h"

namespace winsim {

// UTF-16 <-> UTF-8 for host paths and persisted text (invalid units become U+FFFD).
std::string ToUtf8(const WCHAR* text, size_t count = size_t(-1));
std::u16string ToUtf16(const std::string& text);
// Appends n bytes of UTF-8 as UTF-16; false when some were not well-formed UTF-8 (overlong
// forms, surrogates and code points beyond U+10FFFF included), each maximal bad part giving
// one U+FFFD.
bool AppendUtf16(const unsigned char* s, size_t n, std::u16string* out);
// Appends count units as UTF-8 (an unpaired surrogate becomes U+FFFD); false when one was met.
bool AppendUtf8(const WCHAR* text, size_t count, std::string* out);

// Length of a terminated wide text.
size_t WideLength(const WCHAR* text);

// Text of the machine's ANSI code page (GetACP) and back, for the A forms of the API;
// characters the code page lacks take its default character. A null text gives "".
std::u16string AnsiToWide(const char* text, size_t count = size_t(-1));
std::string WideToAnsi(const std::u16string& text);

// Simple case mapping of one UTF-16 unit (ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic,
// fullwidth Latin): what the case-blind comparisons of names need. A unit without a case
// pair comes back as it is.
WCHAR UpperCaseOf(WCHAR c);
WCHAR LowerCaseOf(WCHAR c);
std::u16string UpperCaseText(const std::u16string& text);
bool SameTextIgnoringCase(const std::u16string& a, const std::u16string& b);

// A FILETIME as one count of 100-ns intervals since 1601, and back.
inline unsigned long long TicksOf(const FILETIME& ft) {
  return (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
inline FILETIME FileTimeOfTicks(unsigned long long ticks) {
  FILETIME ft;
  ft.dwLowDateTime = DWORD(ticks & 0xFFFFFFFFu);
  ft.dwHighDateTime = DWORD(ticks >> 32);
  return ft;
}

// 100-ns intervals since 1601 <-> host times (times before 1601 become 0).
FILETIME FileTimeFromHost(const struct timespec& ts);
struct timespec HostTimeFromFileTime(const FILETIME& ft);

// Called by SimSetMachineRoot after the root changed: each part that caches machine state
// registers one to drop it. Hooks run in registration order, under no lock of their own.
void RegisterResetHook(void (*hook)());
// Forgets the fake property pages and sheets' scripted state (sheet_fake.cpp).
void SheetFakeForget();
// The drawing recording's forget (platform/sim/draw_fake.cpp), run with the window fake's.
void DrawFakeForget();
// Shows a comctl32 property sheet's pages as the fake's sheets do; 1 when confirmed, else 0.
INT_PTR SheetFakeRunPages(const PROPSHEETHEADERW* header);

// The machine root as a host path without trailing '/'.
std::string RootPath();

// Maps a Windows path ("C:\WINDOWS\x.ini", "c:/a/b", relative names taken from the current
// directory C:\) to a host path under the machine root. Each existing component is matched
// case-insensitively, so "C:\Windows\SYSTEM32" finds "root/c/WINDOWS/system32"; components
// that do not exist keep the caller's spelling. Empty result for a path that cannot be
// mapped (no drive letter and not relative, UNC names, a drive other than A-Z).
std::string HostPathFor(const WCHAR* winPath);
// lastFound (when given) says whether the last component exists in any case; a path whose
// last component is missing then needs no look at the host.
std::string HostPathFor(const std::u16string& winPath, bool* lastFound = nullptr);

// The last component of a Windows path: what follows its last '\', '/' or ':'.
std::u16string LeafOf(const std::u16string& path);

// True while the calling thread impersonates (ImpersonateSelf until RevertToSelf).
bool ThreadImpersonates();
// Marks a token handle as a thread's impersonation token, which AccessCheck requires.
void NoteImpersonationToken(HANDLE token);

// While one lives, the calling thread acts for the machine itself (its spooler service, its
// set-up), which may change what only an administrator may change. Scopes nest.
class MachineActScope {
 public:
  MachineActScope();
  ~MachineActScope();
  MachineActScope(const MachineActScope&) = delete;
  MachineActScope& operator=(const MachineActScope&) = delete;
};
// True when the caller may change the machine's own settings (HKLM, printer data): the
// machine's user is an administrator, or the thread acts for the machine.
bool CallerMayChangeMachine();

}  // namespace winsim
