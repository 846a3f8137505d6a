// A forked child process for tests of what several processes share (named mutexes, files).
// The child runs a function and ends with _exit; parent and child pass single bytes.
#pragma once
#include <sys/types.h>

#include <functional>

namespace zems_test {

class ChildProcess {
 public:
  // Forks; the child runs body(*this) and ends with _exit(0), or with _exit(1) on failure of
  // its own checks. Fork before the parent opens what the child should open itself.
  explicit ChildProcess(const std::function<void(ChildProcess&)>& body);
  ~ChildProcess();  // ends a child still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // From either side: sends one byte; receives one, false after timeoutMs or when the other
  // side has gone.
  bool Send(char c);
  bool Receive(char* c, int timeoutMs = 10000);

  // Parent: waits for the child and answers its exit code (-1 when it was killed).
  int Wait();

 private:
  pid_t pid_ = -1;
  bool inChild_ = false;
  int toChild_[2] = {-1, -1};
  int toParent_[2] = {-1, -1};
};

}  // namespace zems_test
