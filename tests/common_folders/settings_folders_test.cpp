// Settings folders: the lookup order over printer data, registry and default, the user
// folder, the path macros, the folder's owner and ACEs, and the removal of the default folder.
#include <unistd.h>

#include "core/common/path_text.h"
#include "core/system/settings_folders.h"
#include "core/system/terminal_server.h"
#include "core/system/folder_security.h"
#include "core/system/printer_data_dirs.h"
#include "core/system/user_profile.h"
#include "support/test_printer.h"
#include "tests/common_ini/host_files.h"

namespace {

using namespace common_ini_test;
using zems_test::LocalAndRemotePrinterTest;

std::u16string Str(const WCHAR* s) { return s; }

class FoldersTest : public LocalAndRemotePrinterTest {
 protected:
  // The per-machine folder in the driver's registry key (value "_ZEMSDirectory").
  void SetRegistryFolder(const char16_t* value, DWORD type = REG_SZ, DWORD bytes = DWORD(-1)) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("SOFTWARE\\ORVEL\\ZemsDrv"), 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    if (bytes == DWORD(-1)) bytes = DWORD((std::u16string(value).size() + 1) * sizeof(WCHAR));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, TEXT("_ZEMSDirectory"), 0, type,
                                            reinterpret_cast<const BYTE*>(value), bytes));
    RegCloseKey(key);
  }
  std::u16string MachineFolderOf(HANDLE printer) {
    WCHAR buffer[MAX_PATH] = {};
    DWORD n = PathGetMachineSettingsFolderOf(buffer, MAX_PATH, printer);
    EXPECT_EQ(Str(buffer).size(), n);
    return buffer;
  }
};

TEST_F(FoldersTest, LookupOrderOfTheMachineFolder) {
  // Nothing configured: the root of the system drive.
  EXPECT_EQ(u"C:\\_zems", MachineFolderOf(local_));
  EXPECT_EQ(u"C:\\_zems", MachineFolderOf(remote_));
  // The registry value is used as it stands, even for a folder that does not exist.
  SetRegistryFolder(u"D:\\Nowhere");
  EXPECT_EQ(u"D:\\Nowhere", MachineFolderOf(local_));
  // Printer data counts only for a printer reached through a server.
  MakeFolder(OnC(Root(), "WINDOWS/Shared"));
  SetPrinterText(local_, u"_ZEMSDirectoryClient", u"%SYSTEMROOT%\\Shared");
  SetPrinterText(remote_, u"_ZEMSDirectoryClient", u"%SystemRoot%\\Shared");
  EXPECT_EQ(u"D:\\Nowhere", MachineFolderOf(local_));
  EXPECT_EQ(u"C:\\WINDOWS\\Shared\\_zems", MachineFolderOf(remote_));
  // The forms that take the context or the printer information agree.
  WCHAR buffer[MAX_PATH];
  PathGetMachineSettingsFolder(buffer, MAX_PATH, &remoteCtx_);
  EXPECT_EQ(u"C:\\WINDOWS\\Shared\\_zems", Str(buffer));
  PathGetSettingsFolder(buffer, MAX_PATH, &localCtx_);
  EXPECT_EQ(u"D:\\Nowhere", Str(buffer));
}

