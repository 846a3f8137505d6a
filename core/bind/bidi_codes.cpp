// The code tables of the bidirectional acquisition. Tray tables come in two: the table of this
// build's model and the driver's default table; the model table is used unless its first row
// is all zero. Tray-index tables hold the tray-field item (10111 + index), so that id 0 stays
// free for "no row".
#include "core/bind/bidi_codes.h"

#include "core/tables/static_tables.h"

namespace {

constexpr WORD kNoPaper = 2048;
constexpr WORD kNoPaperEither = 2049;
constexpr WORD kNoMedia = 2048;

#define TRAY(t) WORD(kBidiTrayFieldBase + (t))

const BidiTrayRow kModelTrayIndex[] = {{TRAY(0), 3}, {TRAY(1), 4}, {TRAY(2), 5}, {TRAY(28), 2}, {0, 0}};
const BidiTrayRow kDefaultTrayIndex[] = {
    {TRAY(0), 3},   {TRAY(1), 4},   {TRAY(1), 12},  {TRAY(2), 5},    {TRAY(3), 6},
    {TRAY(5), 8},   {TRAY(6), 9},   {TRAY(25), 7},  {TRAY(25), 11},  {TRAY(27), 1},
    {TRAY(28), 2},  {TRAY(29), 101}, {TRAY(13), 70}, {0, 0},
};
#undef TRAY

const BidiTrayRow kModelTrayValue[] = {{1, 3}, {3, 4}, {2, 5}, {4, 2}, {0, 0}};
const BidiTrayRow kDefaultTrayValue[] = {
    {1, 3},   {3, 4},   {5, 12},  {2, 5},  {256, 6},   {262, 8},   {263, 9},
    {11, 7},  {11, 11}, {4, 1},   {4, 2},  {286, 101}, {298, 70},  {0, 0},
};

// Searched first; a row here gives orientation flag 0.
const BidiTrayRow kPaperFirst[] = {
    {kNoPaper, 0}, {1, 23},   {3, 58},   {5, 21},   {6, 27},   {7, 25},   {512, 69}, {66, 72},
    {8, 5},        {9, 9},    {11, 13},  {269, 73}, {12, 7},   {13, 11},  {518, 75}, {14, 62},
    {28, 31},      {31, 33},  {37, 52},  {43, 34},  {82, 70},  {70, 17},  {88, 15},  {513, 28},
    {514, 60},     {20, 53},  {27, 32},  {517, 64}, {93, 66},  {kNoPaperEither, 1},   {449, 2},
    {267, 90},     {268, 91}, {270, 92}, {271, 93}, {538, 257}, {533, 258}, {529, 259}, {527, 260},
    {525, 261},    {536, 270}, {532, 271}, {528, 272}, {526, 273}, {541, 103}, {542, 104}, {544, 106},
    {545, 108},    {546, 110}, {547, 111}, {548, 112}, {552, 274}, {553, 275}, {554, 276}, {555, 277},
    {556, 278},    {557, 279}, {558, 280}, {559, 281}, {560, 282}, {561, 283}, {562, 284}, {0, 0},
};
// Searched only when the first has no row; gives orientation flag 1.
const BidiTrayRow kPaperSecond[] = {
    {kNoPaper, 0}, {1, 22},   {3, 57},   {5, 20},   {6, 26},   {7, 24},   {512, 56}, {268, 88},
    {66, 86},      {8, 4},    {9, 8},    {11, 12},  {271, 89}, {269, 87}, {12, 6},   {13, 10},
    {14, 61},      {28, 81},  {31, 82},  {37, 80},  {43, 78},  {82, 71},  {70, 16},  {88, 14},
    {514, 59},     {20, 79},  {27, 83},  {517, 63}, {93, 65},  {542, 105}, {544, 107}, {545, 109},
    {518, 74},     {kNoPaperEither, 1},  {449, 2},  {0, 0},
};

const BidiTrayRow kMedia[] = {
    {kNoMedia, 0}, {1, 1},     {2, 3},     {257, 6},   {258, 5},   {260, 2},   {262, 13},  {263, 4},
    {264, 9},      {265, 10},  {266, 11},  {267, 12},  {268, 14},  {269, 15},  {270, 16},  {271, 20},
    {513, 18},     {515, 19},  {272, 8},   {3, 21},    {264, 22},  {279, 23},  {274, 24},  {517, 25},
    {280, 26},     {281, 27},  {282, 28},  {283, 29},  {284, 30},  {285, 31},  {286, 32},  {287, 33},
    {288, 34},     {294, 7},   {293, 17},  {297, 39},  {291, 40},  {298, 41},  {276, 36},  {275, 37},
    {259, 38},     {302, 43},  {519, 44},  {299, 42},  {520, 45},
    // The run 100-115 maps to 1025-1040 (code + 925).
    {1025, 100},   {1026, 101}, {1027, 102}, {1028, 103}, {1029, 104}, {1030, 105}, {1031, 106},
    {1032, 107},   {1033, 108}, {1034, 109}, {1035, 110}, {1036, 111}, {1037, 112}, {1038, 113},
    {1039, 114},   {1040, 115}, {0, 0},
};

const DWORD kDefaultTrayOrder[] = {3, 4, 5, 6, 7, 8, 9, 11, 2, 1, 10, 12, 51, 52, 53, 54, 60, 61, 101};
constexpr DWORD kDefaultTrayOrderCount = sizeof(kDefaultTrayOrder) / sizeof(kDefaultTrayOrder[0]);
static_assert(kDefaultTrayOrderCount == 19, "the preference order holds 19 codes");

const BidiTrayRow* Choose(const BidiTrayRow* model, const BidiTrayRow* fallback) {
  return model[0].id == 0 && model[0].code == 0 ? fallback : model;
}

WORD TrayItem(DWORD code, WORD base) {
  int t = BidiTrayIndex(code);
  return t < 0 ? 0 : WORD(base + t);
}

}  // namespace

