// The preset list's entries without a window: names looked up, repeated names found, names and
// comments read within their buffers, and the chosen file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/ini_access.h"
#include "core/common/window_ui.h"
#include "core/modules/preset_entries.h"
#include "core/store/preset_store.h"
#include "platform/sim.h"
#include "support/module_context.h"

namespace zems_test {
namespace {

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
std::u16string U(const WCHAR* w) { return reinterpret_cast<const char16_t*>(w); }
std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// What the duplicate post left: the message and its entry, once pumped.
std::vector<std::pair<UINT, WPARAM>> g_posts;
LRESULT CALLBACK Record(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == kPresetMsgDuplicate) g_posts.push_back({message, wParam});
  return 0;
}

class PresetEntriesTest : public ModuleContextTest {
 protected:
  void Key(const std::u16string& key, const std::u16string& value) {
    IniWriteString(section_, W(key.c_str()), W(value.c_str()), ini_);
  }
  // Count as given, then Name keys 0, 1, ... (null: no key).
  void List(const char16_t* count, const std::vector<const char16_t*>& names) {
    Key(u"Count", count);
    for (size_t i = 0; i < names.size(); ++i) {
      WCHAR key[64];
      PresetKeyName(key, 64, int(i), 1);
      if (names[i]) Key(U(key), names[i]);
      else IniWriteString(section_, key, nullptr, ini_);
    }
  }
};

TEST_F(PresetEntriesTest, FindByNamePrefersTheGivenEntryElseTheFirstWholeCaseExactMatch) {
  // Entry 5 lies past Count; entry 4 has an empty name, entry 6 none at all (past Count too).
  List(u"5", {u"Standard", u"Draft", u"draft", u"Draft", u"", u"Ghost"});
  struct Case {
    const char16_t* name;
    int preferred, expected;
  } cases[] = {
      {u"Draft", -1, 1},     {u"Draft", 3, 3},  {u"Draft", 2, 1},  {u"Draft", 99, 1},
      {u"draft", -1, 2},     {u"Draf", -1, -1}, {u"Draft ", -1, -1}, {u"Ghost", 5, -1},
      {u"", -1, 4},          {u"Standard", 0, 0},
  };
  int row = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, PresetFindByName(ctx_, W(c.name), c.preferred)) << "row " << row;
    ++row;
  }
  EXPECT_EQ(-1, PresetFindByName(ctx_, nullptr, -1));
  EXPECT_EQ(-1, PresetFindByName(nullptr, W(u"Draft"), -1));
}

// A Count from a hostile or broken ini walks at most the sixteen slots.
TEST_F(PresetEntriesTest, HostileCountsWalkOnlyTheSixteenSlots) {
  std::vector<std::u16string> names;
  for (int i = 0; i < 20; ++i) names.push_back(u"P" + U16(std::to_string(i)));
  names[16] = u"P0";  // a repeat past the slots
  std::vector<const char16_t*> raw;
  for (const auto& n : names) raw.push_back(n.c_str());
  struct Case {
    const char16_t* count;
    int p15, p17, duplicate;
  } cases[] = {
      {u"999", 15, -1, -1},
      {u"17", 15, -1, -1},
      {u"-3", -1, -1, -1},
      {u"abc", -1, -1, -1},
      {u"2", -1, -1, -1},
  };
  int row = 0;
  for (const Case& c : cases) {
    List(c.count, raw);
    EXPECT_EQ(c.p15, PresetFindByName(ctx_, W(u"P15"), -1)) << "row " << row;
    EXPECT_EQ(c.p17, PresetFindByName(ctx_, W(u"P17"), 17)) << "row " << row;
    EXPECT_EQ(c.duplicate, PresetCheckDuplicateName(ctx_, NULL)) << "row " << row;
    WCHAR text[16] = {};
    EXPECT_EQ(0u, PresetReadEntryText(ctx_, 16, 1, text, 16)) << "row " << row;
    ++row;
  }
}

// A name too long for the dialogs' buffers is never compared by its cut head.
TEST_F(PresetEntriesTest, NamesLongerThanTheBufferMatchNothing) {
  const std::u16string x300(300, u'x'), x259(259, u'x'), y259(259, u'y');
  List(u"4", {x300.c_str(), x300.c_str(), y259.c_str(), y259.c_str()});
  EXPECT_EQ(-1, PresetFindByName(ctx_, W(x259.c_str()), -1));
  EXPECT_EQ(-1, PresetFindByName(ctx_, W(x300.c_str()), -1));
  EXPECT_EQ(2, PresetFindByName(ctx_, W(y259.c_str()), -1));
  EXPECT_EQ(3, PresetCheckDuplicateName(ctx_, NULL)) << "the long pair is no duplicate";
}

