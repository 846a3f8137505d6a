// Option pictures, picture stepping, step buttons, the picture tables and the hit test.
#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/front/control_types.h"
#include "core/front/ctl_simple.h"
#include "core/front/dialog_engine.h"
#include "core/front/draw_helpers.h"
#include "core/front/picture_parts.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "ui_simple/simple_fixture.h"

namespace zems_test {
namespace {

class PicturesTest : public SimpleTest {
 protected:
  DlgControlRecord* Picture(WORD controlId, const ModelItemDescriptor* desc, WORD type = 2) {
    EXPECT_NE(OpenPage(1038, {Control(controlId, type)}), nullptr);
    DlgControlRecord* control = Find(controlId);
    control->item = ItemFind(ctx_, kItem_dmCopies);
    control->descriptor = desc;
    return control;
  }
  std::vector<UINT> PictureIds() { return Ids(kSimDrawPicture); }
  std::vector<UINT> IconIds() { return Ids(kSimDrawIcon); }
  std::vector<UINT> Ids(int kind) {
    std::vector<UINT> ids;
    for (const SimDrawCall& call : Draws(kind)) ids.push_back(call.id);
    return ids;
  }
  std::vector<int> Events() {
    std::vector<int> events;
    for (const HeardEvent& e : Heard()) events.push_back(e.event);
    return events;
  }
};

struct LayerCase {
  const char* name;
  WORD type;
  WORD partner;
  LONG current;
  std::vector<UINT> drawn;
  std::vector<int> events;
};

TEST_F(PicturesTest, AnOptionPictureDrawsTheCurrentValueOrEveryEnabledValueAsLayers) {
  // 6002 is disabled; 6001 is a portrait page picture, 6003 a landscape one.
  const LayerCase cases[] = {
      {"PickOne: the current value", kModelTypePickOne, 0, 6003, {6003}, {56, 7}},
      {"PickOne, current disabled: nothing", kModelTypePickOne, 0, 6002, {}, {56}},
      {"PickMany: every enabled value", kModelTypePickMany, 0, 6003, {6001, 6003, 6004}, {56, 7, 56, 56, 56}},
      {"a partner: every enabled value", kModelTypePickOne, 2039, 6003, {6001}, {56, 7}},
  };
  for (const LayerCase& c : cases) {
    SCOPED_TRACE(c.name);
    ListFixture list(c.type, {6001, 6002, 6003, 6004}, {6002});
    DlgControlRecord* picture = Picture(2249, &list.desc);
    picture->partner = c.partner;
    ItemSetValueById(ctx_, kItem_dmCopies, c.current);
    Heard().clear();
    CtlDrawOptionPicture(ctx_, page_, picture, NULL, nullptr);
    EXPECT_EQ(PictureIds(), c.drawn);
    EXPECT_EQ(Events(), c.events);
  }
}

TEST_F(PicturesTest, LaterLayersAreDrawnOverTheFirstAndTheColourSlotsAreReset) {
  ListFixture list(kModelTypePickMany, {6001, 6004});
  DlgControlRecord* picture = Picture(2249, &list.desc);
  const CtlExtColourSample sample = {kCtlExtColourSample, {0, 0}, {kItem_dmCopies, 0, 0, 0, 0, 0}};
  picture->extension = const_cast<CtlExtColourSample*>(&sample);
  ctx_->ui->dialog.draw.background = RGB(1, 2, 3);
  LayerAnswer() = 7;
  CtlDrawOptionPicture(ctx_, page_, picture, NULL, nullptr);
  std::vector<SimDrawCall> pictures = Draws(kSimDrawPicture);
  ASSERT_EQ(pictures.size(), 2u);
  // A colour sample stretches; the second layer keeps the first's pixels under its key colour.
  EXPECT_EQ(pictures[0].flags & 0x3, 0x2u);
  EXPECT_EQ(pictures[1].flags & 0x3, 0x3u);
  for (LONG slot : ctx_->ui->dialog.draw.colourAdjust) EXPECT_EQ(slot, 50);
  EXPECT_EQ(ctx_->ui->dialog.draw.background, RGB(1, 2, 3));
  EXPECT_EQ(ctx_->ui->dialog.draw.target, static_cast<HDC>(NULL));
  // The first page picture names its page size, once.
  int pages = 0;
  for (const HeardEvent& e : Heard())
    if (e.event == 7) {
      ++pages;
      EXPECT_EQ(e.value, 50);
    }
  EXPECT_EQ(pages, 1);
}

TEST_F(PicturesTest, APictureWithoutIdTellsTheModulesItWasDrawn) {
  ListFixture list(kModelTypePickOne, {7445});
  DlgControlRecord* picture = Picture(2249, &list.desc);
  ItemSetValueById(ctx_, kItem_dmCopies, 7445);
  picture->controlId = 0;
  CtlDrawOptionPicture(ctx_, page_, picture, NULL, nullptr);
  EXPECT_EQ(Events(), (std::vector<int>{56, 29}));
}

TEST_F(PicturesTest, APictureForAValueComesFromThePictureTableGreyWhileRestricted) {
  DlgControlRecord control = Control(2937, 48);
  EXPECT_EQ(CtlPictureForValue(&control, 13137), 7447);
  EXPECT_EQ(CtlPictureForValue(&control, 13140), 7448);
  EXPECT_EQ(CtlPictureForValue(&control, 13141), 0);
  EXPECT_EQ(CtlPictureExtraForValue(&control, 13137), 0);
  control.state = 0x4;
  EXPECT_EQ(CtlPictureForValue(&control, 13137), 7451);
  DlgControlRecord other = Control(2009, 48);
  EXPECT_EQ(CtlPictureForValue(&other, 13137), 0);
}

TEST_F(PicturesTest, ThePictureLayoutTableCentresThePagePicturesAndEndsWithIdZero) {
  const PicturePartRow* rows = TblGetPictureParts();
  int count = 0;
  while (rows[count].pictureId) {
    EXPECT_EQ(rows[count].basePictureId, 0);
    EXPECT_NE(rows[count].kind, 3);
    ++count;
  }
  EXPECT_GT(count, 0);
  const PicturePartRow* page = TblFindPicturePart(6001);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->flags, 0x50u);
  EXPECT_EQ(page->width, 108);
  EXPECT_EQ(page->height, 91);
  ASSERT_NE(TblFindPicturePart(7414), nullptr);
  EXPECT_EQ(TblFindPicturePart(7414)->width, 90);
  ASSERT_NE(TblFindPicturePart(6232), nullptr);
  EXPECT_EQ(TblFindPicturePart(6232)->x, 66);
  EXPECT_EQ(TblFindPicturePart(6232)->y, 70);
  EXPECT_EQ(TblFindPicturePart(0), nullptr);
  EXPECT_EQ(TblFindPicturePart(9999), nullptr);
}

struct StepCase {
  const char* name;
  std::initializer_list<WORD> disabled;
  LONG current;
  int answer;
  LONG after;
};

TEST_F(PicturesTest, AClickOnAPictureStepsToTheNextAllowedValueAndWraps) {
  const StepCase cases[] = {
      {"to the next", {}, 3001, 1, 3002},
      {"over a disabled one", {3002}, 3001, 1, 3003},
      {"past the last to the first", {}, 3003, 1, 3001},
      {"only the current one allowed: it stays", {3001, 3003}, 3002, 1, 3002},
      {"a value not in the list: nothing", {}, 5, 0, 5},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.name);
    ListFixture list(kModelTypePickOne, {3001, 3002, 3003}, c.disabled);
    DlgControlRecord* picture = Picture(2249, &list.desc);
    ItemSetValueById(ctx_, kItem_dmCopies, c.current);
    EXPECT_EQ(CtlStepPictureValue(ctx_, page_, picture, WM_LBUTTONUP, 0, 0), c.answer);
    EXPECT_EQ(ItemGetValueById(ctx_, kItem_dmCopies), c.after);
  }
  DlgControlRecord* bare = Picture(2249, nullptr);
  EXPECT_EQ(CtlStepPictureValue(ctx_, page_, bare, WM_LBUTTONUP, 0, 0), 0);
}

