// The job-control binding: loading the DLL, the session, moving single properties between the
// DLL and the items, and the dispatcher with its entry points.
//
// The DLL is outside the driver and may answer anything: every value it hands back is read
// only within the buffer the driver gave it, and stored only within the item's length.
#include "core/bind/job_control.h"

#include <string.h>

#include "core/bind/export_of.h"
#include "core/bind/user_code.h"
#include "core/system/languages.h"
#include "core/common/mem.h"
#include "core/system/printer_names.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/model/model_lookup.h"
#include "core/store/item_store.h"

const JcPropertyMap kJcPropertyMap[kJcPropertyCount] = {
    {1, 0x0001},   {2, 0x0002},   {3, 0x0004},   {4, 0x0008},  {5, 0x0010},
    {6, 0x0020},   {7, 0x0040},   {8, 0x0080},   {256, 0x0100}, {257, 0x0200},
    {258, 0x0400}, {9, 0x0800},   {10, 0x1000},  {11, 0x2000},
};

namespace {

const WCHAR kJobControlDll[] = TEXT("ORVJC32.DLL");
constexpr WORD kVersions[] = {0x105, 0x104, 0x103, 0x102, 0x101};
constexpr int kFixedBufferChars = 16;  // properties 7, 256 and 257
const WCHAR kPageLanguageWord[] = TEXT("ZEMS");
constexpr int kEventDriverVersionText = 57;

// Argument record of the driver-version event: a module may change the text in place.
struct DriverVersionEvent {
  WCHAR* text;
  DWORD chars;
};

// The item of properties 1-11; 0 for 256-258 and unknown numbers.
WORD ItemOfProperty(DWORD property) {
  switch (property) {
    case 1: return kItem_zdmUserCode;
    case 2: return kItem_zdmOwnerName;
    case 3: return kItem_zdmJOBPassword;
    case 4: return kItem_zdmUserID;
    case 5: return kItem_zdmDocumentName;
    case 6: return kItem_zdmTelNo;
    case 7: return kItem_zdmTelLine;
    case 8: return kItem_zdmStoredPassword;
    case 9: return kItem_wdmAuthenticationUserName;
    case 10: return kItem_wdmAuthenticationPassword;
    case 11: return kItem_wdmAuthenticationNetworkKey;
    default: return 0;
  }
}

bool IsTextProperty(DWORD property) { return property != 7 && ItemOfProperty(property) != 0; }

JcBlock* BlockOf(DriverContext* ctx) { return ctx && ctx->ui ? &ctx->ui->jobControl : nullptr; }

// The buffer of a property in characters: the item's length for the text items, 16 for
// properties 7, 256 and 257; 0 for any other number.
int BufferChars(DriverContext* ctx, DWORD property) {
  if (property == 7 || property == 256 || property == 257) return kFixedBufferChars;
  if (!IsTextProperty(property)) return 0;
  const SettingItem* item = ItemFind(ctx, ItemOfProperty(property));
  return item ? static_cast<int>(ItemDescSize(item->descriptor)) : 0;
}

bool HasSession(const JcBlock* b) { return b && b->session && b->ops; }

// A failed system call that left no error code still reports a failure.
DWORD LastErrorOr(DWORD fallback) {
  DWORD e = GetLastError();
  return e ? e : fallback;
}

// Decimal text of an unsigned value into buffer (chars characters, terminated).
void FormatDecimal(DWORD value, WCHAR* buffer, int chars) {
  WCHAR digits[11];
  int n = 0;
  do {
    digits[n++] = static_cast<WCHAR>(TEXT('0') + value % 10);
    value /= 10;
  } while (value && n < 10);
  int i = 0;
  while (n > 0 && i < chars - 1) buffer[i++] = digits[--n];
  buffer[i] = 0;
}

// The leading decimal number of a text (after blanks, with an optional sign); conversion stops
// at the first other character. False when the number is negative or above limit: the value
// cannot be held.
bool ParseDecimal(const WCHAR* text, DWORD limit, DWORD* value) {
  while (*text == TEXT(' ') || *text == TEXT('\t')) ++text;
  bool negative = false;
  if (*text == TEXT('+') || *text == TEXT('-')) negative = *text++ == TEXT('-');
  DWORD v = 0;
  for (; *text >= TEXT('0') && *text <= TEXT('9'); ++text) {
    DWORD digit = static_cast<DWORD>(*text - TEXT('0'));
    if (v > (limit - digit) / 10) return false;
    v = v * 10 + digit;
  }
  if (negative && v) return false;
  *value = v;
  return true;
}

// The largest value an integer item holds.
DWORD ItemLimit(const SettingItem* item) {
  switch (ItemDescType(item->descriptor)) {
    case ItemTypeU8: return 0xFF;
    case ItemTypeS8: return 0x7F;
    case ItemTypeU16: return 0xFFFF;
    case ItemTypeS16: return 0x7FFF;
    case ItemTypeS32: return 0x7FFFFFFF;
    default: return 0xFFFFFFFF;
  }
}

// The LANGID of the display language: (sublanguage << 10) | primary.
DWORD DisplayLangId(DriverContext* ctx, WORD* primaryOut = nullptr, WORD* subOut = nullptr) {
  WORD sub = 0;
  WORD primary = ResLangIdFromIndex(static_cast<WORD>(ItemGetRawById(ctx, kItem_zdmLanguageID)), &sub);
  if (primaryOut) *primaryOut = primary;
  if (subOut) *subOut = sub;
  return (static_cast<DWORD>(sub) << 10) | primary;
}

void ResetUserCodeFlags(DriverContext* ctx) {
  ItemSetRawById(ctx, kItem_zdmUserCodeGet, 0);
  ItemSetRawById(ctx, kItem_zdmUserCodeDLL, 0);
}

void FetchMasked(DriverContext* ctx, DWORD mask) {
  for (const JcPropertyMap& row : kJcPropertyMap)
    if (mask & row.maskBit) JcFetchProperty(ctx, row.property);
}

void PushMasked(DriverContext* ctx, DWORD mask, DWORD command) {
  for (const JcPropertyMap& row : kJcPropertyMap)
    if (mask & row.maskBit) JcPushProperty(ctx, row.property, command);
}

// Slot 0 or 1 with the printer name.
DWORD PrinterCall(DriverContext* ctx, JcBlock* b, bool second) {
  DWORD(WINAPI * call)(LPCWSTR) = second ? b->ops->printerCall2 : b->ops->printerCall;
  return call ? call(PrnGetPrinterName(ctx)) : ERROR_PROC_NOT_FOUND;
}

// Stores a fetched text in the item of its property. An empty text leaves the item.
void StoreFetched(DriverContext* ctx, DWORD property, const WCHAR* text) {
  if (!text[0]) return;
  SettingItem* item = ItemFind(ctx, ItemOfProperty(property));
  if (!item) return;
  if (property == 7) {
    DWORD value = 0;
    if (ParseDecimal(text, ItemLimit(item), &value)) ItemSetRaw(ctx, item, static_cast<LONG_PTR>(value));
    return;
  }
  ItemSetText(ctx, item, text);
}

}  // namespace

