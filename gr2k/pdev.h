// The graphics PDEV: the per-device state of one DC on a printer of this driver, its private
// memory pool, the job options the drawing and output code consult, and the answers to GDI's
// GDIINFO and DEVINFO requests.
#pragma once
#include "platform/ddi.h"
#include "platform/win32.h"

struct DriverContext;
struct PluginList;

constexpr DWORD kPdevMagic = 0x19651013u;

// PDEV flags.
enum : DWORD {
  kPdevDocStarted = 0x4,
  kPdevOutputFailed = 0x8,
  kPdevPageOpen = 0x8000,
  kPdevCarriedOver = 0x100000,  // made by DrvResetPDEV: the job header is due again
};

// Head of the pool: the most recently allocated block. Each block is a system allocation of
// n + 4 bytes whose first word links to the next block.
struct PdevPool {
  void* head;
};

// A block of the output stream: its head, then its data up to end. The inline block's data
// follow it inside the stream; allocated blocks come from the PDEV pool.
struct StreamBlock {
  StreamBlock* next;
  BYTE* position;  // where the next record goes
  BYTE* end;       // one past the last data byte
};
constexpr DWORD kStreamInlineBytes = 10240;

// The page's records before they go out as display-list blocks, and the spool side they go to.
struct PdevOutputStream {
  HANDLE printer;
  struct GraphicsPdev* pdev;
  StreamBlock inlineBlock;
  BYTE inlineData[kStreamInlineBytes];
  StreamBlock* head;  // always the inline block
  StreamBlock* tail;  // receives new records
  DWORD byteTotal;    // reserved since the last reset
  DWORD recordCount;
  StreamBlock* spare;  // sent blocks kept for reservations of their size
  HMODULE spoolModule;
  HANDLE spoolHandle;
  PVOID write;  // DrvSplWritePrinter, the filter's write slot, or NULL
  DWORD flushes;  // pages so far sent by flushes (a mark older than one cannot be rolled back)
};

// The paper metrics of the job (dots at the PDEV's resolution unless named).
struct PdevPaperMetricsRecord {
  LONG paperWidth;  // 0.1 mm, from the model's paper description
  LONG paperLength;
  LONG paperWidthDots;
  LONG paperLengthDots;
  LONG printableWidthDots;
  LONG printableLengthDots;
  LONG printableWidthTenthMm;  // left unset at resolution 0
  LONG printableLengthTenthMm;
  LONG paperSize;  // dmPaperSize
  LONG offsetXDots;
  LONG offsetYDots;
};

// A colour transform made for the application and the profile it was made from.
struct IcmTransformRow {
  HANDLE transform;
  HANDLE profile;
};
constexpr DWORD kIcmTransformRows = 8;

struct GraphicsPdev {
  DWORD magic;
  DriverContext* context;
  PdevPool* pool;
  HANDLE printer;
  HDEV hdev;
  HSURF surface;
  HPALETTE palette;
  DWORD flags;
  PdevPaperMetricsRecord paper;
  DWORD pageNumber;
  DWORD deviceFontCount;
  HMODULE module;
  SHORT copies;
  SHORT rasterMode;
  SHORT colourProcess;
  SHORT orientationIndex;
  WORD resolution;
  SHORT languageSwitch;
  WORD jobBinderBit;
  DWORD colourMachine;
  DWORD emfSpooling;
  DWORD colour;
  SHORT printAreaKind;
  DWORD defaultFontSwitch;
  DWORD eudcSwitch;
  DWORD noOutput;
  SHORT oneBppSurface;
  SHORT noStretchBltRopHook;
  DWORD wideLineSwitch;
  char* jobName;
  SHORT jobNameLength;
  void* deviceFonts;  // NULL in raster mode
  BYTE* clipCache;    // 32 bytes from the pool (ClipCache); first word: valid flag
  struct DrawStateCache* drawState;  // the page's drawing state, from the pool
  PdevOutputStream stream;
  POINTL bandOrigin;
  LONG bandCount;
  SIZEL bandSurfaceSize;
  WCHAR spoolDllName[MAX_PATH];
  IcmTransformRow colourTransforms[kIcmTransformRows];
  BYTE icmSwitches[2];  // zdmColorMatching, zdmICMType
  DWORD textAsBitmap;
  void* glyphCache[1024];
  SHORT glyphGeneration;
  DWORD printMethod;
  DEVMODEW* devmode;  // the job DEVMODE as passed (dmSize + dmDriverExtra bytes), or NULL
  DWORD jobId;
  DWORD pageStartedForBanding;
  DWORD takeOver;
  DWORD apiUse;
  DWORD hookValue;
  DWORD printMethod7;
  OSVERSIONINFOW osVersion;
  DWORD reduceImages;
  DWORD filterMode;
  PluginList* filterList;
  void* filterChain;
  void* filterOps[3];  // interface, get and dispose functions
  DWORD forceRaw;
  DWORD magicEnd;
};

// A PDEV is valid when it is non-null and both its first and last words hold the magic.
BOOL PdevIsValid(const void* pdev);

// The pool: PdevPoolCreate gives an empty pool (null without memory); PdevPoolAlloc a block
// of cb bytes, not zeroed, or null; PdevPoolFree ignores a pointer not in the pool;
// PdevPoolDestroy releases every block, then the head (null is ignored).
PdevPool* PdevPoolCreate();
void* PdevPoolAlloc(PdevPool* pool, DWORD cb);
void PdevPoolFree(PdevPool* pool, void* block);
void PdevPoolDestroy(PdevPool* pool);

// Reads the job options from the PDEV's context. 1, or 0 when a read the PDEV needs fails.
BOOL PdevLoadOptions(GraphicsPdev* pdev);
void PdevPaperMetrics(GraphicsPdev* pdev);
// Fills at most cbGdiInfo bytes of GDI's GDIINFO and at most cbDevInfo bytes of its DEVINFO
// (the rest of each buffer is not touched); DEVINFO takes the halftone pattern size from the
// PDEV's GDIINFO values. FALSE when the palette cannot be made.
BOOL PdevFillGdiInfo(GraphicsPdev* pdev, ULONG cbGdiInfo, ULONG* gdiInfo, GDIINFO* full);
BOOL PdevFillDevInfo(GraphicsPdev* pdev, const GDIINFO* gdi, ULONG cbDevInfo, DEVINFO* devInfo);
// Halftone pattern size index for the two resolutions; the flag asks for the plain patterns.
ULONG PdevHalftonePattern(ULONG resolutionX, ULONG resolutionY, BOOL plain);
// Code page <-> character set: direction 1 looks up the character set in pair[1], direction 2
// the code page in pair[0]; on a hit both are filled and 1 returned, else 0.
enum : int { kCharsetByCharset = 1, kCharsetByCodePage = 2 };
int PdevCharsetFromCodePage(WORD value, WORD pair[2], int direction);
// The system's ANSI code page.
WORD PdevCurrentCodePage();
// The monochrome job: colour process 1 and dmColor 1.
BOOL PdevIsMonochrome(const GraphicsPdev* pdev);
// Frees the DEVMODE copy, closes the context and destroys the pool (and the PDEV with it).
void PdevFree(GraphicsPdev* pdev);
// Height in lines of one band of a page of this width and height.
LONG SurfaceBandHeight(LONG width, LONG height);
