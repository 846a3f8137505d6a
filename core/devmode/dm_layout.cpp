// The private DEVMODE header, the direct accessors of single private fields and the
// environment flags.
#include "core/devmode/dm_layout.h"

#include <string.h>

#include "core/common/os_tests.h"
#include "core/common/text.h"
#include "core/context/driver_context.h"
#include "core/items/item_access.h"
#include "core/items/item_ids.h"
#include "core/items/item_table.h"
#include "core/install/driver_identity.h"
#include "core/system/printer_names.h"
#include "core/system/terminal_server.h"
#include "core/tables/build_switches.h"
#include "core/tables/model_record.h"

static_assert(kDmSize == kDevmodeAreaSize && kDmExtAreaSize == kExtensionAreaSize &&
                  kDmWorkAreaSize == kWorkAreaSize && kDmBlockSize == kSettingsBlockSize,
              "the item catalogue lays out the same settings block");
static_assert(kDmOffAreaOffsets == kDmAreaOffsetWords, "area-offset words");

namespace {

BYTE* At(void* dm, UINT off) { return static_cast<BYTE*>(dm) + off; }
const BYTE* At(const void* dm, UINT off) { return static_cast<const BYTE*>(dm) + off; }

DWORD Read32(const void* dm, UINT off) {
  DWORD v;
  memcpy(&v, At(dm, off), 4);
  return v;
}
void Write32(void* dm, UINT off, DWORD v) { memcpy(At(dm, off), &v, 4); }
WORD Read16(const void* dm, UINT off) {
  WORD v;
  memcpy(&v, At(dm, off), 2);
  return v;
}
void Write16(void* dm, UINT off, WORD v) { memcpy(At(dm, off), &v, 2); }

BYTE* CtxDm(DriverContext* ctx) { return ctx ? ctx->settings : nullptr; }

void SetEnv(DriverContext* ctx, UINT flag, int v) {
  if (BYTE* dm = CtxDm(ctx)) *At(dm, kDmOffEnvFlags + flag) = static_cast<BYTE>(v);
}
int GetEnv(DriverContext* ctx, UINT flag) {
  const BYTE* dm = CtxDm(ctx);
  return dm ? *At(dm, kDmOffEnvFlags + flag) : 0;
}
void DmSetEnv(void* dm, UINT flag, int v) { *At(dm, kDmOffEnvFlags + flag) = static_cast<BYTE>(v); }
int DmGetEnv(const void* dm, UINT flag) { return *At(dm, kDmOffEnvFlags + flag); }

// ANSI text of at most 15 bytes, cut at a character boundary and zero-padded to 16.
void StampName(BYTE* dm, UINT off, const WCHAR* text) {
  char buffer[16];
  memset(buffer, 0, sizeof buffer);
  if (text) StrWideToAnsi(buffer, text, sizeof buffer);
  memcpy(At(dm, off), buffer, sizeof buffer);
}

}  // namespace

int TblDevmodePublicSize() { return kDmPublicSize; }
int TblDevmodePrivateSize() { return kDmPrivateSize; }
int TblDevmodeSize() { return kDmSize; }
int TblExtAreaSize() { return kDmExtAreaSize; }
int TblSettingsBlockSize() { return kDmBlockSize; }
int TblWorkAreaSize() { return kDmWorkAreaSize; }
void DmNoOpFieldDefault() {}

DWORD DmVariantSteps() { return BuildGetVariant().devmodeSteps; }

// ---- header ----

void DmStampSizeWords(BYTE* block) {
  if (!block) return;
  Write16(block, kDmOffAreaOffsets, 0);
  Write16(block, kDmOffAreaOffsets + 2, static_cast<WORD>(kDmSize));
  Write16(block, kDmOffAreaOffsets + 4, static_cast<WORD>(kDmSize + kDmExtAreaSize));
}

