#pragma once

// Transcripts: every stopped test run leaves its NPC lines and player answers as text, kept in
// memory until New or Load and saved as one text file each under "dialogue/history".

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_control.h"
#include "base/signal.h"
#include "model/records.h"

namespace zev {

class App;

// One recorded run.
struct dlgtranscript {
    std::string file_name; // full path of its text file
    double recorded_at = 0; // local date-time as days since 30 December 1899
    std::string dialogue_file;
    std::string npc_name; // the dialogue's NPC name when the run stopped
    std::string player_name; // the player character's name when the run stopped
    std::vector<std::string> lines;
    // After the first successful save the lines carry the names in place of "Player" and "NPC";
    // later saves write them as they are, so saving again gives the same file.
    bool names_applied = false;

    int32_t line_count() const { return static_cast<int32_t>(lines.size()); }
};

// The date-time value of a local broken-down time, and back.
double DateTimeValue(const std::tm& local);
std::tm BrokenDownTime(double value);
// The locale's short date and long time ("%x %X").
std::string DateTimeText(double value);
// A date-time text fit for a file name: every "/", "." and ":" becomes "_".
std::string FileSafeDateText(std::string_view text);
// The dialogue file's name without folder and extension (either slash counts as a separator).
std::string DialogueBaseName(std::string_view fileName);
// historyFolder + "/" + base + "_" + number (at least 3 digits) + "_" + dateText + ".txt"
std::string TranscriptFileName(
    std::string_view historyFolder, std::string_view dialogueFile, int index, std::string_view dateText);
// The lines of a run: "NPC: (" + node + ") " + text, and "Player: " + option text where one was
// chosen; names substituted. Entries whose node or option no longer exist give no line.
std::vector<std::string> TranscriptLines(
    const dialog& d, const PlayerChar& pc, const std::vector<HistoryEntry>& history);
// One pass over the line: "Player" becomes the player's name, "NPC" the NPC's; the names put in
// are not searched again.
std::string ApplyTranscriptNames(std::string_view line, std::string_view playerName, std::string_view npcName);

// The transcript list with its recording and saving.
class TranscriptStore {
public:
    explicit TranscriptStore(App& app);

    // The clock transcripts are stamped with (tests fix it).
    void SetClock(std::function<std::time_t()> clock) { m_clock = std::move(clock); }

    // Appends the transcript of a run; returns its index.
    int RecordTranscript(const std::vector<HistoryEntry>& history);

    const std::vector<dlgtranscript>& list() const { return m_list; }
    int count() const { return static_cast<int>(m_list.size()); }
    // The program folder's "dialogue/history", or the user's transcripts folder when installed.
    std::string HistoryFolder() const;

    // Writes one transcript and tells where; false when the index names none or the write failed
    // (reported in a warning box).
    bool SaveTranscript(int index);
    // Writes every transcript; a failure is reported and the next one is tried.
    void SaveAllTranscripts();
    // New and Load: the list becomes empty.
    void Clear();

    Signal<> changed; // a transcript was added or saved
    Signal<> cleared;

private:
    bool EnsureHistoryFolder();
    bool SaveOne(int index);

    App& m_app;
    std::vector<dlgtranscript> m_list;
    std::function<std::time_t()> m_clock;
};

} // namespace zev
