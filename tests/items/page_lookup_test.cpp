// Lookups of the pages and controls in a context's dialog tables.
#include <gtest/gtest.h>

#include "core/front/control_lookup.h"
#include "core/front/page_lookup.h"
#include "core/tables/symbol_table.h"

namespace {

HWND Window(UINT_PTR n) { return reinterpret_cast<HWND>(n); }

// Two open pages; control id 20 and symbol 1007 (TOV_dmPaperSize) appear on both, so the
// lookups over all pages must answer the first page's control.
class PageLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    const WORD symbolOfDmPaperSize = TblFindSymbolByName("TOV_dmPaperSize")->symbolId;
    first_[0] = Control(10, 0, 0x101);
    first_[1] = Control(20, symbolOfDmPaperSize, 0x102);
    second_[0] = Control(20, symbolOfDmPaperSize, 0x201);
    second_[1] = Control(30, 1012, 0);  // no window: the page shows it not yet
    pages_[0] = Page(1001, "TOV_IDD_PRESET", first_, Window(0x100));
    pages_[1] = Page(1002, "TOV_IDD_BASIC", second_, Window(0x200));
    pages_[2] = Page(1003, "TOV_IDD_EDIT", nullptr, nullptr);  // closed, no controls
    table_ = {3, pages_};
    ctx_.pages = &table_;
  }

  static DlgControlRecord Control(WORD id, WORD symbol, UINT_PTR window) {
    DlgControlRecord c{};
    c.controlId = id;
    c.symbolId = symbol;
    c.window = Window(window);
    return c;
  }
  static DlgPageRecord Page(WORD id, const char* name, DlgControlRecord* controls, HWND window) {
    DlgPageRecord p{};
    p.dialogId = id;
    p.name = name;
    p.controls = controls;
    p.controlCount = controls ? 2 : 0;
    p.window = window;
    return p;
  }

  DlgControlRecord first_[2] = {};
  DlgControlRecord second_[2] = {};
  DlgPageRecord pages_[3] = {};
  DlgPageTable table_{};
  DriverContext ctx_{};
};

TEST_F(PageLookup, PagesByIdWindowAndName) {
  EXPECT_EQ(&pages_[1], PageFind(&ctx_, 1002));
  EXPECT_EQ(nullptr, PageFind(&ctx_, 1004));
  EXPECT_EQ(&pages_[1], PageFindByWindow(&ctx_, Window(0x200)));
  EXPECT_EQ(nullptr, PageFindByWindow(&ctx_, nullptr)) << "a closed page has no window to match";
  EXPECT_EQ(&pages_[2], PageFindByName(&ctx_, "TOV_IDD_EDIT"));
  EXPECT_EQ(nullptr, PageFindByName(&ctx_, "tov_idd_edit"));
  EXPECT_EQ(nullptr, PageFindByName(&ctx_, nullptr));

  // Without a context the static table that every context copies answers.
  DlgPageRecord* preset = PageFindByName(nullptr, "TOV_IDD_PRESET");
  ASSERT_NE(nullptr, preset);
  EXPECT_EQ(1001, preset->dialogId);
  EXPECT_NE(&pages_[0], preset);

  DriverContext empty{};
  EXPECT_EQ(nullptr, PageFind(&empty, 1001));
  EXPECT_EQ(nullptr, PageFind(nullptr, 1001));
}

TEST_F(PageLookup, ControlAtIndex) {
  EXPECT_EQ(&first_[0], PageControlAt(&pages_[0], 0));
  EXPECT_EQ(&first_[1], PageControlAt(&pages_[0], 1));
  EXPECT_EQ(nullptr, PageControlAt(&pages_[0], 2));
  EXPECT_EQ(nullptr, PageControlAt(&pages_[0], -1));
  EXPECT_EQ(nullptr, PageControlAt(&pages_[2], 0));
  EXPECT_EQ(nullptr, PageControlAt(nullptr, 0));
}

TEST_F(PageLookup, ControlsOnOnePageOrOnAllPagesInOrder) {
  const WORD paperSymbol = first_[1].symbolId;
  struct {
    const char* what;
    DlgControlRecord* found;
    DlgControlRecord* expected;
  } cases[] = {
      {"id on all pages", CtlFind(&ctx_, nullptr, 20), &first_[1]},
      {"id on one page", CtlFind(&ctx_, &pages_[1], 20), &second_[0]},
      {"id only on the second page", CtlFind(&ctx_, nullptr, 30), &second_[1]},
      {"id on no page", CtlFind(&ctx_, nullptr, 40), nullptr},
      {"id on a page without controls", CtlFind(&ctx_, &pages_[2], 20), nullptr},
      {"window on all pages", CtlFindByWindow(&ctx_, nullptr, Window(0x201)), &second_[0]},
      {"window not on this page", CtlFindByWindow(&ctx_, &pages_[0], Window(0x201)), nullptr},
      {"null window", CtlFindByWindow(&ctx_, nullptr, nullptr), nullptr},
      {"symbol on all pages", CtlFindBySymbol(&ctx_, nullptr, paperSymbol), &first_[1]},
      {"symbol on one page", CtlFindBySymbol(&ctx_, &pages_[1], paperSymbol), &second_[0]},
      {"symbol 0", CtlFindBySymbol(&ctx_, nullptr, 0), nullptr},
      {"name on all pages", CtlFindByName(&ctx_, nullptr, "TOV_dmPaperSize"), &first_[1]},
      {"name on one page", CtlFindByName(&ctx_, &pages_[1], "TOV_dmPaperSize"), &second_[0]},
      {"name of no symbol", CtlFindByName(&ctx_, nullptr, "TOV_NoSuchSymbol"), nullptr},
      {"null name", CtlFindByName(&ctx_, nullptr, nullptr), nullptr},
      {"no context", CtlFind(nullptr, nullptr, 20), nullptr},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, c.found) << c.what;
}

}  // namespace
