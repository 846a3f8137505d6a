// The command service through zemsexc's exports, loaded as an application loads it, on two
// printers of the sample: "Full" has the duplex unit and two feeder steps stored as installed
// options, "Bare" has neither.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/bind/export_of.h"
#include "core/bind/jc_string.h"
#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/pjl/pjl_service.h"
#include "core/store/item_store.h"
#include "platform/sim.h"
#include "support/machine_fixture.h"
#include "support/test_printer.h"
#include "support/test_variant.h"

namespace zems_test {
namespace {

typedef void*(WINAPI* GetExclusiveFn)(const char*);
typedef void(WINAPI* FreeExclusiveFn)(void*);
typedef int(WINAPI* SetFn)(void*, const char*, int*);
typedef int(WINAPI* GetTextFn)(void*, int, char*, int*);
typedef int(WINAPI* GetValueFn)(void*, const char*, int, int, char*, int*);
typedef int(WINAPI* GetNamedFn)(void*, const char*, int, char*, int*);

// The base every case starts from: the four mandatory variables, copies and a line the
// service does not know.
const std::string kBase =
    "@PJL SET APLPAGESIZE = A4 \r\n"
    "@PJL SET JOBNAME = REPORT \r\n"
    "@PJL SET TRAY = ALL \r\n"
    "@PJL SET APLPAGELAYOUT = PORTRAIT \r\n"
    "@PJL SET PAPER = SAME \r\n"
    "@PJL SET COPIES = 3 \r\n";

std::string StandInPath(const std::string& name) { return std::string(SimMachineRoot()) + "/stand-ins/" + name; }

std::string HexUtf16(const std::u16string& text) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (char16_t c : text + u'\0')
    for (unsigned byte : {unsigned(c & 0xFF), unsigned(c >> 8)}) {
      out += digits[byte >> 4];
      out += digits[byte & 15];
    }
  return out;
}

class ExcServiceTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    ResetTestVariant();
    CtxCacheInit();
    for (const char* printer : {"Full", "Bare"})
      ASSERT_EQ(0, RunHost("machine install --model " + SourceDir() + "/samples/models/zems_c4.zmd --printer " +
                           printer + " --extra " + SourceDir() + "/samples/driver/OV1BD172.ini"));
    StoreOptions(u"Full", {{kItem_zdmSourceOptionTypeDuplex, 1}, {kItem_zdmSourceOptionType1Step, 1},
                           {kItem_zdm1StepOptionNum, 2}});
    dll_ = LoadLibraryW(TEXT("zemsexc.dll"));
    ASSERT_NE(nullptr, dll_);
    get_ = ExportOf<GetExclusiveFn>(dll_, "ExcGetExclusive");
    free_ = ExportOf<FreeExclusiveFn>(dll_, "ExcFreeExclusive");
    set_ = ExportOf<SetFn>(dll_, "ExcSetCommandBase");
    update_ = ExportOf<SetFn>(dll_, "ExcUpdateCommand");
    base_ = ExportOf<GetTextFn>(dll_, "ExcGetCommandBase");
    change_ = ExportOf<GetTextFn>(dll_, "ExcGetCommandChange");
    value_ = ExportOf<GetValueFn>(dll_, "ExcGetCommandValue");
    option_ = ExportOf<GetNamedFn>(dll_, "ExcGetPrinterOption");
    printerValue_ = ExportOf<GetNamedFn>(dll_, "ExcGetPrinterValue");
    ASSERT_TRUE(get_ && free_ && set_ && update_ && base_ && change_ && value_ && option_ && printerValue_);
  }
  void TearDown() override {
    for (void* h : handles_) free_(h);
    if (dll_) FreeLibrary(dll_);
    CtxCacheExpire(TRUE);
    MachineTest::TearDown();
  }
  // Installed options stored for the printer as its device settings.
  void StoreOptions(const char16_t* name, std::vector<std::pair<WORD, LONG>> options) {
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(reinterpret_cast<LPCWSTR>(name)), &printer, nullptr));
    DriverContext* ctx = CtxOpen(printer, printer, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx);
    for (auto& o : options) ItemSetRawById(ctx, o.first, o.second);
    EXPECT_EQ(1, StoreSaveDeviceSettings(printer, ctx));
    CtxDestroy(ctx, kReleaseExpired);
    CtxCacheExpire(TRUE);
    ClosePrinter(printer);
  }
  void* Open(const char* printer) {
    void* h = get_(printer);
    if (h) handles_.push_back(h);
    return h;
  }
  std::string Base(void* h) {
    int length = 0;
    base_(h, 0, nullptr, &length);
    if (length <= 0) return "";
    std::vector<char> buffer(static_cast<size_t>(length));
    EXPECT_EQ(0, base_(h, length, buffer.data(), &length));
    return std::string(buffer.data(), size_t(length) - 1);
  }
  std::string Change(void* h) {
    int length = 0;
    if (change_(h, 0, nullptr, &length) != 1 || length <= 0) return "";
    std::vector<char> buffer(static_cast<size_t>(length));
    EXPECT_EQ(0, change_(h, length, buffer.data(), &length));
    return std::string(buffer.data(), size_t(length) - 1);
  }
  // Words of a NUL-separated list, blank-joined.
  static std::string Words(const std::vector<char>& list) {
    std::string out;
    for (const char* p = list.data(); *p; p += strlen(p) + 1) out += (out.empty() ? "" : " ") + std::string(p);
    return out;
  }
  std::string Values(void* h, const char* name, int allowed) {
    int length = -5;
    int r = value_(h, name, allowed, 0, nullptr, &length);
    if (length == 0) return r == 0 ? "" : "(result " + std::to_string(r) + ")";
    std::vector<char> buffer(static_cast<size_t>(length));
    EXPECT_EQ(0, value_(h, name, allowed, length, buffer.data(), &length));
    return Words(buffer);
  }

  HMODULE dll_ = nullptr;
  GetExclusiveFn get_ = nullptr;
  FreeExclusiveFn free_ = nullptr;
  SetFn set_ = nullptr, update_ = nullptr;
  GetTextFn base_ = nullptr, change_ = nullptr;
  GetValueFn value_ = nullptr;
  GetNamedFn option_ = nullptr, printerValue_ = nullptr;
  std::vector<void*> handles_;
};

