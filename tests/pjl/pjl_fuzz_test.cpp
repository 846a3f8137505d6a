// Mutated command bases and updates through the service on the sample printer, for a bounded
// time: each call answers one of its results, and the handle's base always parses again.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "core/context/context_cache.h"
#include "core/pjl/pjl_service.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

const char kSeed[] =
    "@PJL SET APLPAGESIZE = A4 \r\n@PJL SET APLPAGELAYOUT = PORTRAIT \r\n@PJL SET PAPER = SAME \r\n"
    "@PJL SET TRAY = ALL \r\n@PJL SET COPIES = 2 \r\n@PJL SET DUPLEX = ON \r\n@PJL SET BINDING = LEFT \r\n"
    "@PJL SET BOOKLET = BOOKLETC \r\n@PJL SET NUP = 4IN1P1 \r\n@PJL SET SCALETYPE = PAPERSCALE \r\n"
    "@PJL SET PAPERSCALEH = 150 \r\n@PJL SET COLLATE = SORT \r\n@PJL SET MEDIATYPE = TRANSPARENCY \r\n";

std::string Mutate(const std::string& seed, std::mt19937& rng) {
  std::string s = seed;
  const char* pieces[] = {"=", " ", "\r\n", "\n", "\"", "@PJL SET ", "TRAY", "OFF", "4IN1P1", "999999999999", "\xff",
                          "LEFT", "BOOKLETF", "-1", "\t"};
  int edits = 1 + static_cast<int>(rng() % 6);
  for (int i = 0; i < edits; ++i) {
    size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
    switch (rng() % 4) {
      case 0: s.insert(at, pieces[rng() % (sizeof(pieces) / sizeof(pieces[0]))]); break;
      case 1: if (at < s.size()) s.erase(at, 1 + rng() % 12); break;
      case 2: if (at < s.size()) s[at] = static_cast<char>(rng()); break;
      default: s.insert(at, std::string(1 + rng() % 300, 'A')); break;
    }
  }
  return s;
}

class PjlFuzzTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ResetTestVariant();
    CtxCacheInit();
    ASSERT_EQ(0, RunHost("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd --extra " +
                         SourceDir() + "/samples/driver/OV1BD172.ini"));
  }
  void TearDown() override {
    CtxCacheExpire(TRUE);
    MachineTest::TearDown();
  }
};

TEST_F(PjlFuzzTest, MutatedBasesAndUpdates) {
  ExcHandle* h = ExcOpenHandle("ZEMS Printer");
  ASSERT_NE(nullptr, h);
  std::mt19937 rng(31);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  int runs = 0;
  // A few runs always, whatever the machine's load; more while the time lasts.
  for (; runs < 400 && (runs < 5 || std::chrono::steady_clock::now() < deadline); ++runs) {
    std::string base = Mutate(kSeed, rng);
    int length = -7;
    int r = ExcServiceSetCommandBase(h, base.c_str(), &length);
    ASSERT_TRUE(r >= -2 && r <= 1) << r;
    ASSERT_EQ(r == 1, length > 0) << base;
    std::string update = Mutate("@PJL SET NUP = 9IN1P1 \r\n", rng);
    r = ExcServiceUpdateCommand(h, update.c_str(), &length);
    ASSERT_TRUE(r >= -1 && r <= 1) << r;
    char buffer[64];
    ExcServiceGetCommandValue(h, "BINDING", 1, sizeof buffer, buffer, &length);
    // The rebuilt base is always in the written form.
    if (h->baseText) {
      char name[kPjlTokenSize], value[kPjlTokenSize];
      for (const char* p = h->baseText; *p;) {
        int used = PjlParseSetLine(p, name, value);
        ASSERT_GT(used, 0) << h->baseText;
        p += used;
      }
    }
  }
  ExcFreeHandle(h);
}

}  // namespace
}  // namespace zems_test
