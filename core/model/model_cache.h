// The compiled model description of a printer's driver, cached per process.
#pragma once

struct DriverContext;
struct ModelImage;

// The fixed-up compiled image for the context's printer, or null when none can be had. The
// context keeps the pointer and never frees it.
ModelImage* ModelLoadImage(DriverContext* ctx);

// Frees every cached compiled image of the process (process detach, before the parked
// contexts that point into them are destroyed).
void ModelFreeImageCache();
