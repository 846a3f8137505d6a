// Resource-only PE DLLs: the reader of the file and FindResourceW/FindResourceExW,
// LoadResource, LockResource and SizeofResource. The loader (modules.cpp) reads a DLL file
// that is no shared object of ours through PeResourceImage::Parse; such a module runs no code.
// The file comes from outside the driver: every read is checked against its size first.
#include "platform/kernel32/resource_pe.h"

#include <string.h>

#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace winsim {
namespace {

const uint32_t kMaxFile = 64u << 20;   // refuse larger resource DLLs outright
const int kMaxEntries = 1 << 16;       // bound on the directory entries one check visits
const uint16_t kMachineI386 = 0x14c;
const uint16_t kFileDll = 0x2000;
const uint16_t kMagicPe32 = 0x10b;
const uint32_t kDirImport = 1;
const uint32_t kDirResource = 2;
const uint32_t kHighBit = 0x80000000u;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }

// True when [offset, offset + size) lies inside a buffer of total bytes, without overflow.
bool Fits(uint64_t offset, uint64_t size, uint64_t total) { return offset <= total && size <= total - offset; }

// The id a key stands for: an integer resource, or "#<decimal>"; -1 for a name.
long KeyId(LPCWSTR key) {
  if (IS_INTRESOURCE(key)) return long(uintptr_t(key) & 0xFFFF);
  if (key[0] != u'#') return -1;
  long v = 0;
  int digits = 0;
  for (const WCHAR* p = key + 1; *p; ++p) {
    if (*p < u'0' || *p > u'9' || ++digits > 5) return -1;
    v = v * 10 + (*p - u'0');
  }
  return digits && v <= 0xFFFF ? v : -1;
}

}  // namespace

std::shared_ptr<PeResourceImage> PeResourceImage::Parse(std::string bytes, DWORD* error) {
  *error = ERROR_BAD_EXE_FORMAT;
  if (bytes.size() > kMaxFile || bytes.size() < 64) return nullptr;
  auto image = std::shared_ptr<PeResourceImage>(new PeResourceImage());
  image->file_ = std::move(bytes);
  const uint8_t* f = reinterpret_cast<const uint8_t*>(image->file_.data());
  const uint32_t total = uint32_t(image->file_.size());
  if (f[0] != 'M' || f[1] != 'Z') return nullptr;
  uint32_t pe = U32(f + 0x3C);
  if (!Fits(pe, 4 + 20, total) || memcmp(f + pe, "PE\0\0", 4) != 0) return nullptr;
  const uint8_t* fh = f + pe + 4;
  uint16_t sections = U16(fh + 2);
  uint16_t optSize = U16(fh + 16);
  if (U16(fh) != kMachineI386 || !(U16(fh + 18) & kFileDll) || sections == 0 || sections > 96) return nullptr;
  uint32_t opt = pe + 24;
  if (optSize < 96 || !Fits(opt, optSize, total)) return nullptr;
  const uint8_t* oh = f + opt;
  if (U16(oh) != kMagicPe32) return nullptr;
  uint32_t dirCount = U32(oh + 92);
  if (dirCount > 16 || 96 + uint64_t(dirCount) * 8 > optSize) return nullptr;
  // A DLL with code to run cannot be one of our resource DLLs: the machine runs no PE code.
  if (U32(oh + 16) != 0) return nullptr;
  uint32_t table = opt + optSize;
  if (!Fits(table, uint64_t(sections) * 40, total)) return nullptr;
  for (int i = 0; i < sections; ++i) {
    const uint8_t* s = f + table + 40 * i;
    uint32_t vsize = U32(s + 8), rva = U32(s + 12), raw = U32(s + 16), rawAt = U32(s + 20);
    if (raw != 0 && !Fits(rawAt, raw, total)) return nullptr;
    if (uint64_t(rva) + (vsize > raw ? vsize : raw) > 0xFFFFFFFFull) return nullptr;
    PeSection& out = image->sections_[image->sectionCount_++];
    out.rva = rva;
    out.span = vsize != 0 && vsize < raw ? vsize : raw;
    out.fileOffset = rawAt;
  }
  auto directory = [&](uint32_t index, uint32_t* rva, uint32_t* size) {
    *rva = *size = 0;
    if (index >= dirCount) return;
    *rva = U32(oh + 96 + 8 * index);
    *size = U32(oh + 96 + 8 * index + 4);
  };
  uint32_t rva, size, offset;
  directory(kDirImport, &rva, &size);
  if (rva != 0 || size != 0) {
    // Only an empty import table (its end record alone) is allowed.
    if (!image->RvaToOffset(rva, 20, &offset)) return nullptr;
    for (int i = 0; i < 20; ++i)
      if (f[offset + i] != 0) return nullptr;
  }
  directory(kDirResource, &rva, &size);
  if (rva != 0 || size != 0) {
    if (size < 16 || !image->RvaToOffset(rva, size, &offset)) return nullptr;
    image->rsrcOffset_ = offset;
    image->rsrcSize_ = size;
    int budget = kMaxEntries;
    std::string seen(size / 16 + 1, '\0');  // one mark per 16-byte step of the tree
    if (!image->CheckTree(0, 1, &budget, &seen)) return nullptr;
  }
  *error = ERROR_SUCCESS;
  return image;
}

