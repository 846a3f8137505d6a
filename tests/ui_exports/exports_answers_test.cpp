// zemsui's exports whose bodies are still to come answer as for a request they do not
// support: nothing written, the caller told so.
#include <gtest/gtest.h>

#include <string>

#include "support/test_printer.h"

namespace zems_test {
namespace {

class UiExportsTest : public TestPrinterTest {};

template <typename F>
F Fn(HMODULE module, const char* name) {
  F f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  EXPECT_NE(f, nullptr) << name;
  return f;
}

typedef BOOL(WINAPI* ConvertFn)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
typedef DWORD(WINAPI* CapsFn)(HANDLE, LPWSTR, WORD, PVOID, PDEVMODEW);
typedef int(WINAPI* EventFn)(HANDLE, HDC, int, ULONG, PVOID, ULONG, PVOID);
typedef LONG(WINAPI* DocPropsFn)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW, DWORD);
typedef LONG(WINAPI* AdvancedFn)(HWND, HANDLE, LPWSTR, PDEVMODEW, PDEVMODEW);
typedef BOOL(WINAPI* QueryFn)(PVOID);
typedef BOOL(WINAPI* UpgradeFn)(DWORD, LPBYTE);

TEST_F(UiExportsTest, UnbuiltExportsAnswerUnsupported) {
  GTEST_SKIP() << "rests on ui2k/exports_minimal.cpp: the eight exports answer unsupported only until "
                  "the sheets, DEVMODE conversion, job check, capabilities and events are built";
  ASSERT_TRUE(SimRegisterModule("zemsui.dll", (BinDir() + "/zemsui.so").c_str()));
  HMODULE ui = LoadLibraryW(TEXT("zemsui.dll"));
  ASSERT_NE(ui, nullptr);
  BYTE untouched[64];
  memset(untouched, 0xA5, sizeof untouched);
  BYTE out[64];
  memcpy(out, untouched, sizeof out);
  LONG needed = 12345;
  struct Case {
    const char* name;
    long long answer;
    long long expected;
  } cases[] = {
      {"DevQueryPrintEx", Fn<QueryFn>(ui, "DevQueryPrintEx")(out), FALSE},
      {"DrvAdvancedDocumentProperties",
       Fn<AdvancedFn>(ui, "DrvAdvancedDocumentProperties")(nullptr, nullptr, nullptr,
                                                                                        (PDEVMODEW)out, nullptr),
       -1},
      {"DrvConvertDevMode",
       Fn<ConvertFn>(ui, "DrvConvertDevMode")(nullptr, nullptr, (PDEVMODEW)out, &needed,
                                                                            1),
       FALSE},
      {"DrvDeviceCapabilities",
       (LONG)Fn<CapsFn>(ui, "DrvDeviceCapabilities")(nullptr, nullptr, 2, out, nullptr),
       -1},
      {"DrvDocumentEvent",
       Fn<EventFn>(ui, "DrvDocumentEvent")(nullptr, nullptr, 1, 0, nullptr, 64, out), 0},
      {"DrvDocumentProperties",
       Fn<DocPropsFn>(ui, "DrvDocumentProperties")(nullptr, nullptr, nullptr,
                                                                                (PDEVMODEW)out, nullptr, 2),
       -1},
      {"DrvUpgradePrinter", Fn<UpgradeFn>(ui, "DrvUpgradePrinter")(1, out), FALSE},
  };
  for (const Case& c : cases) EXPECT_EQ(c.answer, c.expected) << c.name;
  EXPECT_EQ(memcmp(out, untouched, sizeof out), 0) << "an unsupported request writes nothing";
  EXPECT_EQ(needed, 12345);
  EXPECT_TRUE(FreeLibrary(ui));
}

}  // namespace
}  // namespace zems_test
