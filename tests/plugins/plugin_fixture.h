#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/scripted_dialogs.h"
#include "plugins/plugin_host.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev::test {

// A program folder with chosen test plug-ins in its plugins/, an App over it and an installed host.
class PluginFixture : public ::testing::Test {
protected:
    PluginFixture()
        : app(dialogs, dir.path())
        , capture(app.log())
    {
        std::filesystem::create_directories(PluginsFolder());
        host.Install();
    }
    ~PluginFixture() override
    {
        // A plug-in left running would outlive the test's folder: drop every reference it holds.
        for (const TPluginRec& p : host.plugins())
            while (LibraryHandle h = ReferenceLoadedLibrary(p.FileName)) {
                ReleaseLibrary(h);
                ReleaseLibrary(h);
            }
    }

    std::string PluginsFolder() const { return dir.path() + "/plugins"; }

    // Copies a built test plug-in into plugins/ and returns its path there.
    std::string Add(const std::string& file)
    {
        const std::string to = PluginsFolder() + "/" + file;
        std::filesystem::copy_file(
            std::string(ZEV_TEST_PLUGIN_DIR) + "/" + file, to, std::filesystem::copy_options::overwrite_existing);
        return to;
    }

    bool Logged(const std::string& line) const
    {
        auto m = capture.Messages();
        return std::find(m.begin(), m.end(), line) != m.end();
    }
    std::vector<std::string> Captions(PluginMenu menu) const
    {
        std::vector<std::string> out;
        for (const PluginMenuEntry& e : host.MenuEntries(menu))
            out.push_back(e.caption);
        return out;
    }
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> out;
        for (const auto& b : dialogs.History())
            out.push_back(b.text);
        return out;
    }

    TempDir dir;
    ScriptedDialogs dialogs;
    App app;
    LogCapture capture;
    PluginHost host { app };
};

} // namespace zev::test
