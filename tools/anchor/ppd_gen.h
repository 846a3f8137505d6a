// The PPD equal to a generated model description (tools/model_gen.h): one PickOne option per
// item with the item's values as its choices and their commands, the description's default,
// and one UIConstraints pair per rule between the items the rules relate, padded with longer
// choice texts to about the description's bytes. It is the other side of the benchmarks'
// comparison with CUPS, so both parsers read the same amount of the same structure.
#pragma once
#include <string>

#include "tools/model_gen.h"

// The PPD text of a shape; targetBytes is the size to reach (the description's), 0 for none.
std::string GeneratePpd(const ModelGenShape& shape, size_t targetBytes);
