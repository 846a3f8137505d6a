// One hostile settings file loaded into a context of the sample printer: shared by the
// settings-file fuzz target and the mutation loop of the native tests. No test framework here.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "core/context/driver_context.h"
#include "platform/win32.h"

namespace zems_test {

// The flag combinations the callers load with; the first input byte picks one.
const std::vector<DWORD>& SettingsFileLoadFlags();

// A new machine root (switched to) with the driver of the sample model description under
// sourceDir and its printer "Office" with its settings folder; the printer handle, or null.
HANDLE MakeSampleMachine(const std::string& sourceDir, std::string* root);

// A context of the printer, its settings folder made as an install makes it; null on failure.
DriverContext* OpenSampleContext(HANDLE printer);

// The sample machine for a program that runs the graphics DLL's code built into it: the context
// cache started, the printer's settings folder made as an install makes it, and the program
// standing in for the driver's module handle (the driver refuses a PDEV without one). The
// printer handle, or null.
HANDLE MakeSamplePrintMachine(const std::string& sourceDir, std::string* root);

// Input: byte 0 picks the flags (bit 7: the tray is locked), the rest is the file. The file is
// written as path (a file of the machine) and loaded into ctx; the context's settings are put
// back afterwards, so every input starts from the same state. Returns the file status.
LONG ExerciseSettingsFileLoad(DriverContext* ctx, HANDLE printer, const std::u16string& path, const uint8_t* data,
                              size_t size);

// Seeds: a flag byte and a plain and a preset file saved from ctx.
std::vector<std::string> SettingsFileSeeds(DriverContext* ctx, HANDLE printer, const std::u16string& path);

}  // namespace zems_test
