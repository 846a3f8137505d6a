// The presets of the sheets, refreshed as when a sheet opens.
#pragma once

struct DriverContext;

// Refreshes the preset lists for the sheet kind (1: printer properties). 1 on success.
int PresetRefreshOnOpen(DriverContext* ctx, int kind);
