// The zeroing allocator.
#include "core/common/mem.h"

#include "support/machine_fixture.h"

namespace {

TEST(MemTest, BlocksAreZeroAndFreed) {
  for (SIZE_T size : {SIZE_T(1), SIZE_T(64), SIZE_T(100000)}) {
    BYTE* block = static_cast<BYTE*>(MemAllocZero(size));
    ASSERT_TRUE(block);
    EXPECT_GE(GlobalSize(block), size);
    for (SIZE_T i = 0; i < size; ++i) ASSERT_EQ(0, block[i]) << "byte " << i << " of " << size;
    MemFree(block);
  }
  MemFree(nullptr);
  MemFree(GlobalAlloc(GMEM_FIXED, 8));  // blocks of the system allocator are ours to free too
}

TEST(MemTest, ExhaustedHeapAnswersNull) { EXPECT_EQ(nullptr, MemAllocZero(SIZE_T(0xFFFFFFF0u))); }

}  // namespace
