#include "bidi_fixture.h"

#include "core/bind/bidi_acquire.h"
#include "core/bind/bidi_store.h"
#include "core/common/ini_access.h"
#include "core/system/driver_paths.h"
#include "core/system/languages.h"
#include "core/system/settings_folders.h"
#include "support/test_printer.h"

namespace zems_test {

std::string HexWords(const std::vector<DWORD>& words) {
  std::string out;
  char b[9];
  for (DWORD w : words) {
    snprintf(b, sizeof b, "%02x%02x%02x%02x", unsigned(w & 0xFF), unsigned((w >> 8) & 0xFF),
             unsigned((w >> 16) & 0xFF), unsigned(w >> 24));
    out += b;
  }
  return out;
}

std::string HexBytes(const std::string& text) {
  std::string out;
  char b[3];
  for (unsigned char c : text) {
    snprintf(b, sizeof b, "%02x", c);
    out += b;
  }
  return out;
}

std::string Narrow(const WCHAR* text) {
  std::string out;
  for (; text && *text; ++text) out += char(*text);
  return out;
}

namespace {

int ModuleEvent(DriverContext*, int event, void* argument, void* data) {
  BidiModule* m = *static_cast<BidiModule**>(data);
  if (!m) return 0;  // the create event comes before the test names its answers
  m->events.push_back(event);
  switch (event) {
    case kBidiEventAskDetails:
      *static_cast<DWORD*>(argument) = m->details;
      break;
    case kBidiEventTrayKind: {
      auto* e = static_cast<BidiTrayKindEvent*>(argument);
      auto it = m->kindAnswers.find({e->flags, e->kind});
      if (it != m->kindAnswers.end()) e->answer = it->second;
      break;
    }
    case kBidiEventTrayFunc:
      *static_cast<BidiTrayFuncEvent*>(argument)->functions |= m->funcBits;
      break;
    case kBidiEventAskAcquire: {
      auto* e = static_cast<BidiAskEvent*>(argument);
      m->askValues.push_back(e->value);
      e->answer = m->askAnswer;
      break;
    }
    case kBidiEventOverride:
      *static_cast<DWORD*>(argument) = m->overrideAnswer;
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace

void BidiTest::SetUp() {
  BindTest::SetUp();
  printer_ = AddTestPrinter(u"Office", u"", PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_ENABLE_BIDI);
  ASSERT_NE(nullptr, printer_);
  ctx()->printer = printer_;
  ASSERT_TRUE(PathCreateSettingsFolder(ctx()));
  InstallStandIn(kBidiDll, kBidiSo);
  // The module's private block holds the address of the test's answers.
  rows_.assign(1, UiModuleEntry{sizeof(BidiModule*), nullptr, nullptr, nullptr, ModuleEvent});
  ASSERT_EQ(1, ModBusLoadRows(ctx(), rows_.data(), 1));
  ASSERT_NE(nullptr, ctx()->ui->modules);
  *static_cast<BidiModule**>(ctx()->ui->modules->rows[0].privateData) = &module_;
  ModelData("[Models]\r\nORVEL ALTEN KV310 ZEMS=ALTEN KV310\r\n");
  Script({"model\tALTEN KV310"});
}

void BidiTest::TearDown() {
  ModBusFree(ctx());
  ctx()->printer = nullptr;
  if (printer_) ClosePrinter(printer_);
  BindTest::TearDown();
}

void BidiTest::Script(const std::vector<std::string>& officeLines, const std::vector<std::string>& otherLines) {
  std::string all;
  for (const std::string& l : officeLines) all += "Office\t" + l + "\n";
  for (const std::string& l : otherLines) all += l + "\n";
  WriteScript("ov4mannt.printers", all);
}

std::vector<std::string> BidiTest::FullAnswers() const {
  return {
      "model\tALTEN KV310",
      "info1\t" + HexWords({3, 4, 2}),
      "info20\t" + HexWords({9, 22, 0}),
      "info21\t" + HexWords({1, 0, 100}),
      "info23\t" + HexWords({0, 0x5, 0x204}),
      "info2\t" + HexWords({1, 106, 77}),
      "info11\t" + HexWords({1073741824}),
      "info8\t" + HexBytes("SYS 1.20"),
      "item258\t" + HexWords({2}),
      "item2\t" + HexBytes("EMU 3.4"),
      "item259\t" + HexBytes("further text"),
  };
}

void BidiTest::ModelData(const std::string& text) {
  ASSERT_TRUE(WriteMachineFile(Narrow(PathModelDataFile(ctx())), text));
}

void BidiTest::Gate(const char16_t* key, const char16_t* value) {
  ASSERT_TRUE(IniWriteString(ResGetLangCodeAlias(ctx()), key, value, PathSettingsFile(ctx())));
}

std::string BidiTest::Text(WORD id) { return Narrow(TextOf(id).c_str()); }

std::u16string BidiTest::BidiIni() {
  WCHAR path[MAX_PATH] = {};
  PathInSettingsFolder(path, MAX_PATH, kBidiIniName, ctx());
  return path;
}

std::string BidiTest::IniKey(const char16_t* key) {
  WCHAR value[64] = {};
  IniReadString(u"Office", key, u"", value, 64, BidiIni().c_str());
  return Narrow(value);
}

void BidiTest::SetIniKey(const char16_t* key, const char16_t* value) {
  ASSERT_TRUE(IniWriteString(u"Office", key, value, BidiIni().c_str()));
}

DWORD BidiTest::PrinterDword(const char16_t* name, bool* present) {
  DWORD value = 0, type = 0, needed = 0;
  DWORD rc = GetPrinterDataW(printer_, const_cast<LPWSTR>(name), &type, reinterpret_cast<BYTE*>(&value), 4, &needed);
  if (present) *present = rc == ERROR_SUCCESS;
  return value;
}

}  // namespace zems_test
