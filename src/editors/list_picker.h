#pragma once

// The small list picker the script functions SelectFloatNode and SelectTimedEvent show: a caption
// and a label set by the caller, a list, "OK" and "Cancel".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"

namespace zev {

class ListPickerModel;

// Shows the picker modally; true when it was closed with OK (the button or a double click).
class ListPickerView {
public:
    virtual ~ListPickerView() = default;
    virtual bool exec(ListPickerModel& model) = 0;
};

class ListPickerModel {
public:
    static constexpr std::string_view kOk = "OK";
    static constexpr std::string_view kCancel = "Cancel";

    void SetView(ListPickerView* view) { m_view = view; }

    // Fills the picker and shows it: the chosen item's position, or nothing when cancelled, closed
    // without an item chosen, or without a view.
    std::optional<int> Select(std::string caption, std::string label, std::vector<std::string> items);
    // Fills the picker without showing it; nothing is chosen.
    void Begin(std::string caption, std::string label, std::vector<std::string> items);

    const std::string& caption() const { return m_caption; }
    const std::string& label() const { return m_label; }
    const std::vector<std::string>& items() const { return m_items; }
    int chosen() const { return m_chosen; }
    // A position outside the list chooses nothing.
    void Choose(int position);
    // A double click: the entry chosen; true when the view should close with OK (on an entry).
    bool Activate(int position);
    // What a close gives the caller: the chosen position on OK, otherwise nothing.
    std::optional<int> Result(bool ok) const;

    Signal<> changed;

private:
    ListPickerView* m_view = nullptr;
    std::string m_caption;
    std::string m_label;
    std::vector<std::string> m_items;
    int m_chosen = -1;
};

} // namespace zev
