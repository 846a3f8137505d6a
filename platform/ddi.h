// The device-driver interface between the graphics engine and a printer graphics DLL: the
// records both sides exchange, the driver's entry points and the engine services it calls.
// Our own declarations for both builds, written from the public DDI documentation; included
// only by the graphics DLL, the engine stand-in and their tests. 32-bit layouts throughout.
#pragma once
#include <stddef.h>

#include "platform/win32.h"

#ifdef _WIN32
#define ZEMS_ENGINE_API extern "C" __declspec(dllimport)
#else
#define ZEMS_ENGINE_API WINSIM_API
#endif

// ---- base types the SDK's GDI headers give on Windows ----
#ifndef _WIN32
typedef SIZE SIZEL, *PSIZEL;
struct tagLOGCOLORSPACEW;
typedef struct tagLOGCOLORSPACEW* LPLOGCOLORSPACEW;
typedef struct tagCOLORADJUSTMENT {
  WORD caSize;
  WORD caFlags;
  WORD caIlluminantIndex;
  WORD caRedGamma;
  WORD caGreenGamma;
  WORD caBlueGamma;
  WORD caReferenceBlack;
  WORD caReferenceWhite;
  SHORT caContrast;
  SHORT caBrightness;
  SHORT caColorfulness;
  SHORT caRedGreenTint;
} COLORADJUSTMENT;
#define DT_RASPRINTER 2
#define TC_OP_CHARACTER 0x0001
#define TC_OP_STROKE 0x0002
#define TC_CP_STROKE 0x0004
#define TC_CR_90 0x0008
#define TC_CR_ANY 0x0010
#define TC_SO_ABLE 0x1000
#define TC_UA_ABLE 0x0800
#define TC_VA_ABLE 0x4000
#define OUT_STRING_PRECIS 1
#define CLIP_STROKE_PRECIS 2
#define FIXED_PITCH 1
#define FF_ROMAN 0x10
#endif

typedef ULONG FLONG;
typedef ULONG MIX;
typedef ULONG ROP4;
typedef LONG FIX;
typedef FLOAT FLOATL;
typedef ULONG HGLYPH;
typedef LONG LDECI4;
typedef LONG_PTR(WINAPI* PFN)();
// Function pointers travel through the table as PFN: the cast goes through the one pointer
// type every function type converts to without a warning.
template <class To, class From>
inline To DdiFunctionCast(From f) {
  return reinterpret_cast<To>(reinterpret_cast<void (*)(void)>(f));
}
DECLARE_HANDLE(HSURF);
DECLARE_HANDLE(DHSURF);
DECLARE_HANDLE(DHPDEV);
DECLARE_HANDLE(HDEV);
typedef HSURF HBM_ENGINE;

// ---- driver enabling ----
typedef struct _DRVFN {
  ULONG iFunc;
  PFN pfn;
} DRVFN, *PDRVFN;

typedef struct _DRVENABLEDATA {
  ULONG iDriverVersion;
  ULONG c;
  DRVFN* pdrvfn;
} DRVENABLEDATA, *PDRVENABLEDATA;

#define DDI_DRIVER_VERSION_NT5 0x20000
#define DDI_DRIVER_VERSION_NT5_01 0x30000
#define DRVQUERY_USERMODE 1
#define DDI_ERROR 0xFFFFFFFFu

// DDI function indices of the table.
enum : ULONG {
  INDEX_DrvEnablePDEV = 0,
  INDEX_DrvCompletePDEV = 1,
  INDEX_DrvDisablePDEV = 2,
  INDEX_DrvEnableSurface = 3,
  INDEX_DrvDisableSurface = 4,
  INDEX_DrvResetPDEV = 7,
  INDEX_DrvRealizeBrush = 12,
  INDEX_DrvDitherColor = 13,
  INDEX_DrvStrokePath = 14,
  INDEX_DrvFillPath = 15,
  INDEX_DrvStrokeAndFillPath = 16,
  INDEX_DrvBitBlt = 18,
  INDEX_DrvCopyBits = 19,
  INDEX_DrvStretchBlt = 20,
  INDEX_DrvTextOut = 23,
  INDEX_DrvEscape = 24,
  INDEX_DrvQueryFont = 26,
  INDEX_DrvQueryFontTree = 27,
  INDEX_DrvQueryFontData = 28,
  INDEX_DrvSendPage = 32,
  INDEX_DrvStartPage = 33,
  INDEX_DrvEndDoc = 34,
  INDEX_DrvStartDoc = 35,
  INDEX_DrvGetGlyphMode = 37,
  INDEX_DrvQueryAdvanceWidths = 53,
  INDEX_DrvStartBanding = 57,
  INDEX_DrvNextBand = 58,
  INDEX_DrvIcmCreateColorTransform = 64,
  INDEX_DrvIcmDeleteColorTransform = 65,
  INDEX_DrvStretchBltROP = 69,
  INDEX_LAST = 89,
};

