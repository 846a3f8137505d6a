// kernel32 behaviour the driver relies on, as tables of cases. The same cases run against the
// simulated machine and, built with mingw, under Wine; both must agree.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "platform/win32.h"
#include "support/wine_detect.h"

namespace {

using zems_test::UnderWine;

typedef std::basic_string<WCHAR> WString;

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
    out += ' ';
  }
  return out;
}

std::string HexWide(const WString& text) {
  char buf[8];
  std::string out;
  for (WCHAR c : text) {
    snprintf(buf, sizeof buf, "%04X ", unsigned(c));
    out += buf;
  }
  return out;
}

// ---- code pages ----

struct ConversionCase {
  UINT codePage;
  const char* bytes;
  WCHAR wide[5];
};

const ConversionCase kConversions[] = {
    {1252, "caf\xE9", {'c', 'a', 'f', 0xE9}},
    {1252, "\x80\x9F", {0x20AC, 0x0178}},
    {1252, "\x81\x8D", {0x0081, 0x008D}},  // undefined bytes keep their own code point
    {932, "\x82\xA0\x83\x41", {0x3042, 0x30A2}},
    {932, "\x93\xFA\x96\x7B", {0x65E5, 0x672C}},
    {932, "\xB1\x5C\x7E", {0xFF71, 0x005C, 0x007E}},  // half-width kana; 0x5C and 0x7E stay ASCII
    {932, "\x81\x5F\x87\x40", {0xFF3C, 0x2460}},
    {CP_UTF8, "\xE6\x97\xA5", {0x65E5}},
    {CP_UTF8, "\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},
};

TEST(KernelConformance, ConversionsBothWays) {
  for (const ConversionCase& c : kConversions) {
    WString wide(c.wide);
    std::string bytes(c.bytes);
    SCOPED_TRACE("code page " + std::to_string(c.codePage) + ": " + Hex(bytes));

    int measured = MultiByteToWideChar(c.codePage, 0, c.bytes, -1, nullptr, 0);
    EXPECT_EQ(int(wide.size()) + 1, measured) << "measure counts the terminator";
    WCHAR out[16];
    ASSERT_EQ(measured, MultiByteToWideChar(c.codePage, 0, c.bytes, -1, out, 16));
    EXPECT_EQ(HexWide(wide), HexWide(WString(out)));

    int bytesMeasured = WideCharToMultiByte(c.codePage, 0, wide.c_str(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    EXPECT_EQ(int(bytes.size()), bytesMeasured) << "explicit length: no terminator";
    char narrow[16];
    ASSERT_EQ(bytesMeasured, WideCharToMultiByte(c.codePage, 0, wide.c_str(), int(wide.size()), narrow, 16, nullptr,
                                                 nullptr));
    EXPECT_EQ(Hex(bytes), Hex(std::string(narrow, size_t(bytesMeasured))));
  }
}

TEST(KernelConformance, ConversionErrors) {
  WCHAR wide[8];
  char narrow[8];
  struct Call {
    const char* what;
    int (*run)(WCHAR*, char*);
    DWORD error;
    bool wineAccepts;  // Wine runs the conversion where Windows refuses it
  };
  const Call calls[] = {
      {"wide buffer too small", [](WCHAR* w, char*) { return MultiByteToWideChar(1252, 0, "abcdef", -1, w, 3); },
       ERROR_INSUFFICIENT_BUFFER},
      {"narrow buffer too small",
       [](WCHAR*, char* n) { return WideCharToMultiByte(1252, 0, TEXT("abcdef"), -1, n, 3, nullptr, nullptr); },
       ERROR_INSUFFICIENT_BUFFER},
      {"double-byte character one byte short",
       [](WCHAR*, char* n) { return WideCharToMultiByte(932, 0, TEXT("a\x3042"), 2, n, 2, nullptr, nullptr); },
       ERROR_INSUFFICIENT_BUFFER},
      {"precomposed and composite",
       [](WCHAR* w, char*) { return MultiByteToWideChar(1252, MB_PRECOMPOSED | MB_COMPOSITE, "a", -1, w, 8); },
       ERROR_INVALID_FLAGS, true},
      {"UTF-8 takes no precomposed flag",
       [](WCHAR* w, char*) { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", -1, w, 8); }, ERROR_INVALID_FLAGS,
       true},
      {"invalid UTF-8 with MB_ERR_INVALID_CHARS",
       [](WCHAR* w, char*) { return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC0\x80", 2, w, 8); },
       ERROR_NO_UNICODE_TRANSLATION},
      {"undefined double-byte code with MB_ERR_INVALID_CHARS",
       [](WCHAR* w, char*) { return MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, "\x85\x40", 2, w, 8); },
       ERROR_NO_UNICODE_TRANSLATION},
      {"UTF-8 has no default character",
       [](WCHAR*, char* n) { return WideCharToMultiByte(CP_UTF8, 0, TEXT("a"), 1, n, 8, "?", nullptr); },
       ERROR_INVALID_PARAMETER, true},
      {"zero source length", [](WCHAR* w, char*) { return MultiByteToWideChar(1252, 0, "a", 0, w, 8); },
       ERROR_INVALID_PARAMETER},
      {"null source", [](WCHAR* w, char*) { return MultiByteToWideChar(1252, 0, nullptr, 1, w, 8); },
       ERROR_INVALID_PARAMETER},
  };
  for (const Call& call : calls) {
    if (call.wineAccepts && UnderWine()) continue;
    SetLastError(0);
    EXPECT_EQ(0, call.run(wide, narrow)) << call.what;
    EXPECT_EQ(call.error, GetLastError()) << call.what;
  }
}

TEST(KernelConformance, DefaultCharacters) {
  char narrow[8];
  BOOL used = FALSE;
  ASSERT_EQ(2, WideCharToMultiByte(1252, 0, TEXT("\x4E00x"), 2, narrow, 8, nullptr, &used));
  EXPECT_EQ("?x", std::string(narrow, 2));
  EXPECT_TRUE(used);
  used = FALSE;
  ASSERT_EQ(1, WideCharToMultiByte(1252, 0, TEXT("\x4E00"), 1, narrow, 8, "*", &used));
  EXPECT_EQ('*', narrow[0]);
  EXPECT_TRUE(used);
  ASSERT_EQ(1, WideCharToMultiByte(1252, 0, TEXT("e"), 1, narrow, 8, nullptr, &used));
  EXPECT_FALSE(used) << "a mapped character clears the flag";

  WCHAR wide[4];
  ASSERT_EQ(1, MultiByteToWideChar(932, 0, "\x85\x40", 2, wide, 4));
  EXPECT_EQ(0x30FB, wide[0]) << "an undefined double-byte code becomes the katakana middle dot";

  // The yen sign has a best-fit mapping to 0x5C in code page 932, refused on request.
  ASSERT_EQ(1, WideCharToMultiByte(932, 0, TEXT("\x00A5"), 1, narrow, 8, nullptr, nullptr));
  EXPECT_EQ('\x5C', narrow[0]);
  ASSERT_EQ(1, WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, TEXT("\x00A5"), 1, narrow, 8, nullptr, nullptr));
  EXPECT_EQ('?', narrow[0]);
}

// A lead byte in code page 932 takes the next byte with it, whatever that byte is, except a
// zero; with nothing after it, it stands alone. Either way it becomes the default character.
TEST(KernelConformance, LeadByteWithoutItsTrailByte) {
  struct {
    const char* bytes;
    int length;
    WCHAR wide[4];
    int count;
  } cases[] = {
      {"\x82\x20", 2, {0x30FB}, 1},          {"\x82\x7F", 2, {0x30FB}, 1},
      {"\x82\xFD", 2, {0x30FB}, 1},          {"\x82\x5C", 2, {0x30FB}, 1},
      {"a\x82", 2, {'a', 0x30FB}, 2},         {"a\x82", -1, {'a', 0x30FB, 0}, 3},
      {"\x82\0b", 3, {0x30FB, 0, 'b'}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Hex(std::string(c.bytes, c.length < 0 ? strlen(c.bytes) : size_t(c.length))));
    WCHAR out[8];
    ASSERT_EQ(c.count, MultiByteToWideChar(932, 0, c.bytes, c.length, out, 8));
    EXPECT_EQ(HexWide(WString(c.wide, size_t(c.count))), HexWide(WString(out, size_t(c.count))));
    SetLastError(0);
    EXPECT_EQ(0, MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, c.bytes, c.length, out, 8));
    EXPECT_EQ(DWORD(ERROR_NO_UNICODE_TRANSLATION), GetLastError());
  }
}

// UTF-8 cut short, at the end or by a byte that cannot continue it, is one bad character.
TEST(KernelConformance, Utf8SequenceCutShort) {
  struct {
    const char* bytes;
    WCHAR wide[4];
  } cases[] = {
      {"a\xE6\x97", {'a', 0xFFFD}},
      {"\xE6\x97" "b", {0xFFFD, 'b'}},
      {"\xF0\x9F\x98", {0xFFFD}},
      {"\xF0\x9F\x98" "b", {0xFFFD, 'b'}},
      {"\xC3" "b", {0xFFFD, 'b'}},
  };
  for (const auto& c : cases) {
    WString expected(c.wide);
    SCOPED_TRACE(Hex(c.bytes));
    WCHAR out[8];
    ASSERT_EQ(int(expected.size()), MultiByteToWideChar(CP_UTF8, 0, c.bytes, int(strlen(c.bytes)), out, 8));
    EXPECT_EQ(HexWide(expected), HexWide(WString(out, expected.size())));
  }
}

// A buffer too small for the whole conversion: the call fails, and no half of a double-byte
// character is left in the buffer to pair with the caller's next byte.
TEST(KernelConformance, NarrowBufferTooSmallKeepsWholeCharacters) {
  struct {
    UINT codePage;
    const WCHAR* text;
    int room;
    const char* kept;  // what the buffer holds before the untouched rest
  } cases[] = {
      {932, TEXT("a\x3042"), 2, "a"},
      {932, TEXT("\x3042\x3044"), 3, "\x82\xA0"},
      {932, TEXT("\x3042"), 1, ""},
      {1252, TEXT("abc"), 2, "ab"},
  };
  for (const auto& c : cases) {
    char narrow[8];
    memset(narrow, '#', sizeof narrow);
    SetLastError(0);
    EXPECT_EQ(0, WideCharToMultiByte(c.codePage, 0, c.text, -1, narrow, c.room, nullptr, nullptr)) << c.kept;
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError()) << c.kept;
    std::string expected = std::string(c.kept) + std::string(size_t(c.room) - strlen(c.kept), '#');
    EXPECT_EQ(Hex(expected), Hex(std::string(narrow, size_t(c.room)))) << c.codePage << " room " << c.room;
  }
}

TEST(KernelConformance, LeadBytes) {
  struct {
    UINT codePage;
    BYTE byte;
    BOOL lead;
  } cases[] = {{932, 0x81, TRUE},   {932, 0x9F, TRUE},  {932, 0xE0, TRUE},  {932, 0xFC, TRUE},
               {932, 0x80, FALSE},  {932, 0xA1, FALSE}, {932, 0xDF, FALSE}, {932, 0x41, FALSE},
               {1252, 0x82, FALSE}, {1252, 0xE0, FALSE}};
  for (const auto& c : cases)
    EXPECT_EQ(c.lead, IsDBCSLeadByteEx(c.codePage, c.byte)) << c.codePage << " byte " << unsigned(c.byte);
}

TEST(KernelConformance, CharsetOfCodePage) {
  struct {
    UINT codePage;
    UINT charset;
  } cases[] = {{1252, ANSI_CHARSET},       {932, SHIFTJIS_CHARSET},   {1250, EASTEUROPE_CHARSET},
               {1253, GREEK_CHARSET},      {1251, RUSSIAN_CHARSET},   {1254, TURKISH_CHARSET},
               {1257, BALTIC_CHARSET},     {936, GB2312_CHARSET},     {950, CHINESEBIG5_CHARSET},
               {1255, HEBREW_CHARSET},     {1256, ARABIC_CHARSET},    {874, THAI_CHARSET},
               {1361, JOHAB_CHARSET},      {949, HANGEUL_CHARSET}};
  for (const auto& c : cases) {
    CHARSETINFO info;
    ASSERT_TRUE(TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(c.codePage)), &info, TCI_SRCCODEPAGE))
        << c.codePage;
    EXPECT_EQ(c.charset, info.ciCharset) << c.codePage;
    EXPECT_EQ(c.codePage, info.ciACP);
  }
  CHARSETINFO info;
  EXPECT_FALSE(TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(12345)), &info, TCI_SRCCODEPAGE));
}