TEST_F(PicturesTest, AStepButtonMovesItsEditsWithinTheirRanges) {
  ASSERT_NE(OpenPage(1038, {Control(2502, 21), Control(2503, 21), Control(2272, 61), Control(2274, 61),
                            Control(2276, 61)}),
            nullptr);
  NumericFixture range(-10, 10);
  const WORD items[] = {kItem_dmCopies, kItem_dmDuplex, kItem_dmColor};
  const WORD edits[] = {2272, 2274, 2276};
  for (int i = 0; i < 3; ++i) {
    Find(edits[i])->item = ItemFind(ctx_, items[i]);
    Find(edits[i])->descriptor = &range.desc;
  }
  Find(2502)->extension = const_cast<CtlExtRecord*>(CtlExtensionAt(5));
  Find(2503)->extension = const_cast<CtlExtRecord*>(CtlExtensionAt(6));
  ItemSetValueById(ctx_, kItem_dmCopies, 3);
  ItemSetValueById(ctx_, kItem_dmDuplex, -10);
  ItemSetValueById(ctx_, kItem_dmColor, 10);
  EXPECT_EQ(CtlStepLinkedValues(ctx_, page_, Find(2502)), 1);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_dmCopies), 2);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_dmDuplex), -10);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_dmColor), 9);
  EXPECT_EQ(CtlStepLinkedValues(ctx_, page_, Find(2503)), 1);
  EXPECT_EQ(CtlStepLinkedValues(ctx_, page_, Find(2503)), 1);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_dmCopies), 4);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_dmDuplex), -8);
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_dmColor), 10);
}

