// The preset and quality-list stores of the printer's settings ini: counts, applying a slot
// to the items and saving the items back into the slot's file.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// "Count" of the printer's presets (0 when absent).
int PresetGetCount(DriverContext* ctx);
// Applies preset n (0-15) to the items.
void PresetApplySlot(DriverContext* ctx, int n);
// 1 unless preset n's file is read-only (0 for n outside 0-15).
int PresetSlotIsWritable(DriverContext* ctx, int n);
// Saves the items into preset n's settings file only.
void PresetSaveSlotItems(DriverContext* ctx, int n);

// "QualityCount" of the printer's quality lists (0 when absent).
int QualityGetCount(DriverContext* ctx);
// Applies quality list n to the quality items.
void QualityApplySlot(DriverContext* ctx, int n);
// Saves the quality items into list n's file only.
void QualitySaveSlotFile(DriverContext* ctx, int n);
