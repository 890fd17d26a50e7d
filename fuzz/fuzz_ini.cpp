// Any bytes as an ini file: every read answers, a write keeps every other value readable as before.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "base/ini_file.h"

static bool IsFuzzKey(const std::string& section, const std::string& key)
{
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    return lower(section) == "fuzz section" && lower(key) == "fuzzkey";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        char dir[] = "/tmp/zevfuzzini-XXXXXX";
        if (!mkdtemp(dir))
            std::abort();
        return std::string(dir) + "/fuzz.ini";
    }();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, f);
    std::fclose(f);

    zev::IniFile ini(path);
    struct Entry {
        std::string section, key, value;
    };
    std::vector<Entry> before;
    for (const std::string& section : ini.ReadSections())
        for (const std::string& key : ini.ReadSection(section))
            before.push_back({ section, key, ini.ReadString(section, key, "\x01") });
    (void)ini.ReadInteger("Global Config", "Debugmode", 0);
    (void)ini.ReadBool("Main", "x", true);

    if (!ini.WriteString("Fuzz Section", "FuzzKey", "fuzz value"))
        return 0;
    if (ini.ReadString("Fuzz Section", "FuzzKey", "") != "fuzz value")
        std::abort();
    for (const Entry& e : before) {
        if (IsFuzzKey(e.section, e.key))
            continue;
        // The first copy of a key decides what it reads as, before and after.
        if (ini.ReadString(e.section, e.key, "\x01") != ini.ReadString(e.section, e.key, "\x02"))
            std::abort();
    }
    for (const Entry& e : before) {
        if (IsFuzzKey(e.section, e.key) || ini.ReadString(e.section, e.key, "\x01") == e.value)
            continue;
        std::fprintf(stderr, "[%s] %s changed by an unrelated write\n", e.section.c_str(), e.key.c_str());
        std::abort();
    }
    return 0;
}
