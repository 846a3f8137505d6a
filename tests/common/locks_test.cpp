// The cache locks and the machine-wide settings mutex.
#include "core/common/locks.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "core/context/driver_context.h"
#include "core/context/ui_state.h"
#include "platform/sim.h"
#include "support/child_process.h"
#include "support/machine_fixture.h"

namespace {

using zems_test::ChildProcess;

const WCHAR kMutexName[] = TEXT("Global\\ZemsMutexTse");

// Each test starts like a freshly attached process on a fresh machine.
class LocksTest : public zems_test::MachineTest {
 protected:
  void SetUp() override {
    LockTermProcess();
    MachineTest::SetUp();
    LockInitProcess();
  }
  void TearDown() override {
    SimFailCriticalSectionInits(0);
    LockTermProcess();
    MachineTest::TearDown();
  }
};

// True when another thread can take the named mutex right now.
bool MutexFreeForOthers() {
  bool free = false;
  std::thread([&] {
    HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, kMutexName);
    if (!h) return;
    DWORD r = WaitForSingleObject(h, 0);
    free = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    if (free) ReleaseMutex(h);
    CloseHandle(h);
  }).join();
  return free;
}

// Another thread that enters cache lock n (and leaves it at once); joined when it goes.
class Entrant {
 public:
  explicit Entrant(int n) : thread_([this, n] {
    LockEnter(n);
    entered_ = true;
    LockLeave(n);
  }) {}
  ~Entrant() { thread_.join(); }
  bool EnteredWithin(std::chrono::milliseconds time) {
    auto deadline = std::chrono::steady_clock::now() + time;
    while (!entered_ && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return entered_;
  }

 private:
  std::atomic<bool> entered_{false};
  std::thread thread_;
};

TEST_F(LocksTest, CacheLocksExcludeEachOnItsOwn) {
  EXPECT_EQ(1, LockState(1));
  EXPECT_EQ(1, LockState(2));
  LockEnter(1);
  LockEnter(1);  // re-entry on the holding thread
  EXPECT_TRUE(Entrant(2).EnteredWithin(std::chrono::seconds(5))) << "lock 2 is not lock 1";
  {
    Entrant other(1);
    EXPECT_FALSE(other.EnteredWithin(std::chrono::milliseconds(60)));
    LockLeave(1);
    EXPECT_FALSE(other.EnteredWithin(std::chrono::milliseconds(20))) << "entered twice, left once";
    LockLeave(1);
    EXPECT_TRUE(other.EnteredWithin(std::chrono::seconds(5)));
  }
}

TEST_F(LocksTest, OtherLockNumbersDoNothing) {
  for (int n : {0, 3, -1}) {
    LockEnter(n);
    LockLeave(n);
    EXPECT_EQ(0, LockState(n));
  }
  EXPECT_TRUE(Entrant(1).EnteredWithin(std::chrono::seconds(5)));
}

TEST_F(LocksTest, SecondInitKeepsEnteredLocksAndTheMutexHandle) {
  LockGlobalMutex();
  HANDLE mutex = LockMutexHandle();
  ASSERT_TRUE(mutex);
  LockEnter(1);
  LockInitProcess();  // as the graphics DLL does when its driver is enabled
  EXPECT_EQ(mutex, LockMutexHandle()) << "no second handle while the first is open";
  {
    Entrant other(1);
    EXPECT_FALSE(other.EnteredWithin(std::chrono::milliseconds(60))) << "lock 1 was not made anew under its holder";
    LockLeave(1);
  }
  UnlockGlobalMutex();
  EXPECT_TRUE(MutexFreeForOthers());
}

TEST_F(LocksTest, FailedInitialisationIsRetriedAtEnter) {
  LockTermProcess();
  SimFailCriticalSectionInits(2);
  LockInitProcess();
  EXPECT_EQ(0, LockState(1));
  EXPECT_EQ(0, LockState(2));
  SimFailCriticalSectionInits(1);
  LockEnter(2);  // fails again: the work runs unguarded
  LockLeave(2);
  EXPECT_EQ(0, LockState(2));
  LockEnter(2);
  EXPECT_EQ(1, LockState(2)) << "created by the enter that succeeded";
  {
    Entrant other(2);
    EXPECT_FALSE(other.EnteredWithin(std::chrono::milliseconds(60)));
    LockLeave(2);
  }
}

TEST_F(LocksTest, TermDeletesLocksAndClosesTheMutex) {
  LockGlobalMutex();
  UnlockGlobalMutex();
  ASSERT_TRUE(LockMutexHandle());
  LockTermProcess();
  EXPECT_EQ(0, LockState(1));
  EXPECT_EQ(0, LockState(2));
  EXPECT_EQ(nullptr, LockMutexHandle());
  LockTermProcess();  // a second detach finds nothing to do
}

TEST_F(LocksTest, GlobalMutexReentersAndIsFreeAfterMatchingUnlocks) {
  LockGlobalMutex();
  LockGlobalMutex();
  EXPECT_FALSE(MutexFreeForOthers());
  UnlockGlobalMutex();
  EXPECT_FALSE(MutexFreeForOthers()) << "still held once";
  UnlockGlobalMutex();
  EXPECT_TRUE(MutexFreeForOthers());
}

TEST_F(LocksTest, ContextOpenedWithoutTheMutexNeitherWaitsNorReleases) {
  static UiState ui;  // large: kept off the stack
  ui = UiState{};
  DriverContext ctx{};
  ctx.ui = &ui;
  ui.useGlobalMutex = 0;
  CtxLockGlobalMutex(&ctx);
  EXPECT_EQ(nullptr, LockMutexHandle()) << "not even created for such a context";
  LockGlobalMutex();
  CtxUnlockGlobalMutex(&ctx);
  EXPECT_FALSE(MutexFreeForOthers()) << "the context released what it never took";
  UnlockGlobalMutex();
  EXPECT_TRUE(MutexFreeForOthers());

  ui.useGlobalMutex = 1;
  CtxLockGlobalMutex(&ctx);
  EXPECT_FALSE(MutexFreeForOthers());
  CtxUnlockGlobalMutex(&ctx);
  EXPECT_TRUE(MutexFreeForOthers());
}

TEST_F(LocksTest, CreatedMutexIsNamedAndNotOwned) {
  HANDLE first = GlobalDriverMutex();
  ASSERT_TRUE(first);
  EXPECT_EQ(0u, GetLastError());
  EXPECT_TRUE(MutexFreeForOthers());
  HANDLE second = GlobalDriverMutex();
  ASSERT_TRUE(second);
  EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError());
  CloseHandle(first);
  CloseHandle(second);
}

