// What the machine commands share: their option parser, the typed values of printer data
// and the registry, and the folders of the simulated machine (asked of the machine itself).
#pragma once
#include <string>
#include <vector>

#include "platform/win32.h"

namespace machine_cmd {

// Prints "zemshost machine: message" to stderr; 1.
int Fail(const std::string& message);

inline LPWSTR Mutable(std::u16string& s) { return &s[0]; }

// Options of the form --name value (and bare --flag); everything else is positional.
struct Args {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
  bool help = false;
  std::string error;

  const std::string* Get(const std::string& name) const {
    const std::string* found = nullptr;
    for (const auto& o : options)
      if (o.first == name) found = &o.second;
    return found;
  }
  std::vector<std::string> All(const std::string& name) const {
    std::vector<std::string> out;
    for (const auto& o : options)
      if (o.first == name) out.push_back(o.second);
    return out;
  }
};

// Parses argv; options not in valued are refused (error set).
Args Parse(int argc, char** argv, const std::vector<std::string>& valued);

// A value of printer data or the registry as stored.
struct TypedValue {
  DWORD type = REG_SZ;
  std::string bytes;
};

// strtoull with base 0 over the whole text; false for empty or trailing text.
bool ParseNumber(const std::string& text, unsigned long long& out);
// The value of a "data set" or "reg set" command: --type and the DATA after VALUE.
bool ValueFromArgs(const Args& a, const std::string& command, TypedValue& v, std::string& error);
// Prints a value as "TYPE data".
void PrintValue(DWORD type, const std::string& bytes);

// Switches to the machine root of --root when given.
void ChooseRoot(const Args& a);
// The host folder of the version-3 driver folder (the spooler's driver directory + "\3"),
// with a trailing '/'.
std::string DriverFolderHost();

// The System folder (C:\WINDOWS\system32\) as a host path with a trailing '/'; empty when the
// machine cannot name it.
std::string SystemFolderHost();
// Creates the Windows and driver folders of the machine.
void CreateMachineFolders();

// The machine subcommands, one file each.
int CmdCreate(int argc, char** argv);
int CmdInstall(int argc, char** argv);
int CmdList(int argc, char** argv);
int CmdData(int argc, char** argv);
int CmdReg(int argc, char** argv);
int CmdSystem(int argc, char** argv);

}  // namespace machine_cmd
