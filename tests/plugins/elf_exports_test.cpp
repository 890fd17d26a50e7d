#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "plugins/elf_exports.h"
#include "support/temp_dir.h"

namespace zev::test {
namespace {

// A minimal little-endian shared object: null section, .dynsym, .dynstr. Each name is a defined
// global function except "import" (undefined) and "data" (an object).
std::vector<uint8_t> MakeElf(bool wide, const std::vector<std::string>& names)
{
    const std::size_t ehsize = wide ? 64 : 52, shsize = wide ? 64 : 40, symsize = wide ? 24 : 16;
    std::string strtab(1, '\0');
    std::vector<uint8_t> syms(symsize, 0);
    for (const std::string& n : names) {
        std::vector<uint8_t> s(symsize, 0);
        const uint32_t off = static_cast<uint32_t>(strtab.size());
        std::memcpy(s.data(), &off, 4);
        const uint8_t info = static_cast<uint8_t>((1 << 4) | (n == "data" ? 1 : 2));
        const uint16_t shndx = n == "import" ? 0 : 7;
        s[wide ? 4 : 12] = info;
        std::memcpy(s.data() + (wide ? 6 : 14), &shndx, 2);
        syms.insert(syms.end(), s.begin(), s.end());
        strtab += n + '\0';
    }
    const std::size_t symOff = ehsize, strOff = symOff + syms.size(), shOff = strOff + strtab.size();
    std::vector<uint8_t> f(shOff + 3 * shsize, 0);
    const uint8_t ident[] = { 0x7F, 'E', 'L', 'F', static_cast<uint8_t>(wide ? 2 : 1), 1, 1 };
    std::memcpy(f.data(), ident, sizeof ident);
    auto put = [&](std::size_t at, uint64_t v, int width) {
        for (int i = 0; i < width; ++i)
            f[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    put(16, 3, 2); // ET_DYN
    put(wide ? 0x28 : 0x20, shOff, wide ? 8 : 4);
    put(wide ? 0x3A : 0x2E, shsize, 2);
    put(wide ? 0x3C : 0x30, 3, 2);
    std::copy(syms.begin(), syms.end(), f.begin() + static_cast<long>(symOff));
    std::copy(strtab.begin(), strtab.end(), f.begin() + static_cast<long>(strOff));
    auto section = [&](int i, uint32_t type, uint64_t off, uint64_t size, uint32_t link, uint64_t ent) {
        const std::size_t at = shOff + static_cast<std::size_t>(i) * shsize;
        put(at + 4, type, 4);
        put(at + (wide ? 0x18 : 0x10), off, wide ? 8 : 4);
        put(at + (wide ? 0x20 : 0x14), size, wide ? 8 : 4);
        put(at + (wide ? 0x28 : 0x18), link, 4);
        put(at + (wide ? 0x38 : 0x24), ent, wide ? 8 : 4);
    };
    section(1, 11, symOff, syms.size(), 2, symsize);
    section(2, 3, strOff, strtab.size(), 0, 0);
    return f;
}

TEST(ElfExports, ReadsBothWidthsAndKeepsOnlyDefinedFunctions)
{
    for (bool wide : { true, false }) {
        auto f = MakeElf(wide, { "RunPlugin", "import", "data", "GetPluginName" });
        ElfExports e = ReadElfExports(f.data(), f.size());
        ASSERT_TRUE(e.ok) << e.error;
        EXPECT_EQ(e.names, (std::vector<std::string> { "RunPlugin", "GetPluginName" }));
    }
}

TEST(ElfExports, ABuiltPluginListsItsExportsButNotItsImports)
{
    ElfExports e = ReadElfExportsFile(std::string(ZEV_TEST_PLUGIN_DIR) + "/Utility_v025.so");
    ASSERT_TRUE(e.ok) << e.error;
    auto has = [&](const char* n) { return std::find(e.names.begin(), e.names.end(), n) != e.names.end(); };
    EXPECT_TRUE(has("GetPluginName"));
    EXPECT_TRUE(has("RunPlugin"));
    EXPECT_FALSE(has("SendDebugMSG"));
    EXPECT_EQ(e.names.size(), 6u); // the four answers, RunPlugin and ImportData
}

TEST(ElfExports, DamagedFilesGiveAnErrorNeverAFault)
{
    auto f = MakeElf(true, { "A", "B" });
    for (std::size_t n = 0; n < f.size(); ++n) // every truncation
        (void)ReadElfExports(f.data(), n);
    EXPECT_FALSE(ReadElfExports(f.data(), 40).ok);
    EXPECT_FALSE(ReadElfExports(nullptr, 0).ok);
    for (std::size_t i = 0; i < f.size(); ++i) // every byte flipped to the worst values
        for (uint8_t v : { uint8_t(0x00), uint8_t(0xFF), uint8_t(0x7F) }) {
            auto g = f;
            g[i] = v;
            (void)ReadElfExports(g.data(), g.size());
        }
    std::string notElf = "#!/bin/sh\n";
    EXPECT_EQ(ReadElfExports(reinterpret_cast<const uint8_t*>(notElf.data()), notElf.size()).error, "not an ELF file");
    EXPECT_FALSE(ReadElfExportsFile("/nonexistent/x.so").ok);
}

} // namespace
} // namespace zev::test
