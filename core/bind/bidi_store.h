// The bidirectional state store and its ini file.
#pragma once
struct DriverContext;
// Makes sure the bidi ini exists with the open security; nonzero on success.
int BidiIniEnsureFile(DriverContext* ctx);
// 1 when the printer's data can be written: "BidiFlag" is read and written back unchanged.
int BidiCanWritePrinterData(DriverContext* ctx);
