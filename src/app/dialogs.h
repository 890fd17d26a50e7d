#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zev {

enum class MsgIcon { None, Error, Warning, Information, Confirmation };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgResult { None, Ok, Cancel, Yes, No, Retry, Abort, Ignore };

// One entry of a file box's filter: "ZEV Dialogue File format (*.zev)" with the patterns "*.zev".
struct FileFilter {
    std::string description;
    std::string patterns; // separated by ';'
};

// Parses the "description|patterns|description|patterns" form the program's filters are written in.
std::vector<FileFilter> ParseFileFilters(std::string_view filters);

struct FileBoxOptions {
    std::string title;
    std::string initialFolder;
    std::string fileName;
    std::vector<FileFilter> filters;
    int filterIndex = 0; // from 0: the filter shown first
    mutable int chosenFilter = 0; // from 0: set by the box to the filter the user had chosen
    std::string defaultExtension; // without the dot; added when the chosen name has none
    bool mustExist = false;
    bool confirmOverwrite = false;
};

// Message boxes, input boxes and file boxes. The GUI shows real windows; tests and the
// command-line tool answer from a script.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual MsgResult MessageBox(std::string_view text, MsgIcon icon, MsgButtons buttons, std::string_view caption = {})
        = 0;
    // The entered text, or nothing when cancelled.
    virtual std::optional<std::string> InputBox(
        std::string_view caption, std::string_view prompt, std::string_view defaultText)
        = 0;
    virtual std::optional<std::string> OpenFile(const FileBoxOptions& options) = 0;
    virtual std::optional<std::string> SaveFile(const FileBoxOptions& options) = 0;
    virtual std::optional<std::string> PickFolder(std::string_view caption, std::string_view initialFolder) = 0;

    // The common boxes.
    void Error(std::string_view text) { MessageBox(text, MsgIcon::Error, MsgButtons::Ok); }
    void Information(std::string_view text) { MessageBox(text, MsgIcon::Information, MsgButtons::Ok); }
    void Warning(std::string_view text) { MessageBox(text, MsgIcon::Warning, MsgButtons::Ok); }
};

// The button a box gives when it is closed without a choice: Cancel where there is one, otherwise
// the safe answer of the set.
MsgResult DefaultButton(MsgButtons buttons);
std::string_view MsgIconName(MsgIcon icon);
std::string_view MsgResultName(MsgResult result);
std::optional<MsgResult> ParseMsgResult(std::string_view name);

} // namespace zev
