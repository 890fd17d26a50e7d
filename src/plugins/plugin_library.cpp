#include "plugins/plugin_library.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace zev {

LibraryHandle LoadLibraryFile(const std::string& path)
{
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

std::string LastLoaderError()
{
    const char* e = dlerror();
    return e ? e : "";
}

bool ReleaseLibrary(LibraryHandle handle)
{
    return handle && dlclose(handle) == 0;
}

void* LibrarySymbol(LibraryHandle handle, const char* name)
{
    return handle ? dlsym(handle, name) : nullptr;
}

LibraryHandle ReferenceLoadedLibrary(const std::string& path)
{
    // Without a slash the loader would search its paths instead of naming this file.
    if (path.find('/') == std::string::npos)
        return nullptr;
    return dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_LOCAL);
}

std::string LibraryFileOf(const void* address)
{
    Dl_info info {};
    if (!address || dladdr(address, &info) == 0 || !info.dli_fname)
        return {};
    return info.dli_fname;
}

bool AddressInLibrary(const void* address, const std::string& path)
{
    const std::string file = LibraryFileOf(address);
    if (file.empty())
        return false;
    // The same file may be named two ways; the loader's handles are one per loaded library.
    LibraryHandle holder = ReferenceLoadedLibrary(file);
    LibraryHandle named = ReferenceLoadedLibrary(path);
    const bool same = holder && holder == named;
    ReleaseLibrary(holder);
    ReleaseLibrary(named);
    return same;
}

bool IsLibraryLoaded(const std::string& path)
{
    LibraryHandle h = ReferenceLoadedLibrary(path);
    if (!h)
        return false;
    dlclose(h);
    return true;
}

ShortString ToShortString(std::string_view text)
{
    ShortString s {};
    WriteShortString(s.data(), text);
    return s;
}

void WriteShortString(unsigned char* out, std::string_view text)
{
    const std::size_t n = std::min<std::size_t>(text.size(), 255);
    out[0] = static_cast<unsigned char>(n);
    if (n)
        std::memcpy(out + 1, text.data(), n);
}

std::string FromShortString(const unsigned char* in)
{
    return std::string(reinterpret_cast<const char*>(in + 1), in[0]);
}

FileTimes ReadFileTimes(const std::string& path)
{
    FileTimes t;
    struct statx sx { };
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_MTIME | STATX_BTIME, &sx) != 0)
        return t;
    t.lastWrite = static_cast<std::time_t>(sx.stx_mtime.tv_sec);
    t.creation = (sx.stx_mask & STATX_BTIME) ? static_cast<std::time_t>(sx.stx_btime.tv_sec) : t.lastWrite;
    return t;
}

std::string DateTimeText(std::time_t t)
{
    std::tm tm {};
    localtime_r(&t, &tm);
    char buf[64];
    std::size_t n = std::strftime(buf, sizeof buf, "%x %X", &tm);
    return std::string(buf, n);
}

} // namespace zev
