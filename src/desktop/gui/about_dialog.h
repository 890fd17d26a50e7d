#pragma once

#include "plugins/about_plugins.h"

#include <QDialog>

#include <string>

class QLabel;
class QListWidget;
class QPushButton;

namespace zev {

// What the About box tells.
struct AboutInfo {
    std::string version; // "0.25.4-stable"
    std::string buildDate; // the program file's modification time
    int scriptFunctions = 0;
    int plugins = 0;
};

// "About ZEV Dialogue Tool": program name, version, build date and what is loaded; with a plug-in
// model, a second page lists the plug-ins with their details, the "Show" link of their exports and
// "Configure plugin".
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(const AboutInfo& info, QWidget* parent = nullptr, AboutPluginsModel* plugins = nullptr);
    QListWidget* pluginList() const { return m_list; }
    QLabel* pluginDetails() const { return m_details; }
    QPushButton* configureButton() const { return m_configure; }

private:
    QWidget* PluginPage(AboutPluginsModel& model);
    void ShowSelected(AboutPluginsModel& model);

    QListWidget* m_list = nullptr;
    QLabel* m_details = nullptr;
    QPushButton* m_configure = nullptr;
};

} // namespace zev
