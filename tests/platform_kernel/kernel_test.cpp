// kernel32 of the simulated machine: the machine's own controls (clock, ANSI code page,
// failure injection) and what the conformance cases cannot show.
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <string>
#include <thread>

#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"

namespace {

class KernelTest : public zems_test::MachineTest {};

TEST_F(KernelTest, TickCountCanBeSetAdvancedAndReleased) {
  SimSetTickCount(1000);
  EXPECT_EQ(1000u, GetTickCount());
  SimAdvanceTickCount(250);
  EXPECT_EQ(1250u, GetTickCount());
  Sleep(5000);  // moves the simulated clock without waiting
  EXPECT_EQ(6250u, GetTickCount());
  SimSetTickCount(0xFFFFFFF0u);
  SimAdvanceTickCount(0x20);
  EXPECT_EQ(0x10u, GetTickCount()) << "the tick count wraps as on Windows";
  SimUseRealTickCount();
  DWORD a = GetTickCount();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_GE(GetTickCount() - a, 15u);

  SimSetTickCount(7);
  std::string fresh = zems_test::MakeMachineRoot();  // a new machine runs on the real clock
  EXPECT_NE(7u, GetTickCount());
  SimSetMachineRoot(Root().c_str());
  zems_test::RemoveMachineRoot(fresh);
}

TEST_F(KernelTest, AnsiCodePageIsSelectable) {
  EXPECT_EQ(1252u, GetACP());
  EXPECT_EQ(437u, GetOEMCP());
  WCHAR wide[4];
  ASSERT_EQ(2, MultiByteToWideChar(CP_ACP, 0, "\x82\xA0", 2, wide, 4));
  EXPECT_EQ(0x201A, wide[0]) << "1252: two single-byte characters";

  ASSERT_TRUE(SimSetAnsiCodePage(932));
  EXPECT_EQ(932u, GetACP());
  EXPECT_EQ(932u, GetOEMCP());
  ASSERT_EQ(1, MultiByteToWideChar(CP_ACP, 0, "\x82\xA0", 2, wide, 4));
  EXPECT_EQ(0x3042, wide[0]);
  EXPECT_TRUE(IsDBCSLeadByte(0x82));
  char narrow[4];
  ASSERT_EQ(2, WideCharToMultiByte(CP_ACP, 0, TEXT("\x65E5"), 1, narrow, 4, nullptr, nullptr));
  EXPECT_EQ(std::string("\x93\xFA"), std::string(narrow, 2));

  EXPECT_FALSE(SimSetAnsiCodePage(1251)) << "only 1252 and 932 are offered";
  EXPECT_EQ(932u, GetACP());
  std::string fresh = zems_test::MakeMachineRoot();
  EXPECT_EQ(1252u, GetACP()) << "a new machine starts with 1252";
  SimSetMachineRoot(Root().c_str());
  zems_test::RemoveMachineRoot(fresh);
}

TEST_F(KernelTest, NtdllConversionsNeverSplitADoubleByteCharacter) {
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  const WCHAR text[] = {'a', 0x3042, 0x3044, 0};
  struct {
    ULONG room;
    ULONG written;
    const char* bytes;
  } cases[] = {{1, 1, "a"}, {2, 1, "a"}, {3, 3, "a\x82\xA0"}, {4, 3, "a\x82\xA0"}, {5, 5, "a\x82\xA0\x82\xA2"}};
  for (const auto& c : cases) {
    char out[8] = {};
    ULONG written = 99;
    EXPECT_EQ(STATUS_SUCCESS, RtlUnicodeToMultiByteN(out, c.room, &written, text, 3 * sizeof(WCHAR)));
    EXPECT_EQ(c.written, written) << "room " << c.room;
    EXPECT_EQ(std::string(c.bytes), std::string(out, written)) << "room " << c.room;
  }
  WCHAR wide[4] = {};
  ULONG written = 0;
  EXPECT_EQ(STATUS_SUCCESS, RtlMultiByteToUnicodeN(wide, 2 * sizeof(WCHAR), &written, "a\x82\xA0\x82\xA2", 5));
  EXPECT_EQ(2 * sizeof(WCHAR), written) << "cut at the room, a character at a time";
  EXPECT_EQ(0x3042, wide[1]);
}

TEST_F(KernelTest, CriticalSectionSurvivesFailedInitialisation) {
  CRITICAL_SECTION cs = {};
  SimFailCriticalSectionInits(1);
  SetLastError(0);
  EXPECT_FALSE(InitializeCriticalSectionAndSpinCount(&cs, 4000));
  EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
  EnterCriticalSection(&cs);  // an uninitialised section is refused, not crashed on
  LeaveCriticalSection(&cs);
  ASSERT_TRUE(InitializeCriticalSectionAndSpinCount(&cs, 4000)) << "only one failure was asked for";
  EXPECT_EQ(4000u, cs.SpinCount);
  DeleteCriticalSection(&cs);
}

TEST_F(KernelTest, CriticalSectionExcludesOtherThreads) {
  CRITICAL_SECTION cs;
  InitializeCriticalSection(&cs);
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 500; ++i) {
        EnterCriticalSection(&cs);
        EnterCriticalSection(&cs);  // re-entry on the owner
        long seen = counter;
        std::this_thread::yield();
        counter = seen + 1;
        LeaveCriticalSection(&cs);
        LeaveCriticalSection(&cs);
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(2000, counter);
  DeleteCriticalSection(&cs);
}

TEST_F(KernelTest, GlobalMemoryRefusesForeignPointers) {
  alignas(16) static char notOurs[64];
  EXPECT_EQ(static_cast<HGLOBAL>(notOurs + 16), GlobalFree(notOurs + 16));
  EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), GetLastError());
  HGLOBAL block = GlobalAlloc(GHND, 10);
  ASSERT_TRUE(block);
  EXPECT_EQ(10u, GlobalSize(block));
  void* p = GlobalLock(block);
  ASSERT_TRUE(p);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(DWORD(NO_ERROR), GetLastError()) << "FALSE with no error: unlocked";
  void* heap = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 32);
  ASSERT_TRUE(heap);
  EXPECT_EQ(0, static_cast<char*>(heap)[31]);
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, heap));
  EXPECT_EQ(nullptr, GlobalFree(block));
}

