// Judge expressions: text -> postfix cells, or the statement dropped.
#include <gtest/gtest.h>

#include <string>

#include "core/rules/model_rules.h"
#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "rules_test_util.h"

namespace {

using rules_test::Cells;
using rules_test::Parse;

// The cells of the last judge of a description, or "dropped" when it has none of that number.
std::string CompileLast(const std::string& text, DWORD number) {
  Parse p(text);
  if (!p.state) return "no parse";
  const JudgeRecord* j = ModelFindJudge(p.state, number);
  return j ? Cells(j->cells) : "dropped";
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(JudgeCompile, TextToCellsOrRejection) {
  std::string color = std::to_string(TblFindValueSymbolByName("DMCOLOR_COLOR")->logical);
  struct Case {
    std::string expression;
    std::string cells;
  } cases[] = {
      {"A == 1 && B", "A 1 == B && end"},
      {"A && B == 1", "A B && 1 == end"},  // left to right: (A && B) == 1
      {"(A == 1) || (B == 2)", "A 1 == B 2 == || end"},
      {"((A == 1))", "A 1 == end"},
      {"A == DMCOLOR_COLOR", "A " + color + " == end"},
      {"! A", "dropped"},        // '!' needs two values
      {"A ! B", "A B ! end"},    // kept: the evaluator negates B
      {"A )", "dropped"},        // unmatched ')' leaves a group end
      {") A", "dropped"},
      {"( A", "dropped"},        // '(' never closed
      {"A && (B)", "A B && end"},  // the pending operator is written at the end
      {"A &&", "dropped"},
      {"A = 1", "dropped"},      // '=' is no operator (code 0)
      {"A == 65535", "A 65535 == end"},
      {"A == 70000", "dropped"},  // not cut to 16 bits
      {"A == NoSuchName", "dropped"},
      {"A == 1 ; B", "A 1 == end"},  // any other character ends the expression
      {"A == 1 { B }", "A 1 == end"},
      {"12ab", "dropped"},  // a name, and an unknown one
      {Repeat("1 ", 127) + Repeat("&& ", 126), "ok"},
      {Repeat("1 ", 128) + Repeat("&& ", 127), "dropped"},
      {Repeat("(", 64) + "A" + Repeat(")", 64), "A end"},
      {Repeat("(", 65) + "A" + Repeat(")", 65), "dropped"},
      {Repeat("(", 100000) + "A", "dropped"},
  };
  for (const Case& c : cases) {
    std::string text = "*Judge 7: " + rules_test::Named(c.expression) + "\n";
    std::string got = CompileLast(text, 7);
    if (c.cells == "ok")
      EXPECT_NE("dropped", got) << c.expression.substr(0, 60);
    else
      EXPECT_EQ(c.cells, got) << c.expression.substr(0, 60);
  }
}

TEST(JudgeCompile, ValidationTable) {
  struct Case {
    std::vector<JudgeCell> cells;
    int accepted;
  } cases[] = {
      {{{2, 1}, {3, 10}}, 1},
      {{{2, 1}, {2, 2}, {3, 10}}, 0},          // two values left
      {{{2, 1}, {3, 5}, {3, 10}}, 0},          // '!' with one value
      {{{2, 1}, {2, 2}, {3, 0}, {3, 10}}, 0},  // operator code 0
      {{{2, 1}, {4, 0}, {3, 10}}, 0},          // group end
      {{{5, 1}, {3, 10}}, 0},                  // unknown kind
      {{{3, 10}}, 0},                          // no value
  };
  for (const Case& c : cases) EXPECT_EQ(c.accepted, JudgeValidate(c.cells.data())) << Cells(c.cells.data());
  EXPECT_EQ(0, JudgeValidate(nullptr));
}

TEST(JudgeCompile, InliningCopiesTheJudgeAsItIsThen) {
  Parse p(rules_test::Named(
      "*Judge 1=On: A == 2\n"
      "*Judge 2=Both: On && B\n"
      "*Judge 3=On: A == 1\n"  // a second registration: lookups still find the first
      "*Judge 1=Other: A == 3\n"  // the same number again: Judge 1 stays the first one
      "*Judge 4: On || Both\n"
      "*Judge 5=Self: Self && 1\n"  // its own name has no cells yet
      "*Judge 6=Bad: NoSuchName\n"
      "*Judge 8: Bad\n"  // a dropped judge has no cells to copy
      "*Judge 9: Judge1\n"));  // expressions use names, not the Judge<n> form
  ASSERT_NE(nullptr, p.state);
  EXPECT_EQ("A 2 == B && end", Cells(ModelFindJudge(p.state, 2)->cells));
  EXPECT_EQ("A 2 == end", Cells(ModelFindJudge(p.state, 1)->cells));
  EXPECT_EQ("A 2 == A 2 == B && || end", Cells(ModelFindJudge(p.state, 4)->cells));
  for (DWORD dropped : {5u, 6u, 8u, 9u}) EXPECT_EQ(nullptr, ModelFindJudge(p.state, dropped)) << dropped;
}

TEST(JudgeCompile, DoublingInlinesStopAtTheCellBound) {
  std::string text = "*Judge 1=J1: 1\n";
  for (int k = 2; k <= 40; ++k) {
    text += "*Judge " + std::to_string(k) + "=J" + std::to_string(k) + ": J" + std::to_string(k - 1) + " && J" +
            std::to_string(k - 1) + "\n";
  }
  Parse p(text);
  ASSERT_NE(nullptr, p.state);
  DWORD last = 0;
  for (DWORD k = 1; k <= 40; ++k) {
    if (ModelFindJudge(p.state, k)) last = k;
  }
  // Judge k holds 2^(k-1) values, 2^(k-1) - 1 operators and its end: 2^k cells, so judge 13
  // fills the 8,192-cell bound and judge 14 would exceed it.
  EXPECT_EQ(13u, last);
  EXPECT_EQ(8192u, ModelFindJudge(p.state, 13)->length / sizeof(JudgeCell));
}

}  // namespace
