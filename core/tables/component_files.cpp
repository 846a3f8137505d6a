// The companion files of this driver package (listed in the README).
#include "core/tables/component_files.h"

namespace {

const ComponentFileRow kComponentFiles[] = {
    {2, TEXT("zemsexc.dll")},   // the application-interface DLL other programs load
    {2, TEXT("OV00C140.dll")},  // the companion DLL of the model record
    {2, TEXT("OV1BC123.DLL")},  // the spool DLL
    {2, TEXT("KV310dat.dll")},  // the model's data DLL
    {1, TEXT("zemsexc.dll")},
    {1, TEXT("OV00C140.dll")},
    {1, TEXT("OV1BC123.DLL")},
    {1, TEXT("KV310dat.dll")},
    {0, nullptr},
};

}  // namespace

const ComponentFileRow* TblGetComponentFiles() { return kComponentFiles; }
