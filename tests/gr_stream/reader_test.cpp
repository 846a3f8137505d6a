// The job-stream reader's structural checks: each malformed stream is refused with the offset
// of its fault, and a sound one reads whole.
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/job_stream/job_stream.h"

namespace {

struct Builder {
  std::vector<uint8_t> b;
  Builder& Block(uint32_t type, std::vector<uint8_t> payload = {}) {
    Word(type);
    Word(uint32_t(payload.size()));
    b.insert(b.end(), payload.begin(), payload.end());
    return *this;
  }
  void Word(uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  }
};

const std::vector<uint8_t> kStart = {96, 0, 0, 0, 100, 0, 0, 0, 200, 0, 0, 0, 0x2C, 1, 0x2C, 1};
const std::vector<uint8_t> kEnd = {97, 0, 0, 0};

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::vector<uint8_t> Page(const std::vector<uint8_t>& list) {
  Builder b;
  b.Block(244).Block(240).Block(245, list).Block(241);
  return b.b;
}

TEST(JobStreamReader, ASoundStreamReadsWhole) {
  Builder b;
  b.Block(243, {'@', 'P', 'J', 'L', '\r', '\n'});
  std::vector<uint8_t> stream = b.b;
  std::vector<uint8_t> page = Page(Join({kStart, {49, 0xCC, 0, 0}, kEnd}));
  stream.insert(stream.end(), page.begin(), page.end());
  JsJob job;
  JsError err;
  ASSERT_TRUE(JsRead(stream.data(), stream.size(), &job, &err)) << err.message;
  EXPECT_EQ(job.blocks.size(), 5u);
  ASSERT_EQ(job.pages.size(), 1u);
  EXPECT_EQ(job.pages[0].records.size(), 3u);
  std::string dump;
  JsDump(job, kJsDumpBlocks | kJsDumpRecords, 0, &dump);
  EXPECT_NE(dump.find("\"@PJL<0D><0A>\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("page-start       16 bytes: width=100 height=200 dpi=300x300"), std::string::npos) << dump;
  EXPECT_NE(dump.find("rop3=0xCC"), std::string::npos) << dump;
}

TEST(JobStreamReader, StructuralFaultsAreRefusedAtTheirOffset) {
  const std::vector<uint8_t> image = Join({{32, 0, 0x20, 0, 60, 0, 0, 0}, std::vector<uint8_t>(24, 0),
                                           {1, 0, 0, 0, 2, 0, 0, 0}, std::vector<uint8_t>(20, 0)});  // 2 rows need 64
  const struct {
    const char* what;
    std::vector<uint8_t> stream;
    size_t offset;
    int page;
    const char* message;
  } kCases[] = {
      {"cut head", {243, 0, 0}, 0, 0, "block head cut off"},
      {"payload past the end", {243, 0, 0, 0, 9, 0, 0, 0, 1}, 0, 0, "runs past the end"},
      {"unknown block", Builder().Block(246).b, 0, 0, "unknown block type 246"},
      {"display list outside a page", Builder().Block(245, kEnd).b, 0, 0, "outside a page"},
      {"page header without 240", Builder().Block(244).Block(241).b, 8, 0, "not followed by block 240"},
      {"page without end", Builder().Block(244).Block(240).b, 16, 1, "no page end"},
      {"96 not first", Page(Join({{55, 0, 0, 0}, kStart, kEnd})), 0, 1, "starts with record 55"},
      {"97 not last", Page(Join({kStart, kEnd, {55, 0, 0, 0}})), 16, 1, "page end record 97 inside"},
      {"unknown opcode", Page(Join({kStart, {99, 0, 0, 0}, kEnd})), 16, 1, "unknown record opcode 99"},
      {"record past the list", Page(Join({kStart, {81, 0, 0, 0, 0x40, 0, 0, 0}, kEnd})), 16, 1, "runs past"},
      {"image length wrong", Page(Join({kStart, image, kEnd})), 16, 1, "its rows need 64"},
      {"list not a multiple of 4", Page(Join({kStart, kEnd, {0}})), 21, 1, "not a multiple of 4"},
  };
  for (const auto& c : kCases) {
    JsJob job;
    JsError err;
    EXPECT_FALSE(JsRead(c.stream.data(), c.stream.size(), &job, &err)) << c.what;
    EXPECT_EQ(err.offset, c.offset) << c.what << ": " << err.message;
    EXPECT_EQ(err.page, c.page) << c.what;
    EXPECT_NE(err.message.find(c.message), std::string::npos) << c.what << ": " << err.message;
  }
}

}  // namespace