// ---- the binding ----

DWORD JcLoadInterface(JcBlock* b, DriverContext* ctx) {
  (void)ctx;
  if (!b) return ERROR_INVALID_PARAMETER;
  // A table already held (a second open) is kept: asking again would leave the first table
  // without its disposal.
  if (b->module && b->ops && b->getInterface && b->disposeInterface) return 0;
  if (!b->module) {
    *b = JcBlock{};
    b->module = LoadLibraryW(kJobControlDll);
    if (!b->module) return LastErrorOr(ERROR_MOD_NOT_FOUND);
  }
  b->getInterface = ExportOf<JcGetInterfaceProc>(b->module, "JCGetInterface");
  b->disposeInterface = ExportOf<JcDisposeInterfaceProc>(b->module, "JCDisposeInterface");
  if (!b->getInterface || !b->disposeInterface) {
    DWORD e = LastErrorOr(ERROR_PROC_NOT_FOUND);
    JcUnloadInterface(b, ctx);
    return e;
  }
  DWORD r = ERROR_NOT_SUPPORTED;
  for (WORD version : kVersions) {
    b->version = version;
    JcOps* ops = nullptr;
    r = b->getInterface(version, &ops);
    if (r == 0 && ops) {
      b->ops = ops;
      return 0;
    }
    if (r == 0) r = ERROR_INVALID_DATA;  // accepted without a table: nothing to call through
  }
  JcUnloadInterface(b, ctx);
  return r;
}

