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
#include <vector>

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

// The WhenModal watches still waiting for their window: one that outlived its test would act on the
// next test's window.
struct PendingModal {
    QPointer<QTimer> timer;
    std::shared_ptr<bool> opened;
};
inline std::vector<PendingModal>& PendingModals()
{
    static std::vector<PendingModal> pending;
    return pending;
}

// The application exists before any member widget of a derived fixture is built; a watch whose
// window never opened fails the test that set it and ends with it.
class GuiTest : public ::testing::Test {
protected:
    GuiTest() { GuiApp(); }
    ~GuiTest() override
    {
        for (PendingModal& p : PendingModals()) {
            if (!p.timer || *p.opened)
                continue;
            ADD_FAILURE() << "an expected modal window never opened";
            delete p.timer.data();
        }
        PendingModals().clear();
    }
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
    auto opened = std::make_shared<bool>(false);
    PendingModals().push_back({ timer, opened });
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, state, opened, act] {
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
                *opened = true;
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
