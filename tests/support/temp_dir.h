#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zev::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string File(std::string_view name) const;
    // Writes bytes to a file of the folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;

private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);

} // namespace zev::test