// ---- device capabilities ----
typedef struct _CIECHROMA {
  LDECI4 x;
  LDECI4 y;
  LDECI4 Y;
} CIECHROMA;

typedef struct _COLORINFO {
  CIECHROMA Red;
  CIECHROMA Green;
  CIECHROMA Blue;
  CIECHROMA Cyan;
  CIECHROMA Magenta;
  CIECHROMA Yellow;
  CIECHROMA AlignmentWhite;
  LDECI4 MagentaInCyanDye;
  LDECI4 YellowInCyanDye;
  LDECI4 CyanInMagentaDye;
  LDECI4 YellowInMagentaDye;
  LDECI4 CyanInYellowDye;
  LDECI4 MagentaInYellowDye;
  LDECI4 RedGamma;
  LDECI4 GreenGamma;
  LDECI4 BlueGamma;
} COLORINFO;

typedef struct _GDIINFO {
  ULONG ulVersion;
  ULONG ulTechnology;
  ULONG ulHorzSize;
  ULONG ulVertSize;
  ULONG ulHorzRes;
  ULONG ulVertRes;
  ULONG cBitsPixel;
  ULONG cPlanes;
  ULONG ulNumColors;
  ULONG flRaster;
  ULONG ulLogPixelsX;
  ULONG ulLogPixelsY;
  ULONG flTextCaps;
  ULONG ulDACRed;
  ULONG ulDACGreen;
  ULONG ulDACBlue;
  ULONG ulAspectX;
  ULONG ulAspectY;
  ULONG ulAspectXY;
  LONG xStyleStep;
  LONG yStyleStep;
  LONG denStyleStep;
  POINTL ptlPhysOffset;
  SIZEL szlPhysSize;
  ULONG ulNumPalReg;
  COLORINFO ciDevice;
  ULONG ulDevicePelsDPI;
  ULONG ulPrimaryOrder;
  ULONG ulHTPatternSize;
  ULONG ulHTOutputFormat;
  ULONG flHTFlags;
  ULONG ulVRefresh;
  ULONG ulBltAlignment;
  ULONG ulPanningHorzRes;
  ULONG ulPanningVertRes;
  ULONG xPanningAlignment;
  ULONG yPanningAlignment;
  ULONG cxHTPat;
  ULONG cyHTPat;
  LPBYTE pHTPatA;
  LPBYTE pHTPatB;
  LPBYTE pHTPatC;
  ULONG flShadeBlend;
  ULONG ulPhysicalPixelCharacteristics;
  ULONG ulPhysicalPixelGamma;
} GDIINFO, *PGDIINFO;

typedef struct _DEVINFO {
  FLONG flGraphicsCaps;
  LOGFONTW lfDefaultFont;
  LOGFONTW lfAnsiVarFont;
  LOGFONTW lfAnsiFixFont;
  ULONG cFonts;
  ULONG iDitherFormat;
  USHORT cxDither;
  USHORT cyDither;
  HPALETTE hpalDefault;
  FLONG flGraphicsCaps2;
} DEVINFO, *PDEVINFO;

#define GDIINFO_VERSION_NT5 0x500
#define PRIMARY_ORDER_CBA 4
#define HT_FORMAT_1BPP 0
#define HT_FORMAT_24BPP 6
#define HT_FLAG_HAS_BLACK_DYE 0x00000002
#define GCAPS_BEZIERS 0x00000001
#define GCAPS_GEOMETRICWIDE 0x00000002
#define GCAPS_ALTERNATEFILL 0x00000004
#define GCAPS_WINDINGFILL 0x00000008
#define GCAPS_HALFTONE 0x00000010
#define GCAPS_COLOR_DITHER 0x00000020
#define GCAPS_MONO_DITHER 0x00000400
#define GCAPS_DONTJOURNAL 0x00002000
#define GCAPS_FORCEDITHER 0x00800000
#define GCAPS_ICM 0x02000000

// ---- surfaces ----
typedef struct _SURFOBJ {
  DHSURF dhsurf;
  HSURF hsurf;
  DHPDEV dhpdev;
  HDEV hdev;
  SIZEL sizlBitmap;
  ULONG cjBits;
  PVOID pvBits;
  PVOID pvScan0;
  LONG lDelta;
  ULONG iUniq;
  ULONG iBitmapFormat;
  USHORT iType;
  USHORT fjBitmap;
} SURFOBJ;

