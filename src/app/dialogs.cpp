#include "app/dialogs.h"

#include <array>
#include <cctype>
#include <utility>

namespace zev {

std::vector<FileFilter> ParseFileFilters(std::string_view filters)
{
    std::vector<FileFilter> out;
    while (!filters.empty()) {
        auto bar = filters.find('|');
        std::string_view description = filters.substr(0, bar);
        std::string_view patterns;
        if (bar == std::string_view::npos) {
            filters = {};
        } else {
            filters.remove_prefix(bar + 1);
            auto next = filters.find('|');
            patterns = filters.substr(0, next);
            filters = next == std::string_view::npos ? std::string_view {} : filters.substr(next + 1);
        }
        out.push_back({ std::string(description), std::string(patterns) });
    }
    return out;
}

MsgResult DefaultButton(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgResult::Ok;
    case MsgButtons::OkCancel:
        return MsgResult::Cancel;
    case MsgButtons::YesNo:
        return MsgResult::No;
    case MsgButtons::YesNoCancel:
        return MsgResult::Cancel;
    case MsgButtons::RetryCancel:
        return MsgResult::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return MsgResult::Abort;
    }
    return MsgResult::Cancel;
}

std::string_view MsgIconName(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return "message";
    case MsgIcon::Error:
        return "error";
    case MsgIcon::Warning:
        return "warning";
    case MsgIcon::Information:
        return "information";
    case MsgIcon::Confirmation:
        return "confirmation";
    }
    return "message";
}

namespace {
constexpr std::array<std::pair<MsgResult, std::string_view>, 8> kResultNames { {
    { MsgResult::None, "none" },
    { MsgResult::Ok, "ok" },
    { MsgResult::Cancel, "cancel" },
    { MsgResult::Yes, "yes" },
    { MsgResult::No, "no" },
    { MsgResult::Retry, "retry" },
    { MsgResult::Abort, "abort" },
    { MsgResult::Ignore, "ignore" },
} };
} // namespace

std::string_view MsgResultName(MsgResult result)
{
    for (auto& [r, name] : kResultNames)
        if (r == result)
            return name;
    return "none";
}

std::optional<MsgResult> ParseMsgResult(std::string_view name)
{
    std::string lower(name);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (auto& [r, n] : kResultNames)
        if (n == lower && r != MsgResult::None)
            return r;
    return std::nullopt;
}

} // namespace zev