// ---- mutexes and critical sections ----

WString UniqueName(const char* what) {
  static int counter = 0;
  WCHAR name[96];
  WCHAR wideWhat[32];
  MultiByteToWideChar(CP_UTF8, 0, what, -1, wideWhat, 32);
  wsprintfW(name, TEXT("ZemsConformance-%lu-%d-%s"), GetCurrentProcessId(), ++counter, wideWhat);
  return name;
}

struct ThreadCall {
  DWORD (*fn)(HANDLE);
  HANDLE arg;
};

DWORD WINAPI RunThreadCall(LPVOID p) {
  auto* c = static_cast<ThreadCall*>(p);
  return c->fn(c->arg);
}

// Runs fn on a new thread and waits for it; the thread's exit code is fn's result.
DWORD OnOtherThread(DWORD (*fn)(HANDLE), HANDLE arg) {
  ThreadCall call = {fn, arg};
  HANDLE thread = CreateThread(nullptr, 0, RunThreadCall, &call, 0, nullptr);
  if (!thread) return 0xDEAD;
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
  DWORD code = 0;
  GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  return code;
}

TEST(KernelConformance, MutexReentersOnItsOwner) {
  WString name = UniqueName("reenter");
  SetLastError(0xBAD);
  HANDLE m = CreateMutexW(nullptr, TRUE, name.c_str());
  ASSERT_TRUE(m);
  EXPECT_EQ(0u, GetLastError()) << "a new mutex clears the last error";
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m, 0));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m, INFINITE));
  // Held three times: another thread times out, and cannot release it.
  EXPECT_EQ(DWORD(WAIT_TIMEOUT), OnOtherThread([](HANDLE h) { return WaitForSingleObject(h, 0); }, m));
  EXPECT_EQ(DWORD(WAIT_TIMEOUT), OnOtherThread([](HANDLE h) { return WaitForSingleObject(h, 30); }, m));
  EXPECT_EQ(DWORD(ERROR_NOT_OWNER), OnOtherThread([](HANDLE h) {
              return ReleaseMutex(h) ? DWORD(0) : GetLastError();
            }, m));
  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_EQ(DWORD(WAIT_TIMEOUT), OnOtherThread([](HANDLE h) { return WaitForSingleObject(h, 0); }, m))
      << "still held once";
  EXPECT_TRUE(ReleaseMutex(m));
  SetLastError(0);
  EXPECT_FALSE(ReleaseMutex(m)) << "a fourth release has nothing to give back";
  EXPECT_EQ(DWORD(ERROR_NOT_OWNER), GetLastError());
  CloseHandle(m);
}