TEST_F(FoldersTest, PrinterDataValuesOfAServerPrinter) {
  MakeFolder(OnC(Root(), "WINDOWS/Shared"));
  MakeFolder(OnC(Root(), "Data"));
  // "%USERPROFILE%" without "UserEnv.dll": the profile's stand-in is the per-machine folder,
  // whose own lookup must not come back to this value (it ends at the default).
  SetPrinterText(remote_, u"_ZEMSDirectoryClient", u"%USERPROFILE%");
  EXPECT_EQ(u"C:\\_zems\\_zems", MachineFolderOf(remote_));
  UseStandIn("UserEnv.dll", "userenv");
  struct Case {
    std::u16string value;
    DWORD type;
    const char16_t* folder;
  } cases[] = {
      {u"%SYSTEMROOT%\\Shared", REG_SZ, u"C:\\WINDOWS\\Shared\\_zems"},
      {u"%SYSTEMROOT%\\Missing", REG_SZ, u"C:\\_zems"},  // must exist; falls through
      {u"C:\\Data", REG_SZ, u"C:\\Data\\_zems"},
      {u"C:\\Data\\", REG_SZ, u"C:\\_zems"},  // FindFirstFileW finds no name ending in '\\'
      {u"c:\\data", REG_EXPAND_SZ, u"c:\\data\\_zems"},
      {u"C:\\Dat?", REG_SZ, u"C:\\_zems"},  // a name with wildcards is no folder
      {u"%USERPROFILE%\\anything", REG_SZ, u"C:\\Documents and Settings\\User\\_zems"},
      {u"C:\\Data", REG_BINARY, u"C:\\_zems"},  // not text
      {u"", REG_SZ, u"C:\\_zems"},
      {u"C:\\" + std::u16string(209, u'd'), REG_SZ, u"C:\\_zems"},  // 212 characters: room needed
  };
  for (const Case& c : cases) {
    SetPrinterText(remote_, u"_ZEMSDirectoryClient", c.value, c.type);
    EXPECT_EQ(std::u16string(c.folder), MachineFolderOf(remote_)) << "value of " << c.value.size() << " chars";
  }
  // A value of 213 characters or more without a macro is refused, 212 is accepted.
  std::u16string long212 = u"C:\\" + std::u16string(209, u'e');
  MakeFolder(OnC(Root(), std::string(209, 'e')));
  SetPrinterText(remote_, u"_ZEMSDirectoryClient", long212);
  EXPECT_EQ(long212 + u"\\_zems", MachineFolderOf(remote_));
  std::u16string long213 = u"C:\\" + std::u16string(210, u'f');
  MakeFolder(OnC(Root(), std::string(210, 'f')));
  SetPrinterText(remote_, u"_ZEMSDirectoryClient", long213);
  EXPECT_EQ(u"C:\\_zems", MachineFolderOf(remote_));
  WCHAR buffer[MAX_PATH];
  EXPECT_EQ(0, InstResolvePrinterDataDir(remote_, TEXT("_ZEMSDirectoryClient"), buffer, MAX_PATH));
}

TEST_F(FoldersTest, RegistryValueMustBeTerminatedText) {
  SetRegistryFolder(u"E:\\Reg", REG_DWORD, 4);
  EXPECT_EQ(u"C:\\_zems", MachineFolderOf(local_));
  // Stored without its terminator: read back terminated.
  SetRegistryFolder(u"E:\\Reg", REG_SZ, 6 * sizeof(WCHAR));
  EXPECT_EQ(u"E:\\Reg", MachineFolderOf(local_));
  // A text that fills the whole buffer without terminator is not taken.
  WCHAR small[6];
  EXPECT_FALSE(InstReadDriverRegValue(TEXT("_ZEMSDirectory"), small, sizeof small));
  WCHAR room[7];
  EXPECT_TRUE(InstReadDriverRegValue(TEXT("_ZEMSDirectory"), room, sizeof room));
  EXPECT_EQ(u"E:\\Reg", Str(room));
}

TEST_F(FoldersTest, UserFolderWithAndWithoutUserEnv) {
  WCHAR buffer[MAX_PATH];
  // Without "UserEnv.dll" the machine folder stands in for the profile.
  EXPECT_FALSE(OsGetUserProfileDirStrict(buffer, MAX_PATH));
  EXPECT_TRUE(OsGetUserProfileDir(buffer, MAX_PATH, local_));
  EXPECT_EQ(u"C:\\_zems", Str(buffer));
  PathGetUserSettingsFolder(buffer, MAX_PATH, local_);
  EXPECT_EQ(u"C:\\_zems\\_zems", Str(buffer));

  UseStandIn("UserEnv.dll", "userenv");
  SetEnvironmentVariableW(TEXT("USERPROFILE"), TEXT("C:\\Users\\ann"));
  EXPECT_TRUE(OsGetUserProfileDirStrict(buffer, MAX_PATH));
  EXPECT_EQ(u"C:\\Users\\ann", Str(buffer));
  EXPECT_EQ(18u, PathGetUserSettingsFolder(buffer, MAX_PATH, local_));
  EXPECT_EQ(u"C:\\Users\\ann\\_zems", Str(buffer));
  PathInUserSettingsFolder(buffer, MAX_PATH, TEXT("a.rst"), local_);
  EXPECT_EQ(u"C:\\Users\\ann\\_zems\\a.rst", Str(buffer));
  EXPECT_EQ(0u, PathInUserSettingsFolder(buffer, 20, TEXT("a.rst"), local_));
  EXPECT_EQ(u"", Str(buffer));

  // Before Windows 2000: System\orvel\_zems\<profile leaf>; the settings folder is System.
  SetWindowsVersion(4, 0);
  PathGetUserSettingsFolder(buffer, MAX_PATH, local_);
  EXPECT_EQ(u"C:\\WINDOWS\\system32\\orvel\\_zems\\ann", Str(buffer));
  PathGetSettingsFolderOf(buffer, MAX_PATH, local_);
  EXPECT_EQ(u"C:\\WINDOWS\\system32", Str(buffer));
}

