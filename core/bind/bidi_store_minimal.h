// Minimal declaration until the bidirectional state store is built.
#pragma once
struct DriverContext;
int BidiIniEnsureFile(DriverContext* ctx);
