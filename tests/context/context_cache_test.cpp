// The context cache: parking, the match rules, expiry after 500 ms, eviction of the oldest.
#include <gtest/gtest.h>

#include "core/items/item_ids.h"
#include "core/store/font_tables.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

TEST_F(ContextTest, ReleasedContextIsServedAgainUnchanged) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  BYTE* binder = ValueIn(ctx, ctx->settings, kItem_zdmJobBinder);
  binder[1] = 0x5A;  // a setting the next opener must find as it was left
  CtxClose(ctx);
  EXPECT_EQ(CtxCacheSlot(2, 0), ctx);

  DriverContext* again = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  EXPECT_EQ(again, ctx);
  EXPECT_EQ(ValueIn(again, again->settings, kItem_zdmJobBinder)[1], 0x5A);
  EXPECT_EQ(CtxCacheSlot(2, 0), nullptr);
  CtxRelease(again, kReleaseExpired);
}

TEST_F(ContextTest, CapabilitiesContextsParkInTheFirstTable) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindCapabilities, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  CtxRelease(ctx, kReleaseParkCaps);
  EXPECT_EQ(CtxCacheSlot(1, 0), ctx);
  EXPECT_EQ(CtxOpen(office_, office_, nullptr, 0, kKindCapabilities, 0, nullptr), ctx);
  // Parked in the second table, a capabilities context is not found: that kind looks in the first.
  CtxRelease(ctx, kReleasePark);
  DriverContext* other = CtxOpen(office_, office_, nullptr, 0, kKindCapabilities, 0, nullptr);
  EXPECT_NE(other, ctx);
  CtxRelease(other, kReleaseExpired);
}

struct MatchCase {
  const char* what;
  bool otherHandle;       // open with a second handle of the same printer
  WORD flags;
  DWORD kind;
  LONG fMode;
  const char16_t* name;   // printer name the opener's PRINTER_INFO_2 gives
  LONG parkedDocMode;     // fMode of the parked context's last document-properties call
  DWORD parkedKind;
  bool hit;
  WORD parkedFlags = 0;   // open flags of the parked context
};

class CacheMatchTest : public ContextTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(CacheMatchTest, ServesOnlyAMatchingContext) {
  const MatchCase& c = GetParam();
  DriverContext* parked = CtxOpen(office_, office_, nullptr, c.parkedFlags, c.parkedKind, 0, nullptr);
  ASSERT_NE(parked, nullptr);
  parked->ui->front.documentMode = c.parkedDocMode;
  CtxRelease(parked, kReleasePark);

  HANDLE handle = c.otherHandle ? OpenAgain(u"Office") : office_;
  PRINTER_INFO_2W info = {};
  info.pPrinterName = Text(c.name);
  info.pDriverName = Text(u"ORVEL ALTEN KV310 ZEMS");
  DriverContext* got = CtxOpen(handle, handle, nullptr, c.flags, c.kind, c.fMode, &info);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(got == parked, c.hit);
  CtxRelease(got, kReleaseExpired);
  if (c.otherHandle) ClosePrinter(handle);
}

constexpr DWORD S = kKindSettings, D = kKindDocumentProperties;
INSTANTIATE_TEST_SUITE_P(
    MatchRules, CacheMatchTest,
    ::testing::Values(
        MatchCase{"same printer, handle, kind and name", false, 0, S, 0, u"Office", 0, S, true},
        MatchCase{"another handle", true, 0, S, 0, u"Office", 0, S, false},
        MatchCase{"another handle with any-handle flags", true, 0x1B00, S, 0, u"Office", 0, S, true, 0x1B00},
        MatchCase{"any handle without cache permission", true, 0x1000, S, 0, u"Office", 0, S, false},
        MatchCase{"flags without cache permission", false, 0x0300, S, 0, u"Office", 0, S, false},
        MatchCase{"flags with cache permission", false, 0x0B00, S, 0, u"Office", 0, S, true, 0x0B00},
        MatchCase{"a lighter mode", false, 0x0001, S, 0, u"Office", 0, S, false},
        MatchCase{"another kind", false, 0, D, 0, u"Office", 0, S, false},
        MatchCase{"another printer name", false, 0, S, 0, u"Lab", 0, S, false},
        MatchCase{"name differing in case", false, 0, S, 0, u"office", 0, S, false},
        MatchCase{"document properties to a buffer, parked call too", false, 0, D, 2, u"Office", 2, D, true},
        MatchCase{"document properties to a buffer, parked call not", false, 0, D, 2, u"Office", 1, D, false},
        MatchCase{"other document properties call", false, 0, D, 1, u"Office", 2, D, true},
        MatchCase{"fMode 2 matters to document properties only", false, 0, S, 2, u"Office", 1, S, true},
        // The parked context must have been opened with the mode, mutex use and administrator
        // test that the new open asks for.
        MatchCase{"plain open, parked in mode 2 without mutex or test", false, 0, S, 0, u"Office", 0, S, false, 0x0B02},
        MatchCase{"the same light open again", false, 0x0B02, S, 0, u"Office", 0, S, true, 0x0B02},
        MatchCase{"light open, parked plainly", false, 0x0802, S, 0, u"Office", 0, S, false},
        MatchCase{"another light mode", false, 0x0801, S, 0, u"Office", 0, S, false, 0x0802},
        MatchCase{"mutex wanted, parked without", false, 0x0800, S, 0, u"Office", 0, S, false, 0x0900},
        MatchCase{"no mutex wanted, parked with", false, 0x0900, S, 0, u"Office", 0, S, false},
        MatchCase{"admin test wanted, parked without", false, 0x0800, S, 0, u"Office", 0, S, false, 0x0A00},
        MatchCase{"no admin test wanted, parked with", false, 0x0A00, S, 0, u"Office", 0, S, false},
        MatchCase{"cache permission alone, parked plainly", false, 0x0800, S, 0, u"Office", 0, S, true},
        MatchCase{"bare open, parked in the same bare mode", false, 0x0804, S, 0, u"Office", 0, S, true, 0x0804}),
    [](const ::testing::TestParamInfo<MatchCase>& info) { return "case" + std::to_string(info.index); });

