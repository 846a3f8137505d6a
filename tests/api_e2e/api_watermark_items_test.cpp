// Watermark, watermark choice, header/footer and copy-guard status items through the exports.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <vector>

#include "api_e2e/api_items_fixture.h"
#include "core/common/ini_access.h"
#include "core/context/context_cache.h"
#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "core/store/stamp_store.h"
#include "core/store/store_keys.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

constexpr DWORD kWatermark = 16, kChoice = 17, kHeaderFooter = 47, kCopyGuard = 55;
enum : UINT { kKind = 4, kPosition = 8, kOpaque = 12, kPages = 16, kStyle = 20, kEffect = 24, kColor = 28,
              kDensity = 32, kPoint = 36, kAngle = 40, kText = 44, kFont = 77, kImage = 109 };
constexpr UINT kSizes[] = {0, 372, 412, 420};

Record Watermark(DWORD version, LONG kind) {
  Record r(kSizes[version], version);
  r.Long(kKind, kind).Long(kDensity, 50).Long(kPoint, 48).Long(kAngle, 0);
  return r;
}

Record TextMark(DWORD version, LONG point, LONG angle, const char* font = "Arial") {
  Record r = Watermark(version, 1);
  r.Long(kPoint, point).Long(kAngle, angle).Text(kText, "DRAFT").Text(kFont, font);
  return r;
}

Record ImageMark(DWORD version, LONG scale, const char* file) {
  Record r = Watermark(version, 2);
  r.Long(kPoint, scale).Text(kImage, file);
  return r;
}

// A 54-byte BMP: the file header and the 40-byte information header of a 1x1 picture.
std::string Bmp() {
  std::string b(54, '\0');
  b[0] = 'B';
  b[1] = 'M';
  b[2] = 54;
  b[10] = 54;
  b[14] = 40;
  b[18] = 1;
  b[22] = 1;
  b[26] = 1;
  b[28] = 24;
  return b;
}

class WatermarkTest : public ApiItemsTest {
 protected:
  // The install stores the model's factory watermarks; these tests start on a printer without
  // stored watermarks, so they are removed before the interface is enabled again.
  void StartWithoutStoredWatermarks() {
    Start();
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(TEXT("Api")), &printer, nullptr));
    DriverContext* ctx = CtxOpen(printer, printer, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(nullptr, ctx);
    WCHAR ini[kPathChars] = {};
    StoreCopySettingsIni(ctx, ini);
    for (int n = 0, count = StampGetCount(ctx); n < count; ++n) {
      WCHAR section[MAX_PATH] = {};
      StampSectionName(section, MAX_PATH, n, ctx);
      EXPECT_TRUE(IniWriteString(section, nullptr, nullptr, ini));
    }
    EXPECT_TRUE(StampSetCount(ctx, 0));
    CtxDestroy(ctx, kReleaseExpired);
    CtxCacheExpire(TRUE);
    ClosePrinter(printer);
    ASSERT_FALSE(SettingsIni().find("[Stamp0") != std::string::npos) << "watermark 0 is gone";
    api_.disable(handle_);
    handle_ = nullptr;
    ASSERT_NE(nullptr, EnableApi());
  }
};

TEST_F(WatermarkTest, RequestsOutsideTheLimitsAreRefused) {
  Start();
  ASSERT_TRUE(WriteMachineFile("C:\\marks\\logo.bmp", Bmp()));
  ASSERT_TRUE(WriteMachineFile("C:\\marks\\notes.bmp", "just text, no picture"));
  struct Case {
    const char* what;
    LONG level;
    Record r;
    LONG error;
  } cases[] = {
      {"point size 5", 16, TextMark(2, 5, 0), 7},
      {"point size 1000", 16, TextMark(2, 1000, 0), 7},
      {"angle 360", 16, TextMark(2, 48, 360), 7},
      {"a font that is not installed", 16, TextMark(2, 48, 0, "No Such Face"), 8},
      {"scale 29", 16, ImageMark(2, 29, "C:\\marks\\logo.bmp"), 7},
      {"a file that is no BMP", 16, ImageMark(2, 100, "C:\\marks\\notes.bmp"), 10},
      {"a relative path", 16, ImageMark(2, 100, "marks\\logo.bmp"), 10},
      {"an overlay that is no .zvl", 16, Watermark(2, 3).Text(kImage, "C:\\marks\\logo.bmp"), 10},
      {"a hidden pattern at level 2 (no last error kept there)", 2, Watermark(1, 128), -1},
      {"a hidden pattern in version 1", 16, Watermark(1, 128), 7},
      {"no such kind", 16, Watermark(2, 4), 7},
  };
  const std::vector<BYTE> before = Devmode();
  for (Case& c : cases) {
    Level(c.level);
    EXPECT_EQ(-1, Set(kWatermark, c.r)) << c.what;
    EXPECT_EQ(c.error, Error()) << c.what;
  }
  Level(16);
  EXPECT_EQ(before, Devmode());
}

