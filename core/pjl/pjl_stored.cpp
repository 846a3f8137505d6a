// The service's answers from stored settings: the "@PJL SET" lines of the stored watermarks,
// the path of the printer's settings ini and the printer's DEVMODE in ANSI form.
#include <stddef.h>
#include <string.h>

#include <vector>

#include "core/common/text.h"
#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/devmode/dm_layout.h"
#include "core/devmode/dm_merge.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/model/model_types.h"
#include "core/pjl/pjl_service.h"
#include "core/pjl/pjl_text.h"
#include "core/store/settings_stores.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"

namespace {

constexpr DWORD kKeyBoth = 0xF0;
constexpr DWORD kTypeFixed = 0;

struct WatermarkRow {
  DWORD key;
  DWORD skip;
  DWORD type;
  DWORD setting;
};

// In writing order; key 0 text watermarks, 1 image ones, 16 both.
const WatermarkRow kWatermarkRows[] = {
    {0, 0, kPjlTypeText, kItem_wdmWmChar},         {1, 0, kPjlTypeText, kItem_wdmWmImage},
    {16, 2, kPjlTypeTwoState, kItem_wdmWmPage},    {16, 0, kPjlTypeNumber, kItem_wdmWmStartPage},
    {16, 0, kPjlTypeNumber, kItem_wdmWmEndPage},   {16, 0, kTypeFixed, 0},
    {16, 0, kPjlTypeList, kItem_wdmWmPosi},        {16, 0, kPjlTypeTwoState, kItem_wdmWmOpaque},
    {0, 0, kPjlTypeNumber, kItem_wdmWmDensity},    {1, 0, kPjlTypeNumber, kItem_wdmWmFontScale},
    {0, 0, kPjlTypeList, kItem_wdmWmEffect},       {0, 0, kPjlTypeNumber, kItem_wdmWmAngle},
    {0, 0, kPjlTypeText, kItem_wdmWmFontName},     {0, 0, kPjlTypeNumber, kItem_wdmWmFontPoint},
    {0, 0, kPjlTypeList, kItem_wdmWmFontStyle},    {0, 0, kPjlTypeNumber, kItem_wdmWmColorR},
    {0, 0, kPjlTypeNumber, kItem_wdmWmColorG},     {0, 0, kPjlTypeNumber, kItem_wdmWmColorB},
};
const char* const kFixedLine[2] = {"WMKORDER", "PAPER"};

// Appends text without a trailing (dropEnd) or leading double quote.
int AppendTrimmed(TextBuffer* buffer, const char* text, bool dropEnd) {
  if (!text) return 0;
  size_t n = strlen(text);
  if (dropEnd && n && text[n - 1] == '"') --n;
  if (!dropEnd && n && text[0] == '"') ++text, --n;
  if (PjlTextReserve(buffer, static_cast<int>(n)) != 0) return -1;
  memcpy(buffer->data + buffer->length, text, n);
  buffer->length += static_cast<int>(n);
  buffer->data[buffer->length] = 0;
  return 0;
}

// One row of a watermark block; a row whose value gives no text is taken back whole.
int WriteRow(TextBuffer* buffer, DriverContext* ctx, const WatermarkRow& row) {
  if (row.type == kTypeFixed) return PjlAppendSetLine(buffer, kFixedLine[0], kFixedLine[1]);
  const ModelItemDescriptor* desc = PjlFindCommandNode(ctx, row.setting, 0);
  if (!desc) return 0;
  const OptionCommandPair* cmd = desc->commands;
  const LONG_PTR value = ItemGetValueById(ctx, static_cast<WORD>(row.setting));
  const int before = buffer->length;
  if (cmd && AppendTrimmed(buffer, cmd->first, true) != 0) return -1;
  const int mark = buffer->length;
  if (PjlAppendNodeValue(buffer, ctx, desc, value, row.type) != 0) return -1;
  if (buffer->length == mark) {
    buffer->length = before;
    if (buffer->data) buffer->data[before] = 0;
    return 0;
  }
  if (cmd && AppendTrimmed(buffer, cmd->second, false) != 0) return -1;
  return 0;
}

int WriteBlock(TextBuffer* buffer, DriverContext* ctx, int kind) {
  const int start = buffer->length;
  const size_t rows = sizeof(kWatermarkRows) / sizeof(kWatermarkRows[0]);
  for (size_t i = 0; i < rows; ++i) {
    const WatermarkRow& row = kWatermarkRows[i];
    if (row.key != static_cast<DWORD>(kind) && !(row.key & kKeyBoth)) continue;
    if (WriteRow(buffer, ctx, row) != 0) return -1;
    if (row.skip == 0) continue;
    if (row.setting == kItem_wdmWmPage && ItemGetValueById(ctx, static_cast<WORD>(row.setting)) != 0) continue;
    i += row.skip;
  }
  if (buffer->length > start && PjlTextAppendChar(buffer, 0) != 0) return -1;
  return 0;
}

// The printer named in the ANSI code page, opened; null when the name is null or not shorter
// than MAX_PATH, cannot be converted or names no printer.
HANDLE OpenByAnsiName(const char* name) {
  if (!name || strnlen(name, MAX_PATH) >= MAX_PATH) return nullptr;
  WCHAR wide[MAX_PATH] = {};
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, name, -1, wide, MAX_PATH) <= 0) return nullptr;
  HANDLE printer = nullptr;
  return OpenPrinterW(wide, &printer, nullptr) ? printer : nullptr;
}

}  // namespace

