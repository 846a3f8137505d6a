// Our sample model description: it parses, holds what later parts of the driver rely on, and
// is written with the names of the driver's symbol, value-symbol and message tables.
#include <gtest/gtest.h>

#include <ctype.h>

#include <set>
#include <string>
#include <vector>

#include "core/tables/symbol_table.h"
#include "core/tables/value_symbols.h"
#include "core/items/item_ids.h"
#include "model_test_util.h"

using model_test::FindItem;
using model_test::Narrow;
using model_test::Parsed;
using model_test::ValueIds;

namespace {

const char kSample[] = "samples/models/zems_c4.zmd";

// Names the sample uses that the tables do not define yet. The parser drops statements and
// entries that use them, so the sample still loads; each name here is a known gap, and any
// other unknown name in the sample is a typo.
const std::set<std::string> kPendingNames = {
};

// Names of the fixed tables of Alert statements (not symbols of the driver's tables).
bool IsAlertTableName(const std::string& name) {
  return name.rfind("MB_", 0) == 0 || name.rfind("Alert", 0) == 0;
}

// Every name-like word of the sample outside comments and quoted texts.
std::set<std::string> NamesIn(const std::string& text) {
  std::set<std::string> names;
  bool comment = false, quoted = false, lineStart = true;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n') {
      comment = false;
      lineStart = true;
      continue;
    }
    if (lineStart && c == '*' && i + 1 < text.size() && text[i + 1] == '%') comment = true;
    lineStart = false;
    if (comment) continue;
    if (c == '%' && quoted) {
      ++i;
      continue;
    }
    if (c == '"') quoted = !quoted;
    if (quoted || !(isalpha(static_cast<unsigned char>(c)) || c == '_')) continue;
    size_t j = i;
    while (j < text.size() && (isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_')) ++j;
    std::string word = text.substr(i, j - i);
    i = j - 1;
    bool button = word.rfind("ID", 0) == 0 && word.size() > 6 && word.compare(word.size() - 6, 6, "BUTTON") == 0;
    bool symbolLike = word.rfind("TOV_", 0) == 0 || button;
    bool valueLike = word.find('_') != std::string::npos && word == [&] {
      std::string upper = word;
      for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
      return upper;
    }();
    if (symbolLike || valueLike) names.insert(word);
  }
  return names;
}

TEST(SampleModel, EveryNameIsInTheTables) {
  std::string text = model_test::SourceFile(kSample);
  ASSERT_FALSE(text.empty());
  std::set<std::string> unknown;
  for (const std::string& name : NamesIn(text)) {
    if (TblFindSymbolByName(name.c_str()) || TblFindValueSymbolByName(name.c_str()) ||
        TblFindMessageByName(nullptr, name.c_str()) || IsAlertTableName(name))
      continue;
    if (!kPendingNames.count(name)) unknown.insert(name);
  }
  std::string list;
  for (const std::string& name : unknown) list += name + " ";
  EXPECT_TRUE(unknown.empty()) << "names missing from the tables: " << list;
}

TEST(SampleModel, ParsesIntoTheModelTheDriverNeeds) {
  Parsed p(model_test::SourceFile(kSample));
  ASSERT_NE(nullptr, p.state);
  const ModelImageHeader* h = p->header;
  EXPECT_EQ("6.63", Narrow(h->fileVersion)) << "must equal the model record's version";
  EXPECT_EQ("zemsresus.dll", Narrow(h->uiResDllName));
  EXPECT_EQ("zemsexdp.dll", Narrow(h->excDepDllName));
  EXPECT_EQ(nullptr, p->openName);

  const ModelItemDescriptor* paper = FindItem(p.state, kItem_dmPaperSize);
  ASSERT_NE(nullptr, paper);
  EXPECT_EQ(kModelTypePickPage, paper->type);
  EXPECT_EQ(13u, ValueIds(paper).size());
  const ValueSymbol* a4 = TblFindValueSymbolByName("DMPAPERSIZE_A4");
  ASSERT_NE(nullptr, a4);
  EXPECT_EQ(a4->logical, ModelImageGetItemDefault(h, kItem_dmPaperSize));
  int withGeometry = 0, withCondition = 0;
  for (const PageValueRecord* e = static_cast<const PageValueRecord*>(paper->values); e; e = e->next) {
    if (e->geometry) ++withGeometry;
    for (const PaperGeometryRecord* g = e->geometry; g; g = g->next) withCondition += g->conditionSymbol ? 1 : 0;
  }
  EXPECT_EQ(12, withGeometry) << "every paper but the custom size has printable areas";
  EXPECT_EQ(4, withCondition);
  ASSERT_NE(nullptr, FindItem(p.state, kItem_dmPaperSize, 1)) << "the paper's command variant";
  EXPECT_EQ(paper->values, FindItem(p.state, kItem_dmPaperSize, 1)->values);

  const ModelItemDescriptor* tray = FindItem(p.state, kItem_dmDefaultSource);
  ASSERT_NE(nullptr, tray);
  int trays = 0;
  for (const SlotValueRecord* e = static_cast<const SlotValueRecord*>(tray->values); e; e = e->next)
    trays += e->paperCount > 0 ? 1 : 0;
  EXPECT_EQ(4, trays);

  const ValueSymbol* quality = TblFindValueSymbolByName("DMPRINTQUALITY_600");
  const ModelItemDescriptor* yres = FindItem(p.state, kItem_dmYResolution, FindItem(p.state, kItem_dmPrintQuality)->symbolId);
  ASSERT_NE(nullptr, yres) << "dmYResolution mirrors dmPrintQuality";
  EXPECT_EQ(quality->logical, ModelImageGetItemDefault(h, kItem_dmYResolution));

  EXPECT_EQ(kModelTypeNumeric, FindItem(p.state, kItem_dmCopies)->type);
  EXPECT_EQ(1, ModelImageGetItemDefault(h, kItem_dmCopies));
  EXPECT_EQ(kModelTypeString, FindItem(p.state, kItem_zdmUserCode)->type);
  EXPECT_EQ(kModelTypePickMany, FindItem(p.state, kItem_wdmWmEffect)->type);
  EXPECT_EQ(4u, ValueIds(FindItem(p.state, kItem_wdmWmEffect)).size());
  EXPECT_EQ(0, ModelImageGetItemDefault(h, kItem_wdmWmEffect)) << "a PickMany item has no model default";
  EXPECT_EQ(kModelTypeFontTbl, FindItem(p.state, kItem_zdmFontTable)->type);
  const auto* fonts = static_cast<const FontTableValueRecord*>(FindItem(p.state, kItem_zdmFontTable)->values);
  ASSERT_NE(nullptr, fonts) << "the font table's value and its substitution rows";
  EXPECT_GT(fonts->pairCount, 0);

  for (const CommandBlock* group : {h->jobStart, h->jobEnd, h->docReset, h->pageStart, h->pageEnd})
    EXPECT_NE(nullptr, group);
  int conditionals = 0, entries = 0;
  for (const CommandNode* n = h->jobStart ? h->jobStart->thenList : nullptr; n; n = n->next, ++entries)
    conditionals += n->kind == kCommandNodeConditional ? 1 : 0;
  EXPECT_EQ(4, conditionals);
  EXPECT_EQ(32, entries);
  // Finishing: staple (and punch inside it), else punch alone, else both off.
  const CommandBlock* finishing = nullptr;
  for (const CommandNode* n = h->jobStart ? h->jobStart->thenList : nullptr; n; n = n->next) {
    if (n->kind != kCommandNodeConditional) continue;
    const CommandBlock* b = reinterpret_cast<const ConditionalCommandNode*>(n)->block;
    if (b->judge.number == 7) finishing = b;
  }
  ASSERT_NE(nullptr, finishing);
  ASSERT_NE(nullptr, finishing->thenList->next);
  EXPECT_EQ(kCommandNodeConditional, finishing->thenList->next->kind) << "a Command nested in a Command";
  const CommandBlock* nested = reinterpret_cast<const ConditionalCommandNode*>(finishing->thenList->next)->block;
  EXPECT_EQ(8u, nested->judge.number);
  EXPECT_NE(nullptr, nested->elseList);
  ASSERT_NE(nullptr, finishing->elseList);
  ASSERT_EQ(kCommandNodeConditional, finishing->elseList->kind) << "ElseIf";
  const CommandBlock* elseIf = reinterpret_cast<const ConditionalCommandNode*>(finishing->elseList)->block;
  EXPECT_EQ(8u, elseIf->judge.number);
  EXPECT_NE(nullptr, elseIf->elseList) << "Else";
  EXPECT_EQ(5, h->deviceFontCount);
  EXPECT_EQ(2, h->cartridgeCount);
  int strings = 0;
  for (const CommandStringNode* c = p->commandStrings; c; c = c->next) ++strings;
  EXPECT_EQ(9, strings);
  EXPECT_STREQ("\x1b%-12345X@PJL JOB NAME=\"ZEMS\"\r\n", p->commandStrings->text);
  EXPECT_EQ(11, ModelFindRuleName(p.state, kModelRuleJudge, "NoDuplexUnit", 12));
}

// "@PJL SET NAME=" variables set by one command text.
std::set<std::string> PjlVariables(const char* text) {
  std::set<std::string> names;
  const std::string kSet = "@PJL SET ";
  std::string s = text ? text : "";
  for (size_t at = s.find(kSet); at != std::string::npos; at = s.find(kSet, at + 1)) {
    size_t from = at + kSet.size();
    names.insert(s.substr(from, s.find('=', from) - from));
  }
  return names;
}

// Variables set by a command list, through its nested conditionals' both branches.
std::set<std::string> ListVariables(const ModelParseState* state, const CommandNode* n) {
  std::set<std::string> names;
  for (; n; n = n->next) {
    std::set<std::string> v;
    if (n->kind == kCommandNodeItem) {
      WORD number = reinterpret_cast<const ItemCommandNode*>(n)->number;
      for (const ModelItemDescriptor* d = state->header->descriptors; d; d = d->next) {
        if (d->symbolId == n->symbolId && d->variant == number) {
          if (d->commands) v = PjlVariables(d->commands->first);
          break;
        }
      }
    } else if (n->kind == kCommandNodeString) {
      LONG number = reinterpret_cast<const StringCommandNode*>(n)->number;
      for (const CommandStringNode* c = state->commandStrings; c; c = c->next) {
        if (c->number == number) {
          v = PjlVariables(c->text);
          break;
        }
      }
    } else if (n->kind == kCommandNodeConditional) {
      const CommandBlock* b = reinterpret_cast<const ConditionalCommandNode*>(n)->block;
      v = ListVariables(state, b->thenList);
      std::set<std::string> e = ListVariables(state, b->elseList);
      v.insert(e.begin(), e.end());
    }
    names.insert(v.begin(), v.end());
  }
  return names;
}

// The else branch of a conditional sets only what its then branch sets (typically turning it
// off), so a setting does not change its PJL name with the branch taken.
TEST(SampleModel, ElseBranchesSetWhatTheirThenBranchSets) {
  Parsed p(model_test::SourceFile(kSample));
  ASSERT_NE(nullptr, p.state);
  int checked = 0;
  std::vector<const CommandNode*> lists;
  const ModelImageHeader* h = p->header;
  for (const CommandBlock* group : {h->jobStart, h->jobEnd, h->docReset, h->pageStart, h->pageEnd})
    if (group) lists.push_back(group->thenList);
  while (!lists.empty()) {
    const CommandNode* n = lists.back();
    lists.pop_back();
    for (; n; n = n->next) {
      if (n->kind != kCommandNodeConditional) continue;
      const CommandBlock* b = reinterpret_cast<const ConditionalCommandNode*>(n)->block;
      lists.push_back(b->thenList);
      lists.push_back(b->elseList);
      if (!b->elseList) continue;
      std::set<std::string> then = ListVariables(p.state, b->thenList);
      for (const std::string& name : ListVariables(p.state, b->elseList))
        EXPECT_EQ(1u, then.count(name)) << "Judge " << b->judge.number << " sets " << name << " only when false";
      ++checked;
    }
  }
  EXPECT_GE(checked, 4);
}

// Symbols named by GroupType entries of a command list, nested lists included.
void GroupTypeSymbols(const CommandNode* n, std::set<WORD>* symbols) {
  for (; n; n = n->next) {
    if (n->kind == kCommandNodeItem) symbols->insert(n->symbolId);
    if (n->kind != kCommandNodeConditional) continue;
    const CommandBlock* b = reinterpret_cast<const ConditionalCommandNode*>(n)->block;
    GroupTypeSymbols(b->thenList, symbols);
    GroupTypeSymbols(b->elseList, symbols);
  }
}

// Every item a group sends has a prefix, so its value text never runs into the line before;
// and every item that has a command is sent by some group.
TEST(SampleModel, ItemCommandsAndGroupsMatch) {
  Parsed p(model_test::SourceFile(kSample));
  ASSERT_NE(nullptr, p.state);
  const ModelImageHeader* h = p->header;
  std::set<WORD> sent;
  for (const CommandBlock* group : {h->jobStart, h->jobEnd, h->docReset, h->pageStart, h->pageEnd})
    if (group) GroupTypeSymbols(group->thenList, &sent);
  for (WORD symbol : sent) {
    const ModelItemDescriptor* d = h->descriptors;
    while (d && d->symbolId != symbol) d = d->next;
    ASSERT_NE(nullptr, d) << "symbol " << symbol;
    EXPECT_TRUE(d->commands && d->commands->first) << "item " << d->itemId << " is sent without a prefix";
  }
  for (const ModelItemDescriptor* d = h->descriptors; d; d = d->next) {
    if (!d->commands || d->variant != 0) continue;
    EXPECT_EQ(1u, sent.count(d->symbolId)) << "item " << d->itemId << " has a command that no group sends";
  }
}

// A fixed text of the job header must not set what an item's command sets in the same header,
// or the later line silently overrides the user's choice.
TEST(SampleModel, FixedJobHeaderLinesDoNotOverrideItems) {
  Parsed p(model_test::SourceFile(kSample));
  ASSERT_NE(nullptr, p.state);
  ASSERT_NE(nullptr, p->header->jobStart);
  std::set<std::string> byItems, byStrings;
  for (const CommandNode* n = p->header->jobStart->thenList; n; n = n->next) {
    if (n->kind == kCommandNodeItem) {
      for (const ModelItemDescriptor* d = p->header->descriptors; d; d = d->next) {
        if (d->symbolId != n->symbolId || d->variant != 0) continue;
        if (d->commands) {
          std::set<std::string> v = PjlVariables(d->commands->first);
          byItems.insert(v.begin(), v.end());
        }
        break;
      }
    } else if (n->kind == kCommandNodeString) {
      LONG number = reinterpret_cast<const StringCommandNode*>(n)->number;
      for (const CommandStringNode* c = p->commandStrings; c; c = c->next) {
        if (c->number != number) continue;
        std::set<std::string> v = PjlVariables(c->text);
        byStrings.insert(v.begin(), v.end());
        break;
      }
    }
  }
  EXPECT_FALSE(byItems.empty());
  for (const std::string& name : byStrings) EXPECT_EQ(0u, byItems.count(name)) << name;
}

}  // namespace
