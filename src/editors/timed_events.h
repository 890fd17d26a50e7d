#pragma once

// The "Timed events editor" (the list of timed events and the one the 'start' procedure starts)
// and the "Timed event data editor" (one event's name, enum value, interval and code lines).
// Add, Edit and Delete write to the dialogue at once; OK only chooses the default event.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "model/records.h"

namespace zev {

class App;
class TimedEventsModel;
class TimedEventDataModel;

// Each shows its window modally; true when it was closed with OK.
class TimedEventsView {
public:
    virtual ~TimedEventsView() = default;
    virtual bool exec(TimedEventsModel& model) = 0;
};

class TimedEventDataView {
public:
    virtual ~TimedEventDataView() = default;
    virtual bool exec(TimedEventDataModel& model) = 0;
};

// The code box's text as lines: each line ends at CR LF (a lone LF or CR too); a text that ends
// with a line end has no further empty line after it, so "a\r\n\r\n" is "a" and "".
std::vector<std::string> SplitCodeLines(std::string_view text);
// Each line followed by CR LF, as the code box gives its text.
std::string JoinCodeLines(const std::vector<std::string>& lines);

class TimedEventDataModel {
public:
    static constexpr std::string_view kCaption = "Timed event data editor";
    static constexpr std::string_view kNameLabel = "Timed event name:";
    static constexpr std::string_view kEnumLabel = "Enum value";
    static constexpr std::string_view kIntervalTypeLabel = "Interval type";
    static constexpr std::array<std::string_view, 2> kIntervalTypes = { "Static", "Random" };
    static constexpr std::string_view kIntervalGroup = "Interval data";
    static constexpr std::string_view kMinimumLabel = "Minimum time:";
    static constexpr std::string_view kMaximumLabel = "Maximum time:";
    static constexpr std::string_view kCodeLabel = "Code for the timed event block";
    static constexpr std::string_view kInsertCommand = "Insert command";
    // Run when the window is created; it registers the "Insert command" entries.
    static constexpr std::string_view kCommandsScript = "/helperscripts/TE_Commands.dws";
    static constexpr int kMaxEnumValue = 20000;
    static constexpr int kMaxTime = 100; // seconds

    explicit TimedEventDataModel(App& app);

    // Add's empty editor: no name, enum value and both times 0, "Static", no code.
    void Clear();
    // Edit's: the event's fields (a random event's minimum and maximum, a static one's interval in
    // "Minimum time:") and its code lines. Values are shown as stored; the setters clamp.
    void Fill(const time_event_data& e);
    // OK: refused with a warning when the code has more lines than an event holds.
    bool Accept();
    // The fields written to e; its code lines are replaced by the editor's, one per line, in
    // order, empty lines included. False (e untouched) when there are too many lines.
    bool Store(time_event_data& e) const;

    const std::string& name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    int enumValue() const { return m_enum; }
    void SetEnumValue(int value);
    // Position in kIntervalTypes: 0 "Static", 1 "Random".
    int intervalType() const { return m_random ? 1 : 0; }
    void ChooseIntervalType(int position);
    bool random() const { return m_random; }
    int minimum() const { return m_minimum; }
    void SetMinimum(int seconds);
    int maximum() const { return m_maximum; }
    void SetMaximum(int seconds);
    // The code box's text, lines ended by CR LF.
    const std::string& code() const { return m_code; }
    void SetCode(std::string code) { m_code = std::move(code); }

    Signal<> changed;

private:
    App& m_app;
    std::string m_name;
    int m_enum = 0;
    bool m_random = false;
    int m_minimum = 0;
    int m_maximum = 0;
    std::string m_code;
};

struct TimedEventRow {
    std::string name;
    std::string actions; // code_line_count
    std::string random; // "True" or "False"
    std::string interval; // "min-max" when random, else the interval
};

class TimedEventsModel {
public:
    static constexpr std::string_view kCaption = "Timed events editor";
    static constexpr std::string_view kListLabel = "Timed event list";
    static constexpr std::array<std::string_view, 4> kColumns
        = { "Timed event name", "Action count", "Random Time", "Interval (in seconds)" };
    static constexpr std::string_view kDefaultLabel = "Timed event to add in the 'start' procedure";
    static constexpr std::string_view kAdd = "Add";
    static constexpr std::string_view kEdit = "Edit";
    static constexpr std::string_view kDelete = "Delete";

    explicit TimedEventsModel(App& app);
    TimedEventsModel(const TimedEventsModel&) = delete;
    TimedEventsModel& operator=(const TimedEventsModel&) = delete;

    void SetView(TimedEventsView* view) { m_view = view; }
    void SetDataView(TimedEventDataView* view) { m_dataView = view; }
    TimedEventDataModel& data() { return m_data; }

    // "Timed events editor...": the list filled and the window shown. On OK the chosen default is
    // stored. The dialogue is marked modified on OK, and after any change however it was closed.
    bool Open();
    // The list and the drop-down filled without showing the window.
    void Begin();
    // OK: the drop-down's event becomes default_event, if the user chose one.
    void ApplyDefault();

    const std::vector<TimedEventRow>& rows() const { return m_rows; }
    // The drop-down: the event names; the shown position (default_event, or the first event when
    // that is out of range; -1 without events).
    const std::vector<std::string>& defaultItems() const { return m_names; }
    int defaultChoice() const { return m_choice; }
    void ChooseDefault(int position);

    // The data editor over a new event, or over the event at row. True when something was stored.
    bool Add();
    bool Edit(int row);
    // The event at row, without a question; default_event keeps naming the same event.
    bool Delete(int row);
    bool changedSinceOpen() const { return m_changed; }

    Signal<> changed;

private:
    void Fill();
    time_event_data* EventAt(int row) const;

    App& m_app;
    TimedEventDataModel m_data;
    TimedEventsView* m_view = nullptr;
    TimedEventDataView* m_dataView = nullptr;
    std::vector<TimedEventRow> m_rows;
    std::vector<std::string> m_names;
    int m_choice = -1;
    bool m_chosen = false; // the user picked in the drop-down since it was filled
    bool m_changed = false;
};

// The interval column: "%d-%d" of minimum and maximum for a random event, else "%d".
std::string TimedEventIntervalText(const time_event_data& e);

} // namespace zev