TEST(KernelConformance, MutexOfAnEndedThreadIsAbandoned) {
  WString name = UniqueName("abandon");
  HANDLE m = CreateMutexW(nullptr, FALSE, name.c_str());
  ASSERT_TRUE(m);
  EXPECT_EQ(WAIT_OBJECT_0, OnOtherThread([](HANDLE h) { return WaitForSingleObject(h, 0); }, m))
      << "the thread takes it and ends without releasing";
  EXPECT_EQ(DWORD(WAIT_ABANDONED), WaitForSingleObject(m, 1000)) << "the waiter owns it, told it was abandoned";
  EXPECT_TRUE(ReleaseMutex(m));
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m, 0)) << "abandonment is reported once";
  EXPECT_TRUE(ReleaseMutex(m));
  CloseHandle(m);

  HANDLE unnamed = CreateMutexW(nullptr, FALSE, nullptr);
  ASSERT_TRUE(unnamed);
  EXPECT_EQ(WAIT_OBJECT_0, OnOtherThread([](HANDLE h) { return WaitForSingleObject(h, 0); }, unnamed));
  EXPECT_EQ(DWORD(WAIT_ABANDONED), WaitForSingleObject(unnamed, 1000)) << "unnamed mutexes too";
  EXPECT_TRUE(ReleaseMutex(unnamed));
  CloseHandle(unnamed);
}