TEST_F(LocksTest, MutexThatCannotBeCreatedIsRetriedLater) {
  std::string blocker = Root() + "/kernel";
  std::ofstream(blocker) << "the mutex folder cannot be made";
  LockGlobalMutex();  // returns at once: the work runs unguarded
  EXPECT_EQ(nullptr, LockMutexHandle());
  UnlockGlobalMutex();
  std::remove(blocker.c_str());
  LockGlobalMutex();
  EXPECT_TRUE(LockMutexHandle());
  EXPECT_FALSE(MutexFreeForOthers());
  UnlockGlobalMutex();
}

TEST_F(LocksTest, TwoProcessesShareTheMutexAndAnAbandonedOneCountsAsAcquired) {
  // The child is another process with the core loaded: it takes the mutex and dies holding it.
  ChildProcess child([](ChildProcess& self) {
    LockGlobalMutex();
    self.Send('h');
    char c;
    self.Receive(&c);
  });
  char c = 0;
  ASSERT_TRUE(child.Receive(&c));
  EXPECT_FALSE(MutexFreeForOthers()) << "held by the other process";

  std::atomic<bool> acquired{false};
  std::thread waiter([&] {
    LockGlobalMutex();
    acquired = true;
    UnlockGlobalMutex();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(80));
  EXPECT_FALSE(acquired) << "waits while the other process holds it";
  child.Send('x');
  EXPECT_EQ(0, child.Wait());
  waiter.join();
  EXPECT_TRUE(acquired);
  EXPECT_TRUE(MutexFreeForOthers());
}

}  // namespace
