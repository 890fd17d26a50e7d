#include "editors/list_picker.h"

namespace zev {

void ListPickerModel::Begin(std::string caption, std::string label, std::vector<std::string> items)
{
    m_caption = std::move(caption);
    m_label = std::move(label);
    m_items = std::move(items);
    m_chosen = -1;
    changed.Emit();
}

std::optional<int> ListPickerModel::Select(std::string caption, std::string label, std::vector<std::string> items)
{
    Begin(std::move(caption), std::move(label), std::move(items));
    const bool ok = m_view && m_view->exec(*this);
    return Result(ok);
}

void ListPickerModel::Choose(int position)
{
    m_chosen = position >= 0 && static_cast<std::size_t>(position) < m_items.size() ? position : -1;
    changed.Emit();
}

bool ListPickerModel::Activate(int position)
{
    Choose(position);
    return m_chosen >= 0;
}

std::optional<int> ListPickerModel::Result(bool ok) const
{
    if (!ok || m_chosen < 0)
        return std::nullopt;
    return m_chosen;
}

} // namespace zev
