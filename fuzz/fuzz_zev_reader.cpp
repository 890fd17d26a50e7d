// Any bytes: the reader never crashes; what it reads without error, the writer writes, and that
// text reads back without error and writes again byte for byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "model/dialog_ops.h"
#include "model/dialog_writer.h"
#include "model/zev_parser.h"

namespace {

struct Parsed {
    std::unique_ptr<zev::dialog> d = std::make_unique<zev::dialog>();
    bool ok = false;
    Parsed(std::string text, zev::TGenListType list)
    {
        zev::TZEV parser;
        parser.SetTarget(d.get());
        parser.GenListWhen = list;
        parser.Scanner().SrcStream() = std::move(text);
        parser.Execute();
        ok = parser.Successful();
        (void)parser.ListStream();
    }
    ~Parsed() { zev::Clear(*d); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Parsed first(std::string(reinterpret_cast<const char*>(data), size), zev::glAlways);
    std::string written = zev::SerializeDialogue(*first.d);
    if (!first.ok)
        return 0;
    Parsed second(written, zev::glOnError);
    if (!second.ok) {
        std::fprintf(stderr, "written text does not read back:\n%s\n", written.c_str());
        std::abort();
    }
    if (zev::SerializeDialogue(*second.d) != written) {
        std::fprintf(stderr, "second write differs:\n%s\n", written.c_str());
        std::abort();
    }
    return 0;
}
