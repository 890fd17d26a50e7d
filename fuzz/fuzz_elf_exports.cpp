// The export-table reader of plug-in libraries: any bytes, no fault.
#include <cstddef>
#include <cstdint>

#include "plugins/elf_exports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zev::ElfExports e = zev::ReadElfExports(data, size);
    (void)e;
    return 0;
}