#define BMF_1BPP 1
#define BMF_4BPP 2
#define BMF_8BPP 3
#define BMF_16BPP 4
#define BMF_24BPP 5
#define BMF_32BPP 6
#define BMF_TOPDOWN 0x0001
#define BMF_NOZEROINIT 0x0002
#define BMF_DONTCACHE 0x0004
#define STYPE_BITMAP 0
#define STYPE_DEVICE 1
#define STYPE_DEVBITMAP 3
#define HOOK_BITBLT 0x00000001
#define HOOK_STRETCHBLT 0x00000002
#define HOOK_TEXTOUT 0x00000008
#define HOOK_STROKEPATH 0x00000020
#define HOOK_FILLPATH 0x00000040
#define HOOK_STROKEANDFILLPATH 0x00000080
#define HOOK_COPYBITS 0x00000400
#define HOOK_STRETCHBLTROP 0x00002000

// ---- drawing objects ----
typedef struct _CLIPOBJ {
  ULONG iUniq;
  RECTL rclBounds;
  BYTE iDComplexity;
  BYTE iFComplexity;
  BYTE iMode;
  BYTE fjOptions;
} CLIPOBJ;

#define DC_TRIVIAL 0
#define DC_RECT 1
#define DC_COMPLEX 3
#define FC_RECT 1
#define FC_RECT4 2
#define FC_COMPLEX 3
#define TC_RECTANGLES 0
#define CT_RECTANGLES 0
#define CD_ANY 4

typedef struct _BRUSHOBJ {
  ULONG iSolidColor;
  PVOID pvRbrush;
  FLONG flColorType;
} BRUSHOBJ;

typedef struct _XLATEOBJ {
  ULONG iUniq;
  FLONG flXlate;
  USHORT iSrcType;
  USHORT iDstType;
  ULONG cEntries;
  ULONG* pulXlate;
} XLATEOBJ;

typedef struct _PATHOBJ {
  FLONG fl;
  ULONG cCurves;
} PATHOBJ;

typedef struct _XFORMOBJ {
  ULONG ulReserved;
} XFORMOBJ;

typedef struct _FONTOBJ {
  ULONG iUniq;
  ULONG iFace;
  ULONG cxMax;
  FLONG flFontType;
  ULONG_PTR iTTUniq;
  ULONG_PTR iFile;
  SIZE sizLogResPpi;
  ULONG ulStyleSize;
  PVOID pvConsumer;
  PVOID pvProducer;
} FONTOBJ;

typedef struct _GLYPHPOS GLYPHPOS;
typedef struct _STROBJ {
  ULONG cGlyphs;
  FLONG flAccel;
  ULONG ulCharInc;
  RECTL rclBkGround;
  GLYPHPOS* pgp;
  LPWSTR pwszOrg;
} STROBJ;

typedef union _FLOAT_LONG {
  FLOATL e;
  LONG l;
} FLOAT_LONG;

typedef struct _LINEATTRS {
  FLONG fl;
  ULONG iJoin;
  ULONG iEndCap;
  FLOAT_LONG elWidth;
  FLOATL eMiterLimit;
  ULONG cstyle;
  FLOAT_LONG* pstyle;
  FLOAT_LONG elStyleState;
} LINEATTRS;

// Paths in 28.4 fixed point, their enumeration, and the clip's rectangles.
typedef struct _POINTFIX {
  FIX x;
  FIX y;
} POINTFIX;
typedef struct _RECTFX {
  FIX xLeft;
  FIX yTop;
  FIX xRight;
  FIX yBottom;
} RECTFX, *PRECTFX;
typedef struct _PATHDATA {
  FLONG flags;
  ULONG count;
  POINTFIX* pptfx;
} PATHDATA;
#define PD_BEGINSUBPATH 0x00000001
#define PD_ENDSUBPATH 0x00000002
#define PD_RESETSTYLE 0x00000004
#define PD_CLOSEFIGURE 0x00000008
#define PD_BEZIERS 0x00000010
#define PO_BEZIERS 0x00000001
typedef struct _ENUMRECTS {
  ULONG c;
  RECTL arcl[1];
} ENUMRECTS;
#define CD_RIGHTDOWN 0
#define CT_ANY 0
typedef struct _XFORML {
  FLOATL eM11;
  FLOATL eM12;
  FLOATL eM21;
  FLOATL eM22;
  FLOATL eDx;
  FLOATL eDy;
} XFORML;
#define GX_IDENTITY 0
#define GX_OFFSET 1
#define GX_SCALE 2
#define GX_GENERAL 3
// Line attributes, fills, hatches and brush colour types.
#define LA_GEOMETRIC 0x00000001
#define LA_ALTERNATE 0x00000002
#define LA_STARTGAP 0x00000004
#define LA_STYLED 0x00000008
#define JOIN_ROUND 0
#define JOIN_BEVEL 1
#define JOIN_MITER 2
#define ENDCAP_ROUND 0
#define ENDCAP_SQUARE 1
#define ENDCAP_BUTT 2
#define FP_ALTERNATEMODE 1
#define FP_WINDINGMODE 2
#define HS_DDI_MAX 6
#define BR_DEVICE_ICM 0x00000001
#define BR_HOST_ICM 0x00000002
#ifndef _WIN32
#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5
#define R2_BLACK 1
#define R2_NOP 11
#define R2_COPYPEN 13
#define R2_WHITE 16
#define HALFTONE 4
#define COLORONCOLOR 3
#endif

