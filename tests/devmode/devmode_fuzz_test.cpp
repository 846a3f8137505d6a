// Mutated DEVMODEs through every reader of outside DEVMODEs, on a context of the sample
// printer (the run of the libFuzzer target tools/fuzz/devmode_fuzz.cpp).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/devmode/dm_convert.h"
#include "devmode/devmode_fuzz_body.h"
#include "dm_test_util.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

std::vector<BYTE> Mutate(const std::vector<BYTE>& seed, std::mt19937& rng) {
  std::vector<BYTE> d = seed;
  static const WORD kSizes[] = {0, 10, 75, 76, 148, 188, 212, 220, 221, 594, 1016, 1024, 4000, 0xFFFF};
  const int edits = 1 + rng() % 4;
  for (int i = 0; i < edits; ++i) {
    switch (rng() % 5) {
      case 0:
        if (!d.empty()) d[rng() % d.size()] = static_cast<BYTE>(rng());
        break;
      case 1:
        if (d.size() >= 72) WriteU16(d.data(), kDmOffSize, kSizes[rng() % (sizeof kSizes / sizeof kSizes[0])]);
        break;
      case 2:
        if (d.size() >= 72) WriteU16(d.data(), kDmOffDriverExtra, kSizes[rng() % (sizeof kSizes / sizeof kSizes[0])]);
        break;
      case 3:
        d.resize(rng() % (d.size() + 1));
        break;
      default:
        for (int k = rng() % 64; k > 0; --k) d.push_back(static_cast<BYTE>(rng()));
        break;
    }
  }
  return d;
}

class DevmodeFuzzTest : public ContextTest {};

TEST_F(DevmodeFuzzTest, MutatedDevmodesKeepTheContextWhole) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  ASSERT_NE(ctx->settings, nullptr);
  std::vector<std::vector<BYTE>> seeds;
  seeds.push_back(OwnDevmode(ctx));
  seeds.push_back(OwnDevmode(ctx, 320));
  std::vector<BYTE> foreign = OwnDevmode(ctx);
  foreign[kDmOffPrivateTag] = 'x';
  seeds.push_back(foreign);
  std::vector<BYTE> old(1204);
  LONG needed = 1204;
  ASSERT_EQ(DmConvertDevmode(nullptr, seeds[0].data(), old.data(), &needed, 2), 1);
  seeds.push_back(old);
  seeds.push_back(std::vector<BYTE>(seeds[0].begin(), seeds[0].begin() + 220));
  seeds.push_back(std::vector<BYTE>(40, 0));

  std::mt19937 rng(18);
  for (int run = 0; run < 150; ++run) {
    std::vector<BYTE> input = Mutate(seeds[run % seeds.size()], rng);
    std::string why = devmode_fuzz::RunOne(ctx, office_, u"Office", input.data(), input.size());
    ASSERT_EQ(why, "") << "run " << run << ", " << input.size() << " bytes";
  }
  CtxRelease(ctx, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test