TEST(KernelConformance, MutexNames) {
  WString name = UniqueName("names");
  HANDLE first = CreateMutexW(nullptr, FALSE, name.c_str());
  ASSERT_TRUE(first);
  HANDLE second = CreateMutexW(nullptr, TRUE, name.c_str());
  ASSERT_TRUE(second);
  EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
  EXPECT_EQ(WAIT_OBJECT_0, OnOtherThread([](HANDLE h) {
              DWORD r = WaitForSingleObject(h, 0);
              ReleaseMutex(h);
              return r;
            }, first))
      << "initial ownership is ignored when the mutex already exists";

  HANDLE opened = OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str());
  ASSERT_TRUE(opened);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(opened, 0));
  EXPECT_EQ(DWORD(WAIT_TIMEOUT), OnOtherThread([](HANDLE h) { return WaitForSingleObject(h, 0); }, first))
      << "one object behind every handle of the name";
  EXPECT_TRUE(ReleaseMutex(first)) << "ownership belongs to the thread, not the handle";

  WString upper = name;
  for (WCHAR& c : upper)
    if (c >= 'a' && c <= 'z') c = WCHAR(c - 32);
  HANDLE other = CreateMutexW(nullptr, FALSE, upper.c_str());
  ASSERT_TRUE(other);
  EXPECT_EQ(0u, GetLastError()) << "names are case-sensitive";
  CloseHandle(other);

  CloseHandle(first);
  CloseHandle(second);
  CloseHandle(opened);
  SetLastError(0);
  EXPECT_FALSE(OpenMutexW(SYNCHRONIZE, FALSE, name.c_str())) << "the object went with its last handle";
  EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());

  WString global = TEXT("Global\\") + name;
  HANDLE g1 = CreateMutexW(nullptr, FALSE, global.c_str());
  ASSERT_TRUE(g1);
  EXPECT_EQ(0u, GetLastError());
  HANDLE g2 = CreateMutexW(nullptr, FALSE, global.c_str());
  ASSERT_TRUE(g2);
  EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
  CloseHandle(g1);
  CloseHandle(g2);
}

