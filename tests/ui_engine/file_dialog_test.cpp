// The file dialogs run as sub-dialogs on the fake's old-style file dialog: what each kind asks
// the common dialog for, what the hook refuses or asks before the dialog closes, and the save,
// load and delete that follow.
#include <filesystem>
#include <string>
#include <vector>

#include "core/common/ini_access.h"
#include "core/context/ui_state.h"
#include "core/front/page_lookup.h"
#include "core/install/driver_identity.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/modules/preset_entries.h"
#include "core/store/preset_store.h"
#include "core/store/settings_file.h"
#include "core/store/store_keys.h"
#include "core/system/settings_folders.h"
#include "core/system/sub_dialog.h"
#include "ui_engine/engine_fixture.h"

namespace zems_test {
namespace {

LPCWSTR W(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }
std::u16string U(const WCHAR* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }
// A text for the failure messages (ASCII kept, the rest as '?').
std::string Say(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}
std::string Say(const char16_t* text) { return Say(std::u16string(text)); }

class FileDialogTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(CreateDirectoryW(W(u"C:\\files"), NULL));
    // The settings folder, where the settings ini keeps the lists and the remembered folders.
    const std::u16string ini = U(PathSettingsFile(ctx_));
    CreateDirectoryW(W(ini.substr(0, ini.find_last_of(u'\\')).c_str()), NULL);
  }

  // The user's steps in the next file dialogs: text into the name edit, then a button.
  void Script(std::vector<std::pair<std::u16string, int>> steps) {
    steps_ = std::move(steps);
    std::vector<SimUiFileStep> raw;
    for (const auto& step : steps_) raw.push_back(SimUiFileStep{W(step.first.c_str()), step.second});
    SimUiScriptFileDialog(raw.data(), static_cast<int>(raw.size()));
  }
  void Answers(std::vector<int> answers) { SimUiScriptAnswers(answers.data(), static_cast<int>(answers.size())); }

  // The texts of the message boxes shown since the mark.
  std::vector<std::u16string> Boxes() {
    std::vector<std::u16string> texts;
    for (const SimUiCall& call : Calls(kSimUiMessageBox)) texts.push_back(U(call.text));
    return texts;
  }
  std::vector<std::u16string> Strings(std::vector<UINT> ids) {
    std::vector<std::u16string> texts;
    for (UINT id : ids) texts.push_back(String(id));
    return texts;
  }

  // A key of the printer's section of the settings ini.
  void WriteKey(LPCWSTR key, LPCWSTR value) {
    WCHAR ini[kPathChars], section[261];
    StoreCopySettingsIni(ctx_, ini);
    StoreCopyPrinterName(ctx_, section, 261);
    ASSERT_TRUE(IniWriteString(section, key, value, ini));
  }
  std::u16string ReadKey(LPCWSTR key) {
    WCHAR ini[kPathChars], section[261], value[261];
    StoreCopySettingsIni(ctx_, ini);
    StoreCopyPrinterName(ctx_, section, 261);
    IniReadString(section, key, TEXT("<none>"), value, 261, ini);
    return U(value);
  }
  // A preset file of the context's current settings.
  void SaveSettingsFile(const char16_t* path) {
    ASSERT_EQ(StoreSaveSettingsFile(ctx_->printer, W(path), kStoreFilePreset, ctx_), 1) << "cannot save the file";
  }
  // count presets, the first one of the file given.
  void RegisterPresets(int count, const char16_t* first) {
    for (int n = 0; n < count; ++n) {
      WCHAR key[64];
      std::u16string file = n == 0 && first ? first : u"C:\\files\\preset" + std::u16string(1, u'a' + n) + u".rst";
      WriteKey(PresetKeyName(key, 64, n, 0), W(file.c_str()));
    }
    WriteKey(TEXT("Count"), W(std::u16string(1, u'0' + count % 10).insert(0, count >= 10 ? u"1" : u"").c_str()));
    ASSERT_EQ(PresetGetCount(ctx_), count);
  }
  std::string FileText(const char16_t* path) {
    std::string text;
    HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, NULL) && read) text.append(buffer, read);
    CloseHandle(file);
    return text;
  }
  SimUiFileDialogSeen Seen() {
    SimUiFileDialogSeen seen = {};
    SimUiLastFileDialog(&seen);
    return seen;
  }

  std::vector<std::pair<std::u16string, int>> steps_;
};

