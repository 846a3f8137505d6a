// The drawing-script reader: what each statement becomes, and every error with its place.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdi32/draw_script.h"

namespace zems_test {
namespace {

using winsim::DrawKind;
using winsim::ReadDrawScript;
using winsim::ScriptError;

winsim::ScriptResult Read(const std::string& text) { return ReadDrawScript(text.data(), text.size()); }

TEST(ScriptReader, StatementsBecomeTheirRecords) {
  winsim::ScriptResult r = Read(
      "\xEF\xBB\xBF# a comment line\r\n"
      "devmode dmCopies=3 zdmImagePrint=0x1\n"
      "doc \"Caf\xC3\xA9 \\\"x\\\" \\\\ \\x41\" id=7 user=\"Ann\"   # trailing comment\n"
      "page\n"
      "clip rect 0 0 100 -5\n"
      "clip rects 0 0 1 1 2 2 3 3\n"
      "brush solid 0xFF8000\n"
      "rect 10 20 30 40 rop=0x5A5A\n"
      "escape QUERYESCSUPPORT in=u32:17 out=4\n"
      "escape 4096 in=w\"ab\" out=0\n"
      "escape 19 in=<01 02 0a>\n"
      "reset dmOrientation=2\n"
      "endpage\n"
      "enddoc\n");
  ASSERT_EQ(ScriptError::None, r.error) << winsim::ScriptErrorText(r);
  ASSERT_EQ(13u, r.statements.size());
  const auto& s = r.statements;
  EXPECT_EQ(DrawKind::Devmode, s[0].kind);
  EXPECT_EQ(2, s[0].line);
  ASSERT_EQ(2u, s[0].settings.size());
  EXPECT_EQ("zdmImagePrint", s[0].settings[1].first);
  EXPECT_EQ("0x1", s[0].settings[1].second);
  EXPECT_EQ(u"Caf\u00E9 \"x\" \\ A", s[1].text);
  EXPECT_EQ(7, s[1].number);
  EXPECT_EQ(u"Ann", s[1].user);
  EXPECT_EQ("rect", s[3].subkind);
  EXPECT_EQ(-5, s[3].rects[0].bottom);
  EXPECT_EQ(2u, s[4].rects.size());
  EXPECT_EQ(0xFF8000u, s[5].colour);
  EXPECT_EQ(0x5A5Au, s[6].rop);
  EXPECT_EQ(8, s[7].number);
  EXPECT_EQ(std::string("\x11\0\0\0", 4), s[7].bytes);
  EXPECT_EQ(4, s[7].out);
  EXPECT_EQ(std::string("a\0b\0", 4), s[8].bytes);
  EXPECT_EQ(std::string("\x01\x02\x0a"), s[9].bytes);
  EXPECT_EQ(DrawKind::Reset, s[10].kind);
}

TEST(ScriptReader, LaterStatementsAreReadWithTheirBounds) {
  winsim::ScriptResult r = Read(
      "pen width=3 geometric style=1,2 cap=round\n"
      "brush hatch 2 0xFF0000 0xFFFFFF\n"
      "brush pattern 8 1 1 <aa 00 00 00>\n"
      "image 0 0 100 100 2 2 1 <80000000 40000000> call=stretch src=0 0 2 2\n"
      "image 0 0 100 100 640 480 24 gen=ramp:3\n"
      "path fill winding M 0 0 L 10 0 C 1 2 3 4 5 6 Z\n"
      "font \"Arial\" size=120 bold\n"
      "text 10 10 \"hello\" fixed=20 opaque 0 0 5 5 extra 1 2\n");
  ASSERT_EQ(ScriptError::None, r.error) << winsim::ScriptErrorText(r);
  ASSERT_EQ(8u, r.statements.size());
  // What the session draws with: the pen's settings, the hatch's colours, the pattern's bits,
  // the path's points with their kinds (Z closes the last one) and its rule.
  EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{
                {"width", "3"}, {"geometric", "1"}, {"style", "1,2"}, {"cap", "round"}}),
            r.statements[0].settings);
  EXPECT_EQ(0xFF0000u, r.statements[1].colour);
  EXPECT_EQ(0xFFFFFFu, r.statements[1].colour2);
  EXPECT_EQ(std::string("\xaa\0\0\0", 4), r.statements[2].image);
  EXPECT_EQ(8, r.statements[2].width);
  const winsim::DrawStatement& path = r.statements[5];
  EXPECT_TRUE(path.winding);
  EXPECT_EQ((std::vector<long>{0, 0, 10, 0, 1, 2, 3, 4, 5, 6}), path.points);
  EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 3, 0x83}), path.pointKinds);
}

