#include "export/chunked_text.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "framework/progress.h"
#include "framework/triangle_feeder.h"

namespace plugins {

namespace {

// Chunks formatted and not yet appended, at most, with two threads: enough
// that the second thread goes on formatting while the calling thread
// appends and formats chunks of its own; the blocks stay a few megabytes.
constexpr std::size_t kSlots = 16;

class ChunkRun {
  public:
    ChunkRun(TextOutput& out, std::size_t count, std::size_t chunkItems,
             const ChunkFormatter& format, const ChunkAnnouncer& announce)
        : out_(out),
          count_(count),
          chunkItems_(std::max<std::size_t>(chunkItems, 1)),
          chunks_((count + chunkItems_ - 1) / chunkItems_),
          format_(format),
          announce_(announce) {}

    void Run(bool useThread) {
        std::thread helper;
        if (useThread && chunks_ >= 2) {
            UseBlocks(kSlots);
            try {
                helper = std::thread(&ChunkRun::Help, this);
            } catch (const std::system_error&) {
                // No second thread: everything runs on this one.
            }
        }
        if (helper.joinable()) {
            try {
                RunShared();
            } catch (...) {
                // Out of memory while reporting progress, say: the other
                // thread stops claiming chunks before the exception goes on.
                {
                    std::lock_guard<std::mutex> hold(lock_);
                    abandoned_ = true;
                }
                changed_.notify_all();
                helper.join();
                throw;
            }
            helper.join();
            return;
        }
        UseBlocks(1);
        for (std::size_t chunk = 0; chunk < chunks_; ++chunk) {
            Format(chunk);
            Append(chunk);
        }
    }

  private:
    std::size_t Begin(std::size_t chunk) const { return chunk * chunkItems_; }
    std::size_t End(std::size_t chunk) const {
        return std::min(count_, Begin(chunk) + chunkItems_);
    }
    // The file's spare blocks, emptied; they keep their memory from run to
    // run, so that the runs of a file reuse the same pages.
    void UseBlocks(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            blocks_[i] = &out_.SpareBlock(i);
            blocks_[i]->Clear();
        }
        blockCount_ = count;
    }
    TextBlock& BlockOf(std::size_t chunk) { return *blocks_[chunk % blockCount_]; }

    void Format(std::size_t chunk) { format_(BlockOf(chunk), Begin(chunk), End(chunk)); }

    void Append(std::size_t chunk) {
        announce_(Begin(chunk), End(chunk));
        TextBlock& block = BlockOf(chunk);
        out_.Bytes(block.View());
        block.Clear();
    }

    // A chunk may be formatted once the chunk that used its block before
    // has been appended.
    bool Claimable() const { return nextClaim_ < chunks_ && nextClaim_ < nextAppend_ + kSlots; }

    // The calling thread: appends the chunks in order, and formats chunks
    // while the next one to append is not ready.
    void RunShared() {
        std::unique_lock<std::mutex> lock(lock_);
        while (nextAppend_ < chunks_) {
            const std::size_t slot = nextAppend_ % kSlots;
            if (formatted_[slot]) {
                lock.unlock();
                Append(nextAppend_);
                lock.lock();
                formatted_[slot] = false;
                ++nextAppend_;
                changed_.notify_all();
            } else if (Claimable()) {
                const std::size_t chunk = nextClaim_++;
                lock.unlock();
                Format(chunk);
                lock.lock();
                formatted_[chunk % kSlots] = true;
            } else {
                changed_.wait(lock);
            }
        }
    }

    // The second thread: formats chunks until none is left to claim.
    void Help() {
        std::unique_lock<std::mutex> lock(lock_);
        while (!abandoned_ && nextClaim_ < chunks_) {
            if (!Claimable()) {
                changed_.wait(lock);
                continue;
            }
            const std::size_t chunk = nextClaim_++;
            lock.unlock();
            Format(chunk);
            lock.lock();
            formatted_[chunk % kSlots] = true;
            changed_.notify_all();
        }
    }

    TextOutput& out_;
    const std::size_t count_;
    const std::size_t chunkItems_;
    const std::size_t chunks_;
    const ChunkFormatter& format_;
    const ChunkAnnouncer& announce_;
    std::array<TextBlock*, kSlots> blocks_{};
    std::size_t blockCount_ = 0;

    std::mutex lock_;
    std::condition_variable changed_;
    std::size_t nextClaim_ = 0;   // the next chunk to format
    std::size_t nextAppend_ = 0;  // the next chunk to append
    std::array<bool, kSlots> formatted_{};
    bool abandoned_ = false;  // the calling thread gave up: claim nothing more
};

}  // namespace

ChunkAnnouncer FileProgressAnnouncer(const ProgressCallbacks* callbacks, std::size_t count) {
    return [callbacks, count](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            callbacks->FileProgress(static_cast<unsigned>(i), static_cast<unsigned>(count));
        }
    };
}

bool DefaultUseThread() {
    return UsableProcessors() > 1;
}

void WriteChunked(TextOutput& out, std::size_t count, std::size_t chunkItems,
                  const ChunkFormatter& format, const ChunkAnnouncer& announce, bool useThread) {
    ChunkRun(out, count, chunkItems, format, announce).Run(useThread);
}

}  // namespace plugins
