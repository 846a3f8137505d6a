// Minimal version until the terminal-server configuration transfer is built: the library is
// never there, so no type is obtained.
#include "core/bind/remote_config.h"

int RemoteQueryServerType(const WCHAR*, DWORD* type) {
  if (type) *type = 0;
  return 0;
}