bool PeResourceImage::RvaToOffset(uint32_t rva, uint32_t size, uint32_t* offset) const {
  for (int i = 0; i < sectionCount_; ++i) {
    const PeSection& s = sections_[i];
    // A section without raw data maps no bytes of the file, whatever its raw offset says.
    if (s.span == 0 || rva < s.rva || !Fits(rva - s.rva, size, s.span)) continue;
    // In 64 bits: the raw offset and the distance into the section may together pass 4 GB.
    uint64_t at = uint64_t(s.fileOffset) + (rva - s.rva);
    if (!Fits(at, size, file_.size())) return false;
    *offset = uint32_t(at);
    return true;
  }
  return false;
}

const uint8_t* PeResourceImage::At(uint32_t rel, uint32_t size) const {
  if (rsrcOffset_ == 0 || !Fits(rel, size, rsrcSize_) || !Fits(uint64_t(rsrcOffset_) + rel, size, file_.size()))
    return nullptr;
  return reinterpret_cast<const uint8_t*>(file_.data()) + rsrcOffset_ + rel;
}

// Checks a directory of the tree and everything below it: levels 1 (types) and 2 (names)
// hold directories, level 3 (languages) data entries. A directory met twice is a loop.
bool PeResourceImage::CheckTree(uint32_t dir, int level, int* budget, std::string* seen) const {
  if (dir % 4 != 0) return false;
  const uint8_t* d = At(dir, 16);
  if (!d) return false;
  if ((*seen)[dir / 16]) return false;
  (*seen)[dir / 16] = 1;
  uint32_t count = uint32_t(U16(d + 12)) + U16(d + 14);
  if (!At(dir + 16, count * 8)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    if (--*budget < 0) return false;
    const uint8_t* e = d + 16 + 8 * i;
    uint32_t name = U32(e), target = U32(e + 4);
    bool named = i < U16(d + 12);
    if (named != ((name & kHighBit) != 0)) return false;
    if (named) {
      const uint8_t* n = At(name & ~kHighBit, 2);
      if (!n || !At((name & ~kHighBit) + 2, uint32_t(U16(n)) * 2)) return false;
    }
    bool sub = (target & kHighBit) != 0;
    if (sub != (level < 3)) return false;  // deeper than three levels, or a leaf too early
    if (sub) {
      if (!CheckTree(target & ~kHighBit, level + 1, budget, seen)) return false;
    } else {
      const uint8_t* data = At(target, 16);
      DWORD size;
      if (!data || !DataOf(data, &size)) return false;
    }
  }
  return true;
}

bool PeResourceImage::NameMatches(uint32_t nameOffset, LPCWSTR key) const {
  const uint8_t* n = At(nameOffset, 2);
  if (!n) return false;
  uint32_t length = U16(n);
  const uint8_t* chars = At(nameOffset + 2, length * 2);
  if (!chars) return false;
  for (uint32_t i = 0; i < length; ++i) {
    if (key[i] == 0 || UpperCaseOf(WCHAR(U16(chars + 2 * i))) != UpperCaseOf(key[i])) return false;
  }
  return key[length] == 0;
}

