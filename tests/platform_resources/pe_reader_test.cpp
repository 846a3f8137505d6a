// The machine's reader of resource-only DLLs against damaged and hostile files: a file with
// code is refused, a malformed one is refused or its lookups fail, and nothing reads outside
// the file (the sanitizer build checks the last part).
#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"

namespace {

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

uint32_t Get32(const std::string& b, size_t at) {
  uint32_t v;
  memcpy(&v, b.data() + at, 4);
  return v;
}
uint16_t Get16(const std::string& b, size_t at) {
  uint16_t v;
  memcpy(&v, b.data() + at, 2);
  return v;
}
void Put32(std::string& b, size_t at, uint32_t v) { memcpy(&b[at], &v, 4); }

class PeReaderTest : public zems_test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    sample_ = ReadHostFile(zems_test::BinDir() + "/zemsresus.dll");
    ASSERT_GT(sample_.size(), 1024u);
  }
  // Writes the bytes as C:\res\<leaf> on the machine.
  HMODULE Load(const std::string& bytes) {
    const WCHAR* path = TEXT("C:\\res\\t.dll");
    CreateDirectoryW(TEXT("C:\\res"), nullptr);
    {
      std::ofstream out(SimHostPath(path), std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), std::streamsize(bytes.size()));
    }
    return LoadLibraryW(path);
  }
  size_t OptionalHeader() const { return Get32(sample_, 0x3C) + 24; }
  // File offset of the resource tree (the sample's resource section starts with it).
  size_t ResourceRoot() const {
    size_t opt = OptionalHeader();
    uint32_t rva = Get32(sample_, opt + 96 + 16);
    size_t table = opt + Get16(sample_, Get32(sample_, 0x3C) + 20);
    uint16_t count = Get16(sample_, Get32(sample_, 0x3C) + 6);
    for (size_t i = 0; i < count; ++i) {
      size_t s = table + 40 * i;
      if (Get32(sample_, s + 12) == rva) return Get32(sample_, s + 20);
    }
    return 0;
  }

  std::string sample_;
};

TEST_F(PeReaderTest, SampleLoadsAndReadsAString) {
  HMODULE m = Load(sample_);
  ASSERT_NE(nullptr, m);
  WCHAR text[16];
  EXPECT_EQ(2, LoadStringW(m, 153, text, 16));
  EXPECT_EQ(nullptr, GetProcAddress(m, "DllMain"));
  EXPECT_TRUE(FreeLibrary(m));
}

TEST_F(PeReaderTest, DamagedFilesAreRefused) {
  struct Case {
    const char* what;
    void (*damage)(std::string& b, size_t opt, size_t root);
  };
  const Case cases[] = {
      {"entry point", [](std::string& b, size_t opt, size_t) { Put32(b, opt + 16, 0x1000); }},
      {"imported DLL", [](std::string& b, size_t opt, size_t) {
         // The import table's first record gets a name: one imported DLL.
         uint32_t rva = Get32(b, opt + 96 + 8);
         size_t table = opt + 224;
         for (size_t s = table; s + 40 <= b.size() && b[s] != 0; s += 40) {
           uint32_t va = Get32(b, s + 12), raw = Get32(b, s + 20);
           if (rva >= va && rva < va + Get32(b, s + 16)) Put32(b, raw + (rva - va) + 12, va);
         }
       }},
      {"no MZ", [](std::string& b, size_t, size_t) { b[0] = 'X'; }},
      {"header beyond the file", [](std::string& b, size_t, size_t) { Put32(b, 0x3C, 0x7FFFFFF0); }},
      {"not a DLL", [](std::string& b, size_t opt, size_t) { b[opt - 20 + 18] = 0; b[opt - 20 + 19] = 0; }},
      {"section beyond the file", [](std::string& b, size_t opt, size_t) { Put32(b, opt + 224 + 16, 0x10000000); }},
      {"resource directory beyond its section", [](std::string& b, size_t opt, size_t) { Put32(b, opt + 96 + 20, 0x100000); }},
      {"tree points to itself", [](std::string& b, size_t, size_t root) { Put32(b, root + 20, 0x80000000u); }},
      {"tree one level deeper", [](std::string& b, size_t, size_t root) {
         // The root's first entry is the bitmap type; point its directory at the root's own
         // entries' target, whose names point at language directories: a fourth level.
         uint32_t names = Get32(b, root + 20) & 0x7FFFFFFF;
         uint32_t langs = Get32(b, root + names + 20) & 0x7FFFFFFF;
         Put32(b, root + langs + 20, 0x80000000u | names);
       }},
      {"entry count beyond the section", [](std::string& b, size_t, size_t root) { b[root + 14] = char(0xFF); b[root + 15] = char(0x7F); }},
      {"truncated", [](std::string& b, size_t, size_t root) { b.resize(root + 8); }},
      {"resource data in a section without file bytes", [](std::string& b, size_t opt, size_t root) {
         // The first section (code, at RVA 0x1000) keeps its place in memory but maps no
         // bytes of the file, its raw offset far beyond it; the first resource's data, empty,
         // is moved there.
         Put32(b, opt + 224 + 16, 0);
         Put32(b, opt + 224 + 20, 0x80000000u);
         uint32_t names = Get32(b, root + 20) & 0x7FFFFFFF;
         uint32_t langs = Get32(b, root + names + 20) & 0x7FFFFFFF;
         uint32_t data = Get32(b, root + langs + 20);
         Put32(b, root + data, Get32(b, opt + 224 + 12));
         Put32(b, root + data + 4, 0);
       }},
  };
  for (const Case& c : cases) {
    std::string bytes = sample_;
    c.damage(bytes, OptionalHeader(), ResourceRoot());
    SetLastError(0);
    HMODULE m = Load(bytes);
    EXPECT_EQ(nullptr, m) << c.what;
    EXPECT_EQ(DWORD(ERROR_BAD_EXE_FORMAT), GetLastError()) << c.what;
    if (m) FreeLibrary(m);
  }
}

