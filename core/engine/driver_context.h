// The driver context: the per-printer working state every entry point opens and releases.
// Fields in the order of the context record; the open, cache and release live with it.
#pragma once

#include "platform/win32.h"

struct SettingItemTable;
struct SymbolEntry;
struct ValueSymbol;
struct MessageEntry;
struct ModelRecord;
struct ModelImage;
struct UiState;
struct DlgPageTable;

struct DriverContext {
  HANDLE printer;
  HANDLE secondHandle;
  WORD currentPage;
  SettingItemTable* items;
  DlgPageTable* pages;
  const void* symbols;
  const void* valueSymbols;
  const void* valueSymbols2;
  const void* messages;
  ModelRecord* model;
  BYTE* settings;  // the settings block; null in open modes 4 and above
  ModelImage* modelImage;
  UiState* ui;
  HMODULE languageDll;
  HMODULE commonDll;
};

// The initial-settings copy and the lock-default copy of the settings block kept in the UI
// state, or null when the context has none.
BYTE* CtxInitialSettingsBlock(DriverContext* ctx);
BYTE* CtxLockDefaultSettingsBlock(DriverContext* ctx);