TEST(KernelConformance, MutexWithNullDacl) {
  SECURITY_DESCRIPTOR sd;
  SetLastError(0);
  EXPECT_FALSE(InitializeSecurityDescriptor(&sd, 2));
  EXPECT_EQ(DWORD(ERROR_UNKNOWN_REVISION), GetLastError());
  ASSERT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE));
  SECURITY_ATTRIBUTES sa = {sizeof(sa), &sd, FALSE};
  WString name = TEXT("Global\\") + UniqueName("dacl");
  HANDLE m = CreateMutexW(&sa, FALSE, name.c_str());
  ASSERT_TRUE(m);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m, INFINITE));
  EXPECT_TRUE(ReleaseMutex(m));
  CloseHandle(m);
}

TEST(KernelConformance, CriticalSectionReentersAndExcludes) {
  static CRITICAL_SECTION cs;
  ASSERT_TRUE(InitializeCriticalSectionAndSpinCount(&cs, 4000));
  EnterCriticalSection(&cs);
  EXPECT_TRUE(TryEnterCriticalSection(&cs));
  EXPECT_EQ(0u, OnOtherThread([](HANDLE) -> DWORD { return TryEnterCriticalSection(&cs); }, nullptr));
  LeaveCriticalSection(&cs);
  LeaveCriticalSection(&cs);
  EXPECT_EQ(1u, OnOtherThread([](HANDLE) -> DWORD {
              BOOL got = TryEnterCriticalSection(&cs);
              if (got) LeaveCriticalSection(&cs);
              return got;
            }, nullptr));
  DeleteCriticalSection(&cs);
}

