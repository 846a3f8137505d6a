// zemshost machine list: lists the printers of the machine.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "host/host_text.h"
#include "host/machine_support.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace machine_cmd {

int CmdList(int argc, char** argv) {
  Args a = Parse(argc, argv, {"root"});
  if (a.help) {
    printf("usage: zemshost machine list [--root DIR]\n"
           "Lists the printers: name, driver, port, server and attributes.\n");
    return 0;
  }
  if (!a.error.empty()) return Fail(a.error);
  ChooseRoot(a);
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), DWORD(buffer.size()), &needed, &count))
    return Fail("cannot enumerate printers (error " + std::to_string(GetLastError()) + ")");
  const PRINTER_INFO_2W* list = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    printf("%s\tdriver=%s\tport=%s\tserver=%s\tattributes=0x%lx\n", Narrow(list[i].pPrinterName).c_str(),
           Narrow(list[i].pDriverName).c_str(), Narrow(list[i].pPortName).c_str(),
           list[i].pServerName ? Narrow(list[i].pServerName).c_str() : "-", list[i].Attributes);
  }
  return 0;
}

}  // namespace machine_cmd
