// The statement reader: keywords, words, values over several lines, quotes, parentheses,
// braces, '%' escapes, double-byte text, recovery after errors, and the data file itself.
#include <gtest/gtest.h>

#include <string.h>

#include <filesystem>
#include <fstream>

#include "core/common/mem.h"
#include "model_test_util.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"

using model_test::ReadStatements;
using model_test::Statement;

namespace {

struct GrammarCase {
  const char* what;
  std::string text;
  std::vector<Statement> expected;  // the statements in order; the end result closes the list
};

const int OK = kModelReadOk;
const int END = kModelReadEnd;
const int SYN = kModelReadSyntax;

std::string Show(const std::vector<Statement>& list) {
  std::string out;
  for (const Statement& s : list) {
    out += std::to_string(s.result) + " [" + s.keyword + "][" + s.word1 + "][" + s.word2 + "][" + s.value + "]\n";
  }
  return out;
}

TEST(StatementReader, Grammar) {
  const GrammarCase cases[] = {
      {"keyword alone", "*CloseUI\n", {{OK, "CloseUI", "", "", ""}, {END}}},
      {"keyword and colon", "*CloseUI:\n", {{OK, "CloseUI", "", "", ""}, {END}}},
      {"two words", "*OpenUI *Item 2: PickOne\n", {{OK, "OpenUI", "*Item", "2", "PickOne"}, {END}}},
      {"words end at a slash", "*Key A/B: v\n", {{SYN, "Key", "A", "", ""}, {END}}},
      {"three words", "*OpenUI *Item 2 3: PickOne\n*Next\n", {{SYN, "OpenUI", "*Item", "2", ""}, {OK, "Next"}, {END}}},
      {"one word, no colon", "*OpenUI *Item\n*Next\n", {{SYN, "OpenUI", "*Item", "", ""}, {OK, "Next"}, {END}}},
      {"blank after the star", "* OpenUI: x\n*Next\n", {{SYN}, {OK, "Next"}, {END}}},
      {"comment lines", "*% *OpenUI: x\n*%\n*Next\n", {{OK, "Next"}, {END}}},
      {"lines without a star", "OpenUI: x\n  *Indented: y\n\n*Next: z\n", {{OK, "Next", "", "", "z"}, {END}}},
      {"blanks before the value", "*Key:   \t value  \n", {{OK, "Key", "", "", "value  "}, {END}}},
      {"CR LF line ends", "*A: 1\r\n*B: 2\r\n", {{OK, "A", "", "", "1"}, {OK, "B", "", "", "2"}, {END}}},
      {"value over lines in braces",
       "*V: {a (b\nc)\n d\n}\n*N\n",
       {{OK, "V", "", "", "{a (b\nc)\n d\n}"}, {OK, "N"}, {END}}},
      {"line end inside quotes", "*V: \"a\nb\"\n", {{OK, "V", "", "", "\"a\nb\""}, {END}}},
      {"'}' while '(' is open", "*V: {(a}\n*N\n", {{SYN, "V", "", "", "{(a"}, {OK, "N"}, {END}}},
      {"'(' inside quotes", "*V: \"a(b\"\n*N\n", {{SYN, "V", "", "", "\"a"}, {OK, "N"}, {END}}},
      {"')' with none open", "*V: a)\n", {{SYN, "V", "", "", "a"}, {END}}},
      {"'{' inside a parenthesis", "*V: ({)\n", {{SYN, "V", "", "", "("}, {END}}},
      {"'%' keeps a quote", "*V: \"a%\"b\"\n", {{OK, "V", "", "", "\"a%\"b\""}, {END}}},
      {"'%' before a line end", "*V: \"a%\nb\"\n*N\n", {{SYN, "V", "", "", "\"a%"}, {OK, "N"}, {END}}},
      {"'%' outside quotes", "*V: 100%\n", {{OK, "V", "", "", "100%"}, {END}}},
      {"lines of a broken value are skipped",
       "*V: {(\n}\n x\n*N\n",
       {{SYN, "V", "", "", "{(\n"}, {OK, "N"}, {END}}},
      // The data may end without a line end: the last statement still counts.
      {"last statement without a line end", "*A: 1\n*B: 2", {{OK, "A", "", "", "1"}, {OK, "B", "", "", "2"}, {END}}},
      {"last keyword without a line end", "*A: 1\n*CloseUI", {{OK, "A", "", "", "1"}, {OK, "CloseUI"}, {END}}},
      // A CloseUI followed by blanks is still a CloseUI.
      {"keyword and trailing blanks", "*CloseUI  \t\n*N\n", {{OK, "CloseUI"}, {OK, "N"}, {END}}},
      {"keyword and blanks at the end", "*CloseUI  ", {{OK, "CloseUI"}, {END}}},
      {"cut off inside quotes", "*V: \"abc", {{SYN, "V", "", "", "\"abc"}, {END}}},
      {"cut off inside braces", "*V: {a\nb", {{SYN, "V", "", "", "{a\nb"}, {END}}},
      {"a lone star at the end", "*", {{END}}},
      {"empty data", "", {{END}}},
  };
  for (const GrammarCase& c : cases) {
    std::vector<Statement> got = ReadStatements(c.text);
    bool same = got.size() == c.expected.size();
    for (size_t i = 0; same && i < got.size(); ++i) {
      const Statement& e = c.expected[i];
      same = got[i].result == e.result &&
             (e.result == SYN && e.keyword.empty() ? true
                                                   : got[i].keyword == e.keyword && got[i].word1 == e.word1 &&
                                                         got[i].word2 == e.word2 && got[i].value == e.value);
    }
    EXPECT_TRUE(same) << c.what << "\nexpected:\n" << Show(c.expected) << "got:\n" << Show(got);
  }
}

// In code page 932 a lead byte takes the next byte with it, so a trail byte that looks like
// '{' or '\' inside a quoted name is text. Read as code page 1252 the same bytes break the value.
TEST(StatementReader, DoubleByteTextInCodePage932) {
  const std::string name = "\"\x83\x7B\x95\x5C\"";  // two characters whose trail bytes are '{' and '\'
  const std::string text = "*Name: " + name + "\n*N\n";
  std::vector<Statement> sjis = ReadStatements(text, 932);
  ASSERT_EQ(3u, sjis.size()) << Show(sjis);
  EXPECT_EQ(OK, sjis[0].result);
  EXPECT_EQ(name, sjis[0].value);
  std::vector<Statement> latin = ReadStatements(text, 1252);
  EXPECT_EQ(SYN, latin[0].result) << "a '{' inside quotes is an error in a single-byte code page";
}

TEST(StatementReader, LongValuesGrowTheBuffers) {
  std::string value(70000, 'x');
  std::vector<Statement> got = ReadStatements("*Long: " + value + "\n*N");
  ASSERT_EQ(3u, got.size());
  EXPECT_EQ(value, got[0].value);
  EXPECT_EQ("N", got[1].keyword);
}

class DataFileTest : public zems_test::MachineTest {
 protected:
  // Writes a file under the machine's C: drive and gives its Windows path.
  std::u16string WriteFile(const char* leaf, const std::string& bytes) {
    std::string folder = Root() + "/c/models";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/" + leaf, std::ios::binary) << bytes;
    std::u16string path = u"C:\\models\\";
    for (const char* p = leaf; *p; ++p) path += static_cast<char16_t>(*p);
    return path;
  }
  static LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }
};

