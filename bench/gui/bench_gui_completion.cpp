// The completion list of a code editor as a designer types (offscreen):
//   bench_gui_completion PROGRAM_FOLDER
// A dialogue at full capacity (513 nodes, 1001 variables) and the shipped definitions; prints the
// milliseconds of Ctrl+Space (the whole list shown) and of each key typed while the list narrows,
// from the key event to the list redrawn (the popup's own refill included), median of the runs.
#include "app/scripted_dialogs.h"
#include "model/dialog_ops.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "editors/gui/code_editor.h"
#include "session/workbench.h"

namespace {

using Clock = std::chrono::steady_clock;

double SendKey(QWidget* w, int key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    const auto start = Clock::now();
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QApplication::processEvents();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_gui_completion PROGRAM_FOLDER\n");
        return 2;
    }
    QApplication qapp(argc, argv);
    zev::ScriptedDialogs dialogs;
    zev::Workbench bench(dialogs, argv[1]);
    bench.Start();
    zev::dialog& d = bench.app().dlg();
    for (int i = 0; i < zev::kMaxNodes; ++i)
        zev::AddNode(d, "Node_" + std::to_string(i))->npc_text = "What brings you to the caravan, stranger?";
    for (int i = 0; i < zev::kMaxVariables; ++i)
        zev::AddVariable(d, "var_" + std::to_string(i))->scope = i % 4;
    bench.app().RefreshEditorLists();

    zev::CodeEditor editor(zev::TextEncoding::Cp1252);
    editor.AttachCompletion(&bench.completion(), &bench.definitions());
    editor.resize(800, 600);
    editor.show();
    editor.setFocus();
    QApplication::processEvents();

    const QString typed = QStringLiteral("Node_51");
    const int runs = 15;
    std::vector<double> open;
    std::vector<std::vector<double>> keys(static_cast<std::size_t>(typed.size()));
    for (int r = 0; r < runs; ++r) {
        editor.SetCode({});
        open.push_back(SendKey(&editor, Qt::Key_Space, QStringLiteral(" "), Qt::ControlModifier));
        for (qsizetype k = 0; k < typed.size(); ++k)
            keys[static_cast<std::size_t>(k)].push_back(SendKey(&editor, typed[k].unicode(), QString(typed[k])));
        SendKey(&editor, Qt::Key_Escape, {});
    }
    std::printf("entries: %zu\n", bench.completion().shown.size());
    std::printf("Ctrl+Space, whole list: %.3f ms\n", Median(open));
    for (qsizetype k = 0; k < typed.size(); ++k)
        std::printf("key '%s' (\"%s\"): %.3f ms\n", QString(typed[k]).toUtf8().constData(),
            typed.left(k + 1).toUtf8().constData(), Median(keys[static_cast<std::size_t>(k)]));
    bench.Shutdown();
    return 0;
}
