// User messages: the composer's formatting, sizing and framing, the caption, the system error
// text and the wait dialog, through a context whose language DLL holds the test formats
// (tests/ui_messages/strings.txt).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/common/window_ui.h"
#include "core/system/resources.h"
#include "core/system/user_messages.h"
#include "platform/sim.h"
#include "support/test_printer.h"

namespace {

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
std::u16string S(const WCHAR* w) { return std::u16string(reinterpret_cast<const char16_t*>(w)); }

const char kDriverFolder[] = "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\";

class UserMessagesTest : public zems_test::ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    if (HasFatalFailure()) return;
    PlaceLanguageDll();
    ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx_, nullptr);
    SimUiReset();
  }
  void TearDown() override {
    if (ctx_) CtxClose(ctx_);
    ContextTest::TearDown();
  }
  // The test formats as the printer's US language DLL.
  void PlaceLanguageDll() {
    std::error_code ec;
    std::string folder = zems_test::HostPath(kDriverFolder);
    std::filesystem::create_directories(folder, ec);
    ASSERT_TRUE(std::filesystem::copy_file(zems_test::BinDir() + "/zemstestmsg.dll", folder + "/zemsresus.dll",
                                           std::filesystem::copy_options::overwrite_existing, ec))
        << ec.message();
  }
  // The one message box shown since the last reset.
  SimUiCall OnlyBox() {
    SimUiCall call = {};
    EXPECT_EQ(SimUiCallCount(), 1u);
    EXPECT_TRUE(SimUiGetCall(0, &call));
    EXPECT_EQ(call.kind, kSimUiMessageBox);
    return call;
  }

  DriverContext* ctx_ = nullptr;
};

