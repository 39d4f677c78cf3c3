#include "core/Paths.h"

#include <filesystem>
#include <system_error>

namespace {

// The kernel marks the link of an executable replaced on disk (a rebuild while
// it runs); the folder and name are still the ones wanted.
constexpr std::string_view kDeletedSuffix = " (deleted)";

}  // namespace

String ExecutablePath()
{
    std::error_code error;
    String path = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error)
        return {};
    if (path.size() > kDeletedSuffix.size() && path.ends_with(kDeletedSuffix))
        path.resize(path.size() - kDeletedSuffix.size());
    return path;
}

String ExecutableFolder()
{
    const String path = ExecutablePath();
    const size_t slash = path.rfind('/');
    if (slash == String::npos)
        return "./";
    return path.substr(0, slash + 1);
}

String ExecutableTitle()
{
    const String path = ExecutablePath();
    const size_t slash = path.rfind('/');
    const String name = slash == String::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == String::npos ? name : name.substr(0, dot);
}

String ExecutableFilePath(const String& fileName)
{
    return ExecutableFolder() + fileName;
}

String ReplaceExtension(const String& path, const String& extension)
{
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == String::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == String::npos || dot < nameStart)
        return path + extension;
    return path.substr(0, dot) + extension;
}
