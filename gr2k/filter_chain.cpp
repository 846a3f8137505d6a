// The filter chain handed to the first filter: the install path of every registered filter
// that has one, in list order, then the spool DLL, then a null entry.
#include <string.h>

#include "core/bind/plugin_registry.h"
#include "core/common/mem.h"
#include "gr2k/spool_binding.h"

namespace {

// The longest path a chain entry keeps; a longer one would reach the filter cut.
constexpr size_t kMaxEntryBytes = 259;

char* Copy(const char* text, size_t n) {
  char* out = static_cast<char*>(MemAllocZero(DWORD(n + 1)));
  if (out) memcpy(out, text, n);
  return out;
}

}  // namespace

BOOL GrBuildFilterChain(GraphicsPdev* pdev, const WCHAR* spoolDllPath) {
  const PluginList* filters = pdev->filterList;
  if (!filters || !spoolDllPath) return FALSE;
  char spool[kMaxEntryBytes + 2] = {};
  int cb = WideCharToMultiByte(PdevCurrentCodePage(), 0, spoolDllPath, -1, spool, int(sizeof spool), nullptr, nullptr);
  if (cb <= 1 || size_t(cb - 1) > kMaxEntryBytes) return FALSE;

  DWORD withPath = 0;
  for (DWORD i = 0; i < filters->count; ++i) {
    const PluginRecord* r = filters->records[i];
    if (!r || !r->installPath) continue;
    if (strlen(r->installPath) > kMaxEntryBytes) return FALSE;
    ++withPath;
  }
  PluginStringList* chain = static_cast<PluginStringList*>(MemAllocZero(sizeof(PluginStringList)));
  if (!chain) return FALSE;
  chain->strings = static_cast<char**>(MemAllocZero(DWORD((withPath + 2) * sizeof(char*))));
  BOOL ok = chain->strings != nullptr;
  DWORD n = 0;
  for (DWORD i = 0; ok && i < filters->count; ++i) {
    const PluginRecord* r = filters->records[i];
    if (!r || !r->installPath) continue;
    ok = (chain->strings[n++] = Copy(r->installPath, strlen(r->installPath))) != nullptr;
  }
  if (ok) ok = (chain->strings[n++] = Copy(spool, strlen(spool))) != nullptr;
  chain->count = withPath + 2;  // the null entry counts
  if (!ok) {
    PluginFreeStringList(chain);
    return FALSE;
  }
  pdev->filterChain = chain;
  return TRUE;
}
