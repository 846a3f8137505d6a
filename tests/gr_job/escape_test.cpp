// DrvEscape on a live PDEV of the sample printer: the supported list, the copy count, the
// private job strings and queries, and every buffer read or written only within its stated size.
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "gr2k/pdev.h"
#include "host/job_stream/job_stream.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "support/print_fixture.h"

namespace {

using zems_test::PrintTest;

class EscapeTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    pdev_ = EnableJob({});
    ASSERT_NE(pdev_, nullptr);
    so_.dhpdev = pdev_;
    escape_ = Ddi<PFN_DrvEscape>(INDEX_DrvEscape);
    ASSERT_NE(escape_, nullptr);
  }
  // The escape with an input of exactly cbIn bytes copied from in (none when in is null) and an
  // output of exactly cbOut bytes, filled with 0xCD first; the output comes back in *out.
  ULONG Escape(ULONG code, const void* in, ULONG cbIn, ULONG cbOut = 0, std::vector<BYTE>* out = nullptr) {
    std::vector<BYTE> input(in ? static_cast<const BYTE*>(in) : nullptr, in ? static_cast<const BYTE*>(in) + cbIn : nullptr);
    std::vector<BYTE> output(cbOut, 0xCD);
    ULONG r = escape_(&so_, code, cbIn, in ? input.data() : nullptr, cbOut, cbOut ? output.data() : nullptr);
    if (out) *out = output;
    return r;
  }
  GraphicsPdev* Pdev() { return reinterpret_cast<GraphicsPdev*>(pdev_); }
  DriverContext* Ctx() { return Pdev()->context; }
  std::string ItemText(WORD id) { return reinterpret_cast<const char*>(ItemGetRawById(Ctx(), id)); }

  DHPDEV pdev_ = nullptr;
  SURFOBJ so_ = {};
  PFN_DrvEscape escape_ = nullptr;
};

TEST_F(EscapeTest, QuerySupportAndCopyCount) {
  const struct {
    WORD asked;
    ULONG result;
  } kQueries[] = {{17, 999}, {19, 0}, {8, 1}, {111, 1}, {126, 1}, {140, 1}, {127, 0}, {139, 0}};
  for (const auto& q : kQueries) EXPECT_EQ(Escape(8, &q.asked, 2), q.result) << "escape " << q.asked;
  EXPECT_EQ(Escape(8, &kQueries[0].asked, 1), 0u) << "one byte is no escape code";
  Pdev()->jobBinderBit = 1;
  WORD passThrough = 19;
  EXPECT_EQ(Escape(8, &passThrough, 2), 1u) << "pass-through in job-binder mode";
  Pdev()->jobBinderBit = 0;

  const struct {
    DWORD asked;
    DWORD copies;
  } kCopies[] = {{0, 1}, {5, 5}, {998, 998}, {999, 999}, {5000, 999}, {0xFFFFFFFF, 999}};
  for (const auto& c : kCopies) {
    std::vector<BYTE> out;
    ASSERT_EQ(Escape(17, &c.asked, 4, 4, &out), 1u) << c.asked;
    DWORD answered = 0;
    memcpy(&answered, out.data(), 4);
    EXPECT_EQ(answered, c.copies) << c.asked;
    EXPECT_EQ(Pdev()->copies, SHORT(c.copies)) << c.asked;
    EXPECT_EQ(ItemGetRawById(Ctx(), kItem_dmCopies), LONG(c.copies)) << c.asked;
  }
  DWORD seven = 7;
  EXPECT_EQ(Escape(17, &seven, 3), ULONG(-1)) << "three bytes are no copy count";
  EXPECT_EQ(Escape(17, nullptr, 4), ULONG(-1)) << "no input, whatever its size";
  std::vector<BYTE> out;
  EXPECT_EQ(Escape(17, &seven, 4, 3, &out), 1u);
  EXPECT_EQ(out, std::vector<BYTE>(3, 0xCD)) << "an output too small is left alone";
}

TEST_F(EscapeTest, StringEscapesCopyWithinInputAndItem) {
  const char digits[] = "12345678901234567890";
  const struct {
    const char* what;
    ULONG code;
    WORD id;
    const void* in;
    ULONG cbIn;
    const char* expected;
  } kCases[] = {
      {"user code, long", 111, kItem_zdmUserCode, digits, 20, "12345678"},
      {"user code, exact", 111, kItem_zdmUserCode, digits, 8, "12345678"},
      {"user code, short", 111, kItem_zdmUserCode, digits, 3, "123"},
      {"user code, NULL with a size", 111, kItem_zdmUserCode, nullptr, 5, "123"},
      {"owner stops at its NUL", 112, kItem_zdmOwnerName, "ann\0bob", 8, "ann"},
      {"job password", 113, kItem_zdmJOBPassword, digits, 4, "1234"},
      {"user id", 114, kItem_zdmUserID, "ann", 3, "ann"},
      {"document", 115, kItem_zdmDocumentName, digits, 20, "1234567890123456"},
      {"fax number", 116, kItem_zdmTelNo, "+81 (3)", 7, "+81 (3)"},
      {"stored password", 118, kItem_zdmStoredPassword, "9876", 4, "9876"},
      {"authentication user", 123, kItem_wdmAuthenticationUserName, "ann", 3, "ann"},
      {"network key", 124, kItem_wdmAuthenticationNetworkKey, digits, 20, "12345678901234567890"},
      {"authentication password", 125, kItem_wdmAuthenticationPassword, "pw", 2, "pw"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Escape(c.code, c.in, c.cbIn), 1u) << c.what;
    EXPECT_EQ(ItemText(c.id), c.expected) << c.what;
  }
  EXPECT_EQ(Escape(117, "12abc", 5), 1u);
  EXPECT_EQ(ItemGetRawById(Ctx(), kItem_zdmTelLine), 12);
  EXPECT_EQ(Escape(117, "34", 1), 1u);
  EXPECT_EQ(ItemGetRawById(Ctx(), kItem_zdmTelLine), 3) << "only the bytes given are read";
}

