#include <pthread.h>
#include <signal.h>

#include <functional>

#include "fault_death.h"
#include "plugin_fixture.h"

#include "app/shell_commands.h"
#include "plugins/crash_guard.h"

namespace zev::test {
namespace {

const std::string kAdvice = "\r\n\r\nSave your work now: the program may be unstable after this.";

class Crashes : public PluginFixture {
protected:
    const TPluginRec& Rec(const std::string& path) const
    {
        const int i = host.FindPlugin(path);
        EXPECT_GE(i, 0) << path;
        return host.plugins().at(static_cast<std::size_t>(i));
    }
    std::size_t Count(const std::string& line) const
    {
        auto m = capture.Messages();
        return static_cast<std::size_t>(std::count(m.begin(), m.end(), line));
    }
    static std::string CrashLine(const std::string& path, const std::string& call, const std::string& signal)
    {
        return "Plugin " + path + " crashed in " + call + " (" + signal + "); it is not called again in this session.";
    }
    // The refusal of a later call, its box and its log line.
    void ExpectRefused(const std::string& path, const std::string& name)
    {
        ASSERT_NE(dialogs.Last(), nullptr);
        EXPECT_EQ(dialogs.Last()->text,
            "Plug-in " + name
                + " crashed earlier in this session and is not run again. Restart the program to use it.");
        EXPECT_TRUE(Logged("Plugin " + path + " is not called: it crashed earlier in this session."));
    }
    // Each plug-in here keeps itself loaded from RunPlugin on, to hear the host's notifications.
    void Start(const std::string& path) { ASSERT_EQ(host.RunPlugin(path), PluginCallResult::Done) << path; }
};

TEST_F(Crashes, ACrashInRunPluginIsReportedAndLaterStartsAreRefused)
{
    const std::string crash = Add("Utility_crashrun.so");
    const std::string other = Add("Utility_v025.so");
    host.ScanAll();
    ASSERT_EQ(Captions(PluginMenu::Plugins), (std::vector<std::string> { "crashrun", "v025" }));

    EXPECT_EQ(host.RunPlugin(crash), PluginCallResult::Crashed);
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(dialogs.Last()->text, "Plug-in crashrun crashed in RunPlugin." + kAdvice);
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Error);
    EXPECT_TRUE(Logged(CrashLine(crash, "RunPlugin", "SIGSEGV")));
    EXPECT_TRUE(Rec(crash).Crashed);
    EXPECT_EQ(ContainedDepth(), 0);

    EXPECT_EQ(host.RunPlugin(crash), PluginCallResult::Disabled);
    ExpectRefused(crash, "crashrun");
    EXPECT_EQ(host.PluginExec(host.MenuEntries(PluginMenu::Plugins)[0].tag), PluginCallResult::Disabled);
    EXPECT_EQ(Count("crashrun RunPlugin"), 1u);
    EXPECT_TRUE(host.ListPlugins()[static_cast<std::size_t>(host.FindPlugin(crash))].crashed);

