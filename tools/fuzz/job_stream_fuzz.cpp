// Fuzz target: any bytes as a job stream. The reader walks blocks, pages and records and the
// dump prints what was read; a structural error is an answer, a read outside the input (a
// sanitizer report) or a crash is a finding.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "host/job_stream/job_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  JsJob job;
  JsError err;
  JsRead(data, size, &job, &err);
  std::string out;
  JsDump(job, kJsDumpBlocks | kJsDumpRecords | kJsDumpHex, 0, &out);
  return 0;
}
