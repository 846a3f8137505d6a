// DrvEscape's work: the standard printer escapes the driver supports and the private escapes
// through which the driver's applications and its printer interface hand job data over while
// a job prints.
//
// Every buffer is the caller's: an input is read only within its stated size (a NULL input
// counts as none whatever its size), and an output too small for its value counts as none.
#include <stdlib.h>
#include <string.h>

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/system/resources.h"
#include "gr2k/ddi_bodies.h"
#include "gr2k/job_header.h"
#include "gr2k/stream.h"

#ifndef ZEMS_GR_VERSION_TEXT
#define ZEMS_GR_VERSION_TEXT "0.0.0"
#endif

namespace {

enum : ULONG {
  kEscQuerySupport = 8,
  kEscSetCopyCount = 17,
  kEscPassThrough = 19,
  kEscGetTechnology = 20,
  kEscGetDeviceUnits = 42,
  kEscTelLine = 117,
  kEscSource = 119,
  kEscPrintMethod = 120,
  kEscSettingsPath = 121,
  kEscTextTable = 122,
  kEscApiUse = 126,
  kEscVersion = 140,
  kEscSpoolDll = 141,
};
constexpr ULONG kMaxCopies = 999;
constexpr int kSettingsPathChars = 259;

// The item a string escape sets; 0 for any other escape.
WORD StringItem(ULONG escape) {
  switch (escape) {
    case 111: return kItem_zdmUserCode;
    case 112: return kItem_zdmOwnerName;
    case 113: return kItem_zdmJOBPassword;
    case 114: return kItem_zdmUserID;
    case 115: return kItem_zdmDocumentName;
    case 116: return kItem_zdmTelNo;
    case 118: return kItem_zdmStoredPassword;
    case 123: return kItem_wdmAuthenticationUserName;
    case 124: return kItem_wdmAuthenticationNetworkKey;
    case 125: return kItem_wdmAuthenticationPassword;
    default: return 0;
  }
}

bool Supported(const GraphicsPdev* pdev, ULONG escape) {
  switch (escape) {
    case kEscQuerySupport:
    case kEscSetCopyCount:
    case kEscGetTechnology:
    case kEscGetDeviceUnits:
    case kEscVersion:
    case kEscSpoolDll:
      return true;
    case kEscPassThrough:
      return pdev->jobBinderBit != 0;
    default:
      return escape >= 111 && escape <= 126;
  }
}

// The caller's text, at most min(cbIn, the item's size - 1) bytes (or characters of a wide item)
// up to its first NUL, into an item-sized zeroed copy; the item is then stored from it.
void SetStringItem(DriverContext* ctx, WORD id, const void* in, ULONG cbIn) {
  SettingItem* item = ItemFind(ctx, id);
  if (!item || !in) return;
  UINT size = ItemDescSize(item->descriptor);
  if (!size || size > 1024) return;
  BYTE copy[1024] = {};
  if (ItemTypeIsWideText(ItemDescType(item->descriptor))) {
    size_t chars = JobWideLength(static_cast<const WCHAR*>(in), cbIn / sizeof(WCHAR));
    if (chars > size / sizeof(WCHAR) - 1) chars = size / sizeof(WCHAR) - 1;
    memcpy(copy, in, chars * sizeof(WCHAR));
  } else {
    size_t n = strnlen(static_cast<const char*>(in), cbIn);
    if (n > size - 1) n = size - 1;
    memcpy(copy, in, n);
  }
  ItemSetRaw(ctx, item, reinterpret_cast<LONG_PTR>(copy));
}

ULONG PutWord(PVOID out, ULONG cbOut, LONG_PTR value) {
  if (out && cbOut >= sizeof(WORD)) {
    WORD w = WORD(value);
    memcpy(out, &w, sizeof w);
  }
  return 1;
}

// A text with its NUL, or nothing when it does not fit: 1 when written.
ULONG PutText(PVOID out, ULONG cbOut, const char* text) {
  size_t n = strlen(text) + 1;
  if (!out || cbOut < n) return 0;
  memcpy(out, text, n);
  return 1;
}

ULONG PassThrough(GraphicsPdev* pdev, const BYTE* in, ULONG cbIn) {
  if (!in || cbIn < sizeof(WORD)) return pdev->jobBinderBit ? ULONG(-1) : 0;
  WORD count = 0;
  memcpy(&count, in, sizeof count);
  if (!pdev->jobBinderBit) return count;
  // The stated count must lie inside the input; otherwise nothing is written.
  if (ULONG(count) > cbIn - sizeof(WORD)) return ULONG(-1);
  if (!GrStreamFlush(&pdev->stream)) return ULONG(-1);
  if (count && !GrStreamWrite(&pdev->stream, in + sizeof(WORD), count)) return ULONG(-1);
  return count;
}

ULONG DeviceUnits(GraphicsPdev* pdev, PVOID out, ULONG cbOut) {
  if (!out || cbOut < 4 * sizeof(FLOAT)) return 0;
  bool open = (pdev->flags & kPdevPageOpen) != 0;
  FLOAT units[4] = {FLOAT(pdev->paper.printableWidthDots), FLOAT(pdev->paper.printableLengthDots),
                    open ? FLOAT(pdev->paper.offsetXDots) : 0.0f, open ? FLOAT(pdev->paper.offsetYDots) : 0.0f};
  memcpy(out, units, sizeof units);
  return 1;
}

}  // namespace