    EXPECT_EQ(host.RunPlugin(other), PluginCallResult::Done);
    EXPECT_TRUE(Logged("v025 run: " + dir.path()));
    EXPECT_FALSE(Rec(other).Crashed);
}

TEST_F(Crashes, ConfigAndImportCrashesAreContainedAndOtherImportersStillWork)
{
    const std::string config = Add("Utility_crashconfig.so");
    const std::string importer = Add("Import_crashimport.so");
    Add("Import_a.so");
    host.ScanAll();

    EXPECT_EQ(host.PluginConfig(config), PluginCallResult::Crashed);
    EXPECT_EQ(dialogs.Last()->text, "Plug-in crashconfig crashed in PluginConfig." + kAdvice);
    EXPECT_TRUE(Logged(CrashLine(config, "PluginConfig", "SIGFPE")));
    EXPECT_EQ(host.RunPlugin(config), PluginCallResult::Disabled);
    ExpectRefused(config, "crashconfig");

    ASSERT_EQ(Rec(importer).FilterIndex, 3); // after Import_a's
    EXPECT_EQ(host.ImportFilter(3, "/data/x.crash"), PluginCallResult::Crashed);
    EXPECT_EQ(dialogs.Last()->text, "Plug-in crashimport crashed in ImportData." + kAdvice);
    EXPECT_TRUE(Logged(CrashLine(importer, "ImportData", "SIGBUS")));
    EXPECT_EQ(host.ImportFilter(3, "/data/y.crash"), PluginCallResult::Disabled);
    ExpectRefused(importer, "crashimport");
    EXPECT_EQ(Count("crashimport ImportData"), 1u);

    EXPECT_EQ(host.ImportFilter(2, "/data/x.a"), PluginCallResult::Done);
    EXPECT_TRUE(Logged("importA import: /data/x.a"));
}

TEST_F(Crashes, APluginThatCrashedInPluginUpdateHearsNothingMoreAndDoesNotHoldUpQuitting)
{
    const std::string crash = Add("Utility_crashupdate.so");
    Add("Utility_stay.so");
    host.ScanAll();
    Start(crash);
    Start(PluginsFolder() + "/Utility_stay.so");

    app.BroadcastPluginUpdate();
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(
        dialogs.Last()->text, "The plugin \"crashupdate\" (" + crash + ") crashed when trying to update." + kAdvice);
    EXPECT_TRUE(Logged(CrashLine(crash, "PluginUpdate", "SIGSEGV")));
    EXPECT_TRUE(Logged("stay update")); // the one after it in the table still hears it

    capture.lines.clear();
    app.BroadcastPluginUpdate();
    app.log().Log("a line for the intercepts");
    EXPECT_TRUE(Logged("stay update"));
    EXPECT_TRUE(Logged("stay intercepted: a line for the intercepts"));
    EXPECT_EQ(Count("crashupdate PluginUpdate"), 0u);
    EXPECT_EQ(Count("crashupdate DebugIntercept"), 0u);

    EXPECT_TRUE(CloseQuery(app));
    EXPECT_TRUE(Logged("stay closing"));
    EXPECT_EQ(Count("crashupdate PluginClose"), 0u);
    EXPECT_EQ(dialogs.History().size(), 1u);
}

TEST_F(Crashes, ACrashInDebugInterceptStopsTheForwardingToThatPluginOnly)
{
    const std::string crash = Add("Utility_crashlog.so");
    Add("Utility_stay.so");
    host.ScanAll();
    Start(crash);
    Start(PluginsFolder() + "/Utility_stay.so");

    app.log().Log("first");
    EXPECT_EQ(dialogs.Last()->text, "Plug-in crashlog crashed in DebugIntercept." + kAdvice);
    EXPECT_TRUE(Logged(CrashLine(crash, "DebugIntercept", "SIGILL")));
    EXPECT_TRUE(Logged("stay intercepted: first"));

    app.log().Log("second");
    EXPECT_TRUE(Logged("stay intercepted: second"));
    EXPECT_EQ(Count("crashlog DebugIntercept"), 1u);
    EXPECT_EQ(dialogs.History().size(), 1u);
}

TEST_F(Crashes, ACrashInPluginCloseLetsTheProgramQuitAndClosesTheOthers)
{
    const std::string crash = Add("Utility_crashclose.so");
    Add("Utility_stay.so");
    host.ScanAll();
    Start(crash);
    Start(PluginsFolder() + "/Utility_stay.so");

    EXPECT_TRUE(CloseQuery(app));
    EXPECT_EQ(dialogs.Last()->text, "Plug-in crashclose crashed in PluginClose." + kAdvice);
    EXPECT_TRUE(Logged(CrashLine(crash, "PluginClose", "SIGFPE")));
    EXPECT_TRUE(Logged("stay closing"));
    EXPECT_TRUE(Logged("Plugin lib deinit returned true."));
}

TEST_F(Crashes, ACrashDuringTheScanKeepsThePluginOutOfMenusAndFilters)
{
    const std::string noName = Add("Utility_crashname.so");
    const std::string noMenu = Add("Utility_crashmenu.so");
    const std::string noFilter = Add("Import_crashfilter.so");
    Add("Import_a.so");
    Add("Utility_v025.so");
    host.ScanAll();

    EXPECT_EQ(Captions(PluginMenu::Plugins), std::vector<std::string> { "v025" });
    EXPECT_EQ(Captions(PluginMenu::Import), std::vector<std::string> { "importA" });
    ASSERT_EQ(host.ImportFilters().size(), 1u);
    EXPECT_EQ(host.ImportFilters()[0].description, "A files (*.a)");
    EXPECT_EQ(host.OpenDialogueFilter().find("Crash files"), std::string::npos);

    const auto boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], "Plug-in crashmenu crashed in CanAddToMenu." + kAdvice);
    EXPECT_EQ(boxes[1], "Plug-in " + noName + " crashed in GetPluginName." + kAdvice); // it has no name yet
    EXPECT_EQ(boxes[2], "Plug-in crashfilter crashed in GetFilter." + kAdvice);
    EXPECT_TRUE(Logged(CrashLine(noMenu, "CanAddToMenu", "SIGILL")));
    for (const std::string& path : { noName, noMenu, noFilter }) {
        EXPECT_TRUE(Rec(path).Crashed) << path;
        EXPECT_FALSE(Rec(path).Accepted) << path;
        EXPECT_EQ(Rec(path).FilterIndex, -1) << path;
    }
    EXPECT_EQ(Count("crashfilter CanAddToMenu"), 0u);
    // Released by the scan, yet kept loaded: code of a crashed plug-in is never unmapped.
    EXPECT_TRUE(IsLibraryLoaded(noName));

    EXPECT_EQ(host.RunPlugin(noName), PluginCallResult::Disabled);
    ExpectRefused(noName, noName);
    host.ScanAll(); // a second scan does not call them either
    EXPECT_TRUE(Logged("Plugin " + noMenu + " is not scanned: it crashed earlier in this session."));
    EXPECT_EQ(Count("crashname GetPluginName"), 1u);
    EXPECT_EQ(Count("crashmenu CanAddToMenu"), 1u);
    EXPECT_EQ(Captions(PluginMenu::Plugins), std::vector<std::string> { "v025" });
}

