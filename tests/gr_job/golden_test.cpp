// The golden jobs of tests/fixtures/print: each script printed through the spool stand-in must
// dump as its NAME.jobdump (scripts/print_goldens.sh regenerates them for review), and a job
// printed twice must be the same bytes.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/job_stream/job_stream.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "support/print_fixture.h"

namespace {

using zems_test::PrintTest;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The devmode line of a golden printed in monochrome raster mode.
const char kRasterMono[] = "devmode zdmImagePrint=1 zdmColorProcess=1 dmColor=1\n";
const char kTextAsBitmap[] = "devmode zdmHiddenFunc26=1\n";

class GoldenTest : public PrintTest {
 protected:
  std::vector<uint8_t> Print(const std::string& script) {
    winsim::PrintSessionResult r = RunScript(script);
    EXPECT_TRUE(r.ok) << r.error;
    std::string bytes = ReadText(std::string(SimMachineRoot()) + "/stand-ins/ov1bc123/" + std::to_string(r.jobId) + ".zjs");
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
  }
};

TEST_F(GoldenTest, JobsMatchTheirDumpsAndRepeatByteForByte) {
  // The clock of scripts/print_goldens.sh: the job header carries the date and time.
  SYSTEMTIME clock = {2026, 1, 0, 2, 3, 4, 5, 0};
  ASSERT_TRUE(SimSetLocalTime(&clock));
  // A golden of another mode prints its script after a devmode line of that mode.
  const struct {
    const char* name;
    const char* script;
    const char* prefix;
  } kGoldens[] = {
      {"blank2", "blank2", ""},
      {"jobbinder", "jobbinder", ""},
      {"reset", "reset", ""},
      {"raster_mono", "raster_mono", ""},
      {"raster_colour", "raster_colour", ""},
      {"vector_shapes", "vector_shapes", ""},
      {"vector_shapes_raster", "vector_shapes", kRasterMono},
      {"images", "images", ""},
      {"images_raster", "images", kRasterMono},
      {"text", "text", ""},
      {"text_raster", "text", kRasterMono},
      {"text_bitmap", "text", kTextAsBitmap},
  };
  for (const auto& golden : kGoldens) {
    const char* name = golden.name;
    std::string dir = zems_test::SourceDir() + "/tests/fixtures/print/";
    std::string base = dir + name;
    std::string script = ReadText(dir + golden.script + ".zds");
    ASSERT_FALSE(script.empty()) << name;
    script = golden.prefix + script;
    // Raster mode has no device fonts: their part of the page, from "# device fonts" to the
    // page's end, is left out.
    size_t cut = script.find("# device fonts\n");
    if (golden.prefix == kRasterMono && cut != std::string::npos)
      script.erase(cut, script.find("endpage\n", cut) - cut);
    std::vector<uint8_t> first = Print(script);
    JsJob job;
    JsError err;
    ASSERT_TRUE(JsRead(first.data(), first.size(), &job, &err)) << name << ": " << err.message;
    std::string dump;
    JsDump(job, kJsDumpBlocks | kJsDumpRecords, 0, &dump);
    EXPECT_EQ(dump, ReadText(base + ".jobdump")) << name << ": run scripts/print_goldens.sh and review the diff";
    EXPECT_TRUE(Print(script) == first) << name << ": a second run differs";
  }
}

}  // namespace