DWORD JcUnloadInterface(JcBlock* b, DriverContext* ctx) {
  (void)ctx;
  if (!b) return 0;
  if (b->getInterface && b->disposeInterface && b->ops) b->disposeInterface(b->ops);
  // Whatever was found goes with the DLL: no entry point is kept into a freed module.
  b->ops = nullptr;
  b->getInterface = nullptr;
  b->disposeInterface = nullptr;
  if (b->module) {
    FreeLibrary(b->module);
    b->module = nullptr;
  }
  return 0;
}

DWORD JcOpenSession(DriverContext* ctx) {
  JcBlock* b = BlockOf(ctx);
  if (!b || !b->ops) return ERROR_INVALID_HANDLE;
  if (b->session) return 0;
  if (!b->ops->openSession) return ERROR_PROC_NOT_FOUND;
  DWORD session = 0;
  DWORD r = b->ops->openSession(PrnGetPrinterName(ctx), &session);
  if (r == 0) b->session = session;
  return r;
}

DWORD JcCloseSession(DriverContext* ctx) {
  JcBlock* b = BlockOf(ctx);
  if (!b || !b->session) return 0;
  DWORD session = b->session;
  b->session = 0;
  if (!b->ops || !b->ops->closeSession) return 0;
  return b->ops->closeSession(session);
}

DWORD JcFetchProperty(DriverContext* ctx, DWORD property) {
  JcBlock* b = BlockOf(ctx);
  if (!HasSession(b)) return 0;
  const int chars = ItemOfProperty(property) ? BufferChars(ctx, property) : 0;
  if (chars <= 0) return kJcNotHandled;
  JcOps* ops = b->ops;
  if (!ops->attributes || !ops->getProperty) return ERROR_PROC_NOT_FOUND;
  DWORD attributes = 0;
  DWORD r = ops->attributes(b->session, property, &attributes);
  if (r) return r;
  if (!(attributes & kJcHasValue)) return 0;
  DWORD needed = 0;
  r = ops->getProperty(b->session, property, kJcKindText, nullptr, 0, &needed);
  if ((r != 0 && r != kJcNotHandled) || needed == 0) return r;
  if (needed > kJcMaxValueBytes) return ERROR_INVALID_DATA;

  const DWORD itemBytes = static_cast<DWORD>(chars) * sizeof(WCHAR);
  BYTE* itemBuffer = static_cast<BYTE*>(MemAllocZero(itemBytes));
  if (!itemBuffer) return 0;
  BYTE* read = itemBuffer;
  if (needed > itemBytes) {
    read = static_cast<BYTE*>(MemAllocZero(needed));
    if (!read) {
      MemFree(itemBuffer);
      return 0;
    }
  }
  const DWORD asked = needed;
  r = ops->getProperty(b->session, property, kJcKindText, read, asked, &needed);
  if (r == 0) {
    // Whole characters of what was asked for, up to the first terminator, cut to the item's
    // length less one: the answer's own size claims are not trusted.
    WCHAR text[256 + 1] = {};
    const DWORD limit = static_cast<DWORD>(chars - 1) < 256 ? static_cast<DWORD>(chars - 1) : 256;
    DWORD available = asked / sizeof(WCHAR);
    DWORD n = 0;
    while (n < available && n < limit) {
      WCHAR c;
      memcpy(&c, read + n * sizeof(WCHAR), sizeof c);
      if (!c) break;
      text[n++] = c;
    }
    text[n] = 0;
    StoreFetched(ctx, property, text);
  }
  if (read != itemBuffer) MemFree(read);
  MemFree(itemBuffer);
  return r;
}

