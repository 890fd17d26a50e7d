#pragma once

#include <string>
#include <string_view>

namespace zev::script {

// The dialog-box built-ins of the script language. The application adapts this to its own dialogs;
// without one the engine answers every box with its default (see DefaultScriptDialogs).
class ScriptDialogs {
public:
    virtual ~ScriptDialogs() = default;
    virtual void ShowMessage(std::string_view text) = 0;
    // The entered text; defaultText when the box is cancelled.
    virtual std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) = 0;
    virtual void ErrorDlg(std::string_view text) = 0;
    virtual void InformationDlg(std::string_view text) = 0;
    // True for Yes.
    virtual bool QuestionDlg(std::string_view text) = 0;
    // True for OK.
    virtual bool OkCancelDlg(std::string_view text) = 0;
};

// Shows nothing: InputBox gives its default text, QuestionDlg No, OkCancelDlg Cancel.
class DefaultScriptDialogs final : public ScriptDialogs {
public:
    void ShowMessage(std::string_view) override { }
    std::string InputBox(std::string_view, std::string_view, std::string_view d) override { return std::string(d); }
    void ErrorDlg(std::string_view) override { }
    void InformationDlg(std::string_view) override { }
    bool QuestionDlg(std::string_view) override { return false; }
    bool OkCancelDlg(std::string_view) override { return false; }
};

} // namespace zev::script
