#include "runner/transcript_windows.h"

#include "app/app.h"
#include "runner/transcripts.h"

namespace zev {

namespace {

constexpr Rgb kNpcNameColor { 0x11, 0x22, 0x11 };
constexpr Rgb kNpcTextColor { 0x12, 0x00, 0xA2 };
constexpr Rgb kPlayerNameColor { 0x00, 0x00, 0x00 };
constexpr Rgb kPlayerTextColor { 0x21, 0x00, 0xCA };

} // namespace

FormattedLine FormatTranscriptLine(std::string_view line, std::string_view npcName, std::string_view playerName)
{
    // The text from two characters after the first ":"; without one, from the second character.
    std::size_t colon = line.find(':');
    std::size_t from = colon == std::string_view::npos ? 1 : colon + 2;
    std::string rest(from < line.size() ? line.substr(from) : std::string_view());

    FormattedLine out;
    if (line.find("NPC") != std::string_view::npos) {
        out.runs.push_back({ std::string(npcName) + ": ", "Arial", true, kNpcNameColor });
        out.runs.push_back({ rest, "Tahoma", true, kNpcTextColor });
    } else {
        out.runs.push_back({ std::string(playerName) + ": ", "Arial", true, kPlayerNameColor });
        out.runs.push_back({ rest, "Tahoma", false, kPlayerTextColor });
    }
    return out;
}

TranscriptWindowModel::TranscriptWindowModel(App& app, TranscriptStore& store)
    : m_app(app)
    , m_store(store)
{
    m_clearedId = m_store.cleared.Connect([this] { OnCleared(); });
}

TranscriptWindowModel::~TranscriptWindowModel()
{
    m_store.cleared.Disconnect(m_clearedId);
}

void TranscriptWindowModel::ShowTranscriptInWindow(int index)
{
    if (index < 0 || index >= m_store.count())
        return;
    m_shown = index;
    m_app.log().Log("Transcript index == " + std::to_string(index));
    const dlgtranscript& tr = m_store.list()[static_cast<std::size_t>(index)];
    m_lines.clear();
    for (const std::string& line : tr.lines)
        m_lines.push_back(FormatTranscriptLine(line, tr.npc_name, tr.player_name));
    m_visible = true;
    changed.Emit();
}

void TranscriptWindowModel::Ok()
{
    m_visible = false;
    changed.Emit();
}

bool TranscriptWindowModel::Save()
{
    if (m_shown < 0 || m_shown >= m_store.count())
        return false;
    return m_store.SaveTranscript(m_shown);
}

void TranscriptWindowModel::OnCleared()
{
    m_visible = false;
    m_shown = -1;
    m_lines.clear();
    changed.Emit();
}

TranscriptListModel::TranscriptListModel(TranscriptStore& store, TranscriptWindowModel& window)
    : m_store(store)
    , m_window(window)
{
    // An open list follows the store, so no row can name a transcript that is gone.
    m_changedId = m_store.changed.Connect([this] {
        if (m_visible)
            Fill();
    });
    m_clearedId = m_store.cleared.Connect([this] { Fill(); });
}

TranscriptListModel::~TranscriptListModel()
{
    m_store.changed.Disconnect(m_changedId);
    m_store.cleared.Disconnect(m_clearedId);
}

void TranscriptListModel::Fill()
{
    m_rows.clear();
    int i = 0;
    for (const dlgtranscript& tr : m_store.list())
        m_rows.push_back({ std::to_string(++i), tr.npc_name, DateTimeText(tr.recorded_at), tr.file_name });
    changed.Emit();
}

void TranscriptListModel::ShowTranscriptList()
{
    m_visible = true;
    Fill();
}

void TranscriptListModel::DoubleClick(int row)
{
    if (row >= 0 && row < static_cast<int>(m_rows.size()))
        m_window.ShowTranscriptInWindow(row);
}

void TranscriptListModel::Ok()
{
    m_visible = false;
    changed.Emit();
}

} // namespace zev
