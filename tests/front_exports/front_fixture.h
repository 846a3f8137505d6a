// The sample printer installed by zemshost, with the printer interface's exports built into
// the test program, so that a test sees the same context cache and busy count they use.
#pragma once
#include <string>
#include <vector>

#include "platform/win32.h"
#include "store_install/install_fixture.h"

extern "C" {
DWORD WINAPI DrvDeviceCapabilities(HANDLE printer, LPWSTR deviceName, WORD capability, PVOID output,
                                   PDEVMODEW devmode);
BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO query);
BOOL WINAPI DrvPrinterEvent(LPWSTR printerName, int driverEvent, DWORD flags, LPARAM lParam);
int WINAPI DrvDocumentEvent(HANDLE printer, HDC dc, int escape, ULONG cbIn, PVOID input, ULONG cbOut, PVOID output);
BOOL WINAPI DrvUpgradePrinter(DWORD level, LPBYTE upgradeInfo);
LONG WINAPI DrvDocumentProperties(HWND window, HANDLE printer, LPWSTR deviceName, PDEVMODEW output, PDEVMODEW input,
                                  DWORD mode);
LONG WINAPI DrvAdvancedDocumentProperties(HWND window, HANDLE printer, LPWSTR deviceName, PDEVMODEW output,
                                          PDEVMODEW input);
BOOL WINAPI DrvConvertDevMode(LPWSTR printerName, PDEVMODEW input, PDEVMODEW output, PLONG cbNeeded, DWORD mode);
}

namespace zems_test {

class FrontTest : public SamplePrinterTest {
 protected:
  static LPWSTR Name() { return const_cast<LPWSTR>(TEXT("ZEMS Printer")); }
  // Printer data of the sample printer, as the machine's set-up writes it.
  void SetData(const char16_t* name, DWORD type, const void* data, DWORD size);
  void DeleteData(const char16_t* name);
  bool HasData(const char16_t* name);
  // The driver default DEVMODE of the sample printer (DrvConvertDevMode), 1236 bytes.
  std::vector<BYTE> DriverDefault();
  // The stored DEVMODE (PRINTER_INFO_2 pDevMode), empty when there is none, and a new one.
  std::vector<BYTE> StoredDevmode();
  void SetStoredDevmode(const std::vector<BYTE>& dm);
  // A second printer of the sample's driver, added without a DEVMODE and without the
  // spooler's initialize event; with a server name, a printer shared from that server.
  HANDLE AddBarePrinter(const char16_t* name, const char16_t* server = nullptr);
  // The driver's model description out of reach (no context opens) and back; TearDown puts it
  // back.
  void HideModel();
  void ShowModel();
  void TearDown() override;
  // The machine as a multi-session host, where the install stamps are written.
  void MultiSession();
  // The settings ini of the printer and a key of its section ("<absent>" when missing).
  std::u16string SettingsIni();
  std::u16string SettingsKey(const char16_t* key);

 private:
  std::string model_;
};

}  // namespace zems_test
