// The user's colour-matching profiles: the list in the settings ini, the operations the
// quality module's notify codes run on it, its judge hooks and the profile header check.
#include <gtest/gtest.h>

#include <string>

#include "core/common/ini_access.h"
#include "core/common/text.h"
#include "core/context/module_bus.h"
#include "core/context/ui_state.h"
#include "core/install/install_ini_defaults.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/modules/cmm_profiles.h"
#include "core/modules/module_rows.h"
#include "core/modules/quality_hooks.h"
#include "core/store/store_keys.h"
#include "core/system/resources.h"
#include "support/module_context.h"

namespace zems_test {
namespace {

const WCHAR* W(const char16_t* s) { return reinterpret_cast<const WCHAR*>(s); }
std::u16string U(const WCHAR* w) { return reinterpret_cast<const char16_t*>(w); }

// A profile header: the signature bytes at their offsets in a file of size bytes.
std::string Header(size_t size = 128, int spoil = -1) {
  std::string bytes(size, '\0');
  const struct {
    size_t at;
    const char* text;
  } fields[] = {{4, "OVMS"}, {12, "prtr"}, {20, "RGB "}, {36, "acsp"}, {48, "ORVL"}};
  for (const auto& f : fields)
    for (size_t i = 0; i < 4 && f.at + i < size; ++i) bytes[f.at + i] = f.text[i];
  if (spoil >= 0 && static_cast<size_t>(spoil) < size) bytes[spoil] = 'x';
  return bytes;
}

class ProfilesTest : public ModuleContextTest {
 protected:
  void ListKey(const char16_t* key, const char16_t* value) {
    IniWriteString(StoreListLangCode(ctx_), W(key), W(value), ini_);
  }
  // Six entries P0-P5, four of them built in, room for eight.
  void SixEntries() {
    ListKey(u"CmmCount", u"6");
    ListKey(u"CmmDefault", u"4");
    ListKey(u"CmmMax", u"8");
    for (int n = 0; n < 6; ++n) {
      WCHAR section[64];
      CmmFormatSection(ctx_, section, 64, n);
      const std::u16string name = u"P" + std::u16string(1, static_cast<char16_t>(u'0' + n));
      IniWriteString(section, W(u"zdmColorMatchingMode"), W(name.c_str()), ini_);
      IniWriteString(section, W(u"wdmColorProfilePath"), W((u"C:\\p\\" + name + u".vtc").c_str()), ini_);
    }
  }
  std::u16string Names() {
    std::u16string out;
    for (LONG n = 0; n < CmmGetCount(ctx_); ++n) {
      CmmLoadEntry(ctx_, n);
      out += (n ? u"," : u"") + U(ctx_->ui->cmmName);
    }
    return out;
  }
};

TEST_F(ProfilesTest, AddAndDeleteKeepTheBuiltInEntries) {
  SixEntries();
  EXPECT_EQ(0, CmmDeleteEntry(ctx_, -1)) << "no profile selected";
  EXPECT_EQ(0, CmmDeleteEntry(ctx_, 2)) << "a built-in entry";
  EXPECT_EQ(0, CmmDeleteEntry(ctx_, 6)) << "past the list";
  EXPECT_EQ(u"P0,P1,P2,P3,P4,P5", Names());
  EXPECT_EQ(1, CmmDeleteEntry(ctx_, 4));
  EXPECT_EQ(u"P0,P1,P2,P3,P5", Names());
  // Notify 111 adds the texts being edited as a new last entry while there is room.
  StrCopyCut(ctx_->ui->cmmName, kCmmTextChars, W(u"Proof"));
  StrCopyCut(ctx_->ui->cmmPath, kCmmTextChars, W(u"C:\\p\\proof.vtc"));
  ModBusNotify(ctx_, 111);
  ModBusNotify(ctx_, 111);
  ModBusNotify(ctx_, 111);
  EXPECT_EQ(8, CmmGetCount(ctx_)) << "not past CmmMax";
  CmmLoadEntry(ctx_, 5);
  EXPECT_EQ(u"Proof", U(ctx_->ui->cmmName));
  EXPECT_EQ(u"C:\\p\\proof.vtc", U(ctx_->ui->cmmPath));
  // Notify 112 deletes the profile the colour-matching choice selects and moves the choice.
  ItemSetRawById(ctx_, kItem_zdmColorMatchingMode, kCmmProfileValueBase + 7);
  ModBusNotify(ctx_, 112);
  EXPECT_EQ(7, CmmGetCount(ctx_));
  EXPECT_EQ(-1, CmmIndexOfModeControl(ctx_)) << "no longer names an entry";
  ItemSetRawById(ctx_, kItem_zdmColorMatchingMode, kCmmProfileValueBase + 1);
  ModBusNotify(ctx_, 112);
  EXPECT_EQ(7, CmmGetCount(ctx_)) << "a built-in entry stays";
}

TEST_F(ProfilesTest, JudgeHooksAnswerFromTheListAndTheFile) {
  SixEntries();
  ASSERT_TRUE(WriteMachineFile("C:\\p\\good.vtc", Header()));
  struct Case {
    LONG mode;
    const char16_t* count;
    const char16_t* path;
    int h1292, h1293, h1294;
  } cases[] = {
      {kCmmProfileValueBase + 1, u"6", u"C:\\p\\good.vtc", 1, 0, 1},
      {kCmmProfileValueBase + 5, u"6", u"C:\\p\\good.vtc", 0, 0, 1},
      {3, u"6", u"C:\\p\\missing.vtc", 1, 0, 0},
      {kCmmProfileValueBase + 5, u"8", u"", 0, 1, 0},
  };
  for (const Case& c : cases) {
    ItemSetRawById(ctx_, kItem_zdmColorMatchingMode, c.mode);
    ListKey(u"CmmCount", c.count);
    StrCopyCut(ctx_->ui->cmmPath, kCmmTextChars, W(c.path));
    EXPECT_EQ(c.h1292, ModBusJudgeHookValue(ctx_, 1292)) << c.mode;
    EXPECT_EQ(c.h1293, ModBusJudgeHookValue(ctx_, 1293)) << c.mode;
    EXPECT_EQ(c.h1294, ModBusJudgeHookValue(ctx_, 1294)) << c.mode;
    EXPECT_EQ(0, ModBusJudgeHookValue(ctx_, 1295));
  }
  // A count is any user's text: bounded, never walked to two thousand million.
  for (const char16_t* count : {u"2000000000", u"2147483647"}) {
    ListKey(u"CmmCount", count);
    EXPECT_EQ(kStoreLimitColorProfiles, CmmGetCount(ctx_)) << U(W(count)).size();
  }
  ListKey(u"CmmCount", u"-7");
  EXPECT_EQ(0, CmmGetCount(ctx_));
  // The builds without windows take the profile file on trust.
  ctx_->ui->modules->rows[kModuleQuality].notify = QualityHandleNotifyNoWindow;
  EXPECT_EQ(1, CmmAnswerJudgeHook(ctx_, 1294));
}

TEST_F(ProfilesTest, TheHeaderCheckReadsTheSignatureBytes) {
  struct Case {
    const char* file;
    std::string bytes;
    int valid;
  } cases[] = {
      {"C:\\p\\valid.vtc", Header(), 1},
      {"C:\\p\\byte36.vtc", Header(128, 36), 0},
      {"C:\\p\\short.vtc", Header(50), 0},
      {"C:\\p\\other.vtc", Header(128, 49), 0},
      {"C:\\\xd0\xbf\xd1\x80\xd0\xbe\xd1\x84\xd0\xb8\xd0\xbb\xd0\xb8\\valid.vtc", Header(), 1},  // a Cyrillic folder
  };
  for (const Case& c : cases) {
    // The path as the ini holds it: UTF-16, whatever the system code page.
    std::u16string wide;
    const std::string& s = c.file;
    for (size_t i = 0; i < s.size();) {
      unsigned char b = static_cast<unsigned char>(s[i]);
      if (b < 0x80) {
        wide += static_cast<char16_t>(b);
        ++i;
      } else {
        wide += static_cast<char16_t>(((b & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F));
        i += 2;
      }
    }
    // Made through the wide calls, as a user's profile folder would be.
    const std::u16string folder = wide.substr(0, wide.rfind(u'\\'));
    CreateDirectoryW(W(folder.c_str()), nullptr);
    HANDLE file = CreateFileW(W(wide.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << c.file;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, c.bytes.data(), static_cast<DWORD>(c.bytes.size()), &written, nullptr));
    CloseHandle(file);
    EXPECT_EQ(c.valid, CmmCheckProfileHeader(W(wide.c_str()))) << c.file;
  }
  EXPECT_EQ(0, CmmCheckProfileHeader(W(u"C:\\p\\absent.vtc")));
  EXPECT_EQ(0, CmmCheckProfileHeader(nullptr));
}

TEST_F(ProfilesTest, FactoryCopiesCarryTheListLimits) {
  const WCHAR* source = W(u"C:\\_zems\\factory.ini");
  const WCHAR* target = W(u"C:\\_zems\\target.ini");
  ASSERT_TRUE(WriteMachineFile("C:\\_zems\\factory.ini", ""));
  const WCHAR* lang = StoreListLangCode(ctx_);
  IniWriteString(lang, W(u"CmmMax"), W(u"12"), source);
  IniWriteString(lang, W(u"CmmDefault"), W(u"5"), source);
  struct Case {
    DWORD keep;
    const char16_t* targetCount;  // null: none
    const char16_t* expectedCount;
  } cases[] = {{0, u"9", u"5"}, {1, u"9", u"9"}, {1, nullptr, u"5"}, {0, nullptr, u"5"}};
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteMachineFile("C:\\_zems\\target.ini", ""));
    if (c.targetCount) IniWriteString(lang, W(u"CmmCount"), W(c.targetCount), target);
    InstFactoryCopyEvent e = {source, target, c.keep};
    ModBusSendEvent(ctx_, kEventFactoryStoresCopied, &e);
    WCHAR text[16] = {};
    IniReadString(lang, W(u"CmmCount"), W(u""), text, 16, target);
    EXPECT_EQ(std::u16string(c.expectedCount), U(text)) << c.keep;
    IniReadString(lang, W(u"CmmMax"), W(u""), text, 16, target);
    EXPECT_EQ(u"12", U(text));
  }
}

TEST_F(ProfilesTest, ProfileNamesCompleteWithinTheSendersBuffer) {
  SixEntries();
  WCHAR buffer[8];
  for (WCHAR& c : buffer) c = u'#';
  ResColorMatchNameEvent e = {565 + 5, buffer, 3};
  ModBusSendEvent(ctx_, kModEventColorMatchName, &e);
  EXPECT_EQ(u"P5", U(buffer));
  EXPECT_EQ(u'#', buffer[3]) << "nothing written past the three characters given";
  ResColorMatchNameEvent other = {581, buffer, 8};
  buffer[0] = u'x';
  ModBusSendEvent(ctx_, kModEventColorMatchName, &other);
  EXPECT_EQ(u'x', buffer[0]);
}

}  // namespace
}  // namespace zems_test
