// The font-substitution pages: the entry texts and the table built from them as plain
// functions, and the two lists on the window interface's fake with the machine's fonts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/page_lookup.h"
#include "core/items/item_access.h"
#include "core/items/item_fonts.h"
#include "core/items/item_ids.h"
#include "core/modules/font_subst_lists.h"
#include "core/modules/module_rows.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

std::u16string Entry(const char16_t* face, const char16_t* device) {
  WCHAR out[kTtfEntryChars];
  TtfFormatEntry(face, device, out);
  return std::u16string(out);
}

TEST(FontSubstEntries, FacesArePaddedSoThatDeviceFontsLineUp) {
  const std::u16string face31(31, u'F');
  const std::u16string face34 = face31 + u"XYZ";
  const struct {
    const char16_t* face;
    const char16_t* device;
    std::u16string expected;
  } cases[] = {
      {u"Arial", u"Helvetica", u"Arial" + std::u16string(26, u' ') + u" > Helvetica"},
      {face31.c_str(), u"Courier", face31 + u" > Courier"},
      {face34.c_str(), u"Courier", face31 + u" > Courier"},  // cut at 31
      {u"", u"", std::u16string(31, u' ') + u" > "},
  };
  for (const auto& c : cases) {
    const std::u16string entry = Entry(c.face, c.device);
    EXPECT_EQ(c.expected, entry);
    if (c.device[0]) {
      EXPECT_EQ(size_t(kTtfDeviceAt), entry.find(c.device)) << "the device font at 34";
    }
  }
  WCHAR face[32], device[32];
  const std::u16string entry = Entry(u"Times New Roman", u"Times");
  TtfEntryParts(entry.c_str(), face, device);
  EXPECT_EQ(u"Times New Roman", std::u16string(face)) << "trailing blanks removed";
  EXPECT_EQ(u"Times", std::u16string(device));
}

TEST(FontSubstEntries, TheTableLeavesOutFacesKeptOnTheFirstDeviceFont) {
  const std::u16string longDevice(40, u'D');
  std::u16string texts[] = {Entry(u"Arial", u"Courier"), Entry(u"Courier New", u"Helvetica"),
                            Entry(u"Symbol", u"Courier"),
                            Entry(u"Wide", u"x") .substr(0, kTtfDeviceAt) + longDevice};
  const WCHAR* entries[4] = {texts[0].c_str(), texts[1].c_str(), texts[2].c_str(), texts[3].c_str()};
  ItemFontSubstEntry table[4] = {};
  ASSERT_EQ(2, TtfFillTable(entries, 4, u"Courier", table));
  EXPECT_EQ(u"Courier New", std::u16string(table[0].face));
  EXPECT_EQ(u"Helvetica", std::u16string(table[0].deviceFont));
  EXPECT_EQ(u"Wide", std::u16string(table[1].face));
  EXPECT_EQ(std::u16string(31, u'D'), std::u16string(table[1].deviceFont)) << "cut to 31 and terminated";
  EXPECT_EQ(0, table[1].deviceFont[31]);
}

class FontSubstPageTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx_);
    page_ = PageFind(ctx_, 1009);
    ASSERT_NE(nullptr, page_);
    sheet_ = SimUiMakeWindow(u"#32770", NULL, 0, 0);
    page_->window = SimUiMakeWindow(u"#32770", sheet_, 0, WS_CHILD);
    for (WORD id : {2384, 2385}) SimUiMakeWindow(u"ListBox", page_->window, id, WS_CHILD | WS_VISIBLE);
    for (WORD id : {2383, 2291}) SimUiMakeWindow(u"Static", page_->window, id, WS_CHILD | WS_VISIBLE);
    ctx_->currentPage = 1009;
  }
  void TearDown() override {
    if (ctx_) CtxRelease(ctx_, kReleaseExpired);
    ContextTest::TearDown();
  }
  HWND Window(WORD id) { return WuiFindControl(page_->window, id); }
  int Send(WORD id, UINT message, WPARAM wParam = 0) {
    DlgControlRecord control{};
    control.controlId = id;
    control.window = Window(id);
    return TtfHandleControl(ctx_, page_, &control, message, wParam, 0, nullptr);
  }
  std::vector<std::u16string> Texts(WORD id) {
    std::vector<std::u16string> out;
    for (int i = 0; i < WuiChoiceCount(Window(id)); ++i) {
      WCHAR text[128] = {};
      WuiChoiceText(Window(id), i, text, 128);
      out.push_back(text);
    }
    return out;
  }
  DriverContext* ctx_ = nullptr;
  DlgPageRecord* page_ = nullptr;
  HWND sheet_ = NULL;
};