TEST_F(FoldersTest, SessionFolderFollowsAnAbsoluteSettingsFile) {
  UseStandIn("UserEnv.dll", "userenv");
  WCHAR buffer[MAX_PATH];
  PathGetSessionSettingsFolder(buffer, MAX_PATH, &localCtx_);
  EXPECT_EQ(u"C:\\Documents and Settings\\User\\_zems", Str(buffer));
  lstrcpyW(localUi_.settingsFilePath, TEXT("D:\\cfg\\OV1BD170.ini"));
  EXPECT_EQ(6u, PathGetSessionSettingsFolder(buffer, MAX_PATH, &localCtx_));
  EXPECT_EQ(u"D:\\cfg", Str(buffer));
}

TEST_F(FoldersTest, MacroExpansionAndLengthLimits) {
  struct Case {
    const char16_t* path;
    DWORD size;
    BOOL result;
    const char16_t* after;
  } cases[] = {
      {u"%SYSTEMDRIVE%\\orvel\\a.ini", MAX_PATH, TRUE, u"C:\\orvel\\a.ini"},  // one separator
      {u"%systemdrive%orvel", MAX_PATH, TRUE, u"C:\\orvel"},
      {u"%SYSTEMROOT%\\fonts", MAX_PATH, TRUE, u"C:\\WINDOWS\\fonts"},
      {u"D:\\as\\is", MAX_PATH, TRUE, u"D:\\as\\is"},
      {u"relative\\x", MAX_PATH, FALSE, u"relative\\x"},
      {u"%WINDIR%\\x", MAX_PATH, FALSE, u"%WINDIR%\\x"},
      {u"%SYSTEMDRIVE%\\abcd", 7, FALSE, u""},  // C:\abcd and its terminator need 8
      {u"%SYSTEMDRIVE%\\abcd", 8, TRUE, u"C:\\abcd"},
      {u"%SYSTEMROOT%\\abc", 12, FALSE, u""},
  };
  for (const Case& c : cases) {
    WCHAR path[MAX_PATH];
    lstrcpyW(path, c.path);
    EXPECT_EQ(c.result, PathExpandSystemMacros(path, c.size, &localCtx_)) << std::u16string(c.path).size();
    EXPECT_EQ(std::u16string(c.after), Str(path));
  }
  WCHAR longPath[300];
  std::u16string tooLong = u"%SYSTEMDRIVE%" + std::u16string(250, u'x');
  lstrcpyW(longPath, tooLong.c_str());
  EXPECT_FALSE(PathExpandSystemMacros(longPath, 300, &localCtx_));
  EXPECT_EQ(tooLong, Str(longPath));

  // Each single expansion takes only a path that begins with its own macro; a shorter text is
  // not read past its end.
  WCHAR shortPath[3] = {'C', ':', 0};
  EXPECT_FALSE(PathExpandSystemDrive(shortPath, 3));
  EXPECT_FALSE(PathExpandSystemRoot(shortPath, 3));
  EXPECT_EQ(u"C:", Str(shortPath));
  WCHAR other[MAX_PATH];
  lstrcpyW(other, TEXT("%SYSTEMROOT%\\x"));
  EXPECT_FALSE(PathExpandSystemDrive(other, MAX_PATH));
  EXPECT_EQ(u"%SYSTEMROOT%\\x", Str(other));
}