DWORD JcPushProperty(DriverContext* ctx, DWORD property, DWORD command) {
  JcBlock* b = BlockOf(ctx);
  if (!HasSession(b)) return 0;
  if (b->version < 0x102 && property >= 256 && property <= 258) return 0;
  if (b->version < 0x104 && property >= 9 && property <= 11) return 0;
  if (!b->ops->setProperty) return ERROR_PROC_NOT_FOUND;
  if (property == 258) {
    DWORD value = DisplayLangId(ctx);
    return b->ops->setProperty(b->session, 258, kJcKindU32, &value, sizeof value);
  }
  const int chars = BufferChars(ctx, property);
  if (chars <= 0) return kJcNotHandled;
  WCHAR* buffer = static_cast<WCHAR*>(MemAllocZero(static_cast<SIZE_T>(chars) * sizeof(WCHAR)));
  if (!buffer) return ERROR_NOT_ENOUGH_MEMORY;
  SettingItem* item = ItemOfProperty(property) ? ItemFind(ctx, ItemOfProperty(property)) : nullptr;
  if (command == kJcCmdClearAndPush && item) {
    if (property == 7)
      ItemSetRaw(ctx, item, ModelGetItemDefault(kItem_zdmTelLine, ctx));
    else
      ItemSetText(ctx, item, TEXT(""));
  }
  if (property == 7) {
    FormatDecimal(item ? static_cast<DWORD>(ItemGetRaw(ctx, item)) : 0, buffer, chars);
  } else if (property == 256) {
    lstrcpynW(buffer, kPageLanguageWord, chars);
  } else if (property == 257) {
    SettingItem* version = ItemFind(ctx, kItem_wdmDriverVersion);
    if (version) ItemGetTextBounded(ctx, version, buffer, chars);
    DriverVersionEvent event = {buffer, static_cast<DWORD>(chars)};
    ModBusSendEvent(ctx, kEventDriverVersionText, &event);
    buffer[chars - 1] = 0;  // a module's change ends within the buffer too
  } else if (item) {
    ItemGetTextBounded(ctx, item, buffer, chars);
  }
  DWORD r = b->ops->setProperty(b->session, property, kJcKindText, buffer,
                                static_cast<DWORD>(chars) * sizeof(WCHAR));
  MemFree(buffer);
  return r;
}

DWORD JcDeleteProperty(DriverContext* ctx, DWORD property) {
  JcBlock* b = BlockOf(ctx);
  if (!HasSession(b)) return 0;
  if (!b->ops->deleteProperty) return ERROR_PROC_NOT_FOUND;
  return b->ops->deleteProperty(b->session, property);
}

DWORD JcSendLanguage(DriverContext* ctx, DWORD code) {
  JcBlock* b = BlockOf(ctx);
  if (!HasSession(b)) return 0;
  if (!b->ops->setInformation) return ERROR_PROC_NOT_FOUND;
  BYTE block[8] = {};
  WORD primary = 0, sub = 0;
  DisplayLangId(ctx, &primary, &sub);
  const DWORD size = sizeof block;
  memcpy(block, &size, 4);
  memcpy(block + 4, &primary, 2);
  memcpy(block + 6, &sub, 2);
  return b->ops->setInformation(b->session, code, block);
}

// ---- the dispatcher ----

