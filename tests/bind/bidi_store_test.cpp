// The bidirectional state store: the flags in printer data and in the bidi ini, which store
// applies, the one-time default trays, restoring the state when the sheets open and making
// sure of the bidi ini.
#include <fstream>
#include <sstream>

#include "bidi_fixture.h"
#include "core/bind/bidi_acquire.h"
#include "core/bind/bidi_store.h"
#include "core/common/ini_access.h"
#include "core/context/ui_state.h"
#include "core/store/settings_file.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

constexpr WORD kBiDirect = 710;
constexpr WORD kServerClientMode = 714;
constexpr WORD kBidiFunc = 722;

class BidiStoreTest : public BidiTest {
 protected:
  void SetPrinterDword(const char16_t* name, DWORD value) {
    ASSERT_EQ(DWORD(ERROR_SUCCESS), SetPrinterDataW(Printer(), const_cast<LPWSTR>(name), REG_BINARY,
                                                    reinterpret_cast<BYTE*>(&value), 4));
  }
  // The acquired default trays and the current trays they go to.
  void ArrangeDefaults() {
    ItemSetRawById(ctx(), 10276, 3);   // cover
    ItemSetRawById(ctx(), 10277, 1);   // multi-purpose
    ItemSetRawById(ctx(), 10288, 4);   // reverse cover
    ItemSetRawById(ctx(), 10278, 2);   // chapter
    for (WORD id : {125, 127, 123, 408, 1003}) ItemSetRawById(ctx(), id, 9);
  }
  bool DefaultsApplied() {
    return RawOf(125) == 3 && RawOf(127) == 3 && RawOf(123) == 1 && RawOf(408) == 4 && RawOf(1003) == 2;
  }
  bool NothingApplied() {
    for (WORD id : {125, 127, 123, 408, 1003})
      if (RawOf(id) != 9) return false;
    return true;
  }
  std::string SettingsIniKey(const char16_t* key) {
    WCHAR value[32] = {};
    IniReadString(u"Office", key, u"", value, 32, PathSettingsFile(ctx()));
    return Narrow(value);
  }
};

TEST_F(BidiStoreTest, PrinterDataWritableOnlyOnceBidiFlagExists) {
  EXPECT_EQ(0, BidiCanWritePrinterData(ctx())) << "BidiFlag absent: 0 even for an administrator";
  ASSERT_EQ(1, BidiWriteFlag(Printer(), 1));
  EXPECT_EQ(1, BidiCanWritePrinterData(ctx()));
  EXPECT_EQ(1, BidiFlagIsAcquired(Printer(), ctx()));
  SetUserIsAdmin(false);
  EXPECT_EQ(0, BidiCanWritePrinterData(ctx())) << "a user who is not an administrator";
  EXPECT_EQ(1, BidiFlagIsAcquired(Printer(), ctx())) << "reading still works";
  SetUserIsAdmin(true);
}

TEST_F(BidiStoreTest, PrinterDataValuesHaveTheirSizes) {
  ASSERT_EQ(1, BidiWriteFunc(Printer(), 0x5A));
  BYTE func = 0;
  ASSERT_EQ(1, BidiReadFunc(Printer(), &func));
  EXPECT_EQ(0x5A, func);
  // A BidiFlag written larger than 4 bytes does not count as read.
  BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(DWORD(ERROR_SUCCESS), SetPrinterDataW(Printer(), const_cast<LPWSTR>(u"BidiFlag"), REG_BINARY, eight, 8));
  DWORD value = 0;
  EXPECT_EQ(0, BidiReadFlag(Printer(), &value));
  EXPECT_EQ(0, BidiFlagIsAcquired(Printer(), ctx()));
}

TEST_F(BidiStoreTest, IniFlagReadsWithTheirDefaults) {
  struct Case {
    const char16_t* value;  // null: no key
    int has, set;
  };
  const Case cases[] = {{nullptr, 0, 0}, {u"0", 1, 0}, {u"1", 1, 1}, {u"7", 0, 1}, {u"x", 1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value ? Narrow(c.value) : "absent");
    IniWriteString(u"Office", u"BidiFlag", c.value, BidiIni().c_str());
    IniWriteString(u"Office", u"BidiExFlag", c.value, BidiIni().c_str());
    EXPECT_EQ(c.has, BidiIniHasFlag(ctx()));
    EXPECT_EQ(c.set, BidiIniFlagIsSet(ctx()));
    EXPECT_EQ(c.has, BidiIniHasExFlag(ctx()));
    EXPECT_EQ(c.set, BidiIniExFlagIsSet(ctx()));
  }
  ASSERT_EQ(1, BidiIniWriteFunc(ctx(), 0x1C5));
  EXPECT_EQ("197", IniKey(u"BidiFunc")) << "the mask's low byte";
  ASSERT_EQ(1, BidiIniLoadFunc(ctx()));
  EXPECT_EQ(197, RawOf(kBidiFunc));
  ASSERT_EQ(1, BidiDeleteIniSection(ctx()));
  EXPECT_EQ("", IniKey(u"BidiFunc"));
}

