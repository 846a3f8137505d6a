// The fake's DIALOGEX reader: a well-formed template reads whole; a cut, a missing terminator,
// an unknown class atom, too many items or the old template form are refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/dialog_template.h"

namespace {

// Builds template bytes the way the resource compiler lays them out.
struct Bytes {
  std::vector<uint8_t> b;
  void Word(unsigned v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
  }
  void Dword(unsigned v) {
    Word(v & 0xFFFF);
    Word(v >> 16);
  }
  void Text(const char16_t* t) {
    for (; *t; ++t) Word(*t);
    Word(0);
  }
  void Align() {
    while (b.size() % 4) b.push_back(0);
  }
};

Bytes Template(unsigned count, unsigned classAtom = 0x81) {
  Bytes t;
  t.Word(1);
  t.Word(0xFFFF);
  t.Dword(0);
  t.Dword(0);
  t.Dword(DS_SETFONT | WS_POPUP);
  t.Word(count);
  for (int i = 0; i < 4; ++i) t.Word(10);
  t.Word(0);  // no menu
  t.Word(0);  // the dialog class
  t.Text(u"Title");
  t.Word(8);
  t.Word(400);
  t.b.push_back(0);
  t.b.push_back(1);
  t.Text(u"MS Shell Dlg");
  for (unsigned i = 0; i < count; ++i) {
    t.Align();
    t.Dword(0);
    t.Dword(0);
    t.Dword(WS_CHILD | WS_VISIBLE);
    for (int k = 0; k < 4; ++k) t.Word(5);
    t.Dword(100 + i);
    t.Word(0xFFFF);
    t.Word(classAtom);
    t.Text(u"Item");
    t.Word(2);  // two bytes of creation data
    t.Word(0xABCD);
  }
  return t;
}

TEST(DialogTemplateReader, ReadsAWellFormedTemplate) {
  Bytes t = Template(2);
  winsim::DialogTemplate d;
  ASSERT_TRUE(winsim::ReadDialogTemplate(t.b.data(), t.b.size(), &d));
  EXPECT_EQ(d.title, u"Title");
  EXPECT_EQ(d.typeface, u"MS Shell Dlg");
  EXPECT_EQ(d.pointSize, 8);
  ASSERT_EQ(d.items.size(), 2u);
  EXPECT_EQ(d.items[1].id, 101u);
  EXPECT_EQ(d.items[1].className, u"Edit");
  EXPECT_EQ(d.items[1].text, u"Item");
}

TEST(DialogTemplateReader, RefusesWhatDoesNotFit) {
  Bytes whole = Template(2);
  // Every cut of a template is refused: no text or item is read past the bytes given.
  for (size_t n = 0; n < whole.b.size(); ++n) {
    winsim::DialogTemplate d;
    EXPECT_FALSE(winsim::ReadDialogTemplate(whole.b.data(), n, &d)) << "cut at " << n;
  }
  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"an unknown class atom", Template(1, 0x99)},
      {"more items than a dialog may have", Template(winsim::kMaxDialogItems + 1)},
  };
  Bytes old = Template(1);
  old.b[2] = 0;  // DLGTEMPLATE: no version and signature words
  old.b[3] = 0;
  for (const Case& c : cases) {
    winsim::DialogTemplate d;
    EXPECT_FALSE(winsim::ReadDialogTemplate(c.bytes.b.data(), c.bytes.b.size(), &d)) << c.what;
  }
  winsim::DialogTemplate d;
  EXPECT_FALSE(winsim::ReadDialogTemplate(old.b.data(), old.b.size(), &d)) << "the old template form";
  EXPECT_FALSE(winsim::ReadDialogTemplate(nullptr, 10, &d));
}

}  // namespace