void DmStampPrivateHeader(BYTE* block, DriverContext* ctx) {
  if (!block) return;
  const ModelRecord* record = CtxModelRecord(ctx);
  // The signature is written with its terminator, which the next field then overwrites.
  memcpy(At(block, kDmOffSignature), "ZEMS", 4);
  Write32(block, kDmOffJobBinder, 0);
  Write32(block, kDmOffPrivateTag, record->privateTag);
  Write32(block, kDmOffPrivateSize, kDmPrivateSize);
  Write32(block, kDmOffLayoutVersion, record->layoutVersion);
  DmStampSizeWords(block);
}

void DmStampPrivateNames(DriverContext* ctx) {
  BYTE* dm = CtxDm(ctx);
  if (!dm) return;
  const ModelRecord* record = CtxModelRecord(ctx);
  StampName(dm, kDmOffIniFileName, record->settingsIniName);
  StampName(dm, kDmOffVersionText1, record->versionText1);
  StampName(dm, kDmOffVersionText2, record->versionText2);
  memset(At(dm, kDmOffCommonMark), 0, 8);
  if (DmVariantHas(kDmStepCommonMark)) {
    memcpy(At(dm, kDmOffCommonMark), "OCOMMON", 8);
    *At(dm, kDmOffCommonVersion) = 5;
  } else {
    *At(dm, kDmOffCommonVersion) = 0;
  }
  memset(At(dm, kDmOffOptionRequest), 0, 32);
  memset(At(dm, kDmOffCapabilities), 0, 32);
}

// ---- DEVMODE form ----

DWORD DmGetPrivateTag(const void* dm) { return Read32(dm, kDmOffPrivateTag); }
DWORD DmGetPrivateSize(const void* dm) { return Read32(dm, kDmOffPrivateSize); }
DWORD DmGetPrivateVersion(const void* dm) { return Read32(dm, kDmOffLayoutVersion); }

void DmSetCallSrc(void* dm, int v) { DmSetEnv(dm, kEnvCallSrc, v); }
int DmGetCallSrc(const void* dm) { return DmGetEnv(dm, kEnvCallSrc); }
void DmSetOSKind(void* dm, int v) { DmSetEnv(dm, kEnvOSKind, v); }
int DmGetOSKind(const void* dm) { return DmGetEnv(dm, kEnvOSKind); }
void DmSetBatchInst(void* dm, int v) { DmSetEnv(dm, kEnvBatchInst, v); }
int DmGetBatchInst(const void* dm) { return DmGetEnv(dm, kEnvBatchInst); }
void DmSetPrintLog(void* dm, int v) { DmSetEnv(dm, kEnvPrintLog, v); }
int DmGetPrintLog(const void* dm) { return DmGetEnv(dm, kEnvPrintLog); }
void DmSetBiDirect(void* dm, int v) { DmSetEnv(dm, kEnvBiDirect, v); }
int DmGetBiDirect(const void* dm) { return DmGetEnv(dm, kEnvBiDirect); }
void DmSetNoPermission(void* dm, int v) { DmSetEnv(dm, kEnvNoPermission, v); }
int DmGetNoPermission(const void* dm) { return DmGetEnv(dm, kEnvNoPermission); }
void DmSetServerClientMode(void* dm, int v) { DmSetEnv(dm, kEnvServerClientMode, v); }
int DmGetServerClientMode(const void* dm) { return DmGetEnv(dm, kEnvServerClientMode); }
void DmSetPropertyType(void* dm, int v) { DmSetEnv(dm, kEnvPropertyType, v); }
int DmGetPropertyType(const void* dm) { return DmGetEnv(dm, kEnvPropertyType); }
void DmSetTSE(void* dm, int v) { DmSetEnv(dm, kEnvTSE, v); }
int DmGetTSE(const void* dm) { return DmGetEnv(dm, kEnvTSE); }
void DmSetAdmin(void* dm, int v) { DmSetEnv(dm, kEnvAdmin, v); }
int DmGetAdmin(const void* dm) { return DmGetEnv(dm, kEnvAdmin); }
void DmSetBidiFunc(void* dm, int v) { DmSetEnv(dm, kEnvBidiFunc, v); }
int DmGetBidiFunc(const void* dm) { return DmGetEnv(dm, kEnvBidiFunc); }