TEST_F(FileDialogTest, EachKindAsksForItsDialogFilterTitleAndFirstName) {
  struct Case {
    WORD dialog;
    BOOL save;
    DWORD flags;
    UINT filterName, title;
    const char16_t* pattern;
    const char16_t* extension;
  } cases[] = {
      {4001, FALSE, 0x40264, 376, 5002, u"*.rst", u"rst"},
      {4002, TRUE, 0x64, 376, 5003, u"*.rst", u"rst"},
      {4003, FALSE, 0x64, 377, 5004, u"*.bmp", u"bmp"},
      {4009, TRUE, 0x64, 376, 5010, u"*.rst", u"rst"},
  };
  for (const Case& c : cases) {
    Script({});
    EXPECT_EQ(DlgRunSubDialog(ctx_, 4, c.dialog, NULL), 0) << c.dialog;
    const SimUiFileDialogSeen seen = Seen();
    EXPECT_EQ(seen.templateId, c.dialog);
    EXPECT_EQ(seen.save, c.save) << c.dialog;
    EXPECT_EQ(seen.flags, c.flags) << c.dialog;
    EXPECT_EQ(U(seen.title), String(c.title)) << c.dialog;
    EXPECT_EQ(U(seen.filterName), String(c.filterName)) << c.dialog;
    EXPECT_EQ(U(seen.filterPattern), c.pattern) << c.dialog;
    EXPECT_EQ(U(seen.file), c.pattern) << c.dialog;  // no file yet: the pattern
    EXPECT_EQ(U(seen.defaultExtension), c.extension) << c.dialog;
  }
}

TEST_F(FileDialogTest, ThreeFilesWhileFourteenPresetsExistAreRefusedBeforeAnyLoads) {
  for (const char16_t* path : {u"C:\\files\\a.rst", u"C:\\files\\b.rst", u"C:\\files\\c.rst"}) SaveSettingsFile(path);
  WriteKey(TEXT("OpenFilePath"), TEXT("C:\\files"));
  RegisterPresets(14, nullptr);
  MarkCalls();
  Script({{u"a.rst b.rst c.rst", IDOK}});
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4001, NULL), 0);
  EXPECT_EQ(Boxes(), Strings({10049}));
  EXPECT_EQ(U(PresetGetChosenFilePath(ctx_)), u"");
  EXPECT_EQ(PresetGetCount(ctx_), 14);
  // Two files fit: both are chosen, as the folder and the names.
  MarkCalls();
  Script({{u"a.rst b", IDOK}});
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4001, NULL), 1);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(U(PresetGetChosenFilePath(ctx_)), u"C:\\files a.rst b");
  EXPECT_EQ(PresetGetFileNameOffset(), 9);
}

TEST_F(FileDialogTest, SeveralFilesAreAllCheckedBeforeTheDialogCloses) {
  SaveSettingsFile(u"C:\\files\\good.rst");
  ASSERT_TRUE(WriteMachineFile("C:\\files\\plain.rst", "[Other]\nx=1\n"));
  WriteKey(TEXT("OpenFilePath"), TEXT("C:\\files"));
  struct Case {
    const char16_t* names;
    int result;
    std::u16string box;  // the one message shown
  } cases[] = {
      // A file that is not there is named before any file loads.
      {u"good.rst missing.rst", 0, String(10043)},
      // A file without the printer's settings header is refused by its trial load.
      {u"good plain", 0, u"The settings file C:\\files\\plain.rst was saved for another printer model or "
                         u"language and was not loaded."},
      {u"good good.rst", 1, u""},
  };
  for (const Case& c : cases) {
    ctx_->ui->presetChosenFile[0] = 0;
    MarkCalls();
    Script({{c.names, IDOK}});
    EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4001, NULL), c.result) << Say(c.names);
    EXPECT_EQ(U(PresetGetChosenFilePath(ctx_)).empty(), c.result == 0);
    EXPECT_EQ(Boxes(), c.box.empty() ? std::vector<std::u16string>() : std::vector<std::u16string>{c.box})
        << Say(c.names);
  }
}

