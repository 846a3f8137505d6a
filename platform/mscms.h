// The image colour management calls of mscms.dll the graphics DLL uses: memory profiles and
// colour transforms. Our own declarations for both builds, from the public documentation.
#pragma once
#include "platform/ddi.h"

#ifdef _WIN32
#define ZEMS_MSCMS_API extern "C" __declspec(dllimport)
#else
#define ZEMS_MSCMS_API WINSIM_API
#endif

typedef HANDLE HPROFILE;
typedef HANDLE HTRANSFORM;

typedef struct tagPROFILE {
  DWORD dwType;
  PVOID pProfileData;
  DWORD cbDataSize;
} PROFILE, *PPROFILE;

#define PROFILE_FILENAME 1
#define PROFILE_MEMBUFFER 2
#define PROFILE_READ 1
#define PROFILE_READWRITE 2
#define BEST_MODE 3

ZEMS_MSCMS_API HPROFILE WINAPI OpenColorProfileW(PPROFILE profile, DWORD access, DWORD share, DWORD creation);
ZEMS_MSCMS_API BOOL WINAPI CloseColorProfile(HPROFILE profile);
ZEMS_MSCMS_API HTRANSFORM WINAPI CreateColorTransformW(LPLOGCOLORSPACEW colorSpace, HPROFILE destination,
                                                       HPROFILE target, DWORD flags);
ZEMS_MSCMS_API BOOL WINAPI DeleteColorTransform(HTRANSFORM transform);

#ifndef _WIN32
// The machine's colour-management objects alive in this process (profiles and transforms).
WINSIM_API DWORD SimIcmLiveObjects(void);
#endif
