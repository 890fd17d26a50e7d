#include "update/update_page.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <vector>

namespace zev {

namespace {

struct TagField {
    std::string_view name;
    std::string UpdateInfo::*field;
};

constexpr std::array<TagField, 8> kTags = { {
    { "zevProduct", &UpdateInfo::product },
    { "zevVersion", &UpdateInfo::version },
    { "zevDownload", &UpdateInfo::download },
    { "zevClientSideName", &UpdateInfo::clientSideName },
    { "zevRedirection", &UpdateInfo::redirection },
    { "zevRunParameters", &UpdateInfo::runParameters },
    { "zevAuthor", &UpdateInfo::author },
    { "zevEmail", &UpdateInfo::email },
} };

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::size_t FindNoCase(std::string_view text, std::string_view what, std::size_t from = 0)
{
    auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(std::min(from, text.size())), text.end(),
        what.begin(), what.end(), [](char a, char b) { return Lower(a) == Lower(b); });
    return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The text from pos up to the next double quote, after an optional equals sign and opening quote;
// nothing when the closing quote is missing.
std::optional<std::string_view> QuotedAfter(std::string_view line, std::size_t pos, bool skipEquals)
{
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (skipEquals && pos < line.size() && line[pos] == '=')
        ++pos;
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos < line.size() && line[pos] == '"')
        ++pos;
    std::size_t end = line.find('"', pos);
    if (end == std::string_view::npos)
        return std::nullopt;
    return line.substr(pos, end - pos);
}

void ReadTagLine(std::string_view line, UpdateInfo& info)
{
    static constexpr std::string_view kMetaName = "META NAME";
    static constexpr std::string_view kContent = "CONTENT=";
    std::size_t at = FindNoCase(line, kMetaName);
    if (at == std::string_view::npos)
        return;
    std::size_t nameStart = at + kMetaName.size();
    std::optional<std::string_view> name = QuotedAfter(line, nameStart, true);
    if (!name)
        return;
    auto tag = std::find_if(kTags.begin(), kTags.end(), [&](const TagField& t) { return t.name == *name; });
    if (tag == kTags.end())
        return;
    const std::size_t nameEnd = static_cast<std::size_t>(name->data() - line.data()) + name->size();
    std::size_t content = FindNoCase(line, kContent, nameEnd);
    if (content == std::string_view::npos)
        return;
    std::optional<std::string_view> value = QuotedAfter(line, content + kContent.size(), false);
    if (value)
        info.*(tag->field) = std::string(*value);
}

// A version part as a whole number; anything else, or one too large, counts 0.
std::int64_t PartNumber(std::string_view part)
{
    if (part.empty() || part.size() > 18)
        return 0;
    std::int64_t n = 0;
    for (char c : part) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::vector<std::string_view> SplitAtPoints(std::string_view version)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t dot = version.find('.', start);
        parts.push_back(version.substr(start, dot == std::string_view::npos ? dot : dot - start));
        if (dot == std::string_view::npos)
            return parts;
        start = dot + 1;
    }
}

} // namespace

UpdateInfo ParseUpdatePage(std::string_view page)
{
    UpdateInfo info;
    std::size_t start = 0;
    while (start < page.size()) {
        std::size_t end = page.find('\n', start);
        std::string_view line = page.substr(start, end == std::string_view::npos ? end : end - start);
        ReadTagLine(line, info);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return info;
}

bool IsNewerVersion(std::string_view installed, std::string_view published)
{
    std::vector<std::string_view> mine = SplitAtPoints(installed);
    std::vector<std::string_view> theirs = SplitAtPoints(published);
    for (std::size_t i = 0; i < mine.size(); ++i) {
        std::int64_t a = PartNumber(mine[i]);
        std::int64_t b = i < theirs.size() ? PartNumber(theirs[i]) : 0;
        if (b > a)
            return true;
        if (b < a)
            return false;
    }
    return false;
}

bool IsWebAddress(std::string_view address)
{
    for (std::string_view scheme : { std::string_view("http://"), std::string_view("https://") }) {
        if (address.size() > scheme.size() && FindNoCase(address.substr(0, scheme.size()), scheme) == 0) {
            char host = address[scheme.size()];
            return host != '/' && host != '\\' && host != '?' && host != '#';
        }
    }
    return false;
}

std::optional<std::string> SafeClientFileName(std::string_view name)
{
    std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos)
        name = name.substr(slash + 1);
    std::string out;
    for (char c : name) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7f)
            out += c;
    }
    static constexpr std::size_t kMaxName = 200; // room for the temporary name's additions
    if (out.size() > kMaxName)
        out.erase(0, out.size() - kMaxName); // the end keeps the extension
    auto trim = [](char c) { return c == '.' || c == ' ' || c == '\t'; };
    while (!out.empty() && trim(out.front()))
        out.erase(out.begin());
    while (!out.empty() && trim(out.back()))
        out.pop_back();
    if (out.empty())
        return std::nullopt;
    return out;
}

std::string FileNameOfAddress(std::string_view address)
{
    std::size_t cut = address.find_first_of("?#");
    if (cut != std::string_view::npos)
        address = address.substr(0, cut);
    std::size_t scheme = address.find("://");
    if (scheme != std::string_view::npos)
        address = address.substr(scheme + 3);
    std::size_t slash = address.find('/');
    if (slash == std::string_view::npos)
        return {}; // only a host
    address = address.substr(slash);
    return std::string(address.substr(address.find_last_of('/') + 1));
}

} // namespace zev