// Random damage to the sample DLLs, in bounded time: each file either is refused or answers
// its lookups without reading outside the file.
TEST_F(PeReaderTest, MutatedSamplesNeverReadOutside) {
  const char* const kSamples[] = {"zemsresus.dll", "zemsresfr.dll", "zemsrCsXX.dll"};
  std::mt19937 random(20261210);
  int loaded = 0, refused = 0;
  for (const char* name : kSamples) {
    std::string original = ReadHostFile(zems_test::BinDir() + "/" + name);
    ASSERT_FALSE(original.empty()) << name;
    for (int round = 0; round < 150; ++round) {
      std::string bytes = original;
      int edits = 1 + int(random() % 8);
      for (int e = 0; e < edits; ++e) {
        size_t at = random() % bytes.size();
        switch (random() % 4) {
          case 0: bytes[at] = char(random()); break;
          case 1: bytes[at] ^= char(1u << (random() % 8)); break;
          case 2: if (at + 4 <= bytes.size()) Put32(bytes, at, uint32_t(random())); break;
          case 3: bytes.resize(at + 1); break;
        }
      }
      HMODULE m = Load(bytes);
      if (!m) {
        ++refused;
        continue;
      }
      ++loaded;
      WCHAR text[300];
      for (UINT id : {0u, 96u, 153u, 370u, 3006u, 15000u, 65535u}) LoadStringW(m, id, text, 300);
      for (UINT id : {6001u, 6229u, 8213u}) {
        HRSRC r = FindResourceW(m, MAKEINTRESOURCEW(id), RT_BITMAP);
        if (!r) continue;
        const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(m, r)));
        DWORD size = SizeofResource(m, r);
        unsigned sum = 0;
        for (DWORD i = 0; p && i < size; ++i) sum += p[i];
        (void)sum;
      }
      FindResourceW(m, TEXT("NAME"), TEXT("TYPE"));
      EXPECT_TRUE(FreeLibrary(m));
    }
  }
  EXPECT_GT(loaded + refused, 0);
}

TEST_F(PeReaderTest, EscapesAreRecorded) {
  HDC dc = reinterpret_cast<HDC>(0x1234);
  const char input[] = "abc";
  EXPECT_EQ(0, ExtEscape(dc, 122, 3, input, 0, nullptr));
  EXPECT_EQ(0, ExtEscape(dc, 7, 0, nullptr, 0, nullptr));
  ASSERT_EQ(2u, SimEscapeCount());
  HDC seen = nullptr;
  int code = 0;
  char copy[8] = {};
  EXPECT_EQ(3, SimGetEscape(0, &seen, &code, copy, sizeof copy));
  EXPECT_EQ(dc, seen);
  EXPECT_EQ(122, code);
  EXPECT_STREQ("abc", copy);
  EXPECT_EQ(0, SimGetEscape(1, nullptr, &code, nullptr, 0));
  EXPECT_EQ(7, code);
  EXPECT_EQ(-1, SimGetEscape(2, nullptr, nullptr, nullptr, 0));
  SimClearEscapes();
  EXPECT_EQ(0u, SimEscapeCount());
}

}  // namespace
