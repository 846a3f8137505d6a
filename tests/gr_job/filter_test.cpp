// A registered filter takes the job: it is handed the chain (its own path, the spool DLL) and
// passes the stream on; its refusals stop the document or the page before the page's data.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/job_stream/job_stream.h"
#include "platform/sim.h"
#include "support/print_fixture.h"
#include "support/test_printer.h"

namespace {

using zems_test::PrintTest;

const char kOnePage[] = "doc \"F\"\npage\nendpage\nenddoc\n";
const char kFolder[] = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3";

class FilterTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    // As "zemshost machine install --filter" registers it.
    std::string folder = zems_test::HostPath(kFolder);
    std::filesystem::copy_file(zems_test::BinDir() + "/zfilter.so", folder + "/zfilter.dll",
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream(folder + "/ZEMSPLUG.ini", std::ios::binary)
        << "[iZEMSFilter]\r\nCount=1\r\nPluginID0=ZFilter\r\n\r\n[ZFilter]\r\nInstallPath=zfilter.dll\r\n";
  }
  static std::string StandIn(const std::string& name) { return std::string(SimMachineRoot()) + "/stand-ins/" + name; }
  static std::vector<std::string> Log(const std::string& name) {
    std::vector<std::string> lines;
    std::ifstream in(StandIn(name));
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  static std::vector<uint8_t> Stream(DWORD job) {
    std::ifstream in(StandIn("ov1bc123/" + std::to_string(job) + ".zjs"), std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
};

TEST_F(FilterTest, FilterGetsTheChainAndPassesTheStreamOn) {
  winsim::PrintSessionResult r = RunScript(kOnePage);
  ASSERT_TRUE(r.ok) << r.error;
  std::vector<std::string> log = Log("zfilter.log");
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0], "IZEMSGetInterface version=0x100 -> TRUE");
  std::string folder = kFolder;
  EXPECT_EQ(log[1], "Open entries=2 [" + folder + "\\zfilter.dll | " + folder + "\\OV1BC123.DLL] -> TRUE spool=loaded");
  EXPECT_EQ(log.back(), "IZEMSDisposeInterface");
  std::vector<uint8_t> bytes = Stream(r.jobId);
  JsJob job;
  JsError err;
  EXPECT_TRUE(JsRead(bytes.data(), bytes.size(), &job, &err)) << err.message;
  EXPECT_EQ(job.pages.size(), 1u);
}

TEST_F(FilterTest, RefusalsStopTheDocumentOrThePageBeforeItsData) {
  const struct {
    const char* script;
    const char* error;
    std::vector<uint32_t> blocks;  // what reached the spool DLL
  } kCases[] = {
      {"refuse interface", "DrvStartDoc failed", {}},
      {"open false", "DrvStartDoc failed", {}},
      {"endpage false", "DrvSendPage failed", {243, 243, 244, 240}},
  };
  for (const auto& c : kCases) {
    std::ofstream(StandIn("zfilter.script")) << c.script << "\n";
    winsim::PrintSessionResult r = RunScript(kOnePage);
    EXPECT_FALSE(r.ok) << c.script;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << c.script << ": " << r.error;
    std::vector<uint8_t> bytes = Stream(r.jobId);
    std::vector<uint32_t> types;
    for (size_t at = 0; at + 8 <= bytes.size();) {
      uint32_t type, cb;
      memcpy(&type, &bytes[at], 4);
      memcpy(&cb, &bytes[at + 4], 4);
      types.push_back(type);
      at += 8 + cb;
    }
    EXPECT_EQ(types, c.blocks) << c.script;
  }
}

}  // namespace
