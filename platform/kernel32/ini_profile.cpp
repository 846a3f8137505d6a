// The private profile calls. Nothing is cached: each call reads the file, and each change
// replaces the file at once (atomically), so other processes see it immediately; a change is
// one step for the whole machine.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "platform/kernel32/file_internal.h"
#include "platform/kernel32/ini_document.h"

namespace winsim {
namespace {

std::mutex g_iniLock;

// A name without any folder part lives in the Windows directory; no name means win.ini.
std::u16string ProfilePath(const WCHAR* file) {
  std::u16string name = file && *file ? std::u16string(file) : std::u16string(u"win.ini");
  if (name.find_first_of(u"\\/:") == std::u16string::npos) name = u"C:\\WINDOWS\\" + name;
  return name;
}

// Reads the whole file; false (last error set) when it cannot be read.
bool LoadBytes(const std::string& host, std::string* bytes) {
  int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno, host));
    return false;
  }
  char chunk[16384];
  for (;;) {
    ssize_t n = read(fd, chunk, sizeof(chunk));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes->append(chunk, size_t(n));
  }
  close(fd);
  return true;
}

// The last parsed text of each file. Every call still reads the file, so a change by any
// process is seen at once; only the parsing is saved when the bytes, and the ANSI code page
// that decodes them, are the same, which matters when a settings file is read key by key.
struct CachedDocument {
  std::string bytes;
  UINT codePage = 0;
  std::shared_ptr<const IniDocument> doc;
};
std::map<std::string, CachedDocument>& Cache() {
  static std::map<std::string, CachedDocument> cache;
  return cache;
}
const size_t kCacheLimit = 16;

void DropCache() {
  std::lock_guard<std::mutex> hold(g_iniLock);
  Cache().clear();
}

// Called with g_iniLock held.
std::shared_ptr<const IniDocument> Load(const WCHAR* file) {
  static const bool registered = (RegisterResetHook(DropCache), true);
  (void)registered;
  std::string host = HostPathFor(ProfilePath(file));
  std::string bytes;
  if (host.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::make_shared<IniDocument>();
  }
  if (!LoadBytes(host, &bytes)) {
    Cache().erase(host);
    return std::make_shared<IniDocument>();
  }
  UINT codePage = GetACP();
  auto it = Cache().find(host);
  if (it != Cache().end() && it->second.bytes == bytes && it->second.codePage == codePage) return it->second.doc;
  auto doc = std::make_shared<const IniDocument>(IniDocument::Parse(bytes));
  if (Cache().size() >= kCacheLimit) Cache().clear();
  Cache()[host] = CachedDocument{std::move(bytes), codePage, doc};
  return doc;
}

