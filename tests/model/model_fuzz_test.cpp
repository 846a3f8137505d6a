// The reader and parser survive any bytes: mutated fixtures (a fixed seed, a few seconds at
// most) and hand-made hostile inputs end in a partial model or a dropped statement, never a
// crash or a read past the data. Each parse state is also built into its compiled image, fixed
// up and walked back against the state. Run under the sanitize build this is the fuzz target.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/common/mem.h"
#include "image_walk.h"
#include "model_test_util.h"

namespace {

// Parses bytes held in a block of exactly their size, so a read past the end is caught by the
// address sanitizer; walks what was built.
void ParseExact(const std::string& bytes, UINT codePage) {
  std::unique_ptr<char[]> block(new char[bytes.size() ? bytes.size() : 1]);
  if (!bytes.empty()) memcpy(block.get(), bytes.data(), bytes.size());
  ModelParseState* state = ModelParseMemory(block.get(), static_cast<DWORD>(bytes.size()), codePage);
  ASSERT_NE(nullptr, state) << "reading ends with the end of the data, so a parse never fails";
  EXPECT_EQ(nullptr, state->openName);
  size_t descriptors = 0;
  for (const ModelItemDescriptor* d = state->header->descriptors; d && descriptors <= bytes.size(); d = d->next)
    ++descriptors;
  EXPECT_LE(descriptors, bytes.size());
  ModelImageHeader* image = ModelBuildImage(state);
  if (image) {
    ModelFixUpImage(image);
    EXPECT_EQ("", model_test::CompareImage(state, image));
    MemFree(image);
  }
  ModelFreeParseState(state);
}

std::vector<std::string> Seeds() {
  std::vector<std::string> seeds = {
      model_test::SourceFile("samples/models/zems_c4.zmd"),
      model_test::Fixture("closeui_trailing_blank.zmd"),
      model_test::Fixture("openui_left_open.zmd"),
      model_test::Fixture("no_final_line_end.zmd"),
  };
  for (const std::string& s : seeds) EXPECT_FALSE(s.empty());
  return seeds;
}

std::string Mutate(const std::string& seed, std::mt19937& rng) {
  static const char kSpecial[] = "*%:{}()\"<>|= \t\r\n\0\x81\x9f\xe0";
  std::string s = seed;
  auto pick = [&](size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(rng) : 0; };
  int edits = 1 + static_cast<int>(pick(8));
  for (int i = 0; i < edits; ++i) {
    switch (pick(6)) {
      case 0:  // flip a byte
        if (!s.empty()) s[pick(s.size())] ^= static_cast<char>(1 + pick(255));
        break;
      case 1:  // insert a byte of the language
        s.insert(s.begin() + static_cast<long>(pick(s.size() + 1)), kSpecial[pick(sizeof(kSpecial) - 1)]);
        break;
      case 2: {  // delete a run
        size_t at = pick(s.size() + 1);
        s.erase(at, pick(64));
        break;
      }
      case 3:  // cut the file short
        s.resize(pick(s.size() + 1));
        break;
      case 4: {  // repeat a run elsewhere
        size_t from = pick(s.size() + 1), n = pick(200);
        std::string run = s.substr(from, n);
        s.insert(pick(s.size() + 1), run);
        break;
      }
      default:  // random bytes
        for (size_t n = pick(32); n > 0; --n)
          s.insert(s.begin() + static_cast<long>(pick(s.size() + 1)), static_cast<char>(pick(256)));
        break;
    }
  }
  return s;
}

TEST(ModelFuzz, MutatedFixturesNeverBreakTheParser) {
  std::vector<std::string> seeds = Seeds();
  std::mt19937 rng(20261210);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  int runs = 0;
  // Bounded by count and by time so that slow (sanitizer) builds stay short.
  for (; runs < 20000 && std::chrono::steady_clock::now() < deadline; ++runs) {
    const std::string& seed = seeds[runs % seeds.size()];
    ParseExact(Mutate(seed, rng), runs % 3 == 0 ? 932 : 1252);
    if (HasFatalFailure()) break;
  }
  EXPECT_GT(runs, 20);
}

TEST(ModelFuzz, HostileInputs) {
  std::string deepBraces = "*CommandGroup: JobStart {";
  for (int i = 0; i < 50000; ++i) deepBraces += " Command : Judge1 {";
  std::string elseIfChain = "*CommandGroup: JobStart { Command : Judge1 { Type : FontType }";
  for (int i = 0; i < 20000; ++i) elseIfChain += " ElseIf : Judge1 { Type : FontType }";
  std::string hugeValue = "*CommandString 1: \"" + std::string(8 << 20, 'x') + "\"\n";
  std::string longName = "*OpenUI *TOV_" + std::string(5000, 'a') + ": PickOne\n*CloseUI\n";
  std::string manyWords = "*OpenUI *TOV_dmPaperSize: PickOne\n*TOV_dmPaperSize: IDList {" +
                          std::string(100000, '{') + "\n*CloseUI\n";
  std::string bigNumbers = "*OpenUI *TOV_dmCopies: Numeric\n*NumericValue: 99999999999999999999 "
                           "\"-99999999999999999999 4294967296 1 2 3 4 5 6 7 8 9\"\n*CloseUI\n";
  std::string binary;
  std::mt19937 rng(7);
  for (int i = 0; i < 200000; ++i) binary += static_cast<char>(rng());
  std::string stars(100000, '*');
  std::string leadAtEnd = "*Name: \"\x83";
  std::string nuls = std::string("*FileVersion: 6.6\0003\n*OpenUI *TOV_dmColor\0: PickOne\n", 48);
  // Rules: '(' without end, judges that inline a name twice at every step, a long Exclusive
  // body, a long operator run, braces nested in a rule body.
  std::string deepParens = "*Judge 1: " + std::string(100000, '(') + "TOV_dmColor\n";
  std::string doubling = "*Judge 1=J1: TOV_dmColor\n";
  for (int k = 2; k <= 40; ++k) {
    doubling += "*Judge " + std::to_string(k) + "=J" + std::to_string(k) + ": J" + std::to_string(k - 1) + " && J" +
                std::to_string(k - 1) + "\n";
  }
  std::string exclusive = doubling + "*Exclusive: {";
  for (int i = 0; i < 20000; ++i) exclusive += " TOV_dmColor J12 Judge99 Item1 Alert1 Transact1 NULL J13";
  exclusive += " }\n";
  std::string operators = "*Judge 1: TOV_dmColor " + std::string(100000, '=') + " 1\n";
  std::string nestedBody = "*Transact 1: " + std::string(50000, '{') + " NULL NULL\n";
  // A rule number given twice, first to an empty list: the first still holds the number.
  std::string emptyFirst = "*Action 3=A: { }\n*Action 3=B: { TOV_dmCopies 3 }\n*Transact 1=T: { NULL A }\n"
                           "*Exclusive: { TOV_dmCopies NULL NULL NULL NULL T NULL NULL }\n";
  for (const std::string* input : {&deepBraces, &elseIfChain, &hugeValue, &longName, &manyWords, &bigNumbers,
                                   &binary, &stars, &leadAtEnd, &nuls, &deepParens, &doubling, &exclusive,
                                   &operators, &nestedBody, &emptyFirst}) {
    ParseExact(*input, 932);
    ParseExact(*input, 1252);
  }
}

}  // namespace
