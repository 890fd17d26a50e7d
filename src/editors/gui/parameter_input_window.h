#pragma once

#include <QDialog>

#include "base/codepage.h"
#include "editors/gui/editor_widgets.h"
#include "editors/parameter_input.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace zev {

// "Parameter Input window": the prompt of the current parameter over a stack of pages, one per
// kind of input, and the main button ("Next parameter", "OK" for the last).
class ParameterInputWindow : public QDialog, public ParameterInputView {
    Q_OBJECT
public:
    ParameterInputWindow(ParameterInputModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~ParameterInputWindow() override;

    using QDialog::exec;
    bool exec(ParameterInputModel& model) override;
    void Redraw();

    QStackedWidget* pages() const { return m_pages; }
    QLabel* promptLabel() const { return m_prompt; }
    QSpinBox* spin() const { return m_spin; }
    QComboBox* nodeBox() const { return m_nodes; }
    QPlainTextEdit* previewMemo() const { return m_preview; }
    QComboBox* dropDown() const { return m_dropDown; }
    QListWidget* list() const { return m_list; }
    QPlainTextEdit* memo() const { return m_memo; }
    QLineEdit* textField() const { return m_text; }
    QPushButton* mainButton() const { return m_next; }

private:
    QWidget* Page(QLabel*& label, QWidget* control, const char* objectName);
    QWidget* BuildNodePage();
    void PushFields();
    void Next();

    ParameterInputModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;

    QLabel* m_prompt = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_nonePage = nullptr;
    QWidget* m_spinPage = nullptr;
    QWidget* m_nodePage = nullptr;
    QWidget* m_dropDownPage = nullptr;
    QWidget* m_listPage = nullptr;
    QWidget* m_memoPage = nullptr;
    QWidget* m_textPage = nullptr;
    QLabel* m_spinLabel = nullptr;
    QLabel* m_nodeLabel = nullptr;
    QLabel* m_dropDownLabel = nullptr;
    QLabel* m_listLabel = nullptr;
    QLabel* m_memoLabel = nullptr;
    QLabel* m_textLabel = nullptr;
    QSpinBox* m_spin = nullptr;
    QComboBox* m_nodes = nullptr;
    QPlainTextEdit* m_preview = nullptr;
    QComboBox* m_dropDown = nullptr;
    QListWidget* m_list = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QLineEdit* m_text = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
