// Named mutexes of the simulated machine shared by processes on one machine root.
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sim.h"
#include "platform/win32.h"
#include "support/child_process.h"
#include "support/machine_fixture.h"

namespace {

using zems_test::ChildProcess;
using Clock = std::chrono::steady_clock;

const WCHAR kName[] = TEXT("Global\\ZemsTestShared");

// Child body: takes the mutex, says 'h', then on 'r' releases it and says 'd'; on 'x' (or
// when the parent goes) it ends still owning it.
void HoldUntilTold(ChildProcess& child) {
  HANDLE m = CreateMutexW(nullptr, FALSE, kName);
  if (!m || WaitForSingleObject(m, 5000) != WAIT_OBJECT_0) _exit(2);
  child.Send('h');
  char c = 0;
  child.Receive(&c);
  if (c == 'r') {
    ReleaseMutex(m);
    child.Send('d');
    child.Receive(&c);  // stay alive until the parent is done
  }
}

class NamedMutexTest : public zems_test::MachineTest {};

TEST_F(NamedMutexTest, SecondProcessWaitsWhileTheFirstHoldsIt) {
  ChildProcess child(HoldUntilTold);
  char c = 0;
  ASSERT_TRUE(child.Receive(&c));
  ASSERT_EQ('h', c);

  HANDLE m = CreateMutexW(nullptr, TRUE, kName);
  ASSERT_TRUE(m);
  EXPECT_EQ(DWORD(ERROR_ALREADY_EXISTS), GetLastError()) << "the child's object, found by name";
  EXPECT_EQ(DWORD(WAIT_TIMEOUT), WaitForSingleObject(m, 0)) << "initial ownership was not granted";
  auto start = Clock::now();
  EXPECT_EQ(DWORD(WAIT_TIMEOUT), WaitForSingleObject(m, 120));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(110)) << "a finite wait lasts its time-out";
  SetLastError(0);
  EXPECT_FALSE(ReleaseMutex(m));
  EXPECT_EQ(DWORD(ERROR_NOT_OWNER), GetLastError());

  // Released by the child while we wait without a time-out.
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    child.Send('r');
  });
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m, INFINITE));
  releaser.join();
  ASSERT_TRUE(child.Receive(&c));
  EXPECT_EQ('d', c);
  EXPECT_TRUE(ReleaseMutex(m));
  child.Send('q');
  EXPECT_EQ(0, child.Wait());
  CloseHandle(m);
}

TEST_F(NamedMutexTest, MutexOfADeadProcessIsAcquiredAsAbandoned) {
  ChildProcess child(HoldUntilTold);
  char c = 0;
  ASSERT_TRUE(child.Receive(&c));
  HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, kName);
  ASSERT_TRUE(m) << "the child's mutex exists";
  EXPECT_EQ(DWORD(WAIT_TIMEOUT), WaitForSingleObject(m, 0));
  child.Send('x');
  EXPECT_EQ(0, child.Wait());
  EXPECT_EQ(DWORD(WAIT_ABANDONED), WaitForSingleObject(m, 5000));
  EXPECT_TRUE(ReleaseMutex(m));

  // Released properly, the next process gets it plainly.
  ChildProcess next([](ChildProcess& self) {
    HANDLE h = CreateMutexW(nullptr, FALSE, kName);
    DWORD r = h ? WaitForSingleObject(h, 5000) : WAIT_FAILED;
    self.Send(r == WAIT_OBJECT_0 ? 'o' : r == WAIT_ABANDONED ? 'a' : 'f');
    ReleaseMutex(h);
  });
  ASSERT_TRUE(next.Receive(&c));
  EXPECT_EQ('o', c);
  CloseHandle(m);
}

// Waiters already blocked when the owning process dies: the first to get the mutex learns it
// was abandoned; once that one releases it, the next gets it plainly.
TEST_F(NamedMutexTest, WaitersBlockedWhileTheOwnerDies) {
  ChildProcess child(HoldUntilTold);
  char c = 0;
  ASSERT_TRUE(child.Receive(&c));
  HANDLE m = OpenMutexW(SYNCHRONIZE, FALSE, kName);
  ASSERT_TRUE(m);
  std::vector<DWORD> results;
  std::mutex resultsLock;
  auto waiter = [&] {
    DWORD r = WaitForSingleObject(m, 5000);
    {
      std::lock_guard<std::mutex> hold(resultsLock);
      results.push_back(r);
    }
    if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED) ReleaseMutex(m);
  };
  std::thread first(waiter), second(waiter);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));  // both are waiting
  child.Send('x');
  first.join();
  second.join();
  EXPECT_EQ(0, child.Wait());
  ASSERT_EQ(2u, results.size());
  EXPECT_EQ(DWORD(WAIT_ABANDONED), results[0]);
  EXPECT_EQ(DWORD(WAIT_OBJECT_0), results[1]);
  CloseHandle(m);
}

