// Copies and conversions of DEVMODEs, and the layout version checks.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "core/devmode/dm_convert.h"
#include "core/devmode/dm_layout.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "support/item_context.h"

namespace zems_test {
namespace {

WORD Word(const BYTE* p, UINT off) {
  WORD v;
  memcpy(&v, p + off, 2);
  return v;
}
void PutWord(BYTE* p, UINT off, WORD v) { memcpy(p + off, &v, 2); }
void PutDword(BYTE* p, UINT off, DWORD v) { memcpy(p + off, &v, 4); }

// A DEVMODE in a block of exactly dmSize + dmDriverExtra bytes: public bytes 0x11, private
// bytes 0x22, the private header of this driver (when it reaches) at layout version.
std::vector<BYTE> Devmode(WORD size, WORD extra, WORD spec = 0, WORD driverVersion = 0x400, DWORD version = 322) {
  std::vector<BYTE> dm(size + extra < 76 ? 76 : size + extra, 0x11);
  memset(dm.data() + size, 0x22, extra);
  PutWord(dm.data(), kDmOffSpecVersion, spec);
  PutWord(dm.data(), kDmOffDriverVersion, driverVersion);
  PutWord(dm.data(), kDmOffSize, size);
  PutWord(dm.data(), kDmOffDriverExtra, extra);
  if (extra >= 141) PutDword(dm.data(), size + 137, version);
  return dm;
}

// A destination as the context holds it, with a guard after its 1236 bytes.
std::vector<BYTE> Destination(size_t bytes = 1300) {
  std::vector<BYTE> dm(bytes, 0x77);
  PutWord(dm.data(), kDmOffSpecVersion, 0x401);
  PutWord(dm.data(), kDmOffDriverVersion, 0x400);
  PutWord(dm.data(), kDmOffSize, 220);
  PutWord(dm.data(), kDmOffDriverExtra, 1016);
  return dm;
}

TEST(DmConvert, SpecVersionBySize) {
  struct Case {
    WORD size, own, expected;
  } cases[] = {{188, 0x401, 0x320}, {212, 0, 0x400}, {220, 0x300, 0x401}, {148, 0x30A, 0x30A}, {10, 0, 0}};
  for (const Case& c : cases) {
    auto dm = Devmode(c.size, 0, c.own);
    EXPECT_EQ(DmSpecVersionOf(dm.data()), c.expected) << c.size;
  }
  EXPECT_EQ(DmSpecVersionOf(nullptr), 0);
}

TEST(DmConvert, CompareVersion) {
  struct Case {
    DWORD a, b;
    int expected;
  } cases[] = {{222, 322, 2}, {320, 322, 1}, {322, 322, 0}, {330, 322, 0}, {410, 322, 0}, {150, 250, 2}, {399, 322, 0}};
  for (const Case& c : cases) EXPECT_EQ(DmCompareVersion(c.a, c.b), c.expected) << c.a << " " << c.b;
}

TEST(DmConvert, CopiesBySourceShape) {
  struct Case {
    const char* what;
    WORD size, extra, spec, driverVersion;
    LONG core, merge;  // results of the core copy and of the merge's copy
    DWORD privateCore, privateMerge;  // private bytes each copied
  } cases[] = {
      {"own 220", 220, 1016, 0x401, 0x400, 1236, 1236, 1016, 1016},
      {"220 without private part", 220, 0, 0x401, 0x400, 220, -1, 0, 0},
      {"220 with 100 private bytes", 220, 100, 0x401, 0x400, 320, -1, 100, 0},
      {"220 with 1024 private bytes", 220, 1024, 0x401, 0x400, 1236, -1, 1016, 0},
      {"212", 212, 1016, 0x400, 0x400, -1, 1228, 0, 1016},
      {"188", 188, 1016, 0x320, 0x400, 1204, 1204, 1016, 1016},
      {"148 of version 0x320: public part only", 148, 1016, 0x320, 0x400, 148, 148, 0, 0},
      {"148 of another version", 148, 1016, 0x300, 0x400, -1, -1, 0, 0},
      {"foreign driver version", 220, 1016, 0x401, 0x300, 1236, -1, 1016, 0},
      {"dmSize 10", 10, 0, 0x401, 0x400, -1, -1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto src = Devmode(c.size, c.extra, c.spec, c.driverVersion);
    for (int merge = 0; merge < 2; ++merge) {
      auto dst = Destination();
      LONG r = merge ? DmCopyDevmode(src.data(), dst.data()) : DmCopyDevmodeCore(src.data(), dst.data());
      EXPECT_EQ(r, merge ? c.merge : c.core) << "merge copy " << merge;
      // The destination keeps its own sizes and driver version and the dmSpecVersion of its size.
      EXPECT_EQ(Word(dst.data(), kDmOffSize), 220);
      EXPECT_EQ(Word(dst.data(), kDmOffDriverExtra), 1016);
      EXPECT_EQ(Word(dst.data(), kDmOffDriverVersion), 0x400);
      EXPECT_EQ(Word(dst.data(), kDmOffSpecVersion), 0x401);
      const DWORD priv = merge ? c.privateMerge : c.privateCore;
      if (priv) {
        EXPECT_EQ(dst[220 + priv - 1], 0x22);
        if (priv == 1016) {
          EXPECT_EQ(Word(dst.data(), kDmOffAreaOffsets + 2), 1236);
        }
      } else {
        EXPECT_EQ(dst[300], 0x77) << "private part untouched";
      }
      EXPECT_EQ(dst[1236], 0x77) << "nothing past the DEVMODE";
    }
  }
  auto dst = Destination();
  EXPECT_EQ(DmCopyDevmode(nullptr, dst.data()), -1);
  EXPECT_EQ(DmCopyDevmodeCore(dst.data(), nullptr), -1);
}

TEST(DmConvert, KnownLengthRefusesALargerClaim) {
  auto src = Devmode(220, 1016);
  auto dst = Destination();
  EXPECT_EQ(DmCopyDevmodeSized(src.data(), 1235, dst.data()), -1);
  EXPECT_EQ(dst[100], 0x77);
  EXPECT_EQ(DmCopyDevmodeSized(src.data(), 1236, dst.data()), 1236);
  DmOutsideView v;
  EXPECT_EQ(DmCheckOutside(src.data(), 60, &v), 0);
  EXPECT_EQ(DmCheckOutside(src.data(), 0, &v), 0) << "nothing there";
  EXPECT_EQ(DmCheckOutside(src.data(), kDmUnknownLength, &v), 1);
  EXPECT_EQ(v.publicBytes, 220u);
  EXPECT_EQ(v.privateBytes, 1016u);
  auto odd = Devmode(300, 500);
  EXPECT_EQ(DmCheckOutside(odd.data(), kDmUnknownLength, &v), 1);
  EXPECT_EQ(v.privateBytes, 0u) << "no private part behind an unknown public size";
}

TEST(DmConvert, Conversions) {
  struct Case {
    const char* what;
    DWORD mode;
    bool destination;
    WORD dstSize;
    LONG room;
    int result;
    DWORD error;   // 0: not set
    LONG needed;   // *pcbNeeded afterwards
  } cases[] = {
      {"convert", 1, true, 220, 1236, 1, 0, 1236},
      {"convert without room", 1, true, 220, 1000, 0, ERROR_INVALID_PARAMETER, 1000},
      {"convert to another public size", 1, true, 300, 1500, 0, ERROR_INVALID_PARAMETER, 1500},
      {"convert, negative room", 1, true, 220, -5, 0, ERROR_INVALID_PARAMETER, -5},
      {"convert without destination", 1, false, 220, 1236, 0, ERROR_INVALID_PARAMETER, 1236},
      {"to 3.51", 2, true, 220, 1204, 1, 0, 1204},
      {"to 3.51 without room", 2, true, 220, 1000, 0, ERROR_INSUFFICIENT_BUFFER, 1204},
      {"to 3.51 without destination", 2, false, 220, 5000, 0, ERROR_INSUFFICIENT_BUFFER, 1204},
      {"driver default", 4, true, 220, 1236, 2, 0, 1236},
      {"driver default without room", 4, true, 220, 100, 0, ERROR_INSUFFICIENT_BUFFER, 1236},
      {"other mode", 3, true, 220, 1236, 2, 0, 1236},
  };
  auto src = Devmode(220, 1016);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto dst = Destination();
    PutWord(dst.data(), kDmOffSize, c.dstSize);
    LONG needed = c.room;
    SetLastError(0);
    EXPECT_EQ(DmConvertDevmode(nullptr, src.data(), c.destination ? dst.data() : nullptr, &needed, c.mode), c.result);
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(needed, c.needed);
    EXPECT_EQ(dst[1236], 0x77);
    if (c.mode == 2 && c.result == 1) {
      EXPECT_EQ(Word(dst.data(), kDmOffSize), 188);
      EXPECT_EQ(Word(dst.data(), kDmOffSpecVersion), 0x320);
      EXPECT_EQ(Word(dst.data(), kDmOffDriverVersion), 0x350);
      EXPECT_EQ(Word(dst.data(), kDmOffDriverExtra), 1016);
      EXPECT_EQ(dst[188 + 1015], 0x22);
      EXPECT_EQ(Word(dst.data(), 188 + 141 + 2), 1236) << "area words inside the moved private part";
    }
  }
  SetLastError(0);
  EXPECT_EQ(DmConvertDevmode(nullptr, src.data(), nullptr, nullptr, 1), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

class DmOutputTest : public ItemContextTest {};

TEST_F(DmOutputTest, OutputTakesOnlyKnownReferenceSizesAndStaysInTheDevmode) {
  auto src = Devmode(220, 1016);
  struct Case {
    WORD refSize, refExtra;
    WORD size, extra;  // of the output
  } cases[] = {{188, 1016, 188, 1016}, {212, 0, 212, 0}, {300, 2000, 220, 1016}, {220, 4000, 220, 1016}, {148, 1016, 220, 1016}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refSize);
    auto ref = Devmode(c.refSize, 0);
    PutWord(ref.data(), kDmOffDriverExtra, c.refExtra);
    auto dst = Destination(1400);
    EXPECT_EQ(DmBuildOutputDevmode(src.data(), ref.data(), dst.data(), ctx()), 1);
    EXPECT_EQ(Word(dst.data(), kDmOffSize), c.size);
    EXPECT_EQ(Word(dst.data(), kDmOffDriverExtra), c.extra);
    EXPECT_EQ(dst[1236], 0x77);
  }
  // Without a reference the copy stops at one DEVMODE of this layout, and its header claims
  // what was copied.
  struct Whole {
    WORD size, extra;  // of the source
    WORD copiedSize, copiedExtra;
  } wholes[] = {{220, 1016, 220, 1016}, {212, 1016, 212, 1016}, {220, 3000, 220, 1016}, {300, 3000, 220, 0}};
  for (const Whole& c : wholes) {
    SCOPED_TRACE(testing::Message() << c.size << "/" << c.extra);
    auto whole = Devmode(c.size, c.extra);
    auto dst = Destination(1400);
    EXPECT_EQ(DmBuildOutputDevmode(whole.data(), nullptr, dst.data(), ctx()), 1);
    EXPECT_EQ(Word(dst.data(), kDmOffSize), c.copiedSize);
    EXPECT_EQ(Word(dst.data(), kDmOffDriverExtra), c.copiedExtra);
    const UINT end = c.copiedSize + c.copiedExtra;
    EXPECT_EQ(dst[end - 1], c.copiedExtra ? 0x22 : 0x11);
    EXPECT_EQ(dst[end], 0x77);
  }
  EXPECT_EQ(DmBuildOutputDevmode(src.data(), nullptr, nullptr, ctx()), -1);
}

TEST(DmConvert, CheckVersionReadsOnlyBehindKnownSizes) {
  struct Case {
    WORD size, extra;
    DWORD version;
    int expected;
  } cases[] = {{220, 1016, 322, 0}, {220, 1016, 320, 1}, {220, 1016, 222, 2}, {188, 141, 320, 1},
               {212, 140, 320, 2}, {148, 1016, 320, 2}, {220, 0, 320, 2}};
  for (const Case& c : cases) {
    auto dm = Devmode(c.size, c.extra, 0, 0x400, c.version);
    if (c.extra >= 141) PutDword(dm.data(), c.size + 137, c.version);
    EXPECT_EQ(DmCheckVersion(dm.data()), c.expected) << c.size << "/" << c.extra << "/" << c.version;
  }
  EXPECT_EQ(DmCheckVersion(nullptr), -1);
}

class DmUpgradeTest : public ItemContextTest {};

TEST_F(DmUpgradeTest, UpgradeStampsTheDriversVersionAndStepsThroughTheVersions) {
  DmStampPrivateHeader(ctx()->settings, ctx());
  auto old = Devmode(220, 1016, 0x401, 0x400, 320);
  EXPECT_EQ(DmUpgradeVersion(old.data(), ctx()), 1);
  EXPECT_EQ(DmGetPrivateVersion(ctx()->settings), 322u);
  EXPECT_EQ(ItemGetRawById(ctx(), kItem_wdmConvertVersion), 322);
  auto current = Devmode(220, 1016, 0x401, 0x400, 322);
  ItemSetRawById(ctx(), kItem_wdmConvertVersion, 0);
  EXPECT_EQ(DmUpgradeVersion(current.data(), ctx()), 0);
  EXPECT_EQ(ItemGetRawById(ctx(), kItem_wdmConvertVersion), 0);
  // Nothing runs for an empty step range.
  EXPECT_EQ(DmRunConvertScript(322, 322, ctx()), 1);
  EXPECT_EQ(ItemGetRawById(ctx(), kItem_wdmConvertVersion), 0);
}

}  // namespace
}  // namespace zems_test
