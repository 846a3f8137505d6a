// A context of the printer "Office" (bidirectional attribute set) for the bidirectional
// acquisition: the communication library's stand-in installed under its name, its script of
// answers, the model data file, the gate keys of the settings ini and a UI module that
// answers the acquisition's events as a test says.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "bind_fixture.h"
#include "core/context/module_bus.h"

namespace zems_test {

constexpr char kBidiDll[] = "ov4manNT.dll";
constexpr char kBidiSo[] = "ov4mannt.so";

// Hex of u32 values, little-endian.
std::string HexWords(const std::vector<DWORD>& words);
// Hex of narrow text (no terminator).
std::string HexBytes(const std::string& text);
// Narrow copy of wide text.
std::string Narrow(const WCHAR* text);

// How the test module answers: event 21 with details, event 8 per (flag word, kind), the
// answers of events 17 and 65; what it saw.
struct BidiModule {
  DWORD details = 1;
  std::map<std::pair<DWORD, DWORD>, DWORD> kindAnswers;
  DWORD askAnswer = 0;
  DWORD overrideAnswer = 0;
  BYTE funcBits = 0;  // or-ed into the mask by event 9
  std::vector<int> events;
  std::vector<DWORD> askValues;
};

class BidiTest : public BindTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Lines "<key>\t<value>" of the printer "Office" (or "<printer>\t<key>\t<value>" as given).
  void Script(const std::vector<std::string>& officeLines, const std::vector<std::string>& otherLines = {});
  // A printer that answers everything of a full acquisition: trays 3, 4 and 2, options 1 and
  // 106, 1 GiB of memory, memory type 2 and the three texts.
  std::vector<std::string> FullAnswers() const;
  void ModelData(const std::string& text);
  // A key of the language section of the settings ini.
  void Gate(const char16_t* key, const char16_t* value);
  std::vector<std::string> Log(const std::string& prefix) { return LogLinesStarting("ov4mannt.log", prefix); }
  std::string Text(WORD id);
  HANDLE Printer() const { return printer_; }
  // The bidi ini's path (Windows form) and a key of the printer's section ("" when absent).
  std::u16string BidiIni();
  std::string IniKey(const char16_t* key);
  void SetIniKey(const char16_t* key, const char16_t* value);
  DWORD PrinterDword(const char16_t* name, bool* present = nullptr);

  BidiModule module_;

 private:
  HANDLE printer_ = nullptr;
  std::vector<UiModuleEntry> rows_;
};

}  // namespace zems_test
