// Minimal version until the model description lookups are built: answers as for a context
// without a model description (no descriptor, so no model default either).
#include "core/model/model_lookup.h"

const ModelItemDescriptor* ModelFindDescriptor(WORD, DriverContext*) { return nullptr; }
const ModelItemDescriptor* ModelFindDescriptorBySymbol(WORD, DriverContext*) { return nullptr; }

LONG_PTR ModelGetItemDefault(WORD, DriverContext*) { return 0; }
