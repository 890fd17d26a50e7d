#pragma once

// What the code and variable windows share beyond editor_widgets.h: drop-downs and one-line fields
// that follow a model without losing the user's place.

#include <optional>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "completion/completion_list.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace zev {
class CodeEditor;
}

namespace zev::editor_gui {

// A code editor showing a model's code: the model's text is shown when it changes, and the
// editor's text handed back only when it was edited, so untouched code keeps its bytes.
class CodeBinding {
public:
    void Bind(CodeEditor* editor, const CompletionLists* lists, const DefinitionTable* definitions);
    // As the window shows: the completion lists attached again (they are rebuilt in place), the
    // editor emptied so the model's code is shown afresh.
    void Begin();
    void Show(const std::string& modelCode);
    // The editor's text when it differs from what was shown last.
    std::optional<std::string> Edited();
    CodeEditor* editor() const { return m_editor; }

private:
    CodeEditor* m_editor = nullptr;
    const CompletionLists* m_lists = nullptr;
    const DefinitionTable* m_definitions = nullptr;
    std::string m_shownModel;
    std::string m_shownEditor;
};

// The items, rebuilt only when they differ, then `current` chosen (-1: none, the placeholder).
void SetComboItems(QComboBox* box, const std::vector<std::string>& items, int current, TextEncoding encoding);
void SetListItems(QListWidget* list, const std::vector<std::string>& items, int current, TextEncoding encoding);
// Replaces the field's text only when it shows something else, so the cursor stays.
void SetLineText(QLineEdit* field, const std::string& text, TextEncoding encoding);

} // namespace zev::editor_gui
