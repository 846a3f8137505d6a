// zemshost machine reg: reads, writes or deletes registry values.
#include <stdio.h>
#include <string.h>

#include <ctype.h>
#include <string>
#include <vector>

#include "host/host_text.h"
#include "host/machine_support.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace machine_cmd {

namespace {

// "HKLM\\KEY" or "HKCU\\KEY" into the hive and the key below it.
bool SplitRegistryPath(const std::string& path, HKEY& hive, std::u16string& sub) {
  size_t slash = path.find('\\');
  std::string head = path.substr(0, slash);
  for (auto& c : head) c = char(toupper((unsigned char)c));
  if (head == "HKLM" || head == "HKEY_LOCAL_MACHINE")
    hive = HKEY_LOCAL_MACHINE;
  else if (head == "HKCU" || head == "HKEY_CURRENT_USER")
    hive = HKEY_CURRENT_USER;
  else
    return false;
  sub = slash == std::string::npos ? std::u16string() : Wide(path.substr(slash + 1));
  return true;
}

}  // namespace

int CmdReg(int argc, char** argv) {
  Args a = Parse(argc, argv, {"root", "type"});
  if (a.help) {
    printf("usage: zemshost machine reg get HKLM|HKCU\\KEY VALUE\n"
           "       zemshost machine reg set HKLM|HKCU\\KEY VALUE --type TYPE DATA...\n"
           "       zemshost machine reg delete HKLM|HKCU\\KEY VALUE\n"
           "Reads, writes or deletes a registry value (\"\" names the default value). TYPE is sz,\n"
           "expand_sz, multi_sz (one DATA per string), dword or binary (hex digits).\n");
    return 0;
  }
  if (a.positional.empty()) return Fail("reg needs get, set or delete (see --help)");
  if (!a.error.empty()) return Fail(a.error);
  ChooseRoot(a);
  const std::string& verb = a.positional[0];
  if (a.positional.size() < 3) return Fail("reg " + verb + " needs KEY and VALUE");
  HKEY hive;
  std::u16string sub, value = Wide(a.positional[2]);
  if (!SplitRegistryPath(a.positional[1], hive, sub)) return Fail("key must start with HKLM\\ or HKCU\\");
  HKEY key = nullptr;
  LONG e;
  if (verb == "set")
    e = RegCreateKeyExW(hive, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  else
    e = RegOpenKeyExW(hive, sub.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (e != ERROR_SUCCESS) return Fail("cannot open key '" + a.positional[1] + "' (error " + std::to_string(e) + ")");
  int rc = 0;
  if (verb == "get") {
    DWORD type = 0, size = 0;
    e = RegQueryValueExW(key, value.c_str(), nullptr, &type, nullptr, &size);
    std::string bytes(size, '\0');
    if (e == ERROR_SUCCESS && size)
      e = RegQueryValueExW(key, value.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(&bytes[0]), &size);
    if (e != ERROR_SUCCESS)
      rc = Fail("value '" + a.positional[2] + "' not found (error " + std::to_string(e) + ")");
    else
      PrintValue(type, bytes);
  } else if (verb == "set") {
    TypedValue v;
    std::string error;
    if (!ValueFromArgs(a, "reg", v, error)) {
      rc = Fail(error);
    } else {
      e = RegSetValueExW(key, value.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.bytes.data()),
                         DWORD(v.bytes.size()));
      if (e != ERROR_SUCCESS) rc = Fail("cannot set the value (error " + std::to_string(e) + ")");
    }
  } else if (verb == "delete") {
    e = RegDeleteValueW(key, value.c_str());
    if (e != ERROR_SUCCESS) rc = Fail("cannot delete the value (error " + std::to_string(e) + ")");
  } else {
    rc = Fail("unknown reg command '" + verb + "' (get, set, delete)");
  }
  RegCloseKey(key);
  return rc;
}

}  // namespace machine_cmd
