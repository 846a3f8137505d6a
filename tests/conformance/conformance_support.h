// Helpers shared by the conformance cases. Only Windows API calls, so the same code runs
// against the simulated machine and, built with mingw, against Windows itself (Wine).
#pragma once
#include <string>

#include "platform/win32.h"
#include "support/wine_detect.h"

namespace conformance {

typedef std::basic_string<WCHAR> WString;

// True under Wine when it cannot keep a file read-only: Wine maps the attribute to Unix
// permissions, which a process run by root bypasses.
bool WineIgnoresReadOnly();

// A fresh folder C:\zemstest\<unique>, removed with everything in it afterwards.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const WString& Path() const { return path_; }
  // Path() + "\" + leaf.
  WString operator/(const WString& leaf) const { return path_ + TEXT("\\") + leaf; }

 private:
  WString path_;
  WString marker_;
};

// Removes a folder and everything below it (read-only entries included).
void RemoveTree(const WString& folder);

// Whole-file helpers; they fail the running test when the file cannot be written or read.
void WriteBytes(const WString& path, const std::string& bytes);
std::string ReadBytes(const WString& path);

// A FILETIME from its 64-bit count, and back.
FILETIME MakeFileTime(unsigned long long ticks);
unsigned long long Ticks(const FILETIME& ft);

}  // namespace conformance
