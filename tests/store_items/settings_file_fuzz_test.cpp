// The settings-file loader survives any file: a seeded mutation loop over files saved from the
// sample printer (a fixed seed, a few seconds at most), as the fuzz target runs it. Under the
// sanitize build a read past a buffer or a bad value is caught here too.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "core/system/printer_names.h"
#include "core/store/settings_file.h"
#include "store_items/settings_file_fixture.h"
#include "support/settings_file_exercise.h"

namespace zems_test {
namespace {

std::string Mutate(const std::string& seed, std::mt19937& rng) {
  static const char kSpecial[] = "[]=;\r\n \t\0\x81\xff-0123456789";
  std::string s = seed;
  auto pick = [&](size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(rng) : 0; };
  int edits = 1 + int(pick(8));
  for (int i = 0; i < edits; ++i) {
    switch (pick(6)) {
      case 0:
        if (!s.empty()) s[pick(s.size())] ^= char(1 + pick(255));
        break;
      case 1:
        s.insert(s.begin() + long(pick(s.size() + 1)), kSpecial[pick(sizeof(kSpecial) - 1)]);
        break;
      case 2:
        s.erase(pick(s.size() + 1), pick(64));
        break;
      case 3:
        s.resize(1 + pick(s.size()));
        break;
      case 4: {
        size_t from = pick(s.size() + 1);
        std::string run = s.substr(from, pick(300));
        s.insert(pick(s.size() + 1), run);
        break;
      }
      default:
        for (size_t n = pick(32); n > 0; --n) s.insert(s.begin() + long(pick(s.size() + 1)), char(pick(256)));
    }
  }
  if (!s.empty()) s[0] = char(pick(256));  // any flags
  return s;
}

TEST_F(SettingsFileTest, MutatedSettingsFilesLoadWithoutHarm) {
  const std::u16string path = FilePath(u"mutated.rst");
  std::vector<std::string> seeds = SettingsFileSeeds(ctx(), office_, path);
  ASSERT_EQ(seeds.size(), 3u);
  for (const std::string& s : seeds) ASSERT_GT(s.size(), 100u);
  std::mt19937 rng(20261211);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(4);
  int runs = 0;
  std::string before(reinterpret_cast<const char*>(ctx()->settings), kSettingsBlockSize);
  while (std::chrono::steady_clock::now() < until && runs < 400) {
    std::string input = Mutate(seeds[size_t(runs) % seeds.size()], rng);
    LONG status = ExerciseSettingsFileLoad(ctx(), office_, path, reinterpret_cast<const uint8_t*>(input.data()),
                                           input.size());
    EXPECT_GE(status, 0);
    EXPECT_LE(status, 3);
    ASSERT_EQ(std::u16string(PrnGetPrinterName(ctx())), u"Office");
    ++runs;
  }
  EXPECT_GT(runs, 20);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ctx()->settings), kSettingsBlockSize), before);
}

}  // namespace
}  // namespace zems_test
