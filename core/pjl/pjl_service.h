// The exclusion command service: an exclusion handle holds a printer's driver context, the
// variables of a job's "@PJL SET" lines (the command base) as setting values, the base text
// and the text of the lines the printer's rules changed. The PJL variable table
// (core/tables/pjl_table.h) maps variables to settings. zemsexc exports the service.
#pragma once
#include "core/context/driver_context.h"
#include "core/pjl/pjl_text.h"
#include "core/tables/pjl_table.h"
#include "platform/win32.h"

struct ModelItemDescriptor;

// Setting ids 1-724 have a slot each; 1-722 are setting items, 724 holds BOOKLET.
constexpr int kExcSlotCount = 724;
constexpr DWORD kExcLastItemSlot = 722;
// Names of printers and of variables: the longest accepted.
constexpr int kExcNameChars = 260;

struct ExcHandle {
  DriverContext* context;
  HANDLE printer;
  int count;           // kExcSlotCount once the handle is complete
  BYTE* present;       // present[id - 1]: the command base holds setting id
  LONG* values;        // values[id - 1]: the value held for it
  int baseLength;      // with its NUL; 0 without a base
  char* baseText;
  int changeLength;    // with its NUL; 0 without a change text
  char* changeText;
};

// ---- the handle ----
// A handle for the printer (ANSI name), or null: a null name, one of 260 characters or more,
// a printer that cannot be opened, no context, no memory. Nothing is left allocated then.
ExcHandle* ExcOpenHandle(const char* name);
// Frees the handle and all it holds; null is ignored.
void ExcFreeHandle(ExcHandle* handle);
// Closes a held context (destroying the cached ones), opens a fresh one for the printer,
// refreshes the installed options and takes the job-control user code into zdmUserCode.
// 0, or -1 when no context could be opened.
int ExcOpenContext(ExcHandle* handle, int refresh);
// Clears every slot, drops the change and the base text; with reopen, ExcOpenContext(0).
int ExcReset(ExcHandle* handle, int reopen);
// Frees the change text; changeLength 0.
void ExcDropChange(ExcHandle* handle);
// The printer's installed options for the handle's context: 1 when stored acquisition results
// apply (zdmBiDirect then follows the bidi support gate); else with refresh the result of an
// acquisition from the printer (no window); else zdmBiDirect 0 and 0.
int ExcRefreshOptions(ExcHandle* handle, int refresh);

// ---- the variable table ----
// The first row named `name` (case-sensitive) when its modes share a bit with the mask and a
// printer-option row's requirement holds; else null.
const PjlVariable* PjlFindVariable(ExcHandle* handle, const char* name, DWORD modeMask);
// The first row of the setting when its modes share a bit with the mask, else null.
const PjlVariable* PjlFindVariableById(DWORD setting, DWORD modeMask, DriverContext* ctx);
// The carrier of a setting without a row (61 -> 119), or 0.
DWORD PjlFindAliasId(DWORD setting);
// Item of a row by word: the first whose requirement holds, else the first with the word.
const PjlValueEntry* PjlFindValueItem(DriverContext* ctx, const PjlVariable* row, const char* word);
// Nonzero when the item may be offered.
int PjlIsValueAllowed(DriverContext* ctx, const PjlVariable* row, const PjlValueEntry* item);
// The zdmDuplexType value for a BINDING item value under the held BOOKLET value.
LONG PjlBindingValueToSetting(ExcHandle* handle, LONG value);
// Recomputes the held BOOKLET value from the held zdmDuplexType value.
void PjlSettingToBindingValue(ExcHandle* handle);
// The item whose word is written for a value: the first with that value or the default item,
// each of whose present dependents holds its value; null when none.
const PjlValueEntry* PjlChooseValueItem(ExcHandle* handle, const PjlVariable* row, LONG value);
// Value lists of a row (null for rows without one).
const PjlValueList* PjlRowValues(const PjlVariable* row);

// ---- values through the model description ----
// The item descriptor of a setting for its option command (see the .cpp), or null.
const ModelItemDescriptor* PjlFindCommandNode(DriverContext* ctx, DWORD setting, DWORD variant);
// Word -> setting value / value -> text through the descriptor by the row's type.
LONG_PTR PjlParseNodeValue(DriverContext* ctx, const ModelItemDescriptor* desc, DWORD type, const char* word);
// A number word of an option-command row as the setting value it settles on: scaled, then
// brought into the description's numeric range and the item's width. False for a word that
// is not a decimal number (the setting is then left as it was).
bool PjlSettleNumber(DriverContext* ctx, const ModelItemDescriptor* desc, const char* word, LONG* value);
// Bytes needed with the NUL (0: no text); the text is written only when it fits capacity.
int PjlFormatNodeValue(DriverContext* ctx, const ModelItemDescriptor* desc, LONG_PTR value, DWORD type,
                       int capacity, char* destination);
int PjlAppendNodeValue(TextBuffer* buffer, DriverContext* ctx, const ModelItemDescriptor* desc, LONG_PTR value,
                       DWORD type);
