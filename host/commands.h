// The commands of zemshost, one file each (host/<name>_cmd.cpp), and the table dispatch that
// main and the command groups share. A new command is a new file, a declaration here and one
// row in main.cpp's table.
#pragma once
#include <stddef.h>

// A command: its name, its line of the usage text, and the function that runs it with the
// arguments after its name; the result is the exit status.
struct HostCommand {
  const char* name;
  const char* summary;
  int (*run)(int argc, char** argv);
};

// Runs the command that argv[0] names. Without a command, the usage (the table's summaries,
// then footer) goes to stderr with status 2; "--help", "help" and "-h" print it to stdout with
// status 0; an unknown name is refused with status 2. program prefixes every message.
int RunCommand(const char* program, const HostCommand* table, size_t count, const char* footer, int argc,
               char** argv);

// zemshost api: the application interface of zemsexc, as an application uses it (api_cmd.cpp).
int CmdApi(int argc, char** argv);
// zemshost demo: the main paths of the driver on the sample model.
int CmdDemo(int argc, char** argv);
// zemshost filedialog PRINTER DIALOG: a file dialog of the driver on the window fake, the user's
// steps scripted (filedialog_cmd.cpp).
int CmdFileDialog(int argc, char** argv);
// zemshost info: the machine root.
int CmdInfo(int argc, char** argv);
// zemshost job dump: a job stream's blocks and records, checked (job_cmd.cpp).
int CmdJob(int argc, char** argv);
// zemshost machine: set up and inspect the simulated machine.
int CmdMachine(int argc, char** argv);
// zemshost model: compile a model description and report its image.
int CmdModel(int argc, char** argv);
// zemshost model set PRINTER ITEM=VALUE...: a change with its transacts and alerts (model_set.cpp).
int CmdModelSet(int argc, char** argv);
// zemshost prefs PRINTER: a sheet of zemsui on the window fake, its pages listed (prefs_cmd.cpp).
int CmdPrefs(int argc, char** argv);
// zemshost print: a drawing script through GDI's print session and zemsgr (print_cmd.cpp).
int CmdPrint(int argc, char** argv);
// zemshost pjl: a job's "@PJL SET" lines through zemsexc's command service (pjl_cmd.cpp).
int CmdPjl(int argc, char** argv);
