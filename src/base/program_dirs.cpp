#include "base/program_dirs.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "base/paths.h"

namespace zev {

namespace {

namespace fs = std::filesystem;

// An absolute folder other than "/" itself: a user's files never go straight into the root.
bool UsableBase(const std::optional<std::string>& value)
{
    if (!value || value->empty() || value->front() != '/')
        return false;
    return value->find_first_not_of('/') != std::string::npos;
}

// $var/zevdlg, else $HOME/underHome/zevdlg, else empty.
std::string XdgFolder(const EnvLookup& env, std::string_view var, std::string_view underHome)
{
    if (auto value = env(var); UsableBase(value))
        return JoinPath(*value, kProgramDirName);
    if (auto home = env("HOME"); UsableBase(home))
        return JoinPath(JoinPath(*home, underHome), kProgramDirName);
    return {};
}

// bin/ beside share/zevdlg/: the shared data folder, else empty.
std::string InstalledDataFolder(std::string_view exeFolder)
{
    fs::path exe = fs::path(exeFolder).lexically_normal();
    if (exe.has_parent_path() && exe.filename().empty())
        exe = exe.parent_path(); // a trailing slash
    if (exe.filename() != "bin")
        return {};
    const fs::path share = exe.parent_path() / "share" / kProgramDirName;
    return DirectoryExists(share.string()) ? share.string() : std::string();
}

// Every missing part of the path with mode 0700.
bool MakeFolders(const std::string& path, std::string& problem)
{
    fs::path part;
    for (const fs::path& piece : fs::path(path)) {
        part /= piece;
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST && !DirectoryExists(part.string())) {
            problem = "Cannot create folder " + part.string() + ": " + std::strerror(errno);
            return false;
        }
    }
    if (!DirectoryExists(path)) {
        problem = path + " is not a folder";
        return false;
    }
    return true;
}

// Copies a shipped default when the user has none; through a temporary name, so an interrupted
// copy never leaves half a file under the real one.
void SeedFile(const std::string& from, const std::string& to, std::vector<std::string>& notes)
{
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec)))
        return;
    if (!FileExists(from)) {
        notes.push_back("No shipped " + from + " to copy to " + to + "; the defaults apply.");
        return;
    }
    const std::string temp = to + ".seed-" + std::to_string(::getpid());
    fs::copy_file(from, temp, fs::copy_options::overwrite_existing, ec);
    if (!ec)
        fs::permissions(temp, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    if (!ec)
        fs::rename(temp, to, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        notes.push_back("Cannot copy " + from + " to " + to + ": " + ec.message());
        return;
    }
    notes.push_back("Copied the shipped " + from + " to " + to + ".");
}

std::string MakeTempRoot(std::string& error)
{
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec || base.empty())
        base = "/tmp";
    std::string name = (base / "zevdlg-XXXXXX").string();
    if (!::mkdtemp(name.data())) {
        error = "No home folder (HOME is not set) and no temporary folder for the user's files: "
            + std::string(std::strerror(errno));
        return {};
    }
    return name;
}

// Folders that neither XDG nor HOME gave go under one fresh temporary folder.
bool FillFromTempRoot(ProgramDirs& dirs, std::string& error)
{
    if (!dirs.configFolder.empty() && !dirs.stateFolder.empty() && !dirs.userFolder.empty())
        return true;
    const std::string root = MakeTempRoot(error);
    if (root.empty())
        return false;
    if (dirs.configFolder.empty())
        dirs.configFolder = JoinPath(root, "config");
    if (dirs.stateFolder.empty())
        dirs.stateFolder = JoinPath(root, "state");
    if (dirs.userFolder.empty())
        dirs.userFolder = JoinPath(root, "data");
    dirs.warning = "HOME is not set to a usable folder: this session's settings, log and transcripts go to " + root;
    dirs.notes.push_back(dirs.warning);
    return true;
}

} // namespace

EnvLookup ProcessEnvironment()
{
    return [](std::string_view name) -> std::optional<std::string> {
        const char* value = std::getenv(std::string(name).c_str());
        if (!value)
            return std::nullopt;
        return std::string(value);
    };
}

std::string ProgramDirs::DataPath(std::string_view relative) const
{
    return JoinPath(dataFolder, relative);
}

std::string ProgramDirs::ConfigFile() const
{
    return JoinPath(configFolder, kConfigFile);
}

std::string ProgramDirs::LogFile() const
{
    return JoinPath(stateFolder, "debug.log");
}

std::string ProgramDirs::TranscriptFolder() const
{
    return JoinPath(stateFolder, layout == ProgramLayout::Installed ? "transcripts" : "dialogue/history");
}

std::string ProgramDirs::FuncDescFile() const
{
    return JoinPath(userFolder, kFuncDescFile);
}

std::string ProgramDirs::DownloadsFolder() const
{
    return JoinPath(userFolder, "downloads");
}

std::vector<std::string> ProgramDirs::PluginFolders() const
{
    std::vector<std::string> out { JoinPath(dataFolder, "plugins/") };
    if (layout == ProgramLayout::Installed)
        out.push_back(JoinPath(userFolder, "plugins/"));
    return out;
}

ProgramDirs PortableProgramDirs(std::string folder)
{
    ProgramDirs dirs;
    dirs.dataFolder = folder;
    dirs.configFolder = folder;
    dirs.stateFolder = folder;
    dirs.userFolder = std::move(folder);
    return dirs;
}

ProgramDirs DecideProgramDirs(std::string_view exeFolder, std::string_view homeOption, const EnvLookup& env)
{
    if (!homeOption.empty())
        return PortableProgramDirs(std::string(homeOption));
    if (auto home = env("ZEVDLG_HOME"); home && !home->empty())
        return PortableProgramDirs(*home);
    std::string data = InstalledDataFolder(exeFolder);
    if (data.empty())
        return PortableProgramDirs(std::string(exeFolder));
    ProgramDirs dirs;
    dirs.layout = ProgramLayout::Installed;
    dirs.dataFolder = std::move(data);
    dirs.configFolder = XdgFolder(env, "XDG_CONFIG_HOME", ".config");
    dirs.stateFolder = XdgFolder(env, "XDG_STATE_HOME", ".local/state");
    dirs.userFolder = XdgFolder(env, "XDG_DATA_HOME", ".local/share");
    return dirs;
}

bool PrepareProgramDirs(ProgramDirs& dirs, std::string& error)
{
    if (dirs.layout != ProgramLayout::Installed)
        return true;
    if (!FillFromTempRoot(dirs, error))
        return false;
    dirs.notes.insert(dirs.notes.begin(),
        "Installed program: shipped data in " + dirs.dataFolder + ", settings in " + dirs.configFolder
            + ", log and transcripts in " + dirs.stateFolder + ", user data and plug-ins in " + dirs.userFolder);
    std::string problem;
    for (const std::string& folder : { dirs.configFolder, dirs.stateFolder, JoinPath(dirs.userFolder, "plugins") })
        if (!MakeFolders(folder, problem))
            dirs.notes.push_back(problem);
    SeedFile(dirs.DataPath(ProgramDirs::kConfigFile), dirs.ConfigFile(), dirs.notes);
    SeedFile(dirs.DataPath(ProgramDirs::kFuncDescFile), dirs.FuncDescFile(), dirs.notes);
    return true;
}

ProgramDirs ResolveProgramDirs(std::string_view homeOption)
{
    return DecideProgramDirs(ExecutableFolder(), homeOption, ProcessEnvironment());
}

} // namespace zev