TEST_F(FileDialogTest, SaveDialogAddsTheExtensionAndAsksBeforeReplacingAnother) {
  WriteKey(TEXT("RstSavePath"), TEXT("C:\\files"));
  ItemSetValueById(ctx_, kItem_dmCopies, 5);
  struct Case {
    const char16_t* typed;
    std::vector<int> answers;
    std::vector<UINT> boxes;
    int result;
    const char16_t* saved;
  } cases[] = {
      {u"mine", {}, {}, 1, u"C:\\files\\mine.rst"},
      {u"other.txt", {IDOK}, {10025}, 1, u"C:\\files\\other.rst"},
      {u"kept.txt", {IDCANCEL}, {10025}, 0, u"C:\\files\\kept.rst"},
  };
  for (const Case& c : cases) {
    MarkCalls();
    Answers(c.answers);
    Script({{c.typed, IDOK}});
    EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4009, NULL), c.result) << Say(c.typed);
    EXPECT_EQ(Boxes(), Strings(c.boxes)) << Say(c.typed);
    EXPECT_EQ(DlgFileExists(W(c.saved)), c.result) << Say(c.saved);
    if (c.result) {
      EXPECT_NE(FileText(c.saved).find("dmCopies=5"), std::string::npos) << "the settings are saved";
    }
  }
  EXPECT_EQ(DlgFileExists(W(u"C:\\files\\other.txt")), 0);
  // An existing file is overwritten only when the user agrees.
  MarkCalls();
  Answers({IDCANCEL});
  Script({{u"mine", IDOK}});
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4009, NULL), 0);
  EXPECT_EQ(Boxes(), Strings({10026}));
}

TEST_F(FileDialogTest, ThePathsJoinedAreBoundedToTwoHundredFiftyNineCharacters) {
  const std::u16string folder = u"C:\\" + std::u16string(246, u'f');  // 249 characters
  struct Case {
    size_t nameLength;
    int joined;
  } cases[] = {{9, 1}, {10, 0}, {50, 0}};
  for (const Case& c : cases) {
    WCHAR path[kPathChars];
    const std::u16string name(c.nameLength, u'n');
    EXPECT_EQ(DlgJoinPath(path, W(folder.c_str()), W(name.c_str())), c.joined) << c.nameLength;
    EXPECT_EQ(U(path).size(), c.joined ? folder.size() + 1 + c.nameLength : 0u);
  }
  WCHAR path[kPathChars];
  EXPECT_EQ(DlgJoinPath(path, TEXT("C:\\a\\b"), TEXT("\\x.rst")), 1);
  EXPECT_EQ(U(path), u"C:\\x.rst");
  EXPECT_EQ(DlgJoinPath(path, TEXT("C:\\"), TEXT("x.rst")), 1);
  EXPECT_EQ(U(path), u"C:\\x.rst");
  EXPECT_EQ(DlgJoinPath(path, TEXT("C:\\a"), TEXT("D:\\y.rst")), 1);
  EXPECT_EQ(U(path), u"D:\\y.rst");
}