TEST_F(KernelTest, SecurityDescriptorRecordsTheDacl) {
  SECURITY_DESCRIPTOR sd;
  ASSERT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE));
  BOOL present = FALSE, defaulted = TRUE;
  PACL dacl = reinterpret_cast<PACL>(1);
  ASSERT_TRUE(GetSecurityDescriptorDacl(&sd, &present, &dacl, &defaulted));
  EXPECT_TRUE(present);
  EXPECT_EQ(nullptr, dacl) << "present and null: everyone has access";
  EXPECT_FALSE(defaulted);
}

TEST_F(KernelTest, WsprintfSizePrefixes) {
  WCHAR out[64];
  wsprintfW(out, TEXT("%hs|%ls|%s"), "narrow", TEXT("wide"), static_cast<const WCHAR*>(nullptr));
  EXPECT_EQ(0, lstrcmpW(out, TEXT("narrow|wide|(null)")));
  wsprintfW(out, TEXT("%I64u|%I64d"), 5000000000ull, -5000000000ll);
  EXPECT_EQ(0, lstrcmpW(out, TEXT("5000000000|-5000000000")));
}

// A precision bounds what is read of a string: fixed-size fields need no terminator.
TEST_F(KernelTest, WsprintfPrecisionReadsNoFurther) {
  const WCHAR wideField[4] = {'a', 'b', 'c', 'd'};
  const char narrowField[3] = {'x', 'y', 'z'};
  WCHAR out[32];
  EXPECT_EQ(8, wsprintfW(out, TEXT("%.4s|%.3hs"), wideField, narrowField));
  EXPECT_EQ(0, lstrcmpW(out, TEXT("abcd|xyz")));
  char narrowOut[32];
  EXPECT_EQ(4, wsprintfA(narrowOut, "%.2s|%.1S", narrowField, wideField));
  EXPECT_STREQ("xy|a", narrowOut);
  // In code page 932 the precision counts characters, and a double-byte one stays whole.
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  const char kana[4] = {'\x82', '\xA0', '\x82', '\xA2'};
  EXPECT_EQ(2, wsprintfW(out, TEXT("%.2hs"), kana));
  EXPECT_EQ(0, lstrcmpW(out, TEXT("\x3042\x3044")));
}

// wsprintfA stops at 1024 bytes, the terminator included, without splitting a double-byte
// character at that limit.
TEST_F(KernelTest, WsprintfAKeepsDoubleByteCharactersWholeAtItsLimit) {
  ASSERT_TRUE(SimSetAnsiCodePage(932));
  struct {
    size_t lead;   // single-byte characters before the double-byte one
    int result;
  } cases[] = {{1021, 1023}, {1022, 1022}};
  for (const auto& c : cases) {
    std::string text(c.lead, 'x');
    text += "\x82\xA0y";
    static char out[1100];
    memset(out, '#', sizeof out);
    EXPECT_EQ(c.result, wsprintfA(out, "%s", text.c_str())) << c.lead;
    EXPECT_EQ(0, out[c.result]) << c.lead;
    EXPECT_EQ('#', out[c.result + 1]) << c.lead;
    if (c.result == 1023) {
      EXPECT_EQ('\xA0', out[1022]);
    }
  }
}

