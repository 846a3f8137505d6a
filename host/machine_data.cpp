// zemshost machine data: reads, writes or deletes printer data.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "host/host_text.h"
#include "host/machine_support.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace machine_cmd {

int CmdData(int argc, char** argv) {
  Args a = Parse(argc, argv, {"root", "key", "type"});
  if (a.help) {
    printf("usage: zemshost machine data get PRINTER VALUE [--key KEY]\n"
           "       zemshost machine data set PRINTER VALUE --type TYPE DATA... [--key KEY]\n"
           "       zemshost machine data delete PRINTER VALUE [--key KEY]\n"
           "Reads, writes or deletes a printer data value (key default: PrinterDriverData). TYPE is\n"
           "sz, expand_sz, multi_sz (one DATA per string), dword or binary (hex digits).\n");
    return 0;
  }
  if (a.positional.empty()) return Fail("data needs get, set or delete (see --help)");
  if (!a.error.empty()) return Fail(a.error);
  ChooseRoot(a);
  const std::string& verb = a.positional[0];
  if (a.positional.size() < 3) return Fail("data " + verb + " needs PRINTER and VALUE");
  std::u16string printer = Wide(a.positional[1]), value = Wide(a.positional[2]);
  std::u16string key = Wide(a.Get("key") ? *a.Get("key") : "PrinterDriverData");
  HANDLE h = nullptr;
  if (!OpenPrinterW(Mutable(printer), &h, nullptr)) return Fail("no printer '" + a.positional[1] + "'");
  int rc = 0;
  if (verb == "get") {
    DWORD type = 0, needed = 0;
    DWORD e = GetPrinterDataExW(h, key.c_str(), value.c_str(), &type, nullptr, 0, &needed);
    std::string bytes(needed, '\0');
    if (e == ERROR_MORE_DATA || e == ERROR_SUCCESS)
      e = GetPrinterDataExW(h, key.c_str(), value.c_str(), &type, reinterpret_cast<LPBYTE>(&bytes[0]), needed,
                            &needed);
    if (e != ERROR_SUCCESS)
      rc = Fail("printer data '" + a.positional[2] + "' not found (error " + std::to_string(e) + ")");
    else
      PrintValue(type, bytes);
  } else if (verb == "set") {
    TypedValue v;
    std::string error;
    if (!ValueFromArgs(a, "data", v, error)) {
      rc = Fail(error);
    } else {
      DWORD e = SetPrinterDataExW(h, key.c_str(), value.c_str(), v.type,
                                  reinterpret_cast<LPBYTE>(const_cast<char*>(v.bytes.data())), DWORD(v.bytes.size()));
      if (e != ERROR_SUCCESS) rc = Fail("cannot set printer data (error " + std::to_string(e) + ")");
    }
  } else if (verb == "delete") {
    DWORD e = DeletePrinterDataExW(h, key.c_str(), value.c_str());
    if (e != ERROR_SUCCESS) rc = Fail("cannot delete printer data (error " + std::to_string(e) + ")");
  } else {
    rc = Fail("unknown data command '" + verb + "' (get, set, delete)");
  }
  ClosePrinter(h);
  return rc;
}

}  // namespace machine_cmd