TEST_F(NamedMutexTest, ObjectEndsWithItsLastProcess) {
  // The child dies owning the mutex while no other process holds it: the object is gone, and
  // the next one made under that name is new, not abandoned.
  ChildProcess child(HoldUntilTold);
  char c = 0;
  ASSERT_TRUE(child.Receive(&c));
  child.Send('x');
  child.Wait();
  SetLastError(0);
  EXPECT_FALSE(OpenMutexW(SYNCHRONIZE, FALSE, kName));
  EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), GetLastError());
  HANDLE m = CreateMutexW(nullptr, FALSE, kName);
  ASSERT_TRUE(m);
  EXPECT_EQ(0u, GetLastError());
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m, 0));
  ReleaseMutex(m);
  const std::string lockFile = Root() + "/kernel/mutex/global/ZemsTestShared";
  struct stat st;
  EXPECT_EQ(0, stat(lockFile.c_str(), &st));
  CloseHandle(m);
  EXPECT_NE(0, stat(lockFile.c_str(), &st))
      << "the last process to close the object removes its lock file";
}

TEST_F(NamedMutexTest, ThreadsOfOneProcessContend) {
  const int kThreads = 4, kRounds = 200;
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      HANDLE m = CreateMutexW(nullptr, FALSE, TEXT("ZemsTestCounter"));
      for (int i = 0; i < kRounds; ++i) {
        WaitForSingleObject(m, INFINITE);
        long seen = counter;
        std::this_thread::yield();
        counter = seen + 1;
        ReleaseMutex(m);
      }
      CloseHandle(m);
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(kThreads * kRounds, counter);
}

TEST_F(NamedMutexTest, ForkedChildHasAThreadIdOfItsOwn) {
  // The parent's thread has asked for its id (and keeps it) before the fork; the child's only
  // thread has the child's process id as its own.
  const DWORD parent = GetCurrentThreadId();
  ChildProcess child([parent](ChildProcess& self) {
    const DWORD own = GetCurrentThreadId();
    self.Send(own != parent && own == DWORD(getpid()) ? 'y' : 'n');
  });
  char c = 0;
  EXPECT_TRUE(child.Receive(&c));
  EXPECT_EQ('y', c) << "a forked child must not carry its parent's thread id";
  EXPECT_EQ(0, child.Wait());
  EXPECT_EQ(parent, GetCurrentThreadId());
}

TEST_F(NamedMutexTest, ThreadEndingWhileOwningAbandonsIt) {
  // A thread of the host's own making, not one from CreateThread.
  HANDLE m = CreateMutexW(nullptr, FALSE, kName);
  ASSERT_TRUE(m);
  DWORD taken = WAIT_FAILED;
  std::thread([&] { taken = WaitForSingleObject(m, 0); }).join();
  EXPECT_EQ(WAIT_OBJECT_0, taken);
  EXPECT_EQ(DWORD(WAIT_ABANDONED), WaitForSingleObject(m, 1000));
  EXPECT_TRUE(ReleaseMutex(m));
  CloseHandle(m);
}

TEST_F(NamedMutexTest, EachMachineRootHasItsOwnObjects) {
  HANDLE first = CreateMutexW(nullptr, TRUE, kName);
  ASSERT_TRUE(first);
  std::string otherRoot = zems_test::MakeMachineRoot();
  HANDLE second = CreateMutexW(nullptr, TRUE, kName);
  ASSERT_TRUE(second);
  EXPECT_EQ(0u, GetLastError()) << "a new machine, a new object";
  CloseHandle(second);
  zems_test::RemoveMachineRoot(otherRoot);
  SimSetMachineRoot(Root().c_str());
  ReleaseMutex(first);
  CloseHandle(first);
}

TEST_F(NamedMutexTest, NamesTheMachineCannotHoldFail) {
  std::ofstream(Root() + "/kernel") << "not a folder";
  SetLastError(0);
  EXPECT_FALSE(CreateMutexW(nullptr, FALSE, kName));
  EXPECT_NE(0u, GetLastError());
  std::remove((Root() + "/kernel").c_str());
  WCHAR longName[MAX_PATH + 2];
  for (int i = 0; i < MAX_PATH + 1; ++i) longName[i] = 'n';
  longName[MAX_PATH + 1] = 0;
  EXPECT_FALSE(CreateMutexW(nullptr, FALSE, longName));
  EXPECT_EQ(DWORD(ERROR_FILENAME_EXCED_RANGE), GetLastError());
  HANDLE m = CreateMutexA(nullptr, FALSE, "Local\\ansi name");
  ASSERT_TRUE(m);
  HANDLE same = OpenMutexW(SYNCHRONIZE, FALSE, TEXT("ansi name"));
  EXPECT_TRUE(same) << "\"Local\\\" names the session's own namespace";
  CloseHandle(same);
  CloseHandle(m);
}

}  // namespace