// ---- fonts (the font Parts fill these; their sizes are pinned here) ----
typedef struct _POINTE {
  FLOATL x;
  FLOATL y;
} POINTE;

typedef struct _FD_XFORM {
  FLOATL eXX;
  FLOATL eXY;
  FLOATL eYX;
  FLOATL eYY;
} FD_XFORM;

typedef struct _FD_DEVICEMETRICS {
  FLONG flRealizedType;
  POINTE pteBase;
  POINTE pteSide;
  LONG lD;
  FIX fxMaxAscender;
  FIX fxMaxDescender;
  POINTL ptlUnderline1;
  POINTL ptlStrikeOut;
  POINTL ptlULThickness;
  POINTL ptlSOThickness;
  ULONG cxMax;
  ULONG cyMax;
  ULONG cjGlyphMax;
  FD_XFORM fdxQuantized;
  LONG lNonLinearExtLeading;
  LONG lNonLinearIntLeading;
  LONG lNonLinearMaxCharInc;
  LONG lNonLinearAvgCharWidth;
  LONG lMinA;
  LONG lMinC;
  LONG lMinD;
  LONG alReserved[1];
} FD_DEVICEMETRICS;

typedef struct _WCRUN {
  WCHAR wcLow;
  USHORT cGlyphs;
  HGLYPH* phg;
} WCRUN;

typedef SHORT FWORD;
typedef LONG_PTR PTRDIFF;

#ifndef _WIN32  // wingdi.h has it on Windows
typedef struct _PANOSE {
  BYTE bFamilyType;
  BYTE bSerifStyle;
  BYTE bWeight;
  BYTE bProportion;
  BYTE bContrast;
  BYTE bStrokeVariation;
  BYTE bArmStyle;
  BYTE bLetterform;
  BYTE bMidline;
  BYTE bXHeight;
} PANOSE;
#endif

// A font's metrics as a driver describes it to the engine; the names follow the record at
// the dpwsz offsets (from the record's start), cjThis bytes in all.
typedef struct _IFIMETRICS {
  ULONG cjThis;
  ULONG cjIfiExtra;
  PTRDIFF dpwszFamilyName;
  PTRDIFF dpwszStyleName;
  PTRDIFF dpwszFaceName;
  PTRDIFF dpwszUniqueName;
  PTRDIFF dpFontSim;
  LONG lEmbedId;
  LONG lItalicAngle;
  LONG lCharBias;
  PTRDIFF dpCharSets;
  BYTE jWinCharSet;
  BYTE jWinPitchAndFamily;
  USHORT usWinWeight;
  ULONG flInfo;
  USHORT fsSelection;
  USHORT fsType;
  FWORD fwdUnitsPerEm;
  FWORD fwdLowestPPEm;
  FWORD fwdWinAscender;
  FWORD fwdWinDescender;
  FWORD fwdMacAscender;
  FWORD fwdMacDescender;
  FWORD fwdMacLineGap;
  FWORD fwdTypoAscender;
  FWORD fwdTypoDescender;
  FWORD fwdTypoLineGap;
  FWORD fwdAveCharWidth;
  FWORD fwdMaxCharInc;
  FWORD fwdCapHeight;
  FWORD fwdXHeight;
  FWORD fwdSubscriptXSize;
  FWORD fwdSubscriptYSize;
  FWORD fwdSubscriptXOffset;
  FWORD fwdSubscriptYOffset;
  FWORD fwdSuperscriptXSize;
  FWORD fwdSuperscriptYSize;
  FWORD fwdSuperscriptXOffset;
  FWORD fwdSuperscriptYOffset;
  FWORD fwdUnderscoreSize;
  FWORD fwdUnderscorePosition;
  FWORD fwdStrikeoutSize;
  FWORD fwdStrikeoutPosition;
  BYTE chFirstChar;
  BYTE chLastChar;
  BYTE chDefaultChar;
  BYTE chBreakChar;
  WCHAR wcFirstChar;
  WCHAR wcLastChar;
  WCHAR wcDefaultChar;
  WCHAR wcBreakChar;
  POINTL ptlBaseline;
  POINTL ptlAspect;
  POINTL ptlCaret;
  RECTL rclFontBox;
  BYTE achVendId[4];
  ULONG cKerningPairs;
  ULONG ulPanoseCulture;
  PANOSE panose;
} IFIMETRICS;

// A glyph set: Unicode runs, each with its glyph handles.
typedef struct _FD_GLYPHSET {
  ULONG cjThis;
  FLONG flAccel;
  ULONG cGlyphsSupported;
  ULONG cRuns;
  WCRUN awcrun[1];
} FD_GLYPHSET;

