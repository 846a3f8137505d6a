// The machine's heap running out on demand (SimFailAllocations).
#include <vector>

#include "core/common/mem.h"
#include "platform/sim.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"

namespace {

class HeapLimitTest : public zems_test::MachineTest {
 protected:
  void TearDown() override {
    SimFailAllocations(-1);
    for (void* block : blocks_) GlobalFree(block);
    MachineTest::TearDown();
  }
  // Keeps a granted block until the test ends.
  void* Keep(void* block) {
    if (block) blocks_.push_back(block);
    return block;
  }

 private:
  std::vector<void*> blocks_;
};

TEST_F(HeapLimitTest, TheHeapGrantsTheCountThenFailsEveryKindOfAllocation) {
  void* early = GlobalAlloc(GPTR, 8);
  ASSERT_NE(nullptr, early);
  SimFailAllocations(3);
  EXPECT_NE(nullptr, Keep(GlobalAlloc(GPTR, 16)));
  EXPECT_NE(nullptr, Keep(LocalAlloc(LPTR, 16)));
  EXPECT_NE(nullptr, Keep(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 16)));
  SetLastError(0);
  EXPECT_EQ(nullptr, Keep(GlobalAlloc(GPTR, 16)));
  EXPECT_EQ(DWORD(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
  EXPECT_EQ(nullptr, Keep(LocalAlloc(LPTR, 1)));
  EXPECT_EQ(nullptr, Keep(HeapAlloc(GetProcessHeap(), 0, 1)));
  EXPECT_EQ(nullptr, MemAllocZero(4)) << "the core's allocator draws on the same heap";
  EXPECT_EQ(nullptr, Keep(GlobalAlloc(GPTR, 16))) << "the heap stays exhausted";

  EXPECT_EQ(nullptr, GlobalFree(early)) << "frees work while the heap is exhausted";

  SimFailAllocations(-1);
  void* block = MemAllocZero(32);
  EXPECT_NE(nullptr, block) << "-1 ends the limit";
  SimFailAllocations(0);
  MemFree(block);
  EXPECT_EQ(nullptr, Keep(GlobalAlloc(GPTR, 1))) << "0 fails the very next allocation";
}

TEST_F(HeapLimitTest, ARefusedSizeDoesNotUseUpTheCount) {
  SimFailAllocations(1);
  EXPECT_EQ(nullptr, MemAllocZero(SIZE_T(0xFFFFFFF0u)));
  EXPECT_NE(nullptr, Keep(GlobalAlloc(GPTR, 8)));
  EXPECT_EQ(nullptr, Keep(GlobalAlloc(GPTR, 8)));
}

TEST_F(HeapLimitTest, ANewMachineHasNoLimit) {
  SimFailAllocations(0);
  std::string fresh = zems_test::MakeMachineRoot();
  EXPECT_NE(nullptr, Keep(GlobalAlloc(GPTR, 8)));
  SimSetMachineRoot(Root().c_str());
  zems_test::RemoveMachineRoot(fresh);
}

}  // namespace