TEST_F(ExcServiceTest, HandlesOpenOnlyForPrintersThatCanBeOpened) {
  EXPECT_EQ(nullptr, get_(nullptr));
  EXPECT_EQ(nullptr, get_("No Such Printer"));
  EXPECT_EQ(nullptr, get_(std::string(260, 'P').c_str())) << "a name of 260 characters";
  free_(nullptr);
  void* h = get_("Full");
  ASSERT_NE(nullptr, h);
  free_(h);  // never given a base
  int length = 7;
  EXPECT_EQ(-1, set_(nullptr, kBase.c_str(), &length));
  EXPECT_EQ(-1, base_(nullptr, 0, nullptr, &length));
  EXPECT_EQ(-1, change_(nullptr, 0, nullptr, &length));
  EXPECT_EQ(-1, update_(nullptr, "", &length));
  EXPECT_EQ(-1, value_(nullptr, "TRAY", 0, 0, nullptr, &length));
}

TEST_F(ExcServiceTest, ACleanBaseIsReadBackInTheCallersOrderWithoutUnknownLines) {
  void* h = Open("Full");
  ASSERT_NE(nullptr, h);
  int length = -5;
  EXPECT_EQ(0, set_(h, kBase.c_str(), &length));
  EXPECT_EQ(0, length);
  EXPECT_EQ("", Change(h));
  EXPECT_EQ("@PJL SET APLPAGESIZE = A4 \r\n@PJL SET TRAY = ALL \r\n@PJL SET APLPAGELAYOUT = PORTRAIT \r\n"
            "@PJL SET PAPER = SAME \r\n@PJL SET COPIES = 3 \r\n",
            Base(h));
}