TEST_F(FontSubstPageTest, ListsFillAndADeviceFontChosenIsStored) {
  if (ItemFontCount(ctx_) < 2) GTEST_SKIP() << "the sample printer lists fewer than two device fonts";
  EXPECT_EQ(1, Send(2384, WM_INITDIALOG));
  EXPECT_EQ(1, Send(2385, WM_INITDIALOG));
  const std::vector<std::u16string> faces = Texts(2385);
  // The machine's TrueType families without the vertical one; the raster face is no TrueType.
  ASSERT_EQ(3u, faces.size());
  for (const std::u16string& f : faces) EXPECT_NE(u'@', f[0]);
  for (const std::u16string& f : Texts(2384)) EXPECT_NE(u'@', f[0]);
  const std::u16string first = ItemFontName(ctx_, 0);
  const std::u16string second = ItemFontName(ctx_, 1);
  EXPECT_EQ(Entry(u"Arial", ItemFontSubstFor(ctx_, u"Arial")), faces[0]);
  WCHAR shown[64] = {};
  WuiGetText(Window(2383), shown, 64);
  EXPECT_EQ(u"Arial", std::u16string(shown));

  // Courier New chosen, then the second device font for it.
  WuiChoiceSelect(Window(2385), 1);
  Send(2385, WM_COMMAND, MAKEWPARAM(2385, LBN_SELCHANGE));
  WuiChoiceSelect(Window(2384), 1);
  EXPECT_EQ(1, Send(2384, WM_COMMAND, MAKEWPARAM(2384, LBN_SELCHANGE)));
  EXPECT_EQ(Entry(u"Courier New", second.c_str()), Texts(2385)[1]);
  EXPECT_EQ(1, WuiChoiceSelection(Window(2385)));
  EXPECT_EQ(second, std::u16string(ItemFontSubstFor(ctx_, u"Courier New")));
  // Every face shown with another font than the first is in the table, the others not.
  LONG substituted = 0;
  for (const std::u16string& entry : Texts(2385))
    if (entry.substr(kTtfDeviceAt) != first) ++substituted;
  EXPECT_EQ(substituted, ItemGetRawById(ctx_, kItem_zdmFontTableNum));
  WuiChoiceSelect(Window(2384), 0);
  Send(2384, WM_COMMAND, MAKEWPARAM(2384, LBN_SELCHANGE));
  EXPECT_EQ(substituted - 1, ItemGetRawById(ctx_, kItem_zdmFontTableNum)) << "back on the first: left out";
  WuiChoiceSelect(Window(2384), 1);
  Send(2384, WM_COMMAND, MAKEWPARAM(2384, LBN_SELCHANGE));
  // Choosing the face again selects its device font.
  WuiChoiceSelect(Window(2384), -1);
  Send(2385, WM_COMMAND, MAKEWPARAM(2385, LBN_SELCHANGE));
  EXPECT_EQ(1, WuiChoiceSelection(Window(2384)));
  // The reset button brings the printer's table back.
  DlgControlRecord reset{};
  reset.controlId = 2386;
  EXPECT_EQ(1, TtfHandleControl(ctx_, page_, &reset, WM_COMMAND, 2386, 0, nullptr));
  // The printer's stored table (none was stored here) replaces the one the page built.
  const std::vector<std::u16string> reloaded = Texts(2385);
  ASSERT_EQ(3u, reloaded.size());
  for (const std::u16string& entry : reloaded) {
    WCHAR face[32], device[32];
    TtfEntryParts(entry.c_str(), face, device);
    EXPECT_EQ(std::u16string(ItemFontSubstFor(ctx_, face)), std::u16string(device)) << "the list shows the reloaded table";
  }
  EXPECT_NE(second, std::u16string(ItemFontSubstFor(ctx_, u"Courier New")));
}

TEST_F(FontSubstPageTest, OnlyThePagesOfTheModuleAreTaken) {
  page_->dialogId = 1001;
  EXPECT_EQ(0, Send(2385, WM_INITDIALOG));
  page_->dialogId = 1009;
}

}  // namespace
}  // namespace zems_test
