// Lookups of the model description held by a driver context.
#pragma once
#include "core/context/driver_context.h"
#include "platform/win32.h"

struct ModelItemDescriptor;

// The item's descriptor (the slot of its id range, else the first along the list); null for
// id 0 or a context without a model description.
const ModelItemDescriptor* ModelFindDescriptor(WORD id, DriverContext* ctx);
// The first descriptor along the list whose symbol id matches; null when none.
const ModelItemDescriptor* ModelFindDescriptorBySymbol(WORD symbol, DriverContext* ctx);

// The model default of the item (the stored value its descriptor gives); 0 when there is none.
LONG_PTR ModelGetItemDefault(WORD id, DriverContext* ctx);
