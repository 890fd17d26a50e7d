#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/dialogs.h"

namespace zev {

// Dialogs that answer from a queue and record what was shown: the test double and the
// command-line tool's way of answering boxes. An empty queue gives each box's default: the default
// button, the default text of an input box, no file.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder, List };

    struct Shown {
        Kind kind;
        std::string text; // the message, the prompt, or the file box's title
        std::string caption;
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::Ok;
        FileBoxOptions file; // for file boxes
        std::string answer; // what the box answered, as text
    };

    // An answer: a button for message boxes; a text (or nothing = cancel) for the others.
    struct Answer {
        std::optional<MsgResult> button;
        std::optional<std::string> text;
        bool cancel = false;
        int filter = 0; // the file box's chosen filter, from 0
    };

    void PushButton(MsgResult button) { m_answers.push_back({ button, std::nullopt, false }); }
    void PushText(std::string text) { m_answers.push_back({ std::nullopt, std::move(text), false }); }
    void PushCancel() { m_answers.push_back({ std::nullopt, std::nullopt, true }); }
    // A file box's answer with the filter the user chose (from 0).
    void PushFile(std::string path, int filter)
    {
        m_answers.push_back({ std::nullopt, std::move(path), false, filter });
    }
    // "yes", "no", "cancel", "ok" and the other button names are buttons; anything else a text.
    void PushAnswer(const std::string& word);
    std::size_t PendingAnswers() const { return m_answers.size(); }

    const std::vector<Shown>& History() const { return m_shown; }
    const Shown* Last() const { return m_shown.empty() ? nullptr : &m_shown.back(); }
    void ClearHistory() { m_shown.clear(); }

    // Called for every box as it is shown (the command-line tool prints them).
    std::function<void(const Shown&)> onShown;

    MsgResult MessageBox(
        std::string_view text, MsgIcon icon, MsgButtons buttons, std::string_view caption = {}) override;
    std::optional<std::string> InputBox(
        std::string_view caption, std::string_view prompt, std::string_view defaultText) override;
    std::optional<std::string> OpenFile(const FileBoxOptions& options) override;
    std::optional<std::string> SaveFile(const FileBoxOptions& options) override;
    std::optional<std::string> PickFolder(std::string_view caption, std::string_view initialFolder) override;
    // The list picker of the scripts' SelectFloatNode and SelectTimedEvent: an answer names an item
    // by its text or by its number from 1; "cancel", an unknown item or no answer chooses nothing.
    std::optional<int> ChooseItem(
        std::string_view caption, std::string_view label, const std::vector<std::string>& items);

private:
    std::optional<Answer> Next();
    std::optional<std::string> TextAnswer(Shown shown, std::optional<std::string> fallback, int* filter = nullptr);
    void Record(Shown shown);

    std::deque<Answer> m_answers;
    std::vector<Shown> m_shown;
};

} // namespace zev
