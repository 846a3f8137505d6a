// zemshost demo: the driver's main paths on the sample model, as far as the driver has them.
// It installs the sample printer into the machine, shows what the spooler then knows of it,
// and loads each driver DLL the way the spooler, GDI and an application would.
#include "host/commands.h"

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include <string.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/common/draw_ui.h"
#include "host/host_text.h"
#include "platform/sim.h"
#include "platform/win32.h"

namespace {

int RunMachine(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  return CmdMachine(int(argv.size()), argv.data());
}

// Prints the driver files the spooler hands to the driver (measure, then fill) and keeps the
// paths of the two DLLs the spooler and GDI load.
bool ShowDriver(const WCHAR* printer, std::u16string& graphics, std::u16string& interface) {
  HANDLE h = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(printer), &h, nullptr)) return false;
  DWORD needed = 0;
  GetPrinterDriverW(h, nullptr, 3, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  bool ok = GetPrinterDriverW(h, nullptr, 3, buffer.data(), DWORD(buffer.size()), &needed) != FALSE;
  if (ok) {
    const DRIVER_INFO_3W* d = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    printf("  driver      %s\n  graphics    %s\n  interface   %s\n  model file  %s\n", Narrow(d->pName).c_str(),
           Narrow(d->pDriverPath).c_str(), Narrow(d->pConfigFile).c_str(), Narrow(d->pDataFile).c_str());
    graphics = reinterpret_cast<const char16_t*>(d->pDriverPath);
    interface = reinterpret_cast<const char16_t*>(d->pConfigFile);
  }
  ClosePrinter(h);
  return ok;
}

// Loads a driver DLL by name as its host would; its DllMain runs at the first load and the
// last free.
bool LoadDeliverable(const WCHAR* name) {
  HMODULE m = LoadLibraryW(name);
  if (!m) {
    printf("  %s cannot be loaded (error %lu)\n", Narrow(name).c_str(), GetLastError());
    return false;
  }
  WCHAR path[MAX_PATH] = {};
  GetModuleFileNameW(m, path, MAX_PATH);
  printf("  %s: loaded as %s, DllMain %s\n", Narrow(name).c_str(), Narrow(path).c_str(),
         GetProcAddress(m, "DllMain") ? "exported" : "MISSING");
  return FreeLibrary(m) != FALSE;
}

