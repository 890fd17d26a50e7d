#include "editors/timed_events.h"

#include <algorithm>

#include "app/app.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"

namespace zev {

namespace {

std::string TooManyLinesText(std::size_t lines)
{
    return "The code has " + std::to_string(lines) + " lines; a timed event holds at most "
        + std::to_string(kMaxTimedEventLines) + ".\r\nShorten the code and try again.";
}

} // namespace

std::vector<std::string> SplitCodeLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

std::string JoinCodeLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string TimedEventIntervalText(const time_event_data& e)
{
    if (e.is_random)
        return std::to_string(e.interval_min) + "-" + std::to_string(e.interval_max);
    return std::to_string(e.interval);
}

// ---- The data editor

TimedEventDataModel::TimedEventDataModel(App& app)
    : m_app(app)
{
}

void TimedEventDataModel::Clear()
{
    m_name.clear();
    m_enum = 0;
    m_random = false;
    m_minimum = 0;
    m_maximum = 0;
    m_code.clear();
    changed.Emit();
}

void TimedEventDataModel::Fill(const time_event_data& e)
{
    m_name = e.fixed_param_name.str();
    m_enum = e.enum_value;
    m_random = e.is_random != 0;
    m_minimum = m_random ? e.interval_min : e.interval;
    m_maximum = m_random ? e.interval_max : 0;
    std::vector<std::string> lines;
    for (int32_t i = 0; i < std::clamp(e.code_line_count, 0, kMaxTimedEventLines); ++i)
        lines.push_back(e.code[i] ? e.code[i]->line.str() : std::string());
    m_code = JoinCodeLines(lines);
    changed.Emit();
}

bool TimedEventDataModel::Accept()
{
    const std::size_t lines = SplitCodeLines(m_code).size();
    if (lines > static_cast<std::size_t>(kMaxTimedEventLines)) {
        m_app.dialogs().Warning(TooManyLinesText(lines));
        return false;
    }
    return true;
}

bool TimedEventDataModel::Store(time_event_data& e) const
{
    const std::vector<std::string> lines = SplitCodeLines(m_code);
    if (lines.size() > static_cast<std::size_t>(kMaxTimedEventLines))
        return false;
    e.fixed_param_name = m_name;
    e.enum_value = m_enum;
    e.is_random = m_random ? 1 : 0;
    if (m_random) {
        e.interval_min = m_minimum;
        e.interval_max = m_maximum;
    } else {
        e.interval = m_minimum;
    }
    e.code_line_count = std::clamp(e.code_line_count, 0, kMaxTimedEventLines);
    while (e.code_line_count > 0)
        RemoveTimedEventLineAt(e, e.code_line_count - 1);
    for (const std::string& line : lines)
        TryAddTimedEventLine(e, line);
    return true;
}

void TimedEventDataModel::SetEnumValue(int value)
{
    m_enum = std::clamp(value, 0, kMaxEnumValue);
}

void TimedEventDataModel::ChooseIntervalType(int position)
{
    m_random = position == 1;
    changed.Emit();
}

void TimedEventDataModel::SetMinimum(int seconds)
{
    m_minimum = std::clamp(seconds, 0, kMaxTime);
}

void TimedEventDataModel::SetMaximum(int seconds)
{
    m_maximum = std::clamp(seconds, 0, kMaxTime);
}

// ---- The list

TimedEventsModel::TimedEventsModel(App& app)
    : m_app(app)
    , m_data(app)
{
}

time_event_data* TimedEventsModel::EventAt(int row) const
{
    const dialog& d = m_app.dlg();
    return row >= 0 && row < std::min(d.timed_event_count, kMaxTimedEvents) ? d.timed_events[row] : nullptr;
}

void TimedEventsModel::Fill()
{
    const dialog& d = m_app.dlg();
    m_rows.clear();
    m_names.clear();
    for (int32_t i = 0; i < std::clamp(d.timed_event_count, 0, kMaxTimedEvents); ++i) {
        const time_event_data* e = d.timed_events[i];
        if (!e) {
            m_rows.push_back({});
            m_names.emplace_back();
            continue;
        }
        m_rows.push_back({ e->fixed_param_name.str(), std::to_string(e->code_line_count),
            e->is_random ? "True" : "False", TimedEventIntervalText(*e) });
        m_names.push_back(e->fixed_param_name.str());
    }
    const int count = static_cast<int>(m_names.size());
    m_choice = count == 0 ? -1 : d.default_event >= 0 && d.default_event < count ? d.default_event : 0;
    m_chosen = false;
    changed.Emit();
}

void TimedEventsModel::Begin()
{
    m_changed = false;
    Fill();
}

bool TimedEventsModel::Open()
{
    Begin();
    const bool ok = m_view && m_view->exec(*this);
    if (ok)
        ApplyDefault();
    // Add, Edit and Delete changed the dialogue already; a close without OK must not hide that.
    if (ok || m_changed)
        m_app.DialogueChanged();
    return ok;
}

void TimedEventsModel::ApplyDefault()
{
    // Only a choice of the user is stored: the drop-down shows the first event for a default out
    // of range, and OK alone must leave default_event as it was.
    if (m_chosen && m_choice >= 0 && m_choice < static_cast<int>(m_names.size()))
        m_app.dlg().default_event = m_choice;
}

void TimedEventsModel::ChooseDefault(int position)
{
    if (position < 0 || position >= static_cast<int>(m_names.size()))
        return;
    m_choice = position;
    m_chosen = true;
    changed.Emit();
}

bool TimedEventsModel::Add()
{
    dialog& d = m_app.dlg();
    if (TableFull(d.timed_events, d.timed_event_count)) {
        m_app.dialogs().Warning("The dialogue already holds " + std::to_string(kMaxTimedEvents)
            + " timed events, as many as it can hold.\r\nNo timed event was added.");
        return false;
    }
    m_data.Clear();
    if (!m_dataView || !m_dataView->exec(m_data))
        return false;
    const std::size_t lines = SplitCodeLines(m_data.code()).size();
    if (lines > static_cast<std::size_t>(kMaxTimedEventLines)) {
        m_app.dialogs().Warning(TooManyLinesText(lines));
        return false;
    }
    Added<time_event_data> added = TryAddTimedEvent(d, m_data.name());
    if (!added) {
        m_app.dialogs().Warning(RefusalText(added.result));
        return false;
    }
    m_data.Store(*added.record);
    m_changed = true;
    Fill();
    return true;
}

bool TimedEventsModel::Edit(int row)
{
    time_event_data* e = EventAt(row);
    if (!e)
        return false;
    m_data.Fill(*e);
    if (!m_dataView || !m_dataView->exec(m_data))
        return false;
    // The event may have gone while the editor was open (a command script); look again.
    e = EventAt(row);
    if (!e)
        return false;
    if (!m_data.Store(*e)) {
        m_app.dialogs().Warning(TooManyLinesText(SplitCodeLines(m_data.code()).size()));
        return false;
    }
    m_changed = true;
    Fill();
    return true;
}

bool TimedEventsModel::Delete(int row)
{
    dialog& d = m_app.dlg();
    const int32_t before = d.timed_event_count;
    time_event_data* e = RemoveTimedEventAt(d, row);
    if (!e)
        return false;
    FreeTimedEvent(e);
    // default_event keeps naming the same event: an earlier deletion moves it down by one. When the
    // default itself goes, the index stays, so the event that moved into its place is the default;
    // clamped to the last event when it was the last, 0 when none are left. A default that named
    // no event is left alone.
    if (d.default_event >= 0 && d.default_event < before) {
        if (row < d.default_event)
            --d.default_event;
        else if (row == d.default_event)
            d.default_event = std::max(0, std::min(d.default_event, d.timed_event_count - 1));
    }
    m_changed = true;
    Fill();
    return true;
}

} // namespace zev
