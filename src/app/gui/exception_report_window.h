#pragma once

#include "app/exception_report.h"
#include "base/codepage.h"

#include <QApplication>
#include <QDialog>

class QPlainTextEdit;

namespace zev {

class App;

// The error kind as the report names it: "std::runtime_error", not the compiler's mangled name.
std::string ReadableTypeName(const char* mangled);

// Shows an ExceptionReport: the error, the random line, copyable details.
class ExceptionReportWindow : public QDialog {
    Q_OBJECT
public:
    ExceptionReportWindow(const ExceptionReport& report, TextEncoding encoding, QWidget* parent = nullptr);
    QString DetailsText() const;
    QString QuipText() const;

private:
    QPlainTextEdit* m_details;
    QString m_quip;
};

// The program's QApplication: an exception that no command handled reaches the report window
// instead of ending the program.
class ZevApplication : public QApplication {
public:
    ZevApplication(int& argc, char** argv)
        : QApplication(argc, argv)
    {
    }
    void SetReportContext(App* app, TextEncoding encoding)
    {
        m_app = app;
        m_encoding = encoding;
    }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    App* m_app = nullptr;
    TextEncoding m_encoding = TextEncoding::Cp1252;
    bool m_reporting = false;
};

} // namespace zev
