// Fuzz target: any bytes as the contents of a model cache file. Whatever the check accepts is
// fixed up and read through every lookup and judge; a crash or sanitizer report is a finding.
// At start the target compiles every description found in the folders it is given; its
// mutator starts from those stored images whenever an input is no image, and also writes
// in-range offsets over links, so the runs reach deep into the check. (Under the 32-bit
// emulator libFuzzer may find no files in its corpus folders; the seeds do not depend on it.)
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/common/mem.h"
#include "core/items/item_table.h"
#include "core/model/image_validate.h"
#include "core/model/model_image.h"
#include "core/rules/judge_eval.h"
#include "model/image_exercise.h"

namespace {

DriverContext* Context() {
  static UiState ui = {};
  static DriverContext ctx = [] {
    DriverContext c = {};
    c.items = ItemTableCreate();
    c.ui = &ui;
    return c;
  }();
  static int stack = ModelAllocEvalStack(&ctx);
  (void)stack;
  return &ctx;
}

std::vector<std::string>& Seeds() {
  static std::vector<std::string> seeds;
  return seeds;
}

// The 64-bit forms: inode numbers of the host may not fit the 32-bit ones.
bool IsFolder(const char* path) {
  struct stat64 st;
  return stat64(path, &st) == 0 && S_ISDIR(st.st_mode);
}

void SeedFrom(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent64* e = readdir64(dir)) {
    std::string name = e->d_name;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".zmd") != 0) continue;
    std::ifstream in(folder + "/" + name, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ModelImageHeader* image = ModelCompileMemory(text.data(), static_cast<DWORD>(text.size()), 1252);
    if (!image) continue;
    Seeds().emplace_back(reinterpret_cast<const char*>(image), image->totalSize);
    MemFree(image);
  }
  closedir(dir);
}

}  // namespace

// Every run allocates blocks of the image's size; a smaller quarantine keeps the 32-bit address
// space of the emulator from running out.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  bool maxLen = false;
  for (int i = 1; i < *argc; ++i) {
    const char* arg = (*argv)[i];
    maxLen = maxLen || strncmp(arg, "-max_len=", 9) == 0;
    if (arg[0] != '-' && IsFolder(arg)) SeedFrom(arg);
  }
  // Images are larger than libFuzzer's default input bound.
  if (!maxLen) {
    static std::vector<char*> args;
    static char flag[] = "-max_len=1048576";
    args.assign(*argv, *argv + *argc);
    args.insert(args.begin() + 1, flag);
    args.push_back(nullptr);
    *argc += 1;
    *argv = args.data();
  }
  return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  const std::vector<std::string>& seeds = Seeds();
  if (size <= 7996 && !seeds.empty()) {
    const std::string& s = seeds[seed % seeds.size()];
    if (s.size() <= maxSize) {
      memcpy(data, s.data(), s.size());
      size = s.size();
    }
  }
  if (size > 7996 && seed % 2 == 0) {
    // An in-range offset written over an aligned word: links that still lead somewhere.
    size_t at = (seed / 2 % (size / 4)) * 4;
    DWORD value = static_cast<DWORD>((seed / 7) % size);
    if (seed % 3 == 0) value = value * 16 + 1;
    memcpy(data + at, &value, 4);
    return size;
  }
  return LLVMFuzzerMutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (size <= 7996 || size > (4u << 20)) return 0;
  // A block of exactly the input's size, so that a read past the end is caught.
  BYTE* bytes = static_cast<BYTE*>(malloc(size));
  if (!bytes) return 0;
  memcpy(bytes, data, size);
  if (ModelValidateStoredImage(bytes, static_cast<DWORD>(size))) {
    ModelImageHeader* image = reinterpret_cast<ModelImageHeader*>(bytes);
    ModelFixUpImage(image);
    model_test::ExerciseImage(image, Context());
  }
  free(bytes);
  return 0;
}
