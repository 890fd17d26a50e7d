// Any bytes as an update information page: the tags are read, and every name and address taken
// from them stays within bounds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "update/update_page.h"

static void CheckPlainName(const std::string& raw)
{
    std::optional<std::string> name = zev::SafeClientFileName(raw);
    if (!name)
        return;
    if (name->empty() || name->size() > 200 || *name == "." || *name == ".." || name->front() == '.')
        std::abort();
    for (char c : *name) {
        auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7f)
            std::abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view page(reinterpret_cast<const char*>(data), size);
    zev::UpdateInfo info = zev::ParseUpdatePage(page);
    for (const std::string* field : { &info.product, &info.version, &info.download, &info.clientSideName,
             &info.redirection, &info.runParameters, &info.author, &info.email }) {
        if (field->find('"') != std::string::npos || field->find('\n') != std::string::npos)
            std::abort(); // a value ends at its quote, within its line
        CheckPlainName(*field);
        CheckPlainName(zev::FileNameOfAddress(*field));
        zev::IsWebAddress(*field);
    }
    if (zev::IsNewerVersion(info.version, info.version))
        std::abort();
    zev::IsNewerVersion(zev::kInstalledVersion, info.version);
    CheckPlainName(std::string(page));
    return 0;
}