DWORD JcCommand(DriverContext* ctx, DWORD command, DWORD mask) {
  JcBlock* b = BlockOf(ctx);
  if (!b) return ERROR_INVALID_PARAMETER;
  DWORD r = 0;
  switch (command) {
    case kJcCmdFetch:
      FetchMasked(ctx, mask);
      return 0;
    case kJcCmdPushOpen:
    case kJcCmdClearAndPush:
      PushMasked(ctx, mask, command);
      return 0;
    case kJcCmdOpen:
      r = JcLoadInterface(b, ctx);
      return r ? r : JcOpenSession(ctx);
    case kJcCmdOpenFetchAll:
      r = JcLoadInterface(b, ctx);
      if (r) return r;
      r = JcOpenSession(ctx);
      for (const JcPropertyMap& row : kJcPropertyMap) JcFetchProperty(ctx, row.property);
      ResetUserCodeFlags(ctx);
      return r;
    case kJcCmdClose:
    case kJcCmdClose2:
      JcCloseSession(ctx);
      JcUnloadInterface(b, ctx);
      return 0;
    case kJcCmdPrinterCall:
    case kJcCmdPrinterCall2:
      r = JcLoadInterface(b, ctx);
      if (r) return r;
      r = PrinterCall(ctx, b, command == kJcCmdPrinterCall2);
      JcUnloadInterface(b, ctx);
      if (command == kJcCmdPrinterCall) ResetUserCodeFlags(ctx);
      return r;
    case kJcCmdFetchOnce:
    case kJcCmdPushOnce:
      r = JcLoadInterface(b, ctx);
      if (r) return r;
      r = JcOpenSession(ctx);
      if (r == 0) {
        if (command == kJcCmdFetchOnce)
          FetchMasked(ctx, mask);
        else
          PushMasked(ctx, mask, kJcCmdPushOpen);
      }
      JcCloseSession(ctx);
      JcUnloadInterface(b, ctx);
      if (command == kJcCmdFetchOnce) ResetUserCodeFlags(ctx);
      return r;
    default:
      return 0;
  }
}

DWORD JcFetchProperties(DriverContext* ctx, DWORD mask) { return JcCommand(ctx, kJcCmdFetch, mask); }
DWORD JcPushOpen(DriverContext* ctx, DWORD mask) { return JcCommand(ctx, kJcCmdPushOpen, mask); }
DWORD JcClearAndPush(DriverContext* ctx, DWORD mask) { return JcCommand(ctx, kJcCmdClearAndPush, mask); }
DWORD JcOpen(DriverContext* ctx) { return JcCommand(ctx, kJcCmdOpen, 0); }
DWORD JcClose(DriverContext* ctx) { return JcCommand(ctx, kJcCmdClose, 0); }
DWORD JcRunPrinterCommand(DriverContext* ctx) { return JcCommand(ctx, kJcCmdPrinterCall, 0); }
DWORD JcFetchPropertiesOnce(DriverContext* ctx, DWORD mask) { return JcCommand(ctx, kJcCmdFetchOnce, mask); }
DWORD JcPushProperties(DriverContext* ctx, DWORD mask) { return JcCommand(ctx, kJcCmdPushOnce, mask); }

DWORD JcRunPrinterCommandUi(DriverContext* ctx) { return JcRunPrinterCommand(ctx); }
DWORD JcOpenUi(DriverContext* ctx) { return JcOpen(ctx); }
DWORD JcCloseUi(DriverContext* ctx) { return JcClose(ctx); }
DWORD JcFetchPropertiesUi(DriverContext* ctx, DWORD mask) { return JcFetchProperties(ctx, mask); }
DWORD JcPushOpenUi(DriverContext* ctx, DWORD mask) { return JcPushOpen(ctx, mask); }
DWORD JcClearAndPushUi(DriverContext* ctx, DWORD mask) { return JcClearAndPush(ctx, mask); }
DWORD JcFetchPropertiesOnceUi(DriverContext* ctx, DWORD mask) { return JcFetchPropertiesOnce(ctx, mask); }
DWORD JcPushPropertiesUi(DriverContext* ctx, DWORD mask) { return JcPushProperties(ctx, mask); }
DWORD JcSendLanguageUi(DriverContext* ctx) { return JcSendLanguage(ctx, 1); }
DWORD JcClearJobItemsUi(DriverContext* ctx, DWORD mask) { return JcClearJobItems(ctx, mask); }

// ---- job items in printer data ----

