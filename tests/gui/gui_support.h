#pragma once

#include <QApplication>

#include "app/app.h"
#include "app/scripted_dialogs.h"

#include "app/gui/exception_report_window.h"
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace zev::test {

// One QApplication for the whole test program, offscreen unless told otherwise. Left alive on
// purpose: destroying it during static destruction races Qt's own clean-up.
inline QApplication& GuiApp()
{
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "zev_gui_tests";
        static char* argv[] = { name, nullptr };
        return new zev::ZevApplication(argc, argv);
    }();
    return *app;
}

// The application exists before any member widget of a derived fixture is built.
class GuiTest : public ::testing::Test {
protected:
    GuiTest() { GuiApp(); }
};

// Acts on the next modal window of type W once it is up (a modal exec() blocks the test until it is
// closed). Keeps watching: a window that does not open, or does not close after the act, fails the
// test and is rejected, so the test fails instead of hanging.
template <class W> void WhenModal(std::function<void(W*)> act)
{
    struct State {
        int ticks = 0;
        bool done = false;
        QPointer<QWidget> acted; // null again once the window is gone
    };
    auto* timer = new QTimer;
    auto state = std::make_shared<State>();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, state, act] {
        QWidget* modal = QApplication::activeModalWidget();
        ++state->ticks;
        auto finish = [&](const char* failure) {
            timer->stop();
            timer->deleteLater();
            if (failure) {
                ADD_FAILURE() << failure;
                if (auto* d = qobject_cast<QDialog*>(modal))
                    d->reject();
            }
        };
        if (!state->done) {
            if (auto* w = qobject_cast<W*>(modal)) {
                state->done = true;
                state->acted = w;
                state->ticks = 0;
                act(w);
            } else if (state->ticks > 500) {
                finish("the expected window did not open");
            }
        } else if (!state->acted || modal != state->acted) {
            finish(nullptr);
        } else if (state->ticks > 300) {
            finish("the window did not close");
        }
    });
    timer->start();
}

} // namespace zev::test
