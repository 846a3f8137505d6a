// The colour-profile browse dialog's hook: the typed name completed from the folder list
// (a drive or UNC name as it stands, a root name on the list's drive, a path too long
// refused) and the file checked as a profile before the dialog may close.
#include <gtest/gtest.h>

#include <string>

#include "core/common/window_ui.h"
#include "core/context/ui_state.h"
#include "core/modules/cmm_profile_hook.h"
#include "core/system/resources.h"
#include "platform/sim.h"
#include "support/sample_context.h"

namespace zems_test {
namespace {

const WCHAR* W16(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
std::u16string U16(const WCHAR* s) { return reinterpret_cast<const char16_t*>(s); }

// A stand-in profile: the signature bytes at their places in a 128-byte header.
std::string ProfileBytes() {
  std::string bytes(128, '\0');
  const struct {
    size_t at;
    const char* text;
  } fields[] = {{4, "OVMS"}, {12, "prtr"}, {20, "RGB "}, {36, "acsp"}, {48, "ORVL"}};
  for (const auto& f : fields)
    for (size_t i = 0; i < 4; ++i) bytes[f.at + i] = f.text[i];
  return bytes;
}

TEST(ProfilePathTest, NamesAreCompletedFromTheFolderList) {
  const WCHAR* folders[] = {W16(u"D:\\"), W16(u"colour"), W16(u"profiles")};
  std::u16string long_name(1020, u'n');
  struct Case {
    const char16_t* name;
    int selected;
    const char16_t* path;  // null: refused
  } cases[] = {
      {u"a.vtc", 2, u"D:\\colour\\profiles\\a.vtc"},
      {u"a.vtc", 0, u"D:\\a.vtc"},
      {u"E:\\x\\a.vtc", 2, u"E:\\x\\a.vtc"},              // a drive: as it stands
      {u"\\\\server\\share\\a.vtc", 2, u"\\\\server\\share\\a.vtc"},  // UNC: as it stands
      {u"\\x\\a.vtc", 2, u"D:\\x\\a.vtc"},                // from the root of the list's drive
      {long_name.c_str(), 2, nullptr},                     // joined, longer than the buffer
      {long_name.c_str() + 10, 0, u""},                    // 1,010 + 3 characters fit
  };
  for (const Case& c : cases) {
    WCHAR path[kCmmPathChars];
    const int joined = CmmJoinProfilePath(W16(c.name), folders, c.selected, path);
    EXPECT_EQ(joined, c.path ? 1 : 0) << c.selected;
    if (c.path && c.path[0]) {
      EXPECT_EQ(U16(path), c.path);
    }
    if (!c.path) {
      EXPECT_EQ(U16(path), u"");
    }
  }
}

class ProfileHookTest : public SampleContextTest {
 protected:
  void SetUp() override {
    SampleContextTest::SetUp();
    if (HasFatalFailure()) return;
    dialog_ = SimUiMakeWindow(W16(u"#32770"), NULL, 0, 0);
    name_ = SimUiMakeWindow(W16(u"Edit"), dialog_, 1152, WS_CHILD);
    folders_ = SimUiMakeWindow(W16(u"ListBox"), dialog_, 1121, WS_CHILD);
    WuiChoiceAdd(folders_, W16(u"C:\\"), 0);
    WuiChoiceAdd(folders_, W16(u"p"), 0);
    WuiChoiceSelect(folders_, 1);
    OPENFILENAMEW record = {};
    record.lCustData = reinterpret_cast<LPARAM>(ctx_);
    CmmProfileDialogHook(dialog_, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&record));
    ASSERT_TRUE(WriteMachineFile("C:\\p\\good.vtc", ProfileBytes()));
    ASSERT_TRUE(WriteMachineFile("C:\\p\\foreign.vtc", std::string(128, 'x')));
  }
  // The OK pressed with the name typed: the hook's answer (nonzero keeps the dialog open).
  UINT_PTR Ok(const char16_t* name) {
    WuiSetText(name_, W16(name));
    return CmmProfileDialogHook(dialog_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  int Boxes() {
    int n = 0;
    SimUiCall call;
    for (DWORD i = 0; i < SimUiCallCount(); ++i) n += SimUiGetCall(i, &call) && call.kind == kSimUiMessageBox;
    return n;
  }
  HWND dialog_ = NULL, name_ = NULL, folders_ = NULL;
};

TEST_F(ProfileHookTest, AProfileClosesTheDialogAForeignFileKeepsItOpenWithItsMessage) {
  struct Case {
    const char16_t* name;
    bool closes;
  } cases[] = {
      {u"good.vtc", true},
      {u"C:\\p\\good.vtc", true},
      {u"\\p\\good.vtc", true},
      {u"foreign.vtc", false},
      {u"absent.vtc", false},
      {u"*.vtc", true},  // a pattern is the dialog's own listing
  };
  for (const Case& c : cases) {
    ctx_->ui->front.okFlag = 0;
    const int before = Boxes();
    EXPECT_EQ(Ok(c.name) == 0, c.closes);
    EXPECT_EQ(Boxes() - before, c.closes ? 0 : 1);
    if (!c.closes) {
      SimUiCall call = {};
      SimUiGetCall(SimUiCallCount() - 1, &call);
      WCHAR text[1025];
      ResLoadString(ctx_, kMessageNoProfile, text, 1025, TRUE);
      EXPECT_EQ(U16(call.text), U16(text));
    }
  }
  // The dialog hands the full path on.
  Ok(u"good.vtc");
  WCHAR chosen[kCmmPathChars];
  WuiGetText(name_, chosen, kCmmPathChars);
  EXPECT_EQ(U16(chosen), u"C:\\p\\good.vtc");
  EXPECT_EQ(ctx_->ui->front.okFlag, 1);
}

}  // namespace
}  // namespace zems_test
