// Each built deliverable exports exactly the names of its export list: read from the
// shared object's dynamic symbol table, compared with the list file.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/machine_fixture.h"

namespace {

std::set<std::string> ListedNames(const std::string& path) {
  std::set<std::string> names;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string w;
    if (words >> w) names.insert(w);
  }
  return names;
}

// Defined global symbols of an ELF32 shared object, versioned or not.
std::set<std::string> ExportedNames(const std::string& path) {
  std::set<std::string> names;
  std::ifstream in(path, std::ios::binary);
  std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (data.size() < sizeof(Elf32_Ehdr)) return names;
  auto* eh = reinterpret_cast<const Elf32_Ehdr*>(data.data());
  if (eh->e_ident[EI_CLASS] != ELFCLASS32) return names;
  auto* sh = reinterpret_cast<const Elf32_Shdr*>(data.data() + eh->e_shoff);
  for (int i = 0; i < eh->e_shnum; ++i) {
    if (sh[i].sh_type != SHT_DYNSYM) continue;
    const Elf32_Shdr& strtab = sh[sh[i].sh_link];
    auto* syms = reinterpret_cast<const Elf32_Sym*>(data.data() + sh[i].sh_offset);
    size_t count = sh[i].sh_size / sizeof(Elf32_Sym);
    for (size_t k = 0; k < count; ++k) {
      const Elf32_Sym& s = syms[k];
      int bind = ELF32_ST_BIND(s.st_info);
      int type = ELF32_ST_TYPE(s.st_info);
      if (s.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK)) continue;
      if (type != STT_FUNC && type != STT_OBJECT) continue;
      names.insert(data.data() + strtab.sh_offset + s.st_name);
    }
  }
  return names;
}

struct Deliverable {
  const char* name;
  const char* folder;
};

class ExportList : public ::testing::TestWithParam<Deliverable> {};

TEST_P(ExportList, BuiltLibraryExportsExactlyTheList) {
  const Deliverable d = GetParam();
  std::string lib = zems_test::BinDir() + "/" + d.name + ".so";
  std::string list = zems_test::SourceDir() + "/" + d.folder + "/" + d.name + ".exports";
  std::set<std::string> listed = ListedNames(list);
  ASSERT_FALSE(listed.empty()) << list;
  EXPECT_EQ(ExportedNames(lib), listed) << lib << " exports differ from " << list;
  void* h = dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(h, nullptr) << dlerror();
  for (const std::string& n : listed) EXPECT_NE(dlsym(h, n.c_str()), nullptr) << n;
  dlclose(h);
}

INSTANTIATE_TEST_SUITE_P(Deliverables, ExportList,
                         ::testing::Values(Deliverable{"zemsui", "ui2k"}, Deliverable{"zemsgr", "gr2k"},
                                           Deliverable{"zemsexc", "exclude"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
