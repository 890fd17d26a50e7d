#include "editors/preferences.h"

#include <algorithm>
#include <optional>

#include "app/app.h"

namespace zev {

PreferencesModel::PreferencesModel(App& app)
    : m_app(app)
{
}

bool PreferencesModel::Open()
{
    if (!m_view)
        return false;
    Begin();
    const bool ok = m_view->exec(*this);
    Close(ok);
    return ok;
}

void PreferencesModel::Begin()
{
    const IniFile& ini = m_app.config();
    const Settings& held = m_app.settings();
    m_tab = PrefTab::General;
    for (const CheckInfo& c : kChecks)
        SetChecked(c.check, c.shown ? held.*c.shown : ini.ReadBool(c.section, c.key, c.def));
    for (const FolderInfo& f : kFolders)
        m_folders[static_cast<std::size_t>(f.folder)] = ini.ReadString(kSectionGlobalConfig, f.key, "");
    m_clonedFormat = ClonedNodeFormatString(ini);
    const Settings def;
    m_smart = ini.ReadInteger(kSectionGlobalConfig, kKeyDefaultIntForSmartPlayer, def.defaultIntForSmartPlayer);
    m_dumb = ini.ReadInteger(kSectionGlobalConfig, kKeyDefaultIntForDumbPlayer, def.defaultIntForDumbPlayer);
    changed.Emit();
}

bool PreferencesModel::Close(bool ok)
{
    const bool written = !ok || Write();
    Settings& held = m_app.settings();
    for (const CheckInfo& c : kChecks)
        if (c.heldOnClose)
            held.*c.heldOnClose = checked(c.check);
    return written;
}

// Every key is tried, so one value the file refuses does not cost the others.
bool PreferencesModel::Write()
{
    IniFile& ini = m_app.config();
    std::string failed;
    std::string reason;
    auto note = [&](bool written, std::string_view key) {
        if (written)
            return;
        failed += "\r\n" + std::string(key);
        if (reason.empty())
            reason = ini.LastError();
    };
    for (const CheckInfo& c : kChecks)
        note(ini.WriteBool(c.section, c.key, checked(c.check)), c.key);
    for (const FolderInfo& f : kFolders)
        note(ini.WriteString(kSectionGlobalConfig, f.key, folder(f.folder)), f.key);
    note(ini.WriteString(kSectionGlobalConfig, kKeyClonedNodeFormatString, m_clonedFormat), kKeyClonedNodeFormatString);
    note(ini.WriteInteger(kSectionGlobalConfig, kKeyDefaultIntForSmartPlayer, m_smart), kKeyDefaultIntForSmartPlayer);
    note(ini.WriteInteger(kSectionGlobalConfig, kKeyDefaultIntForDumbPlayer, m_dumb), kKeyDefaultIntForDumbPlayer);
    if (failed.empty())
        return true;
    const std::string text = std::string(kWriteFailed) + "\r\n\r\n" + reason + "\r\n\r\nKeys not written:" + failed;
    m_app.log().Log("Writing the preferences failed: " + reason);
    m_app.ReportError("Preferences", text);
    return false;
}

void PreferencesModel::SetFolder(PrefFolder f, std::string path)
{
    m_folders[static_cast<std::size_t>(f)] = std::move(path);
    changed.Emit();
}

bool PreferencesModel::ChooseFolder(PrefFolder f)
{
    std::optional<std::string> chosen = m_app.dialogs().PickFolder(Info(f).caption, folder(f));
    if (!chosen)
        return false;
    SetFolder(f, std::move(*chosen));
    return true;
}

void PreferencesModel::SetSmartInt(int32_t value)
{
    m_smart = std::clamp(value, kMinInt, kMaxInt);
}

void PreferencesModel::SetDumbInt(int32_t value)
{
    m_dumb = std::clamp(value, kMinInt, kMaxInt);
}

void PreferencesModel::HelpPopup(std::string_view controlName)
{
    m_app.log().Log(std::string(kHelpPopup) + std::string(controlName), kMainApp);
}

} // namespace zev
