// System identity of the simulated machine: the Windows version, service pack and suites,
// the user's name and whether the user is an administrator, kept in
// <root>/system/identity.txt so that every process of the machine sees the same.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <mutex>
#include <sstream>

#include "platform/sim/state_files.h"
#include "platform/sim.h"
#include "platform/sim/identity.h"
#include "platform/sim/internal.h"

namespace winsim {
namespace {

// A fresh machine is Windows XP SP3 on a workstation without terminal services, the user an
// administrator. (With Remote Desktop's suites, VER_SUITE_TERMINAL with VER_SUITE_SINGLEUSERTS,
// the suite test answers yes as on Windows, and the driver keeps settings per user.)
SimSystemIdentity DefaultIdentity() {
  SimSystemIdentity id = {};
  id.majorVersion = 5;
  id.minorVersion = 1;
  id.buildNumber = 2600;
  id.platformId = VER_PLATFORM_WIN32_NT;
  id.servicePackMajor = 3;
  id.servicePackMinor = 0;
  id.suiteMask = 0;
  id.productType = VER_NT_WORKSTATION;
  strcpy(id.csdVersion, "Service Pack 3");
  strcpy(id.userName, "User");
  id.userIsAdmin = TRUE;
  return id;
}

std::mutex g_lock;
std::string g_file;
FileVersion g_version;
SimSystemIdentity g_identity;
bool g_cached = false;

void Forget() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_cached = false;
}

struct ResetRegistration {
  ResetRegistration() { RegisterResetHook(Forget); }
} g_resetRegistration;

std::string IdentityPath() { return RootPath() + "/system/identity.txt"; }

void CopyText(char* out, size_t size, const std::string& text) {
  size_t n = text.size() < size - 1 ? text.size() : size - 1;
  memcpy(out, text.data(), n);
  out[n] = 0;
}

SimSystemIdentity Parse(const std::string& text) {
  SimSystemIdentity id = DefaultIdentity();
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    unsigned long n = strtoul(value.c_str(), nullptr, 0);
    if (key == "major") id.majorVersion = n;
    else if (key == "minor") id.minorVersion = n;
    else if (key == "build") id.buildNumber = n;
    else if (key == "platform") id.platformId = n;
    else if (key == "spmajor") id.servicePackMajor = WORD(n);
    else if (key == "spminor") id.servicePackMinor = WORD(n);
    else if (key == "suite") id.suiteMask = WORD(n);
    else if (key == "product") id.productType = BYTE(n);
    else if (key == "csd") CopyText(id.csdVersion, sizeof id.csdVersion, value);
    else if (key == "user") CopyText(id.userName, sizeof id.userName, value);
    else if (key == "admin") id.userIsAdmin = n ? TRUE : FALSE;
  }
  return id;
}

std::string Serialize(const SimSystemIdentity& id) {
  char buf[1024];
  snprintf(buf, sizeof buf,
           "major=%lu\nminor=%lu\nbuild=%lu\nplatform=%lu\nspmajor=%u\nspminor=%u\nsuite=0x%X\nproduct=%u\n"
           "csd=%s\nuser=%s\nadmin=%d\n",
           id.majorVersion, id.minorVersion, id.buildNumber, id.platformId, id.servicePackMajor,
           id.servicePackMinor, id.suiteMask, id.productType, id.csdVersion, id.userName, id.userIsAdmin ? 1 : 0);
  return buf;
}

}  // namespace

SimSystemIdentity CurrentIdentity() {
  std::lock_guard<std::mutex> hold(g_lock);
  std::string file = IdentityPath();
  StateFileLock lock(file, false);
  FileVersion now = VersionOf(file);
  if (!g_cached || file != g_file || now != g_version) {
    std::string text;
    g_identity = ReadWholeFile(file, text) ? Parse(text) : DefaultIdentity();
    g_file = file;
    g_version = now;
    g_cached = true;
  }
  return g_identity;
}

namespace {
thread_local int t_machineActDepth = 0;
}  // namespace

MachineActScope::MachineActScope() { ++t_machineActDepth; }
MachineActScope::~MachineActScope() { --t_machineActDepth; }

bool CallerMayChangeMachine() { return t_machineActDepth > 0 || CurrentIdentity().userIsAdmin; }

}  // namespace winsim

using namespace winsim;

BOOL SimActForMachine(BOOL on) {
  static thread_local MachineActScope* scope = nullptr;
  BOOL was = scope != nullptr;
  if (on && !scope) scope = new MachineActScope();
  if (!on && scope) {
    delete scope;
    scope = nullptr;
  }
  return was;
}

BOOL SimGetSystemIdentity(SimSystemIdentity* identity) {
  if (!identity) return FALSE;
  *identity = CurrentIdentity();
  return TRUE;
}

BOOL SimSetSystemIdentity(const SimSystemIdentity* identity) {
  if (!identity) return FALSE;
  SimSystemIdentity copy = *identity;
  copy.csdVersion[sizeof copy.csdVersion - 1] = 0;
  copy.userName[sizeof copy.userName - 1] = 0;
  if (strchr(copy.csdVersion, '\n') || strchr(copy.userName, '\n')) return FALSE;
  std::lock_guard<std::mutex> hold(g_lock);
  std::string file = IdentityPath();
  StateFileLock lock(file, true);
  if (!ReplaceFileAtomically(file, Serialize(copy))) return FALSE;
  g_identity = copy;
  g_file = file;
  g_version = VersionOf(file);
  g_cached = true;
  return TRUE;
}

