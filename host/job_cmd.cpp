// zemshost job dump FILE: shows what a print job sent to the spool side, block by block and
// record by record, and checks its structure.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <sstream>
#include <string>

#include "host/commands.h"
#include "host/job_stream/job_stream.h"

namespace {

constexpr size_t kMaxStreamBytes = 1u << 30;

int Fail(const std::string& message, int status = 1) {
  fprintf(stderr, "zemshost job: %s\n", message.c_str());
  return status;
}

int Help() {
  printf("usage: zemshost job dump FILE [--blocks|--records|--hex] [--page N] [--check]\n"
         "Reads the job stream FILE (what zemsgr sent to the spool DLL or filter) and prints its\n"
         "blocks with their offsets (command text with other bytes as <HH>, the DEVMODE block's\n"
         "public fields) and each page's display-list records with their fields. --blocks or\n"
         "--records shows only that part, --hex adds the bytes, --page N only page N; --check\n"
         "prints nothing but the verdict. A structural error names its offset (in the stream,\n"
         "or in the page's joined display list) and exits with status 1.\n");
  return 0;
}

int Dump(int argc, char** argv) {
  const char* file = nullptr;
  unsigned what = 0;
  bool check = false;
  int page = 0;
  for (int i = 0; i < argc; ++i) {
    const char* a = argv[i];
    if (!strcmp(a, "--help") || !strcmp(a, "-h")) return Help();
    if (!strcmp(a, "--blocks")) what |= kJsDumpBlocks;
    else if (!strcmp(a, "--records")) what |= kJsDumpRecords;
    else if (!strcmp(a, "--hex")) what |= kJsDumpHex;
    else if (!strcmp(a, "--check")) check = true;
    else if (!strcmp(a, "--page")) {
      if (i + 1 >= argc) return Fail("--page needs a page number", 2);
      char* end = nullptr;
      long n = strtol(argv[++i], &end, 10);
      if (*end || n < 1 || n > 1000000) return Fail(std::string("--page: '") + argv[i] + "' is not a page number", 2);
      page = int(n);
    } else if (a[0] == '-') {
      return Fail(std::string("unknown option '") + a + "' (see zemshost job dump --help)", 2);
    } else if (!file) {
      file = a;
    } else {
      return Fail(std::string("more than one FILE: '") + a + "'", 2);
    }
  }
  if (!file) return Fail("dump needs a FILE (see zemshost job dump --help)", 2);
  std::ifstream in(file, std::ios::binary);
  if (!in) return Fail(std::string("cannot read '") + file + "'");
  std::ostringstream buf;
  buf << in.rdbuf();
  std::string data = buf.str();
  if (data.size() > kMaxStreamBytes) return Fail(std::string("'") + file + "' is larger than 1 GiB");

  JsJob job;
  JsError err;
  bool ok = JsRead(reinterpret_cast<const uint8_t*>(data.data()), data.size(), &job, &err);
  if (!check) {
    if (!(what & (kJsDumpBlocks | kJsDumpRecords))) what |= kJsDumpBlocks | kJsDumpRecords;
    if (page > 0 && size_t(page) > job.pages.size() && ok)
      return Fail(std::string(file) + ": no page " + std::to_string(page) + " (the job has " +
                  std::to_string(job.pages.size()) + ")");
    std::string out;
    out += std::string("job stream ") + file + ": " + std::to_string(data.size()) + " bytes, " +
           std::to_string(job.blocks.size()) + " blocks, " + std::to_string(job.pages.size()) + " pages\n";
    JsDump(job, what, page, &out);
    fputs(out.c_str(), stdout);
  }
  if (!ok) {
    char where[64];
    if (err.page) snprintf(where, sizeof where, "page %d display list offset 0x%zx", err.page, err.offset);
    else snprintf(where, sizeof where, "offset 0x%zx", err.offset);
    return Fail(std::string(file) + ": " + where + ": " + err.message);
  }
  if (check) printf("%s: ok, %zu blocks, %zu pages\n", file, job.blocks.size(), job.pages.size());
  return 0;
}

int Dispatch(int argc, char** argv) { return Dump(argc, argv); }

}  // namespace

int CmdJob(int argc, char** argv) {
  static const HostCommand kJobCommands[] = {
      {"dump", "show and check a job stream's blocks and records", Dispatch},
  };
  return RunCommand("zemshost job", kJobCommands, 1, "Each command takes --help.\n", argc, argv);
}
