#pragma once

// The two modeless transcript windows: one transcript formatted, and the list of all of them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"

namespace zev {

class App;
class TranscriptStore;

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A piece of rich text with its font; the size is the box's default.
struct TextRun {
    std::string text;
    std::string font; // "Arial" or "Tahoma"
    bool bold = false;
    Rgb color;
};

// One line of the rich-text box: its runs, then a line break.
struct FormattedLine {
    std::vector<TextRun> runs;
};

// A line containing "NPC" anywhere is the NPC's; anything else the player's. The speaker's name
// comes first, then the text after the first ": ".
FormattedLine FormatTranscriptLine(std::string_view line, std::string_view npcName, std::string_view playerName);

// "Dialogue transcript".
class TranscriptWindowModel {
public:
    static constexpr std::string_view kCaption = "Dialogue transcript";
    static constexpr std::string_view kLabel = "Dialogue transcript:";
    static constexpr std::string_view kOkCaption = "Ok";
    static constexpr std::string_view kSaveCaption = "Save";

    TranscriptWindowModel(App& app, TranscriptStore& store);
    ~TranscriptWindowModel();
    TranscriptWindowModel(const TranscriptWindowModel&) = delete;
    TranscriptWindowModel& operator=(const TranscriptWindowModel&) = delete;

    // Fills the box with one transcript and shows the window; an index naming none does nothing.
    void ShowTranscriptInWindow(int index);
    // "Ok": hides the window.
    void Ok();
    // "Save": saves the shown transcript. Refused (false) when none is shown any more.
    bool Save();

    bool visible() const { return m_visible; }
    // -1 when none is shown (the list was emptied).
    int shownIndex() const { return m_shown; }
    const std::vector<FormattedLine>& lines() const { return m_lines; }

    Signal<> changed;

private:
    // New and Load emptied the list: the window closes, nothing it showed can be saved.
    void OnCleared();

    App& m_app;
    TranscriptStore& m_store;
    std::size_t m_clearedId = 0;
    bool m_visible = false;
    int m_shown = -1;
    std::vector<FormattedLine> m_lines;
};

// One row of "List of dialogue transcripts".
struct TranscriptListRow {
    std::string number; // "#", from 1
    std::string npc;
    std::string recordDate;
    std::string fileName;
};

// "List of dialogue transcripts".
class TranscriptListModel {
public:
    static constexpr std::string_view kCaption = "List of dialogue transcripts";
    static constexpr std::string_view kLabel = "Double-click on the list view to show the selected dialogue transcript";
    static constexpr std::string_view kColumns[4] = { "#", "NPC", "Record date", "Filename" };
    static constexpr std::string_view kOkCaption = "OK";

    TranscriptListModel(TranscriptStore& store, TranscriptWindowModel& window);
    ~TranscriptListModel();
    TranscriptListModel(const TranscriptListModel&) = delete;
    TranscriptListModel& operator=(const TranscriptListModel&) = delete;

    // Fills the list and shows the window.
    void ShowTranscriptList();
    // A double click on a row shows that transcript; a row out of range does nothing.
    void DoubleClick(int row);
    // "OK": hides the window.
    void Ok();

    bool visible() const { return m_visible; }
    const std::vector<TranscriptListRow>& rows() const { return m_rows; }

    Signal<> changed;

private:
    void Fill();

    TranscriptStore& m_store;
    TranscriptWindowModel& m_window;
    std::size_t m_changedId = 0;
    std::size_t m_clearedId = 0;
    bool m_visible = false;
    std::vector<TranscriptListRow> m_rows;
};

} // namespace zev
