#pragma once

#include <string>
#include <string_view>

namespace zev {

// The folder of the running executable.
std::string ExecutableFolder();
// Joins a program-relative path written with either slash ("\def\def_list.dws") to a folder.
std::string JoinPath(std::string_view folder, std::string_view relative);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

} // namespace zev
