// Colour profiles opened from memory and the transforms made from them. The machine records
// the handles and what they were made from; it transforms no colours.
#include <map>
#include <mutex>

#include "platform/mscms.h"
#include "platform/sim/internal.h"
#include "platform/sim/trace.h"

namespace {

struct Profile {
  DWORD size;
};
struct Transform {
  HPROFILE destination;
};

std::mutex g_lock;
std::map<uintptr_t, Profile> g_profiles;
std::map<uintptr_t, Transform> g_transforms;
uintptr_t g_next = 0x5000;

void ForgetAll() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_profiles.clear();
  g_transforms.clear();
}

struct ResetRegistration {
  ResetRegistration() { winsim::RegisterResetHook(ForgetAll); }
} g_resetRegistration;

}  // namespace

// Simplified: memory profiles only, their bytes not parsed; a file profile is refused.
WINSIM_API HPROFILE WINAPI OpenColorProfileW(PPROFILE profile, DWORD access, DWORD, DWORD) {
  if (!profile || (access != PROFILE_READ && access != PROFILE_READWRITE)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (profile->dwType != PROFILE_MEMBUFFER) {
    WINSIM_SIMPLIFIED("OpenColorProfileW", "opens memory profiles only");
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return nullptr;
  }
  if (!profile->pProfileData || profile->cbDataSize == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  WINSIM_SIMPLIFIED("OpenColorProfileW", "records the profile without reading its tags");
  std::lock_guard<std::mutex> hold(g_lock);
  g_next += 4;
  g_profiles[g_next] = Profile{profile->cbDataSize};
  return reinterpret_cast<HPROFILE>(g_next);
}

WINSIM_API BOOL WINAPI CloseColorProfile(HPROFILE profile) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_profiles.erase(reinterpret_cast<uintptr_t>(profile))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

// Simplified: the transform is a recorded handle; it converts nothing.
WINSIM_API HTRANSFORM WINAPI CreateColorTransformW(LPLOGCOLORSPACEW, HPROFILE destination, HPROFILE target, DWORD) {
  WINSIM_SIMPLIFIED("CreateColorTransformW", "records a handle that transforms nothing");
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_profiles.count(reinterpret_cast<uintptr_t>(destination)) ||
      (target && !g_profiles.count(reinterpret_cast<uintptr_t>(target)))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  g_next += 4;
  g_transforms[g_next] = Transform{destination};
  return reinterpret_cast<HTRANSFORM>(g_next);
}

WINSIM_API BOOL WINAPI DeleteColorTransform(HTRANSFORM transform) {
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_transforms.erase(reinterpret_cast<uintptr_t>(transform))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

WINSIM_API DWORD SimIcmLiveObjects(void) {
  std::lock_guard<std::mutex> hold(g_lock);
  return DWORD(g_profiles.size() + g_transforms.size());
}
