#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include <taglib/tiostream.h>

struct AVIOContext;

namespace audio {

// A file opened once to be probed, read without a single seek: its first bytes
// are read in one go when it opens and its last ones when first asked for,
// which covers what the tag reader and the decoder's container look at in most
// files; any other range is read in place (pread). The tag reader and the
// decoder read it each through a position of their own (TagStream,
// AvioStream), so one open serves both. Belongs to one thread at a time.
class ProbeBytes {
public:
    ProbeBytes() = default;
    ~ProbeBytes();
    ProbeBytes(const ProbeBytes&) = delete;
    ProbeBytes& operator=(const ProbeBytes&) = delete;

    // Opens a regular file of `size` bytes (from the caller's stat) and reads
    // its first bytes. 0, or the errno of the failed open or read.
    int Open(const std::string& path, long long size);
    const std::string& Path() const { return path_; }
    long long Size() const { return size_; }
    // Copies up to `count` bytes from `offset` on: fewer at the end of the
    // file, -1 when reading failed (Error tells why).
    long long ReadAt(long long offset, void* into, std::size_t count);
    // The errno of the first failed read; 0 when none failed.
    int Error() const { return error_; }

private:
    // The blocks' memory is kept by the thread from one file to the next:
    // freeing blocks this large makes the allocator tidy its whole heap.
    struct Block {
        std::unique_ptr<unsigned char[]> bytes;  // capacity: kHeadBytes or kTailBytes
        long long start = 0;
        long long size = -1;  // -1: not read yet
        bool Holds(long long offset, std::size_t count) const
        {
            return size >= 0 && offset >= start && offset + static_cast<long long>(count) <= start + size;
        }
    };
    bool Load(Block& block, std::unique_ptr<unsigned char[]>& spare, long long capacity, long long start, long long size);
    long long ReadInPlace(long long offset, void* into, std::size_t count);

    int fd_ = -1;
    std::string path_;
    long long size_ = 0;
    int error_ = 0;
    Block head_;
    Block tail_;
};

// The bytes as the tag reader reads a file. Read-only: writes are ignored.
class TagStream : public TagLib::IOStream {
public:
    explicit TagStream(ProbeBytes& bytes) : bytes_(bytes) {}

    TagLib::FileName name() const override { return bytes_.Path().c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return true; }
    void seek(long offset, Position from) override;
    long tell() const override { return static_cast<long>(position_); }
    long length() override { return static_cast<long>(bytes_.Size()); }
    void truncate(long) override {}

private:
    ProbeBytes& bytes_;
    long long position_ = 0;
};

// The bytes as the decoder library's input: give Context() to a format
// context before opening it, and close that context before this goes.
class AvioStream {
public:
    explicit AvioStream(ProbeBytes& bytes);
    ~AvioStream();
    AvioStream(const AvioStream&) = delete;
    AvioStream& operator=(const AvioStream&) = delete;

    // Null when out of memory.
    AVIOContext* Context() const { return context_; }

private:
    static int Read(void* opaque, uint8_t* into, int count);
    static int64_t Seek(void* opaque, int64_t offset, int whence);

    ProbeBytes& bytes_;
    long long position_ = 0;
    AVIOContext* context_ = nullptr;
};

}  // namespace audio