WORD BidiMapCode(DWORD code, const BidiTrayRow* table) {
  if (!table) return 0;
  for (const BidiTrayRow* row = table; row->id != 0; ++row)
    if (row->code == code) return row->id;
  return 0;
}

int BidiTrayIndex(DWORD code) {
  WORD field = BidiMapCode(code, Choose(kModelTrayIndex, kDefaultTrayIndex));
  if (field < kBidiTrayFieldBase || field > kBidiTrayFieldBase + 31) return -1;
  return field - kBidiTrayFieldBase;
}

WORD BidiMapTrayField(DWORD code) { return TrayItem(code, kBidiTrayFieldBase); }
WORD BidiMapTrayOrient(DWORD code) { return TrayItem(code, kBidiTrayOrientBase); }
WORD BidiMapTrayPaper(DWORD code) { return TrayItem(code, kBidiTrayPaperBase); }
WORD BidiMapTrayMedia(DWORD code) { return TrayItem(code, kBidiTrayMediaBase); }
WORD BidiMapTrayLock(DWORD code) { return TrayItem(code, kBidiTrayLockBase); }

WORD BidiMapTrayCode(DWORD code) { return BidiMapCode(code, Choose(kModelTrayValue, kDefaultTrayValue)); }

WORD BidiMapPaperCode(DWORD code, DWORD* orientation) {
  WORD value = BidiMapCode(code, kPaperFirst);
  DWORD flag = 0;
  if (!value) {
    value = BidiMapCode(code, kPaperSecond);
    flag = 1;
  }
  if (orientation) *orientation = flag;
  return value == kNoPaper || value == kNoPaperEither ? 0 : value;
}

WORD BidiMapMediaCode(DWORD code) {
  WORD value = BidiMapCode(code, kMedia);
  return value == kNoMedia ? 0 : value;
}

WORD BidiMapOptionCode(DWORD code) {
  for (const OptionCodeRow* row = TblGetOptionCodes(); row && row->item != 0; ++row)
    if (row->code == code) return WORD(row->item);
  return 0;
}

DWORD BidiPickPreferredTray(const DWORD* codes, DWORD count) {
  if (!codes) return 0;
  DWORD best = 0, bestPosition = kDefaultTrayOrderCount;
  for (DWORD i = 0; i < count; ++i) {
    if (codes[i] == 0) continue;
    for (DWORD p = 0; p < bestPosition; ++p) {
      if (kDefaultTrayOrder[p] == codes[i]) {
        best = codes[i];
        bestPosition = p;
        break;
      }
    }
  }
  return best;
}

const DWORD* BidiDefaultTrayOrder(DWORD* count) {
  if (count) *count = kDefaultTrayOrderCount;
  return kDefaultTrayOrder;
}
