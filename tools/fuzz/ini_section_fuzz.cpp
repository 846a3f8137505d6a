// Fuzz target: the section rewrite of the settings-file writer on any bytes as the old file.
// The first byte picks the section written, the rest is the file. Every section the ini calls
// read before the rewrite must read the same afterwards (the rewritten one excepted, which must
// read its new text), and a rewrite that answers failure must leave the file byte for byte. A
// crash, a sanitizer report or a lost section is a finding. At start a machine is made in a
// temporary folder.
#include <stdint.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/store/ini_text.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

const WCHAR kPath[] = TEXT("C:\\set\\fuzz.ini");
const WCHAR* const kSections[] = {TEXT("Office"), TEXT("b"), TEXT("ZEMSPrnSection"), TEXT("Stamp0us"), TEXT("x y")};

bool MakeMachine() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zems-ini-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return false;
  SimSetMachineRoot(pattern.c_str());
  return CreateDirectoryW(TEXT("C:\\set"), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteAll(const uint8_t* data, size_t size) {
  HANDLE h = CreateFileW(kPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = !size || (WriteFile(h, data, DWORD(size), &written, nullptr) && written == size);
  CloseHandle(h);
  return ok;
}

std::string ReadAll() {
  std::string bytes;
  HANDLE h = CreateFileW(kPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
  CloseHandle(h);
  return bytes;
}

std::u16string Folded(const WCHAR* name) {
  std::u16string key(reinterpret_cast<const char16_t*>(name));
  for (char16_t& c : key)
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
  return key;
}

// Every section as the ini calls read it: its name (case folded) to its lines.
std::map<std::u16string, std::u16string> Sections() {
  std::map<std::u16string, std::u16string> all;
  std::vector<WCHAR> names(1 << 16), body(1 << 16);
  GetPrivateProfileSectionNamesW(names.data(), DWORD(names.size()), kPath);
  for (const WCHAR* name = names.data(); *name; name += lstrlenW(name) + 1) {
    const std::u16string key = Folded(name);
    if (all.count(key)) continue;  // the ini calls read the first of a name
    DWORD got = GetPrivateProfileSectionW(name, body.data(), DWORD(body.size()), kPath);
    all[key] = std::u16string(reinterpret_cast<const char16_t*>(body.data()), got);
  }
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!MakeMachine()) abort();  // no machine: nothing could be fuzzed
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1 << 16)) return 0;
  const WCHAR* section = kSections[data[0] % (sizeof kSections / sizeof kSections[0])];
  if (!WriteAll(data + 1, size - 1)) return 0;
  const std::string before = ReadAll();
  std::map<std::u16string, std::u16string> sectionsBefore = Sections();

  char text[128];
  int n = WideCharToMultiByte(CP_ACP, 0, section, -1, text, 100, nullptr, nullptr);
  if (n <= 0) return 0;
  std::string sectionText = "[" + std::string(text) + "]\r\nfuzzkey=fuzzvalue\r\n";
  UiState ui = {};
  DriverContext ctx = {};
  ctx.ui = &ui;
  if (!StoreIniTextReplaceSection(&ctx, kPath, section, sectionText.data(), DWORD(sectionText.size()))) {
    if (ReadAll() != before) abort();  // a failed rewrite changed the file
    return 0;
  }
  std::map<std::u16string, std::u16string> sectionsAfter = Sections();
  const std::u16string rewritten = Folded(section);
  for (const auto& entry : sectionsBefore) {
    if (entry.first == rewritten) continue;
    auto found = sectionsAfter.find(entry.first);
    if (found == sectionsAfter.end() || found->second != entry.second) abort();  // a section lost or changed
  }
  WCHAR value[32] = {};
  GetPrivateProfileStringW(section, TEXT("fuzzkey"), TEXT(""), value, 32, kPath);
  if (lstrcmpW(value, TEXT("fuzzvalue")) != 0) abort();  // the new section does not read back
  return 0;
}