// Windows opens the file exclusively for each profile call, so a read-modify-write of one
// process never interleaves with another's. The file here is replaced by a rename (a new
// inode each time), so the lock is taken on its folder: the profile writes of one folder
// follow one another across the machine. No lock when the folder is missing: the write fails.
class FolderLock {
 public:
  explicit FolderLock(const std::string& hostFile) {
    size_t slash = hostFile.find_last_of('/');
    std::string folder = slash == std::string::npos ? std::string(".") : hostFile.substr(0, slash);
    fd_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0)
      while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
  }
  ~FolderLock() {
    if (fd_ >= 0) close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

template <class Edit>
BOOL Change(const WCHAR* file, Edit edit) {
  std::lock_guard<std::mutex> hold(g_iniLock);
  ResolvedPath path;
  std::u16string name = ProfilePath(file);
  if (!ResolvePath(name.c_str(), &path)) return FALSE;
  // The Windows directory always exists on a Windows machine, so a fresh machine gets it.
  if (name.compare(0, 11, u"C:\\WINDOWS\\") == 0) mkdir(HostPathFor(u"C:\\WINDOWS").c_str(), 0777);
  FolderLock machineWide(path.host);
  std::string bytes;
  struct stat st;
  bool exists = stat(path.host.c_str(), &st) == 0;
  if (exists) {
    if (S_ISDIR(st.st_mode) || (AttributesOf(path.host, st) & FILE_ATTRIBUTE_READONLY)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (ShareCheck(path.host, GENERIC_WRITE, FILE_SHARE_READ) != ERROR_SUCCESS) {
      SetLastError(ERROR_SHARING_VIOLATION);
      return FALSE;
    }
    if (!LoadBytes(path.host, &bytes)) return FALSE;
  }
  IniDocument doc = IniDocument::Parse(bytes);
  if (!edit(doc)) return TRUE;  // nothing to change: the file stays as it is
  return ReplaceFileContents(path.host, doc.Serialize()) ? TRUE : FALSE;
}

// What a read call hands back: one text, or a list of texts each ended by a zero.
struct ProfileText {
  bool list = false;
  std::u16string text;
  std::u16string fallback;  // a key list that comes out empty gives the default instead
  bool hasFallback = false;
};

std::u16string Joined(const std::vector<std::u16string>& items) {
  std::u16string out;
  for (const auto& item : items) {
    out += item;
    out += char16_t(0);
  }
  return out;
}

std::u16string DefaultText(const WCHAR* defaultValue) {
  std::u16string text = defaultValue ? std::u16string(defaultValue) : std::u16string();
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.pop_back();
  return StripQuotes(text);
}

ProfileText ReadProfile(const WCHAR* section, const WCHAR* key, const WCHAR* defaultValue, const WCHAR* file) {
  std::lock_guard<std::mutex> hold(g_iniLock);
  std::shared_ptr<const IniDocument> doc = Load(file);
  ProfileText out;
  if (!section) {
    out.list = true;
    out.text = Joined(doc->SectionNames());
  } else if (!key) {
    std::vector<std::u16string> keys = doc->KeyNames(section);
    out.fallback = DefaultText(defaultValue);
    // A list whose first name is empty reads as no list at all: the default is given.
    if (keys.empty() || keys[0].empty()) {
      out.text = out.fallback;
    } else {
      out.list = true;
      out.hasFallback = true;
      out.text = Joined(keys);
    }
  } else {
    std::u16string value;
    out.text = doc->Value(section, key, &value) ? StripQuotes(value) : DefaultText(defaultValue);
  }
  return out;
}

// Where a text may be cut to at most n units: anywhere in wide text; in ANSI text never
// between the two bytes of a double-byte character.
size_t CutAt(const std::u16string&, size_t n) { return n; }
size_t CutAt(const std::string& text, size_t n) {
  UINT codePage = GetACP();
  size_t at = 0;
  while (at < n) {
    size_t step = IsDBCSLeadByteEx(codePage, BYTE(text[at])) ? 2 : 1;
    if (at + step > n) break;
    at += step;
  }
  return at;
}

// Copy rules of the reading calls, in characters of the caller's kind.
template <class C>
DWORD CopyText(const std::basic_string<C>& text, C* buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  size_t n = text.size() < size ? text.size() : CutAt(text, size - 1);
  std::copy(text.begin(), text.begin() + long(n), buffer);
  buffer[n] = 0;
  return DWORD(n);
}

// A list is its items, each ended by a zero, and one more zero. When it does not fit, as
// much as fits in size - 2 characters is kept, two zeros follow, and size - 2 is returned.
template <class C>
DWORD CopyList(const std::basic_string<C>& list, C* buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  if (size == 1) {
    buffer[0] = 0;
    return 0;
  }
  if (list.size() <= size - 2) {
    std::copy(list.begin(), list.end(), buffer);
    buffer[list.size()] = 0;
    if (list.empty()) buffer[1] = 0;
    return DWORD(list.size());
  }
  size_t n = CutAt(list, size - 2);
  std::copy(list.begin(), list.begin() + long(n), buffer);
  buffer[n] = 0;
  buffer[n + 1] = 0;
  return size - 2;
}

template <class C>
DWORD CopyOut(const ProfileText& result, C* buffer, DWORD size, std::basic_string<C> (*encode)(const std::u16string&)) {
  if (!result.list) return CopyText(encode(result.text), buffer, size);
  DWORD n = CopyList(encode(result.text), buffer, size);
  if (n == 0 && result.hasFallback) return CopyText(encode(result.fallback), buffer, size);
  return n;
}

std::u16string AsWide(const std::u16string& text) { return text; }

// Integers as Windows reads them: optional sign, then decimal digits, or after a "0x", "0o"
// or "0b" hexadecimal, octal or binary ones, up to the first other character, wrapping at
// 32 bits.
UINT ParseProfileInt(const std::u16string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] <= u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == u'0') {
    char16_t p = text[i + 1];
    base = p == u'x' ? 16 : p == u'o' ? 8 : p == u'b' ? 2 : 10;
    if (base != 10) i += 2;
  }
  UINT value = 0;
  for (; i < text.size(); ++i) {
    char16_t c = text[i];
    unsigned digit = c >= u'0' && c <= u'9' ? unsigned(c - u'0')
                     : c >= u'a' && c <= u'f' ? unsigned(c - u'a' + 10)
                     : c >= u'A' && c <= u'F' ? unsigned(c - u'A' + 10)
                                              : 99;
    if (digit >= base) break;
    value = value * base + digit;
  }
  return negative ? UINT(0u - value) : value;
}

