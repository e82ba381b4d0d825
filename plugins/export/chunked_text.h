// Long runs of formatted lines, formatted on two threads and written in
// order.
//
// Formatting numbers is most of the work of a text export. The lines of a
// run (a mesh's vertices, normals or faces) are cut into chunks of items;
// each chunk is formatted into a TextBlock of its own (one of the output's
// spare blocks, up to 16 chunks ahead of the file), by the calling thread
// or, where the machine has a processor to spare, by a second one, and the
// calling thread appends the finished blocks to the file in chunk order.
// The file gets exactly the bytes that formatting the items one after the
// other gives.
#pragma once

#include <cstddef>
#include <functional>

#include "export/text_block.h"
#include "export/text_output.h"

namespace plugins {

struct ProgressCallbacks;

// Formats items [begin, end) into block, appending to it.
using ChunkFormatter = std::function<void(TextBlock& block, std::size_t begin, std::size_t end)>;
// Called on the calling thread for items [begin, end) of a chunk, in
// order, just before the chunk is appended (for progress reports).
using ChunkAnnouncer = std::function<void(std::size_t begin, std::size_t end)>;

// An announcer that reports each item i of a chunk as FileProgress(i,
// count) of callbacks (not null, nor its FileProgress): the file bar moves
// item by item, as when the items are written one after the other.
ChunkAnnouncer FileProgressAnnouncer(const ProgressCallbacks* callbacks, std::size_t count);

// True when this process may run on more than one processor.
bool DefaultUseThread();

// Appends the text of items 0 .. count - 1 to out, chunkItems items a chunk
// (at least 1). format may run on another thread than the caller's, for
// several chunks at once: it must only read what it shares, and must not
// throw (TextBlock ends the process when memory runs out). With
// useThread false, or a run of fewer than two chunks, or when no thread
// can be started, everything runs on the calling thread. An exception from
// announce ends the run (the other thread is stopped first); the chunks
// appended before it stay in the file.
void WriteChunked(TextOutput& out, std::size_t count, std::size_t chunkItems,
                  const ChunkFormatter& format, const ChunkAnnouncer& announce,
                  bool useThread = DefaultUseThread());

}  // namespace plugins
