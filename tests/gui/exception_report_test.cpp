#include "gui_support.h"

#include <QEvent>
#include <QLabel>

#include <stdexcept>
#include <typeinfo>

#include "app/startup.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

class Thrower : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("disk on fire");
        return QObject::event(e);
    }
};

class ExceptionReportTest : public test::GuiTest {
protected:
    ScriptedDialogs dialogs;
    App app { dialogs, ZEV_DIST_DIR };
    ExceptionReportTest() { LoadStartupDataFile(app); }
};

TEST_F(ExceptionReportTest, AnUnhandledErrorReachesTheReportWindowWithALineFromTheDataFile)
{
    auto& zapp = static_cast<ZevApplication&>(test::GuiApp());
    zapp.SetReportContext(&app, TextEncoding::Cp1252);
    QString details, quip;
    test::WhenModal<ExceptionReportWindow>([&](ExceptionReportWindow* w) {
        details = w->DetailsText();
        quip = w->QuipText();
        w->reject();
    });
    Thrower thrower;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    zapp.SetReportContext(nullptr, TextEncoding::Cp1252);
    EXPECT_TRUE(details.contains(QStringLiteral("Message: disk on fire")));
    EXPECT_TRUE(details.contains(QStringLiteral("Error: std::runtime_error\n"))) << "named as written in C++";
    EXPECT_TRUE(details.contains(QStringLiteral("0.25.4-stable")));
    EXPECT_FALSE(quip.isEmpty());
    EXPECT_NE(quip, QStringLiteral("Error"));
}

TEST(ExceptionReportModel, ErrorKindsAreReadableNames)
{
    EXPECT_EQ(ReadableTypeName(typeid(std::out_of_range).name()), "std::out_of_range");
    EXPECT_EQ(ReadableTypeName("unknown"), "unknown") << "what is no mangled name stays as it is";
}

TEST(ExceptionReportModel, NamesTheDialogueAndLogsTheError)
{
    test::TempDir dir;
    ScriptedDialogs dialogs;
    App app(dialogs, dir.path());
    app.SetCurrentFileName("/x/a.zev");
    app.DialogueChanged();
    ExceptionReport r = MakeExceptionReport(app, "std::runtime_error", "boom");
    EXPECT_EQ(r.errorText, "boom");
    EXPECT_EQ(r.quip, "Error"); // no start-up data in this folder
    EXPECT_NE(r.details.find("Dialogue: /x/a.zev (modified)"), std::string::npos);
}

} // namespace
} // namespace zev
