// The model-description file: found through the spooler (the driver's data file), mapped
// read-only and cut into statements "*Keyword[ Word1[ Word2]]: Value".
#pragma once
#include "platform/win32.h"

// Character classes of the model-description language, one byte per byte value. Bytes
// 0x7F-0xFF (lead bytes of double-byte text among them) belong to no class.
enum : BYTE {
  kModelCharSeparator = 0x01,
  kModelCharKeyword = 0x02,
  kModelCharWord = 0x04,
  kModelCharPrintable = 0x08,
  kModelCharBlank = 0x10,
  kModelCharLineEnd = 0x20,
  kModelCharHexLetter = 0x40,
  kModelCharDigit = 0x80,
};
extern const BYTE ModelCharClass[256];

inline bool ModelCharIs(BYTE c, BYTE cls) { return (ModelCharClass[c] & cls) != 0; }

// Results of ModelReadStatement.
enum : int {
  kModelReadOk = 0,
  kModelReadEnd = 1,
  kModelReadSyntax = 3,
  kModelReadNoMemory = 4,
};

struct ModelDataReader {
  const BYTE* view;  // mapped view (owned when mapped), or the caller's bytes
  const BYTE* pos;
  DWORD left;
  UINT codePage;  // code page whose lead bytes pair with the next byte
  BOOL mapped;
};

// A growable narrow text, always terminated.
struct ModelTextBuffer {
  DWORD capacity;
  DWORD length;
  char* text;
};

struct ModelStatementReader {
  ModelTextBuffer keyword;
  ModelTextBuffer word1;
  ModelTextBuffer word2;
  ModelTextBuffer value;
};

// Path of the printer's data file (pDataFile of DRIVER_INFO_2) as a new zeroed wide string
// that the caller frees with MemFree; NULL when the spooler cannot name it.
LPWSTR ModelGetDataFilePath(HANDLE printer);

// Maps the whole file read-only and keeps only the view (UnmapViewOfFile releases it). An
// empty or missing file fails. size may be NULL.
BOOL ModelMapFile(LPCWSTR path, const BYTE** view, DWORD* size);

// A byte reader over the mapped data file, or NULL when the file cannot be mapped.
ModelDataReader* ModelOpenDataReader(LPCWSTR path);
// A byte reader over bytes the caller keeps alive (the same statements as a file holding
// them). codePage 0 takes the system ANSI code page.
ModelDataReader* ModelOpenMemoryReader(const void* bytes, DWORD cbBytes, UINT codePage);
void ModelCloseDataReader(ModelDataReader* reader);

// 0 with the next byte, 1 when no bytes are left.
int ModelReadByte(ModelDataReader* reader, BYTE* out);

// Statement reader with its four buffers, or NULL when any could not be had.
ModelStatementReader* ModelNewStatementReader();
void ModelFreeStatementReader(ModelStatementReader* reader);

// Reads the next statement: 0 read, 1 end of data, 3 syntax error (that statement only; the
// next call goes on after it), 4 out of memory. A last statement that the data ends without a
// line end is still read.
int ModelReadStatement(ModelStatementReader* statement, ModelDataReader* data);

// Number of '\n' bytes among the count bytes at text.
DWORD ModelCountLineFeeds(const void* text, DWORD count);

// Value of the first "FileVersion" statement of the data file, converted to UTF-16 into a
// buffer of 15 characters (at most 14 kept). Leaves the buffer as it was when there is no such
// statement or the file cannot be read. Always returns 1.
int ModelScanFileVersion(LPCWSTR path, WCHAR* version);