TEST_F(PicturesTest, AStepDeltaBeyondSixteenBitsIsKept) {
  ASSERT_NE(OpenPage(1038, {Control(2502, 21), Control(2272, 61)}), nullptr);
  NumericFixture range(0, 200000);
  Find(2272)->item = ItemFind(ctx_, kItem_dmFields);
  Find(2272)->descriptor = &range.desc;
  const CtlStep step = {2272, 0, 70000};
  const CtlExtSteps steps = {kCtlExtStepButton, 1, &step};
  Find(2502)->extension = const_cast<CtlExtSteps*>(&steps);
  ItemSetValueById(ctx_, kItem_dmFields, 0);
  CtlStepLinkedValues(ctx_, page_, Find(2502));
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_dmFields), 70000);
}

TEST_F(PicturesTest, TheQualityPageStepButtonsAndColourSampleHaveTheirExtensions) {
  const auto* down = reinterpret_cast<const CtlExtSteps*>(CtlExtensionAt(5));
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->kind, kCtlExtStepButton);
  ASSERT_EQ(down->count, 3);
  EXPECT_EQ(down->steps[0].delta, -1);
  const auto* sample = reinterpret_cast<const CtlExtColourSample*>(CtlExtensionAt(10));
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->kind, kCtlExtColourSample);
  for (WORD item : sample->items) EXPECT_EQ(item, 0);
}

