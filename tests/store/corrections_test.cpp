// One-time corrections: the "\\CSR|" scrub of texts, files and registry keys with its marker,
// the move of a user's files out of the shared folder, and the settings of the old
// low-integrity folder.
#include <gtest/gtest.h>

#include <string>

#include "core/common/mem.h"
#include "core/install/corrections.h"
#include "core/system/printer_names.h"
#include "core/system/settings_folders.h"
#include "core/tables/model_record.h"
#include "platform/sim.h"
#include "store/store_files_fixture.h"

namespace zems_test {
namespace {

std::string Scrub(const std::string& text) {
  std::string out(text.size() + 1, '\0');
  out.resize(InstScrubCsrText(text.data(), DWORD(text.size()), &out[0]));
  return out;
}

TEST(CsrScrubText, RemovesOnlySectionsThatStartALine) {
  struct Case {
    const char* what;
    std::string text;
    std::string kept;
  } cases[] = {
      {"a section between two others goes, the two stay byte for byte",
       "[A]\r\nx=1\r\n[\\\\CSR|srv|p]\r\ny=2\r\n\r\n[B]\r\n z = 3 \r\n", "[A]\r\nx=1\r\n[B]\r\n z = 3 \r\n"},
      {"a value holding the name is not cut", "[A]\r\nv=[\\\\CSR|x]\r\n[B]\r\n", "[A]\r\nv=[\\\\CSR|x]\r\n[B]\r\n"},
      {"a Shift-JIS pair with the trail byte 0x5B starts no section",
       "[A]\r\nv=\x81[\\\\CSR|x]\r\n[B]\r\n", "[A]\r\nv=\x81[\\\\CSR|x]\r\n[B]\r\n"},
      {"the stretch ends at the next line that starts with [, not inside a value",
       "[\\\\CSR|a]\r\nv=x[B]\r\n[C]\r\n", "[C]\r\n"},
      {"two removed sections in a row", "[\\\\CSR|a]\r\n[\\\\CSR|b]\r\nk=1\r\n[C]\r\n", "[C]\r\n"},
      {"a lead byte before a bare LF does not hide the next header",
       "[\\\\CSR|a]\nk=\xE9\n[Keep]\nx=1\n", "[Keep]\nx=1\n"},
      {"the last section without a line end", "[A]\r\n[\\\\CSR|a]\r\nk=1", "[A]\r\n"},
      {"five bytes of the name are not enough", "[\\\\CSR]\r\n", "[\\\\CSR]\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.kept, Scrub(c.text)) << c.what;
}

class CorrectionsTest : public StoreFilesTest {
 protected:
  // A ".rsr" copy of the settings ini's folder with the name's first four characters.
  std::u16string Rsr(const char* tail) {
    std::u16string leaf = TblGetModelRecord()->settingsIniName;
    return MachineFolder() + u"\\" + leaf.substr(0, 4) + W(tail) + u".rsr";
  }
};

TEST_F(CorrectionsTest, SettingsIniScrubWritesTheMarkerOnceEveryFileIsClean) {
  const std::string dirty = "[COMMON]\r\nk=1\r\n[\\\\CSR|s|p]\r\nx=1\r\n[Office]\r\nCount=0\r\n";
  WriteFileBytes(MachineIni(), dirty);
  EXPECT_EQ(2, InstCsrCorrectionState(office_, Info(), 0));
  EXPECT_EQ(0, InstCsrCorrectionState(office_, nullptr, 0));

  // No ".rsr" file at all: the marker is written all the same.
  EXPECT_EQ(0, InstCsrCorrectSettingsIni(office_, Info(), 0, 1));
  EXPECT_EQ("[COMMON]\r\nk=1\r\nCSRIniCorrectDone=1\r\n[Office]\r\nCount=0\r\n", ReadFileBytes(MachineIni()));
  EXPECT_EQ(0, InstCsrCorrectionState(office_, Info(), 0));

  // A printer event passes no marker: the key goes, so the next housekeeping scrubs again.
  EXPECT_EQ(0, InstCsrCorrectSettingsIni(office_, Info(), 0, 0));
  EXPECT_EQ("<absent>", IniKey(MachineIni(), "COMMON", "CSRIniCorrectDone"));
  EXPECT_EQ(2, InstCsrCorrectionState(office_, Info(), 0));

  // Preset copies are scrubbed too; one that cannot be rewritten keeps the marker unwritten.
  WriteFileBytes(Rsr("a"), "[\\\\CSR|s|p]\r\nx=1\r\n[Office]\r\nv=1\r\n");
  WriteFileBytes(Rsr("b"), "[\\\\CSR|s|p]\r\nx=1\r\n");
  ASSERT_TRUE(SetFileAttributesW(Rsr("b").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(0, InstCsrCorrectSettingsIni(office_, Info(), 0, 1));
  EXPECT_EQ("[Office]\r\nv=1\r\n", ReadFileBytes(Rsr("a")));
  EXPECT_EQ("<absent>", IniKey(MachineIni(), "COMMON", "CSRIniCorrectDone"));
  ASSERT_TRUE(SetFileAttributesW(Rsr("b").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(0, InstCsrCorrectSettingsIni(office_, Info(), 0, 1));
  EXPECT_EQ("1", IniKey(MachineIni(), "COMMON", "CSRIniCorrectDone"));
  EXPECT_EQ("", ReadFileBytes(Rsr("b")));
}

TEST_F(CorrectionsTest, FullDiskKeepsTheOldFile) {
  const std::string dirty = "[A]\r\nx=1\r\n[\\\\CSR|s|p]\r\ny=2\r\n[B]\r\nz=3\r\n";
  WriteFileBytes(MachineIni(), dirty);
  SimSetDiskFull(5);
  EXPECT_EQ(0, InstScrubCsrSections(MachineIni().c_str()));
  EXPECT_EQ(0, InstCsrCorrectSettingsIni(office_, Info(), 0, 1));
  SimSetDiskFull(-1);
  EXPECT_EQ(dirty, ReadFileBytes(MachineIni()));
  EXPECT_EQ("<absent>", IniKey(MachineIni(), "COMMON", "CSRIniCorrectDone"));
  EXPECT_FALSE(FileThere(MachineIni() + u".~zt")) << "the unfinished new file is removed";
  EXPECT_EQ(0, InstScrubCsrSections(u"C:\\nowhere\\missing.ini")) << "a file that cannot be read fails";
}

TEST_F(CorrectionsTest, DefaultsAndInstallIniAreScrubbed) {
  std::u16string defaults = MachineFolder() + u"\\OV00C170.ini";
  std::u16string install = u"C:\\WINDOWS\\system32\\ZEMS.ini";
  WriteFileBytes(defaults, "[\\\\CSR|a]\r\nx=1\r\n[Office]\r\nDispLang=us\r\n");
  WriteFileBytes(install, "[Lab]\r\nk=1\r\n[\\\\CSR|b]\r\n");
  InstCleanupStaleEntries(office_, nullptr, 0, kInstCleanupInitialize);
  EXPECT_EQ("[Office]\r\nDispLang=us\r\n", ReadFileBytes(defaults));
  EXPECT_EQ("[Lab]\r\nk=1\r\n", ReadFileBytes(install));
  EXPECT_EQ(0, InstCsrScrubDefaultsIni(office_, Info(), 0));
  ASSERT_TRUE(DeleteFileW(defaults.c_str()));
  EXPECT_EQ(1, InstCsrScrubDefaultsIni(office_, Info(), 0)) << "a file that cannot be read fails";
}

TEST_F(CorrectionsTest, DsSpoolerNameDecidesTheCleanupOnVista) {
  SetWindowsVersion(5, 1);
  EXPECT_EQ(0, InstDsPrinterNameMissing(office_)) << "before Vista the name is never asked for";
  SetWindowsVersion(6, 0);
  EXPECT_EQ(1, InstDsPrinterNameMissing(office_));
  const char16_t name[] = u"Office";
  ASSERT_EQ(DWORD(ERROR_SUCCESS), SetPrinterDataExW(office_, Text(u"DsSpooler"), Text(u"printerName"), REG_SZ,
                                                    (LPBYTE)name, sizeof name));
  EXPECT_EQ(0, InstDsPrinterNameMissing(office_));
}

class CsrRegistryTest : public StoreFilesTest {
 protected:
  void SetValues(HKEY root, const std::u16string& leaf, const std::vector<std::u16string>& names) {
    HKEY key = nullptr;
    std::u16string path = u"SOFTWARE\\ORVEL\\JOBCODE\\" + leaf;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                             nullptr));
    for (const std::u16string& name : names)
      ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(u"v"), 4));
    RegCloseKey(key);
  }
  std::vector<std::string> Values(HKEY root, const std::u16string& leaf) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    std::u16string path = u"SOFTWARE\\ORVEL\\JOBCODE\\" + leaf;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
      WCHAR name[256];
      DWORD chars = 256;
      if (RegEnumValueW(key, i, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.push_back(N(name));
    }
    RegCloseKey(key);
    return names;
  }
};

TEST_F(CsrRegistryTest, EveryCsrValueGoesAndMissingKeysStopNothing) {
  // No "JCBillingCode" key: the walk goes on to the keys after it.
  SetValues(HKEY_CURRENT_USER, u"JCDocBoxPassword", {u"\\\\CSR|a|p", u"keep", u"\\\\CSR|b|p", u"\\\\CSR|c|p"});
  SetValues(HKEY_CURRENT_USER, u"JCUserName", {u"\\\\CSR|z", u"\\\\CSR"});
  EXPECT_EQ(2, InstCsrScrubUserJobCodes());
  EXPECT_EQ(std::vector<std::string>{"keep"}, Values(HKEY_CURRENT_USER, u"JCDocBoxPassword"));
  EXPECT_EQ(std::vector<std::string>{"\\\\CSR"}, Values(HKEY_CURRENT_USER, u"JCUserName"));
  EXPECT_EQ(0, InstDeleteCsrValues(u"SOFTWARE\\ORVEL\\JOBCODE\\JCBillingCode", HKEY_CURRENT_USER));
}

TEST_F(CsrRegistryTest, MachineKeysThatCannotBeOpenedArePassedOver) {
  SetValues(HKEY_LOCAL_MACHINE, u"JCDriverPDL", {u"\\\\CSR|a"});
  SetValues(HKEY_CURRENT_USER, u"JCInfo1", {u"\\\\CSR|a"});
  SetUserIsAdmin(false);
  InstCleanupStaleEntries(office_, Info(), 0, kInstCleanupConnection);
  EXPECT_EQ(std::vector<std::string>{"\\\\CSR|a"}, Values(HKEY_LOCAL_MACHINE, u"JCDriverPDL"));
  EXPECT_TRUE(Values(HKEY_CURRENT_USER, u"JCInfo1").empty()) << "the user's keys are cleaned after HKLM failed";
  SetUserIsAdmin(true);
  EXPECT_EQ(1, InstCsrScrubMachineJobCodes());
  EXPECT_TRUE(Values(HKEY_LOCAL_MACHINE, u"JCDriverPDL").empty());
}

class SharedFolderMoveTest : public StoreFilesTest {
 protected:
  std::u16string Shared(const char* leaf) { return MachineFolder() + u"\\" + W(leaf); }
  std::u16string Own(const char* leaf) { return UserFolder() + u"\\" + W(leaf); }
};

TEST_F(SharedFolderMoveTest, MovesPresetAndQualityFilesThenWritesTheMarker) {
  EXPECT_EQ(3, InstTsCorrectionState(office_, Info())) << "no per-user ini yet";
  std::u16string ini = UserIni();
  WriteFileBytes(Shared("a.rsr"), "[Office]\r\nk=1\r\n[condition]\r\nc=1\r\n[disable]\r\nd=1\r\n[other]\r\no=1\r\n");
  WriteFileBytes(Shared("q.rsr"), "[Office]\r\nq=1\r\n[disable]\r\nd=1\r\n");
  SetIniKey(ini, "Office", "Count", "2");
  SetIniKey(ini, "Office", "PresetList0", N(Shared("a.rsr")));
  SetIniKey(ini, "Office", "PresetList0Name", "A");
  SetIniKey(ini, "Office", "PresetList1", "C:\\elsewhere\\b.rsr");  // not in the shared folder: stays
  SetIniKey(ini, "Office", "PresetList1Name", "B");
  SetIniKey(ini, "Office", "QualityCount", "1");
  SetIniKey(ini, "Office", "QualityList0", N(Shared("q.rsr")));
  SetIniKey(ini, "Office", "QualityList0Name", "Q");
  EXPECT_EQ(2, InstTsCorrectionState(office_, Info()));

  EXPECT_EQ(0, InstTsCorrectUserIni(office_, Info()));
  EXPECT_EQ(N(Own("a.rsr")), IniKey(ini, "Office", "PresetList0"));
  EXPECT_EQ("C:\\elsewhere\\b.rsr", IniKey(ini, "Office", "PresetList1"));
  EXPECT_EQ(N(Own("q.rsr")), IniKey(ini, "Office", "QualityList0"));
  EXPECT_EQ("[Office]\r\nk=1\r\n[condition]\r\nc=1\r\n[disable]\r\nd=1\r\n", ReadFileBytes(Own("a.rsr")));
  EXPECT_EQ("[Office]\r\nq=1\r\n", ReadFileBytes(Own("q.rsr"))) << "a quality file takes its printer section only";
  EXPECT_EQ(N(UserFolder()) + "\\OMP", IniKey(ini, "Office", "DrvDefJobMergePath"));
  EXPECT_EQ("1", IniKey(ini, "Office", "TSIniCorrectDone"));
  EXPECT_EQ(0, InstTsCorrectionState(office_, Info()));
}

// A printer name with brackets is filed under a section with ',' for each bracket: the move
// finds the list and the marker there.
TEST_F(SharedFolderMoveTest, APrinterNameWithBracketsIsFoundUnderItsSection) {
  HANDLE desk = AddPrinter(u"Desk [2]");
  ASSERT_NE(desk, nullptr);
  PRINTER_INFO_2* info = static_cast<PRINTER_INFO_2*>(PrnGetPrinterInfo(desk, 2));
  ASSERT_NE(info, nullptr);
  WCHAR ini[MAX_PATH];
  ASSERT_TRUE(PathSettingsFileOfFromInfo(ini, MAX_PATH, 1, desk, info));
  WriteFileBytes(Shared("d.rsr"), "[Desk ,2,]\r\nk=1\r\n");
  SetIniKey(ini, "Desk ,2,", "Count", "1");
  SetIniKey(ini, "Desk ,2,", "PresetList0", N(Shared("d.rsr")));
  SetIniKey(ini, "Desk ,2,", "PresetList0Name", "D");
  EXPECT_EQ(2, InstTsCorrectionState(desk, info));
  EXPECT_EQ(0, InstTsCorrectUserIni(desk, info));
  EXPECT_EQ(N(Own("d.rsr")), IniKey(ini, "Desk ,2,", "PresetList0"));
  EXPECT_EQ("[Desk ,2,]\r\nk=1\r\n", ReadFileBytes(Own("d.rsr")));
  EXPECT_EQ("1", IniKey(ini, "Desk ,2,", "TSIniCorrectDone"));
  EXPECT_EQ(0, InstTsCorrectionState(desk, info));
  MemFree(info);
}

TEST_F(SharedFolderMoveTest, StopsAtAnEntryWithoutName) {
  std::u16string ini = UserIni();
  WriteFileBytes(Shared("a.rsr"), "[Office]\r\nk=1\r\n");
  WriteFileBytes(Shared("b.rsr"), "[Office]\r\nk=2\r\n");
  SetIniKey(ini, "Office", "Count", "2");
  SetIniKey(ini, "Office", "PresetList0", N(Shared("a.rsr")));
  SetIniKey(ini, "Office", "PresetList0Name", "A");
  SetIniKey(ini, "Office", "PresetList1", N(Shared("b.rsr")));
  EXPECT_EQ(3, InstTsCorrectUserIni(office_, Info()));
  EXPECT_EQ(N(Own("a.rsr")), IniKey(ini, "Office", "PresetList0"));
  EXPECT_EQ(N(Shared("b.rsr")), IniKey(ini, "Office", "PresetList1"));
  EXPECT_FALSE(FileThere(Own("b.rsr")));
  EXPECT_EQ("<absent>", IniKey(ini, "Office", "TSIniCorrectDone"));
}

TEST_F(SharedFolderMoveTest, AnEntryWhoseFileCannotBeCopiedIsNotRewritten) {
  std::u16string ini = UserIni();
  SetIniKey(ini, "Office", "Count", "1");
  SetIniKey(ini, "Office", "PresetList0", N(Shared("gone.rsr")));
  SetIniKey(ini, "Office", "PresetList0Name", "Gone");
  EXPECT_EQ(3, InstTsCorrectUserIni(office_, Info()));
  EXPECT_EQ(N(Shared("gone.rsr")), IniKey(ini, "Office", "PresetList0"));

  // A section longer than the old 61,440-character buffer is copied whole.
  std::string big = "[Office]\r\n";
  for (int i = 0; big.size() < 100000; ++i) big += "key" + std::to_string(i) + "=" + std::string(40, 'v') + "\r\n";
  WriteFileBytes(Shared("gone.rsr"), big);
  EXPECT_EQ(0, InstTsCorrectUserIni(office_, Info()));
  EXPECT_EQ(big, ReadFileBytes(Own("gone.rsr")));
}

class LocalLowTest : public StoreFilesTest {
 protected:
  void SetUp() override {
    StoreFilesTest::SetUp();
    SetWindowsVersion(6, 0);
    UseStandIn("shell32.dll", "shell32");
    UseStandIn("ole32.dll", "ole32");
  }
  std::u16string Old(const char* leaf) {
    return u"C:\\Documents and Settings\\User\\AppData\\LocalLow\\_zems\\" + W(leaf);
  }
  std::u16string Own(const char* leaf) { return UserFolder() + u"\\" + W(leaf); }
};

TEST_F(LocalLowTest, TakesTheOldSettingsAndOnlyPlainPackFileNames) {
  std::u16string oldIni = Old(N(TblGetModelRecord()->settingsIniName).c_str());
  std::u16string pack = u"C:\\packs\\pack.rsb";
  WriteFileBytes(Old("p.rsr"), "[Office]\r\nk=1\r\n[disable]\r\nd=1\r\n");
  WriteFileBytes(Old("good.rsd"), "good");
  WriteFileBytes(u"C:\\Documents and Settings\\User\\AppData\\LocalLow\\evil.rsd", "evil");
  WriteFileBytes(pack, "[us]\r\nNumDeficonfiles=2\r\nDeficonfiles1=%sysdir%good.rsd\r\n"
                       "Deficonfiles2=%sysdir%..\\evil.rsd\r\n");
  WriteFileBytes(oldIni, "[Office]\r\nCount=1\r\nPresetList0=" + N(Old("p.rsr")) + "\r\nPresetList0Name=P\r\n" +
                             "DrvDefPreviewPath=" + N(Old("PREVIEW")) + "\r\nDefaultRst=" + N(pack) + "\r\n" +
                             "[us]\r\nStampCount=1\r\nRstVersion=300\r\n[Stamp0us]\r\nText=S\r\n"
                             "[PrinterInformation]\r\nModel=M\r\n");

  EXPECT_EQ(1, InstLocalLowCorrect(office_, Info()));
  std::u16string ini = UserIni();
  EXPECT_EQ(N(Own("p.rsr")), IniKey(ini, "Office", "PresetList0"));
  EXPECT_EQ("[Office]\r\nk=1\r\n[disable]\r\nd=1\r\n", ReadFileBytes(Own("p.rsr")));
  EXPECT_EQ(N(Own("PREVIEW")), IniKey(ini, "Office", "DrvDefPreviewPath"));
  EXPECT_EQ("S", IniKey(ini, "Stamp0us", "Text"));
  EXPECT_EQ("M", IniKey(ini, "PrinterInformation", "Model"));
  EXPECT_EQ("good", ReadFileBytes(Own("good.rsd")));
  EXPECT_FALSE(FileThere(Own("evil.rsd")));
  EXPECT_FALSE(FileThere(UserFolder() + u"\\..\\evil.rsd")) << "a value with ..\\ is refused";
  EXPECT_EQ("1", IniKey(ini, "Office", "LocalLowCorrectDone"));
  EXPECT_EQ("1", IniKey(ini, "us", "LocalLowCorrectDone"));

  // Done once: a second run changes nothing.
  SetIniKey(ini, "Office", "PresetList0", "kept");
  EXPECT_EQ(1, InstLocalLowCorrect(office_, Info()));
  EXPECT_EQ("kept", IniKey(ini, "Office", "PresetList0"));
}

}  // namespace
}  // namespace zems_test
