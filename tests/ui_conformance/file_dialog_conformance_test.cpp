// The old-style common file dialog as the driver's hook sees it, run through the window
// interface: natively on the machine's fake, under Wine on comdlg32. The hook of each case
// plays the user: once the dialog is up it reads the folder list, types into the name edit and
// presses OK, as the driver's own hook and its users do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/window_ui.h"
#ifdef _WIN32
#include "support/wine_detect.h"
#else
#include <filesystem>

#include "platform/sim.h"
#include "support/machine_fixture.h"
#endif

namespace {

constexpr int kTemplate = 4901;
constexpr int kNameEdit = 1152, kFolderList = 1121;
constexpr UINT kPlay = WM_USER + 10;

std::u16string Text(const WCHAR* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }
std::u16string Lower(std::u16string text) {
  for (char16_t& c : text)
    if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
  return text;
}
std::string Say(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? char(c) : '?';
  return out;
}

// What the case's user does and what the hook saw.
struct Play {
  std::u16string typed;
  int keepOpen = 0;        // IDOKs the hook answers TRUE to (each followed by a Cancel)
  std::u16string listed;   // the folder list's entries joined, drive to the selected one
  bool sawInit = false;
  LPARAM initRecord = 0;
};
Play g_play;

UINT_PTR CALLBACK PlayingHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      g_play.sawInit = true;
      g_play.initRecord = lParam;
      WuiPost(dialog, kPlay, 0, 0);
      return TRUE;
    case kPlay: {
      HWND list = WuiFindControl(dialog, kFolderList);
      const int selected = WuiChoiceSelection(list);
      g_play.listed.clear();
      for (int i = 0; i <= selected; ++i) {
        WCHAR entry[261];
        WuiChoiceText(list, i, entry, 261);
        if (!g_play.listed.empty() && g_play.listed.back() != u'\\') g_play.listed += u'\\';
        g_play.listed += Text(entry);
      }
      WuiSetText(WuiFindControl(dialog, kNameEdit), reinterpret_cast<LPCWSTR>(g_play.typed.c_str()));
      WuiPost(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)WuiFindControl(dialog, IDOK));
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && g_play.keepOpen > 0) {
        --g_play.keepOpen;
        WuiPost(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)WuiFindControl(dialog, IDCANCEL));
        return TRUE;
      }
      return 0;
    default:
      return 0;
  }
}

#ifdef _WIN32
using Base = ::testing::Test;
HMODULE LoadDialogs() { return LoadLibraryW(TEXT("zemstestui.dll")); }
bool UnderWine() { return zems_test::UnderWine(); }
#else
using Base = zems_test::MachineTest;
HMODULE LoadDialogs() {
  std::error_code ec;
  std::string folder = SimHostPath(reinterpret_cast<LPCWSTR>(u"C:\\"));
  std::filesystem::copy_file(zems_test::BinDir() + "/zemstestui.dll", folder + "/zemstestui.dll",
                             std::filesystem::copy_options::overwrite_existing, ec);
  return LoadLibraryW(reinterpret_cast<LPCWSTR>(u"C:\\zemstestui.dll"));
}
bool UnderWine() { return false; }
#endif