// lstrcmpi and file names share one case table: a pair equal for one is equal for the other.
TEST_F(KernelTest, CaseBlindCompareAndFileNamesAgree) {
  struct Case {
    const WCHAR* stored;
    const WCHAR* asked;
    bool same;
  } cases[] = {
      {TEXT("a\x0178"), TEXT("A\x00FF"), true},   // Y with diaeresis, upper and lower
      {TEXT("b\x0178"), TEXT("B\x017A"), false},  // ... is not Z with acute
      {TEXT("c\x03AA"), TEXT("C\x03CA"), true},   // Greek iota with dialytika
      {TEXT("d\xFF21"), TEXT("D\xFF41"), true},   // fullwidth A
      {TEXT("e\x03C2"), TEXT("E\x03A3"), false},  // final sigma has no upper case of its own
  };
  for (const Case& c : cases) {
    std::u16string stored = std::u16string(TEXT("C:\\")) + c.stored;
    std::u16string asked = std::u16string(TEXT("C:\\")) + c.asked;
    HANDLE file = CreateFileW(stored.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    EXPECT_EQ(c.same, lstrcmpiW(c.stored, c.asked) == 0) << "compare " << &c - cases;
    EXPECT_EQ(c.same, GetFileAttributesW(asked.c_str()) != INVALID_FILE_ATTRIBUTES) << "file " << &c - cases;
  }
}

// A set date stands still in all three clocks until released; a date the conversion refuses
// leaves the clock as it was.
TEST_F(KernelTest, LocalTimeCanBeSetAndReleased) {
  SYSTEMTIME set = {2011, 11, 0, 15, 10, 20, 30, 250};  // day of week left wrong on purpose
  ASSERT_TRUE(SimSetLocalTime(&set));
  SYSTEMTIME local, utc;
  GetLocalTime(&local);
  GetSystemTime(&utc);
  EXPECT_EQ(0, memcmp(&local, &utc, sizeof local));
  EXPECT_EQ(2011, local.wYear);
  EXPECT_EQ(11, local.wMonth);
  EXPECT_EQ(15, local.wDay);
  EXPECT_EQ(2, local.wDayOfWeek) << "2011-11-15 was a Tuesday";
  EXPECT_EQ(10, local.wHour);
  EXPECT_EQ(20, local.wMinute);
  EXPECT_EQ(30, local.wSecond);
  EXPECT_EQ(250, local.wMilliseconds);
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  ULONGLONG ticks = (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  // 1970-01-01 is 116444736000000000 ticks; 2011-11-15 10:20:30 UTC is 1321352430 s after it.
  EXPECT_EQ(116444736000000000ull + 1321352430ull * 10000000ull + 2500000ull, ticks);

  SYSTEMTIME bad = set;
  bad.wMonth = 13;
  EXPECT_FALSE(SimSetLocalTime(&bad));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  GetLocalTime(&local);
  EXPECT_EQ(11, local.wMonth);
  EXPECT_EQ(250, local.wMilliseconds) << "the set date stands still";

  ASSERT_TRUE(SimSetLocalTime(nullptr));
  GetLocalTime(&local);
  EXPECT_GE(local.wYear, 2020) << "back on the host's clock";
  ASSERT_TRUE(SimSetLocalTime(&set));
  std::string root = SimMachineRoot();
  SimSetMachineRoot(root.c_str());
  GetLocalTime(&local);
  EXPECT_GE(local.wYear, 2020) << "a machine root switch releases the date";
}

// The machine's local time is UTC whatever the host's zone, as FileTimeToLocalFileTime has it.
TEST_F(KernelTest, LocalTimeIsUtcWhateverTheHostZone) {
  const char* old = getenv("TZ");
  std::string saved = old ? old : "";
  setenv("TZ", "XST-9", 1);
  tzset();
  SYSTEMTIME utc, local;
  GetSystemTime(&utc);
  GetLocalTime(&local);
  if (old)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
  FILETIME a, b;
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &a));
  ASSERT_TRUE(SystemTimeToFileTime(&local, &b));
  ULONGLONG ta = (ULONGLONG(a.dwHighDateTime) << 32) | a.dwLowDateTime;
  ULONGLONG tb = (ULONGLONG(b.dwHighDateTime) << 32) | b.dwLowDateTime;
  EXPECT_LT(tb - ta, 10000000ull * 60) << "local time runs with UTC, not nine hours ahead";
}

}  // namespace
