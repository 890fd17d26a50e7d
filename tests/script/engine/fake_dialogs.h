#pragma once

#include <deque>
#include <string>
#include <string_view>

#include "script/engine/script_dialogs.h"

namespace zev::script::test {

// Answers dialog boxes from a queue and writes each box into a transcript, so a case file can
// expect the boxes in order with the printed output.
class FakeDialogs : public ScriptDialogs {
public:
    explicit FakeDialogs(std::string& transcript)
        : m_out(transcript)
    {
    }
    void Answer(std::string a) { m_answers.push_back(std::move(a)); }

    void ShowMessage(std::string_view text) override { Log("ShowMessage", text); }
    std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view def) override
    {
        Log("InputBox", std::string(caption) + "|" + std::string(prompt) + "|" + std::string(def));
        if (m_answers.empty())
            return std::string(def);
        return Next();
    }
    void ErrorDlg(std::string_view text) override { Log("ErrorDlg", text); }
    void InformationDlg(std::string_view text) override { Log("InformationDlg", text); }
    bool QuestionDlg(std::string_view text) override
    {
        Log("QuestionDlg", text);
        return !m_answers.empty() && Next() == "yes";
    }
    bool OkCancelDlg(std::string_view text) override
    {
        Log("OkCancelDlg", text);
        return !m_answers.empty() && Next() == "ok";
    }

private:
    void Log(std::string_view kind, std::string_view text)
    {
        m_out += "<" + std::string(kind) + ": " + std::string(text) + ">\n";
    }
    std::string Next()
    {
        std::string a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    std::string& m_out;
    std::deque<std::string> m_answers;
};

} // namespace zev::script::test
