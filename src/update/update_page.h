#pragma once

// The update information page and what is taken from it: the META tags, the version comparison, and
// the checks that keep an address or a file name from the page within bounds.

#include <optional>
#include <string>
#include <string_view>

namespace zev {

// The version the update check measures a published version against.
inline constexpr std::string_view kInstalledVersion = "0.25";

// The tags of the information page; a tag the page lacks is empty.
struct UpdateInfo {
    std::string product; // required
    std::string version; // required
    std::string download;
    std::string clientSideName;
    std::string redirection;
    std::string runParameters;
    std::string author;
    std::string email;
};

// Reads every line containing "META NAME" (any case): the tag name follows up to the next double
// quote, the value after "CONTENT=" (any case) up to the next double quote. Unknown tags and lines
// without their closing quotes are passed over; a later tag of the same name wins.
UpdateInfo ParseUpdatePage(std::string_view page);

// True when the published version is newer: the dotted parts are compared as whole numbers (a part
// that is not one counts 0) from the left while the installed version has parts, so 0.25.1 is not
// newer than 0.25.
bool IsNewerVersion(std::string_view installed, std::string_view published);

// True for an http or https address with a host; every other scheme, and a relative address, is
// not followed.
bool IsWebAddress(std::string_view address);

// The page's file name as a plain name for the downloads folder: the last part after any '/' or
// '\', without control characters and without leading dots and blanks or trailing ones. Nothing
// when no name is left.
std::optional<std::string> SafeClientFileName(std::string_view name);

// The last path segment of an address, without its query or fragment: the name to fall back on
// when the page gives none.
std::string FileNameOfAddress(std::string_view address);

} // namespace zev
