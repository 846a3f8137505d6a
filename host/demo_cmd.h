// zemshost demo: the main paths of the driver on the sample model.
#pragma once

// Runs "zemshost demo <argv...>"; the exit status.
int CmdDemo(int argc, char** argv);
