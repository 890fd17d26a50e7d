#pragma once

#include <QDialog>

#include <string>

namespace zev {

// What the About box tells.
struct AboutInfo {
    std::string version;   // "0.25.4-stable"
    std::string buildDate; // the program file's modification time
    int scriptFunctions = 0;
    int plugins = 0;
};

// "About ZEV Dialogue Tool": program name, version, build date and what is loaded.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(const AboutInfo& info, QWidget* parent = nullptr);
};

} // namespace zev
