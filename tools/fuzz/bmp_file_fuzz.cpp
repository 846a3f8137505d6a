// Fuzz target: any bytes as a bitmap file the user names for a watermark, opened by the check
// the image dialog's OK runs. The answer must be 1 exactly when the info-header size word at
// byte 14 is 40, with an open file then and none otherwise. The same file is then read as a
// picture: a bitmap comes back exactly when the header check accepts the bytes, with the
// header's size, and the parts it names lie inside the file. A crash, a sanitizer report or a
// wrong answer is a finding. At start a machine is made in a temporary folder.
#include <stdint.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "core/common/draw_ui.h"
#include "core/system/resources.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

const WCHAR kPath[] = TEXT("C:\\fuzz.bmp");

bool MakeMachine() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zems-bmp-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return false;
  SimSetMachineRoot(pattern.c_str());
  return true;
}

bool WriteAll(const uint8_t* data, size_t size) {
  HANDLE h = CreateFileW(kPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = !size || (WriteFile(h, data, DWORD(size), &written, nullptr) && written == size);
  CloseHandle(h);
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!MakeMachine()) abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!WriteAll(data, size)) abort();
  HANDLE file = nullptr;
  const int opened = ResOpenBmpFile(kPath, &file);
  const bool headerIs40 =
      size >= 18 && (data[14] | data[15] << 8 | data[16] << 16 | static_cast<uint32_t>(data[17]) << 24) == 40;
  if (opened != (headerIs40 ? 1 : 0)) abort();
  if (opened == 1 && file == INVALID_HANDLE_VALUE) abort();
  if (opened == 0 && file != INVALID_HANDLE_VALUE) abort();
  if (opened) CloseHandle(file);

  BmpLayout layout = {};
  const BOOL accepted = ResCheckBmpHeaders(data, DWORD(size), DWORD(size), &layout);
  if (accepted && (!opened || uint64_t(layout.pixelsOffset) + layout.imageSize > size || layout.width <= 0 ||
                   layout.width > kBmpMaxSide))
    abort();
  LONG width = -1, height = -1;
  HBITMAP bitmap = ResLoadBmpFile(kPath, &width, &height);
  if ((bitmap != nullptr) != (accepted != FALSE)) abort();
  if (bitmap ? (width != layout.width || height != (layout.height < 0 ? -layout.height : layout.height))
             : (width != 0 || height != 0))
    abort();
  DuiDeleteBitmap(bitmap);
  return 0;
}
