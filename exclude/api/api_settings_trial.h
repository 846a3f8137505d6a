// A trial on the settings: the block is kept as it was and put back afterwards byte for byte,
// unless the trial replaced a font table, in which case a copy with tables of its own is put
// back (the replaced tables are gone).
#pragma once
#include "platform/win32.h"

struct ApiContext;

class ApiSettingsTrial {
 public:
  explicit ApiSettingsTrial(ApiContext* api);
  ~ApiSettingsTrial();
  ApiSettingsTrial(const ApiSettingsTrial&) = delete;
  ApiSettingsTrial& operator=(const ApiSettingsTrial&) = delete;
  // False when the settings could not be kept (no memory): nothing may be tried then.
  bool ok() const { return raw_ != nullptr && copy_ != nullptr; }

 private:
  ApiContext* api_;
  BYTE* raw_;
  BYTE* copy_;
};

// A trial on the context's public DEVMODE: a snapshot taken when made and put back when it ends,
// whatever the trial answered.
class ApiDevmodeTrial {
 public:
  explicit ApiDevmodeTrial(ApiContext* api);
  ~ApiDevmodeTrial();
  ApiDevmodeTrial(const ApiDevmodeTrial&) = delete;
  ApiDevmodeTrial& operator=(const ApiDevmodeTrial&) = delete;
  // False when no snapshot could be taken (no memory).
  bool ok() const { return copy_ != nullptr; }

 private:
  ApiContext* api_;
  BYTE* copy_;
};
