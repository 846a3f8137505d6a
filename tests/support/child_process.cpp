#include "support/child_process.h"

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zems_test {

ChildProcess::ChildProcess(const std::function<void(ChildProcess&)>& body) {
  if (pipe(toChild_) != 0 || pipe(toParent_) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    inChild_ = true;
    close(toChild_[1]);
    close(toParent_[0]);
    body(*this);
    _exit(0);
  }
  close(toChild_[0]);
  close(toParent_[1]);
}

ChildProcess::~ChildProcess() {
  if (inChild_) return;
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    Wait();
  }
  if (toChild_[1] >= 0) close(toChild_[1]);
  if (toParent_[0] >= 0) close(toParent_[0]);
}

bool ChildProcess::Send(char c) {
  int fd = inChild_ ? toParent_[1] : toChild_[1];
  return fd >= 0 && write(fd, &c, 1) == 1;
}

bool ChildProcess::Receive(char* c, int timeoutMs) {
  int fd = inChild_ ? toChild_[0] : toParent_[0];
  if (fd < 0) return false;
  struct pollfd p = {fd, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) != 1) return false;
  return read(fd, c, 1) == 1;
}

int ChildProcess::Wait() {
  if (inChild_ || pid_ <= 0) return -1;
  int status = 0;
  pid_t done;
  while ((done = waitpid(pid_, &status, 0)) < 0) {
    if (errno != EINTR) {
      pid_ = -1;
      return -1;
    }
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace zems_test