TEST_F(ExcServiceTest, DuplexWithoutTheUnitIsTurnedOff) {
  const std::string base = kBase + "@PJL SET DUPLEX = ON \r\n";
  void* bare = Open("Bare");
  void* full = Open("Full");
  ASSERT_TRUE(bare && full);
  int length = 0;
  EXPECT_EQ(0, set_(full, base.c_str(), &length)) << "the unit is there";
  ASSERT_EQ(1, set_(bare, base.c_str(), &length));
  const std::string expected = "@PJL SET DUPLEX = OFF \r\n";
  EXPECT_EQ(int(expected.size()) + 1, length);
  // One byte short: refused, the text kept; the exact size takes it, a second call finds none.
  std::vector<char> buffer(expected.size() + 1, '#');
  int got = 0;
  EXPECT_EQ(1, change_(bare, length - 1, buffer.data(), &got));
  EXPECT_EQ(length, got);
  EXPECT_EQ('#', buffer[0]);
  EXPECT_EQ(0, change_(bare, length, buffer.data(), &got));
  EXPECT_EQ(expected, std::string(buffer.data()));
  EXPECT_EQ(0, change_(bare, length, buffer.data(), &got));
  EXPECT_EQ(0, got);
  EXPECT_NE(std::string::npos, Base(bare).find("@PJL SET DUPLEX = OFF \r\n"));
  // The base getter at its length and one below.
  int baseLength = 0;
  base_(bare, 0, nullptr, &baseLength);
  std::vector<char> text(static_cast<size_t>(baseLength));
  EXPECT_EQ(1, base_(bare, baseLength - 1, text.data(), &got));
  EXPECT_EQ(baseLength, got);
  EXPECT_EQ(0, base_(bare, baseLength, text.data(), &got));
}

TEST_F(ExcServiceTest, AnUpdateToNupTurnsScalingOff) {
  void* h = Open("Full");
  ASSERT_NE(nullptr, h);
  int length = 0;
  ASSERT_EQ(0, set_(h, (kBase + "@PJL SET SCALETYPE = PAPERSCALE \r\n@PJL SET NUP = OFF \r\n").c_str(), &length));
  EXPECT_EQ(1, update_(h, "@PJL SET NUP = 4IN1P1 \r\n", &length));
  std::string change = Change(h);
  EXPECT_EQ("@PJL SET SCALETYPE = OFF \r\n", change) << "NUP itself stood";
  std::string base = Base(h);
  EXPECT_NE(std::string::npos, base.find("@PJL SET NUP = 4IN1P1 \r\n")) << base;
  EXPECT_NE(std::string::npos, base.find("@PJL SET SCALETYPE = OFF \r\n")) << base;
  EXPECT_EQ(0, update_(h, "@PJL SET MEDIATYPE = THICK \r\n", &length)) << "not in the base";
  EXPECT_EQ(0, length);
  EXPECT_EQ(base, Base(h));
}

TEST_F(ExcServiceTest, RefusedBases) {
  void* h = Open("Full");
  ASSERT_NE(nullptr, h);
  struct Case {
    const char* what;
    std::string text;
    int result;
  } cases[] = {
      {"no TRAY", "@PJL SET APLPAGESIZE = A4 \r\n@PJL SET APLPAGELAYOUT = PORTRAIT \r\n@PJL SET PAPER = SAME \r\n", -2},
      {"lower-case tray", "@PJL SET APLPAGESIZE = A4 \r\n@PJL SET APLPAGELAYOUT = PORTRAIT \r\n"
                          "@PJL SET PAPER = SAME \r\n@PJL SET tray = ALL \r\n", -2},
      {"TRAY=TRAY2", kBase + "@PJL SET TRAY=TRAY2 \r\n", -1},
      {"LF-only line", kBase + "@PJL SET DUPLEX = OFF\n", -1},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(0, set_(h, kBase.c_str(), nullptr));
    int length = 9;
    EXPECT_EQ(c.result, set_(h, c.text.c_str(), &length)) << c.what;
    EXPECT_EQ(0, length) << c.what;
    EXPECT_EQ("", Base(h)) << c.what << ": the handle holds no base";
    EXPECT_EQ(0, update_(h, "@PJL SET TRAY = TRAY1 \r\n", &length)) << c.what << ": nothing to update";
  }
  EXPECT_EQ(-2, set_(h, nullptr, nullptr));
}