TEST_F(FileDialogTest, TheAnswersFolderAndNameOffsetAreTakenWithinTheAnswer) {
  struct Case {
    const char16_t* file;
    WORD offset;
    const char16_t* folder;
    WORD taken;
  } cases[] = {
      {u"C:\\files\\mine.rst", 9, u"C:\\files", 9},
      {u"C:\\x.rst", 3, u"C:\\", 3},
      {u"C:\\files a.rst b.rst", 9, u"C:\\files", 9},
      {u"C:\\ a.rst", 4, u"C:\\", 4},
      // An offset that is not where the name starts, or beyond the answer, is not taken.
      {u"C:\\files\\mine.rst", 700, u"C:\\files", 9},
      {u"C:\\files\\mine.rst", 2, u"C:\\files", 9},
      {u"mine.rst", 0, u"mine.rst", 0},
  };
  for (const Case& c : cases) {
    WCHAR folder[kPathChars];
    EXPECT_EQ(DlgChosenFileFolder(W(c.file), 1025, c.offset, folder), c.taken) << Say(c.file);
    EXPECT_EQ(U(folder), c.folder) << Say(c.file);
  }
  // An answer without its terminator is not read beyond what was given.
  const WCHAR unterminated[4] = {'C', ':', '\\', 'x'};
  WCHAR folder[kPathChars];
  EXPECT_EQ(DlgChosenFileFolder(unterminated, 4, 3, folder), 0);
  EXPECT_EQ(U(folder), u"");
}

TEST_F(FileDialogTest, ANameTooLongForItsFolderIsRefusedInTheDialog) {
  // The folder list stands at a folder of 239 characters; a name of 50 with its extension
  // would make 294.
  std::u16string folder = u"C:\\files";
  while (folder.size() < 230) {
    folder += u"\\" + std::u16string(20, u'd');
    ASSERT_TRUE(CreateDirectoryW(W(folder.c_str()), NULL));
  }
  WriteKey(TEXT("OpenFilePath"), W(folder.c_str()));
  WriteKey(TEXT("RstSavePath"), W(folder.c_str()));
  const std::u16string name(50, u'n');
  for (WORD dialog : {4001, 4009}) {
    MarkCalls();
    Script({{name + (dialog == 4001 ? u" b.rst" : u""), IDOK}});
    EXPECT_EQ(DlgRunSubDialog(ctx_, 4, dialog, NULL), 0) << dialog;
    EXPECT_EQ(Boxes(), Strings({10024})) << dialog;
    EXPECT_EQ(Say(Seen().lastFolder), Say(folder));
  }
}

TEST_F(FileDialogTest, TheSpoolFolderIsStoredAtOnceAndTheDefaultAsEmpty) {
  ASSERT_TRUE(CreateDirectoryW(W(u"C:\\WINDOWS\\temp"), NULL) || GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(CreateDirectoryW(W(u"C:\\spool"), NULL));
  struct Case {
    const char16_t* machineWide;  // the machine-wide value before (null: absent)
    std::vector<std::pair<std::u16string, int>> steps;
    const char16_t* machineAfter;
    const char16_t* printerAfter;
  } cases[] = {
      // The default button goes to the Windows folder's temp; OK there stores the default.
      {nullptr, {{u"", 2887}, {u"", IDOK}}, u"", u""},
      {nullptr, {{u"C:\\spool", IDOK}, {u"", IDOK}}, u"", u"C:\\spool"},
      // A machine-wide folder is edited as such.
      {u"C:\\spool", {{u"", 2887}, {u"*.*", IDOK}}, u"", u"<none>"},
      {u"C:\\spool", {{u"C:\\files", IDOK}, {u"", IDOK}}, u"C:\\files", u"<none>"},
  };
  for (const Case& c : cases) {
    SimActForMachine(TRUE);
    HKEY key = NULL;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, PathDriverRegKey(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    RegDeleteValueW(key, TEXT("SpoolDirectory"));
    if (c.machineWide)
      RegSetValueExW(key, TEXT("SpoolDirectory"), 0, REG_SZ, reinterpret_cast<const BYTE*>(c.machineWide),
                     static_cast<DWORD>((std::u16string(c.machineWide).size() + 1) * 2));
    RegCloseKey(key);
    DeletePrinterDataW(ctx_->printer, Text(u"SpoolDirectory"));
    Script(c.steps);
    EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4015, NULL), 0);
    WCHAR value[261] = {};
    InstReadHklmValueRaw(PathDriverRegKey(), TEXT("SpoolDirectory"), value, sizeof value);
    EXPECT_EQ(U(value), c.machineAfter) << Say(c.steps[0].first);
    std::string bytes;
    DWORD type = 0;
    std::u16string printer = u"<none>";
    if (ReadPrinterData(ctx_->printer, u"SpoolDirectory", &bytes, &type))
      printer = std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2).c_str();
    EXPECT_EQ(printer, c.printerAfter) << Say(c.steps[0].first);
  }
}

