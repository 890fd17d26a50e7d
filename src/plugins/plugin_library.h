#pragma once

// The dynamic loader as the plug-in host uses it, and the short strings of the plug-in boundary.

#include <array>
#include <ctime>
#include <string>
#include <string_view>

namespace zev {

// A library handle; null when loading failed.
using LibraryHandle = void*;

// Loads with every import bound at once, so a plug-in importing something the program does not
// export is refused here rather than crashing at its first call.
LibraryHandle LoadLibraryFile(const std::string& path);
// The loader's message for the last failure.
std::string LastLoaderError();
bool ReleaseLibrary(LibraryHandle handle);
void* LibrarySymbol(LibraryHandle handle, const char* name);
// Whether a library of that path is loaded in the process, without loading it.
bool IsLibraryLoaded(const std::string& path);
// A new reference to an already loaded library (null when it is not loaded); release it after use.
LibraryHandle ReferenceLoadedLibrary(const std::string& path);
// The file of the loaded library that holds an address (code or data); empty when none does.
std::string LibraryFileOf(const void* address);
// Whether an address lies in the loaded library of that path.
bool AddressInLibrary(const void* address, const std::string& path);

using ShortString = std::array<unsigned char, 256>;

// Host text to a short string, cut to 255 characters.
ShortString ToShortString(std::string_view text);
void WriteShortString(unsigned char* out, std::string_view text);
// The text of a short string: exactly its length byte's count of characters.
std::string FromShortString(const unsigned char* in);

// Last-write and creation times of a file (creation falls back to the last write where the file
// system keeps none); 0 when the file cannot be read.
struct FileTimes {
    std::time_t lastWrite = 0;
    std::time_t creation = 0;
};
FileTimes ReadFileTimes(const std::string& path);
// The local date and time as "short date, long time" text.
std::string DateTimeText(std::time_t t);

} // namespace zev