std::vector<std::u16string> SplitZeroList(const WCHAR* list) {
  std::vector<std::u16string> items;
  while (*list) {
    std::u16string item = list;
    list += item.size() + 1;
    items.push_back(item);
  }
  return items;
}

}  // namespace
}  // namespace winsim

using winsim::AnsiArg;

WINSIM_API DWORD WINAPI GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR buffer,
                                                 DWORD size, LPCWSTR file) {
  winsim::ProfileText result = winsim::ReadProfile(section, key, defaultValue, file);
  return winsim::CopyOut<WCHAR>(result, buffer, size, winsim::AsWide);
}

WINSIM_API DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                                 DWORD size, LPCSTR file) {
  AnsiArg s(section), k(key), d(defaultValue), f(file);
  winsim::ProfileText result = winsim::ReadProfile(s.get(), k.get(), d.get(), f.get());
  return winsim::CopyOut<char>(result, buffer, size, winsim::WideToAnsi);
}

WINSIM_API UINT WINAPI GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR file) {
  if (!section || !key) return UINT(defaultValue);
  winsim::ProfileText result = winsim::ReadProfile(section, key, u"", file);
  if (result.text.empty()) return UINT(defaultValue);
  return winsim::ParseProfileInt(result.text);
}

WINSIM_API UINT WINAPI GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR file) {
  AnsiArg s(section), k(key), f(file);
  return GetPrivateProfileIntW(s.get(), k.get(), defaultValue, f.get());
}

WINSIM_API DWORD WINAPI GetPrivateProfileSectionW(LPCWSTR section, LPWSTR buffer, DWORD size, LPCWSTR file) {
  if (!section) return winsim::CopyList<WCHAR>(std::u16string(), buffer, size);
  std::u16string list;
  {
    std::lock_guard<std::mutex> hold(winsim::g_iniLock);
    list = winsim::Joined(winsim::Load(file)->SectionLines(section));
  }
  return winsim::CopyList<WCHAR>(list, buffer, size);
}

WINSIM_API DWORD WINAPI GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file) {
  AnsiArg s(section), f(file);
  if (!section) return winsim::CopyList<char>(std::string(), buffer, size);
  std::u16string list;
  {
    std::lock_guard<std::mutex> hold(winsim::g_iniLock);
    list = winsim::Joined(winsim::Load(f.get())->SectionLines(s.get()));
  }
  return winsim::CopyList<char>(winsim::WideToAnsi(list), buffer, size);
}

WINSIM_API DWORD WINAPI GetPrivateProfileSectionNamesW(LPWSTR buffer, DWORD size, LPCWSTR file) {
  return GetPrivateProfileStringW(nullptr, nullptr, nullptr, buffer, size, file);
}

WINSIM_API DWORD WINAPI GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR file) {
  return GetPrivateProfileStringA(nullptr, nullptr, nullptr, buffer, size, file);
}

WINSIM_API BOOL WINAPI WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file) {
  // With all three null this is the "flush" call; every write is already on disk. It answers
  // FALSE, like a write without a section, but is no failure: the last error is cleared.
  if (!section && !key && !value) {
    SetLastError(ERROR_SUCCESS);
    return FALSE;
  }
  if (!section) return FALSE;
  std::u16string s = section;
  if (!key) return winsim::Change(file, [&](winsim::IniDocument& doc) { return doc.DeleteSection(s); });
  std::u16string k = key;
  if (!value) return winsim::Change(file, [&](winsim::IniDocument& doc) { return doc.DeleteKey(s, k); });
  std::u16string v = value;
  return winsim::Change(file, [&](winsim::IniDocument& doc) { return doc.SetValue(s, k, v); });
}

WINSIM_API BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  AnsiArg s(section), k(key), v(value), f(file);
  return WritePrivateProfileStringW(s.get(), k.get(), v.get(), f.get());
}

WINSIM_API BOOL WINAPI WritePrivateProfileSectionW(LPCWSTR section, LPCWSTR keysAndValues, LPCWSTR file) {
  if (!section) return FALSE;
  std::u16string s = section;
  if (!keysAndValues) return winsim::Change(file, [&](winsim::IniDocument& doc) { return doc.DeleteSection(s); });
  std::vector<std::u16string> lines = winsim::SplitZeroList(keysAndValues);
  return winsim::Change(file, [&](winsim::IniDocument& doc) { return doc.ReplaceSection(s, lines); });
}