TEST_F(BidiStoreTest, ExFlagStoreChoice) {
  struct Case {
    const char* what;
    int serverClient;
    const char16_t* iniExFlag;  // null: no key
    DWORD printerExFlag;        // 2: absent
    bool printerWritable;
    int answer;
  };
  const Case cases[] = {
      {"ini wins over printer data", 0, u"0", 1, true, 0},
      {"ini set", 0, u"1", 0, true, 1},
      {"no ini key: printer data", 0, nullptr, 1, true, 1},
      {"no ini key: printer data clear", 0, nullptr, 0, true, 0},
      {"server printer ignores the ini", 1, u"1", 0, true, 0},
      {"server printer: printer data set", 1, u"0", 1, true, 1},
      {"printer data not writable", 0, nullptr, 2, false, 1},
      {"ini clear, printer data not writable", 0, u"0", 2, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DeletePrinterDataW(Printer(), const_cast<LPWSTR>(u"BidiFlag"));
    DeletePrinterDataW(Printer(), const_cast<LPWSTR>(u"BidiExFlag"));
    if (c.printerWritable) SetPrinterDword(u"BidiFlag", 1);
    if (c.printerExFlag != 2) SetPrinterDword(u"BidiExFlag", c.printerExFlag);
    IniWriteString(u"Office", u"BidiExFlag", c.iniExFlag, BidiIni().c_str());
    ItemSetRawById(ctx(), kServerClientMode, c.serverClient);
    EXPECT_EQ(c.answer, BidiExFlagIsSet(ctx()));
  }
}

TEST_F(BidiStoreTest, SetExFlagWritesWhereTheFlagLives) {
  SetPrinterDword(u"BidiFlag", 1);
  BidiSetExFlag(ctx());
  EXPECT_EQ(1u, PrinterDword(u"BidiExFlag"));
  EXPECT_EQ("", IniKey(u"BidiExFlag"));
  SetPrinterDword(u"BidiExFlag", 0);
  SetIniKey(u"BidiExFlag", u"0");
  BidiSetExFlag(ctx());
  EXPECT_EQ("1", IniKey(u"BidiExFlag"));
  EXPECT_EQ(0u, PrinterDword(u"BidiExFlag"));
  ItemSetRawById(ctx(), kServerClientMode, 1);
  SetIniKey(u"BidiExFlag", u"0");
  BidiSetExFlag(ctx());
  EXPECT_EQ("0", IniKey(u"BidiExFlag")) << "a server printer keeps its flag in printer data";
  EXPECT_EQ(1u, PrinterDword(u"BidiExFlag"));
}

TEST_F(BidiStoreTest, AcquiredDefaultsAreAppliedOnce) {
  SetPrinterDword(u"BidiFlag", 1);
  ArrangeDefaults();
  BidiApplyAcquiredDefaults(ctx());
  EXPECT_TRUE(DefaultsApplied());
  EXPECT_EQ("2", SettingsIniKey(u"wdmChapterTray"));
  bool present = true;
  PrinterDword(u"BidiExFlag", &present);
  EXPECT_FALSE(present) << "the sheets set the flag when they close, not the defaults";
  BidiSetExFlag(ctx());
  ArrangeDefaults();
  BidiApplyAcquiredDefaults(ctx());
  EXPECT_TRUE(NothingApplied());
}

TEST_F(BidiStoreTest, IniExFlagClearWinsOverPrinterData) {
  SetPrinterDword(u"BidiFlag", 1);
  SetPrinterDword(u"BidiExFlag", 1);
  SetIniKey(u"BidiExFlag", u"0");
  ArrangeDefaults();
  BidiApplyAcquiredDefaults(ctx());
  EXPECT_TRUE(DefaultsApplied());
}

TEST_F(BidiStoreTest, BatchPackAppliesNoDefaultTray) {
  SetPrinterDword(u"BidiFlag", 1);
  ASSERT_TRUE(IniWriteString(u"Office", u"BatchInstRst", u"pack.rsb", PathSettingsFile(ctx())));
  ArrangeDefaults();
  BidiApplyAcquiredDefaults(ctx());
  EXPECT_TRUE(NothingApplied()) << "not even wdmChapterTray";
  EXPECT_EQ("", SettingsIniKey(u"wdmChapterTray"));
}

TEST_F(BidiStoreTest, UserWhoCannotWritePrinterDataGetsNoDefaults) {
  SetPrinterDword(u"BidiFlag", 1);
  SetUserIsAdmin(false);
  ArrangeDefaults();
  EXPECT_EQ(1, BidiExFlagIsSet(ctx()));
  BidiApplyAcquiredDefaults(ctx());
  EXPECT_TRUE(NothingApplied());
  SetUserIsAdmin(true);
}

TEST_F(BidiStoreTest, RestoreStateWhenTheSheetsOpen) {
  HWND window = reinterpret_cast<HWND>(0x1234);
  // Gate closed: nothing to restore.
  Gate(u"bIsBIDISupportForZEMS", u"0");
  module_.askAnswer = 5;
  EXPECT_EQ(1, BidiRestoreState(ctx(), window));
  EXPECT_TRUE(module_.askValues.empty());
  Gate(u"bIsBIDISupportForZEMS", u"1");

  // Nothing acquired anywhere: the modules are asked with the window.
  EXPECT_EQ(5, BidiRestoreState(ctx(), window));
  ASSERT_EQ(1u, module_.askValues.size());
  EXPECT_EQ(0x1234u, module_.askValues[0]);

  // Acquired per printer data, no override: pending by support and the functions copied.
  SetPrinterDword(u"BidiFlag", 1);
  ASSERT_EQ(1, BidiWriteFunc(Printer(), 0x43));
  ItemSetRawById(ctx(), kBiDirect, 0);
  EXPECT_EQ(1, BidiRestoreState(ctx(), window));
  EXPECT_EQ(1, RawOf(kBiDirect));
  EXPECT_EQ(0x43, RawOf(kBidiFunc));
  // A module that overrides: asked again.
  module_.overrideAnswer = 1;
  EXPECT_EQ(5, BidiRestoreState(ctx(), window));
  EXPECT_EQ(2u, module_.askValues.size());

  // The bidi ini's flag decides when it is there.
  SetIniKey(u"BidiFlag", u"1");
  ItemSetRawById(ctx(), kBiDirect, 0);
  EXPECT_EQ(1, BidiRestoreState(ctx(), window));
  EXPECT_EQ(1, RawOf(kBiDirect));
  SetIniKey(u"BidiFlag", u"0");
  module_.overrideAnswer = 0;
  EXPECT_EQ(5, BidiRestoreState(ctx(), window)) << "an ini flag of 0 asks, whatever printer data says";
  // A server printer ignores the ini.
  ItemSetRawById(ctx(), kServerClientMode, 1);
  EXPECT_EQ(1, BidiRestoreState(ctx(), window));
}

TEST_F(BidiStoreTest, PendingBySupport) {
  EXPECT_EQ(1, BidiSetPendingBySupport(ctx()));
  EXPECT_EQ(1, RawOf(kBiDirect));
  Gate(u"bIsBIDISupportForZEMS", u"2");
  EXPECT_EQ(1, BidiSetPendingBySupport(ctx()));
  EXPECT_EQ(0, RawOf(kBiDirect));
}

std::string HostFile(const std::u16string& windowsPath) {
  std::ifstream in(HostPath(Narrow(windowsPath.c_str())), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST_F(BidiStoreTest, EnsureFileCreatesOnlyANewFile) {
  const std::u16string path = BidiIni();
  ASSERT_EQ(1, BidiIniEnsureFile(ctx()));
  EXPECT_EQ("\r\n", HostFile(path));
  // A file that exists keeps what it holds (another process may just have written it).
  SetIniKey(u"BidiFlag", u"1");
  const std::string written = HostFile(path);
  ASSERT_EQ(1, BidiIniEnsureFile(ctx()));
  EXPECT_EQ(written, HostFile(path));
  EXPECT_EQ("1", IniKey(u"BidiFlag"));
}

TEST_F(BidiStoreTest, AcquiredSettingsRoundTripThroughTheBidiIni) {
  // zdmEmulationVersion holds 16 bytes with its terminator: a longer text is kept cut to 15.
  struct Case {
    std::u16string emulation, expected;
  } cases[] = {
      {u"E2.05", u"E2.05"},
      {u"0123456789ABCDE", u"0123456789ABCDE"},
      {u"0123456789ABCDEF", u"0123456789ABCDE"},
      {u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", u"0123456789ABCDE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.emulation.c_str()));
    ItemSetRawById(ctx(), 10014, 1);
    ItemSetRawById(ctx(), 10012, 65536);
    ItemSetRawById(ctx(), kBidiFunc, 0x41);
    SetTextOf(10272, c.emulation);
    ASSERT_EQ(c.expected, TextOf(10272));
    ASSERT_EQ(1, BidiSaveIniSettings(ctx()));
    EXPECT_EQ("1", IniKey(u"BidiFlag"));
    EXPECT_EQ("65", IniKey(u"BidiFunc"));
    EXPECT_EQ("1", IniKey(u"BidiExFlag"));
    EXPECT_EQ(Narrow(c.expected.c_str()), IniKey(u"zdmEmulationVersion"));
    ItemSetRawById(ctx(), 10014, 0);
    ItemSetRawById(ctx(), 10012, 0);
    ItemSetRawById(ctx(), kBidiFunc, 0);
    SetTextOf(10272, u"");
    // The result is the settings-file load's: the other acquired texts (system version, codes)
    // are empty, and an empty text reads as a missing key, so it is 0 while every value found
    // is taken.
    EXPECT_EQ(0, BidiLoadIniSettings(ctx()));
    EXPECT_EQ(kFileStatusOk, CtxGetFileStatus(ctx()));
    EXPECT_EQ(1, RawOf(10014));
    EXPECT_EQ(65536, RawOf(10012));
    EXPECT_EQ(0x41, RawOf(kBidiFunc));
    EXPECT_EQ(c.expected, TextOf(10272));
  }
}

}  // namespace
}  // namespace zems_test
