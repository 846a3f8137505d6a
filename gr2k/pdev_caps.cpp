// GDI's view of the device: the GDIINFO and DEVINFO a PDEV answers, the halftone pattern
// size, the default fonts and palette, and the code page to character set table.
#include <string.h>

#include "gr2k/pdev.h"

namespace {

// Colorimetry of the device's dyes, as GDI's halftoning expects it (LDECI4 values).
const COLORINFO kDeviceColours = {
    {6380, 3350, 0}, {2345, 6075, 0}, {1410, 932, 0}, {2000, 2450, 0}, {5210, 2100, 0}, {4750, 5100, 0},
    {3127, 3290, 0}, 12500, 12500, 12500, 585, 120, 0, 0, 0, 10000,
};

// Code page, character set.
const WORD kCodePageCharsets[][2] = {
    {1252, ANSI_CHARSET},    {932, SHIFTJIS_CHARSET},    {949, HANGEUL_CHARSET}, {1361, JOHAB_CHARSET},
    {936, GB2312_CHARSET},   {950, CHINESEBIG5_CHARSET}, {1255, HEBREW_CHARSET}, {1256, ARABIC_CHARSET},
    {1253, GREEK_CHARSET},   {1254, TURKISH_CHARSET},    {1257, BALTIC_CHARSET}, {1250, EASTEUROPE_CHARSET},
    {1251, RUSSIAN_CHARSET}, {874, THAI_CHARSET},
};

// Dither cell sizes by halftone pattern size index 0-15.
const USHORT kDitherCells[16] = {2, 2, 4, 4, 6, 6, 8, 8, 10, 10, 12, 12, 14, 14, 16, 16};

// The monochrome raster job and the 1-bpp vector job draw in black and white.
bool OneBitOutput(const GraphicsPdev* pdev) {
  if (pdev->rasterMode) return PdevIsMonochrome(pdev);
  return pdev->oneBppSurface && PdevIsMonochrome(pdev);
}

void FillColourDepth(const GraphicsPdev* pdev, GDIINFO* gdi) {
  ULONG bits = 8, planes = 3, colours = 0xFFFFFF, paletteEntries = 0;
  if (pdev->rasterMode) {
    if (PdevIsMonochrome(pdev)) bits = 1, planes = 1, colours = 2;
  } else if (pdev->colourProcess == 1) {
    bits = 1, planes = 1, colours = pdev->colour == 2 ? 8 : 2;
    if (pdev->colour == 2) paletteEntries = 20;
  } else if (pdev->colourProcess == 2) {
    bits = 24, planes = 1, colours = 0xFFFFFF;
  }
  gdi->cBitsPixel = bits;
  gdi->cPlanes = planes;
  gdi->ulNumColors = colours;
  gdi->ulNumPalReg = paletteEntries ? paletteEntries : colours;
}

// The three LOGFONTs of DEVINFO: the 10.5-point device face in vector mode with the default-font
// switch and the first language, else zero.
void FillFonts(const GraphicsPdev* pdev, DEVINFO* info) {
  LOGFONTW font = {};
  if (!pdev->rasterMode && pdev->languageSwitch == 0 && pdev->defaultFontSwitch) {
    LONG r = pdev->resolution;
    font.lfHeight = (r * 10 + r / 2) / 72;
    font.lfWidth = font.lfHeight / 2;
    font.lfWeight = 400;
    font.lfOutPrecision = OUT_STRING_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfPitchAndFamily = FIXED_PITCH | FF_ROMAN;
    font.lfFaceName[0] = 0x660E;  // the device's Mincho face
    font.lfFaceName[1] = 0x671D;
  }
  info->lfDefaultFont = info->lfAnsiVarFont = info->lfAnsiFixFont = font;
  WORD pair[2] = {0, ANSI_CHARSET};
  if (!PdevCharsetFromCodePage(PdevCurrentCodePage(), pair, kCharsetByCodePage)) pair[1] = ANSI_CHARSET;
  info->lfDefaultFont.lfCharSet = BYTE(pair[1]);
  info->lfAnsiVarFont.lfCharSet = ANSI_CHARSET;
  info->lfAnsiFixFont.lfCharSet = ANSI_CHARSET;
}

}  // namespace

BOOL PdevIsMonochrome(const GraphicsPdev* pdev) { return pdev->colourProcess == 1 && pdev->colour == 1; }

ULONG PdevHalftonePattern(ULONG resolutionX, ULONG resolutionY, BOOL plain) {
  ULONG r = resolutionX < resolutionY ? resolutionX : resolutionY;
  ULONG size = r >= 2400 ? 15 : r >= 1800 ? 13 : r >= 1200 ? 11 : r >= 900 ? 9 : r >= 400 ? 7 : r < 180 ? 3 : 5;
  return plain ? size - 2 : size;
}

int PdevCharsetFromCodePage(WORD value, WORD pair[2], int direction) {
  for (const auto& row : kCodePageCharsets) {
    WORD key = direction == kCharsetByCharset ? row[1] : row[0];
    if ((direction == kCharsetByCharset || direction == kCharsetByCodePage) && key == value) {
      pair[0] = row[0];
      pair[1] = row[1];
      return 1;
    }
  }
  return 0;
}

