// A program that crashes on purpose. Run under the Wine runner it must end at once with a
// failure, not wait in a debugger until the test's time-out; its test expects the failure.
#include <stdint.h>

#include "platform/win32.h"

int main() {
  volatile int* nowhere = reinterpret_cast<volatile int*>(uintptr_t(16));
  *nowhere = 1;
  return 0;
}
