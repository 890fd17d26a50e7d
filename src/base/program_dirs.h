#pragma once

// Where the program's files are. A portable program folder (the build's dist/, or the folder that
// --home or ZEVDLG_HOME names) holds everything, read and written, as it always did. An installed
// program (its executable in bin/ beside share/zevdlg/) reads its shipped data from share/zevdlg
// and writes only into the XDG folders of the user who runs it, root included: the program folder
// of a package is never written to.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zev {

enum class ProgramLayout { Portable, Installed };

// An environment variable's value, nullopt when unset; tests pass a fake one.
using EnvLookup = std::function<std::optional<std::string>(std::string_view name)>;
EnvLookup ProcessEnvironment();

inline constexpr std::string_view kProgramDirName = "zevdlg";

struct ProgramDirs {
    static constexpr std::string_view kConfigFile = "ZEVDlg.ini";
    static constexpr std::string_view kFuncDescFile = "func_desc.ini";

    ProgramLayout layout = ProgramLayout::Portable;
    std::string dataFolder; // shipped: messages.dat, def/, helperscripts/, doc/, plugins/, default ini files
    std::string configFolder; // ZEVDlg.ini
    std::string stateFolder; // debug.log and the transcripts
    std::string userFolder; // func_desc.ini, downloads/, the user's plugins/
    // Lines for the start-up log: where the files go, a fallback taken, a seed that failed.
    std::vector<std::string> notes;
    // Set when HOME was unusable and the writable folders went to a temporary folder.
    std::string warning;

    // A path inside the shipped data, written with either slash.
    std::string DataPath(std::string_view relative) const;
    std::string ConfigFile() const;
    std::string LogFile() const;
    std::string TranscriptFolder() const;
    std::string FuncDescFile() const;
    std::string DownloadsFolder() const;
    // The folders scanned for plug-ins, shipped first; each ends with '/'.
    std::vector<std::string> PluginFolders() const;
};

// Everything in one folder.
ProgramDirs PortableProgramDirs(std::string folder);

// The decision alone; nothing is created. homeOption (--home) wins, then ZEVDLG_HOME, then the
// installed layout around exeFolder, else exeFolder as a portable folder. In the installed layout
// an XDG variable counts only when absolute; HOME only when absolute. A folder that neither gives
// stays empty and PrepareProgramDirs puts it under a fresh temporary folder.
ProgramDirs DecideProgramDirs(std::string_view exeFolder, std::string_view homeOption, const EnvLookup& env);

// For an installed layout: fills empty folders from a fresh temporary folder (with a warning),
// makes the writable folders (0700, as XDG asks), and copies ZEVDlg.ini and func_desc.ini from the
// shipped data when the user has none. A problem short of having nowhere to write is a note; false
// (with error) only when no writable folder could be had at all. Nothing to do when portable.
bool PrepareProgramDirs(ProgramDirs& dirs, std::string& error);

// What the front ends call: the decision for this process, not yet prepared.
ProgramDirs ResolveProgramDirs(std::string_view homeOption = {});

} // namespace zev
