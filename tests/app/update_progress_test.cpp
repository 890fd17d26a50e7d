#include "app/update_progress.h"

#include <gtest/gtest.h>

namespace zev {
namespace {

TEST(UpdateProgressModel, ShownWhileBytesAreMissingAndHiddenAtTheTotal)
{
    UpdateProgressModel m;
    int changes = 0;
    m.changed.Connect([&] { ++changes; });
    EXPECT_FALSE(m.visible());
    m.SetFile("/home/me/downloads/zevdlg-0.26.tar.gz");
    EXPECT_EQ(m.fileText(), "File: /home/me/downloads/zevdlg-0.26.tar.gz");
    m.Progress(1000, 250);
    EXPECT_TRUE(m.visible());
    EXPECT_EQ(m.maximum(), 1000);
    EXPECT_EQ(m.position(), 250);
    EXPECT_EQ(m.bytesText(), "Downloaded 250 bytes of 1000 bytes");
    m.Progress(1000, 1000);
    EXPECT_FALSE(m.visible());
    EXPECT_EQ(m.bytesText(), "Downloaded 1000 bytes of 1000 bytes");
    EXPECT_EQ(changes, 3);
}

TEST(UpdateProgressModel, UnknownOrWrongTotalsStayReadable)
{
    UpdateProgressModel m;
    m.Progress(0, 4096); // no length announced: busy bar, no "of 0 bytes"
    EXPECT_TRUE(m.visible());
    EXPECT_EQ(m.maximum(), 0);
    EXPECT_EQ(m.bytesText(), "Downloaded 4096 bytes");
    m.Finish();
    EXPECT_FALSE(m.visible());

    m.Progress(100, 150); // more than announced: a full bar, hidden
    EXPECT_EQ(m.position(), 100);
    EXPECT_FALSE(m.visible());
    m.Progress(100, -5);
    EXPECT_EQ(m.position(), 0);
    EXPECT_TRUE(m.visible());
}

} // namespace
} // namespace zev
