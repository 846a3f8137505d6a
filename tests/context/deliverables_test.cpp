// Each deliverable carries its own copy of the core: loading two of them into one process must
// not join their core state (on Linux only hidden visibility keeps the copies apart).
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "support/test_printer.h"

namespace zems_test {
namespace {

// Core operations and state that no deliverable may export: were one visible, the dynamic
// linker would bind every later library's calls to the first library's copy.
const char* const kCoreSymbols[] = {
    "_Z12CtxCacheInitv",   // CtxCacheInit()
    "_Z14CtxCacheExpirei",  // CtxCacheExpire(BOOL)
    "_Z12CtxCacheSlotii",  // CtxCacheSlot(int, int)
    "UiBusyFlag",
    "_Z15BuildGetVariantv",
};

TEST_F(ContextTest, TwoDeliverablesInOneProcessKeepTheirCoreStateApart) {
  // A context parked in this program's own copy of the cache.
  DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(ctx, nullptr);
  ctx->ui->front.documentMode = 77;
  CtxClose(ctx);

  ASSERT_TRUE(SimRegisterModule("zemsui.dll", (BinDir() + "/zemsui.so").c_str()));
  ASSERT_TRUE(SimRegisterModule("zemsexc.dll", (BinDir() + "/zemsexc.so").c_str()));
  HMODULE ui = LoadLibraryW(TEXT("zemsui.dll"));
  HMODULE exc = LoadLibraryW(TEXT("zemsexc.dll"));
  ASSERT_NE(ui, nullptr);
  ASSERT_NE(exc, nullptr);
  ASSERT_NE(ui, exc);

  for (const char* name : kCoreSymbols) {
    EXPECT_EQ(GetProcAddress(ui, name), nullptr) << "zemsui exports " << name;
    EXPECT_EQ(GetProcAddress(exc, name), nullptr) << "zemsexc exports " << name;
  }
  EXPECT_NE(GetProcAddress(ui, "DllMain"), GetProcAddress(exc, "DllMain"));

  // Unloading runs each library's detach, which destroys every context of its own cache; the
  // context parked here must survive both.
  EXPECT_TRUE(FreeLibrary(exc));
  EXPECT_TRUE(FreeLibrary(ui));
  DriverContext* again = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->ui->front.documentMode, 77);
  CtxRelease(again, kReleaseExpired);
}

}  // namespace
}  // namespace zems_test
