// Minimal version until the model description lookups are built: answers as for a context
// without a model description (no descriptor).
#include "core/model/model_lookup.h"

const ModelItemDescriptor* ModelFindDescriptor(WORD, DriverContext*) { return nullptr; }
const ModelItemDescriptor* ModelFindDescriptorBySymbol(WORD, DriverContext*) { return nullptr; }