// Prints the unit names and help strings of each language DLL in the driver folder.
bool ShowLanguageDlls(const std::u16string& graphics) {
  std::u16string folder = graphics.substr(0, graphics.find_last_of(u'\\') + 1);
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(reinterpret_cast<const WCHAR*>((folder + u"zemsres??.dll").c_str()), &found);
  if (find == INVALID_HANDLE_VALUE) {
    printf("  no language DLL in %s\n", Narrow(reinterpret_cast<const WCHAR*>(folder.c_str())).c_str());
    return false;
  }
  bool ok = true;
  do {
    std::u16string path = folder + reinterpret_cast<const char16_t*>(found.cFileName);
    HMODULE dll = LoadLibraryW(reinterpret_cast<const WCHAR*>(path.c_str()));
    if (!dll) {
      printf("  %s cannot be loaded (error %lu)\n", Narrow(found.cFileName).c_str(), GetLastError());
      ok = false;
      continue;
    }
    printf("  %s\n", Narrow(found.cFileName).c_str());
    const struct {
      UINT id;
      const char* label;
    } strings[] = {{153, "metric unit"}, {154, "inch unit"}, {15000, "help 15000"}, {15001, "help 15001"},
                   {15002, "help 15002"}};
    for (const auto& s : strings) {
      WCHAR text[261] = {};  // a missing string leaves the buffer as it was
      LoadStringW(dll, s.id, text, 261);
      std::string shown = Narrow(text);
      if (shown.size() > 60) shown = shown.substr(0, 57) + "...";
      printf("    %-11s %s\n", s.label, shown.c_str());
    }
    // The pictures the pages draw from it: a button face, a paper value and the printer.
    std::string pictures;
    for (UINT id : {220u, 3000u, 2067u}) {
      HBITMAP bitmap = DuiLoadBitmap(dll, MAKEINTRESOURCEW(id));
      LONG width = 0, height = 0;
      WORD bits = 0;
      if (DuiBitmapSize(bitmap, &width, &height, &bits))
        pictures += " " + std::to_string(id) + ": " + std::to_string(width) + " x " + std::to_string(height) + ", " +
                    std::to_string(bits) + " bits;";
      else
        pictures += " " + std::to_string(id) + ": missing;";
      DuiDeleteBitmap(bitmap);
    }
    printf("    pictures   %s\n", pictures.c_str());
    FreeLibrary(dll);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return ok;
}

// Runs zemshost with these (shell-quoted) arguments in a process of its own.
bool HostInNewProcess(const std::string& arguments) {
  char self[4096] = {};
  ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
  if (n <= 0) return false;
  std::string cmd = "ZEMS_MACHINE_ROOT='" + std::string(SimMachineRoot()) + "' '" + std::string(self, size_t(n)) +
                    "' " + arguments;
  fflush(stdout);
  return system(cmd.c_str()) == 0;
}

// What the install pass of the initialize event left for the sample printer: the settings
// folder with the preset and quality lists of the sample pack, and the identity values in
// printer data (also shown by zemshost machine data get).
bool ShowInstallPass(const char* printer) {
  const WCHAR* settings = TEXT("C:\\_zems\\OV1BD170.ini");
  if (GetFileAttributesW(TEXT("C:\\_zems")) == INVALID_FILE_ATTRIBUTES) {
    printf("  no settings folder C:\\_zems\n");
    return false;
  }
  std::u16string section = Wide(printer);
  auto key = [&](const std::string& name) {
    WCHAR value[261] = {};
    GetPrivateProfileStringW(reinterpret_cast<const WCHAR*>(section.c_str()),
                             reinterpret_cast<const WCHAR*>(Wide(name).c_str()), TEXT(""), value, 261, settings);
    return Narrow(value);
  };
  printf("  settings ini  C:\\_zems\\OV1BD170.ini\n");
  printf("  default pack  %s\n", key("DefaultRst").c_str());
  const int presets = atoi(key("Count").c_str());
  for (int n = 0; n < presets; ++n)
    printf("  preset %d      %-14s %s\n", n, key("PresetList" + std::to_string(n) + "Name").c_str(),
           key("PresetList" + std::to_string(n)).c_str());
  const int qualities = atoi(key("QualityCount").c_str());
  for (int n = 0; n < qualities; ++n)
    printf("  quality %d     %-14s %s\n", n, key("QualityList" + std::to_string(n) + "Name").c_str(),
           key("QualityList" + std::to_string(n)).c_str());
  bool ok = presets > 0;
  for (const char* value : {"ZEMSPrinterName", "DriverName"}) {
    printf("  %-13s ", value);
    fflush(stdout);
    ok = RunMachine({"data", "get", printer, value}) == 0 && ok;
  }
  return ok;
}


}  // namespace

