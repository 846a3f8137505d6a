// The job-header text: the model's JobStart, PageStart and PageEnd command groups walked against
// the settings of the job's context into "@PJL SET" lines and the model's own texts, with the
// header's special kinds (date, names, paths, margins, chapters, colour-data file), and the
// process's header text table that escape 122 fills.
#pragma once
#include <stddef.h>

#include "core/pjl/pjl_text.h"
#include "core/system/resources.h"
#include "platform/win32.h"

struct DriverContext;
struct ModelItemDescriptor;
struct CommandBlock;
struct SettingItem;

// ---- lookups of this build ----

// The any-index flag of an option command: it answers every command index.
constexpr WORD kOptionAnyIndex = 0x1000;
// The first descriptor of the list with the symbol and either the command index or the any-index
// flag; null when there is none.
const ModelItemDescriptor* OptionCommandFind(WORD symbol, WORD index, DriverContext* ctx);
// The low byte of the type word of the item's descriptor (1 list types, 2 PickMany, 4 Boolean,
// 8 Numeric, 0x10 String); 0 without a descriptor.
int ModelGetBaseType(DriverContext* ctx, WORD id);
// The printer data value "LogFileName" as ANSI text into buffer (cbBuffer bytes, terminated):
// 1 when read, 0 without a buffer, a size or a value.
int GrReadLogFileName(DriverContext* ctx, char* buffer, DWORD cbBuffer, HANDLE printer);

// Characters of a wide text before its NUL, at most limit.
inline size_t JobWideLength(const WCHAR* text, size_t limit) {
  size_t n = 0;
  while (n < limit && text[n]) ++n;
  return n;
}

// ---- the walk ----

// What the walk of one block keeps beside its text: the clock and "LogFileName" are read at
// most once per block.
struct HeaderWalk {
  DriverContext* ctx;
  TextBuffer* out;
  bool clockRead;
  SYSTEMTIME clock;
  int logRead;  // 0 not yet, 1 read, -1 none
  char logName[MAX_PATH + 1];
  bool lost;  // a piece of the current entry found no memory: the entry gives no text
};

// Walks one command group into out. The walk's result: -1 when an item or option command is
// missing or an entry kind is outside 1-4 (the block must not be sent), otherwise the result of
// the last entry (0), or 1 when it was 0 but text was produced.
int JobBuildCommandList(DriverContext* ctx, const CommandBlock* group, TextBuffer* out);
// The three groups with the caller's buffer: without a buffer they measure (result as above,
// the byte count in *cbOut); with one they write the text when it fits (-1 when it does not).
int JobHeaderList(DriverContext* ctx, DWORD cbBuffer, char* buffer, DWORD* cbOut);
int JobPageHeaderList(DriverContext* ctx, DWORD cbBuffer, char* buffer, DWORD* cbOut);
int JobPageEndList(DriverContext* ctx, DWORD cbBuffer, char* buffer, DWORD* cbOut);
// The block builders the job sequence sends (one pass each).
int JobStartCommands(DriverContext* ctx, TextBuffer* out);
int JobPageStartCommands(DriverContext* ctx, TextBuffer* out);
int JobPageEndCommands(DriverContext* ctx, TextBuffer* out);

// "@PJL SET " key " = " value " \r\n"; nothing for a null value. The value is cleaned as every
// value from settings is ('"' as an apostrophe, control bytes as blanks).
void JobWritePjlSetLine(HeaderWalk* walk, const char* key, const char* value);
// prefix (when present) + the cleaned value text (when present) + suffix (when present).
void JobWriteCommandText(HeaderWalk* walk, const ModelItemDescriptor* command, const char* value);
// The cleaned value alone: '"' as an apostrophe, control bytes as blanks.
void JobAppendValue(HeaderWalk* walk, const char* value, size_t cb);

// Kinds 101 and 102: writes the colour-data file of the option command (index = its command
// index); 1 when the kind is one of the two (also when nothing was written), 0 otherwise.
int SelectColorDataFile(HeaderWalk* walk, WORD kind, const ModelItemDescriptor* command, WORD index);

// ---- the header text table (one per process, behind its own lock) ----

// Copies the caller's rows (cbRows bytes) into the table row by row: only whole rows, at most
// the table's; texts terminated. Codes and string ids stay.
void JobTextTableFill(const HelpStringRow* rows, DWORD cbRows);
// The text of the row with this code: loaded from the language DLL first when the row is
// empty; false when no row has the code (text then untouched). text holds kHelpStringChars.
bool JobTextTableText(DriverContext* ctx, WORD code, WCHAR* text);
// Back to the static rows with empty texts (tests).
void JobTextTableReset();