const char kFolderSecurity[] = "O:S-1-5-32-544 D:(A;0x3;0x1f01ff;S-1-1-0)";

TEST_F(FoldersTest, CreatedFolderIsHiddenOwnedByAdministratorsAndOpenToEveryone) {
  ASSERT_TRUE(PathCreateSettingsFolderOf(local_));
  DWORD attributes = GetFileAttributesW(TEXT("C:\\_zems"));
  EXPECT_EQ(DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN), attributes);
  EXPECT_STREQ(kFolderSecurity, SimRecordedFileSecurity(TEXT("C:\\_zems")));
  EXPECT_EQ(2u, SimFileSecurityCallCount()) << "the folder only";
  EXPECT_TRUE(PathCreateSettingsFolder(&localCtx_)) << "an existing folder is fine";
}

TEST_F(FoldersTest, SecuringTakesTheDirectFilesButNotASubFoldersFiles) {
  MakeFolder(OnC(Root(), "_zems/sub"));
  WriteHostFile(OnC(Root(), "_zems/a.rst"), "x");
  WriteHostFile(OnC(Root(), "_zems/sub/b.rst"), "y");
  EXPECT_TRUE(PathSecureSettingsFolder(&localCtx_));
  EXPECT_STREQ(kFolderSecurity, SimRecordedFileSecurity(TEXT("C:\\_zems")));
  EXPECT_STREQ(kFolderSecurity, SimRecordedFileSecurity(TEXT("C:\\_zems\\a.rst")));
  EXPECT_STREQ("", SimRecordedFileSecurity(TEXT("C:\\_zems\\sub")));
  EXPECT_STREQ("", SimRecordedFileSecurity(TEXT("C:\\_zems\\sub\\b.rst")));

  // A descriptor that cannot be applied is reported.
  SimSetFileSecurityError(ERROR_ACCESS_DENIED);
  EXPECT_FALSE(PathSecureMachineFolderOf(local_));
  EXPECT_FALSE(FolderGrantEveryone(TEXT("C:\\_zems"), 1));
  SimSetFileSecurityError(0);
  EXPECT_FALSE(FolderSetAdminOwner(TEXT("C:\\_zems\\missing"), 1));
}

TEST_F(FoldersTest, DefaultFolderStaysWhileItIsInUse) {
  MakeFolder(OnC(Root(), "_zems/inner"));
  WriteHostFile(OnC(Root(), "_zems/a.rst"), "x");
  // The configured folder is the default folder itself, or a folder inside it.
  EXPECT_FALSE(PathRemoveDefaultMachineFolder(local_));
  for (const char16_t* same : {u"c:\\_ZEMS\\inner\\", u"C:/_zems", u"C:\\other\\..\\_zems\\.", u"C:\\_zems.\\inner"}) {
    SetRegistryFolder(same);
    EXPECT_FALSE(PathRemoveDefaultMachineFolder(local_)) << std::u16string(same).size();
  }
  EXPECT_TRUE(HostExists(OnC(Root(), "_zems/a.rst")));
  // A folder whose name only begins like it is elsewhere.
  SetRegistryFolder(u"C:\\_zems2");
  MakeFolder(OnC(Root(), "outside"));
  WriteHostFile(OnC(Root(), "outside/keep.txt"), "keep");
  ASSERT_EQ(0, symlink(OnC(Root(), "outside").c_str(), OnC(Root(), "_zems/inner/link").c_str()));
  ASSERT_TRUE(SetFileAttributesW(TEXT("C:\\_zems\\a.rst"), FILE_ATTRIBUTE_READONLY));
  // Only what the driver put there goes: its settings ini and the files that ini lists.
  WCHAR ini[MAX_PATH];
  ASSERT_TRUE(PathSettingsFileOf(ini, MAX_PATH, 0, local_));
  const std::u16string leaf16 = PathFindLeaf(ini);
  const std::string leaf(leaf16.begin(), leaf16.end());
  WriteHostFile(OnC(Root(), "_zems/" + leaf),
                "[Office]\r\nCount=2\r\nPresetList0=C:\\_zems\\a.rst\r\nPresetList1=C:\\outside\\keep.txt\r\n"
                "QualityCount=1\r\nQualityList0=C:\\_zems\\inner\\..\\..\\outside\\keep.txt\r\n");
  MakeFolder(OnC(Root(), "_zems/package1"));
  WriteHostFile(OnC(Root(), "_zems/package1/p.rsb"), "pack");
  EXPECT_TRUE(PathRemoveDefaultMachineFolder(local_));
  EXPECT_FALSE(HostExists(OnC(Root(), "_zems/a.rst")));
  EXPECT_FALSE(HostExists(OnC(Root(), "_zems/" + leaf)));
  EXPECT_EQ("pack", ReadHostFile(OnC(Root(), "_zems/package1/p.rsb"))) << "an exported package stays";
  EXPECT_EQ("keep", ReadHostFile(OnC(Root(), "outside/keep.txt"))) << "nothing outside the folder, no link followed";
}

