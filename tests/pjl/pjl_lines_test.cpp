// The "@PJL SET" grammar, the written line form, the text buffer, number scaling, value words
// and the binding and booklet mapping, without a printer.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/items/item_ids.h"
#include "core/pjl/pjl_service.h"
#include "core/pjl/pjl_text.h"

namespace {

struct LineCase {
  const char* what;
  std::string text;
  int result;  // -2: the length of the text
  const char* name;
  const char* value;
};

TEST(PjlParseSetLine, LinesAndHostileLines) {
  const std::string longName(263, 'N'), tooLong(264, 'N');
  const std::vector<LineCase> cases = {
      {"written form", "@PJL SET TRAY = TRAY2 \r\n", -2, "TRAY", "TRAY2"},
      {"two leading blanks", "  @PJL SET TRAY = TRAY2 \r\n", -2, "TRAY", "TRAY2"},
      {"tabs and no blank after SET", "@PJL\tSETTRAY\t=\tTRAY2\r\n", -2, "TRAY", "TRAY2"},
      {"empty value", "@PJL SET USERCODE = \r\n", -2, "USERCODE", ""},
      {"quoted value loses its quotes", "@PJL SET USERCODE = \"abc\" \r\n", -2, "USERCODE", "abc"},
      {"lone quote kept", "@PJL SET USERCODE = \" \r\n", -2, "USERCODE", "\""},
      {"263-byte name", "@PJL SET " + longName + " = X \r\n", -2, longName.c_str(), "X"},
      {"blanks only", "  \t ", 0, "", ""},
      {"empty text", "", 0, "", ""},
      {"name and value joined", "@PJL SET TRAY=TRAY2 \r\n", -1, nullptr, nullptr},
      {"no '='", "@PJL SET TRAY TRAY2 \r\n", -1, nullptr, nullptr},
      {"LF only", "@PJL SET TRAY = TRAY2\n", -1, nullptr, nullptr},
      {"CR LF alone", "\r\n", -1, nullptr, nullptr},
      {"blank inside the value", "@PJL SET TRAY = TRAY 2 \r\n", -1, nullptr, nullptr},
      {"lower-case prefix", "@pjl SET TRAY = TRAY2 \r\n", -1, nullptr, nullptr},
      {"cut before the line end", "@PJL SET TRAY = TRAY2", -1, nullptr, nullptr},
      {"cut after the name", "@PJL SET TRAY", -1, nullptr, nullptr},
      {"cut after the prefix", "@PJL", -1, nullptr, nullptr},
      {"264-byte name", "@PJL SET " + tooLong + " = X \r\n", -1, nullptr, nullptr},
      {"264-byte value", "@PJL SET X = " + tooLong + " \r\n", -1, nullptr, nullptr},
      {"bytes above 0x7F", "@PJL SET \xE9\xFF = \x80\x81 \r\n", -2, "\xE9\xFF", "\x80\x81"},
  };
  for (const LineCase& c : cases) {
    // The text in a buffer of its exact size, so that a read past it is seen by the sanitizer.
    std::vector<char> text(c.text.begin(), c.text.end());
    text.push_back(0);
    char name[kPjlTokenSize], value[kPjlTokenSize];
    int expected = c.result == -2 ? static_cast<int>(c.text.size()) : c.result;
    EXPECT_EQ(expected, PjlParseSetLine(text.data(), name, value)) << c.what;
    if (c.name) {
      EXPECT_STREQ(c.name, name) << c.what;
      EXPECT_STREQ(c.value, value) << c.what;
    }
  }
  char name[kPjlTokenSize], value[kPjlTokenSize];
  EXPECT_EQ(0, PjlParseSetLine(nullptr, name, value));
  EXPECT_EQ(0, PjlParseSetLine("@PJL SET A = B \r\n", nullptr, value));
}

TEST(PjlParseSetLine, NulInsideALineEndsTheText) {
  const char text[] = "@PJL SET TRAY\0 = TRAY2 \r\n";
  char name[kPjlTokenSize], value[kPjlTokenSize];
  EXPECT_EQ(-1, PjlParseSetLine(text, name, value));
}

TEST(PjlFindLineValue, StepsOverLinesThatDoNotParse) {
  const char text[] = "@PJL SET A = 1 \r\n@PJL SET ODD=1\r\n@PJL SET B = 2 \r\n";
  char value[kPjlTokenSize];
  PjlFindLineValue(text, "B", value);
  EXPECT_STREQ("2", value);
  PjlFindLineValue(text, "C", value);
  EXPECT_STREQ("", value);
  PjlFindLineValue("@PJL SET B = 2", "B", value);
  EXPECT_STREQ("", value) << "a last line without its end";
}

TEST(PjlText, WrittenLinesByteForByte) {
  TextBuffer b;
  ASSERT_EQ(0, PjlTextInit(&b));
  EXPECT_EQ(4096, b.capacity);
  ASSERT_EQ(0, PjlAppendSetLine(&b, "DUPLEX", "OFF"));
  ASSERT_EQ(0, PjlAppendSetLine(&b, "USERCODE", ""));
  EXPECT_EQ(std::string("@PJL SET DUPLEX = OFF \r\n@PJL SET USERCODE =  \r\n"), std::string(b.data, b.length));
  EXPECT_EQ(0, b.data[b.length]);
  PjlTextFree(&b);
  EXPECT_EQ(0, b.capacity);
  EXPECT_EQ(nullptr, b.data);
}

TEST(PjlText, GrowsInStepsAndKeepsItsText) {
  TextBuffer b;
  ASSERT_EQ(0, PjlTextInit(&b));
  ASSERT_EQ(0, PjlTextAppend(&b, "head"));
  std::string big(5000, 'x');
  ASSERT_EQ(0, PjlTextAppend(&b, big.c_str()));
  EXPECT_EQ(8192, b.capacity);
  EXPECT_EQ("head" + big, std::string(b.data, b.length));
  ASSERT_EQ(0, PjlTextAppendChar(&b, 'y'));
  EXPECT_EQ(5005, b.length);
  EXPECT_EQ(-1, PjlTextReserve(&b, 0x7FFFFFFF)) << "a size that would overflow is refused";
  EXPECT_EQ(8192, b.capacity);
  EXPECT_EQ('h', b.data[0]);
  PjlTextFree(&b);
}

TEST(PjlScale, NumbersInAndOut) {
  struct Case {
    const char* what;
    LONG number;
    DWORD c, s;
    bool dots;
    DWORD r;
    LONG stored;
  } cases[] = {
      {"C 1, S 10", 300, 1, 10, false, 0, 3000},
      {"C 0 leaves it", 300, 0, 10, false, 0, 300},
      {"S 0 leaves it", 300, 1, 0, false, 0, 300},
      {"unit kind 2 at 600", 300, 1, 1, true, 600, 600},
      {"unit kind 2 with r 0 leaves it", 300, 1, 1, true, 0, 300},
      {"zero stays zero", 0, 1, 10, false, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.stored, PjlScaleIn(c.number, c.c, c.s, c.dots, c.r)) << c.what;
    EXPECT_EQ(c.number, PjlScaleOut(c.stored, c.c, c.s, c.dots, c.r)) << c.what;
  }
  EXPECT_EQ(1, PjlScaleIn(1, 10, 1, false, 0)) << "scaled to 0 gives 1";
  EXPECT_EQ(1, PjlScaleOut(1, 1, 10, false, 0));
  EXPECT_EQ(-1, PjlScaleIn(-5, 1, 1, false, 0)) << "negative: refused";
  EXPECT_EQ(-1, PjlScaleIn(0x7FFFFFFF, 1, 10, false, 0)) << "beyond 32 bits: refused, no wrap";
}

// A handle without a context: slots only.
class PjlSlots : public ::testing::Test {
 protected:
  PjlSlots() {
    handle_.count = kExcSlotCount;
    handle_.present = present_;
    handle_.values = values_;
  }
  void Hold(DWORD id, LONG v) { PjlStoreValue(&handle_, id, v); }
  const PjlVariable* Row(const char* name) { return PjlFindVariable(&handle_, name, kPjlModeUpdate | kPjlModeValue); }
  std::string Word(const char* row, LONG v) {
    const PjlValueEntry* e = PjlChooseValueItem(&handle_, Row(row), v);
    return e ? e->word : "(none)";
  }
  ExcHandle handle_{};
  BYTE present_[kExcSlotCount] = {};
  LONG values_[kExcSlotCount] = {};
};

TEST_F(PjlSlots, ValueWords) {
  EXPECT_EQ("CUSTOM", Word("PAPER", 386)) << "a custom slot writes CUSTOM";
  EXPECT_EQ("CUSTOM", Word("PAPER", 448));
  EXPECT_EQ("UPPER", Word("OUTBIN", 0)) << "the alias";
  EXPECT_EQ("(none)", Word("COLORSELECT", 2)) << "colour has no word";
  for (LONG v : {3, 19, 22}) EXPECT_EQ("LEFT", Word("BINDING", v)) << v;
  for (LONG v : {2, 18, 21}) EXPECT_EQ("RIGHT", Word("BINDING", v)) << v;
  for (LONG v : {1, 17, 20}) EXPECT_EQ("TOP", Word("BINDING", v)) << v;
  Hold(kItem_zdmNUPPOSTKind, 2);
  Hold(kItem_zdmFuncSelectNup, 1);
  EXPECT_EQ("4IN1P1", Word("NUP", 33));
  Hold(kItem_zdmFuncSelectNup, 0);
  EXPECT_EQ("OFF", Word("NUP", 33)) << "N-up off writes OFF whatever the layout";
  const PjlValueEntry* custom = PjlFindValueItem(nullptr, Row("PAPER"), "CUSTOM");
  ASSERT_NE(nullptr, custom);
  EXPECT_EQ(448, custom->value);
  EXPECT_EQ(nullptr, PjlFindVariable(&handle_, "tray", kPjlModeUpdate)) << "names are case-sensitive";
  EXPECT_EQ(nullptr, PjlFindVariable(&handle_, "MEMORYSIZE", kPjlModeUpdate | kPjlModeOption));
}

TEST_F(PjlSlots, BindingMap) {
  struct Case {
    const char* what;
    LONG booklet;  // -1: absent
    LONG duplexType;
  } cases[] = {{"BOOKLETC", 1, 19}, {"BOOKLETF", 2, 22}, {"no booklet", -1, 3}, {"OFF", 0, 3}};
  for (const Case& c : cases) {
    memset(present_, 0, sizeof(present_));
    if (c.booklet >= 0) Hold(kPjlBookletSetting, c.booklet);
    EXPECT_EQ(c.duplexType, PjlBindingValueToSetting(&handle_, 3)) << c.what;
  }
  for (LONG stored : {3, 19, 22}) {
    memset(present_, 0, sizeof(present_));
    Hold(kItem_zdmDuplexType, stored);
    Hold(kPjlBookletSetting, 99);
    PjlSettingToBindingValue(&handle_);
    EXPECT_EQ(stored == 3 ? 0 : stored == 19 ? 1 : 2, values_[kPjlBookletSetting - 1]) << stored;
    EXPECT_EQ("LEFT", Word("BINDING", stored));
  }
  EXPECT_EQ(-1, PjlStoreValue(&handle_, 725, 1));
  EXPECT_EQ(-1, PjlStoreValue(&handle_, 0, 1));
}

TEST(PjlTables, SmallTables) {
  const PjlIdTable* m = TblGetPjlMandatory();
  ASSERT_EQ(4u, m->count);
  EXPECT_EQ(std::vector<DWORD>({8, 7, 46, 13}), std::vector<DWORD>(m->ids, m->ids + 4));
  EXPECT_EQ(119u, PjlFindAliasId(61));
  EXPECT_EQ(0u, PjlFindAliasId(119));
  EXPECT_EQ(3u, TblGetPjlBindingMap()->count);
}

}  // namespace
