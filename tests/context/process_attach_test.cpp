// Process attach and detach of the core: what each DllMain relies on.
#include "core/context/process_attach.h"

#include "core/common/locks.h"
#include "core/common/module_handle.h"
#include "support/test_printer.h"

namespace zems_test {
namespace {

class ProcessAttachTest : public ContextTest {
 protected:
  void SetUp() override {
    ContextTest::SetUp();
    CoreProcessAttach(nullptr);
  }
  void TearDown() override {
    CoreProcessDetach();
    ContextTest::TearDown();
  }

  // A settings context of the office printer, parked in the cache.
  DriverContext* Parked() {
    DriverContext* ctx = CtxOpen(office_, office_, nullptr, 0, kKindSettings, 0, nullptr);
    EXPECT_NE(ctx, nullptr);
    CtxRelease(ctx, kReleasePark);
    EXPECT_EQ(CtxCacheSlot(2, 0), ctx);
    return ctx;
  }
};

TEST_F(ProcessAttachTest, DetachDestroysParkedContextsThenTheLocks) {
  Parked();
  CoreProcessDetach();
  EXPECT_EQ(CtxCacheSlot(2, 0), nullptr) << "a parked context outlived the detach";
  EXPECT_EQ(0, LockState(1));
  EXPECT_EQ(0, LockState(2));
  CoreProcessAttach(nullptr);
  EXPECT_EQ(1, LockState(1)) << "attached again";
  EXPECT_EQ(1, LockState(2));
}

// The graphics DLL initialises the locks again when its driver is enabled, and a second
// attach without a detach must not forget the parked contexts either.
TEST_F(ProcessAttachTest, RepeatedInitialisationKeepsParkedContexts) {
  DriverContext* ctx = Parked();
  LockInitProcess();
  EXPECT_EQ(CtxCacheSlot(2, 0), ctx);
  CoreProcessAttach(nullptr);
  EXPECT_EQ(CtxCacheSlot(2, 0), ctx);
}

TEST_F(ProcessAttachTest, AttachKeepsTheModuleHandle) {
  HINSTANCE self = reinterpret_cast<HINSTANCE>(this);
  CoreProcessAttach(self);
  EXPECT_EQ(ResModuleHandle(), self);
  CoreProcessAttach(nullptr);  // as zemsexc attaches
  EXPECT_EQ(ResModuleHandle(), nullptr);
}

}  // namespace
}  // namespace zems_test
