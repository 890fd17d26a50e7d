// The house's layers, checked over the source tree: a file includes headers of its own layer or of
// layers below it, never above; Qt stays in the window folders.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Bottom up. Folders of one rank may include each other.
const std::map<std::string, int> kRanks = {
    { "zevdlg", 0 }, // include/zevdlg: the plug-in SDK
    { "base", 0 },
    { "model", 1 },
    { "completion", 2 },
    { "script/engine", 2 },
    { "app", 3 },
    { "script", 4 },
    { "runner", 5 },
    { "plugins", 6 },
    { "editors", 7 },
    { "map", 7 },
    { "update", 7 },
    { "session", 8 },
    { "gui", 9 }, // every */gui folder
    { "cli", 9 },
    { "desktop", 10 },
};

// Layers with a narrower rule than their rank.
const std::map<std::string, std::set<std::string>> kOnly = {
    { "script/engine", { "script/engine", "base" } }, // the language knows nothing of dialogues
    { "zevdlg", { "zevdlg" } },
};

// Folders nothing else includes.
const std::set<std::string> kPrivate = { "cli", "desktop" };

// The layer of a folder relative to src/ (or include/): its longest known prefix.
std::optional<std::string> LayerOf(const std::string& folder)
{
    if (folder == "desktop" || folder.starts_with("desktop/"))
        return "desktop"; // its windows too: above every other window folder
    if (folder.size() >= 4 && (folder.ends_with("/gui") || folder.find("/gui/") != std::string::npos))
        return "gui";
    std::string best;
    for (const auto& [name, rank] : kRanks)
        if ((folder == name || folder.starts_with(name + "/")) && name.size() > best.size())
            best = name;
    if (best.empty())
        return std::nullopt;
    return best;
}

struct Include {
    std::string file;
    int line;
    std::string target;
};

std::vector<Include> QuotedIncludes(const fs::path& file, const std::string& shown)
{
    static const std::regex re(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<Include> out;
    std::ifstream in(file);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        std::smatch m;
        if (std::regex_search(text, m, re))
            out.push_back({ shown, line, m[1] });
    }
    return out;
}

bool IncludesQt(const fs::path& file)
{
    static const std::regex re(R"(^\s*#\s*include\s*<Q[A-Za-z]*)");
    std::ifstream in(file);
    std::string text;
    while (std::getline(in, text))
        if (std::regex_search(text, re))
            return true;
    return false;
}

struct SourceFile {
    fs::path path;
    std::string shown; // "src/runner/run_session.cpp"
    std::string folder; // "runner"
};

std::vector<SourceFile> Sources()
{
    std::vector<SourceFile> out;
    const fs::path root = ZEV_SOURCE_DIR;
    for (const char* top : { "src", "include" }) {
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp" && ext != ".c"))
                continue;
            SourceFile f;
            f.path = entry.path();
            f.shown = fs::relative(entry.path(), root).generic_string();
            f.folder = fs::relative(entry.path().parent_path(), root / top).generic_string();
            out.push_back(f);
        }
    }
    return out;
}

// Where an included path lands: the folder part of "runner/gui/run_panel.h".
std::string FolderOfTarget(const std::string& target)
{
    const auto slash = target.rfind('/');
    return slash == std::string::npos ? std::string() : target.substr(0, slash);
}

TEST(Layers, EveryFolderHasALayer)
{
    std::set<std::string> unknown;
    for (const SourceFile& f : Sources())
        if (!LayerOf(f.folder))
            unknown.insert(f.folder);
    EXPECT_TRUE(unknown.empty()) << "folders without a layer (add them to kRanks): " << testing::PrintToString(unknown);
}

// Why an include from a file of folder `from` to `target` breaks the layers, or nothing.
std::optional<std::string> Violation(const std::string& from, const std::string& target)
{
    const std::string folder = FolderOfTarget(target);
    if (folder.empty())
        return std::nullopt; // a file beside it
    const std::optional<std::string> low = LayerOf(from);
    const std::optional<std::string> high = LayerOf(folder);
    if (!low || !high)
        return "unknown layer";
    if (auto only = kOnly.find(*low); only != kOnly.end() && !only->second.contains(*high))
        return *low + " includes only " + testing::PrintToString(only->second);
    if (*high == "gui" && *low != "gui" && *low != "desktop")
        return "Qt-free " + *low + " includes windows";
    if (kPrivate.contains(*high) && *high != *low)
        return *high + " is included by nobody else";
    if (kRanks.at(*high) > kRanks.at(*low))
        return *low + " is below " + *high;
    return std::nullopt;
}

TEST(Layers, NoIncludeRunsUpTheLayers)
{
    std::string faults;
    for (const SourceFile& f : Sources())
        for (const Include& inc : QuotedIncludes(f.path, f.shown))
            if (auto why = Violation(f.folder, inc.target))
                faults += inc.file + ":" + std::to_string(inc.line) + ": " + inc.target + " (" + *why + ")\n";
    EXPECT_TRUE(faults.empty()) << faults;
}

TEST(Layers, TheRuleRefusesWhatRunsUpAndAllowsWhatRunsDown)
{
    EXPECT_TRUE(Violation("model", "runner/test_runner.h"));
    EXPECT_TRUE(Violation("base", "model/records.h"));
    EXPECT_TRUE(Violation("script/engine", "model/records.h"));
    EXPECT_TRUE(Violation("app", "script/script_host.h"));
    EXPECT_TRUE(Violation("runner/gui", "desktop/gui/main_window.h"));
    EXPECT_TRUE(Violation("cli", "runner/gui/run_panel.h"));
    EXPECT_TRUE(Violation("session", "cli/cli.h"));
    EXPECT_TRUE(Violation("plugins", "session/workbench.h"));
    EXPECT_TRUE(Violation("nowhere", "base/log.h"));

    EXPECT_FALSE(Violation("runner", "model/records.h"));
    EXPECT_FALSE(Violation("script/engine", "base/log.h"));
    EXPECT_FALSE(Violation("runner/gui", "app/gui/qt_text.h"));
    EXPECT_FALSE(Violation("desktop", "runner/gui/run_panel.h"));
    EXPECT_FALSE(Violation("desktop/main", "desktop/gui/run_desktop.h"));
    EXPECT_TRUE(Violation("runner/gui", "desktop/gui/main_window.h"));
    EXPECT_FALSE(Violation("cli", "session/workbench.h"));
    EXPECT_FALSE(Violation("model", "zevdlg/records.h"));
    EXPECT_FALSE(Violation("plugins", "plugin_calls.h"));
}

TEST(Layers, QtOnlyInWindowFolders)
{
    std::vector<std::string> faults;
    for (const SourceFile& f : Sources()) {
        if (f.folder.ends_with("/gui") || f.folder.find("/gui/") != std::string::npos)
            continue;
        if (IncludesQt(f.path))
            faults.push_back(f.shown);
    }
    EXPECT_TRUE(faults.empty()) << "Qt outside */gui: " << testing::PrintToString(faults);
}

} // namespace