void DmSetFrontFunc(void* dm, int v) { Write32(dm, kDmOffFrontFunc, static_cast<DWORD>(v)); }
DWORD DmGetFrontFunc(const void* dm) { return Read32(dm, kDmOffFrontFunc); }
void DmSetQualityFuncBits(void* dm, int v) { Write16(dm, kDmOffQualityBits, static_cast<WORD>(v)); }
int DmGetQualityFuncBits(const void* dm) { return Read16(dm, kDmOffQualityBits); }
void DmSetHidden2FuncBits(void* dm, int v) {
  Write32(dm, kDmOffHidden2Bits, static_cast<DWORD>(static_cast<WORD>(v)));
}
DWORD DmGetHidden2FuncBits(const void* dm) { return Read32(dm, kDmOffHidden2Bits); }
void DmSetSupportJobComplete(void* dm, int v) {
  DWORD w = Read32(dm, kDmOffSupport2Bits);
  Write32(dm, kDmOffSupport2Bits, (w & ~1u) | (static_cast<DWORD>(v) & 1u));
}
void DmSetSupportJobErr(void* dm, int v) {
  DWORD w = Read32(dm, kDmOffSupport2Bits);
  Write32(dm, kDmOffSupport2Bits, (w & ~2u) | (static_cast<DWORD>(v) & 2u));
}
DWORD DmGetSupportFunc2Bits(const void* dm) { return Read32(dm, kDmOffSupport2Bits); }
void DmSetLockPrnMethod(void* dm, int v) { *At(dm, kDmOffLockPrnMethod) = static_cast<BYTE>(v); }
int DmGetLockPrnMethod(const void* dm) { return *At(dm, kDmOffLockPrnMethod); }
int DmGetMachineId(const void* dm) { return *At(dm, kDmOffMachineId); }
int DmGetMachineTypeBits(const void* dm) { return *At(dm, kDmOffMachineTypeBits); }
int DmGetDriverType(const void* dm) { return *At(dm, kDmOffDriverType); }
int DmGetNupPostKind(const void* dm) { return *At(dm, kDmOffNupPostKind); }
int DmGetColor(const void* dm) { return static_cast<SHORT>(Read16(dm, kDmOffColor)); }

// ---- context form ----

