// The job's own strings beside its DEVMODE (user code, owner, passwords, fax line,
// authentication) across DrvStartDoc's re-merge and DrvResetPDEV, the output-size adjustment of
// every re-merge, and the values the job-control DLL registered for the job.
#pragma once
#include "platform/win32.h"

struct DriverContext;

// DrvStartDoc's re-establishment of the job's settings: the job strings that fit their items are
// kept across the reload of the stored settings and the merge of the job DEVMODE (cbDevmode
// bytes of it are read), then the job-control values are fetched. TRUE.
BOOL JobKeepStrings(DriverContext* ctx, const DEVMODEW* devmode, DWORD cbDevmode, DWORD mergeFlags, HANDLE printer,
                    DWORD jobId);
// Stores a narrow text into its item through an item-sized zeroed copy: cut to the item's size
// less one and terminated.
void JobStoreText(DriverContext* ctx, WORD id, const char* text);
// Copies the job strings and the authentication values from one context to the other.
BOOL JobCopyStrings(DriverContext* from, DriverContext* to);
// TRUE when both DEVMODEs have the driver's full size and describe the same job; the new one
// then becomes the old one with the new job's fields. Otherwise nothing changes.
int JobCompareDevmodes(const DEVMODEW* oldDm, DEVMODEW* newDm);

// The output-size adjustment: collation from the DEVMODE, the fit of each set whose
// zdmFrontFunc bit is set, then UI-module event 37.
void JobFitOutputSize(DriverContext* ctx);
void JobFitOutputSize1(DriverContext* ctx);
void JobFitOutputSize2(DriverContext* ctx);
// Around the DEVMODE block of the job header: before it each marked set's saved values go back
// into the settings; after it each such set is adjusted again and its mark cleared.
void JobOutputSizeBeforeDevmode(DriverContext* ctx);
void JobOutputSizeAfterDevmode(DriverContext* ctx);

// zdmCallSrc := 1 when acquired settings are there for the printer, else 0; the value.
int BidiSetCallSource(DriverContext* ctx);
// Whether the job-authentication fetch runs (always in this build).
int JobAuthGate(DriverContext* ctx);
// The values a job-control client registered for the job, for the properties of the mask, into
// their items. TRUE when a connection was opened and the properties were walked.
BOOL JobAuthClient(HANDLE printer, DriverContext* ctx, DWORD jobId, DWORD mask);