int ExcServiceGetWaterMarkList(ExcHandle* handle, int kind, int size, char* buffer, int* length) {
  if (!handle || !handle->context) return -1;
  DriverContext* ctx = handle->context;
  BYTE* block = CtxGetSettings(ctx);
  if (!block) return -1;
  // Selecting a watermark loads work items as well as DEVMODE ones: the whole block goes back.
  std::vector<BYTE> saved;
  try {
    saved.assign(block, block + kSettingsBlockSize);
  } catch (...) {
    return -1;
  }
  TextBuffer text{};
  int result = PjlTextInit(&text) == 0 ? 0 : -1;
  const int count = result == 0 ? StampGetCount(ctx) : 0;
  for (int n = 0; n < count && result == 0; ++n) {
    StampSelect(ctx, n);
    const LONG_PTR wmKind = ItemGetRawById(ctx, kItem_zdmWmKind);
    if ((wmKind == 1 && kind == 0) || (wmKind == 2 && kind != 0))
      result = WriteBlock(&text, ctx, kind);
  }
  memcpy(block, saved.data(), saved.size());
  if (result == 0) {
    if (length) *length = 0;
    if (text.length > 0) {
      if (PjlTextAppendChar(&text, 0) != 0) result = -1;
      else result = PjlGiveText(text.data, text.length, size, buffer, length);
    }
  }
  PjlTextFree(&text);
  return result;
}

int ExcServiceGetIniFileName(const char* name, int size, char* buffer, int* length) {
  HANDLE printer = OpenByAnsiName(name);
  if (!printer) return -1;
  WCHAR path[MAX_PATH] = {};
  const int perUser = OsIsMultiSessionHost(printer) ? 1 : 0;
  const int found = PathSettingsFileFor(path, perUser, printer);
  ClosePrinter(printer);
  if (!found || !path[0]) return -1;
  char ansi[MAX_PATH] = {};
  if (WideCharToMultiByte(CP_ACP, 0, path, -1, ansi, MAX_PATH, nullptr, nullptr) <= 0) return -1;
  const int needed = ansi[0] ? static_cast<int>(strlen(ansi)) + 1 : 0;
  if (length) *length = needed;
  if (needed == 0) return 0;
  if (!buffer || size < needed) return 1;
  memcpy(buffer, ansi, static_cast<size_t>(needed));
  return 0;
}

namespace {

constexpr size_t kAnsiSpecAt = 32;     // dmSpecVersion after the 32-byte device name
constexpr size_t kAnsiFormAt = 70;     // dmFormName
constexpr size_t kAnsiRestAt = 102;    // dmLogPixels
constexpr size_t kSpecBytes = 38;      // dmSpecVersion through dmCollate
constexpr size_t kNameBytes = 32;

}  // namespace

void ExcPutDeviceName(BYTE* field, const char* name) {
  memset(field, 0, kNameBytes);
  memcpy(field, name, static_cast<size_t>(StrAnsiCutLength(name, kNameBytes - 1)));
}

// Without a source of the caller's: the context's own DEVMODE after a plain merge.
static const BYTE* ExcFetchDevmode(DriverContext* ctx) {
  if (!MergeDevmode(ctx, nullptr, 0)) return nullptr;
  return CtxGetSettings(ctx);
}

int ExcServiceGetDriverDevmode(const char* name, int flags, int size, void* buffer, int* length,
                               ExcDevmodeSource fetch) {
  if (length) *length = kExcAnsiDevmodeSize;
  if (!buffer || size < kExcAnsiDevmodeSize) return 1;
  if (flags != 1) return -1;
  HANDLE printer = OpenByAnsiName(name);
  if (!printer) return -1;
  DriverContext* ctx = CtxOpenByKind(printer, printer, nullptr, kKindExclusion);
  int result = -1;
  const BYTE* source = ctx ? (fetch ? fetch(ctx, name) : ExcFetchDevmode(ctx)) : nullptr;
  if (source) {
    const DEVMODEW* dm = reinterpret_cast<const DEVMODEW*>(source);
    BYTE* out = static_cast<BYTE*>(buffer);
    memset(out, 0, kExcAnsiDevmodeSize);
    memcpy(out + kAnsiSpecAt, &dm->dmSpecVersion, kSpecBytes);
    // Everything after the wide form name, bounded by the source's DEVMODE area and the answer.
    const size_t restAt = offsetof(DEVMODEW, dmLogPixels);
    size_t rest = static_cast<size_t>(dm->dmSize) + dm->dmDriverExtra;
    rest = rest > restAt ? rest - restAt : 0;
    const size_t room = kExcAnsiDevmodeSize - kAnsiRestAt;
    const size_t have = static_cast<size_t>(TblDevmodeSize()) - restAt;
    if (rest > room) rest = room;
    if (rest > have) rest = have;
    memcpy(out + kAnsiRestAt, source + restAt, rest);
    WORD reduced = static_cast<WORD>(dm->dmSize >= 64 ? dm->dmSize - 64 : 0);
    memcpy(out + kAnsiSpecAt + 4, &reduced, sizeof(reduced));
    WCHAR form[kNameBytes + 1] = {};
    memcpy(form, dm->dmFormName, sizeof(dm->dmFormName));
    char ansiForm[kNameBytes] = {};
    int formChars = 0;
    while (formChars < static_cast<int>(kNameBytes) && form[formChars]) ++formChars;
    if (formChars) WideCharToMultiByte(CP_ACP, 0, form, formChars, ansiForm, kNameBytes, nullptr, nullptr);
    memcpy(out + kAnsiFormAt, ansiForm, kNameBytes);
    ExcPutDeviceName(out, name);
    result = 0;
  }
  if (ctx) CtxClose(ctx);
  CtxCacheExpire(TRUE);
  ClosePrinter(printer);
  return result;
}
