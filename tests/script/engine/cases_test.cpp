// Runs every tests/script/engine/cases/*.dws. A case states what it must give in comments:
//   // expect: TEXT           one line of printed output (dialog boxes appear as <Kind: text>)
//   // expect error: TEXT     one message, the formatted text, in order
//   // answer: TEXT           the next answer to a dialog box (yes/no, ok/cancel, or a text)
//   // max object bytes: N    the engine's size cap; no allocation of the run may exceed it
// A case without `expect error` must run without any message.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "script/engine/alloc_probe.h"
#include "script/engine/engine.h"
#include "script/engine/fake_dialogs.h"

namespace zev::script {
namespace {

struct Case {
    std::string name;
    std::string path;
};

std::vector<Case> FindCases()
{
    std::vector<Case> out;
    for (auto& e : std::filesystem::directory_iterator(ZEV_SCRIPT_CASES_DIR))
        if (e.path().extension() == ".dws")
            out.push_back({ e.path().stem().string(), e.path().string() });
    std::sort(out.begin(), out.end(), [](const Case& a, const Case& b) { return a.name < b.name; });
    return out;
}

std::vector<std::string> Directives(const std::string& text, const std::string& key)
{
    std::vector<std::string> out;
    std::string marker = "// " + key + ": ";
    size_t pos = 0;
    while ((pos = text.find(marker, pos)) != std::string::npos) {
        size_t start = pos + marker.size();
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        out.push_back(line);
        pos = start;
    }
    return out;
}

std::vector<std::string> Lines(const std::string& output)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) {
            out.push_back(output.substr(start));
            break;
        }
        out.push_back(output.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

class ScriptCase : public ::testing::TestWithParam<Case> { };

TEST_P(ScriptCase, GivesItsExpectations)
{
    std::ifstream in(GetParam().path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string transcript;
    test::FakeDialogs dialogs(transcript);
    for (auto& a : Directives(text, "answer"))
        dialogs.Answer(a);
    Engine engine;
    engine.SetDialogs(&dialogs);
    engine.SetOutputSink([&](std::string_view s) { transcript.append(s); });
    auto cap = Directives(text, "max object bytes");
    size_t maxBytes = cap.empty() ? 0 : std::stoul(cap.front());
    engine.SetMaxObjectBytes(maxBytes);
    auto program = engine.Compile(text);
    size_t largest = 0;
    {
        test::AllocProbe probe;
        engine.Run(*program);
        largest = probe.largest();
    }
    if (maxBytes) {
        EXPECT_LE(largest, maxBytes + test::kAllocSlack);
    }
    EXPECT_EQ(Lines(transcript), Directives(text, "expect"));
    EXPECT_EQ(program->MessageTexts(), Directives(text, "expect error"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptCase, ::testing::ValuesIn(FindCases()), [](const ::testing::TestParamInfo<Case>& info) {
        std::string n = info.param.name;
        std::replace_if(
            n.begin(), n.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return n;
    });

} // namespace
} // namespace zev::script