// ---- strings ----

TEST(KernelConformance, WsprintfW) {
  struct {
    const WCHAR* format;
    DWORD value;
    const char* expected;
  } numbers[] = {
      {TEXT("%d"), DWORD(-5), "-5"},         {TEXT("%u"), DWORD(-5), "4294967291"}, {TEXT("%ld"), DWORD(-1), "-1"},
      {TEXT("%lu"), 42, "42"},               {TEXT("%5d|"), 42, "   42|"},       {TEXT("%-5d|"), 42, "42   |"},
      {TEXT("%05d"), DWORD(-42), "-0042"},   {TEXT("%x"), 255, "ff"},            {TEXT("%X"), 255, "FF"},
      {TEXT("%#x"), 255, "0xff"},            {TEXT("%.3d"), 7, "007"},           {TEXT("%04X"), 0xAB, "00AB"},
      {TEXT("%c"), 'A', "A"},                {TEXT("100%%"), 0, "100%"},         {TEXT("%02u.%01u"), 5, "05.0"},
      // A precision of zero, or a bare period, counts as one: zero still prints its digit.
      {TEXT("[%.0d]"), 0, "[0]"},            {TEXT("[%.u]"), 0, "[0]"},          {TEXT("[%.0x]"), 0, "[0]"},
  };
  for (const auto& c : numbers) {
    WCHAR out[64];
    int n = wsprintfW(out, c.format, c.value, 0u);
    char narrow[64];
    WideCharToMultiByte(CP_UTF8, 0, out, -1, narrow, 64, nullptr, nullptr);
    EXPECT_STREQ(c.expected, narrow);
    EXPECT_EQ(int(strlen(c.expected)), n) << c.expected;
  }
  WCHAR out[64];
  wsprintfW(out, TEXT("[%s|%S|%.2s|%-4s|%3s]"), TEXT("wide"), "narrow", TEXT("cut"), TEXT("ab"), TEXT("z"));
  EXPECT_EQ(0, lstrcmpW(out, TEXT("[wide|narrow|cu|ab  |  z]")));
  char nout[64];
  wsprintfA(nout, "[%s|%S|%d]", "narrow", TEXT("wide"), -3);
  EXPECT_STREQ("[narrow|wide|-3]", nout);
}

TEST(KernelConformance, WsprintfStopsAt1024Characters) {
  static WCHAR longText[2001];
  for (int i = 0; i < 2000; ++i) longText[i] = 'x';
  static WCHAR out[2100];
  for (WCHAR& c : out) c = '#';
  int n = wsprintfW(out, TEXT("%s"), longText);
  // 1023 characters and the terminator are stored. The documented result counts the stored
  // characters; Wine answers 1024 instead.
  EXPECT_EQ(UnderWine() ? 1024 : 1023, n);
  EXPECT_EQ(0, out[1023]);
  EXPECT_EQ('#', out[1024]) << "nothing written past the limit";
}

