// Minimal version until the terminal-server configuration transfer is built: the library is
// never there, so no type is obtained and no transfer is ever connected.
#include "core/bind/remote_config.h"

int RemoteQueryServerType(const WCHAR*, DWORD* type) {
  if (type) *type = 0;
  return 0;
}

int RemoteConfigState(DriverContext*) { return 0; }
