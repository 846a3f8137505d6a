// A context for the outside-component bindings: the item context of the item tests with a
// printer name, and the scripted stand-ins of the job-control and print-notification DLLs put
// where the machine's loader finds them, with their script files and logs.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/bind/job_control.h"
#include "core/context/ui_state.h"
#include "core/items/item_access.h"
#include "support/item_context.h"
#include "support/test_printer.h"

namespace zems_test {

// Windows names of the two stand-ins and their build outputs.
constexpr char kJobControlDll[] = "ORVJC32.DLL";
constexpr char kJobControlSo[] = "orvjc32.so";
constexpr char kNotificationDll[] = "OMPNInf.dll";
constexpr char kNotificationSo[] = "ompninf.so";

// Unregisters the name and removes its file from the System folder: the DLL is missing.
void RemoveStandIn(const char* windowsName);
// Writes <root>/stand-ins/<name>.
void WriteScript(const std::string& name, const std::string& contents);
// The lines of <root>/stand-ins/<name> (empty when it does not exist).
std::vector<std::string> ScriptLines(const std::string& name);
// Lines of the log that start with prefix.
std::vector<std::string> LogLinesStarting(const std::string& log, const std::string& prefix);
// Hex of UTF-16 LE text, with its terminator when terminated is set.
std::string HexText(const std::u16string& text, bool terminated = true);

class BindTest : public ItemContextTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The printer name the bindings see ("Office" unless a test sets another).
  void SetPrinterName(const std::u16string& name);
  std::u16string TextOf(WORD id);
  void SetTextOf(WORD id, const std::u16string& text);
  LONG_PTR RawOf(WORD id) { return ItemGetRawById(ctx(), id); }
  JcBlock& Block() { return Ui()->jobControl; }
  // A value in the job-control stand-in's store for the printer "Office".
  void StoreValue(DWORD property, const std::string& hex);
  std::vector<std::string> JcLog(const std::string& prefix) { return LogLinesStarting("orvjc32.log", prefix); }
};

}  // namespace zems_test
