// The resource DLLs beside the driver (one language DLL per display language, one common
// picture DLL), string loading with run-time completion, bitmap resources, and the help
// strings handed to the graphics DLL.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

// ---- the DLLs of a context ----

// Path of a resource DLL: folder + the model's resource DLL name with, for a language DLL, the
// two characters before its last '.' replaced by code, and for the common DLL the eighth,
// sixth and fifth characters from the end replaced by 'C', 'X', 'X'. The name is used only as
// a bare file name (no '\', '/', ':' or "..") long enough for those places, and only when the
// whole path fits cchBuffer; otherwise buffer is empty. Returns buffer.
WCHAR* ResMakeDllPath(WCHAR* buffer, DWORD cchBuffer, const WCHAR* folder, const WCHAR* name, const WCHAR* code,
                      BOOL common);
// The language DLL's and the common DLL's path of the context, built in the UI state's
// driver-folder buffer (empty when there is none).
const WCHAR* ResLanguageDllPath(DriverContext* ctx);
const WCHAR* ResCommonDllPath(DriverContext* ctx);
// 1 when the language DLL path's sixth and fifth characters from the end are "jp" (any case).
int ResIsJapanese(DriverContext* ctx);
// The context's DLL, loaded on first use and kept; null when it cannot be loaded (tried again
// on the next call).
HMODULE ResLoadLanguageDll(DriverContext* ctx);
HMODULE ResLoadCommonDll(DriverContext* ctx);
// Frees both DLLs of the context and clears its handles; runs when a context is destroyed.
void ResFreeDlls(DriverContext* ctx);

// ---- strings ----

// Loads string id into buffer (cchBuffer characters, always terminated); with complete nonzero the
// string is completed with the values it stands for. Returns the characters loaded; 0 with an
// empty buffer when the language DLL cannot be had.
int ResLoadString(DriverContext* ctx, UINT id, WCHAR* buffer, int cchBuffer, BOOL complete);
// Completes a loaded string by the kind its id has in the completion table; the text stays
// within cchBuffer characters. An id without a row is left as it is.
void ResCompleteString(DriverContext* ctx, UINT id, WCHAR* buffer, int cchBuffer);

struct StringCompletionRow {
  DWORD stringId;
  WORD itemId;
  DWORD kind;  // 1 tray name, 2 custom size, 3 unit name, 4 colour-matching name, 5 size range, 6 as loaded
};
// The completion table in search order, ended by a row whose string id is 0.
const StringCompletionRow* ResGetCompletionTable();

// UI-module event 16: a colour-matching entry's name for string stringId (565-580) written
// over buffer by the module that knows it.
constexpr int kModEventColorMatchName = 16;
struct ResColorMatchNameEvent {
  DWORD stringId;
  WCHAR* buffer;
  DWORD cchBuffer;
};

// ---- bitmaps ----

struct BitmapRangeRow {
  DWORD firstId;
  DWORD lastId;  // inclusive
  DWORD dll;     // 0 language DLL, 1 common DLL
};
// The bitmap ranges in search order, ended by a row whose first id is 0.
const BitmapRangeRow* ResGetBitmapRanges();
// The DLL (0 language, 1 common) of the first range holding id; -1 when none does.
int ResBitmapDllOf(UINT id);
// The RT_BITMAP resource id from the DLL its range names; null when no range holds id or the
// DLL cannot be loaded.
HGLOBAL ResLoadBitmapResource(DriverContext* ctx, UINT id);
// Opens a .bmp file for reading when its info header (the 32-bit size at byte 14) is the
// 40-byte one: 1 and the open file in *file; otherwise 0, the file closed and *file
// INVALID_HANDLE_VALUE. The path is opened as given (wide), so any name the disk holds opens.
int ResOpenBmpFile(LPCWSTR path, HANDLE* file);

// LoadBitmap of id from the DLL its range names; null when no range holds id or the DLL cannot be
// loaded.
HBITMAP ResLoadBitmap(DriverContext* ctx, UINT id);
// A named bitmap of the common DLL; null when there is none.
HBITMAP ResLoadCommonBitmapByName(DriverContext* ctx, LPCWSTR name);
// Icon id of the language DLL drawn at (0, 0) of the window's DC, or at (x, y) of dc.
void ResDrawIcon(DriverContext* ctx, HWND window, UINT id);
void ResDrawIconAt(DriverContext* ctx, HDC dc, int x, int y, UINT id);

// Where the parts of a .bmp file lie, once its headers were checked against the file's size.
struct BmpLayout {
  LONG width;
  LONG height;          // rows; the header's sign says top-down
  WORD bitCount;
  DWORD colourEntries;  // 4-byte entries after the info header (0 above 8 bits)
  DWORD pixelsOffset;   // bfOffBits
  DWORD imageSize;      // stride x rows
};
constexpr DWORD kBmpHeadBytes = 14 + 40;
constexpr LONG kBmpMaxSide = 16384;
// Checks the file and info headers (the first kBmpHeadBytes bytes of head) of a file of fileSize
// bytes: a 40-byte info header, width and height 1-16384 (a negative height is a top-down image),
// one plane, 1, 4, 8, 16, 24 or 32 bits uncompressed, a colour table of at most 2^bits entries
// and pixels from bfOffBits, all inside the file. FALSE for anything else.
BOOL ResCheckBmpHeaders(const BYTE* head, DWORD headBytes, DWORD fileSize, BmpLayout* layout);
// A bitmap for the display from a .bmp file (the wide path), with its size; null and 0 x 0 when
// the file cannot be read or is refused by ResCheckBmpHeaders.
HBITMAP ResLoadBmpFile(LPCWSTR path, LONG* width, LONG* height);

// ---- help strings for the graphics DLL ----

constexpr int kHelpStringChars = 261;
constexpr int kHelpStringEscape = 122;

#pragma pack(push, 1)
struct HelpStringRow {
  WORD marker;  // 0 ends the table
  WORD stringId;
  WCHAR text[kHelpStringChars];
};
#pragma pack(pop)
static_assert(sizeof(HelpStringRow) == 526, "help-string row is 526 bytes");
constexpr int kHelpStringRows = 3;  // and the end row
static_assert(sizeof(HelpStringRow) * (kHelpStringRows + 1) == 2104, "escape 122 carries 2104 bytes");

// Fills the help-string rows from the printer's help DLL and sends them to the DC with
// escape 122 (always the three rows and the end row).
void ResSendStringsToGraphics(HANDLE hPrinter, HDC dc);
// Clears text, then loads string id from the help DLL into it (at most 260 characters and the
// terminator) when the DLL is, or can now be, loaded.
void ResLoadHelpString(HANDLE hPrinter, HMODULE* helpDll, WORD id, WCHAR* text);
// The help DLL: the printer's driver folder + its help file name with the extension "dll".
// Loaded once into *helpDll; null when the name is unusable or the DLL does not load.
HMODULE ResLoadHelpDll(HANDLE hPrinter, HMODULE* helpDll);
void ResFreeHelpDll(HMODULE handle);