TEST_F(FileDialogTest, TheImageDialogTakesOnlyABitmapWithTheFortyByteHeader) {
  auto bmp = [](DWORD infoSize) {
    std::string bytes = "BM" + std::string(12, '\0');
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((infoSize >> (8 * i)) & 0xFF);
    return bytes + std::string(36, '\0');
  };
  ASSERT_TRUE(WriteMachineFile("C:\\files\\core.bmp", bmp(12)));
  ASSERT_TRUE(WriteMachineFile("C:\\files\\info.bmp", bmp(40)));
  WriteKey(TEXT("RefFilePath"), TEXT("C:\\files"));
  MarkCalls();
  Script({{u"core", IDOK}});
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4003, NULL), 0);
  EXPECT_EQ(Boxes(), Strings({10043}));
  MarkCalls();
  Script({{u"info", IDOK}});
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4003, NULL), 1);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(U(PresetGetChosenFilePath(ctx_)), u"C:\\files\\info.bmp");
  EXPECT_EQ(PresetGetFileNameOffset(), 9);
}

TEST_F(FileDialogTest, TheOverlayDialogsCheckTheNameBeforeTheyTakeIt) {
  ASSERT_TRUE(WriteMachineFile("C:\\files\\old.zvl", "overlay"));
  ASSERT_TRUE(WriteMachineFile("C:\\files\\old.txt", "text"));
  struct Case {
    WORD dialog;
    const char16_t* typed;
    std::vector<int> answers;
    std::vector<UINT> boxes;
    int result;
    const char16_t* chosen;
  } cases[] = {
      // The overlay to write: a name is needed, another extension is asked about, an existing
      // file is overwritten only when the user agrees.
      {4007, u"", {}, {10024}, 0, u""},
      {4007, u"C:\\files\\new.txt", {IDOK}, {10060}, 1, u"C:\\files\\new.zvl"},
      {4007, u"C:\\files\\old.zvl", {IDCANCEL}, {10026}, 0, u""},
      // The overlay to use: it must be there, with the overlay extension.
      {4008, u"C:\\files\\none.zvl", {}, {10043}, 0, u""},
      {4008, u"C:\\files\\old.txt", {}, {10024}, 0, u""},
      {4008, u"C:\\files\\old", {}, {}, 1, u"C:\\files\\old.zvl"},
  };
  for (const Case& c : cases) {
    ctx_->ui->presetChosenFile[0] = 0;
    MarkCalls();
    Answers(c.answers);
    Script({{c.typed, IDOK}});
    EXPECT_EQ(DlgRunSubDialog(ctx_, 4, c.dialog, NULL), c.result) << c.dialog << " " << Say(c.typed);
    EXPECT_EQ(Boxes(), Strings(c.boxes)) << c.dialog << " " << Say(c.typed);
    EXPECT_EQ(U(PresetGetChosenFilePath(ctx_)), c.chosen) << c.dialog << " " << Say(c.typed);
  }
  // The overlay to write is kept in its item.
  WCHAR overlay[1025];
  ItemGetTextBounded(ctx_, ItemFind(ctx_, kItem_wdmOvlPath), overlay, 1025);
  EXPECT_EQ(U(overlay), u"C:\\files\\new.zvl");
}