TEST(ScriptReader, ErrorsGiveTheirLineAndColumn) {
  struct Case {
    std::string text;
    ScriptError error;
    int line, column;
  } cases[] = {
      {"page\nfrobnicate 1\n", ScriptError::UnknownStatement, 2, 1},
      {"rect 1 2 3\n", ScriptError::MissingArgument, 1, 11},
      {"rect 1 2 3 4 5\n", ScriptError::UnknownOption, 1, 14},
      {"page now\n", ScriptError::ExtraArgument, 1, 6},
      {"rect 1 2 x 4\n", ScriptError::BadNumber, 1, 10},
      {"rect 0 0 67108864 1\n", ScriptError::NumberOutOfRange, 1, 10},
      {"rect 0 0 67108863 1\n", ScriptError::None, 0, 0},
      {"rect 0 0 0x100000000 1\n", ScriptError::BadNumber, 1, 10},
      {"brush solid 0x1000000\n", ScriptError::BadColour, 1, 13},
      {"doc \"open\n", ScriptError::UnterminatedText, 1, 5},
      {"doc \"a\\qb\"\n", ScriptError::BadEscape, 1, 7},
      {"doc \"\\xC3(\"\n", ScriptError::NotUtf8, 1, 5},
      {"escape 19 in=<0g>\n", ScriptError::BadHex, 1, 16},
      {"escape 19 in=<012>\n", ScriptError::BadHex, 1, 14},
      {"devmode dmCopies\n", ScriptError::BadSetting, 1, 9},
      {"devmode\n", ScriptError::MissingArgument, 1, 8},
      {"doc \"x\" pages=2\n", ScriptError::UnknownOption, 1, 9},
      {"clip ellipse 1 2\n", ScriptError::UnknownKeyword, 1, 6},
      {"image 0 0 1 1 8192 8192 32 gen=ramp\n", ScriptError::ImageTooLarge, 1, 28},
      {"image 0 0 1 1 2 2 1 <80>\n", ScriptError::ImageDataSize, 1, 21},
      {"path fill M 0 0 Q 1 1\n", ScriptError::UnknownKeyword, 1, 17},
      {"pen cap=flat\n", ScriptError::BadSetting, 1, 5},
      {"pen width=-1\n", ScriptError::BadSetting, 1, 5},
      {"pen colour=1\n", ScriptError::UnknownOption, 1, 5},
      {std::string(70000, ' ') + "page\n", ScriptError::StatementTooLong, 1, 1},
  };
  for (const Case& c : cases) {
    winsim::ScriptResult r = Read(c.text);
    EXPECT_EQ(c.error, r.error) << c.text.substr(0, 40) << ": " << winsim::ScriptErrorText(r);
    EXPECT_EQ(c.line, r.line) << c.text.substr(0, 40);
    EXPECT_EQ(c.column, r.column) << c.text.substr(0, 40);
  }
}

TEST(ScriptReader, PathAndTextBoundsHold) {
  std::string points = "path stroke M 0 0";
  for (int i = 0; i < 10000; ++i) points += " L 1 1";
  EXPECT_EQ(ScriptError::None, Read(points + "\n").error);  // below 64 KiB per line, far below the point bound
  std::string text = "text 0 0 \"" + std::string(60000, 'a') + "\"\n";
  EXPECT_EQ(ScriptError::None, Read(text).error);
  EXPECT_STREQ("text longer than 200,000 characters", winsim::ScriptErrorMessage(ScriptError::TextTooLong));
}

}  // namespace
}  // namespace zems_test