TEST_F(Crashes, AnOutputControlWhoseCallbackCrashedIsDropped)
{
    const std::string crash = Add("Utility_crashcontrol.so");
    host.ScanAll();
    Start(crash);
    ASSERT_TRUE(host.HasOutputControl());

    app.WriteConsoleLine("to the lent control");
    EXPECT_FALSE(host.HasOutputControl());
    EXPECT_EQ(dialogs.Last()->text, "Plug-in crashcontrol crashed in append_line." + kAdvice);
    EXPECT_TRUE(Logged(CrashLine(crash, "append_line", "SIGBUS")));
    EXPECT_TRUE(Rec(crash).Crashed);

    app.WriteConsoleLine("after the crash");
    host.ClearOutput();
    EXPECT_EQ(Count("crashcontrol append_line"), 1u);
    EXPECT_EQ(Count("crashcontrol clear"), 0u);
}

TEST_F(Crashes, AControlLentByAPluginThatCrashedElsewhereIsDropped)
{
    const std::string crash = Add("Utility_crashlender.so");
    host.ScanAll();
    Start(crash);
    app.WriteConsoleLine("while it works");
    EXPECT_EQ(Count("crashlender append_line"), 1u);

    app.BroadcastPluginUpdate();
    EXPECT_FALSE(host.HasOutputControl());
    EXPECT_TRUE(Logged("Dropping the output control of " + crash + "."));
    app.WriteConsoleLine("after the crash");
    EXPECT_EQ(Count("crashlender append_line"), 1u);
}

