// The job-control interface: job items kept in printer data and pushed to the job-control DLL.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// Reads the job items of the mask from printer data. Returns 0.
int JcLoadJobItems(DriverContext* ctx, DWORD mask);
// Loads the job-control DLL, pushes every masked property in a session and unloads it.
int JcPushPropertiesUi(DriverContext* ctx, DWORD mask);

