#pragma once

#include <string>
#include <string_view>

#include "app/startup_data.h"

namespace zev {

// Builds the bytes of a start-up data file from its tables: for the make-startup-data tool, the
// tests and the fuzz seeds.
class StartupDataWriter {
public:
    explicit StartupDataWriter(const StartupTables& tables)
        : m_tables(tables)
    {
    }

    // Empty when the tables fit the layout; otherwise what does not (a table over its capacity, a
    // text too long for its one-byte length).
    std::string Check() const;
    // The file: magic, flag and the uncompressed body, or flag 1 and the zlib stream of the
    // uncompressed file. Empty when Check() finds a problem.
    std::string Bytes(bool compressed) const;
    bool WriteFile(const std::string& path, bool compressed, std::string& error) const;

    // magic, flag 1, reserved 0, length and the zlib stream of innerFile, whatever it holds.
    static std::string WrapCompressed(std::string_view innerFile);

private:
    std::string Body() const;

    const StartupTables& m_tables;
};

// The text source of the shipped data. Lines "[group NAME]" start a kind-B group; every other
// line is an item of the group above it. Blank lines and lines starting with '#' are skipped; a
// leading backslash is dropped, so "\#..." and "\[..." are items and "\" alone is an empty one.
// False with "line N: ..." in error when the text does not fit.
bool ReadStartupSource(std::string_view text, StartupTables& tables, std::string& error);

} // namespace zev
