#pragma once

#include <QDialog>

#include "script/func_desc.h"

class QListWidget;
class QPlainTextEdit;

namespace zev {

// "[DEV] Function description editor": the script functions on the left, the selected one's
// description on the right; every edit is stored at once.
class FuncDescEditorWindow : public QDialog {
public:
    FuncDescEditorWindow(FuncDescEditorModel& model, QWidget* parent = nullptr);
    QListWidget* list() const { return m_list; }
    QPlainTextEdit* memo() const { return m_memo; }

private:
    void ShowSelected();

    FuncDescEditorModel& m_model;
    QListWidget* m_list;
    QPlainTextEdit* m_memo;
    bool m_filling = false;
};

} // namespace zev
