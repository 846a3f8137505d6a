// Fuzz target: any answer of a common file dialog, taken as the driver takes it. The first two
// bytes are the name offset the dialog gave, the rest the file buffer's characters (not
// necessarily terminated). The folder taken must be terminated within its 260 characters and
// the offset answered must lie within the answer; a name typed by the user (the same bytes)
// joined to that folder must stay within 259 characters. A crash, a sanitizer report or a
// broken bound is a finding.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "core/front/dialog_engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const WORD offset = static_cast<WORD>(data[0] | (data[1] << 8));
  const size_t count = (size - 2) / 2;
  std::vector<WCHAR> file(count ? count : 1);
  for (size_t i = 0; i < count; ++i) file[i] = static_cast<WCHAR>(data[2 + 2 * i] | (data[3 + 2 * i] << 8));
  WCHAR folder[260];
  const WORD taken = DlgChosenFileFolder(file.data(), static_cast<DWORD>(count), offset, folder);
  size_t folderLength = 0;
  while (folderLength < 260 && folder[folderLength]) ++folderLength;
  if (folderLength >= 260) abort();
  size_t length = 0;
  while (length < count && file[length]) ++length;
  if (taken > length) abort();
  // The same characters as a typed name, terminated.
  std::vector<WCHAR> name(file.begin(), file.end());
  name.push_back(0);
  WCHAR path[260];
  const int joined = DlgJoinPath(path, folder, name.data());
  size_t pathLength = 0;
  while (pathLength < 260 && path[pathLength]) ++pathLength;
  if (pathLength >= 260 || (!joined && pathLength)) abort();
  return 0;
}