TEST_F(FoldersTest, LocalLowFolderNeedsBothLibraries) {
  WCHAR buffer[MAX_PATH];
  UseStandIn("shell32.dll", "shell32");
  EXPECT_FALSE(PathGetLocalLowFolder(buffer, MAX_PATH)) << "ole32 missing";
  UseStandIn("ole32.dll", "ole32");
  ASSERT_TRUE(PathGetLocalLowFolder(buffer, MAX_PATH));
  EXPECT_EQ(u"C:\\Documents and Settings\\User\\AppData\\LocalLow", Str(buffer));
  EXPECT_FALSE(PathGetLocalLowFolder(buffer, 20)) << "does not fit";
}

TEST_F(FoldersTest, PathInSettingsFolderBounds) {
  WCHAR buffer[MAX_PATH];
  EXPECT_EQ(14u, PathInSettingsFolder(buffer, MAX_PATH, TEXT("a.rst"), &localCtx_));
  EXPECT_EQ(u"C:\\_zems\\a.rst", Str(buffer));
  EXPECT_EQ(0u, PathInSettingsFolder(buffer, 14, TEXT("a.rst"), &localCtx_));
  EXPECT_EQ(u"", Str(buffer));
  WCHAR folder[MAX_PATH];
  EXPECT_EQ(8u, PathGetDefaultMachineFolder(folder, MAX_PATH));
  ASSERT_TRUE(PathUserRsrFile(buffer, TEXT("D:\\x\\list.ini"), MAX_PATH, &localCtx_));
  EXPECT_EQ(u"C:\\_zems\\list.rsr", Str(buffer));
}

// On a terminal server each user's settings go to the user's folder, unless the context was
// opened to keep them on the machine (kind bit 0x40000).
TEST_F(FoldersTest, UserRsrFileOnAMultiSessionHost) {
  UseStandIn("UserEnv.dll", "userenv");
  SimSystemIdentity identity;
  ASSERT_TRUE(SimGetSystemIdentity(&identity));
  identity.majorVersion = 5;
  identity.minorVersion = 1;
  identity.suiteMask = VER_SUITE_TERMINAL;
  ASSERT_TRUE(SimSetSystemIdentity(&identity));
  OsForgetCachedAnswers();
  WCHAR buffer[MAX_PATH];
  ASSERT_TRUE(PathUserRsrFile(buffer, TEXT("D:\\x\\list.ini"), MAX_PATH, &localCtx_));
  EXPECT_EQ(u"C:\\Documents and Settings\\User\\_zems\\list.rsr", Str(buffer));
  localUi_.openKind = 0x80000000 | 0x40000;
  ASSERT_TRUE(PathUserRsrFile(buffer, TEXT("D:\\x\\list.ini"), MAX_PATH, &localCtx_));
  EXPECT_EQ(u"C:\\_zems\\list.rsr", Str(buffer));
  EXPECT_FALSE(PathUserRsrFile(buffer, TEXT("list.ini"), 12, &localCtx_)) << "does not fit";
}

}  // namespace