TEST_F(PresetEntriesTest, DuplicateNamesGiveTheLaterEntryOfTheFirstPairAndPostIt) {
  struct Case {
    const char16_t* count;
    std::vector<const char16_t*> names;
    int expected;
  } cases[] = {
      {u"3", {u"A", u"B", u"C"}, -1},
      {u"4", {u"A", u"B", u"A", u"B"}, 2},
      {u"4", {u"A", u"B", u"B", u"A"}, 3},  // entry 0 is checked against all before entry 1
      {u"2", {u"A", u"a"}, -1},
      {u"3", {u"", u"X", u""}, 2},
      {u"2", {u"A", u"B", u"A"}, -1},  // the repeat lies past Count
      {u"1", {u"A"}, -1},
      {u"0", {u"A", u"A"}, -1},
  };
  HWND dialog = SimUiMakeWindow(W(u"#32770"), NULL, 0, 0);
  ASSERT_NE((HWND)NULL, dialog);
  WuiSubclass(dialog, Record);
  for (const Case& c : cases) {
    List(c.count, c.names);
    g_posts.clear();
    EXPECT_EQ(c.expected, PresetCheckDuplicateName(ctx_, dialog)) << c.expected;
    SimUiPump();
    if (c.expected < 0) {
      EXPECT_TRUE(g_posts.empty()) << "nothing posted";
    } else {
      ASSERT_EQ(1u, g_posts.size()) << c.expected;
      EXPECT_EQ(WPARAM(c.expected), g_posts[0].second);
    }
    EXPECT_EQ(c.expected, PresetCheckDuplicateName(ctx_, NULL)) << "no window: the answer alone";
  }
}

TEST_F(PresetEntriesTest, EntryTextsAreCutToTheBufferAndTerminated) {
  List(u"3", {u"Standard", u"A longer name", nullptr, u"Ghost"});
  Key(u"PresetList0Comment", u"first line\\nsecond");
  struct Case {
    int entry, kind;
    DWORD cch;
    const char16_t* expected;
  } cases[] = {
      {0, 1, 260, u"Standard"},
      {0, 2, 1025, u"first line\\nsecond"},
      {1, 1, 8, u"A longe"},
      {1, 1, 1, u""},
      {1, 2, 260, u""},   // no comment key
      {2, 1, 260, u""},   // no name key
      {3, 1, 260, u""},   // past Count
      {-1, 1, 260, u""},
      {0, 0, 260, u""},   // the entry's path is no text of this reader
      {0, 3, 260, u""},
  };
  for (const Case& c : cases) {
    WCHAR buffer[1100];
    for (WCHAR& w : buffer) w = u'#';
    const DWORD placed = PresetReadEntryText(ctx_, c.entry, c.kind, buffer, c.cch);
    const std::u16string expected = c.expected;
    EXPECT_EQ(expected, U(buffer)) << c.entry << "/" << c.kind << "/" << c.cch;
    EXPECT_EQ(expected.size(), placed) << c.entry << "/" << c.kind << "/" << c.cch;
    EXPECT_EQ(u'#', buffer[c.cch]) << "nothing written past the buffer";
  }
  WCHAR untouched = u'#';
  EXPECT_EQ(0u, PresetReadEntryText(ctx_, 0, 1, &untouched, 0));
  EXPECT_EQ(u'#', untouched);
}

TEST_F(PresetEntriesTest, TheChosenFileIsTheContextsAndTheNameOffsetTheProcesss) {
  WCHAR* path = PresetGetChosenFilePath(ctx_);
  ASSERT_NE(nullptr, path);
  EXPECT_EQ(u"", U(path)) << "a fresh context chose nothing";
  path[kPresetChosenFileChars - 1] = 0;  // the whole buffer is the context's
  EXPECT_EQ(path, PresetGetChosenFilePath(ctx_));
  EXPECT_EQ(nullptr, PresetGetChosenFilePath(nullptr));
  const int before = PresetGetFileNameOffset();
  PresetSetFileNameOffset(12);
  EXPECT_EQ(12, PresetGetFileNameOffset());
  PresetSetFileNameOffset(before);
}

}  // namespace
}  // namespace zems_test
