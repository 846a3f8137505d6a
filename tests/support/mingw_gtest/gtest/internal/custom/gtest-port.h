// googletest's customization header, found before its own in the Windows build. The -win32
// compilers' C++ library has no std::mutex or std::condition_variable, which googletest's
// Notification uses; this one waits on a flag. Only googletest's own thread helpers use it,
// and the test programs start none of them.
#pragma once
#include <atomic>

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
 public:
  Notification() : notified_(false) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) Sleep(1);
  }

 private:
  std::atomic<bool> notified_;
};

}  // namespace internal
}  // namespace testing
