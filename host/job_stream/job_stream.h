// The job-stream reader: walks the blocks a print job sent to the spool side, joins each page's
// display-list payloads and walks every record by its length rule, checking the structure.
// Input is outside data: every read is bounded by the input, and a structural error is data
// (offset and message), never a read outside.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

struct JsBlock {
  size_t offset;  // of the block head in the stream
  uint32_t type;
  uint32_t length;
  const uint8_t* payload;
};

struct JsRecord {
  size_t offset;  // in the page's joined display list
  uint8_t opcode;
  uint32_t length;
  const uint8_t* bytes;
};

struct JsPage {
  int number;                       // 1-based, in stream order of page headers
  std::vector<size_t> blocks;       // indexes into JsJob::blocks, page header to page end
  std::vector<uint8_t> displayList; // the page's display-list payloads joined
  std::vector<JsRecord> records;
};

struct JsError {
  bool failed = false;
  size_t offset = 0;   // in the stream, or in the page's display list when page > 0
  int page = 0;
  std::string message;
};

struct JsJob {
  std::vector<JsBlock> blocks;
  std::vector<JsPage> pages;
};

// Reads a job stream. false with err filled at the first structural error; job holds what was
// read up to it. The blocks point into data, which must outlive job.
bool JsRead(const uint8_t* data, size_t size, JsJob* job, JsError* err);

// Names for the dump.
const char* JsBlockName(uint32_t type);
const char* JsRecordName(uint8_t opcode);

// The dump of zemshost job dump; what selects the parts shown.
enum : unsigned {
  kJsDumpBlocks = 1,
  kJsDumpRecords = 2,
  kJsDumpHex = 4,
};
// Appends the dump of job (page 0: every page) to out.
void JsDump(const JsJob& job, unsigned what, int page, std::string* out);

// Unpacks glyph rows packed by the driver (compression 2) into exactly capacity bytes; what the
// tokens leave (the trailing zero bytes) is zero. false when a token is cut off or would write
// beyond capacity.
bool JsGlyphUnpack(const uint8_t* in, size_t cb, uint8_t* out, size_t capacity);
