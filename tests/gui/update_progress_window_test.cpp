#include "gui_support.h"

#include <QLabel>
#include <QProgressBar>

#include "app/gui/update_progress_window.h"

namespace zev {
namespace {

TEST(UpdateProgressWindowTest, FollowsItsModelAndCentresOnItsOwner)
{
    test::GuiApp();
    QWidget owner;
    owner.setGeometry(100, 100, 800, 600);
    owner.show();
    UpdateProgressModel model;
    UpdateProgressWindow window(model, TextEncoding::Cp1252, &owner);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Update progress");

    model.SetFile("C:\\zev\\downloads\\setup.exe");
    model.Progress(4'000'000'000LL, 1'000'000'000LL); // beyond an int: scaled alike
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.bytesLabel()->text(), "Downloaded 1000000000 bytes of 4000000000 bytes");
    EXPECT_EQ(window.fileLabel()->text(), "File: C:\\zev\\downloads\\setup.exe");
    QProgressBar* bar = window.bar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_NEAR(double(bar->value()) / bar->maximum(), 0.25, 0.01);
    EXPECT_LT((window.geometry().center() - owner.geometry().center()).manhattanLength(), 6);

    model.Progress(4'000'000'000LL, 4'000'000'000LL);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace zev
