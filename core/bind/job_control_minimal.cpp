// Minimal version until the job-control interface is built: no job item is read and there is
// no job-control DLL to push to.
#include "core/bind/job_control.h"

int JcLoadJobItems(DriverContext* ctx, DWORD mask) {
  (void)ctx;
  (void)mask;
  return 0;
}

int JcPushPropertiesUi(DriverContext* ctx, DWORD mask) {
  (void)ctx;
  (void)mask;
  return 0;
}

