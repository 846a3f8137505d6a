// Windows paths to host paths: drive letters become folders under the machine root, and every
// component is looked up case-insensitively, as NTFS names are.
#include <dirent.h>
#include <sys/stat.h>

#include <time.h>

#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/kernel32/file_internal.h"
#include "platform/sim/state_files.h"

namespace winsim {
namespace {

// The names of the host folders searched for a spelling, as read at a version of each. A
// folder's modification time moves with every entry made, removed or renamed in it, but only
// at the host clock's tick: a folder changed in the last two seconds is read again each time.
struct Listing {
  FileVersion version;
  std::vector<std::pair<std::string, std::u16string>> names;  // as the host spells them, and read
};
std::mutex g_listingsLock;
std::unordered_map<std::string, Listing> g_listings;
constexpr size_t kMaxListings = 256;  // machines come and go in one process: kept bounded
constexpr long long kSettledNs = 2000000000LL;

bool Settled(const FileVersion& v) {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return v.exists && (long long)now.tv_sec * 1000000000LL + now.tv_nsec - v.mtimeNs > kSettledNs;
}

// Finds an entry of a host folder whose name equals name without regard to case (as NTFS
// compares names: letters of Latin, Greek and Cyrillic scripts); the exact spelling wins.
// *found says whether there is one; without one the caller's spelling is kept.
std::string MatchEntry(const std::string& folder, const std::string& name, bool* found) {
  struct stat st;
  *found = true;
  if (lstat((folder + "/" + name).c_str(), &st) == 0) return name;
  *found = false;
  const std::u16string wanted = ToUtf16(name);
  const FileVersion version = VersionOf(folder);
  if (!version.exists) return name;
  std::lock_guard<std::mutex> hold(g_listingsLock);
  auto it = g_listings.find(folder);
  if (it == g_listings.end() || it->second.version != version || !Settled(version)) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return name;
    Listing listing{version, {}};
    while (dirent* e = readdir(dir)) listing.names.emplace_back(e->d_name, ToUtf16(e->d_name));
    closedir(dir);
    if (g_listings.size() >= kMaxListings) g_listings.clear();
    it = g_listings.insert_or_assign(folder, std::move(listing)).first;
  }
  for (const auto& entry : it->second.names) {
    if (SameTextIgnoringCase(entry.second, wanted)) {
      *found = true;
      return entry.first;
    }
  }
  return name;
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

std::string HostPathFor(const std::u16string& winPath, bool* lastFound) {
  bool found = true;
  if (lastFound) *lastFound = false;
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
  const std::vector<std::u16string> parts = PathComponents(p.substr(pos));
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string name = ToUtf8(parts[i].c_str(), parts[i].size());
    struct stat st;
    if (i == 0 && lstat((host + "/" + name).c_str(), &st) == 0) {
      host += "/" + name;  // the drive's folder is there: no need to make it
      found = true;
      continue;
    }
    if (i == 0) mkdir(host.c_str(), 0777);
    host += "/" + MatchEntry(host, name, &found);
  }
  if (parts.empty()) mkdir(host.c_str(), 0777);
  if (lastFound) *lastFound = found;
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