class FileDialogConformanceTest : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    dialogs_ = LoadDialogs();
    ASSERT_NE(dialogs_, (HMODULE)NULL);
    // A folder of short names, so that the old dialog's names are the files' own.
    WCHAR temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    WCHAR full[MAX_PATH];
    ASSERT_NE(GetShortPathNameW(temp, full, MAX_PATH), 0u);
    folder_ = Text(full) + u"zemsfd";
    while (!folder_.empty() && folder_.back() == u'\\') folder_.pop_back();
    CreateDirectoryW(reinterpret_cast<LPCWSTR>(folder_.c_str()), NULL);
    for (const char16_t* name : {u"a.rst", u"b.rst"}) {
      HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>((folder_ + u"\\" + name).c_str()), GENERIC_WRITE, 0, NULL,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
      ASSERT_NE(file, INVALID_HANDLE_VALUE);
      CloseHandle(file);
    }
  }
  void TearDown() override {
    for (const char16_t* name : {u"a.rst", u"b.rst"})
      DeleteFileW(reinterpret_cast<LPCWSTR>((folder_ + u"\\" + name).c_str()));
    RemoveDirectoryW(reinterpret_cast<LPCWSTR>(folder_.c_str()));
    if (dialogs_) FreeLibrary(dialogs_);
    Base::TearDown();
  }

  // Runs the dialog with the case's user; its result, the record's file in file.
  BOOL Run(BOOL save, DWORD extraFlags, const std::u16string& typed, int keepOpen, std::u16string* file,
           WORD* offset) {
    g_play = Play();
    g_play.typed = typed;
    g_play.keepOpen = keepOpen;
    static WCHAR buffer[1025];
    buffer[0] = 0;
    static const WCHAR filter[] = {'S', 'e', 't', 't', 'i', 'n', 'g', 's', 0, '*', '.', 'r', 's', 't', 0, 0};
    OPENFILENAMEW record = {};
    record.lStructSize = sizeof record;
    record.hInstance = dialogs_;
    record.lpstrFilter = filter;
    record.nFilterIndex = 1;
    record.lpstrFile = buffer;
    record.nMaxFile = 1025;
    record.lpstrInitialDir = reinterpret_cast<LPCWSTR>(folder_.c_str());
    record.Flags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | extraFlags;
    record.lpstrDefExt = TEXT("rst");
    record.lCustData = 1234;
    record.lpfnHook = PlayingHook;
    record.lpTemplateName = MAKEINTRESOURCEW(kTemplate);
    const BOOL chosen = WuiRunFileDialog(&record, save);
    *file = Text(buffer);
    *offset = record.nFileOffset;
    EXPECT_TRUE(g_play.sawInit);
    EXPECT_EQ(g_play.initRecord, (LPARAM)&record) << "WM_INITDIALOG carries the record";
    // Wine's old dialog lists the folder's subfolders ("[..]") in the folder list, with no
    // selection, where Windows shows the folder's parts from the drive down.
    if (!UnderWine()) {
      EXPECT_EQ(Lower(g_play.listed), Lower(folder_)) << "the folder list shows the initial folder";
    }
    return chosen;
  }

  HMODULE dialogs_ = NULL;
  std::u16string folder_;
};

TEST_F(FileDialogConformanceTest, ANameTypedIntoTheEditIsChosenWithTheDefaultExtension) {
  struct Case {
    BOOL save;
    std::u16string typed;
    const char16_t* leaf;
  } cases[] = {
      {TRUE, u"new", u"new.rst"},
      {FALSE, u"a.rst", u"a.rst"},
      {FALSE, folder_ + u"\\b.rst", u"b.rst"},
  };
  for (const Case& c : cases) {
    std::u16string file;
    WORD offset = 0;
    ASSERT_TRUE(Run(c.save, 0, c.typed, 0, &file, &offset)) << Say(c.typed) << " error " << WuiFileDialogError();
    // Wine's old dialog adds no default extension to a typed name (the driver's hook adds it
    // itself before the dialog takes the name).
    const std::u16string leaf = UnderWine() && c.typed == u"new" ? u"new" : c.leaf;
    EXPECT_EQ(Lower(file), Lower(folder_ + u"\\" + leaf)) << Say(c.typed);
    EXPECT_EQ(offset, folder_.size() + 1) << Say(c.typed);
  }
}

TEST_F(FileDialogConformanceTest, SeveralNamesComeBackAsTheFolderAndTheNames) {
  if (UnderWine()) GTEST_SKIP() << "Wine's old dialog answers several names as one path (the folder, a backslash, the "
                                   "names), not as the folder and the names separated by blanks";
  std::u16string file;
  WORD offset = 0;
  ASSERT_TRUE(Run(FALSE, OFN_ALLOWMULTISELECT | OFN_NOLONGNAMES, u"a.rst b.rst", 0, &file, &offset))
      << "error " << WuiFileDialogError();
  EXPECT_EQ(Lower(file), Lower(folder_ + u" a.rst b.rst"));
  EXPECT_EQ(offset, folder_.size() + 1);
}

TEST_F(FileDialogConformanceTest, AHookThatAnswersOkKeepsTheDialogOpen) {
  std::u16string file;
  WORD offset = 0;
  EXPECT_FALSE(Run(FALSE, 0, u"a.rst", 1, &file, &offset));
  EXPECT_EQ(WuiFileDialogError(), 0u) << "a cancel is no failure";
  EXPECT_EQ(file, u"");
}

}  // namespace