TEST_F(DataFileTest, MapsTheWholeFileAndRefusesAnEmptyOne) {
  std::u16string full = WriteFile("full.zmd", "*FileVersion: 6.63\n");
  std::u16string empty = WriteFile("empty.zmd", "");
  const BYTE* view = nullptr;
  DWORD size = 0;
  ASSERT_TRUE(ModelMapFile(W(full), &view, &size));
  EXPECT_EQ(19u, size);
  EXPECT_EQ(0, memcmp(view, "*FileVersion", 12));
  UnmapViewOfFile(view);
  EXPECT_FALSE(ModelMapFile(W(empty), &view, &size));
  EXPECT_FALSE(ModelMapFile(W(u"C:\\models\\missing.zmd"), &view, &size));
  EXPECT_EQ(nullptr, ModelOpenDataReader(W(empty)));
}

TEST_F(DataFileTest, ScansTheFirstFileVersion) {
  struct Case {
    const char* what;
    std::string text;
    std::string expected;  // "-" = the buffer stays as the caller set it
  } cases[] = {
      {"plain", "*% model\n*OpenUI *X: PickOne\n*FileVersion: 6.63\n*FileVersion: 7\n", "6.63"},
      {"cut to 14 characters", "*FileVersion: 12345678901234567890\n", "12345678901234"},
      {"after a syntax error", "*Bad x y z: 1\n*FileVersion: 6.63", "6.63"},
      {"none in the file", "*OpenUI *X: PickOne\n", "-"},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::u16string path = WriteFile(("v" + std::to_string(n++) + ".zmd").c_str(), c.text);
    WCHAR version[15] = {'-', 0};
    EXPECT_EQ(1, ModelScanFileVersion(W(path), version));
    EXPECT_EQ(c.expected, model_test::Narrow(version)) << c.what;
  }
  WCHAR version[15] = {'-', 0};
  EXPECT_EQ(1, ModelScanFileVersion(W(u"C:\\models\\missing.zmd"), version));
  EXPECT_EQ("-", model_test::Narrow(version));
}

TEST_F(DataFileTest, FindsTheDataFileThroughTheSpooler) {
  std::u16string source = WriteFile("zems_test.zmd", model_test::SourceFile("samples/models/zems_c4.zmd"));
  zems_test::TestDriver driver;
  driver.name = u"ZEMS Test Driver";
  driver.dataFile = source.c_str();
  driver.helpFile = nullptr;
  driver.dependentFile = nullptr;
  HANDLE printer = zems_test::AddTestPrinter(u"Model Test", u"", 0, driver);
  ASSERT_NE(nullptr, printer);

  LPWSTR path = ModelGetDataFilePath(printer);
  ASSERT_NE(nullptr, path);
  std::string narrow = model_test::Narrow(path);
  EXPECT_NE(std::string::npos, narrow.find("zems_test.zmd")) << narrow;
  WCHAR version[15] = {};
  ModelScanFileVersion(path, version);
  EXPECT_EQ("6.63", model_test::Narrow(version));
  ModelParseState* state = ModelParseFile(path);
  ASSERT_NE(nullptr, state) << "the sample parses from the driver's data file";
  EXPECT_NE(nullptr, state->header->jobStart);
  ModelFreeParseState(state);
  EXPECT_EQ(nullptr, ModelParseFile(W(u"C:\\models\\missing.zmd")));
  MemFree(path);
  ClosePrinter(printer);
}

}  // namespace