TEST_F(EscapeTest, QueriesWriteOnlyWhatFits) {
  std::vector<BYTE> out;
  EXPECT_EQ(Escape(20, nullptr, 0, 5, &out), 1u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out.data())), "ZEMS");
  EXPECT_EQ(Escape(20, nullptr, 0, 4, &out), 0u);
  EXPECT_EQ(out, std::vector<BYTE>(4, 0xCD));
  EXPECT_EQ(Escape(42, nullptr, 0, 16, &out), 1u);
  FLOAT units[4];
  memcpy(units, out.data(), sizeof units);
  EXPECT_EQ(units[0], FLOAT(Pdev()->paper.printableWidthDots));
  EXPECT_EQ(units[2], 0.0f) << "no page open: offsets 0";
  EXPECT_EQ(units[3], 0.0f);
  EXPECT_EQ(Escape(42, nullptr, 0, 15, &out), 0u);
  for (ULONG code : {119u, 120u, 126u}) {
    EXPECT_EQ(Escape(code, nullptr, 0, 2, &out), 1u) << code;
    EXPECT_NE(out, std::vector<BYTE>(2, 0xCD)) << code;
    EXPECT_EQ(Escape(code, nullptr, 0, 1, &out), 1u) << code;
    EXPECT_EQ(out, std::vector<BYTE>(1, 0xCD)) << code << ": one byte holds no word";
  }
  EXPECT_EQ(Escape(140, nullptr, 0, 64, &out), 1u);
  std::string version(reinterpret_cast<char*>(out.data()));
  EXPECT_FALSE(version.empty());
  EXPECT_EQ(Escape(140, nullptr, 0, ULONG(version.size()), &out), 0u) << "no room for the NUL";
  EXPECT_EQ(Escape(141, nullptr, 0, 260, &out), 1u);
  EXPECT_EQ(Escape(141, nullptr, 0, 0, &out), 0u);
}

TEST_F(EscapeTest, SettingsPathAndTextTableTakeWholePieces) {
  std::u16string path(300, u'p');
  EXPECT_EQ(Escape(121, path.data(), ULONG(path.size() * 2)), 1u);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(Ctx()->ui->settingsFilePath)).size(), 259u);
  EXPECT_EQ(Escape(121, u"C:\\a.ini", 6), 1u);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(Ctx()->ui->settingsFilePath)), u"C:\\");
  // Escape 122 with less than one row changes nothing.
  std::vector<BYTE> rows(525, 'x');
  EXPECT_EQ(Escape(122, rows.data(), ULONG(rows.size())), 1u);
}

TEST_F(EscapeTest, PassThroughOnlyInJobBinderMode) {
  BYTE in[6] = {4, 0, 'a', 'b', 'c', 'd'};
  EXPECT_EQ(Escape(19, in, 6), 4u) << "outside job-binder mode: the count, nothing sent";
  Pdev()->jobBinderBit = 1;
  in[0] = 9;
  EXPECT_EQ(Escape(19, in, 6), ULONG(-1)) << "a count beyond the input";
  Pdev()->jobBinderBit = 0;
}

TEST_F(EscapeTest, EscapedStringsReachTheHeaderAndSurviveAVectorReset) {
  const std::string script =
      "escape 111 in=\"4711\"\nescape 123 in=\"ann\"\n"
      "doc \"e\"\npage\nreset dmOrientation=2\npage\nenddoc\n";
  winsim::PrintSessionOptions options;
  options.settings.emplace_back("zdmImagePrint", "0");
  winsim::PrintSessionResult r = RunScript(script, options);
  ASSERT_TRUE(r.ok) << r.error;
  std::ifstream in(std::string(SimMachineRoot()) + "/stand-ins/ov1bc123/" + std::to_string(r.jobId) + ".zjs",
                   std::ios::binary);
  std::string stream((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t codes = 0;
  for (size_t p = stream.find("USERCODE = 4711"); p != std::string::npos; p = stream.find("USERCODE = 4711", p + 1))
    ++codes;
  EXPECT_EQ(codes, 2u) << "the header before the first page and again after the reset";
  EXPECT_NE(stream.find("AUTHENTICATIONUSERNAME = \"ann\""), std::string::npos);
}

}  // namespace