TEST(KernelConformance, LstrFunctions) {
  EXPECT_EQ(0, lstrlenW(nullptr));
  EXPECT_EQ(3, lstrlenW(TEXT("abc")));
  EXPECT_EQ(0, lstrcmpiW(TEXT("Zems.INI"), TEXT("zems.ini")));
  EXPECT_EQ(0, lstrcmpiW(TEXT("\x00C9t\x00E9"), TEXT("\x00E9T\x00C9")));
  EXPECT_GT(0, lstrcmpiW(TEXT("abc"), TEXT("ABD")));
  EXPECT_LT(0, lstrcmpiW(TEXT("abcd"), TEXT("ABC")));
  EXPECT_GT(0, lstrcmpW(TEXT("a"), TEXT("B"))) << "not code-point order: case is a tie-breaker";
  EXPECT_GT(0, lstrcmpW(TEXT("a"), TEXT("A"))) << "lower case first";
  WCHAR buf[8];
  lstrcpynW(buf, TEXT("truncate"), 5);
  EXPECT_EQ(0, lstrcmpW(buf, TEXT("trun")));
  lstrcpyW(buf, TEXT("ab"));
  lstrcatW(buf, TEXT("cd"));
  EXPECT_EQ(0, lstrcmpW(buf, TEXT("abcd")));
}

// ---- system folders, memory, time ----

TEST(KernelConformance, SystemFolders) {
  WCHAR buf[MAX_PATH];
  UINT n = GetWindowsDirectoryW(buf, MAX_PATH);
  EXPECT_EQ(UINT(lstrlenW(buf)), n);
  // Wine answers "C:\windows"; Windows XP answers "C:\WINDOWS": the case differs.
  EXPECT_EQ(0, lstrcmpiW(buf, TEXT("C:\\WINDOWS")));
  n = GetSystemDirectoryW(buf, MAX_PATH);
  EXPECT_EQ(0, lstrcmpiW(buf, TEXT("C:\\WINDOWS\\system32")));
  WCHAR small[4];
  EXPECT_EQ(n + 1, GetSystemDirectoryW(small, 4)) << "too small: the size needed, terminator included";
  char narrow[MAX_PATH];
  EXPECT_EQ(n, GetSystemDirectoryA(narrow, MAX_PATH));
}

TEST(KernelConformance, ZeroedGlobalMemory) {
  BYTE* p = static_cast<BYTE*>(GlobalAlloc(GPTR, 100));
  ASSERT_TRUE(p);
  EXPECT_GE(GlobalSize(p), SIZE_T(100));
  for (int i = 0; i < 100; ++i) ASSERT_EQ(0, p[i]);
  EXPECT_EQ(nullptr, GlobalFree(p));
  p = static_cast<BYTE*>(LocalAlloc(LPTR, 16));
  ASSERT_TRUE(p);
  for (int i = 0; i < 16; ++i) ASSERT_EQ(0, p[i]);
  EXPECT_EQ(nullptr, LocalFree(p));
}

TEST(KernelConformance, TickCountMoves) {
  DWORD before = GetTickCount();
  Sleep(40);
  DWORD elapsed = GetTickCount() - before;
  EXPECT_GE(elapsed, 20u) << "the tick has a coarse resolution (about 16 ms on Windows)";
  EXPECT_LT(elapsed, 5000u);
}

TEST(KernelConformance, SystemTimeAgreesWithFileTime) {
  FILETIME ft;
  SYSTEMTIME st;
  GetSystemTimeAsFileTime(&ft);
  GetSystemTime(&st);
  ULONGLONG ticks = (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  // 100-ns intervals since 1601: 2020-01-01 is 132223104000000000.
  EXPECT_GT(ticks, 132223104000000000ull);
  ULONGLONG days = ticks / 10000000ull / 86400ull;
  EXPECT_EQ(int((days + 1) % 7), int(st.wDayOfWeek)) << "1601-01-01 was a Monday";
  EXPECT_GE(st.wYear, 2020);
  EXPECT_TRUE(st.wMonth >= 1 && st.wMonth <= 12 && st.wDay >= 1 && st.wDay <= 31 && st.wHour < 24);
  SYSTEMTIME local;
  GetLocalTime(&local);
  EXPECT_GE(local.wYear, 2020);
}

}  // namespace