TEST_F(ExcServiceTest, TrayWordsFollowTheInstalledOptions) {
  void* full = Open("Full");
  void* bare = Open("Bare");
  ASSERT_TRUE(full && bare);
  EXPECT_EQ("", Values(full, "TRAY", 1)) << "allowed-only needs TRAY in the base";
  EXPECT_EQ("ALL TRAY1 TRAY2 TRAY3 MULTI", Values(full, "TRAY", 0));
  EXPECT_EQ("ALL TRAY1 MULTI", Values(bare, "TRAY", 0));
  ASSERT_EQ(0, set_(full, kBase.c_str(), nullptr));
  ASSERT_EQ(0, set_(bare, kBase.c_str(), nullptr));
  EXPECT_EQ("ALL TRAY1 TRAY2 TRAY3 MULTI", Values(full, "TRAY", 1));
  EXPECT_EQ("ALL TRAY1 MULTI", Values(bare, "TRAY", 1));
  EXPECT_EQ("", Values(full, "NOSUCH", 0));
  // The trial leaves the base, the settings and the slots as they were.
  std::string before = Base(full);
  EXPECT_EQ(0, update_(full, "@PJL SET COPIES = 3 \r\n", nullptr));
  EXPECT_EQ(before, Base(full));
  EXPECT_EQ("1 999 0", Values(full, "COPIES", 0));
  // The options and values of the printer.
  int length = 0;
  std::vector<char> buffer(64);
  EXPECT_EQ(0, option_(full, "OUTBIN", int(buffer.size()), buffer.data(), &length));
  EXPECT_EQ("UPPER", Words(buffer)) << "the alias is not listed twice";
  EXPECT_EQ(0, option_(full, "DUPLEX", int(buffer.size()), buffer.data(), &length));
  EXPECT_EQ("ON OFF", Words(buffer));
  EXPECT_EQ(0, option_(bare, "DUPLEX", int(buffer.size()), buffer.data(), &length));
  EXPECT_EQ("OFF", Words(buffer));
  EXPECT_EQ(0, printerValue_(full, "TRAYPAPERORIENT1", int(buffer.size()), buffer.data(), &length));
  EXPECT_STREQ("PORTRAIT", buffer.data());
  EXPECT_EQ(9, length);
  EXPECT_EQ(1, printerValue_(full, "TRAYPAPERORIENT1", 8, buffer.data(), &length));
}

// Every line of a text parses and carries a value; the value of `name` when it has a line.
bool WellFormed(const std::string& text, const char* name, std::string* value) {
  char n[kPjlTokenSize], v[kPjlTokenSize];
  for (const char* p = text.c_str();;) {
    int used = PjlParseSetLine(p, n, v);
    if (used == 0) return true;
    if (used < 0 || !v[0]) return false;
    if (strcmp(n, name) == 0) *value = v;
    p += used;
  }
}