void CtxSetPLInstalled(DriverContext* ctx, int v) { SetEnv(ctx, kEnvPLInstalled, v); }
void CtxSetCallSrc(DriverContext* ctx, int v) { SetEnv(ctx, kEnvCallSrc, v); }
int CtxGetCallSrc(DriverContext* ctx) { return GetEnv(ctx, kEnvCallSrc); }
void CtxSetOSKind(DriverContext* ctx, int v) { SetEnv(ctx, kEnvOSKind, v); }
int CtxGetOSKind(DriverContext* ctx) { return GetEnv(ctx, kEnvOSKind); }
void DmSetOsKindWin98(DriverContext* ctx) { SetEnv(ctx, kEnvOSKind, kOSKindWin98); }
void CtxSetBatchInst(DriverContext* ctx, int v) { SetEnv(ctx, kEnvBatchInst, v); }
void CtxSetPrintLog(DriverContext* ctx, int v) { SetEnv(ctx, kEnvPrintLog, v); }
int CtxGetPrintLog(DriverContext* ctx) { return GetEnv(ctx, kEnvPrintLog); }
void CtxSetBiDirect(DriverContext* ctx, int v) { SetEnv(ctx, kEnvBiDirect, v); }
int CtxGetBiDirect(DriverContext* ctx) { return GetEnv(ctx, kEnvBiDirect); }
void CtxSetNoPermission(DriverContext* ctx, int v) { SetEnv(ctx, kEnvNoPermission, v); }
int CtxGetNoPermission(DriverContext* ctx) { return GetEnv(ctx, kEnvNoPermission); }
void CtxSetPresentUIMode(DriverContext* ctx, int v) { SetEnv(ctx, kEnvPresentUIMode, v); }
int CtxGetPresentUIMode(DriverContext* ctx) { return GetEnv(ctx, kEnvPresentUIMode); }
void CtxSetBidiSupport(DriverContext* ctx, int v) { SetEnv(ctx, kEnvBidiSupport, v); }
void CtxSetServerClientMode(DriverContext* ctx, int v) { SetEnv(ctx, kEnvServerClientMode, v); }
int CtxGetServerClientMode(DriverContext* ctx) { return GetEnv(ctx, kEnvServerClientMode); }
void CtxSetUserCodeFix(DriverContext* ctx, int v) { SetEnv(ctx, kEnvUserCodeFix, v); }
void CtxSetUserCodeGet(DriverContext* ctx, int v) { SetEnv(ctx, kEnvUserCodeGet, v); }
int CtxGetUserCodeGet(DriverContext* ctx) { return GetEnv(ctx, kEnvUserCodeGet); }
void CtxSetJBInstalled(DriverContext* ctx, int v) { SetEnv(ctx, kEnvJBInstalled, v); }
void CtxSetPropertyType(DriverContext* ctx, int v) { SetEnv(ctx, kEnvPropertyType, v); }
int CtxGetPropertyType(DriverContext* ctx) { return GetEnv(ctx, kEnvPropertyType); }
void CtxSetUserCodeDLL(DriverContext* ctx, int v) { SetEnv(ctx, kEnvUserCodeDll, v); }
int CtxGetUserCodeDLL(DriverContext* ctx) { return GetEnv(ctx, kEnvUserCodeDll); }
void CtxSetTSE(DriverContext* ctx, int v) { SetEnv(ctx, kEnvTSE, v); }
int CtxGetTSE(DriverContext* ctx) { return GetEnv(ctx, kEnvTSE); }
void CtxSetAdmin(DriverContext* ctx, int v) { SetEnv(ctx, kEnvAdmin, v); }
int CtxGetAdmin(DriverContext* ctx) { return GetEnv(ctx, kEnvAdmin); }
void CtxSetBidiFunc(DriverContext* ctx, int v) { SetEnv(ctx, kEnvBidiFunc, v); }
int CtxGetBidiFunc(DriverContext* ctx) { return GetEnv(ctx, kEnvBidiFunc); }

// ---- environment-flag setters ----

