// The status items of the application interface on the sample printer, or on the sample model
// with one of its blocks replaced by a fixture: records by field offset, the API level, the
// job-control stand-in's store and files of the machine.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "api_e2e/api_e2e_fixture.h"

namespace zems_test {

// A record of any size filled field by field.
class Record {
 public:
  Record(DWORD size, DWORD version) : bytes_(size) { Long(0, static_cast<LONG>(version)); }
  Record& Long(UINT offset, LONG value) {
    memcpy(&bytes_[offset], &value, 4);
    return *this;
  }
  // Copies the text with its terminator (or exactly its characters with terminated false).
  Record& Text(UINT offset, const std::string& text, bool terminated = true) {
    memcpy(&bytes_[offset], text.data(), text.size());
    if (terminated) bytes_[offset + text.size()] = 0;
    return *this;
  }
  LONG GetLong(UINT offset) const {
    LONG v;
    memcpy(&v, &bytes_[offset], 4);
    return v;
  }
  SHORT GetShort(UINT offset) const {
    SHORT v;
    memcpy(&v, &bytes_[offset], 2);
    return v;
  }
  std::string GetText(UINT offset, UINT size) const {
    std::string s(reinterpret_cast<const char*>(&bytes_[offset]), size);
    return s.substr(0, s.find('\0'));
  }
  void* data() { return bytes_.data(); }
  const std::vector<BYTE>& bytes() const { return bytes_; }

 private:
  std::vector<BYTE> bytes_;
};

class ApiItemsTest : public ApiE2eTest {
 protected:
  void SetUp() override;
  // The sample printer at level 16, enabled; the installed options named (printer-data
  // switches such as "Duplex" or "1Step") set first.
  void Start(const std::vector<std::string>& options = {});
  // The sample model with the block that starts at `opens` (up to its "*CloseUI") replaced by
  // the fixture file's text (tests/fixtures/api/<fixture>); extra edits replace text as given.
  void StartWithFixture(const std::string& opens, const std::string& fixture,
                        const std::vector<std::pair<std::string, std::string>>& edits = {});
  LONG Set(DWORD id, Record& r) { return api_.setStatus(handle_, id, r.data(), nullptr, 0); }
  LONG Get(DWORD id, Record& r, DWORD version) { return api_.getStatus(handle_, id, r.data(), version); }
  LONG SetSimple(DWORD id, LONG value, LONG value2 = 0, LONG value3 = 0, DWORD sw = 0);
  SimpleRecord GetSimple(DWORD id);
  LONG Error() { return api_.getLastError(handle_); }
  std::vector<BYTE> Devmode();
  // Lines of the job-control stand-in's store, and whether one holds this text as a value.
  std::vector<std::string> StoreLines();
  bool StoreHolds(const std::string& text);
  // The store's non-empty values of the printer by property (hex, without trailing zeros).
  std::map<std::string, std::string> StoreTexts();
  // A printer-data value of the printer, as bytes (empty when absent).
  std::vector<BYTE> PrinterData(const char16_t* name);
  // The settings ini of the printer, as text; text appended to it.
  std::string SettingsIni();
  void AppendToSettingsIni(const std::string& text);
};

}  // namespace zems_test