TEST_F(ExcServiceTest, HostileNumbersSettleWithinTheRange) {
  void* h = Open("Full");
  ASSERT_NE(nullptr, h);
  const char* hostile[] = {"0", "1000", "65537", "70000", "2147483647", "99999999999", "1e3", "-0", "-5"};
  const char* variables[] = {"COPIES", "PAPERSCALEH", "PAPERSCALEW", "MARGINODD", "MARGINEVEN"};
  const std::string scaled = kBase + "@PJL SET SCALETYPE = PAPERSCALE \r\n";
  for (const char* name : variables) {
    std::string range = Values(h, name, 0);
    long low = 0, high = 0;
    ASSERT_EQ(2, sscanf(range.c_str(), "%ld %ld", &low, &high)) << name << ": " << range;
    for (const char* number : hostile) {
      const std::string what = std::string(name) + " = " + number;
      const std::string line = "@PJL SET " + std::string(name) + " = " + number + " \r\n";
      // Through the base, then through an update of a base that holds a sound value.
      for (int step = 0; step < 2; ++step) {
        int length = 0;
        int result = step == 0 ? set_(h, (scaled + line).c_str(), &length)
                               : (set_(h, (scaled + "@PJL SET " + name + " = 10 \r\n").c_str(), nullptr),
                                  update_(h, line.c_str(), &length));
        ASSERT_GE(result, 0) << what << " step " << step;
        std::string change = Change(h), base = Base(h), settled;
        EXPECT_TRUE(WellFormed(change, name, &settled)) << what << ": " << change;
        settled.clear();
        EXPECT_TRUE(WellFormed(base, name, &settled)) << what << ": " << base;
        if (settled.empty()) continue;  // a variable the printer's command cannot write
        char* end = nullptr;
        long v = strtol(settled.c_str(), &end, 10);
        EXPECT_TRUE(*end == 0 && v >= low && v <= high) << what << " step " << step << " settled on " << settled;
        // A number the range moved is a change the caller hears of.
        if (settled != number && std::string(number) != "1e3") {
          EXPECT_NE(std::string::npos, change.find("@PJL SET " + std::string(name) + " = " + settled + " \r\n"))
              << what << " step " << step << ": " << change;
        }
      }
    }
  }
}

TEST_F(ExcServiceTest, NumberRangesKeepAllThreeNumbers) {
  void* h = Open("Full");
  ASSERT_NE(nullptr, h);
  EXPECT_EQ("1 999 0", Values(h, "COPIES", 0));
  EXPECT_EQ("0 590 0", Values(h, "MARGINODD", 0)) << "a minimum equal to the step is still listed";
}

TEST_F(ExcServiceTest, TheUserCodeComesFromJobControlCutToEightBytes) {
  std::filesystem::create_directories(std::string(SimMachineRoot()) + "/stand-ins");
  std::ofstream(StandInPath("orvjc32.store"), std::ios::binary | std::ios::trunc)
      << "Full\t1\t" << HexUtf16(u"ABCDEFGHIJKL") << "\n";
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(TEXT("Full")), &printer, nullptr));
  WCHAR code[32] = {};
  EXPECT_EQ(1, ApiJcGetString(printer, 1, 1, code, 32));
  EXPECT_EQ(std::u16string(u"ABCDEFGH"), std::u16string(reinterpret_cast<const char16_t*>(code)));
  WCHAR small[4] = {};
  EXPECT_EQ(1, ApiJcGetString(printer, 1, 1, small, 4)) << "the caller's size bounds the copy";
  EXPECT_EQ(std::u16string(u"ABC"), std::u16string(reinterpret_cast<const char16_t*>(small)));
  ClosePrinter(printer);

  void* full = Open("Full");
  void* bare = Open("Bare");
  ASSERT_TRUE(full && bare);
  std::vector<char> buffer(64);
  int length = 0;
  EXPECT_EQ(0, printerValue_(full, "USERCODE", int(buffer.size()), buffer.data(), &length));
  EXPECT_STREQ("\"ABCDEFGH\"", buffer.data());
  EXPECT_EQ(0, printerValue_(bare, "USERCODE", int(buffer.size()), buffer.data(), &length));
  EXPECT_EQ(0, length) << "no code from job control: the stored (empty) one stands";
}

}  // namespace
}  // namespace zems_test
