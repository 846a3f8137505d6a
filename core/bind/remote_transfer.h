// What the transfer's fetch and merge share: the client-file table, the two lists of the
// settings ini, the destination folders and the preset refresh mark.
#pragma once
#include "core/bind/remote_config.h"

// The client's bidi ini, the one row of the client-file table.
extern const WCHAR kBidiClientFile[];  // "OV00C171.ini"

struct RemoteClientFile {
  LPCWSTR name;
  int (*handler)(DriverContext* ctx, LPCWSTR copiedPath, RemoteLibrary* lib);
};
struct RemoteClientFileTable {
  const RemoteClientFile* first;
  const RemoteClientFile* last;
  const RemoteClientFile* begin() const { return first; }
  const RemoteClientFile* end() const { return last; }
};
RemoteClientFileTable RemoteClientFiles();

// A list of the settings ini: its count key, the key of its entries and the most entries taken.
struct RemoteListKind {
  LPCWSTR countKey;
  LPCWSTR listKey;
  int limit;
};
const RemoteListKind& RemotePresetList();
const RemoteListKind& RemoteQualityList();

// The leaf of a client's list entry: the text after its last backslash, or null when there is
// no backslash or the leaf is not a plain file name (RemoteLeafIsSafe).
LPCWSTR RemoteClientLeaf(LPCWSTR path);

// The per-printer folder as this machine reads it and as the library gets it (the
// "%SystemDrive%" form when it lies on the system drive).
struct TransferFolders {
  WCHAR local[MAX_PATH];
  WCHAR library[MAX_PATH];
};
int RemoteTransferFolders(DriverContext* ctx, TransferFolders* folders);

// "PresetRefresh" = 1 in printer data (4 bytes) and "1" in the printer's section of its
// settings ini.
void RemoteSetPresetRefresh(DriverContext* ctx);
