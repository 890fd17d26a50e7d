// make-startup-data: turns the text source of the shipped start-up data (tools/messages.txt) into
// messages.dat.
//   make-startup-data [--uncompressed] SOURCE.txt OUTPUT.dat
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "app/startup_data_writer.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: make-startup-data [--uncompressed] SOURCE.txt OUTPUT.dat\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    bool compressed = true;
    std::string source, output;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--uncompressed")
            compressed = false;
        else if (arg == "--help" || arg == "-h")
            return Usage();
        else if (arg.starts_with("--"))
            return Usage();
        else if (source.empty())
            source = arg;
        else if (output.empty())
            output = arg;
        else
            return Usage();
    }
    if (output.empty())
        return Usage();

    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "make-startup-data: cannot read %s\n", source.c_str());
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    zev::StartupTables tables;
    std::string error;
    if (!zev::ReadStartupSource(text, tables, error)) {
        std::fprintf(stderr, "%s: %s\n", source.c_str(), error.c_str());
        return 1;
    }
    if (!zev::StartupDataWriter(tables).WriteFile(output, compressed, error)) {
        std::fprintf(stderr, "make-startup-data: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
