// The output stream's blocks and their way to the spool side.
#include "gr2k/stream.h"

#include <string.h>

#include "core/pjl/pjl_text.h"

namespace {

struct BlockHead {
  DWORD type;
  DWORD cb;
};
static_assert(sizeof(BlockHead) == 8, "a job-stream block head is two uint32");

// Sent blocks kept for reuse: a flush inside a band sends at most a few 1 MiB pieces.
constexpr DWORD kSpareBlocks = 4;

BYTE* BlockData(StreamBlock* block) { return reinterpret_cast<BYTE*>(block + 1); }

BOOL Failed(PdevOutputStream* stream) {
  if (stream->pdev) stream->pdev->flags |= kPdevOutputFailed;
  return FALSE;
}

BOOL JobBinderFirstPage(const PdevOutputStream* stream) {
  return stream->pdev && stream->pdev->jobBinderBit && stream->pdev->pageNumber == 1;
}

}  // namespace

void GrStreamReset(PdevOutputStream* stream) {
  stream->inlineBlock.next = nullptr;
  stream->inlineBlock.position = stream->inlineData;
  stream->inlineBlock.end = stream->inlineData + kStreamInlineBytes;
  stream->head = stream->tail = &stream->inlineBlock;
  stream->byteTotal = 0;
  stream->recordCount = 0;
}

BYTE* GrStreamReserve(PdevOutputStream* stream, DWORD cb) {
  if (!stream || !stream->tail || cb == 0) return nullptr;
  StreamBlock* tail = stream->tail;
  if (DWORD(tail->end - tail->position) <= cb) {
    // Sized in 64 bits: a request near 4 GiB would otherwise wrap to a small block.
    unsigned long long data = (static_cast<unsigned long long>(cb - 1) / kStreamInlineBytes + 1) * kStreamInlineBytes;
    unsigned long long total = data + sizeof(StreamBlock);
    if (total > 0xFFFFFFFFull) return nullptr;
    if (stream->byteTotal > kStreamFlushAbove && !GrStreamFlush(stream)) return nullptr;
    if (!stream->pdev) return nullptr;
    // A page of bands reserves the same piece sizes over and over: a sent block of the size
    // wanted is taken again, instead of fresh memory the system must map and clear.
    StreamBlock* block = nullptr;
    for (StreamBlock** link = &stream->spare; *link; link = &(*link)->next)
      if (DWORD((*link)->end - BlockData(*link)) == data) {
        block = *link;
        *link = block->next;
        break;
      }
    if (!block) block = static_cast<StreamBlock*>(PdevPoolAlloc(stream->pdev->pool, DWORD(total)));
    if (!block) return nullptr;
    block->next = nullptr;
    block->position = BlockData(block);
    block->end = BlockData(block) + data;
    stream->tail->next = block;
    stream->tail = block;
    tail = block;
  }
  BYTE* record = tail->position;
  tail->position += cb;
  stream->byteTotal += cb;
  stream->recordCount++;
  return record;
}

void GrStreamAlign(PdevOutputStream* stream, BYTE* position) {
  if (!stream || !stream->tail) return;
  StreamBlock* tail = stream->tail;
  DWORD offset = DWORD(position - BlockData(tail));
  offset = (offset + 3) & ~3u;
  BYTE* aligned = BlockData(tail) + offset;
  tail->position = aligned < tail->end ? aligned : tail->end;
}

BOOL GrStreamWrite(PdevOutputStream* stream, const void* bytes, DWORD cb) {
  if (!stream) return FALSE;
  GrSpoolWrite write = reinterpret_cast<GrSpoolWrite>(stream->write);
  const BYTE* next = static_cast<const BYTE*>(bytes);
  while (cb > 0) {
    DWORD piece = cb < kStreamWritePiece ? cb : kStreamWritePiece;
    // Without a sink the bytes would be lost while the page counted as printed.
    if (!stream->spoolModule || !write) return Failed(stream);
    DWORD written = 0;
    if (!write(stream->spoolHandle, const_cast<BYTE*>(next), piece, &written) || written != piece)
      return Failed(stream);
    next += piece;
    cb -= piece;
  }
  return TRUE;
}

BOOL GrStreamSendBlocks(PdevOutputStream* stream) {
  if (JobBinderFirstPage(stream)) return TRUE;
  for (StreamBlock* block = stream->head; block; block = block->next) {
    BlockHead head = {kBlockDisplayList, DWORD(block->position - BlockData(block))};
    if (!GrStreamWrite(stream, &head, sizeof head)) return FALSE;
    if (head.cb && !GrStreamWrite(stream, BlockData(block), head.cb)) return FALSE;
  }
  return TRUE;
}

void GrStreamFreeBlocks(PdevOutputStream* stream) {
  if (!stream || !stream->head) return;
  StreamBlock* block = stream->head->next;
  stream->head->next = nullptr;
  // At most kSpareBlocks sent blocks are kept; older spares go first.
  DWORD kept = 0;
  for (StreamBlock* b = stream->spare; b; b = b->next) ++kept;
  while (block) {
    StreamBlock* next = block->next;
    if (kept < kSpareBlocks) {
      block->next = stream->spare;
      stream->spare = block;
      ++kept;
    } else if (stream->pdev) {
      PdevPoolFree(stream->pdev->pool, block);
    }
    block = next;
  }
  stream->tail = stream->head;
}

void GrStreamSetMark(const PdevOutputStream* stream, GrStreamMark* mark) {
  *mark = {stream->tail, stream->tail ? stream->tail->position : nullptr, stream->byteTotal, stream->recordCount,
           stream->flushes};
}

BOOL GrStreamRollback(PdevOutputStream* stream, const GrStreamMark& mark) {
  if (!stream || !mark.tail) return FALSE;
  if (stream->flushes != mark.flushes) return Failed(stream);
  StreamBlock* block = mark.tail->next;
  mark.tail->next = nullptr;
  while (block) {
    StreamBlock* next = block->next;
    if (stream->pdev) PdevPoolFree(stream->pdev->pool, block);
    block = next;
  }
  stream->tail = mark.tail;
  stream->tail->position = mark.position;
  stream->byteTotal = mark.byteTotal;
  stream->recordCount = mark.recordCount;
  return TRUE;
}

BOOL GrStreamFlush(PdevOutputStream* stream) {
  if (!stream) return FALSE;
  if (stream->byteTotal == 0) return TRUE;
  ++stream->flushes;
  BOOL sent = GrStreamSendBlocks(stream);
  GrStreamFreeBlocks(stream);
  GrStreamReset(stream);
  return sent;
}

BOOL JobSendCommandBlock(PdevOutputStream* stream, DriverContext* context, DWORD type, JobCommandWalker walker) {
  if (!stream || !stream->pdev || !walker) return FALSE;
  TextBuffer text = {};
  if (PjlTextInit(&text) != 0) return FALSE;
  BOOL ok = walker(context, &text) >= 0;
  if (ok) {
    BlockHead head = {type, DWORD(text.length)};
    ok = GrStreamWrite(stream, &head, sizeof head) && (!text.length || GrStreamWrite(stream, text.data, head.cb));
  }
  PjlTextFree(&text);
  return ok;
}
