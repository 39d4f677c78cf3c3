#include "app/Config.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <unistd.h>

std::string WrapConfig(const std::string& record)
{
    Stream out = Stream::ForStoring();
    out.Magic(CONFIG_BEGIN_MARK);
    std::string data = out.Data() + record;
    Stream tail = Stream::ForStoring();
    tail.Magic(CONFIG_END_MARK);
    uint32_t length = static_cast<uint32_t>(data.size() + 4);
    tail % length;
    return data + tail.Data();
}

static bool ReadEnvelope(const std::string& data, const ConfigSerializer& serialize)
{
    Stream in = Stream::ForLoading(data);
    in.Magic(CONFIG_BEGIN_MARK);
    if (in.IsError())
        return false;  // a foreign file: do not let any part see it
    serialize(in);
    in.Magic(CONFIG_END_MARK);
    const uint32_t consumed = static_cast<uint32_t>(data.size() - in.Remaining());
    uint32_t length = 0;
    in % length;
    return !in.IsError() && length == consumed && in.AtEnd();
}

bool LoadConfigData(const std::string& data, const ConfigSerializer& serialize)
{
    // A copy of the current state, so a damaged file cannot leave it half-loaded.
    Stream backup = Stream::ForStoring();
    serialize(backup);

    if (ReadEnvelope(data, serialize))
        return true;

    Stream restore = Stream::ForLoading(backup.Data());
    serialize(restore);
    return false;
}

bool LoadConfig(const std::string& path, const ConfigSerializer& serialize)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        data.clear();  // an unreadable file counts as damaged
    return LoadConfigData(data, serialize);
}

// Writes data to a new file and forces it to disk, so the rename that follows
// never exposes a file whose bytes are not all there.
static bool WriteWholeFile(const std::string& path, const std::string& data)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool StoreConfig(const std::string& path, const ConfigSerializer& serialize)
{
    Stream record = Stream::ForStoring();
    serialize(record);
    if (record.IsError())
        return false;
    const std::string data = WrapConfig(record.Data());

    // Unique per process: two players closing at once never write into one file.
    const std::string temp = path + "." + std::to_string(::getpid()) + ".tmp";
    if (!WriteWholeFile(temp, data)) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename replaces the old file in one step; a crash before it leaves
    // the previous configuration intact.
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}
