// Dialog-engine test support: a context's page given other controls, and the printer's
// language DLL replaced by one the tests built.
#pragma once
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "core/front/dialog_records.h"

namespace zems_test {

// The context's page of this dialog with its controls replaced by copies of these; null when
// the context has no such page.
DlgPageRecord* ReplacePageControls(DriverContext* ctx, WORD dialogId, const std::vector<DlgControlRecord>& controls);
// Places bin/<built> as the sample printer's language DLL; false (with the reason in *error)
// when it cannot be copied.
bool InstallLanguageDll(const std::string& built, std::string* error);
// Places the built common DLL (the marks, check-list states and ramps) beside it.
bool InstallCommonDll(std::string* error);

}  // namespace zems_test