typedef struct _FD_KERNINGPAIR {
  WCHAR wcFirst;
  WCHAR wcSecond;
  FWORD fwdKern;
} FD_KERNINGPAIR;

// 32.32 fixed point: LowPart the fraction, HighPart the whole number. Both builds align the
// 64-bit halves on 8 bytes, as the Windows compilers do.
typedef struct _POINTQF {
  alignas(8) LARGE_INTEGER x;
  alignas(8) LARGE_INTEGER y;
} POINTQF;

typedef struct _GLYPHBITS GLYPHBITS;
typedef union _GLYPHDEF {
  GLYPHBITS* pgb;
  PATHOBJ* ppo;
} GLYPHDEF;

typedef struct _GLYPHDATA {
  GLYPHDEF gdf;
  HGLYPH hg;
  FIX fxD;
  FIX fxA;
  FIX fxAB;
  FIX fxInkTop;
  FIX fxInkBottom;
  RECTL rclInk;
  POINTQF ptqD;
} GLYPHDATA;

struct _GLYPHPOS {
  HGLYPH hg;
  GLYPHDEF* pgdf;
  POINTL ptl;
};

#define FO_GLYPHBITS 1
#define FO_PATHOBJ 2
#define FO_SIM_BOLD 0x00002000
#define FO_SIM_ITALIC 0x00004000
#define SO_FLAG_DEFAULT_PLACEMENT 0x00000001
#define SO_HORIZONTAL 0x00000002
#define SO_VERTICAL 0x00000004
#define SO_REVERSED 0x00000008
#define SO_GLYPHINDEX_TEXTOUT 0x00000100

// A glyph's 1-bpp image: its corner relative to the character origin, its size and the rows
// (each padded to a whole byte, bit 7 leftmost).
struct _GLYPHBITS {
  POINTL ptlOrigin;
  SIZEL sizlBitmap;
  BYTE aj[1];
};
#define FD_ERROR 0xFFFFFFFFu
#define QFT_LIGATURES 1
#define QFT_KERNPAIRS 2
#define QFT_GLYPHSET 3
#define QFD_GLYPHANDBITMAP 1
#define QFD_GLYPHANDOUTLINE 2
#define QFD_MAXEXTENTS 3
#define QAW_GETWIDTHS 0
#define QAW_GETEASYWIDTHS 1
#define XF_LTOL 0
#define XF_INV_LTOL 1
#define XF_LTOFX 2
#define XF_INV_FXTOL 3
#define FM_INFO_CONSTANT_WIDTH 0x00001000
#define FM_INFO_DBCS_FIXED_PITCH 0x10000000
#define GS_16BIT_HANDLES 0x00000002
#define GS_8BIT_HANDLES 0x00000004
#define DCR_HALFTONE 2

// ---- palettes ----
#define PAL_INDEXED 0x00000001
#define PAL_RGB 0x00000004
#define PAL_BGR 0x00000008
#define XO_TRIVIAL 0x00000001
#define XO_TABLE 0x00000002
#define XO_TO_MONO 0x00000004
#define XO_DEVICE_ICM 0x00000010
#define XO_HOST_ICM 0x00000020

static_assert(sizeof(DRVENABLEDATA) == 12, "DRVENABLEDATA layout");
static_assert(sizeof(DRVFN) == 8, "DRVFN layout");
static_assert(sizeof(COLORINFO) == 120, "COLORINFO layout");
static_assert(sizeof(COLORADJUSTMENT) == 24, "COLORADJUSTMENT layout");
static_assert(sizeof(GDIINFO) == 304, "GDIINFO layout");
static_assert(offsetof(GDIINFO, ciDevice) == 108, "GDIINFO colour info offset");
static_assert(offsetof(GDIINFO, ulHTPatternSize) == 236, "GDIINFO halftone pattern offset");
static_assert(sizeof(DEVINFO) == 300, "DEVINFO layout");
static_assert(offsetof(DEVINFO, cFonts) == 280, "DEVINFO font count offset");
static_assert(offsetof(DEVINFO, hpalDefault) == 292, "DEVINFO palette offset");
static_assert(sizeof(FD_DEVICEMETRICS) == 124, "FD_DEVICEMETRICS layout");
static_assert(sizeof(WCRUN) == 8, "WCRUN layout");
static_assert(sizeof(IFIMETRICS) == 184, "IFIMETRICS layout");
static_assert(offsetof(IFIMETRICS, jWinCharSet) == 44, "IFIMETRICS charset offset");
static_assert(offsetof(IFIMETRICS, fwdUnitsPerEm) == 56, "IFIMETRICS units offset");
static_assert(offsetof(IFIMETRICS, rclFontBox) == 144, "IFIMETRICS font box offset");
static_assert(sizeof(FD_GLYPHSET) == 24, "FD_GLYPHSET layout");
static_assert(sizeof(FD_KERNINGPAIR) == 6, "FD_KERNINGPAIR layout");
static_assert(sizeof(GLYPHDATA) == 64, "GLYPHDATA layout");
static_assert(offsetof(GLYPHDATA, ptqD) == 48, "GLYPHDATA advance offset");
static_assert(sizeof(XFORML) == 24, "XFORML layout");
static_assert(sizeof(GLYPHPOS) == 16, "GLYPHPOS layout");
static_assert(sizeof(SURFOBJ) == 52, "SURFOBJ layout");
static_assert(sizeof(CLIPOBJ) == 24, "CLIPOBJ layout");
static_assert(sizeof(LINEATTRS) == 32, "LINEATTRS layout");
static_assert(sizeof(PATHDATA) == 12, "PATHDATA layout");
static_assert(sizeof(ENUMRECTS) == 20, "ENUMRECTS layout");
static_assert(sizeof(XFORML) == 24, "XFORML layout");