TEST_F(PicturesTest, AnImageValueDrawsTheCurrentIconOrEveryEnabledOne) {
  struct Case {
    const char* name;
    WORD type;
    WORD partner;
    std::vector<UINT> drawn;
  } cases[] = {
      {"PickOne: the current one", kModelTypePickOne, 0, {6003}},
      {"PickOne with a partner: the first enabled", kModelTypePickOne, 2039, {6001}},
      {"PickMany: every enabled one", kModelTypePickMany, 0, {6001, 6003}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListFixture list(c.type, {6001, 6002, 6003}, {6002});
    DlgControlRecord* picture = Picture(2249, &list.desc, 3);
    picture->partner = c.partner;
    ItemSetValueById(ctx_, kItem_dmCopies, 6003);
    CtlShowImageValue(ctx_, page_, picture);
    EXPECT_EQ(IconIds(), c.drawn);
  }
}

TEST_F(PicturesTest, AHitFindsTheTopmostShownControlUnderThePoint) {
  // 2249 and 2039 overlap; 2039 is described later.
  ASSERT_NE(OpenPage(1038, {Control(3001, 1), Control(2249, 2), Control(2039, 2)}), nullptr);
  RECT lower, upper;
  ASSERT_TRUE(WuiGetRect(Find(2249)->window, &lower));
  ASSERT_TRUE(WuiGetRect(Find(2039)->window, &upper));
  ASSERT_LT(upper.left, lower.right);
  const POINT both = {upper.left, upper.top};
  const POINT onlyLower = {lower.left, lower.top};
  const POINT outside = {lower.right + 500, lower.bottom + 500};
  EXPECT_EQ(CtlHitTest(ctx_, page_, both), Find(2039));
  EXPECT_EQ(CtlHitTest(ctx_, page_, onlyLower), Find(2249));
  EXPECT_EQ(CtlHitTest(ctx_, page_, outside), nullptr);
  // The right and bottom edges lie outside.
  EXPECT_EQ(CtlHitTest(ctx_, page_, POINT{lower.left, lower.bottom}), nullptr);
  Find(2039)->state = 1;  // hidden
  EXPECT_EQ(CtlHitTest(ctx_, page_, both), Find(2249));
  Find(2249)->window = NULL;
  EXPECT_EQ(CtlHitTest(ctx_, page_, both), nullptr);
}

TEST_F(PicturesTest, AScreenPointBecomesAPointOfThePage) {
  ASSERT_NE(OpenPage(1038, {Control(2249, 2)}), nullptr);
  RECT placed;
  ASSERT_TRUE(WuiGetRect(page_->window, &placed));
  const RECT moved = {120, 70, 120 + placed.right - placed.left, 70 + placed.bottom - placed.top};
  ASSERT_TRUE(WuiMove(page_->window, &moved, FALSE));
  RECT page, control;
  ASSERT_TRUE(WuiGetRect(page_->window, &page));
  ASSERT_TRUE(WuiGetRect(Find(2249)->window, &control));
  POINT at = {page.left + control.left + 1, page.top + control.top + 1};
  ASSERT_TRUE(WuiScreenToClient(page_->window, &at));
  EXPECT_EQ(at.x, control.left + 1);
  EXPECT_EQ(at.y, control.top + 1);
  EXPECT_EQ(CtlHitTest(ctx_, page_, at), Find(2249));
}

TEST_F(PicturesTest, AContextMenuOverAControlShowsItsHelpUnlessItIsASecretOne) {
  for (bool secret : {false, true}) {
    SCOPED_TRACE(secret);
    ASSERT_NE(OpenPage(1038, {Control(3001, 1), Control(2249, 2)}, true), nullptr);
    SimUiPump();
    RECT placed, control;
    ASSERT_TRUE(WuiGetRect(page_->window, &placed));
    const RECT moved = {600, 500, 600 + placed.right - placed.left, 500 + placed.bottom - placed.top};
    ASSERT_TRUE(WuiMove(page_->window, &moved, FALSE));
    DlgControlRecord* picture = Find(2249);
    ASSERT_NE(picture->window, static_cast<HWND>(NULL));
    ASSERT_TRUE(WuiGetRect(picture->window, &control));
    if (secret) picture->flags |= kCtlSecretEvent;
    const DWORD before = SimUiCallCount();
    WuiSend(page_->window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(page_->window),
            MAKELPARAM(600 + control.left + 2, 500 + control.top + 2));
    int helps = 0;
    for (DWORD i = before; i < SimUiCallCount(); ++i) {
      SimUiCall call = {};
      if (SimUiGetCall(i, &call) && call.kind == kSimUiHelp) ++helps;
    }
    EXPECT_EQ(helps, secret ? 0 : 1);
    WuiDestroy(page_->window);
  }
}

}  // namespace
}  // namespace zems_test