// The target of the entry of a directory that matches key (0 for "first entry"): its
// rsrc-relative offset, or kHighBit when none.
uint32_t PeResourceImage::FindEntry(uint32_t dir, LPCWSTR key, bool wantDirectory) const {
  const uint8_t* d = At(dir, 16);
  if (!d) return kHighBit;
  uint32_t named = U16(d + 12), count = named + U16(d + 14);
  if (!At(dir + 16, count * 8)) return kHighBit;
  long id = key ? KeyId(key) : -1;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = d + 16 + 8 * i;
    uint32_t name = U32(e), target = U32(e + 4);
    bool match;
    if (!key) match = true;
    else if (name & kHighBit) match = id < 0 && NameMatches(name & ~kHighBit, key);
    else match = id >= 0 && (name & 0xFFFF) == uint32_t(id) && (name >> 16) == 0;
    if (!match) continue;
    if (((target & kHighBit) != 0) != wantDirectory) return kHighBit;
    return target & ~kHighBit;
  }
  return kHighBit;
}

const uint8_t* PeResourceImage::Find(LPCWSTR type, LPCWSTR name, WORD language) const {
  if (rsrcOffset_ == 0 || !type || !name) return nullptr;
  uint32_t names = FindEntry(0, type, true);
  if (names == kHighBit) return nullptr;
  uint32_t languages = FindEntry(names, name, true);
  if (languages == kHighBit) return nullptr;
  uint32_t data = kHighBit;
  if (language != 0) data = FindEntry(languages, MAKEINTRESOURCEW(language), false);
  // Simplified: without the exact language the first one is taken (Windows walks a list of
  // fallback languages first).
  if (data == kHighBit) {
    data = FindEntry(languages, nullptr, false);
    if (data != kHighBit) WINSIM_SIMPLIFIED("FindResourceExW", "takes the first language without walking the fallback languages");
  }
  if (data == kHighBit) return nullptr;
  return At(data, 16);
}

const uint8_t* PeResourceImage::DataOf(const uint8_t* entry, DWORD* size) const {
  if (!Owns(entry) || !Fits(uint64_t(reinterpret_cast<const char*>(entry) - file_.data()), 16, file_.size()))
    return nullptr;
  uint32_t rva = U32(entry), bytes = U32(entry + 4), offset;
  if (!RvaToOffset(rva, bytes, &offset)) return nullptr;
  *size = bytes;
  return reinterpret_cast<const uint8_t*>(file_.data()) + offset;
}

bool PeResourceImage::Owns(const void* p) const {
  const char* c = static_cast<const char*>(p);
  return c >= file_.data() && c < file_.data() + file_.size();
}

}  // namespace winsim

using namespace winsim;

WINSIM_API HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage) {
  std::shared_ptr<PeResourceImage> image = ModuleResourceImage(hModule);
  if (!image) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  if (!lpType || !lpName) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
  }
  const uint8_t* entry = image->Find(lpType, lpName, wLanguage);
  if (!entry) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HRSRC>(const_cast<uint8_t*>(entry));
}

WINSIM_API HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
  return FindResourceExW(hModule, lpType, lpName, 0);
}

WINSIM_API HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo) {
  std::shared_ptr<PeResourceImage> image = ModuleResourceImage(hModule);
  DWORD size;
  const uint8_t* data = image && hResInfo ? image->DataOf(reinterpret_cast<const uint8_t*>(hResInfo), &size) : nullptr;
  if (!data) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return reinterpret_cast<HGLOBAL>(const_cast<uint8_t*>(data));
}

// A loaded resource is its bytes in the module's image; locking gives their address.
WINSIM_API LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

WINSIM_API DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  std::shared_ptr<PeResourceImage> image = ModuleResourceImage(hModule);
  DWORD size = 0;
  if (!image || !hResInfo || !image->DataOf(reinterpret_cast<const uint8_t*>(hResInfo), &size)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return size;
}
