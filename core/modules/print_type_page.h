// The print-type page and authentication input of the print-method module: what the control
// callback and its tests share.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Change flags of the guarded fields: the network key was touched, a print-type password typed.
enum : DWORD {
  kPrnChangeNetworkKey = 0x400000,
  kPrnChangePassword = 0x8000000,
};
// Job-control masks and the property of the authentication user.
constexpr DWORD kPrnMaskAuthUser = 2048;
constexpr DWORD kPrnMaskAuthPassword = 4096;
constexpr DWORD kPrnPropertyAuthUser = 9;

// The job-merge folder ("DrvDefJobMergePath" of the printer's section, "<OS>" or "<OSDRIVE>"
// expanded) and the file of name in it with the "DrvDefJobMergeFileExt" extension, MAX_PATH
// characters each; FALSE when either would not fit.
BOOL PrnJobMergeFile(DriverContext* ctx, const WCHAR* name, WCHAR* folder, WCHAR* file);
// Hands the authentication user and password to the job-control DLL (masks 2048 and 4096),
// or deletes the user's property and empties what is absent.
void PrnPushAuthentication(DriverContext* ctx);
