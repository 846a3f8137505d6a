// Reports of the machine's shortcuts. A simplified call (one that leaves out part of what
// Windows does) says so in its comment and reports itself through WINSIM_SIMPLIFIED, so a
// driver fault hidden by a shortcut is visible instead of looking like Windows.
//
// The host environment variable ZEMS_SIM_TRACE switches channels on: a list separated by ','
// (or blanks), "simplified" for these reports, "all" for every channel. It is read at each
// report, so a process may switch it on later. Each report site prints once per process, to
// stderr: "simplified: <call> <what it leaves out>".
#pragma once
#include <atomic>

namespace winsim {

// True while ZEMS_SIM_TRACE names the channel (or "all").
bool TraceChannelOn(const char* channel);

// Prints the report of one site unless it already printed; site is that site's own flag.
void ReportSimplified(std::atomic<bool>* site, const char* call, const char* shortcut);

}  // namespace winsim

// One report site: call is the Windows call's name, shortcut what the machine leaves out.
#define WINSIM_SIMPLIFIED(call, shortcut)                          \
  do {                                                             \
    static std::atomic<bool> winsimSimplifiedSite_{false};         \
    ::winsim::ReportSimplified(&winsimSimplifiedSite_, call, shortcut); \
  } while (0)