// ---- the graphics DLL's exports (all of them stdcall) ----
typedef BOOL(WINAPI* PFN_DrvQueryDriverInfo)(DWORD mode, PVOID buffer, DWORD cbBuffer, PDWORD cbNeeded);
typedef BOOL(WINAPI* PFN_DrvEnableDriver)(ULONG engineVersion, ULONG cbData, DRVENABLEDATA* data);
typedef VOID(WINAPI* PFN_DrvDisableDriver)(VOID);
typedef DHPDEV(WINAPI* PFN_DrvEnablePDEV)(DEVMODEW* dm, LPWSTR logAddress, ULONG cPatterns, HSURF* patterns,
                                          ULONG cbGdiInfo, ULONG* gdiInfo, ULONG cbDevInfo, DEVINFO* devInfo,
                                          HDEV hdev, LPWSTR deviceName, HANDLE printer);
typedef VOID(WINAPI* PFN_DrvCompletePDEV)(DHPDEV pdev, HDEV hdev);
typedef VOID(WINAPI* PFN_DrvDisablePDEV)(DHPDEV pdev);
typedef BOOL(WINAPI* PFN_DrvResetPDEV)(DHPDEV oldPdev, DHPDEV newPdev);
typedef HSURF(WINAPI* PFN_DrvEnableSurface)(DHPDEV pdev);
typedef VOID(WINAPI* PFN_DrvDisableSurface)(DHPDEV pdev);
typedef BOOL(WINAPI* PFN_DrvStartPage)(SURFOBJ* so);
typedef BOOL(WINAPI* PFN_DrvSendPage)(SURFOBJ* so);
typedef BOOL(WINAPI* PFN_DrvStartDoc)(SURFOBJ* so, LPWSTR docName, DWORD jobId);
typedef BOOL(WINAPI* PFN_DrvEndDoc)(SURFOBJ* so, FLONG fl);
typedef BOOL(WINAPI* PFN_DrvStartBanding)(SURFOBJ* so, POINTL* origin);
typedef BOOL(WINAPI* PFN_DrvNextBand)(SURFOBJ* so, POINTL* origin);
typedef BOOL(WINAPI* PFN_DrvBitBlt)(SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                                    RECTL* rclTrg, POINTL* ptlSrc, POINTL* ptlMask, BRUSHOBJ* brush,
                                    POINTL* ptlBrush, ROP4 rop4);
typedef BOOL(WINAPI* PFN_DrvStretchBlt)(SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip,
                                        XLATEOBJ* xlate, COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst,
                                        RECTL* rclSrc, POINTL* ptlMask, ULONG mode);
typedef BOOL(WINAPI* PFN_DrvStrokePath)(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform,
                                        BRUSHOBJ* brush, POINTL* ptlBrush, LINEATTRS* la, MIX mix);
typedef BOOL(WINAPI* PFN_DrvFillPath)(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* brush,
                                      POINTL* ptlBrush, MIX mix, FLONG options);
typedef BOOL(WINAPI* PFN_DrvStrokeAndFillPath)(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform,
                                               BRUSHOBJ* stroke, LINEATTRS* la, BRUSHOBJ* fill,
                                               POINTL* ptlBrush, MIX mixFill, FLONG options);
typedef BOOL(WINAPI* PFN_DrvRealizeBrush)(BRUSHOBJ* brush, SURFOBJ* target, SURFOBJ* pattern, SURFOBJ* mask,
                                          XLATEOBJ* xlate, ULONG hatch);