TEST_F(FileDialogTest, AChosenFilesFolderIsWhereItsKindStartsNextTime) {
  ASSERT_TRUE(CreateDirectoryW(W(u"C:\\files\\images"), NULL));
  ASSERT_TRUE(WriteMachineFile("C:\\files\\images\\x.rst", "x"));
  SaveSettingsFile(u"C:\\files\\images\\x.rst");
  Script({{u"C:\\files\\images\\x.rst", IDOK}});
  ASSERT_EQ(DlgRunSubDialog(ctx_, 4, 4001, NULL), 1);
  EXPECT_EQ(ReadKey(TEXT("OpenFilePath")), u"C:\\files\\images");
  EXPECT_EQ(ReadKey(TEXT("RstSavePath")), u"<none>");
  Script({});
  DlgRunSubDialog(ctx_, 4, 4001, NULL);
  EXPECT_EQ(U(Seen().initialFolder), u"C:\\files\\images");
}

TEST_F(FileDialogTest, WithoutARememberedFolderADialogStartsInTheSystemOrDocumentsFolder) {
  struct Case {
    DWORD major;
    const char16_t* folder;
  } cases[] = {
      {5, u"C:\\WINDOWS\\system32"},
      {6, u"C:\\Documents and Settings\\User\\My Documents"},
  };
  for (const Case& c : cases) {
    SetWindowsVersion(c.major, 0);
    Script({});
    DlgRunSubDialog(ctx_, 4, 4003, NULL);
    EXPECT_EQ(Say(Seen().initialFolder), Say(c.folder)) << c.major;
  }
}

TEST_F(FileDialogTest, ARegisteredFileIsKnownThroughAnyPathAndNothingIsWritten) {
  ASSERT_TRUE(CreateDirectoryW(W(u"C:\\files\\sub"), NULL));
  SaveSettingsFile(u"C:\\files\\p.rst");
  SaveSettingsFile(u"C:\\files\\q.rst");
  SaveSettingsFile(u"C:\\files\\other.rst");
  RegisterPresets(1, u"C:\\files\\p.rst");
  WriteKey(TEXT("QualityCount"), TEXT("1"));
  WriteKey(TEXT("QualityList0"), TEXT("C:\\files\\q.rst"));
  const std::string before = FileText(u"C:\\files\\p.rst");
  struct Case {
    const char16_t* path;
    int registered;
  } cases[] = {
      {u"C:\\files\\p.rst", 1},  {u"c:\\FILES\\P.RST", 1}, {u"C:\\files\\sub\\..\\p.rst", 1},
      {u"C:\\files\\q.rst", 1},  {u"C:\\files\\other.rst", 0}, {u"C:\\files\\none.rst", 0},
      {u"C:\\files\\link.rst", 1},  // another name of the preset's file
  };
  std::error_code ec;
  std::filesystem::create_hard_link(HostPath("C:\\files\\p.rst"), HostPath("C:\\files") + "/link.rst", ec);
  ASSERT_FALSE(ec) << ec.message();
  for (const Case& c : cases) EXPECT_EQ(DlgIsRegisteredSettingsFile(ctx_, W(c.path)), c.registered) << Say(c.path);
  EXPECT_EQ(FileText(u"C:\\files\\p.rst"), before);
}

TEST_F(FileDialogTest, DeletingARegisteredPresetThroughAnotherPathIsRefused) {
  ASSERT_TRUE(CreateDirectoryW(W(u"C:\\files\\sub"), NULL));
  SaveSettingsFile(u"C:\\files\\p.rst");
  SaveSettingsFile(u"C:\\files\\free.rst");
  RegisterPresets(1, u"C:\\files\\p.rst");
  WriteKey(TEXT("SaveFilePath"), TEXT("C:\\files\\sub"));
  MarkCalls();
  Script({{u"..\\P.RST", 5003}});
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4002, NULL), 0);
  EXPECT_EQ(Boxes(), Strings({375}));
  EXPECT_EQ(DlgFileExists(W(u"C:\\files\\p.rst")), 1);
  // A file no list uses goes, once the user agrees.
  MarkCalls();
  Answers({IDOK});
  Script({{u"..\\free.rst", 5003}});
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4002, NULL), 1);
  EXPECT_EQ(Boxes(), Strings({10028}));
  EXPECT_EQ(DlgFileExists(W(u"C:\\files\\free.rst")), 0);
}

