// The device-font list: the four font resources copied into the PDEV pool at DrvEnablePDEV,
// the glyph sets loaded when the engine first asks for them, all freed at DrvDisablePDEV.
#include "gr2k/device_fonts.h"

#include <string.h>

#include "gr2k/font_resources.h"

namespace {

// The glyph-set table every list starts from. Rows 0 and 1 (horizontal and vertical
// Shift-JIS) share resource 2; rows 2 and 3 load resource 3 each; row 4 has no glyph set.
struct GlyphSetSource {
  const char* name;
  DWORD charset;
  int resourceId;  // 0: none
};
constexpr GlyphSetSource kGlyphSetTable[kGlyphSetRows] = {
    {"ROMA;J83;KATA", SHIFTJIS_CHARSET, 2},
    {"ROMA;J83V;KATA", SHIFTJIS_CHARSET, 2},
    {"IBML;IBM850", ANSI_CHARSET, 3},
    {"SYML;SYMR", SYMBOL_CHARSET, 3},
    {"DNGL;DNGR", SYMBOL_CHARSET, 0},
    {"", 0, 0},
};
constexpr DWORD kGlyphSetNamedRows = 4;  // the rows a font resource may name
constexpr DWORD kUnnamedGlyphSet = 2;

// A resource of the module copied into the pool after its check accepts it; null otherwise.
BYTE* CopyResource(GraphicsPdev* pdev, HMODULE module, int id, int type, ULONG (*check)(const BYTE*, ULONG)) {
  ULONG cb = 0;
  const BYTE* found = static_cast<const BYTE*>(EngFindResource(module, id, type, &cb));
  ULONG used = found ? check(found, cb) : 0;
  if (!used) return nullptr;
  BYTE* copy = static_cast<BYTE*>(PdevPoolAlloc(pdev->pool, used));
  if (copy) memcpy(copy, found, used);
  return copy;
}

}  // namespace

DeviceFontList* FontLoadDeviceFonts(GraphicsPdev* pdev, HMODULE module, ULONG* count) {
  *count = kDeviceFontCount;
  DeviceFontList* list = static_cast<DeviceFontList*>(PdevPoolAlloc(pdev->pool, sizeof(DeviceFontList)));
  if (!list) return nullptr;
  memset(list, 0, sizeof *list);
  list->count = kDeviceFontCount;
  list->module = module;
  for (int r = 0; r < kGlyphSetRows; ++r) list->glyphSets[r] = {kGlyphSetTable[r].name, kGlyphSetTable[r].charset, nullptr};
  for (ULONG i = 0; i < kDeviceFontCount; ++i) {
    BYTE* resource = CopyResource(pdev, module, int(i + 1), kFontResourceType, FontCheckResource);
    if (!resource) {
      // A partial list is never kept: the engine would list faces whose queries fail.
      for (ULONG j = 0; j < i; ++j) PdevPoolFree(pdev->pool, list->fonts[j].resource);
      PdevPoolFree(pdev->pool, list);
      return nullptr;
    }
    const char* name = FontResourceString(resource, kFontGlyphSetName);
    DWORD index = kUnnamedGlyphSet;
    for (DWORD r = 0; r < kGlyphSetNamedRows; ++r)
      if (strcmp(name, kGlyphSetTable[r].name) == 0) {
        index = r;
        break;
      }
    list->fonts[i] = {index, resource};
  }
  return list;
}

void FontFreeDeviceFonts(GraphicsPdev* pdev) {
  DeviceFontList* list = static_cast<DeviceFontList*>(pdev->deviceFonts);
  pdev->deviceFonts = nullptr;
  if (!list) return;
  for (int r = 0; r < kGlyphSetRows; ++r) {
    FD_GLYPHSET* set = list->glyphSets[r].glyphSet;
    bool sharedWithEarlier = false;
    for (int e = 0; e < r; ++e) sharedWithEarlier |= list->glyphSets[e].glyphSet == set;
    if (set && !sharedWithEarlier) PdevPoolFree(pdev->pool, set);
  }
  for (ULONG i = 0; i < kDeviceFontCount; ++i) PdevPoolFree(pdev->pool, list->fonts[i].resource);
  PdevPoolFree(pdev->pool, list);
}

FD_GLYPHSET* FontLoadGlyphSet(GraphicsPdev* pdev, HMODULE module, int id) {
  FD_GLYPHSET* set =
      reinterpret_cast<FD_GLYPHSET*>(CopyResource(pdev, module, id, kGlyphSetResourceType, FontCheckGlyphSet));
  if (!set) return nullptr;
  // The copy holds exactly what the runs use; its size says so for whoever copies it on.
  set->cjThis = ULONG(offsetof(FD_GLYPHSET, awcrun) + sizeof(WCRUN) * set->cRuns + sizeof(HGLYPH) * set->cGlyphsSupported);
  FontRebuildRuns(set);
  return set;
}

DeviceFontEntry* FontEntryOfFace(GraphicsPdev* pdev, ULONG face) {
  DeviceFontList* list = static_cast<DeviceFontList*>(pdev->deviceFonts);
  if (!list || face < 1 || face > list->count) return nullptr;
  return &list->fonts[face - 1];
}

FD_GLYPHSET* FontGlyphSetOfFace(GraphicsPdev* pdev, ULONG face) {
  DeviceFontEntry* entry = FontEntryOfFace(pdev, face);
  if (!entry) return nullptr;
  DeviceFontList* list = static_cast<DeviceFontList*>(pdev->deviceFonts);
  DWORD index = entry->glyphSetIndex;
  switch (index) {
    case 0:
    case 1: {
      GlyphSetRow& shared = list->glyphSets[0];
      if (!shared.glyphSet) shared.glyphSet = FontLoadGlyphSet(pdev, list->module, kGlyphSetTable[0].resourceId);
      if (index == 1) list->glyphSets[1].glyphSet = shared.glyphSet;
      return shared.glyphSet;
    }
    case 2:
    case 3: {
      GlyphSetRow& row = list->glyphSets[index];
      if (!row.glyphSet) row.glyphSet = FontLoadGlyphSet(pdev, list->module, kGlyphSetTable[index].resourceId);
      return row.glyphSet;
    }
  }
  return nullptr;
}
