#pragma once

// The export table of an ELF shared library, read from the file's bytes without loading it:
// the defined, visible functions of its dynamic symbol table.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zev {

struct ElfExports {
    bool ok = false;
    std::string error; // why the bytes are not a readable shared library
    std::vector<std::string> names; // in symbol-table order
};

// Any bytes: a clear error, never a read outside the buffer.
ElfExports ReadElfExports(const uint8_t* data, std::size_t size);
ElfExports ReadElfExportsFile(const std::string& path);

} // namespace zev
