#include "audio/ProbeBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace audio {

namespace {

// Enough for the tags and the first frames of most music files, read at once.
constexpr long long kHeadBytes = 64 << 10;
// Tags kept at the end (ID3v1, APE) and the footers that point at them.
constexpr long long kTailBytes = 8 << 10;
// The decoder library's input buffer: its usual size.
constexpr int kAvioBuffer = 32 << 10;

// Memory a thread reuses for the next file: a probe holds it while it runs.
struct Spares {
    std::unique_ptr<unsigned char[]> head;
    std::unique_ptr<unsigned char[]> tail;
    unsigned char* avio = nullptr;  // from the decoder library's allocator
    ~Spares() { av_free(avio); }
};
thread_local Spares spares;

}  // namespace

ProbeBytes::~ProbeBytes()
{
    if (fd_ >= 0)
        close(fd_);
    if (head_.bytes && !spares.head)
        spares.head = std::move(head_.bytes);
    if (tail_.bytes && !spares.tail)
        spares.tail = std::move(tail_.bytes);
}

int ProbeBytes::Open(const std::string& path, long long size)
{
    path_ = path;
    size_ = size;
    // Non-blocking, should the file have turned into a pipe since the caller looked.
    fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        return errno;
    if (!Load(head_, spares.head, kHeadBytes, 0, std::min(size_, kHeadBytes)))
        return error_;
    return 0;
}

bool ProbeBytes::Load(Block& block, std::unique_ptr<unsigned char[]>& spare, long long capacity, long long start,
                      long long size)
{
    block.bytes = spare ? std::move(spare) : std::make_unique_for_overwrite<unsigned char[]>(static_cast<std::size_t>(capacity));
    const long long got = ReadInPlace(start, block.bytes.get(), static_cast<std::size_t>(size));
    if (got < 0)
        return false;
    block.start = start;
    block.size = got;  // shorter when the file shrank meanwhile
    return true;
}

long long ProbeBytes::ReadInPlace(long long offset, void* into, std::size_t count)
{
    auto* to = static_cast<unsigned char*>(into);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(fd_, to + done, count - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            if (error_ == 0)
                error_ = errno;
            return -1;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

long long ProbeBytes::ReadAt(long long offset, void* into, std::size_t count)
{
    if (offset < 0)
        return -1;
    if (offset >= size_ || count == 0)
        return 0;
    count = static_cast<std::size_t>(std::min<long long>(static_cast<long long>(count), size_ - offset));
    const long long tailStart = std::max(0LL, size_ - kTailBytes);
    if (!head_.Holds(offset, count) && offset >= tailStart && tail_.size < 0 &&
        !Load(tail_, spares.tail, kTailBytes, tailStart, size_ - tailStart))
        return -1;
    for (const Block* block : {&head_, &tail_})
        if (block->Holds(offset, count)) {
            std::memcpy(into, block->bytes.get() + (offset - block->start), count);
            return static_cast<long long>(count);
        }
    return ReadInPlace(offset, into, count);
}

TagLib::ByteVector TagStream::readBlock(unsigned long length)
{
    TagLib::ByteVector block(static_cast<unsigned int>(length), '\0');
    const long long got = length ? bytes_.ReadAt(position_, block.data(), length) : 0;
    block.resize(static_cast<unsigned int>(std::max(got, 0LL)));
    position_ += std::max(got, 0LL);
    return block;
}

void TagStream::seek(long offset, Position from)
{
    const long long base = from == Beginning ? 0 : from == Current ? position_ : bytes_.Size();
    position_ = std::max(0LL, base + offset);
}

AvioStream::AvioStream(ProbeBytes& bytes) : bytes_(bytes)
{
    unsigned char* buffer = std::exchange(spares.avio, nullptr);
    if (!buffer)
        buffer = static_cast<unsigned char*>(av_malloc(kAvioBuffer));
    if (!buffer)
        return;
    context_ = avio_alloc_context(buffer, kAvioBuffer, 0, this, &AvioStream::Read, nullptr, &AvioStream::Seek);
    if (!context_)
        av_free(buffer);
}

AvioStream::~AvioStream()
{
    if (context_) {
        // The decoder library may have put a buffer of another size in place of ours.
        if (!spares.avio && context_->buffer_size == kAvioBuffer)
            spares.avio = std::exchange(context_->buffer, nullptr);
        av_freep(&context_->buffer);
        avio_context_free(&context_);
    }
}

int AvioStream::Read(void* opaque, uint8_t* into, int count)
{
    auto& self = *static_cast<AvioStream*>(opaque);
    const long long got = self.bytes_.ReadAt(self.position_, into, static_cast<std::size_t>(std::max(count, 0)));
    if (got < 0)
        return AVERROR(self.bytes_.Error() ? self.bytes_.Error() : EIO);
    if (got == 0)
        return AVERROR_EOF;
    self.position_ += got;
    return static_cast<int>(got);
}

int64_t AvioStream::Seek(void* opaque, int64_t offset, int whence)
{
    auto& self = *static_cast<AvioStream*>(opaque);
    if (whence & AVSEEK_SIZE)
        return self.bytes_.Size();
    whence &= ~AVSEEK_FORCE;
    const long long base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? self.position_ : whence == SEEK_END ? self.bytes_.Size() : -1;
    if (base < 0 || base + offset < 0)
        return AVERROR(EINVAL);
    self.position_ = base + offset;
    return self.position_;
}

}  // namespace audio