TEST_F(FileDialogTest, TheSaveButtonAsksBeforeItOverwritesAndNeverOverAReadOnlyFile) {
  SaveSettingsFile(u"C:\\files\\mine.rst");
  SaveSettingsFile(u"C:\\files\\locked.rst");
  WCHAR section[261];
  StoreCopyPrinterName(ctx_, section, 261);
  ASSERT_TRUE(IniWriteString(section, TEXT("Readonly"), TEXT("1"), W(u"C:\\files\\locked.rst")));
  WriteKey(TEXT("SaveFilePath"), TEXT("C:\\files"));
  ItemSetValueById(ctx_, kItem_dmCopies, 4);
  struct Case {
    std::u16string typed;
    int button;
    std::vector<int> answers;
    std::vector<UINT> boxes;
    int result;
  } cases[] = {
      {u"locked.rst", 5001, {}, {374}, 0},
      {u"mine.rst", 5001, {IDCANCEL}, {10026}, 0},
      {u"mine.rst", IDOK, {IDOK}, {10026}, 1},  // OK saves as the save button does
      {u"mine", 5001, {}, {10024}, 0},         // the buttons want the name's extension
      {u"fresh.rst", 5001, {}, {}, 1},
  };
  for (const Case& c : cases) {
    MarkCalls();
    Answers(c.answers);
    Script({{c.typed, c.button}});
    EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4002, NULL), c.result) << Say(c.typed) << " " << c.button;
    EXPECT_EQ(Boxes(), Strings(c.boxes)) << Say(c.typed) << " " << c.button;
  }
  EXPECT_NE(FileText(u"C:\\files\\mine.rst").find("dmCopies=4"), std::string::npos);
  EXPECT_NE(FileText(u"C:\\files\\fresh.rst").find("dmCopies=4"), std::string::npos);
  EXPECT_EQ(FileText(u"C:\\files\\locked.rst").find("dmCopies=4"), std::string::npos);
}

TEST_F(FileDialogTest, LoadFromTheSaveLoadDialogTakesTheFilesSettings) {
  ItemSetValueById(ctx_, kItem_dmCopies, 7);
  SaveSettingsFile(u"C:\\files\\seven.rst");
  ItemSetValueById(ctx_, kItem_dmCopies, 1);
  WriteKey(TEXT("SaveFilePath"), TEXT("C:\\files"));
  MarkCalls();
  Script({{u"missing.rst", 5002}, {u"seven.rst", 5002}});
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4002, NULL), 1);
  ASSERT_EQ(Calls(kSimUiMessageBox).size(), 1u);  // the missing file's
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_dmCopies), 7);
}

TEST_F(FileDialogTest, ACancelledOrFailedDialogKeepsNothing) {
  ItemSetValueById(ctx_, kItem_dmCopies, 3);
  Script({{u"", IDCANCEL}});
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4009, NULL), 0);
  EXPECT_TRUE(Has(Log().events, kEventSubDialogCancelled));
  EXPECT_EQ(ItemGetValueById(ctx_, kItem_dmCopies), 3);
  // A dialog the system cannot show also lets go of the follow-up guard.
  ctx_->ui->dialog.guardActive = 1;
  SimUiFailFileDialog(CDERR_FINDRESFAILURE);
  EXPECT_EQ(DlgRunSubDialog(ctx_, 4, 4009, NULL), 0);
  EXPECT_EQ(ctx_->ui->dialog.guardActive, 0);
}

}  // namespace
}  // namespace zems_test