// The line of one variable with the value held for its slot.
int PjlWriteVariable(TextBuffer* buffer, ExcHandle* handle, const PjlVariable* row, LONG value);
// Number scaling of an option-command number: the model's C and S, the unit kind and r.
LONG PjlScaleIn(LONG number, DWORD c, DWORD s, bool dotsUnit, DWORD resolution);
LONG PjlScaleOut(LONG value, DWORD c, DWORD s, bool dotsUnit, DWORD resolution);

// ---- command base and changes ----
int PjlApplyVariable(ExcHandle* handle, const PjlVariable* row, const char* name, const char* word, int update);
void PjlSetVariable(ExcHandle* handle, DWORD id, LONG value, int update);
int PjlStoreValue(ExcHandle* handle, DWORD id, LONG value);
int PjlValueDiffers(ExcHandle* handle, DWORD id, LONG value);
int PjlHasDependencies(ExcHandle* handle, const PjlVariable* row);
void PjlReadBackValues(ExcHandle* handle);
int PjlCheckMandatory(ExcHandle* handle);
int PjlWriteAllVariables(TextBuffer* buffer, ExcHandle* handle);
// With a handle, a base line of a present list variable whose settled value has no word (so
// the new text has no line for it) is reported with an empty value.
int PjlDiffBase(TextBuffer* buffer, const char* base, const char* newText, const char* expected,
                ExcHandle* handle = nullptr);
int PjlRebuildBase(TextBuffer* buffer, ExcHandle* handle, const char* base, const char* newText, const char* update);
int PjlBuildChanges(ExcHandle* handle, const char* update);
// The lines of a command base applied to a handle whose slots are clear, the mandatory check,
// the base text kept and the changes built: 1, 0, -1 (a line that does not parse, no memory)
// or -2 (null text, a mandatory variable missing). The caller resets the handle on failure.
int PjlSetBaseLines(ExcHandle* handle, const char* text);
// The first line of text as an update: 1, 0 (no line, unknown or absent variable) or -1.
int PjlUpdateLine(ExcHandle* handle, const char* text);

// The getter convention: copies `length` bytes of text when size allows. 0 copied (or
// nothing to copy), 1 too small; *out (when given) gets length.
int PjlGiveText(const char* text, int length, int size, char* buffer, int* out);

// The service's calls; the exports of zemsexc forward to them unchanged.
int ExcServiceSetCommandBase(ExcHandle* handle, const char* text, int* changeLength);
int ExcServiceGetCommandBase(ExcHandle* handle, int size, char* buffer, int* length);
int ExcServiceUpdateCommand(ExcHandle* handle, const char* text, int* changeLength);
int ExcServiceGetCommandChange(ExcHandle* handle, int size, char* buffer, int* length);
int ExcServiceGetCommandValue(ExcHandle* handle, const char* name, int allowedOnly, int size, char* buffer,
                              int* length);
int ExcServiceGetPrinterOption(ExcHandle* handle, const char* name, int size, char* buffer, int* length);
int ExcServiceGetPrinterValue(ExcHandle* handle, const char* name, int size, char* buffer, int* length);

// ---- value lists ----
// 1 when setting the item leaves it standing and moves nothing else in the base.
int PjlTryValue(ExcHandle* handle, const PjlVariable* row, const PjlValueEntry* item, LONG value, const char* text);
// The value the engine settles on for a number row's value.
LONG PjlResolveNumber(DriverContext* ctx, const PjlVariable* row, LONG value);
// The words of a setting's row that ItemTrialValue accepts, in the getter convention; a null
// buffer only measures (1 when there is anything).
int PjlListSettingWords(DriverContext* ctx, DWORD setting, int size, char* buffer, int* length);

// ---- stored settings: the watermark lines, the settings ini's name and the ANSI DEVMODE ----
// The getter convention throughout; a null buffer only measures.
// The "@PJL SET" lines of every stored watermark of a kind (0 text, else image): -1 for a null
// handle or one without context or no memory; 0 with length 0 when nothing is stored.
int ExcServiceGetWaterMarkList(ExcHandle* handle, int kind, int size, char* buffer, int* length);
// The full ANSI path of the printer's settings ini; -1 when the printer cannot be opened or
// has no settings folder. The printer is closed on every path.
int ExcServiceGetIniFileName(const char* name, int size, char* buffer, int* length);
// Bytes of the ANSI DEVMODE (the NT layout on every system).
constexpr int kExcAnsiDevmodeSize = 1172;
// The printer's current DEVMODE as DEVMODEA (kExcAnsiDevmodeSize bytes): 1 when the buffer is
// null or too small, -1 for flags other than 1 or a printer or context that cannot be had.
// Where the DEVMODE comes from: the context's settings block brought up to date, or null on
// failure. Without a source the context's own DEVMODE after a plain merge stands in.
typedef const BYTE* (*ExcDevmodeSource)(DriverContext* ctx, const char* name);
int ExcServiceGetDriverDevmode(const char* name, int flags, int size, void* buffer, int* length,
                               ExcDevmodeSource source = nullptr);
// The printer name into the 32-byte dmDeviceName of a DEVMODEA: at most 31 bytes, never half
// a double-byte character (the ANSI code page's lead bytes); the rest zeroed.
void ExcPutDeviceName(BYTE* field, const char* name);
