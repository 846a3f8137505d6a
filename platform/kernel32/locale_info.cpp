// Locale information. The machine knows the country code (LOCALE_ICOUNTRY, the international
// dialling code Windows reports) of the locales of the driver's languages and a few more
// English, German, Spanish and Portuguese regions and South Africa; any other locale or information type is
// refused as Windows refuses what it does not know.
#include <string.h>

#include "platform/sim/internal.h"
#include "platform/sim/trace.h"
#include "platform/win32.h"

namespace {

struct CountryRow {
  LCID lcid;
  const char16_t* country;
};

// Values as the public national-language-support tables give them.
const CountryRow kCountries[] = {
    {0x0411, u"81"},   // Japanese, Japan
    {0x0409, u"1"},    // English, United States
    {0x0809, u"44"},   // English, United Kingdom
    {0x1009, u"1"},    // English, Canada
    {0x0C09, u"61"},   // English, Australia
    {0x0405, u"420"},  // Czech, Czech Republic
    {0x0406, u"45"},   // Danish, Denmark
    {0x0407, u"49"},   // German, Germany
    {0x0C07, u"43"},   // German, Austria
    {0x0807, u"41"},   // German, Switzerland
    {0x040A, u"34"},   // Spanish, Spain (traditional sort)
    {0x0C0A, u"34"},   // Spanish, Spain
    {0x080A, u"52"},   // Spanish, Mexico
    {0x040C, u"33"},   // French, France
    {0x0410, u"39"},   // Italian, Italy
    {0x040E, u"36"},   // Hungarian, Hungary
    {0x0413, u"31"},   // Dutch, Netherlands
    {0x0414, u"47"},   // Norwegian (Bokmal), Norway
    {0x0415, u"48"},   // Polish, Poland
    {0x0416, u"55"},   // Portuguese, Brazil
    {0x0816, u"351"},  // Portuguese, Portugal
    {0x040B, u"358"},  // Finnish, Finland
    {0x041D, u"46"},   // Swedish, Sweden
    {0x0804, u"86"},   // Chinese, People's Republic of China
    {0x0404, u"886"},  // Chinese, Taiwan
    {0x0412, u"82"},   // Korean, Korea
    {0x0419, u"7"},    // Russian, Russia
    {0x0436, u"27"},   // Afrikaans, South Africa
};

}  // namespace

WINSIM_API int WINAPI GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData) {
  if (cchData < 0 || (cchData > 0 && !lpLCData)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (Locale == LOCALE_USER_DEFAULT || Locale == LOCALE_SYSTEM_DEFAULT || Locale == 0) Locale = GetUserDefaultLCID();
  if ((LCType & ~LOCALE_NOUSEROVERRIDE) != LOCALE_ICOUNTRY) {
    WINSIM_SIMPLIFIED("GetLocaleInfoW", "knows only LOCALE_ICOUNTRY");
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  const char16_t* country = nullptr;
  for (const CountryRow& row : kCountries)
    if (row.lcid == (Locale & 0xFFFF)) country = row.country;
  if (!country) {
    WINSIM_SIMPLIFIED("GetLocaleInfoW", "knows the country of a few locales only");
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int needed = 1;
  while (country[needed - 1]) ++needed;
  if (cchData == 0) return needed;
  if (cchData < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  memcpy(lpLCData, country, needed * sizeof(WCHAR));
  return needed;
}
