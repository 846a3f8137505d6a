// Conformance cases for resource-only DLLs: loading one, finding and reading its resources and
// its strings. The DLL's bytes are part of the test; each case writes them to a file first.
#include <gtest/gtest.h>
#include <string.h>

#include <vector>

#include "conformance/conformance_support.h"
#include "platform/win32.h"

namespace {

using conformance::TempFolder;
using conformance::WString;

const unsigned char kSampleDll[] = {
#include "conformance/resource_dll_bytes.inc"
};

class ResourceDllConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_ / TEXT("sample.dll");
    conformance::WriteBytes(path_, std::string(reinterpret_cast<const char*>(kSampleDll), sizeof kSampleDll));
    module_ = LoadLibraryW(path_.c_str());
    ASSERT_NE(nullptr, module_) << GetLastError();
  }
  void TearDown() override {
    if (module_) {
      EXPECT_TRUE(FreeLibrary(module_));
    }
  }

  TempFolder folder_;
  WString path_;
  HMODULE module_ = nullptr;
};

TEST_F(ResourceDllConformance, LoadStringCases) {
  struct Case {
    UINT id;
    int cch;
    const WCHAR* text;  // expected buffer; nullptr: left as it was
    int result;
    bool wineWritesNothing;  // the documented call terminates a cut string; Wine writes nothing
  };
  static const WCHAR kSecond[] = {'Z', 'w', 'e', 'i', 't', 'e', ' ', 'Z', 'e', 'i', 'l', 'e', ' ', 0xE9, 0};
  const Case cases[] = {
      {1, 64, TEXT("First"), 5, false},
      {2, 64, kSecond, 14, false},
      {33, 64, TEXT("Block three"), 11, false},
      {3, 64, TEXT(""), 0, false},        // empty slot of a present block
      {0, 64, TEXT(""), 0, false},        // slot 0 of the block, never defined
      {100, 64, nullptr, 0, false},       // no such block: only the 0 is promised, nothing written
      {5, 6, TEXT("01234"), 5, false},    // cut to the buffer, terminated
      {5, 2, TEXT("0"), 1, false},
      {5, 1, TEXT(""), 0, true},          // room for the terminator only
  };
  for (const Case& c : cases) {
    WCHAR buffer[64];
    for (WCHAR& w : buffer) w = 'x';
    EXPECT_EQ(c.result, LoadStringW(module_, c.id, buffer, c.cch)) << c.id;
    if (!c.text || (c.wineWritesNothing && zems_test::UnderWine())) {
      EXPECT_EQ(WCHAR('x'), buffer[0]) << "wrote to the buffer for " << c.id << " (size " << c.cch << ")";
    } else {
      EXPECT_EQ(0, memcmp(c.text, buffer, (lstrlenW(c.text) + 1) * sizeof(WCHAR))) << c.id << " (size " << c.cch << ")";
    }
    if (c.cch < 64) {
      EXPECT_EQ(WCHAR('x'), buffer[c.cch]) << "wrote past the buffer for " << c.id;
    }
  }
}

TEST_F(ResourceDllConformance, LoadStringZeroSizeGivesTheTextItself) {
  const WCHAR* text = nullptr;
  ASSERT_EQ(5, LoadStringW(module_, 1, reinterpret_cast<LPWSTR>(&text), 0));
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(0, memcmp(text, TEXT("First"), 5 * sizeof(WCHAR)));
}

TEST_F(ResourceDllConformance, FindResourceCases) {
  struct Case {
    LPCWSTR name;
    LPCWSTR type;
    long size;  // 0: not found; -1: found, any size
  };
  const Case cases[] = {
      {MAKEINTRESOURCEW(7), RT_BITMAP, 150 - 14},  // a bitmap resource holds the file without its header
      {TEXT("#7"), RT_BITMAP, 150 - 14},
      {TEXT("HELLO"), TEXT("DATA"), 4},  // "hi" and a 16-bit 0
      {TEXT("hello"), TEXT("data"), 4},
      {TEXT("#1"), RT_STRING, -1},                  // block 1 holds the string ids 0-15
      {MAKEINTRESOURCEW(8), RT_BITMAP, 0},          // unknown name
      {MAKEINTRESOURCEW(7), RT_RCDATA, 0},          // unknown type
      {TEXT("NOPE"), TEXT("DATA"), 0},
  };
  for (const Case& c : cases) {
    HRSRC found = FindResourceW(module_, c.name, c.type);
    if (c.size == 0) {
      EXPECT_EQ(nullptr, found);
      continue;
    }
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(found, FindResourceExW(module_, c.type, c.name, 0));
    if (c.size > 0) {
      EXPECT_EQ(DWORD(c.size), SizeofResource(module_, found));
    }
    HGLOBAL loaded = LoadResource(module_, found);
    ASSERT_NE(nullptr, loaded);
    EXPECT_NE(nullptr, LockResource(loaded));
  }
  HGLOBAL data = LoadResource(module_, FindResourceW(module_, TEXT("HELLO"), TEXT("DATA")));
  EXPECT_EQ(0, memcmp("hi", LockResource(data), 3));
  const BITMAPINFOHEADER* info =
      static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module_, FindResourceW(module_, MAKEINTRESOURCEW(7), RT_BITMAP))));
  EXPECT_EQ(40u, info->biSize);
  EXPECT_EQ(8, info->biWidth);
  EXPECT_EQ(4, info->biBitCount);
}

TEST_F(ResourceDllConformance, ResourceDllExportsNothing) {
  EXPECT_EQ(nullptr, GetProcAddress(module_, "DllMain"));
  EXPECT_EQ(DWORD(ERROR_PROC_NOT_FOUND), GetLastError());
}

TEST_F(ResourceDllConformance, SecondLoadIsTheSameModule) {
  HMODULE again = LoadLibraryW(path_.c_str());
  EXPECT_EQ(module_, again);
  EXPECT_TRUE(FreeLibrary(again));
  EXPECT_EQ(5, LoadStringW(module_, 1, std::vector<WCHAR>(8).data(), 8));
}

}  // namespace
