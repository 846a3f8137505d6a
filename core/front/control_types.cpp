// The control-type table, the control extensions and the item-picture sizes.
#include "core/front/control_types.h"

#include "core/front/ctl_edits.h"
#include "core/front/ctl_lists.h"
#include "core/front/ctl_simple.h"
#include "core/front/ctl_subclass.h"
#include "core/front/dialog_state.h"
#include "core/front/draw_helpers.h"

namespace {

// One row per type code, in this order: {type, 0, click, init, show, command, message, window
// procedure}; the handlers are the control types' (control_types.h).
const CtlTypeRecord kTypes[] = {
    {1, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {2, 0, CtlStepPictureValue, nullptr, CtlShowPicture, nullptr, nullptr, CtlSubclassProc},
    {3, 0, CtlStepPictureValue, nullptr, CtlShowImageValue, nullptr, nullptr, CtlSubclassProc},
    {4, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {5, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {6, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {21, 0, nullptr, CtlInitButton, CtlShowValueText, CtlButtonCommand, CtlDrawButton, CtlButtonProc},
    {24, 0, nullptr, CtlInitButtonAlt, CtlShowValueText, CtlButtonCommand, CtlDrawButton, CtlButtonProc},
    {22, 0, CtlCheckPreMessage, nullptr, CtlShowCheckValue, CtlTakeCheckValue, nullptr, CtlSubclassProc},
    {41, 0, CtlRadioPreMessage, nullptr, CtlShowRadioValue, CtlTakeRadioValue, nullptr, CtlSubclassProc},
    {42, 0, nullptr, CtlFillListBox, CtlShowListBoxValue, CtlTakeListBoxValue, nullptr, CtlSubclassProc},
    {43, 0, nullptr, CtlFillCombo, CtlShowComboValue, CtlTakeComboValue, nullptr, CtlSubclassProc},
    {44, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {45, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {46, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {47, 0, nullptr, CtlFillOwnerListBox, nullptr, CtlTakeListBoxValue, CtlDrawListItem, CtlSubclassProc},
    {48, 0, nullptr, CtlFillCombo, CtlShowOwnerComboValue, CtlTakeComboValue, CtlDrawComboItem, CtlSubclassProc},
    {49, 0, nullptr, CtlFillOwnerListBox, nullptr, CtlTakeListBoxValue, CtlDrawListItemAlt, CtlSubclassProc},
    {50, 0, nullptr, CtlFillIconList, nullptr, CtlTakeIconListValue, CtlDrawIconListItem, CtlSubclassProc},
    {61, 0, nullptr, CtlInitEdit, CtlShowEditText, CtlTakeEditText, nullptr, CtlSubclassProc},
    {62, 0, nullptr, CtlInitEdit, CtlShowEditText, CtlTakeEditText, nullptr, CtlSubclassProc},
    {63, 0, nullptr, CtlInitNumericEdit, CtlShowNumericEdit, CtlTakeNumericEdit, CtlNumericEditMessage,
     CtlSubclassProc},
    {23, 0, nullptr, CtlInitScrollBar, CtlShowScrollBarValue, nullptr, CtlScrollBarMessage, CtlSubclassProc},
    {64, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {65, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {81, 0, nullptr, CtlInitScrollBar, CtlShowScrollBarValue, nullptr, CtlScrollBarMessage, CtlSubclassProc},
    {82, 0, nullptr, CtlInitValueScrollBar, CtlShowValueScrollBar, nullptr, CtlValueScrollBarMessage,
     CtlSubclassProc},
    {83, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {84, 0, nullptr, CtlInitValueScrollBar, CtlShowValueScrollBarAlt, nullptr, CtlValueScrollBarMessage,
     CtlSubclassProc},
    {85, 0, nullptr, CtlInitTrackbar, CtlShowTrackbarValue, nullptr, CtlTrackbarMessage, CtlSubclassProc},
    {101, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {102, 0, nullptr, nullptr, CtlShowValueText, nullptr, nullptr, CtlSubclassProc},
    {104, 0, nullptr, CtlFillTabControl, nullptr, nullptr, CtlTabMessage, CtlSubclassProc},
    {105, 0, nullptr, CtlFillTreeView, nullptr, nullptr, CtlIgnoreMessage, CtlSubclassProc},
};
constexpr int kTypeCount = static_cast<int>(sizeof(kTypes) / sizeof(kTypes[0]));
static_assert(kTypeCount == 34, "34 control types");

// The colour-balance step buttons of the balance page move the three balance edits together.
const CtlStep kBalanceDown[] = {{2272, 0, -1}, {2274, 0, -1}, {2276, 0, -1}};
const CtlStep kBalanceUp[] = {{2272, 0, 1}, {2274, 0, 1}, {2276, 0, 1}};

// The type-84 bars of the quality, stamp and header pages: one step an arrow, ten a page.
const CtlExtRamp kRampGreyExt = {kCtlExtColourRamp, 1, 10, kRampPictureGrey};
const CtlExtRamp kRampRedExt = {kCtlExtColourRamp, 1, 10, kRampPictureRed};
const CtlExtRamp kRampGreenExt = {kCtlExtColourRamp, 1, 10, kRampPictureGreen};
const CtlExtRamp kRampBlueExt = {kCtlExtColourRamp, 1, 10, kRampPictureBlue};
const CtlExtSteps kBalanceDownExt = {kCtlExtStepButton, 3, kBalanceDown};
const CtlExtSteps kBalanceUpExt = {kCtlExtStepButton, 3, kBalanceUp};

// The colour sample of the quality page draws with the six default colour items.
const CtlExtColourSample kColourSampleExt = {kCtlExtColourSample, {0, 0}, {0, 0, 0, 0, 0, 0}};

// The preview picture's watermark items by symbol: text, face, style, effect, colour, density,
// angle, size, image file, image scale, position, tiling and opacity (wdmWmChar .. wdmWmOpaque);
// the binding turns the symbols into item ids.
const WORD kPreviewWatermarkExt[kCtlExtWatermarkWords] = {
    kCtlExtPreview, 1928, 1944, 1950, 1937, 1946, 1936, 1943, 1945, 1929, 1951, 1938, 1939, 1934, 0};

// The rows' extension column names an index of this table; indexes are never renumbered. Rows
// are grouped by the control types that read them: 1-9 ramps and balance steps, 10-29 texts,
// pictures and buttons, 30-49 lists, combos and tabs, 50-69 edits and scroll bars.
struct ExtensionRow {
  int index;
  const CtlExtRecord* extension;
};
const ExtensionRow kControlExtensions[] = {
    {1, reinterpret_cast<const CtlExtRecord*>(&kRampGreyExt)},
    {2, reinterpret_cast<const CtlExtRecord*>(&kRampRedExt)},
    {3, reinterpret_cast<const CtlExtRecord*>(&kRampGreenExt)},
    {4, reinterpret_cast<const CtlExtRecord*>(&kRampBlueExt)},
    {5, reinterpret_cast<const CtlExtRecord*>(&kBalanceDownExt)},
    {6, reinterpret_cast<const CtlExtRecord*>(&kBalanceUpExt)},
    // 10-29: texts, pictures and buttons
    {10, reinterpret_cast<const CtlExtRecord*>(&kColourSampleExt)},
    {11, reinterpret_cast<const CtlExtRecord*>(kPreviewWatermarkExt)},
    // 30-49: lists, combos and tabs
    {30, reinterpret_cast<const CtlExtRecord*>(&kListExtRestrictedChoice)},
    {31, reinterpret_cast<const CtlExtRecord*>(&kListExtStatusSummary)},
    {32, reinterpret_cast<const CtlExtRecord*>(&kListExtSettingsSummary)},
    {33, reinterpret_cast<const CtlExtRecord*>(kListExtHiddenFunctions)},  // a plain item list
    // 50-69: edits and scroll bars
};

// Item-picture sizes, first match wins; the row of id 0 ends the table.
const CtlImageSize kImageSizes[] = {
    {2001, 108, 107}, {2139, 108, 107},  // preset icon lists
    {2085, 77, 78},   {2466, 77, 78},    // n-up layouts
    {2087, 91, 51},   {2467, 91, 51},    // duplex layouts
    {2134, 42, 42},   {2457, 42, 42},    // print-type lists
    // the other owner-drawn lists: staples, punches, folds, options, fonts, chapters
    {2100, 16, 16}, {2476, 16, 16}, {2102, 16, 16}, {2477, 16, 16}, {2895, 16, 16}, {2164, 16, 16},
    {2385, 16, 16}, {2384, 16, 16}, {2364, 16, 16}, {2813, 16, 16}, {2800, 16, 16}, {1121, 16, 16},
    {2941, 16, 16}, {2817, 16, 16},
    // every other owner-drawn combo
    {2009, 16, 14}, {2007, 16, 14}, {2011, 16, 14}, {2017, 16, 14}, {2023, 16, 14}, {2032, 16, 14},
    {2013, 16, 14}, {2036, 16, 14}, {2041, 16, 14}, {2044, 16, 14}, {2053, 16, 14}, {2070, 16, 14},
    {2064, 16, 14}, {2066, 16, 14}, {2078, 16, 14}, {2083, 16, 14}, {2089, 16, 14}, {2095, 16, 14},
    {2109, 16, 14}, {2117, 16, 14}, {3027, 16, 14}, {2135, 16, 14}, {2152, 16, 14}, {2617, 16, 14},
    {2168, 16, 14}, {2170, 16, 14}, {2217, 16, 14}, {2632, 16, 14}, {2256, 16, 14}, {2260, 16, 14},
    {2709, 16, 14}, {2572, 16, 14}, {2574, 16, 14}, {2251, 16, 14}, {2253, 16, 14}, {2258, 16, 14},
    {2278, 16, 14}, {2303, 16, 14}, {2885, 16, 14}, {2305, 16, 14}, {2314, 16, 14}, {2316, 16, 14},
    {2318, 16, 14}, {2320, 16, 14}, {2334, 16, 14}, {2647, 16, 14}, {2653, 16, 14}, {2655, 16, 14},
    {2658, 16, 14}, {2660, 16, 14}, {2663, 16, 14}, {2665, 16, 14}, {3184, 16, 14}, {2349, 16, 14},
    {2440, 16, 14}, {2861, 16, 14}, {2443, 16, 14}, {2863, 16, 14}, {2484, 16, 14}, {2485, 16, 14},
    {2697, 16, 14}, {2491, 16, 14}, {2713, 16, 14}, {2752, 16, 14}, {2865, 16, 14}, {2781, 16, 14},
    {2771, 16, 14}, {2867, 16, 14}, {2791, 16, 14}, {2846, 16, 14}, {2855, 16, 14}, {1137, 16, 14},
    {2921, 16, 14}, {2912, 16, 14}, {2914, 16, 14}, {2937, 16, 14}, {2948, 16, 14}, {2950, 16, 14},
    {2958, 16, 14}, {3029, 16, 14}, {3100, 16, 14}, {3105, 16, 14}, {3112, 16, 14}, {3138, 16, 14},
    {3132, 16, 14}, {3134, 16, 14}, {3148, 16, 14}, {3223, 16, 14}, {3227, 16, 14}, {3225, 16, 14},
    // later rows that repeat an id are never reached
    {2085, 0, 0},     {2164, 0, 0},
    {0, 0, 0},
};

}  // namespace

const CtlImageSize* TblGetControlImageSizes() { return kImageSizes; }

int CtlTypeCount() { return kTypeCount; }

const CtlTypeRecord* CtlTypeAt(int index) { return index >= 0 && index < kTypeCount ? &kTypes[index] : nullptr; }

const CtlTypeRecord* CtlFindType(WORD type) {
  for (const CtlTypeRecord& row : kTypes)
    if (row.type == type) return &row;
  return nullptr;
}

const CtlExtRecord* CtlExtensionAt(int index) {
  for (const ExtensionRow& row : kControlExtensions)
    if (index > 0 && row.index == index) return row.extension;
  return nullptr;
}

const CtlExtRecord* CtlGetExtension(const DlgControlRecord* control, WORD kind) {
  const CtlExtRecord* ext = control ? static_cast<const CtlExtRecord*>(control->extension) : nullptr;
  return ext && ext->kind == kind ? ext : nullptr;
}

const CtlImageSize* DlgFindMeasureEntry(WORD controlId) {
  for (const CtlImageSize* row = kImageSizes; row->controlId != 0; ++row)
    if (row->controlId == controlId) return row;
  return nullptr;
}

BOOL DlgApplyMeasureEntry(WORD controlId, UINT* itemWidth, UINT* itemHeight) {
  const CtlImageSize* row = DlgFindMeasureEntry(controlId);
  if (!row) return FALSE;
  if (row->width > 0 && itemWidth) *itemWidth = row->width;
  if (row->height > 0 && itemHeight) *itemHeight = row->height;
  return TRUE;
}