// The formatter's own cases are in tests/ui_conformance (both builds); these are the composer's.
TEST_F(UserMessagesTest, ComposedTextsFormatOnlyWhatWasGiven) {
  const WORD three[] = {10, 20, 65535};
  const WORD nine[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  struct Case {
    WORD textId;
    WORD kind;
    WORD count;
    const void* arguments;
    const char16_t* expected;
  } cases[] = {
      {60001, kUiArgNumbers, 3, three, u"10, 20 and 65535"},            // unsigned 16-bit values
      {60002, kUiArgText, 0, nullptr, u"File %s at 100%%"},             // no argument: as loaded
      {60002, kUiArgText, 0, u"C:\\a.rst", u"File C:\\a.rst at 100%"},
      {60001, kUiArgNumbers, 9, nine, u"1, %u and %u"},                 // a count above 8: one
      {60006, kUiArgNone, 0, nullptr, u"Plain text"},
      {60009, kUiArgNumbers, 1, three, nullptr},                        // width bounded
  };
  for (const Case& c : cases) {
    SimUiReset();
    MessageRequest request = {};
    request.textId = c.textId;
    request.iconStyle = MB_ICONINFORMATION;
    request.buttonStyle = MB_OKCANCEL;
    request.argumentKind = c.kind;
    request.numberCount = c.count;
    request.arguments = c.arguments;
    EXPECT_EQ(UiShowComposedMessage(ctx_, &request, nullptr), IDOK) << c.textId;
    SimUiCall call = OnlyBox();
    if (c.expected) {
      EXPECT_EQ(S(call.text), std::u16string(c.expected)) << "string " << c.textId;
    } else {
      EXPECT_EQ(call.textLength, 1024u + 2u) << "a width of more than 1024 is cut to 1024";
    }
    EXPECT_EQ(call.style, UINT(MB_OKCANCEL | MB_ICONINFORMATION));
    EXPECT_EQ(S(call.caption), u"Office");
  }
}

TEST_F(UserMessagesTest, RefusedRequestsShowNothing) {
  const WORD one[] = {1};
  MessageRequest withArgumentsKindNone = {};
  withArgumentsKindNone.textId = 60006;
  withArgumentsKindNone.arguments = one;
  MessageRequest numbersCountZero = {};
  numbersCountZero.textId = 60001;
  numbersCountZero.argumentKind = kUiArgNumbers;
  numbersCountZero.arguments = one;
  MessageRequest unknownKind = {};
  unknownKind.textId = 60006;
  unknownKind.argumentKind = 3;
  for (const MessageRequest* r : {(const MessageRequest*)nullptr, (const MessageRequest*)&withArgumentsKindNone,
                                  (const MessageRequest*)&numbersCountZero, (const MessageRequest*)&unknownKind})
    EXPECT_EQ(UiShowComposedMessage(ctx_, r, nullptr), 0);
  EXPECT_EQ(SimUiCallCount(), 0u);
}

TEST_F(UserMessagesTest, PrefixAndSuffixStandOnTheirOwnLinesAndCaptionIdIsLoaded) {
  MessageRequest request = {};
  request.textId = 60006;
  request.captionId = 60007;
  request.prefix = W(u"Before");
  request.suffix = W(u"After");
  UiShowComposedMessage(ctx_, &request, nullptr);
  SimUiCall call = OnlyBox();
  EXPECT_EQ(S(call.text), u"Before\r\n\r\nPlain text\r\n\r\nAfter\r\n\r\n");
  EXPECT_EQ(S(call.caption), u"The caption");
}

TEST_F(UserMessagesTest, LongTextWithLongPrefixAndSuffixIsSizedFromTheRealLengths) {
  // A full 1,024-character text takes %s: the argument, prefix and suffix are far above the
  // composer's fixed allowance of 2,048 bytes.
  std::u16string argument(3000, u'a'), prefix(5000, u'p'), suffix(4000, u's');
  MessageRequest request = {};
  request.textId = 60002;
  request.prefix = W(prefix.c_str());
  request.suffix = W(suffix.c_str());
  request.argumentKind = kUiArgText;
  request.arguments = argument.c_str();
  UiShowComposedMessage(ctx_, &request, nullptr);
  SimUiCall call = OnlyBox();
  const size_t text = std::u16string(u"File  at 100%").size() + argument.size();
  EXPECT_EQ(call.textLength, prefix.size() + 4 + text + 4 + suffix.size() + 4);
  EXPECT_EQ(S(call.text).substr(0, 8), u"pppppppp");
}

TEST_F(UserMessagesTest, WarningsTakeTheActiveWindowAsOwner) {
  HWND active = SimUiMakeWindow(W(u"#32770"), NULL, 0, 0);
  SimUiShow(active, SW_SHOW);
  HWND other = SimUiMakeWindow(W(u"#32770"), NULL, 0, 0);
  struct Case {
    int (*show)(DriverContext*, HWND);
    HWND owner;
    HWND expected;
    UINT style;
  } cases[] = {
      {[](DriverContext* c, HWND o) { return UiWarnOk(c, o, 60006); }, NULL, active, MB_ICONWARNING | MB_OK},
      {[](DriverContext* c, HWND o) { return UiWarnOkCancel(c, o, 60006); }, other, other, MB_ICONWARNING | MB_OKCANCEL},
      {[](DriverContext* c, HWND o) { return UiWarnWithArgument(c, o, 60002, W(u"f")); }, NULL, active,
       MB_ICONWARNING | MB_OK},
      // Only the warnings look for the active window.
      {[](DriverContext* c, HWND o) { return UiShowMessageById(c, o, 60006, MB_ICONINFORMATION, MB_YESNO); }, NULL,
       NULL, MB_ICONINFORMATION | MB_YESNO},
  };
  for (const Case& c : cases) {
    DWORD before = SimUiCallCount();
    c.show(ctx_, c.owner);
    SimUiCall call = {};
    ASSERT_TRUE(SimUiGetCall(SimUiCallCount() - 1, &call));
    EXPECT_EQ(SimUiCallCount(), before + 1);
    EXPECT_EQ(call.window, c.expected) << (&c - cases);
    EXPECT_EQ(call.style, c.style) << (&c - cases);
  }
}

TEST_F(UserMessagesTest, SystemErrorsShowTheSystemsTextOnly) {
  EXPECT_EQ(UiShowSystemError(ctx_, ERROR_ACCESS_DENIED, nullptr), 1);
  SimUiCall call = OnlyBox();
  EXPECT_EQ(S(call.text), u"Access is denied.\r\n");
  EXPECT_EQ(S(call.caption), u"Office");
  EXPECT_EQ(call.style, UINT(MB_ICONWARNING));
  SimUiReset();
  EXPECT_EQ(UiShowSystemError(ctx_, 0x2FFFFFFF, nullptr), 1);
  EXPECT_EQ(SimUiCallCount(), 0u) << "a code without a system text shows nothing";
}

TEST_F(UserMessagesTest, WaitDialogShowsThePrinterAndTheTextUntilClosed) {
  HWND owner = SimUiMakeWindow(W(u"#32770"), NULL, 0, 0);
  SimUiShow(owner, SW_SHOW);
  HWND dialog = UiShowWaitDialog(ctx_, 60006);
  ASSERT_NE(dialog, (HWND)NULL);
  WCHAR text[64];
  WuiGetText(dialog, text, 64);
  EXPECT_EQ(S(text), u"Office");
  WuiGetText(WuiFindControl(dialog, 5005), text, 64);
  EXPECT_EQ(S(text), u"Plain text");
  EXPECT_EQ(S(ctx_->ui->textBuffer), u"Plain text");
  EXPECT_TRUE(WuiIsVisible(dialog)) << "shown by its template's style";
  EXPECT_TRUE(WuiIsEnabled(owner)) << "no window is disabled while it shows";
  SimUiCall made = {};
  ASSERT_TRUE(SimUiGetCall(1, &made));
  EXPECT_EQ(made.kind, kSimUiCreateDialog);
  EXPECT_EQ(made.id, 4006);
  EXPECT_EQ(made.value, (LONG_PTR)owner) << "owned by the active window";
  UiCloseWaitDialog(dialog);
  EXPECT_FALSE(WuiIsWindow(dialog));
  EXPECT_TRUE(WuiIsWindow(owner)) << "no other window is touched";
  UiCloseWaitDialog(nullptr);
}

TEST_F(UserMessagesTest, WithoutTheLanguageDllNoWaitDialogAndEmptyBoxes) {
  CtxClose(ctx_);
  ctx_ = nullptr;
  std::error_code ec;
  std::filesystem::remove(zems_test::HostPath(std::string(kDriverFolder) + "zemsresus.dll"), ec);
  ctx_ = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx_, nullptr);
  EXPECT_EQ(UiShowWaitDialog(ctx_, 60006), (HWND)NULL);
  EXPECT_EQ(SimUiCallCount(), 0u);
  MessageRequest request = {};
  request.textId = 60006;
  request.prefix = W(u"P");
  UiShowComposedMessage(ctx_, &request, nullptr);
  SimUiCall call = OnlyBox();
  EXPECT_EQ(S(call.text), u"P\r\n\r\n");
  EXPECT_EQ(S(call.caption), u"Office");
}

class UserMessageCaptionTest : public zems_test::LocalAndRemotePrinterTest {};

TEST_F(UserMessageCaptionTest, CaptionZeroIsTheRebuiltConnectionName) {
  SimUiReset();
  UiWarnById(&remoteCtx_, nullptr, 60006, MB_OK);
  SimUiCall call = {};
  ASSERT_TRUE(SimUiGetCall(0, &call));
  EXPECT_EQ(S(call.caption), u"\\\\SRV\\Remote");
}

}  // namespace
