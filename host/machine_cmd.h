// zemshost machine: set up and inspect the simulated machine.
#pragma once

// Runs "zemshost machine <argv...>"; the exit status of the command.
int CmdMachine(int argc, char** argv);
