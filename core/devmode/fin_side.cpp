#include "core/devmode/fin_side.h"

#include "core/devmode/fin_readers.h"

int FinIsFeedRotated(DriverContext* ctx) {
  const LONG portrait = 1;
  LONG orientation = FinRead(ctx, kFinOrientation);
  WORD nup = static_cast<WORD>(FinRead(ctx, kFinNupType));
  WORD duplex = static_cast<WORD>(FinRead(ctx, kFinDuplexType));
  // The N-up layouts up to 18 and the booklet layouts (duplex types above 16) turn the page.
  bool turned = (FinRead(ctx, kFinFuncSelectNup) == 1 && nup >= 1 && nup <= 18) ||
                (FinRead(ctx, kFinFuncSelectDuplex) == 1 && duplex > 16);
  if (turned) return orientation == portrait ? 1 : 0;
  return orientation != portrait ? 1 : 0;
}
