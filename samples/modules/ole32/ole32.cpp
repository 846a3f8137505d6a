// Stand-in for the task allocator of the system's "ole32.dll": frees what the stand-in
// shell32 returned.
#include <stdlib.h>

#include "platform/win32.h"

extern "C" __attribute__((visibility("default"))) void WINAPI CoTaskMemFree(LPVOID block) { free(block); }
