// Minimal: the filter chain is not built yet (the filter plug-ins' install paths and the
// chain's multibyte entries). Until it is, building it fails, which the binding answers as it
// answers any chain that cannot be built: filter mode goes off and the job goes to the spool
// DLL. Replaced by the filter chain's own file.
#include "gr2k/spool_binding.h"

BOOL GrBuildFilterChain(GraphicsPdev*, const WCHAR*) { return FALSE; }
