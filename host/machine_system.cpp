// zemshost machine system: sets the Windows version, user and administrator flag of the machine.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "host/host_text.h"
#include "host/machine_support.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace machine_cmd {

int CmdSystem(int argc, char** argv) {
  Args a = Parse(argc, argv,
                 {"root", "version", "sp", "platform", "suite", "terminal-server", "product", "user", "admin", "csd"});
  if (a.help) {
    printf("usage: zemshost machine system [--version MAJOR.MINOR[.BUILD]] [--sp N] [--csd TEXT]\n"
           "                               [--platform nt|9x] [--suite MASK] [--terminal-server yes|no]\n"
           "                               [--product workstation|server] [--user NAME] [--admin yes|no]\n"
           "                               [--root DIR]\n"
           "Changes the machine's Windows version, service pack, suites, user name and administrator\n"
           "membership, then prints them. A terminal server has the terminal suite (the driver asks\n"
           "for it on Windows XP and earlier); \"no\" clears it and the single-user one.\n");
    return 0;
  }
  if (!a.error.empty()) return Fail(a.error);
  if (!a.positional.empty()) return Fail("system takes no positional arguments");
  ChooseRoot(a);
  SimSystemIdentity id;
  if (!SimGetSystemIdentity(&id)) return Fail("cannot read the system identity");
  auto yesNo = [&](const std::string& name, bool& out) {
    const std::string* v = a.Get(name);
    if (!v) return true;
    if (*v == "yes" || *v == "1" || *v == "on") out = true;
    else if (*v == "no" || *v == "0" || *v == "off") out = false;
    else return false;
    return true;
  };
  if (const std::string* v = a.Get("version")) {
    unsigned long major = 0, minor = 0, build = id.buildNumber;
    int n = sscanf(v->c_str(), "%lu.%lu.%lu", &major, &minor, &build);
    if (n < 2) return Fail("--version needs MAJOR.MINOR[.BUILD]");
    id.majorVersion = major;
    id.minorVersion = minor;
    id.buildNumber = build;
  }
  unsigned long long n;
  if (const std::string* v = a.Get("sp")) {
    if (!ParseNumber(*v, n) || n > 0xFFFF) return Fail("--sp needs a number");
    id.servicePackMajor = WORD(n);
    id.servicePackMinor = 0;
    if (n)
      snprintf(id.csdVersion, sizeof id.csdVersion, "Service Pack %llu", n);
    else
      id.csdVersion[0] = 0;
  }
  if (const std::string* v = a.Get("csd")) snprintf(id.csdVersion, sizeof id.csdVersion, "%s", v->c_str());
  if (const std::string* v = a.Get("platform")) {
    if (*v == "nt") id.platformId = VER_PLATFORM_WIN32_NT;
    else if (*v == "9x") id.platformId = VER_PLATFORM_WIN32_WINDOWS;
    else return Fail("--platform is nt or 9x");
  }
  if (const std::string* v = a.Get("suite")) {
    if (!ParseNumber(*v, n) || n > 0xFFFF) return Fail("--suite needs a number");
    id.suiteMask = WORD(n);
  }
  bool ts = (id.suiteMask & VER_SUITE_TERMINAL) != 0;
  if (!yesNo("terminal-server", ts)) return Fail("--terminal-server is yes or no");
  if (a.Get("terminal-server")) {
    id.suiteMask = WORD(ts ? (id.suiteMask | VER_SUITE_TERMINAL) & ~VER_SUITE_SINGLEUSERTS
                           : id.suiteMask & ~(VER_SUITE_TERMINAL | VER_SUITE_SINGLEUSERTS));
  }
  if (const std::string* v = a.Get("product")) {
    if (*v == "workstation") id.productType = VER_NT_WORKSTATION;
    else if (*v == "server") id.productType = VER_NT_SERVER;
    else return Fail("--product is workstation or server");
  }
  if (const std::string* v = a.Get("user")) {
    if (v->empty() || v->size() >= sizeof id.userName) return Fail("--user needs a name of 1 to 256 characters");
    snprintf(id.userName, sizeof id.userName, "%s", v->c_str());
  }
  bool admin = id.userIsAdmin != FALSE;
  if (!yesNo("admin", admin)) return Fail("--admin is yes or no");
  id.userIsAdmin = admin ? TRUE : FALSE;
  if (!SimSetSystemIdentity(&id)) return Fail("cannot write the system identity");
  printf("windows %lu.%lu.%lu platform %lu \"%s\" sp %u.%u suite 0x%04x product %u\nuser \"%s\" admin %s\n",
         id.majorVersion, id.minorVersion, id.buildNumber, id.platformId, id.csdVersion, id.servicePackMajor,
         id.servicePackMinor, id.suiteMask, id.productType, id.userName, id.userIsAdmin ? "yes" : "no");
  return 0;
}

}  // namespace machine_cmd
