// The sample printer "Office" with an open context, and plain helpers for the files and ini
// keys of the simulated machine that the correction and package tests read and write.
#pragma once
#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "support/test_printer.h"

namespace zems_test {

std::u16string W(const std::string& s);
std::string N(const std::u16string& s);

// Bytes of a machine file ("<missing>" when it cannot be read) and a file written whole,
// folders made as needed.
std::string ReadFileBytes(const std::u16string& path);
void WriteFileBytes(const std::u16string& path, const std::string& bytes);
bool FileThere(const std::u16string& path);
// A key of a section ("<absent>" when missing) and a key written.
std::string IniKey(const std::u16string& file, const std::string& section, const std::string& key);
void SetIniKey(const std::u16string& file, const std::string& section, const std::string& key,
               const std::string& value);
// The leaf names of a folder, sorted.
std::vector<std::string> FolderLeaves(const std::u16string& folder);

class StoreFilesTest : public ContextTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The per-machine and per-user settings inis of "Office" and their folders (no trailing "\").
  std::u16string MachineIni();
  std::u16string UserIni();
  std::u16string MachineFolder();
  std::u16string UserFolder();
  PRINTER_INFO_2* Info() { return info_; }

  DriverContext* ctx_ = nullptr;
  PRINTER_INFO_2* info_ = nullptr;
};

}  // namespace zems_test