WORD PdevCurrentCodePage() { return WORD(GetACP()); }

BOOL PdevFillGdiInfo(GraphicsPdev* pdev, ULONG cbGdiInfo, ULONG* gdiInfo, GDIINFO* full) {
  GDIINFO gdi = {};
  const PdevPaperMetricsRecord& m = pdev->paper;
  LONG r = pdev->resolution;
  gdi.ulVersion = GDIINFO_VERSION_NT5;
  gdi.ulTechnology = DT_RASPRINTER;
  if (pdev->printAreaKind == 2) {
    gdi.ulHorzSize = ULONG(m.printableWidthTenthMm / 10);
    gdi.ulVertSize = ULONG(m.printableLengthTenthMm / 10);
  } else {
    // Negative: micrometres, for the finer mapping modes.
    gdi.ulHorzSize = ULONG(-(m.printableWidthTenthMm * 100));
    gdi.ulVertSize = ULONG(-(m.printableLengthTenthMm * 100));
  }
  gdi.ulHorzRes = ULONG(m.printableWidthDots);
  gdi.ulVertRes = ULONG(m.printableLengthDots);
  pdev->bandSurfaceSize.cx = m.printableWidthDots;
  pdev->bandSurfaceSize.cy = m.printableLengthDots;
  FillColourDepth(pdev, &gdi);
  gdi.flRaster = 0;
  gdi.ulLogPixelsX = gdi.ulLogPixelsY = ULONG(r);
  gdi.flTextCaps =
      TC_OP_CHARACTER | TC_OP_STROKE | TC_CP_STROKE | TC_CR_90 | TC_CR_ANY | TC_UA_ABLE | TC_SO_ABLE | TC_VA_ABLE;
  gdi.ulAspectX = gdi.ulAspectY = ULONG(r);
  gdi.ulAspectXY = ULONG(r * 1414 / 1000);
  gdi.xStyleStep = gdi.yStyleStep = 1;
  gdi.denStyleStep = r / 25;
  gdi.ptlPhysOffset.x = m.offsetXDots;
  gdi.ptlPhysOffset.y = m.offsetYDots;
  gdi.szlPhysSize.cx = m.paperWidthDots;
  gdi.szlPhysSize.cy = m.paperLengthDots;
  gdi.ciDevice = kDeviceColours;
  gdi.ulPrimaryOrder = PRIMARY_ORDER_CBA;
  ULONG pattern = PdevHalftonePattern(ULONG(r), ULONG(r), FALSE);
  gdi.ulHTPatternSize = pattern > 15 ? 5 : pattern;
  gdi.ulHTOutputFormat = OneBitOutput(pdev) ? HT_FORMAT_1BPP : HT_FORMAT_24BPP;
  gdi.flHTFlags = HT_FLAG_HAS_BLACK_DYE;
  if (full) *full = gdi;
  // GDI's buffer may be older and smaller: never more than it asked for.
  if (gdiInfo) memcpy(gdiInfo, &gdi, cbGdiInfo < sizeof gdi ? cbGdiInfo : sizeof gdi);
  return TRUE;
}

BOOL PdevFillDevInfo(GraphicsPdev* pdev, const GDIINFO* gdi, ULONG cbDevInfo, DEVINFO* devInfo) {
  DEVINFO info = {};
  info.flGraphicsCaps =
      pdev->rasterMode ? GCAPS_HALFTONE | GCAPS_COLOR_DITHER | GCAPS_MONO_DITHER
                       : GCAPS_BEZIERS | GCAPS_GEOMETRICWIDE | GCAPS_ALTERNATEFILL | GCAPS_WINDINGFILL | GCAPS_HALFTONE;
  if (!pdev->emfSpooling || pdev->forceRaw) info.flGraphicsCaps |= GCAPS_DONTJOURNAL;
  if (pdev->colour == 2 && pdev->icmSwitches[0] == 1 && pdev->icmSwitches[1] == 1) info.flGraphicsCaps |= GCAPS_ICM;
  FillFonts(pdev, &info);

  if (pdev->palette) EngDeletePalette(pdev->palette);
  pdev->palette = nullptr;
  if (pdev->rasterMode && PdevIsMonochrome(pdev)) {
    ULONG blackFirst[2] = {0x000000, 0xFFFFFF};
    pdev->palette = EngCreatePalette(PAL_INDEXED, 2, blackFirst, 0, 0, 0);
    info.iDitherFormat = BMF_1BPP;
    ULONG p = gdi->ulHTPatternSize < 16 ? gdi->ulHTPatternSize : 15;
    info.cxDither = info.cyDither = kDitherCells[p];
    info.flGraphicsCaps |= GCAPS_FORCEDITHER;
  } else {
    pdev->palette = EngCreatePalette(PAL_BGR, 0, nullptr, 0, 0, 0);
    info.iDitherFormat = BMF_24BPP;
  }
  if (!pdev->palette) return FALSE;
  info.hpalDefault = pdev->palette;
  info.cFonts = pdev->deviceFontCount;
  if (devInfo) memcpy(devInfo, &info, cbDevInfo < sizeof info ? cbDevInfo : sizeof info);
  return TRUE;
}