ULONG EscHandle(GraphicsPdev* pdev, SURFOBJ*, ULONG escape, ULONG cbIn, PVOID in, ULONG cbOut, PVOID out) {
  if (!in) cbIn = 0;
  if (!out) cbOut = 0;
  DriverContext* ctx = pdev->context;
  // Pass-through is answered in every mode (outside job-binder mode with its count alone), though
  // only job-binder mode reports it as supported.
  if (escape != kEscPassThrough && !Supported(pdev, escape)) return 0;
  if (WORD id = StringItem(escape)) {
    SetStringItem(ctx, id, in, cbIn);
    return 1;
  }
  switch (escape) {
    case kEscQuerySupport: {
      if (cbIn < sizeof(WORD)) return 0;
      WORD code = 0;
      memcpy(&code, in, sizeof code);
      if (code == kEscSetCopyCount) return kMaxCopies;
      return Supported(pdev, code) ? 1 : 0;
    }
    case kEscSetCopyCount: {
      if (cbIn < sizeof(DWORD)) return ULONG(-1);
      DWORD asked = 0;
      memcpy(&asked, in, sizeof asked);
      DWORD copies = asked >= kMaxCopies ? kMaxCopies : asked == 0 ? 1 : asked;
      pdev->copies = SHORT(copies);
      ItemSetRawById(ctx, kItem_dmCopies, LONG_PTR(copies));
      if (cbOut >= sizeof(DWORD)) memcpy(out, &copies, sizeof copies);
      return 1;
    }
    case kEscPassThrough:
      return PassThrough(pdev, static_cast<const BYTE*>(in), cbIn);
    case kEscGetTechnology:
      return PutText(out, cbOut, "ZEMS");
    case kEscGetDeviceUnits:
      return DeviceUnits(pdev, out, cbOut);
    case kEscTelLine: {
      char text[16] = {};
      // The number is read from the bounded copy, never from the caller's buffer.
      if (in) {
        size_t n = strnlen(static_cast<const char*>(in), cbIn);
        if (n > sizeof text - 1) n = sizeof text - 1;
        memcpy(text, in, n);
      }
      if (in) ItemSetRawById(ctx, kItem_zdmTelLine, LONG_PTR(BYTE(atoi(text))));
      return 1;
    }
    case kEscSource:
      return PutWord(out, cbOut, ItemGetRawById(ctx, kItem_dmDefaultSource));
    case kEscPrintMethod:
      return PutWord(out, cbOut, ItemGetRawById(ctx, kItem_zdmPrnMethod));
    case kEscApiUse:
      return PutWord(out, cbOut, ItemGetRawById(ctx, kItem_zdmAPIUseFlag));
    case kEscSettingsPath: {
      if (!in || !ctx || !ctx->ui) return 1;
      size_t chars = JobWideLength(static_cast<const WCHAR*>(in), cbIn / sizeof(WCHAR));
      if (chars > size_t(kSettingsPathChars)) chars = kSettingsPathChars;
      memset(ctx->ui->settingsFilePath, 0, sizeof ctx->ui->settingsFilePath);
      memcpy(ctx->ui->settingsFilePath, in, chars * sizeof(WCHAR));
      return 1;
    }
    case kEscTextTable:
      if (in) JobTextTableFill(static_cast<const HelpStringRow*>(in), cbIn);
      return 1;
    case kEscVersion:
      return PutText(out, cbOut, ZEMS_GR_VERSION_TEXT);
    case kEscSpoolDll: {
      char name[MAX_PATH * 2 + 1] = {};
      WCHAR wide[MAX_PATH + 1];
      memcpy(wide, pdev->spoolDllName, sizeof pdev->spoolDllName);
      wide[MAX_PATH] = 0;
      if (wide[0] && WideCharToMultiByte(PdevCurrentCodePage(), 0, wide, -1, name, sizeof name - 1, nullptr, nullptr) <= 0)
        name[0] = 0;
      return PutText(out, cbOut, name);
    }
    default:
      return 0;
  }
}
