#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zev {

// An ini file on disk: the configuration, conditions.ini, start_conditions.ini, func_desc.ini.
//
// Syntax, per line (a line ends at LF; a CR before the LF belongs to the line end):
//   - blanks (space, tab) at the start of a line are ignored; a UTF-8 byte order mark before
//     the first line too;
//   - empty lines, and lines starting with ';' or '#', are blank and comment lines;
//   - "[name]" starts a section; the name is the text up to the first ']' without blanks around
//     it; whatever follows the ']' is ignored;
//   - "key=value": the key is the text before the first '=', the value the text after it, both
//     without the blanks at their ends. Nothing else is taken off: quotes, inner blanks, ';' and
//     any other bytes belong to the value;
//   - anything else (no '=', an empty key, a '[' without ']', keys before the first section) is
//     kept in the file but means nothing.
// Section and key names compare without regard to ASCII case. Sections of the same name count
// as one, in file order; of duplicate keys the first counts.
//
// Every read sees the file as it is on disk now: the parsed file is cached and read again when its
// identity, size or times changed, or while its modification time is too recent to tell two
// writes apart. A missing or unreadable file reads as empty, so every read gives its default.
//
// A write is on disk when it returns. It writes the whole file anew into a temporary file of the
// same folder, syncs it and renames it over the original, so the file is always either the old or
// the new one. It changes only the line it concerns: comments, unknown keys, blank lines, order,
// the spelling of names, odd spacing and each line's end stay as they were. New lines take the
// file's line end (CR LF in a new file). A new key goes after the last entry of its section, so
// trailing blank lines and comments (which usually introduce the next section) stay below it; a
// new section goes at the end of the file, after a blank line. A write that fails, or a file that
// exists but cannot be read, returns false, leaves the file as it was and sets LastError.
//
// Not for concurrent use from several threads.
class IniFile {
public:
    explicit IniFile(std::string path);
    ~IniFile();
    IniFile(IniFile&&) noexcept;
    IniFile& operator=(IniFile&&) noexcept;
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const std::string& Path() const { return m_path; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal, or hexadecimal after "$" or "0x", with an optional sign; hexadecimal is taken as
    // the 32-bit pattern ("$FFFFFFFF" is -1). Anything else, or out of range, gives def.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
    // True for any non-zero integer; a value that is not an integer gives def.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Names must read back: not empty, no line break, no blanks at their ends, no ']' in a
    // section name, no '=' in a key nor ';', '#' or '[' at its start. A value must hold no line
    // break; blanks at its ends are written but do not read back.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int32_t value);
    bool WriteBool(std::string_view section, std::string_view key, bool value); // "1" / "0"

    // A section exists when its header does, even without keys.
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    // Key names of a section in file order, as spelt at their first occurrence.
    std::vector<std::string> ReadSection(std::string_view section) const;
    // Section names in file order, as spelt at their first occurrence.
    std::vector<std::string> ReadSections() const;
    // Removes every header of the section with its entries and the blank lines right after the
    // last one; comments below it stay (they usually introduce the next section). True also when
    // there was nothing to remove.
    bool EraseSection(std::string_view section);
    // Removes every occurrence of the key in the section. True also when there was none.
    bool DeleteKey(std::string_view section, std::string_view key);

    // Why the last write failed, with the path and the system's reason; empty after a success.
    const std::string& LastError() const { return m_lastError; }

    // Files larger than this are not read (they read as empty and refuse writes).
    static constexpr std::size_t kMaxFileSize = 64u << 20;

private:
    struct Cache;

    // Brings the cache up to the file on disk; false when the file exists but cannot be read.
    bool Refresh() const;
    bool Fail(const std::string& what);
    // Writes new content atomically and takes it into the cache.
    bool Commit(const std::string& text);

    std::string m_path;
    std::string m_lastError;
    std::unique_ptr<Cache> m_cache;
};

} // namespace zev
