// Entry point of the conformance program. Natively it runs against the simulated machine
// (gtest_main supplies main); under Wine this main is used.
#include <gtest/gtest.h>

#ifdef _WIN32
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
#endif