class NestedCrashes : public Crashes {
protected:
    NestedCrashes()
    {
        inner = Add("Utility_crashrun.so");
        app.SetScriptLines(&scripts);
    }
    struct Scripts : ScriptLines {
        NestedCrashes& f;
        explicit Scripts(NestedCrashes& fixture)
            : f(fixture)
        {
        }
        bool ExecuteScriptConsole(std::string_view line) override
        {
            if (line == "nested")
                f.innerResult = f.host.RunPlugin(f.inner);
            return true;
        }
    } scripts { *this };
    std::string inner;
    PluginCallResult innerResult = PluginCallResult::UnknownPlugin;
};

TEST_F(NestedCrashes, APluginStartedFromAPluginCrashesAloneAndTheOuterOneGoesOn)
{
    const std::string outer = Add("Utility_nested.so");
    host.ScanAll();
    EXPECT_EQ(host.RunPlugin(outer), PluginCallResult::Done);
    EXPECT_EQ(innerResult, PluginCallResult::Crashed);
    EXPECT_TRUE(Logged("nested back from nested"));
    EXPECT_TRUE(Logged("nested RunPlugin"));
    EXPECT_TRUE(Rec(inner).Crashed);
    EXPECT_FALSE(Rec(outer).Crashed);
    EXPECT_EQ(BoxTexts(), std::vector<std::string> { "Plug-in crashrun crashed in RunPlugin." + kAdvice });
}

TEST_F(NestedCrashes, AfterANestedCrashTheOuterCallIsStillGuarded)
{
    const std::string outer = Add("Utility_nestedcrash.so");
    host.ScanAll();
    EXPECT_EQ(host.RunPlugin(outer), PluginCallResult::Crashed);
    EXPECT_EQ(innerResult, PluginCallResult::Crashed);
    EXPECT_TRUE(Logged("nestedcrash back from nested"));
    EXPECT_EQ(BoxTexts(),
        (std::vector<std::string> { "Plug-in crashrun crashed in RunPlugin." + kAdvice,
            "Plug-in nestedcrash crashed in RunPlugin." + kAdvice }));
    EXPECT_TRUE(Logged(CrashLine(outer, "RunPlugin", "SIGFPE")));
    EXPECT_EQ(ContainedDepth(), 0);
}

// On a thread of a known stack size, so the overflow does not depend on the shell's limit.
void RunWithStack(std::size_t size, std::function<void()> fn)
{
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, size), 0);
    pthread_t thread;
    auto start = [](void* f) -> void* {
        (*static_cast<std::function<void()>*>(f))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, start, &fn), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

TEST_F(Crashes, AStackOverflowInAPluginIsContained)
{
    const std::string deep = Add("Utility_crashdeep.so");
    const std::string other = Add("Utility_v025.so");
    host.ScanAll();
    PluginCallResult result = PluginCallResult::Done;
    RunWithStack(1 << 20, [&] { result = host.RunPlugin(deep); });
    EXPECT_EQ(result, PluginCallResult::Crashed);
    EXPECT_TRUE(Logged(CrashLine(deep, "RunPlugin", "SIGSEGV")));
    RunWithStack(1 << 20, [&] { result = host.RunPlugin(other); });
    EXPECT_EQ(result, PluginCallResult::Done);
    EXPECT_EQ(host.RunPlugin(deep), PluginCallResult::Disabled);
}

using CrashesDeathTest = Crashes;

TEST_F(CrashesDeathTest, AFaultInTheProgramOnBehalfOfAPluginIsNotContained)
{
    const std::string path = Add("Utility_hostfault.so");
    host.ScanAll();
    // The plug-in hands SendDebugMSG a bad pointer: the fault is in the program's code.
    EXPECT_DIES_OF_FAULT(host.RunPlugin(path));
}

} // namespace
} // namespace zev::test