void DmSetUserDefaultModeOff(DriverContext* ctx) { CtxSetCallSrc(ctx, 0); }
void DmSetUserDefaultModeOn(DriverContext* ctx) { CtxSetCallSrc(ctx, 1); }
void DmSetOsKindLegacy(DriverContext* ctx) { CtxSetOSKind(ctx, 1); }
void DmSetOsKindNt5(DriverContext* ctx) { CtxSetOSKind(ctx, 2); }
void DmSetDefaultImportedOff(DriverContext* ctx) { CtxSetBatchInst(ctx, 0); }
void DmSetDefaultImportedOn(DriverContext* ctx) { CtxSetBatchInst(ctx, 1); }
void DmSetInstallerUserCodeOff(DriverContext* ctx) { CtxSetPrintLog(ctx, 0); }
void DmSetInstallerUserCodeOn(DriverContext* ctx) { CtxSetPrintLog(ctx, 1); }
void DmSetBidiPendingOff(DriverContext* ctx) { CtxSetBiDirect(ctx, 0); }
void DmSetBidiPendingOn(DriverContext* ctx) { CtxSetBiDirect(ctx, 1); }
void DmSetNoPermissionOff(DriverContext* ctx) { CtxSetNoPermission(ctx, 0); }
void DmSetNoPermissionOn(DriverContext* ctx) { CtxSetNoPermission(ctx, 1); }
void DmSetUiModeChangeOff(DriverContext* ctx) { CtxSetPresentUIMode(ctx, 0); }
void DmSetUiModeChangeOn(DriverContext* ctx) { CtxSetPresentUIMode(ctx, 1); }
void DmSetBidiEnabledOff(DriverContext* ctx) { CtxSetBidiSupport(ctx, 0); }
void DmSetBidiEnabledOn(DriverContext* ctx) { CtxSetBidiSupport(ctx, 1); }
void DmSetOnServerOff(DriverContext* ctx) { CtxSetServerClientMode(ctx, 0); }
void DmSetOnServerOn(DriverContext* ctx) { CtxSetServerClientMode(ctx, 1); }
void DmSetLogCodeUseOff(DriverContext* ctx) { CtxSetUserCodeFix(ctx, 0); }
void DmSetLogCodeUseOn(DriverContext* ctx) { CtxSetUserCodeFix(ctx, 1); }
void DmSetUserCodeProviderOff(DriverContext* ctx) { CtxSetUserCodeGet(ctx, 0); }
void DmSetUserCodeProviderOn(DriverContext* ctx) { CtxSetUserCodeGet(ctx, 1); }
void DmSetBinderInstalledOff(DriverContext* ctx) { CtxSetJBInstalled(ctx, 0); }
void DmSetBinderInstalledOn(DriverContext* ctx) { CtxSetJBInstalled(ctx, 1); }
void DmSetPreviewInstalledOff(DriverContext* ctx) { CtxSetPLInstalled(ctx, 0); }
void DmSetPreviewInstalledOn(DriverContext* ctx) { CtxSetPLInstalled(ctx, 1); }
void DmSetDeviceModeOff(DriverContext* ctx) { CtxSetPropertyType(ctx, 0); }
void DmSetDeviceModeOn(DriverContext* ctx) { CtxSetPropertyType(ctx, 1); }
void DmSetUserCodeProvider2Off(DriverContext* ctx) { CtxSetUserCodeDLL(ctx, 0); }
void DmSetUserCodeProvider2On(DriverContext* ctx) { CtxSetUserCodeDLL(ctx, 1); }

void DmRecomputeEnvironmentFlags(DriverContext* ctx) {
  if (!CtxDm(ctx)) return;
  CtxSetPresentUIMode(ctx, ItemGetRawById(ctx, kItem_zdmUIModeChange) != 0);
  CtxSetBidiSupport(ctx, PrnIsBidiEnabled(ctx) ? 1 : 0);
  CtxSetServerClientMode(ctx, PrnIsOnServer(ctx) ? 1 : 0);
}

void DmSetEnvironmentFlags(DriverContext* ctx) {
  if (!CtxDm(ctx)) return;
  CtxSetCallSrc(ctx, 1);
  CtxSetOSKind(ctx, OsIsNt5OrLater() ? 2 : 1);
  CtxSetTSE(ctx, OsIsTerminalServer(ctx->printer) ? 1 : 0);
  CtxSetAdmin(ctx, OsIsAdminIfAsked(ctx) ? 1 : 0);
  CtxSetBatchInst(ctx, 1);
  CtxSetPrintLog(ctx, 0);
  CtxSetBiDirect(ctx, 0);
  CtxSetNoPermission(ctx, 0);
  DmRecomputeEnvironmentFlags(ctx);
  CtxSetUserCodeFix(ctx, ItemGetRawById(ctx, kItem_zdmLogCodeUse) != 0);
  CtxSetUserCodeGet(ctx, 0);
  const bool companions = DmVariantHas(kDmStepEnvCompanions) != 0;
  CtxSetJBInstalled(ctx, companions && InstIsCompanionInstalled(2, ctx) ? 1 : 0);
  CtxSetPLInstalled(ctx, companions && InstIsCompanionInstalled(8, ctx) ? 1 : 0);
  CtxSetPropertyType(ctx, 0);
  CtxSetUserCodeDLL(ctx, 0);
}
