// The PDEV's output stream: records are reserved and filled in place in a chain of blocks, and
// everything the job stream holds leaves through GrStreamWrite to the spool side. Each block the
// spool side receives is an 8-byte head {type, payload length} and the payload.
#pragma once
#include "gr2k/pdev.h"

struct DriverContext;

// Types of the job stream's blocks.
enum : DWORD {
  kBlockPageHeaderEnd = 240,
  kBlockPageEnd = 241,
  kBlockJobHeader = 243,
  kBlockPageHeader = 244,
  kBlockDisplayList = 245,
  kBlockDevmode = 247,
};

// The spool side's write: DrvSplWritePrinter of the spool DLL or the filter's write slot.
typedef BOOL(WINAPI* GrSpoolWrite)(HANDLE spoolHandle, LPVOID bytes, DWORD cb, LPDWORD cbWritten);

// The most a reservation may buffer before the page so far is flushed, and the largest piece one
// write hands to the spool side.
constexpr DWORD kStreamFlushAbove = 0x100000;
constexpr DWORD kStreamWritePiece = 4096;

// Empties the stream: head and tail are the inline block, totals 0. Allocated blocks are not
// freed here (GrStreamFreeBlocks does).
void GrStreamReset(PdevOutputStream* stream);
// cb bytes in the stream for one record, or NULL. A reservation never fills a block to its last
// byte; one that does not fit the tail flushes the page first when more than 1 MiB is buffered
// (a failed flush gives NULL) and then takes a new block of the smallest multiple of 10,240
// data bytes holding cb. 0 bytes, or a block whose size would not fit 32 bits, are refused.
BYTE* GrStreamReserve(PdevOutputStream* stream, DWORD cb);
// Moves the tail's write position to position rounded up to a multiple of 4.
void GrStreamAlign(PdevOutputStream* stream, BYTE* position);
// Sends cb bytes to the spool side in pieces of at most 4,096. FALSE, with the PDEV's
// output-failed flag set, when a write fails, reports fewer bytes than given, or there is no
// spool side to write to: job data are never dropped as written.
BOOL GrStreamWrite(PdevOutputStream* stream, const void* bytes, DWORD cb);
// Sends every block of the chain as a display-list block (an empty one as length 0); nothing on
// a job binder's page 1.
BOOL GrStreamSendBlocks(PdevOutputStream* stream);
// Frees every block after the inline block; up to four are kept instead (sent, never written
// again until a reservation of their size takes one back); the pool frees them at the end.
void GrStreamFreeBlocks(PdevOutputStream* stream);
// A place in the stream to take back what a record writer reserved after it.
struct GrStreamMark {
  StreamBlock* tail;
  BYTE* position;
  DWORD byteTotal;
  DWORD recordCount;
  DWORD flushes;
};
void GrStreamSetMark(const PdevOutputStream* stream, GrStreamMark* mark);
// Takes back everything reserved since the mark (blocks taken since go back to the pool). When
// a flush has sent part of it already, nothing can be taken back: FALSE, with the PDEV's
// output-failed flag set, instead of leaving half a record behind.
BOOL GrStreamRollback(PdevOutputStream* stream, const GrStreamMark& mark);
// Sends the buffered records, frees the blocks and resets the stream, even when sending failed.
// TRUE when there was nothing to send.
BOOL GrStreamFlush(PdevOutputStream* stream);

struct TextBuffer;
// A command-list builder: appends the block's text to text in one pass; negative on failure.
typedef int (*JobCommandWalker)(DriverContext* context, TextBuffer* text);
// Sends one block of command text: builds it once and sends the head with its length and the
// text. Nothing is sent when the builder fails.
BOOL JobSendCommandBlock(PdevOutputStream* stream, DriverContext* context, DWORD type, JobCommandWalker walker);
