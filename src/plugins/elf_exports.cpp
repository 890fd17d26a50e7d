#include "plugins/elf_exports.h"

#include <fstream>
#include <iterator>

namespace zev {

namespace {

constexpr uint32_t kShtDynsym = 11;
constexpr uint8_t kSttFunc = 2;
constexpr uint8_t kSttGnuIfunc = 10;
constexpr uint8_t kStbGlobal = 1;
constexpr uint8_t kStbWeak = 2;
constexpr uint8_t kStbGnuUnique = 10;
constexpr uint8_t kStvDefault = 0;
constexpr uint8_t kStvProtected = 3;

// Bounds-checked reads of either width and byte order.
class Bytes {
public:
    Bytes(const uint8_t* data, std::size_t size, bool bigEndian)
        : m_data(data)
        , m_size(size)
        , m_big(bigEndian)
    {
    }

    bool Has(uint64_t offset, uint64_t length) const { return offset <= m_size && length <= m_size - offset; }

    uint64_t Read(uint64_t offset, int width) const
    {
        uint64_t v = 0;
        for (int i = 0; i < width; ++i) {
            uint64_t b = m_data[offset + static_cast<uint64_t>(m_big ? i : width - 1 - i)];
            v = (v << 8) | b;
        }
        return v;
    }
    uint8_t Byte(uint64_t offset) const { return m_data[offset]; }
    const uint8_t* At(uint64_t offset) const { return m_data + offset; }

private:
    const uint8_t* m_data;
    std::size_t m_size;
    bool m_big;
};

struct Layout {
    bool wide;
    int addr; // width of addresses and offsets
    uint64_t shoff, shentsize, shnum; // where in the header
    uint64_t shMin; // smallest section header
    uint64_t symMin; // smallest symbol
};

constexpr Layout kElf64 { true, 8, 0x28, 0x3A, 0x3C, 0x40, 24 };
constexpr Layout kElf32 { false, 4, 0x20, 0x2E, 0x30, 0x28, 16 };

struct Section {
    uint32_t type = 0;
    uint64_t offset = 0;
    uint64_t size = 0;
    uint32_t link = 0;
    uint64_t entsize = 0;
};

Section ReadSection(const Bytes& b, const Layout& l, uint64_t at)
{
    Section s;
    s.type = static_cast<uint32_t>(b.Read(at + 4, 4));
    if (l.wide) {
        s.offset = b.Read(at + 0x18, 8);
        s.size = b.Read(at + 0x20, 8);
        s.link = static_cast<uint32_t>(b.Read(at + 0x28, 4));
        s.entsize = b.Read(at + 0x38, 8);
    } else {
        s.offset = b.Read(at + 0x10, 4);
        s.size = b.Read(at + 0x14, 4);
        s.link = static_cast<uint32_t>(b.Read(at + 0x18, 4));
        s.entsize = b.Read(at + 0x24, 4);
    }
    return s;
}

ElfExports Fail(std::string why)
{
    ElfExports r;
    r.error = std::move(why);
    return r;
}

} // namespace

ElfExports ReadElfExports(const uint8_t* data, std::size_t size)
{
    if (!data || size < 0x34 || data[0] != 0x7F || data[1] != 'E' || data[2] != 'L' || data[3] != 'F')
        return Fail("not an ELF file");
    if (data[4] != 1 && data[4] != 2)
        return Fail("unknown ELF class");
    if (data[5] != 1 && data[5] != 2)
        return Fail("unknown ELF byte order");
    const Layout& l = data[4] == 2 ? kElf64 : kElf32;
    Bytes b(data, size, data[5] == 2);
    if (!b.Has(0, l.shnum + 2))
        return Fail("truncated ELF header");

    const uint64_t shoff = b.Read(l.shoff, l.addr);
    const uint64_t shentsize = b.Read(l.shentsize, 2);
    uint64_t shnum = b.Read(l.shnum, 2);
    if (shoff == 0 || shentsize < l.shMin || !b.Has(shoff, shentsize))
        return Fail("no section headers");
    if (shnum == 0) // more than 0xff00 sections: the count stands in section 0
        shnum = ReadSection(b, l, shoff).size;
    if (shnum > (size - shoff) / shentsize)
        return Fail("section headers run past the end of the file");

    const Section* dynsym = nullptr;
    Section found;
    for (uint64_t i = 0; i < shnum && !dynsym; ++i) {
        Section s = ReadSection(b, l, shoff + i * shentsize);
        if (s.type == kShtDynsym) {
            found = s;
            dynsym = &found;
        }
    }
    if (!dynsym)
        return Fail("no dynamic symbol table");
    if (dynsym->link == 0 || dynsym->link >= shnum)
        return Fail("dynamic symbol table has no string table");
    const Section strtab = ReadSection(b, l, shoff + dynsym->link * shentsize);
    if (!b.Has(strtab.offset, strtab.size))
        return Fail("string table runs past the end of the file");
    const uint64_t entsize = dynsym->entsize == 0 ? l.symMin : dynsym->entsize;
    if (entsize < l.symMin)
        return Fail("symbol entries too small");
    if (!b.Has(dynsym->offset, dynsym->size))
        return Fail("dynamic symbol table runs past the end of the file");

    ElfExports r;
    r.ok = true;
    const uint64_t count = dynsym->size / entsize;
    for (uint64_t i = 1; i < count; ++i) { // symbol 0 is always the empty one
        const uint64_t at = dynsym->offset + i * entsize;
        const uint64_t name = b.Read(at, 4);
        const uint8_t info = b.Byte(at + (l.wide ? 4 : 12));
        const uint8_t other = b.Byte(at + (l.wide ? 5 : 13));
        const uint64_t shndx = b.Read(at + (l.wide ? 6 : 14), 2);
        const uint8_t type = info & 0x0F, bind = info >> 4, vis = other & 0x03;
        if (shndx == 0 || (type != kSttFunc && type != kSttGnuIfunc))
            continue;
        if (bind != kStbGlobal && bind != kStbWeak && bind != kStbGnuUnique)
            continue;
        if (vis != kStvDefault && vis != kStvProtected)
            continue;
        if (name >= strtab.size)
            continue;
        const char* p = reinterpret_cast<const char*>(b.At(strtab.offset + name));
        std::size_t len = 0;
        const std::size_t room = static_cast<std::size_t>(strtab.size - name);
        while (len < room && p[len] != '\0')
            ++len;
        if (len == 0 || len == room) // empty, or not terminated inside the table
            continue;
        r.names.emplace_back(p, len);
    }
    return r;
}

ElfExports ReadElfExportsFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail("cannot open " + path);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Fail("cannot read " + path);
    return ReadElfExports(bytes.data(), bytes.size());
}

} // namespace zev
