// Environment variables of the simulated process and the user's default locale. Names are
// compared without regard to case, as Windows does; a fresh machine root starts from the
// defaults of a Windows XP installation on drive C.
#include <map>
#include <mutex>

#include "platform/sim.h"
#include "platform/sim/internal.h"

namespace {

struct Variable {
  std::u16string name;  // as first set
  std::u16string value;
};

std::mutex g_lock;
std::map<std::u16string, Variable> g_vars;
LCID g_userLcid = 0x0409;

void SetDefaults() {
  static const char16_t* const kDefaults[][2] = {
      {u"ALLUSERSPROFILE", u"C:\\Documents and Settings\\All Users"},
      {u"APPDATA", u"C:\\Documents and Settings\\User\\Application Data"},
      {u"COMPUTERNAME", u"ZEMSSIM"},
      {u"HOMEDRIVE", u"C:"},
      {u"HOMEPATH", u"\\Documents and Settings\\User"},
      {u"ProgramFiles", u"C:\\Program Files"},
      {u"SystemDrive", u"C:"},
      {u"SystemRoot", u"C:\\WINDOWS"},
      {u"TEMP", u"C:\\WINDOWS\\TEMP"},
      {u"TMP", u"C:\\WINDOWS\\TEMP"},
      {u"USERNAME", u"User"},
      {u"USERPROFILE", u"C:\\Documents and Settings\\User"},
      {u"windir", u"C:\\WINDOWS"},
  };
  g_vars.clear();
  for (const auto& d : kDefaults) g_vars[winsim::UpperCaseText(d[0])] = Variable{d[0], d[1]};
}

void ResetEnvironment() {
  std::lock_guard<std::mutex> hold(g_lock);
  SetDefaults();
  g_userLcid = 0x0409;
}

struct Init {
  Init() {
    SetDefaults();
    winsim::RegisterResetHook(ResetEnvironment);
  }
} g_init;

// Copies text with its terminator when it fits size characters; answers as the W calls do.
DWORD CopyOut(const std::u16string& text, LPWSTR buffer, DWORD size, bool countTerminator) {
  if (buffer && size > text.size()) {
    text.copy(buffer, text.size());
    buffer[text.size()] = 0;
    return DWORD(text.size() + (countTerminator ? 1 : 0));
  }
  return DWORD(text.size() + 1);
}

}  // namespace

WINSIM_API DWORD WINAPI GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string value;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    auto it = g_vars.find(winsim::UpperCaseText(name));
    if (it == g_vars.end()) {
      SetLastError(ERROR_ENVVAR_NOT_FOUND);
      return 0;
    }
    value = it->second.value;
  }
  return CopyOut(value, buffer, size, false);
}

WINSIM_API BOOL WINAPI SetEnvironmentVariableW(LPCWSTR name, LPCWSTR value) {
  if (!name || !*name || std::u16string(name).find(u'=') != std::u16string::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> hold(g_lock);
  std::u16string key = winsim::UpperCaseText(name);
  if (!value) {
    if (!g_vars.erase(key)) {
      SetLastError(ERROR_ENVVAR_NOT_FOUND);
      return FALSE;
    }
    return TRUE;
  }
  auto it = g_vars.find(key);
  if (it == g_vars.end())
    g_vars[key] = Variable{name, value};
  else
    it->second.value = value;
  return TRUE;
}

// %NAME% is replaced by the variable's value; an unknown %name% or a lone '%' stays as written.
WINSIM_API DWORD WINAPI ExpandEnvironmentStringsW(LPCWSTR source, LPWSTR destination, DWORD size) {
  if (!source) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string in = source, out;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    size_t i = 0;
    while (i < in.size()) {
      if (in[i] == u'%') {
        size_t end = in.find(u'%', i + 1);
        if (end != std::u16string::npos) {
          auto it = g_vars.find(winsim::UpperCaseText(in.substr(i + 1, end - i - 1)));
          if (end > i + 1 && it != g_vars.end()) {
            out += it->second.value;
            i = end + 1;
            continue;
          }
          // Not a known name: "%name%" stays as written, both signs included.
          out += in.substr(i, end - i + 1);
          i = end + 1;
          continue;
        }
      }
      out += in[i++];
    }
  }
  return CopyOut(out, destination, size, true);
}

WINSIM_API LCID WINAPI GetUserDefaultLCID(void) {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_userLcid;
}

WINSIM_API LANGID WINAPI GetUserDefaultLangID(void) { return LANGIDFROMLCID(GetUserDefaultLCID()); }

void SimSetUserDefaultLCID(LCID lcid) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_userLcid = lcid;
}
