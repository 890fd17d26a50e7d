// Any bytes: the reader never crashes; read from a file through a window of a few bytes, they give
// what they give from memory; what reads without error, the writer writes, and that text reads
// back without error and writes again byte for byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "model/dialog_ops.h"
#include "model/dialog_writer.h"
#include "model/zev_parser.h"

namespace {

struct Parsed {
    std::unique_ptr<zev::dialog> d = std::make_unique<zev::dialog>();
    bool ok = false;
    std::string errors;
    std::string listing;

    // From memory.
    Parsed(std::string text, zev::TGenListType list)
    {
        zev::TZEV parser;
        Prepare(parser, list);
        parser.Scanner().SrcStream() = std::move(text);
        Run(parser);
    }
    // From a file, through a window that reads chunk bytes and keeps little.
    Parsed(const std::string& path, int64_t chunk)
    {
        zev::TZEV parser;
        Prepare(parser, zev::glAlways);
        parser.Scanner().SetWindowSizes(chunk, chunk * 2);
        parser.SourceFileName = path;
        Run(parser);
    }
    ~Parsed() { zev::Clear(*d); }

    void Prepare(zev::TZEV& parser, zev::TGenListType list)
    {
        parser.SetTarget(d.get());
        parser.GenListWhen = list;
    }
    void Run(zev::TZEV& parser)
    {
        parser.Execute();
        ok = parser.Successful();
        for (const auto& e : parser.Errors())
            errors += std::to_string(e.Line) + ":" + std::to_string(e.Col) + ":" + std::to_string(e.ErrorCode) + "\n";
        listing = parser.ListStream();
    }
};

std::string TempFile(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/fuzz_zev_reader." + std::to_string(getpid()) + ".zev";
    }();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return {};
    bool written = std::fwrite(data, 1, size, f) == size;
    written = std::fclose(f) == 0 && written;
    return written ? path : std::string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Parsed first(std::string(reinterpret_cast<const char*>(data), size), zev::glAlways);
    std::string written = zev::SerializeDialogue(*first.d);
    if (std::string path = TempFile(data, size); !path.empty()) {
        Parsed fromFile(path, 1 + static_cast<int64_t>(size % 7));
        std::remove(path.c_str());
        if (fromFile.ok != first.ok || fromFile.errors != first.errors || fromFile.listing != first.listing
            || zev::SerializeDialogue(*fromFile.d) != written) {
            std::fprintf(stderr, "read from a file differs from the read in memory\n");
            std::abort();
        }
    }
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
