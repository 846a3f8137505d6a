// DrvDeviceCapabilities on the installed sample printer: the fixed answers, the lists of the
// current settings, the answers read from printer data and the stored DEVMODE, and the parked
// context a burst of queries reuses.
#include <gtest/gtest.h>
#include <string.h>

#include <set>
#include <string>
#include <vector>

#include "core/context/context_cache.h"
#include "core/devmode/dm_layout.h"
#include "core/system/driver_paths.h"
#include "front_exports/front_fixture.h"

namespace zems_test {
namespace {

class DeviceCapsTest : public FrontTest {
 protected:
  DWORD Caps(WORD index, void* out = nullptr, HANDLE printer = nullptr) {
    return DrvDeviceCapabilities(printer ? printer : printer_, Name(), index, out, nullptr);
  }
  void SetLockByte(const char16_t* name, BYTE bits) { SetData(name, REG_BINARY, &bits, 1); }
  static std::string Entry(const std::vector<WCHAR>& names, int n, int step) {
    std::u16string one(reinterpret_cast<const char16_t*>(names.data()) + n * step, size_t(step));
    return Narrow16(one.substr(0, one.find(u'\0')));
  }
};

constexpr DWORD kError = 0xFFFFFFFF;

TEST_F(DeviceCapsTest, FixedAnswersNeedNoContext) {
  const struct {
    WORD index;
    DWORD expected;
  } cases[] = {
      {0, kError},  {DC_SIZE, 220},          {DC_EXTRA, 1016},     {DC_VERSION, 0x401},
      {DC_DRIVER, 0x400},  {DC_FILEDEPENDENCIES, 0}, {DC_ORIENTATION, 90}, {DC_COPIES, 999},
      {DC_MANUFACTURER, kError}, {DC_MODEL, kError}, {DC_PRINTERMEM, kError}, {DC_PRINTRATEUNIT, 1},
      {DC_MEDIATYPENAMES, kError}, {DC_MEDIATYPES, kError}, {DC_PRINTRATE, 0}, {DC_PRINTRATEPPM, 0},
      {DC_BINADJUST, kError}, {DC_EMF_COMPLIANT, kError}, {DC_DATATYPE_PRODUCED, kError},
  };
  for (const auto& c : cases) EXPECT_EQ(Caps(c.index), c.expected) << "index " << c.index;
  WCHAR personality[32];
  memset(personality, 0xA5, sizeof personality);
  EXPECT_EQ(Caps(DC_PERSONALITY, personality), 1u);
  EXPECT_EQ(std::u16string(personality), u"ZEMS");
  EXPECT_EQ(personality[31], 0) << "the field is zero-filled";
  EXPECT_NE(Caps(DC_MAXEXTENT), kError);
  EXPECT_NE(Caps(DC_MINEXTENT), kError);
}

TEST_F(DeviceCapsTest, PrintRateIsTheModelDataFilesPpm) {
  WCHAR file[MAX_PATH] = {};
  ASSERT_NE(PathModelDataFileOf(printer_, file, sizeof file), nullptr);
  ASSERT_TRUE(WritePrivateProfileStringW(u"ORVEL ALTEN KV310 ZEMS", u"PPM", u"31", file));
  EXPECT_EQ(Caps(DC_PRINTRATE), 31u);
  EXPECT_EQ(Caps(DC_PRINTRATEPPM), 31u);
}

TEST_F(DeviceCapsTest, ListsOfTheCurrentSettings) {
  const int papers = int(Caps(DC_PAPERS));
  ASSERT_EQ(papers, 12);
  std::vector<WORD> codes(papers);
  std::vector<WCHAR> names(size_t(papers) * 64);
  std::vector<POINT> sizes(papers);
  EXPECT_EQ(int(Caps(DC_PAPERS, codes.data())), papers);
  EXPECT_EQ(int(Caps(DC_PAPERNAMES, names.data())), papers);
  EXPECT_EQ(int(Caps(DC_PAPERSIZE, sizes.data())), papers);
  EXPECT_EQ(codes[0], 8);
  EXPECT_EQ(Entry(names, 0, 64), "A3");
  EXPECT_EQ(codes[1], 9);
  EXPECT_EQ(Entry(names, 1, 64), "A4");
  EXPECT_EQ(sizes[1].x, 2100);
  EXPECT_EQ(sizes[1].y, 2970);

  ASSERT_EQ(Caps(DC_BINS), 3u);
  std::vector<WORD> bins(3);
  std::vector<WCHAR> binNames(3 * 24);
  EXPECT_EQ(Caps(DC_BINS, bins.data()), 3u);
  EXPECT_EQ(Caps(DC_BINNAMES, binNames.data()), 3u);
  EXPECT_EQ(bins, (std::vector<WORD>{7, 1, 4}));
  EXPECT_EQ(Entry(binNames, 0, 24), "Auto");
  EXPECT_EQ(Entry(binNames, 2, 24), "Multi");

  LONG resolutions[4] = {};
  EXPECT_EQ(Caps(DC_ENUMRESOLUTIONS, resolutions), 2u);
  EXPECT_EQ(resolutions[0], 600);
  EXPECT_EQ(resolutions[3], 1200);

  EXPECT_NE(Caps(DC_FIELDS) & DM_PAPERSIZE, 0u);
  EXPECT_LE(Caps(DC_COLLATE), 1u);
  EXPECT_LE(Caps(DC_STAPLE), 1u);
  const DWORD truetype = Caps(DC_TRUETYPE);
  EXPECT_TRUE(truetype == 1 || truetype == 5) << truetype;
}

TEST_F(DeviceCapsTest, DuplexFollowsTheUnitsPrinterDataAndItsLock) {
  DeleteData(u"Duplex");
  EXPECT_EQ(Caps(DC_DUPLEX), kError) << "no Duplex data";
  const DWORD off = 0, on = 1;
  SetData(u"Duplex", REG_DWORD, &off, 4);
  EXPECT_EQ(Caps(DC_DUPLEX), 0u);
  SetLockByte(u"zdmLock000InfoBit", 0x20);
  EXPECT_EQ(Caps(DC_DUPLEX), 1u) << "duplex locked on";
  SetLockByte(u"zdmLock000InfoBit", 0);
  SetData(u"Duplex", REG_DWORD, &on, 4);
  EXPECT_EQ(Caps(DC_DUPLEX), 1u);
}

TEST_F(DeviceCapsTest, ColorDeviceNeedsAStoredDevmode) {
  SetStoredDevmode(DriverDefault());
  EXPECT_LE(Caps(DC_COLORDEVICE), 1u);
  HANDLE bare = AddBarePrinter(u"Bare");
  EXPECT_EQ(Caps(DC_COLORDEVICE, nullptr, bare), kError);
  ClosePrinter(bare);
}

TEST_F(DeviceCapsTest, NupLockedAndUnlocked) {
  DWORD pages[5] = {};
  EXPECT_EQ(Caps(DC_NUP, pages), 5u);
  EXPECT_EQ(std::vector<DWORD>(pages, pages + 5), (std::vector<DWORD>{1, 2, 4, 9, 16}));
  SetLockByte(u"zdmLock000InfoBit", 0x08 | 0x10);
  EXPECT_EQ(Caps(DC_NUP), 5u) << "the override unlocks";

  SetLockByte(u"zdmLock000InfoBit", 0x08);
  EXPECT_EQ(Caps(DC_NUP), 2u) << "counted without an output";
  std::vector<BYTE> dm = DriverDefault();
  const struct {
    BYTE kind;
    std::vector<DWORD> rows;
  } cases[] = {{2, {1, 4}}, {3, {1, 9}}, {0, {1}}, {7, {1}}};
  for (const auto& c : cases) {
    dm[kDmOffNupPostKind] = c.kind;
    SetStoredDevmode(dm);
    SetLockByte(u"zdmLock000InfoBit", 0x08);
    DWORD out[5] = {};
    EXPECT_EQ(Caps(DC_NUP, out), DWORD(c.rows.size())) << "kind " << int(c.kind) << ": the rows written";
    EXPECT_EQ(std::vector<DWORD>(out, out + c.rows.size()), c.rows) << "kind " << int(c.kind);
  }
}

TEST_F(DeviceCapsTest, MediaReadyListsEachTrayPaperOnceAndSlotsByName) {
  const DWORD one = 1;
  const WORD a4 = 9, slot = 384;
  SetData(u"Tray1Field", REG_DWORD, &one, 4);
  SetData(u"Tray2Field", REG_DWORD, &one, 4);
  SetData(u"Tray3Field", REG_DWORD, &one, 4);
  SetData(u"Tray1Paper", REG_BINARY, &a4, 2);
  SetData(u"Tray2Paper", REG_BINARY, &a4, 2);
  SetData(u"Tray3Paper", REG_BINARY, &slot, 2);
  const DWORD count = Caps(DC_MEDIAREADY);
  ASSERT_EQ(count, 2u) << "A4 twice is listed once, then the custom slot";
  std::vector<WCHAR> names(2 * 64, 0x41);
  EXPECT_EQ(Caps(DC_MEDIAREADY, names.data()), 2u);
  EXPECT_FALSE(Entry(names, 0, 64).empty());
  EXPECT_FALSE(Entry(names, 1, 64).empty()) << "the slot's name";
  EXPECT_EQ(names[63], 0) << "entries are zero-filled";
}

TEST_F(DeviceCapsTest, ABurstOfQueriesReusesTheParkedContext) {
  auto parked = [] {
    std::set<DriverContext*> found;
    for (int slot = 0; slot < 2; ++slot)
      if (DriverContext* ctx = CtxCacheSlot(1, slot)) found.insert(ctx);
    return found;
  };
  ASSERT_EQ(Caps(DC_PAPERS), 12u);
  const std::set<DriverContext*> first = parked();
  ASSERT_EQ(first.size(), 1u) << "the context is parked in the capabilities table";
  for (int i = 0; i < 19; ++i) EXPECT_EQ(Caps(i % 2 ? DC_BINS : DC_PAPERS) != kError, true);
  EXPECT_EQ(parked(), first) << "twenty queries, one context";
}

}  // namespace
}  // namespace zems_test
