// Minimal: the output-size adjustments are not built yet. Until they are, they change nothing
// and save no set, so the round trip around the DEVMODE block finds no marked set in a job.
// Replaced by the job strings and the job DEVMODE across documents.
#include "gr2k/output_size.h"

void JobFitOutputSize1(DriverContext*) {}
void JobFitOutputSize2(DriverContext*) {}
