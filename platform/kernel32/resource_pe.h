// Resource-only PE DLLs of the simulated machine: the checked reader of the file and the
// lookups of its resource tree. Internal to the machine.
#pragma once
#include <stdint.h>

#include <memory>
#include <string>

#include "platform/win32.h"

namespace winsim {

struct PeSection {
  uint32_t rva = 0;
  uint32_t span = 0;  // bytes of the file the section maps: min(virtual size, raw size)
  uint32_t fileOffset = 0;
};

// A resource-only DLL read into memory. Every offset kept here was checked against the file.
class PeResourceImage {
 public:
  // Reads and checks the file's bytes. Null with *error set when the file is no PE DLL, holds
  // code (an entry point or imported DLLs), or any header, section, directory, name or data
  // range does not fit the file.
  static std::shared_ptr<PeResourceImage> Parse(std::string bytes, DWORD* error);

  // The data entry of (type, name, language): ids or names as FindResourceExW takes them.
  // Language 0 takes the first language of the name. Null when not found.
  const uint8_t* Find(LPCWSTR type, LPCWSTR name, WORD language) const;
  // Data and size of a data entry Find answered; null when the entry is not one of ours.
  const uint8_t* DataOf(const uint8_t* entry, DWORD* size) const;
  bool Owns(const void* p) const;

 private:
  std::string file_;
  PeSection sections_[96];
  int sectionCount_ = 0;
  uint32_t rsrcOffset_ = 0;  // file offset of the resource tree's root; 0: no resources
  uint32_t rsrcSize_ = 0;

  bool RvaToOffset(uint32_t rva, uint32_t size, uint32_t* offset) const;
  bool CheckTree(uint32_t dirOffset, int level, int* budget, std::string* seen) const;
  const uint8_t* At(uint32_t rsrcRelative, uint32_t size) const;
  uint32_t FindEntry(uint32_t dirOffset, LPCWSTR key, bool wantDirectory) const;
  bool NameMatches(uint32_t nameOffset, LPCWSTR key) const;
};

// The resource image of a module loaded from a PE file, or null (not loaded, or one of our
// shared objects).
std::shared_ptr<PeResourceImage> ModuleResourceImage(HMODULE module);

}  // namespace winsim