typedef ULONG(WINAPI* PFN_DrvEscape)(SURFOBJ* so, ULONG escape, ULONG cbIn, PVOID in, ULONG cbOut, PVOID out);
typedef ULONG(WINAPI* PFN_DrvGetGlyphMode)(DHPDEV pdev, FONTOBJ* font);
typedef ULONG(WINAPI* PFN_DrvDitherColor)(DHPDEV pdev, ULONG mode, ULONG rgb, ULONG* dither);
typedef BOOL(WINAPI* PFN_DrvCopyBits)(SURFOBJ* dst, SURFOBJ* src, CLIPOBJ* clip, XLATEOBJ* xlate, RECTL* rclDst,
                                      POINTL* ptlSrc);
typedef IFIMETRICS*(WINAPI* PFN_DrvQueryFont)(DHPDEV pdev, ULONG_PTR file, ULONG face, ULONG_PTR* id);
typedef LONG(WINAPI* PFN_DrvQueryFontData)(DHPDEV pdev, FONTOBJ* font, ULONG mode, HGLYPH glyph,
                                           GLYPHDATA* data, PVOID buffer, ULONG cbBuffer);
typedef PVOID(WINAPI* PFN_DrvQueryFontTree)(DHPDEV pdev, ULONG_PTR file, ULONG face, ULONG mode, ULONG_PTR* id);
typedef HANDLE(WINAPI* PFN_DrvIcmCreateColorTransform)(DHPDEV pdev, LPLOGCOLORSPACEW colorSpace, PVOID source,
                                                       ULONG cbSource, PVOID dest, ULONG cbDest, PVOID target,
                                                       ULONG cbTarget, DWORD reserved);
typedef BOOL(WINAPI* PFN_DrvIcmDeleteColorTransform)(DHPDEV pdev, HANDLE transform);
typedef BOOL(WINAPI* PFN_DrvStretchBltROP)(SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip,
                                           XLATEOBJ* xlate, COLORADJUSTMENT* ca, POINTL* ptlHTOrg,
                                           RECTL* rclDst, RECTL* rclSrc, POINTL* ptlMask, ULONG mode,
                                           BRUSHOBJ* brush, DWORD rop4);
typedef BOOL(WINAPI* PFN_DrvQueryAdvanceWidths)(DHPDEV pdev, FONTOBJ* font, ULONG mode, HGLYPH* glyphs,
                                                PVOID widths, ULONG cGlyphs);
typedef BOOL(WINAPI* PFN_DrvTextOut)(SURFOBJ* so, STROBJ* str, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra,
                                     RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* org,
                                     MIX mix);

// ---- engine services the graphics DLL calls ----
ZEMS_ENGINE_API HBITMAP WINAPI EngCreateBitmap(SIZEL size, LONG stride, ULONG format, FLONG flags, PVOID bits);
ZEMS_ENGINE_API HSURF WINAPI EngCreateDeviceSurface(DHSURF dhsurf, SIZEL size, ULONG format);
ZEMS_ENGINE_API BOOL WINAPI EngAssociateSurface(HSURF surface, HDEV hdev, FLONG hooks);
ZEMS_ENGINE_API BOOL WINAPI EngMarkBandingSurface(HSURF surface);
ZEMS_ENGINE_API SURFOBJ* WINAPI EngLockSurface(HSURF surface);
ZEMS_ENGINE_API VOID WINAPI EngUnlockSurface(SURFOBJ* so);
ZEMS_ENGINE_API BOOL WINAPI EngEraseSurface(SURFOBJ* so, RECTL* rect, ULONG color);
ZEMS_ENGINE_API BOOL WINAPI EngDeleteSurface(HSURF surface);
ZEMS_ENGINE_API HPALETTE WINAPI EngCreatePalette(ULONG mode, ULONG cColors, ULONG* colors, FLONG red,
                                                 FLONG green, FLONG blue);
ZEMS_ENGINE_API BOOL WINAPI EngDeletePalette(HPALETTE palette);
ZEMS_ENGINE_API BOOL WINAPI EngBitBlt(SURFOBJ* trg, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip, XLATEOBJ* xlate,
                                      RECTL* rclTrg, POINTL* ptlSrc, POINTL* ptlMask, BRUSHOBJ* brush,
                                      POINTL* ptlBrush, ROP4 rop4);
ZEMS_ENGINE_API BOOL WINAPI EngCopyBits(SURFOBJ* dst, SURFOBJ* src, CLIPOBJ* clip, XLATEOBJ* xlate, RECTL* rclDst,
                                        POINTL* ptlSrc);
ZEMS_ENGINE_API BOOL WINAPI EngStretchBlt(SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip,
                                          XLATEOBJ* xlate, COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst,
                                          RECTL* rclSrc, POINTL* ptlMask, ULONG mode);
ZEMS_ENGINE_API BOOL WINAPI EngStretchBltROP(SURFOBJ* dst, SURFOBJ* src, SURFOBJ* mask, CLIPOBJ* clip,
                                             XLATEOBJ* xlate, COLORADJUSTMENT* ca, POINTL* ptlHTOrg, RECTL* rclDst,
                                             RECTL* rclSrc, POINTL* ptlMask, ULONG mode, BRUSHOBJ* brush,
                                             DWORD rop4);
