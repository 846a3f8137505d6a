// Fuzz target: the guards of the print-type and authentication fields over what a user pastes
// and what the settings ini names. The first byte picks the ANSI code page (1252 or 932) and
// the limit in characters; the second splits the rest into the clipboard's bytes and a UTF-16
// job-merge folder setting and name. The paste checks must never read past the bytes given, a
// text without a quote byte must pass the quote check, and the job-merge folder and file must
// stay inside their buffers and be terminated. A crash, a sanitizer report or a broken rule is
// a finding.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/modules/input_filters.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

bool MakeMachine() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zems-guard-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return false;
  SimSetMachineRoot(pattern.c_str());
  return true;
}

std::vector<WCHAR> Wide(const uint8_t* data, size_t size) {
  std::vector<WCHAR> text(size / 2 + 1, 0);
  memcpy(text.data(), data, (size / 2) * sizeof(WCHAR));
  return text;
}

bool Terminated(const WCHAR* text, int cch) {
  for (int i = 0; i < cch; ++i)
    if (text[i] == 0) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = MakeMachine();
  if (!ready || size < 2) return 0;
  const UINT codePage = (data[0] & 0x80) ? 932 : 1252;
  SimSetAnsiCodePage(codePage);
  const int limit = data[0] & 0x7F;
  const size_t split = static_cast<size_t>(data[1]) < size - 2 ? data[1] : size - 2;
  const uint8_t* rest = data + 2;

  // The clipboard's bytes in a block of exactly their size: a read past it is a finding.
  std::vector<char> bytes(rest, rest + split);
  const char* clip = bytes.empty() ? "" : bytes.data();
  const int length = static_cast<int>(bytes.size());
  InpPasteLettersAndDigits(clip, length, limit, codePage);
  InpPasteNameFilter(clip, length, limit, codePage);
  const BOOL withoutQuote = InpPasteWithoutQuote(clip, length, limit, codePage);
  if (!memchr(clip, '"', bytes.size()) && !withoutQuote) abort();

  // The job-merge setting and name from the ini and the edit: two UTF-16 texts.
  const size_t tail = size - 2 - split;
  std::vector<WCHAR> setting = Wide(rest + split, tail / 2);
  std::vector<WCHAR> name = Wide(rest + split + tail / 2, tail - tail / 2);
  WCHAR folder[MAX_PATH];
  WCHAR file[MAX_PATH];
  if (InpExpandJobMergeFolder(setting.data(), u"C:\\WINDOWS", folder, MAX_PATH)) {
    if (!Terminated(folder, MAX_PATH)) abort();
    if (InpJoinJobMergeFile(folder, name.data(), u"omp", file, MAX_PATH) && !Terminated(file, MAX_PATH)) abort();
  }
  InpJobMergeNameValid(name.data());
  for (WCHAR ch : name) {
    InpCharPasses(kInpFilterName, ch);
    InpCharPasses(kInpFilterText, ch);
    InpCharPasses(kInpFilterPrintable, ch);
  }
  return 0;
}