TEST_F(ContextTest, ParkedContextsExpireAfter500ms) {
  struct Case {
    DWORD age;
    bool served;
  } cases[] = {{0, true}, {499, true}, {500, true}, {501, false}, {60000, false}};
  for (const Case& c : cases) {
    SimSetTickCount(200000);
    DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(ctx, nullptr);
    // Marks the parked context: a new one could take the freed one's address.
    ctx->ui->front.documentMode = 77;
    CtxClose(ctx);
    SimSetTickCount(200000 + c.age);
    DriverContext* again = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->ui->front.documentMode == 77, c.served) << "age " << c.age;
    CtxRelease(again, kReleaseExpired);
    CtxCacheExpire(TRUE);
  }
}

// Parking does not expire: an old entry stays in its slot through a later release and goes
// at the next open.
TEST_F(ContextTest, OnlyOpensExpireParkedContexts) {
  DriverContext* old = CtxOpen(lab_, lab_, nullptr, 0, kKindSettings, 0, nullptr);
  DriverContext* young = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_TRUE(old && young);
  CtxClose(old);
  SimAdvanceTickCount(501);
  CtxClose(young);
  EXPECT_EQ(CtxCacheSlot(2, 0), old);
  EXPECT_EQ(CtxCacheSlot(2, 1), young);
  DriverContext* again = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  EXPECT_EQ(again, young);
  EXPECT_EQ(CtxCacheSlot(2, 0), nullptr);
  CtxRelease(again, kReleaseExpired);
}

TEST_F(ContextTest, ExpiryRunsOnEveryLookupAndEmptiesBothTables) {
  DriverContext* caps = CtxOpen(lab_, lab_, nullptr, 0, kKindCapabilities, 0, nullptr);
  DriverContext* settings = CtxOpen(lab_, lab_, nullptr, 0, kKindSettings, 0, nullptr);
  CtxRelease(caps, kReleaseParkCaps);
  CtxRelease(settings, kReleasePark);
  SimAdvanceTickCount(501);
  // An open for another printer finds nothing of its own but sweeps the old entries away.
  DriverContext* office = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  EXPECT_EQ(CtxCacheSlot(1, 0), nullptr);
  EXPECT_EQ(CtxCacheSlot(2, 0), nullptr);
  CtxRelease(office, kReleaseExpired);
}

TEST_F(ContextTest, AThirdParkedContextEvictsTheOldest) {
  DriverContext* a = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  DriverContext* b = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  DriverContext* c = CtxOpen(lab_, lab_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_TRUE(a && b && c);
  ASSERT_NE(a, b);
  SimSetTickCount(100010);
  CtxClose(b);  // newer stamp, first slot
  SimSetTickCount(100005);
  CtxClose(a);  // older stamp, second slot
  SimSetTickCount(100020);
  CtxClose(c);  // replaces a, which is destroyed
  EXPECT_EQ(CtxCacheSlot(2, 0), b);
  EXPECT_EQ(CtxCacheSlot(2, 1), c);
}

TEST_F(ContextTest, EqualStampsEvictTheFirstSlot) {
  DriverContext* a = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  DriverContext* b = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  DriverContext* c = CtxOpen(lab_, lab_, nullptr, 0, kKindSettings, 0, nullptr);
  CtxClose(a);
  CtxClose(b);
  CtxClose(c);
  EXPECT_EQ(CtxCacheSlot(2, 0), c);
  EXPECT_EQ(CtxCacheSlot(2, 1), b);
}

TEST_F(ContextTest, JobBinderContextIsNeverParked) {
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  WriteDword(ValueIn(ctx, ctx->settings, kItem_zdmJobBinder), 1);
  CtxClose(ctx);
  EXPECT_EQ(CtxCacheSlot(2, 0), nullptr);
  EXPECT_EQ(CtxCacheSlot(2, 1), nullptr);
}

TEST_F(ContextTest, DestroyReasonsNeverPark) {
  for (WORD reason : {WORD(1), WORD(2), WORD(5)}) {
    DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    StoreFreeFontTables(ctx);  // reasons 1 and 2 leave the current font tables to their owner
    CtxRelease(ctx, reason);
    EXPECT_EQ(CtxCacheSlot(2, 0), nullptr) << reason;
  }
  CtxRelease(nullptr, 0);
}

TEST_F(ContextTest, ExpireAllEmptiesTheCache) {
  CtxRelease(CtxOpen(office_, office_, nullptr, 0, kKindCapabilities, 0, nullptr), kReleaseParkCaps);
  CtxRelease(CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr), kReleasePark);
  CtxCacheExpire(TRUE);
  for (int t = 1; t <= 2; ++t)
    for (int s = 0; s < 2; ++s) EXPECT_EQ(CtxCacheSlot(t, s), nullptr);
}

}  // namespace
}  // namespace zems_test