// A resource of a module (the driver's own): its bytes and size, or null.
ZEMS_ENGINE_API PVOID WINAPI EngFindResource(HANDLE module, int name, int type, PULONG size);
// The transform of a realised font (notional units to device space), or null.
ZEMS_ENGINE_API XFORMOBJ* WINAPI FONTOBJ_pxoGetXform(FONTOBJ* font);
// Applies a transform to points: XF_LTOL (POINTL to POINTL), XF_LTOFX (POINTL to 28.4
// POINTFIX), and their inverses.
ZEMS_ENGINE_API BOOL WINAPI XFORMOBJ_bApplyXform(XFORMOBJ* xform, ULONG mode, ULONG cPoints, PVOID in, PVOID out);
// The font's IFIMETRICS, or null.
ZEMS_ENGINE_API IFIMETRICS* WINAPI FONTOBJ_pifi(FONTOBJ* font);
// Glyph data of one handle (cGlyph 1): FO_GLYPHBITS a GLYPHDATA whose gdf.pgb is the image,
// FO_PATHOBJ the glyph's outline as a PATHOBJ (device 28.4 units relative to the character
// origin); both belong to the engine. 1, or 0 (FD_ERROR) on failure.
ZEMS_ENGINE_API ULONG WINAPI FONTOBJ_cGetGlyphs(FONTOBJ* font, ULONG mode, ULONG cGlyph, HGLYPH* phg, PVOID* ppvGlyph);
// The glyphs of a string in batches: STROBJ_bEnum gives the next batch and TRUE while more
// follow.
ZEMS_ENGINE_API VOID WINAPI STROBJ_vEnumStart(STROBJ* str);
ZEMS_ENGINE_API BOOL WINAPI STROBJ_bEnum(STROBJ* str, ULONG* count, GLYPHPOS** pgp);
// UTF-16 to the machine's ANSI code page; *cbWritten the bytes written.
ZEMS_ENGINE_API VOID WINAPI EngUnicodeToMultiByteN(LPSTR out, ULONG cbOut, PULONG cbWritten, PWSTR in, ULONG cbIn);
ZEMS_ENGINE_API BOOL WINAPI EngTextOut(SURFOBJ* so, STROBJ* str, FONTOBJ* font, CLIPOBJ* clip, RECTL* extra,
                                       RECTL* opaque, BRUSHOBJ* fore, BRUSHOBJ* opaqueBrush, POINTL* org,
                                       MIX mix);
ZEMS_ENGINE_API PVOID WINAPI BRUSHOBJ_pvAllocRbrush(BRUSHOBJ* brush, ULONG cj);
ZEMS_ENGINE_API PVOID WINAPI BRUSHOBJ_pvGetRbrush(BRUSHOBJ* brush);
ZEMS_ENGINE_API VOID WINAPI PATHOBJ_vEnumStart(PATHOBJ* path);
ZEMS_ENGINE_API BOOL WINAPI PATHOBJ_bEnum(PATHOBJ* path, PATHDATA* data);
ZEMS_ENGINE_API VOID WINAPI PATHOBJ_vGetBounds(PATHOBJ* path, PRECTFX bounds);
ZEMS_ENGINE_API VOID WINAPI EngDeletePath(PATHOBJ* path);
ZEMS_ENGINE_API ULONG WINAPI CLIPOBJ_cEnumStart(CLIPOBJ* clip, BOOL all, ULONG type, ULONG direction, ULONG limit);
ZEMS_ENGINE_API BOOL WINAPI CLIPOBJ_bEnum(CLIPOBJ* clip, ULONG cj, ULONG* rects);
ZEMS_ENGINE_API PATHOBJ* WINAPI CLIPOBJ_ppoGetPath(CLIPOBJ* clip);
ZEMS_ENGINE_API ULONG WINAPI XFORMOBJ_iGetXform(XFORMOBJ* xform, XFORML* out);
ZEMS_ENGINE_API BOOL WINAPI EngStrokePath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform, BRUSHOBJ* brush,
                                          POINTL* ptlBrush, LINEATTRS* la, MIX mix);
ZEMS_ENGINE_API BOOL WINAPI EngFillPath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, BRUSHOBJ* brush, POINTL* ptlBrush,
                                        MIX mix, FLONG options);
ZEMS_ENGINE_API BOOL WINAPI EngStrokeAndFillPath(SURFOBJ* so, PATHOBJ* path, CLIPOBJ* clip, XFORMOBJ* xform,
                                                 BRUSHOBJ* stroke, LINEATTRS* la, BRUSHOBJ* fill, POINTL* ptlBrush,
                                                 MIX mixFill, FLONG options);