int CmdDemo(int argc, char** argv) {
  std::string model = ZEMS_SOURCE_DIR "/samples/models/zems_c4.zmd";
  for (int i = 0; i < argc; ++i) {
    if (strcmp(argv[i], "--help") == 0) {
      printf("usage: zemshost demo [--model FILE]\n"
             "Installs the sample printer into the simulated machine (ZEMS_MACHINE_ROOT), shows what\n"
             "the spooler knows of it, compiles its model description and loads the three driver DLLs. FILE defaults to the sample\n"
             "model description of the source tree.\n");
      return 0;
    }
    if (strcmp(argv[i], "--model") == 0 && i + 1 < argc) {
      model = argv[++i];
    } else {
      fprintf(stderr, "zemshost demo: unknown argument '%s'\n", argv[i]);
      return 2;
    }
  }
  printf("== machine root: %s\n", SimMachineRoot());
  printf("== install the sample printer\n");
  // The sample model data file (factory watermarks and custom sizes) goes beside the driver.
  if (RunMachine({"install", "--model", model, "--extra", ZEMS_SOURCE_DIR "/samples/driver/OV1BD172.ini"}) != 0)
    return 1;
  printf("== printers\n");
  if (RunMachine({"list"}) != 0) return 1;
  const WCHAR* printer = TEXT("ZEMS Printer");
  printf("== what the spooler gives the driver\n");
  std::u16string graphics, interface;
  if (!ShowDriver(printer, graphics, interface)) {
    fprintf(stderr, "zemshost demo: the spooler does not know the sample printer (error %lu)\n", GetLastError());
    return 1;
  }
  printf("== the model description compiled: its rules and image (zemshost model compile)\n");
  {
    std::vector<std::string> args = {"compile", model};
    std::vector<char*> argv2;
    for (auto& a : args) argv2.push_back(&a[0]);
    if (CmdModel(static_cast<int>(argv2.size()), argv2.data()) != 0) return 1;
  }
  printf("== what the driver's install pass left (initialize event): settings folder, pack lists, identity\n");
  if (!ShowInstallPass("ZEMS Printer")) {
    fprintf(stderr, "zemshost demo: the install pass left no preset list\n");
    return 1;
  }
  printf("== the driver DLLs, loaded as the spooler, GDI and applications load them\n");
  bool ok = true;
  // The spooler and GDI load the driver's files by path; an application loads zemsexc by name.
  for (const WCHAR* dll : {reinterpret_cast<const WCHAR*>(interface.c_str()),
                           reinterpret_cast<const WCHAR*>(graphics.c_str()), TEXT("zemsexc.dll")})
    ok = LoadDeliverable(dll) && ok;
  printf("== the language resource DLLs\n");
  ok = ShowLanguageDlls(graphics) && ok;
  printf("== the model image in two processes, read from the cache file the install pass stored\n");
  ok = HostInNewProcess("model load 'ZEMS Printer'") && ok;
  ok = HostInNewProcess("model load 'ZEMS Printer'") && ok;
  printf("== the papers and bins the sample printer offers, asked through DrvDeviceCapabilities (zemshost model caps)\n");
  ok = HostInNewProcess("model caps 'ZEMS Printer'") && ok;
  printf("== a setting change: an envelope turns stapling and duplex off (zemshost model set)\n");
  ok = HostInNewProcess("model set 'ZEMS Printer' zdmStapleType=ZDMSTAPLETYPE_LEFT2 zdmFuncSelectDuplex=ZDMFUNCSELECTDUPLEX_ON "
                       "dmPaperSize=DMPAPERSIZE_ENV10") && ok;
  printf("== a job's PJL lines through zemsexc: no duplex unit, then N-up turns scaling off (zemshost pjl)\n");
  ok = HostInNewProcess("pjl '" ZEMS_SOURCE_DIR "/samples/jobs/job_base.pjl' --update '@PJL SET NUP = 4IN1P1' --values TRAY") && ok;
  printf("== the printing-preferences sheet of zemsui on the window fake, confirmed (zemshost prefs)\n");
  ok = HostInNewProcess("prefs 'ZEMS Printer' --ok --summary") && ok;
  printf("== a user's steps on the printing preferences: Letter, staple on, 3 copies, OK (zemshost prefs)\n");
  ok = HostInNewProcess("prefs 'ZEMS Printer' --summary --choose 2017=DMPAPERSIZE_LETTER --check 2099 "
                        "--type 2059=3 --ok") && ok;
  printf("== with the duplex unit installed (zemshost machine data set ... Duplex): A5, then duplex on\n"
         "   raises the duplex warning, answered OK; the DEVMODE keeps both (zemshost prefs)\n");
  ok = HostInNewProcess("machine data set 'ZEMS Printer' Duplex --type dword 1") && ok;
  ok = HostInNewProcess("prefs 'ZEMS Printer' --summary --choose 2017=DMPAPERSIZE_A5 --answer IDOK --check 2086 --ok") &&
       ok;
  ok = HostInNewProcess("machine data delete 'ZEMS Printer' Duplex") && ok;
  printf("== the preset list's right-button menu opens the detailed sheet, where the preset is\n"
         "   renamed \"Draft\"; both sheets confirmed (zemshost prefs --right-click, --menu, --sheet)\n");
  ok = HostInNewProcess("prefs 'ZEMS Printer' --summary --menu 20002 --sheet IDOK --right-click 2001=1 "
                        "--type 2389=Draft --end-sheet --ok") && ok;
  printf("== the printer-properties sheet, cancelled (zemshost prefs --device)\n");
  ok = HostInNewProcess("prefs 'ZEMS Printer' --device --cancel --summary") && ok;
  printf("== the settings saved through the driver's save dialog: a name typed without extension is\n"
         "   saved as .rst, another extension is asked about first (zemshost filedialog)\n");
  ok = HostInNewProcess("filedialog 'ZEMS Printer' TOV_FILESAVE --step 'C:\\mine=ok'") && ok;
  ok = HostInNewProcess("filedialog 'ZEMS Printer' TOV_FILESAVE --step 'C:\\other.txt=ok' --answer ok") && ok;
  // -- the application interface
  printf("== the application interface of zemsexc: three copies, a transparency moves the output tray (zemshost api)\n");
  ok = HostInNewProcess("api --printer 'ZEMS Printer' --level 16 --set 9=3 --set 3=2 --get 4 --devmode 4") && ok;
  printf("== the application interface: a locked print with user ID and password, then staple (zemshost api)\n");
  ok = HostInNewProcess("api --printer 'ZEMS Printer' --level 16 --set '10:0=2,4=1,8=3,12=ann1,21=\"4711\"' "
                        "--set 20=33/1 --get 10 --get 20") && ok;
  // -- end of the application interface
  printf("== a two-page raster job through zemsgr to the spool DLL stand-in (zemshost print --raster)\n");
  ok = HostInNewProcess("print '" ZEMS_SOURCE_DIR "/samples/print/two_pages.zds' --raster --trace") && ok;
  printf("== the job stream the stand-in received (zemshost job dump)\n");
  ok = HostInNewProcess("job dump '" + std::string(SimMachineRoot()) + "/stand-ins/ov1bc123/1.zjs' --records") && ok;
  printf("== a vector page: brushes, hatches, dashed and wide lines, curves and clips as drawing records (zemshost print)\n");
  ok = HostInNewProcess("print '" ZEMS_SOURCE_DIR "/samples/print/shapes.zds' --trace") && ok;
  printf("== its display list: state, clip and path records (zemshost job dump)\n");
  // Each process numbers its jobs from 1: this job's stream took the place of the raster one.
  ok = HostInNewProcess("job dump '" + std::string(SimMachineRoot()) + "/stand-ins/ov1bc123/1.zjs' --records") && ok;
  printf("== a vector job in the printer's resident fonts: GDI asks zemsgr for the four faces, their glyph sets\n"
         "   and extents, and lays out text by the advances the driver gives (zemshost print --vector)\n");
  ok = HostInNewProcess("print '" ZEMS_SOURCE_DIR "/samples/print/device_fonts.zds' --vector --trace") && ok;
  printf("== a letter: text in the engine's outline fonts as character codes, a fixed-pitch run and\n"
         "   resident Mincho, each call a font selection and its codes (zemshost print --vector)\n");
  ok = HostInNewProcess("print '" ZEMS_SOURCE_DIR "/samples/print/letter.zds' --vector --trace") && ok;
  printf("== its display list: font selections, glyph-code runs with their advances (zemshost job dump)\n");
  ok = HostInNewProcess("job dump '" + std::string(SimMachineRoot()) + "/stand-ins/ov1bc123/1.zjs' --records") && ok;
  printf("== a job's own strings: escapes 111 and 123 and the job-control DLL's password (zemshost print)\n");
  {
    // The job-control stand-in holds an authentication password for the printer (UTF-16 hex);
    // the driver passes it twice through the DLL's transformation before it goes out.
    std::ofstream store(std::string(SimMachineRoot()) + "/stand-ins/orvjc32.store", std::ios::app);
    store << "ZEMS Printer\t10\t" << "640065006d006f003100" << "0000\n";
  }
  ok = HostInNewProcess("print '" ZEMS_SOURCE_DIR "/samples/print/job_strings.zds' --vector") && ok;
  printf("== its job header (zemshost job dump --blocks)\n");
  ok = HostInNewProcess("job dump '" + std::string(SimMachineRoot()) + "/stand-ins/ov1bc123/1.zjs' --blocks") && ok;
  printf(ok ? "== done\n" : "== some steps failed\n");
  return ok ? 0 : 1;
}
