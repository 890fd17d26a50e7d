#include "gui_support.h"

#include "app/gui/debug_window.h"

#include <QListWidget>

namespace zev {
namespace {

class DebugWindowTest : public test::GuiTest {
protected:
    DebugWindowModel model;
    Logger log; // no file: only the window
};

QStringList Rows(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

TEST_F(DebugWindowTest, ASmallToolWindowOnTop)
{
    DebugWindow window(model, TextEncoding::Cp1252);
    EXPECT_EQ(window.windowTitle(), "debugwindow");
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 1) << "only the list";
}

TEST_F(DebugWindowTest, ShowsLogLinesWhileVisibleAndFollowsTheNewest)
{
    DebugWindow window(model, TextEncoding::Cp1252);
    log.SetDebugWindow(&model);
    log.Log("before it was shown");
    window.show();
    log.Log("Starting up ZEV Dialogue tool...");
    log.Log("Plug-in says caf\xE9", kPluginCategory);
    EXPECT_EQ(Rows(window.list()),
        (QStringList { "Starting up ZEV Dialogue tool...", QString::fromUtf8("Plug-in says caf\u00E9") }));
    EXPECT_EQ(window.list()->currentRow(), 1);
    EXPECT_TRUE(window.list()->selectedItems().isEmpty());

    window.hide();
    log.Log("while hidden");
    EXPECT_EQ(window.list()->count(), 2);
    window.show();
    log.Log("back");
    EXPECT_EQ(Rows(window.list()).last(), "back");
    EXPECT_EQ(window.list()->count(), 3);
}

TEST_F(DebugWindowTest, ClosingTheWindowUnbindsTheModel)
{
    {
        DebugWindow window(model, TextEncoding::Cp1252);
        window.show();
    }
    log.SetDebugWindow(&model);
    log.Log("after the window is gone"); // must not reach a destroyed view
    EXPECT_EQ(model.Lines().size(), 0u);
}

} // namespace
} // namespace zev
