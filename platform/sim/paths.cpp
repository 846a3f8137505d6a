// Windows paths to host paths: drive letters become folders under the machine root, and every
// component is looked up case-insensitively, as NTFS names are.
#include <dirent.h>
#include <sys/stat.h>

#include <vector>

#include "platform/kernel32/file_internal.h"

namespace winsim {
namespace {

// Finds an entry of a host folder whose name equals name without regard to case (as NTFS
// compares names: letters of Latin, Greek and Cyrillic scripts); the exact spelling wins.
std::string MatchEntry(const std::string& folder, const std::string& name) {
  struct stat st;
  if (lstat((folder + "/" + name).c_str(), &st) == 0) return name;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return name;
  std::u16string wanted = ToUtf16(name);
  std::string found = name;
  while (dirent* e = readdir(dir)) {
    if (SameTextIgnoringCase(ToUtf16(e->d_name), wanted)) {
      found = e->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

}  // namespace

std::vector<std::u16string> PathComponents(const std::u16string& path) {
  std::vector<std::u16string> parts;
  size_t i = 0;
  while (i <= path.size()) {
    size_t j = path.find(u'\\', i);
    if (j == std::u16string::npos) j = path.size();
    std::u16string comp = path.substr(i, j - i);
    if (comp == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!comp.empty() && comp != u".") {
      // Windows drops trailing dots and spaces of a component.
      while (!comp.empty() && (comp.back() == u'.' || comp.back() == u' ')) comp.pop_back();
      if (!comp.empty()) parts.push_back(comp);
    }
    i = j + 1;
  }
  return parts;
}

std::string HostPathFor(const std::u16string& winPath) {
  std::u16string p = winPath;
  for (auto& c : p)
    if (c == u'/') c = u'\\';
  char drive = 'c';
  size_t pos = 0;
  if (p.size() >= 2 && p[1] == u':') {
    char16_t d = p[0];
    if (d >= u'a' && d <= u'z') d = char16_t(d - u'a' + u'A');
    if (d < u'A' || d > u'Z') return std::string();
    drive = char('a' + (d - u'A'));
    pos = 2;
  } else if (p.size() >= 2 && p[0] == u'\\' && p[1] == u'\\') {
    return std::string();  // UNC names are not on this machine
  }
  std::string host = RootPath() + "/" + drive;
  mkdir(host.c_str(), 0777);
  for (const std::u16string& part : PathComponents(p.substr(pos)))
    host += "/" + MatchEntry(host, ToUtf8(part.c_str(), part.size()));
  return host;
}

std::u16string LeafOf(const std::u16string& path) {
  size_t slash = path.find_last_of(u"\\/:");
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

std::string HostPathFor(const WCHAR* winPath) {
  if (!winPath) return std::string();
  return HostPathFor(std::u16string(winPath));
}

}  // namespace winsim
