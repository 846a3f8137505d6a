// Fuzz target: the one-pass settings ini reader on any bytes as the file. The first byte picks
// the system code page (1252 or 932), the rest is the file. Every section and key name the ini
// calls list, and the raw pieces of every line, are looked up through both the reader and the
// ini calls with several buffer sizes; any difference aborts, as does a crash or a sanitizer
// report. At start a machine is made in a temporary folder.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sim.h"
#include "platform/win32.h"
#include "support/ini_table_compare.h"

namespace {

const WCHAR kPath[] = TEXT("C:\\set\\fuzz.ini");

bool MakeMachine() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zems-ini-table-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return false;
  SimSetMachineRoot(pattern.c_str());
  return CreateDirectoryW(TEXT("C:\\set"), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteAll(const std::string& bytes) {
  HANDLE h = CreateFileW(kPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = bytes.empty() || (WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size());
  CloseHandle(h);
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!MakeMachine()) abort();  // no machine: nothing could be fuzzed
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 4096) return 0;
  SimSetAnsiCodePage(data[0] & 1 ? 932 : 1252);
  std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
  if (!WriteAll(file)) abort();
  std::vector<std::u16string> names = zems_test::IniLookupNames(file, kPath, {u"", u"S", u"k"});
  // Every name is tried as a section and as a key of each: a bounded set keeps runs fast.
  if (names.size() > 32) {
    std::vector<std::u16string> some;
    for (size_t i = 0; i < 32; ++i) some.push_back(names[i * names.size() / 32]);
    names.swap(some);
  }
  std::string difference = zems_test::CompareIniTableWithIniCalls(file, kPath, names);
  if (!difference.empty()) {
    fprintf(stderr, "ini_table_fuzz: %s\n", difference.c_str());
    abort();
  }
  return 0;
}
