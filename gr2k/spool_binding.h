// The spool side of a document: the model's spool DLL from the driver folder, or the first
// filter of the printer's filter chain, bound at DrvStartDoc and told of every page.
#pragma once
#include "gr2k/pdev.h"

// The driver folder into path (MAX_PATH characters), made sure to be an element of the
// process's PATH so that the spool DLL and filters find their companion DLLs; withName appends
// "\" and the model's spool-DLL name. FALSE without a driver folder, a driver path over 240
// characters, a result over 259 characters, or (withName) no spool-DLL name.
BOOL GrDriverDirOnPath(GraphicsPdev* pdev, HANDLE printer, WCHAR* path, BOOL withName);
// Loads and starts the spool side for the document and sets the stream's write function.
// FALSE when there is none to write to: no driver folder, a spool DLL that cannot be loaded or
// has no "DrvSplWritePrinter", a filter without its interface or whose Open fails.
BOOL GrBindSpoolSide(GraphicsPdev* pdev);
// Binds the interface of the filter module the stream holds (version 0x100) and takes its write
// slot; FALSE without the get export, when it refuses, or without a module.
BOOL GrLoadFilterInterface(GraphicsPdev* pdev);
// Ends the document on the spool side and frees its module.
void GrUnbindSpoolSide(GraphicsPdev* pdev);
// Tells the spool side a page starts; a page's end: FALSE when a filter refuses it.
void GrSpoolStartPage(GraphicsPdev* pdev);
BOOL GrSpoolEndPage(GraphicsPdev* pdev);

// The filter chain for the spool-DLL path (the printer's filters with an install path, then
// the spool DLL): TRUE with pdev->filterChain set, FALSE when it cannot be built.
BOOL GrBuildFilterChain(GraphicsPdev* pdev, const WCHAR* spoolDllPath);
