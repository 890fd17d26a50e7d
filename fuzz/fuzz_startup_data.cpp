// Any bytes as messages.dat: the load never crashes, and whatever it kept writes back and reads
// back to the same tables.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/startup_data.h"
#include "app/startup_data_writer.h"
#include "base/log.h"
#include "base/random.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zev::Logger log; // no file
    zev::Random random(size);
    zev::StartupData startup;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    startup.LoadStartupDataFromBytes(bytes, log);
    startup.RandomGroupText("Except_MSG", log, random);
    if (!startup.groupsB().empty())
        startup.RandomGroupText(startup.groupsB().front().name, log, random);

    zev::StartupDataWriter writer(startup.tables());
    if (!writer.Check().empty())
        std::abort(); // the reader kept something the layout cannot hold
    zev::StartupData again;
    if (!again.LoadStartupDataFromBytes(writer.Bytes(false), log) || again.tables() != startup.tables()
        || !again.loadProblem().empty())
        std::abort();
    return 0;
}
