#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/log.h"
#include "base/random.h"

namespace zev {

// The start-up data file "messages.dat": string tables and named groups of strings behind the magic
// "WLSDATA" and a flag byte (1 = the rest is a zlib stream holding a complete file of the same layout).
// The program uses only the kind-B group "Except_MSG"; the rest is read and kept.

inline constexpr std::string_view kStartupMagic = "WLSDATA";
inline constexpr uint8_t kStartupCompressedFlag = 1;

// Table capacities: a file asking for more is refused.
inline constexpr std::size_t kStringsACapacity = 11;
inline constexpr std::size_t kStringsBCapacity = 501;
inline constexpr std::size_t kSitesCapacity = 501;
inline constexpr std::size_t kGroupsACapacity = 51;
inline constexpr std::size_t kFlaggedCapacity = 501;
inline constexpr std::size_t kGroupsBCapacity = 161;
// Inflating stops beyond this: no real data file comes near it, a zlib bomb does.
inline constexpr std::size_t kMaxInflatedSize = 64u << 20;

struct SiteEntry {
    std::array<std::string, 3> texts;
    bool operator==(const SiteEntry&) const = default;
};

// A named group: items numbered from 0. Kind A stores item lengths in one byte, kind B in an int32.
struct NameGroup {
    std::string name;
    std::vector<std::string> items;
    bool operator==(const NameGroup&) const = default;
};

struct FlaggedString {
    std::string text; // at most 255 bytes: its length is one byte in the file
    uint8_t flag = 0;
    bool operator==(const FlaggedString&) const = default;
};

// Everything one file holds, in the order of its blocks.
struct StartupTables {
    std::vector<std::string> stringsA;
    std::vector<std::string> stringsB;
    std::vector<SiteEntry> sites;
    std::vector<NameGroup> groupsA;
    std::vector<FlaggedString> flagged;
    std::vector<NameGroup> groupsB;
    bool operator==(const StartupTables&) const = default;
};

class StartupData {
public:
    // Reads the file. False when it is missing or its magic (after decompression) is wrong; true
    // otherwise, also for a damaged file, of which what could be read is kept and one line logged.
    // Never throws. The plain tables are replaced by the file's; its groups are appended.
    bool LoadStartupData(const std::string& fileName, Logger& log);
    // The same for the bytes of a file; sourceName prefixes the logged line.
    bool LoadStartupDataFromBytes(std::string_view bytes, Logger& log, std::string_view sourceName = "messages.dat");

    // A random item of the first kind-B group named exactly groupName, logging
    // "RandomDataCNT: <count> index: <index>"; "" for an empty group, "Error" when there is no such group.
    std::string RandomGroupText(std::string_view groupName, Logger& log, Random& random) const;

    const StartupTables& tables() const { return m_tables; }
    const std::vector<std::string>& stringsA() const { return m_tables.stringsA; }
    const std::vector<std::string>& stringsB() const { return m_tables.stringsB; }
    const std::vector<SiteEntry>& sites() const { return m_tables.sites; }
    const std::vector<NameGroup>& groupsA() const { return m_tables.groupsA; }
    const std::vector<FlaggedString>& flagged() const { return m_tables.flagged; }
    const std::vector<NameGroup>& groupsB() const { return m_tables.groupsB; }
    // The first kind-B group of that exact name, or null.
    const NameGroup* FindGroupB(std::string_view name) const;

    // The line the last load logged about damage, empty when it had none. Start-up reads the file
    // before the log is reset, so the shell can repeat it afterwards.
    const std::string& loadProblem() const { return m_loadProblem; }

    void Clear() { m_tables = {}; }

private:
    bool Load(std::string_view bytes, Logger& log, std::string_view sourceName, std::vector<std::string> notes);

    StartupTables m_tables;
    std::string m_loadProblem;
};

} // namespace zev
