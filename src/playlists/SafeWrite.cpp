#include "playlists/SafeWrite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a failed write leaves behind: removed unless the write was committed.
class TempFile {
public:
    explicit TempFile(const std::string& target)
    {
        const std::filesystem::path p(target);
        name_ = (p.parent_path() / ("." + p.filename().string() + ".XXXXXX")).string();
        std::vector<char> pattern(name_.begin(), name_.end());
        pattern.push_back('\0');
        fd_ = mkstemp(pattern.data());
        name_.assign(pattern.data());
    }
    ~TempFile()
    {
        if (fd_ >= 0)
            close(fd_);
        if (!committed_ && fd_ != -1)
            unlink(name_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int Fd() const { return fd_; }
    const std::string& Name() const { return name_; }
    // Closes the descriptor; false (errno set) when the close reports a lost write.
    bool Close()
    {
        const int fd = fd_;
        fd_ = -2;  // closed, file still to be removed on failure
        return close(fd) == 0;
    }
    void Commit() { committed_ = true; }

private:
    std::string name_;
    int fd_ = -1;
    bool committed_ = false;
};

WriteResult Failure(const std::string& what, int error)
{
    WriteResult result;
    if (error == ENOSPC || error == EDQUOT || error == EFBIG)
        result.error = what + ": the disk is full (" + std::strerror(error) + ").";
    else
        result.error = what + ": " + std::strerror(error) + ".";
    return result;
}

}  // namespace

WriteResult WriteFileReplacing(const std::string& path, std::string_view bytes)
{
    const std::string what = "The playlist " + path + " could not be written";
    struct stat existing {};
    const bool replacing = stat(path.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode))
        return WriteResult{false, what + ": a folder or special file has that name."};

    TempFile file(path);
    if (file.Fd() < 0)
        return Failure(what, errno);
    // A replaced file keeps its permissions; a new one gets the usual ones.
    fchmod(file.Fd(), replacing ? (existing.st_mode & 07777) : 0644);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(file.Fd(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Failure(what, errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (fsync(file.Fd()) != 0)
        return Failure(what, errno);
    if (!file.Close())
        return Failure(what, errno);
    if (rename(file.Name().c_str(), path.c_str()) != 0)
        return Failure(what, errno);
    file.Commit();
    // The rename itself lasts through a power cut only once the folder is on the disk too.
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        fsync(dir);
        close(dir);
    }
    WriteResult result;
    result.ok = true;
    return result;
}