DWORD JcLoadJobItems(DriverContext* ctx, DWORD mask) {
  for (const JcPropertyMap& row : kJcPropertyMap) {
    if (!(mask & row.maskBit) || !ItemOfProperty(row.property)) continue;
    SettingItem* item = ItemFind(ctx, ItemOfProperty(row.property));
    if (item) StoreReadItemDefaultName(ctx->printer, ctx, item);
  }
  return 0;
}

DWORD JcSaveJobItems(DriverContext* ctx, DWORD mask) {
  for (const JcPropertyMap& row : kJcPropertyMap) {
    if (!(mask & row.maskBit) || !ItemOfProperty(row.property)) continue;
    SettingItem* item = ItemFind(ctx, ItemOfProperty(row.property));
    if (item) StoreWriteItemDefaultName(ctx->printer, ctx, item);
  }
  return 0;
}

DWORD JcClearJobItems(DriverContext* ctx, DWORD mask) {
  for (const JcPropertyMap& row : kJcPropertyMap) {
    if (!(mask & row.maskBit) || !ItemOfProperty(row.property)) continue;
    SettingItem* item = ItemFind(ctx, ItemOfProperty(row.property));
    if (!item) continue;
    if (row.property == 7)
      ItemSetRaw(ctx, item, 0);
    else
      ItemSetText(ctx, item, TEXT(""));
  }
  return 0;
}

// ---- questions and set-up ----

int JcOpenSessionChecked(DriverContext* ctx) {
  JcBlock* b = BlockOf(ctx);
  if (!b) return 0;
  // A session already open keeps the DLL it was opened with: unloading here would leave it
  // without its table.
  if (b->session && b->ops) return 1;
  if (JcLoadInterface(b, ctx)) return 0;
  int result = 0;
  if (b->ops->openSession) {
    DWORD session = 0;
    if (b->ops->openSession(PrnGetPrinterName(ctx), &session) == 0) {
      if (b->ops->closeSession) b->ops->closeSession(session);
      result = 1;
    }
  }
  JcUnloadInterface(b, ctx);
  return result;
}

void JcInitForPrinter(DriverContext* ctx) {
  if (!JcOpenSessionChecked(ctx)) {
    JcRunPrinterCommandUi(ctx);
    JcPrepareUserCode(ctx);
  }
  JcPushPropertiesUi(ctx, kJcMaskDriverIdentity);
}

int JcPrepareUserCode(DriverContext* ctx) {
  if (!UserCodeFromServer(ctx) || !ItemGetRawById(ctx, kItem_zdmLogCodeUse)) return 1;
  SettingItem* logCode = ItemFind(ctx, kItem_zdmLogCode);
  SettingItem* userCode = ItemFind(ctx, kItem_zdmUserCode);
  if (!logCode || !userCode) return 1;
  WCHAR code[16] = {};
  ItemGetTextBounded(ctx, logCode, code, 16);
  if (!code[0]) return 1;
  ItemSetText(ctx, userCode, code);
  JcPushPropertiesUi(ctx, kJcMaskUserCode);
  return 1;
}

DWORD JcSetMode(JcOps* ops, DWORD session, DWORD first, DWORD second) {
  if (!ops || !session || !ops->mode) return 0;
  return ops->mode(session, first, second);
}

DWORD JcGetInfo(JcOps* ops, DWORD session, DWORD code, DWORD* buffer) {
  if (!ops || !session || !ops->getInformation || !buffer) return 0;
  DWORD needed = 0;
  DWORD value = 0;
  DWORD r = ops->getInformation(session, code, 1, 4, &value, sizeof value, &needed);
  *buffer = value;
  return r;
}

DWORD JcInfoFlags(JcOps* ops, DWORD session) {
  if (!ops || !session) return 0;
  JcSetMode(ops, session, 2, 0);
  DWORD value = 0;
  if (JcGetInfo(ops, session, 9, &value)) value = 0;
  JcSetMode(ops, session, 0, 2);
  return value;
}

void* JcGetPrinterAlloc(HANDLE printer, DWORD level) { return PrnGetPrinterInfo(printer, level); }