TEST_F(WatermarkTest, TheWorkingWatermarkIsStoredWhileTheJobKeepsItsOwn) {
  StartWithoutStoredWatermarks();
  ASSERT_TRUE(WriteMachineFile("C:\\marks\\logo.bmp", Bmp()));
  // Any successful request deselects the preset; one first, so that the rest compares alike.
  ASSERT_EQ(0, SetSimple(kChoice, 0, 0, 0, 0));
  const std::vector<BYTE> before = Devmode();
  Record image = ImageMark(2, 150, "C:\\marks\\logo.bmp");
  image.Long(kPosition, 0).Long(kOpaque, 1).Long(kPages, 1);
  ASSERT_EQ(0, Set(kWatermark, image)) << Error();
  EXPECT_EQ(before, Devmode()) << "the job's settings, texts included, stay";
  EXPECT_NE(std::string::npos, SettingsIni().find("logo.bmp")) << "the working watermark is stored";

  Record got(kSizes[2], 2);
  EXPECT_EQ(-1, Get(kWatermark, got, 2)) << "no stored watermarks";
  EXPECT_EQ(9, Error());
  // Stored watermark 0 beside the working one (its section named as the working one's).
  const std::string ini = SettingsIni();
  const size_t at = ini.find("[Stamp256");
  ASSERT_NE(std::string::npos, at);
  const std::string suffix = ini.substr(at + 9, ini.find(']', at) - at - 9);
  AppendToSettingsIni("\r\n[Stamp0" + suffix + "]\r\nzdmWmKind=1\r\n");
  ASSERT_EQ(412, Get(kWatermark, got, 2)) << Error();
  EXPECT_EQ(2, got.GetLong(kKind));
  EXPECT_EQ(150, got.GetLong(kPoint));
  EXPECT_EQ(1, got.GetLong(kOpaque));
  EXPECT_EQ("C:\\marks\\logo.bmp", got.GetText(kImage, 260));
  EXPECT_EQ(before, Devmode()) << "reading it leaves the job as it was";

  ASSERT_EQ(0, SetSimple(kChoice, 256, 0, 0, 1)) << "with stored watermarks the working one can be chosen";
  EXPECT_EQ(256, GetSimple(kChoice).value);
}

TEST_F(WatermarkTest, ChoiceOfTheWorkingWatermarkNeedsStoredWatermarks) {
  StartWithoutStoredWatermarks();
  EXPECT_EQ(-1, SetSimple(kChoice, 256, 0, 0, 1));
  EXPECT_EQ(7, Error());
  EXPECT_EQ(0, SetSimple(kChoice, 0, 0, 0, 0)) << "switching the watermark off";
}

TEST_F(WatermarkTest, ChoiceOfAStoredWatermark) {
  Start();  // the install stores the model's factory watermarks
  const LONG n = static_cast<LONG>(api_.getCaps(handle_, 32, nullptr));
  ASSERT_GT(n, 1) << "the working watermark and at least one stored";
  std::vector<LONG> ids(static_cast<size_t>(n), -7);
  ASSERT_EQ(n, api_.getCaps(handle_, 32, ids.data()));
  EXPECT_EQ(256, ids[0]) << "the working watermark comes first";
  const LONG last = ids.back();

  ASSERT_EQ(0, SetSimple(kChoice, last, 0, 0, 1)) << Error();
  const SimpleRecord got = GetSimple(kChoice);
  EXPECT_EQ(last, got.value) << "the number comes back 1-based";
  EXPECT_EQ(1u, got.masterSwitch) << "the watermark is switched on";

  LONG unknown = 1;
  while (std::find(ids.begin(), ids.end(), unknown) != ids.end()) ++unknown;
  const std::vector<BYTE> before = Devmode();
  EXPECT_EQ(-1, SetSimple(kChoice, unknown, 0, 0, 1)) << "a number the list does not hold";
  EXPECT_EQ(7, Error());
  EXPECT_EQ(before, Devmode());
}

TEST_F(WatermarkTest, HeaderFooterWithoutPartsSwitchesThemOff) {
  Start();
  Record r(104, 1);
  r.Long(4, 8).Long(40, 9999);  // bit 3 is no part; no font and a wild point size
  ASSERT_EQ(0, Set(kHeaderFooter, r)) << Error();
  EXPECT_EQ(0, r.GetLong(4)) << "the caller's parts keep only the three part bits";
  Record got(104, 1);
  ASSERT_EQ(104, Get(kHeaderFooter, got, 1));
  EXPECT_EQ(0, got.GetLong(4));
  Record date(104, 1);
  date.Long(4, 1).Text(8, "Arial").Long(40, 10);
  EXPECT_EQ(-1, Set(kHeaderFooter, date)) << "a date part needs its position and form offered";
}

TEST_F(WatermarkTest, CopyGuardModes) {
  Start();
  const std::vector<BYTE> before = Devmode();
  Record four(172, 1);
  four.Long(4, 4);
  EXPECT_EQ(-1, Set(kCopyGuard, four));
  EXPECT_EQ(7, Error());
  EXPECT_EQ(before, Devmode()) << "the master switched on before the refusal is put back";
  Record off(172, 1);
  EXPECT_EQ(0, Set(kCopyGuard, off));

  Record one(172, 1);
  one.Long(4, 1).Text(24, "left from before");
  ASSERT_EQ(0, Set(kCopyGuard, one)) << "mode 1: copy guard without text, error " << Error();
  Record got(172, 1);
  got.Text(24, "caller's bytes");
  ASSERT_EQ(172, Get(kCopyGuard, got, 1)) << Error();
  EXPECT_EQ(1, got.GetLong(4));
  EXPECT_EQ("", got.GetText(24, 65)) << "mode 1 clears the text";
}

}  // namespace
}  // namespace zems_test
