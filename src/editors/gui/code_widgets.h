#pragma once

// What the code and variable windows share beyond editor_widgets.h: drop-downs and one-line fields
// that follow a model without losing the user's place.

#include <string>
#include <vector>

#include "base/codepage.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace zev::editor_gui {

// The items, rebuilt only when they differ, then `current` chosen (-1: none, the placeholder).
void SetComboItems(QComboBox* box, const std::vector<std::string>& items, int current, TextEncoding encoding);
void SetListItems(QListWidget* list, const std::vector<std::string>& items, int current, TextEncoding encoding);
// Replaces the field's text only when it shows something else, so the cursor stays.
void SetLineText(QLineEdit* field, const std::string& text, TextEncoding encoding);

} // namespace zev::editor_gui
