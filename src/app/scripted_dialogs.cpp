#include "app/scripted_dialogs.h"

namespace zev {

namespace {

bool Offers(MsgButtons buttons, MsgResult r)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return r == MsgResult::Ok;
    case MsgButtons::OkCancel:
        return r == MsgResult::Ok || r == MsgResult::Cancel;
    case MsgButtons::YesNo:
        return r == MsgResult::Yes || r == MsgResult::No;
    case MsgButtons::YesNoCancel:
        return r == MsgResult::Yes || r == MsgResult::No || r == MsgResult::Cancel;
    case MsgButtons::RetryCancel:
        return r == MsgResult::Retry || r == MsgResult::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return r == MsgResult::Abort || r == MsgResult::Retry || r == MsgResult::Ignore;
    }
    return false;
}

} // namespace

void ScriptedDialogs::PushAnswer(const std::string& word)
{
    if (auto button = ParseMsgResult(word))
        PushButton(*button);
    else
        PushText(word);
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::Next()
{
    if (m_answers.empty())
        return std::nullopt;
    Answer a = std::move(m_answers.front());
    m_answers.pop_front();
    return a;
}

void ScriptedDialogs::Record(Shown shown)
{
    m_shown.push_back(std::move(shown));
    if (onShown)
        onShown(m_shown.back());
}

MsgResult ScriptedDialogs::MessageBox(std::string_view text, MsgIcon icon, MsgButtons buttons, std::string_view caption)
{
    MsgResult result = DefaultButton(buttons);
    if (auto a = Next()) {
        // A button the box does not offer cannot be pressed: the box gives its default.
        if (a->button && Offers(buttons, *a->button))
            result = *a->button;
        else if (a->cancel && Offers(buttons, MsgResult::Cancel))
            result = MsgResult::Cancel;
    }
    Shown s { Kind::Message, std::string(text), std::string(caption), icon, buttons, {},
        std::string(MsgResultName(result)) };
    Record(std::move(s));
    return result;
}

std::optional<std::string> ScriptedDialogs::TextAnswer(Shown shown, std::optional<std::string> fallback, int* filter)
{
    std::optional<std::string> result = std::move(fallback);
    if (auto a = Next()) {
        if (filter)
            *filter = a->filter;
        if (a->cancel || (a->button && *a->button == MsgResult::Cancel))
            result.reset();
        else if (a->text)
            result = a->text;
        // An "ok" keeps the default.
    }
    shown.answer = result ? *result : std::string("cancel");
    Record(std::move(shown));
    return result;
}

std::optional<std::string> ScriptedDialogs::InputBox(
    std::string_view caption, std::string_view prompt, std::string_view defaultText)
{
    Shown s { Kind::Input, std::string(prompt), std::string(caption), MsgIcon::None, MsgButtons::OkCancel, {}, {} };
    return TextAnswer(std::move(s), std::string(defaultText));
}

std::optional<std::string> ScriptedDialogs::OpenFile(const FileBoxOptions& options)
{
    Shown s { Kind::OpenFile, options.title, options.title, MsgIcon::None, MsgButtons::OkCancel, options, {} };
    return TextAnswer(std::move(s), std::nullopt, &options.chosenFilter);
}

std::optional<std::string> ScriptedDialogs::SaveFile(const FileBoxOptions& options)
{
    Shown s { Kind::SaveFile, options.title, options.title, MsgIcon::None, MsgButtons::OkCancel, options, {} };
    return TextAnswer(std::move(s), std::nullopt, &options.chosenFilter);
}

std::optional<std::string> ScriptedDialogs::PickFolder(std::string_view caption, std::string_view initialFolder)
{
    FileBoxOptions o;
    o.title = std::string(caption);
    o.initialFolder = std::string(initialFolder);
    Shown s { Kind::Folder, o.title, o.title, MsgIcon::None, MsgButtons::OkCancel, o, {} };
    return TextAnswer(std::move(s), std::nullopt);
}

std::optional<int> ScriptedDialogs::ChooseItem(
    std::string_view caption, std::string_view label, const std::vector<std::string>& items)
{
    std::optional<int> chosen;
    if (auto a = Next(); a && a->text && !a->cancel) {
        const std::string& text = *a->text;
        for (std::size_t i = 0; i < items.size() && !chosen; ++i)
            if (items[i] == text)
                chosen = static_cast<int>(i);
        // A number names the item by its place in the list.
        if (!chosen && !text.empty() && text.size() < 10 && text.find_first_not_of("0123456789") == std::string::npos) {
            const long n = std::stol(text);
            if (n >= 1 && n <= static_cast<long>(items.size()))
                chosen = static_cast<int>(n - 1);
        }
    }
    Shown s { Kind::List, std::string(label), std::string(caption), MsgIcon::None, MsgButtons::OkCancel, {},
        chosen ? items[static_cast<std::size_t>(*chosen)] : std::string("cancel") };
    Record(std::move(s));
    return chosen;
}

} // namespace zev
