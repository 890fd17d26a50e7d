#include "base/paths.h"

#include <filesystem>
#include <system_error>

namespace zev {

std::string ExecutableFolder()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::string JoinPath(std::string_view folder, std::string_view relative)
{
    std::string rel(relative);
    for (char& c : rel)
        if (c == '\\')
            c = '/';
    while (!rel.empty() && rel.front() == '/')
        rel.erase(rel.begin());
    std::string out(folder);
    if (out.empty())
        return rel;
    if (out.back() != '/')
        out += '/';
    return out + rel;
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

} // namespace zev
