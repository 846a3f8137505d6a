// The bidirectional state store and its ini file.
#pragma once
struct DriverContext;
// Makes sure the bidi ini exists with the open security; nonzero on success.
int BidiIniEnsureFile(DriverContext* ctx);
