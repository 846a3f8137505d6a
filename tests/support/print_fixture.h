// The print fixture: the sample printer "Print" on a fresh machine with its stand-ins, the
// graphics DLL loaded through the machine's loader and enabled as GDI enables it, and job
// DEVMODEs of that printer with items changed through the catalogue.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/ddi.h"
#include "platform/sim_gdi.h"
#include "platform/win32.h"
#include "support/machine_fixture.h"

namespace zems_test {

// A catalogue item (by name) and the stored value to give it.
typedef std::pair<std::string, LONG> ItemValue;

class PrintTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The job DEVMODE of "Print" (its defaults), with the items changed as listed; the bytes
  // are dmSize + dmDriverExtra long. Fails the test for an unknown item name.
  std::vector<BYTE> JobDevmode(const std::vector<ItemValue>& items = {});

  // Reads the script (a reader error fails the test) and plays it on "Print" with the options
  // given; job DEVMODE changes go through the catalogue as zemshost print makes them.
  winsim::PrintSessionResult RunScript(const std::string& script,
                                       winsim::PrintSessionOptions options = winsim::PrintSessionOptions());

  // The DDI function of the enabled table with this index (null when it is not there).
  template <class F>
  F Ddi(ULONG index) const {
    for (ULONG i = 0; i < enable_.c; ++i)
      if (enable_.pdrvfn[i].iFunc == index) return DdiFunctionCast<F>(enable_.pdrvfn[i].pfn);
    return nullptr;
  }
  // A DLL export by name.
  template <class F>
  F Export(const char* name) const {
    return DdiFunctionCast<F>(GetProcAddress(dll_, name));
  }

  // DrvEnablePDEV on "Print" with the DEVMODE bytes (null: none) in a buffer of exactly their
  // size; gdi_ and devInfo_ receive GDI's full buffers. The device handle is made and bound.
  DHPDEV EnablePdev(const std::vector<BYTE>* dm);
  // DrvEnablePDEV, DrvCompletePDEV; DrvDisablePDEV at TearDown unless DisablePdev ran.
  DHPDEV EnableCompletePdev(const std::vector<BYTE>* dm);
  void DisablePdev(DHPDEV pdev);
  // EnableCompletePdev for the job DEVMODE with these items changed.
  DHPDEV EnableJob(const std::vector<ItemValue>& items);

  HMODULE dll_ = nullptr;
  HANDLE printer_ = nullptr;
  HDEV hdev_ = nullptr;
  DRVENABLEDATA enable_ = {};
  GDIINFO gdi_ = {};
  DEVINFO devInfo_ = {};
  std::vector<DHPDEV> pdevs_;
};

}  // namespace zems_test
