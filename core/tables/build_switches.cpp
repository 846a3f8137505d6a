#include "core/tables/build_switches.h"

int BuildHasFeature(const DriverContext* ctx, int n) {
  (void)ctx;
  return n >= 0 && n < BuildGetVariant().featureCount ? 1 : 0;
}

// The ini wrappers of core/common ask this through their own header: the common folder
// includes nothing of the core, so the answer is linked in from here.
int IniSectionLeadByteRule() { return BuildGetVariant().sectionLeadByteRule ? 1 : 0; }

int BuildIsCommonDriver() { return BuildGetVariant().commonDriver ? 1 : 0; }

int BuildHasFeatureBit(int n) {
  if (n < 0 || n > 31) return 0;
  return (BuildGetVariant().featureBits >> n) & 1;
}

int BuildHasFeatureFlag(int index) {
  if (index < 1 || index > 8) return 0;
  return (BuildGetVariant().featureFlags >> (index - 1)) & 1;
}

