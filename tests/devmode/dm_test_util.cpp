#include "dm_test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/sim.h"
#include "support/test_printer.h"

namespace zems_test {

std::vector<BYTE> OwnDevmode(DriverContext* ctx, DWORD version) {
  std::vector<BYTE> dm(ctx->settings, ctx->settings + kDmSize);
  dm[kDmOffMachineId] = 148;
  dm[kDmOffDriverType] = 0;
  WriteU32(dm.data(), kDmOffPrivateTag, ReadU32(reinterpret_cast<const BYTE*>("priv"), 0));
  WriteU32(dm.data(), kDmOffPrivateSize, 1016);
  WriteU32(dm.data(), kDmOffLayoutVersion, version);
  return dm;
}

void StorePrinterDevmodeRaw(const char16_t* printerName, const void* bytes, DWORD size) {
  std::u16string path = u"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
  path += printerName;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, reinterpret_cast<LPCWSTR>(path.c_str()), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, reinterpret_cast<LPCWSTR>(u"Default DevMode"), 0, REG_BINARY,
                           static_cast<const BYTE*>(bytes), size),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

bool HeaderIntact(const BYTE* block) {
  return ReadU16(block, kDmOffSize) == 220 && ReadU16(block, kDmOffDriverExtra) == 1016 &&
         ReadU16(block, kDmOffAreaOffsets) == 0 && ReadU16(block, kDmOffAreaOffsets + 2) == 1236 &&
         ReadU16(block, kDmOffAreaOffsets + 4) == 6500;
}

namespace {
std::string JobControlLog() { return std::string(SimMachineRoot()) + "/stand-ins/orvjc32.log"; }
}  // namespace

void InstallJobControl() {
  InstallStandIn("ORVJC32.DLL", "orvjc32.so");
  std::error_code ec;
  std::filesystem::remove(JobControlLog(), ec);
}

std::vector<std::string> JobControlCalls() {
  std::vector<std::string> calls;
  std::ifstream in(JobControlLog());
  for (std::string line; std::getline(in, line);) {
    std::string call = line.substr(0, line.find(' '));
    if (call == "slot4") {
      const size_t at = line.find(" property=");
      call += line.substr(at, line.find(' ', at + 1) - at);
    }
    if (calls.empty() || calls.back() != call) calls.push_back(call);
  }
  return calls;
}

}  // namespace zems_test
