#include "runner/transcripts.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/app.h"
#include "base/paths.h"
#include "runner/run_support.h"

namespace zev {

namespace {

// Days from 1970-01-01 to a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct CivilDate {
    int64_t year;
    unsigned month;
    unsigned day;
};

CivilDate CivilFromDays(int64_t z)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return { static_cast<int64_t>(yoe) + era * 400 + (m <= 2), m, d };
}

// 30 December 1899, the day 0 of date-time values.
const int64_t kDateTimeEpoch = DaysFromCivil(1899, 12, 30);

} // namespace

double DateTimeValue(const std::tm& local)
{
    int64_t days = DaysFromCivil(int64_t(local.tm_year) + 1900, static_cast<unsigned>(local.tm_mon + 1),
                       static_cast<unsigned>(local.tm_mday))
        - kDateTimeEpoch;
    double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    return static_cast<double>(days) + seconds / 86400.0;
}

std::tm BrokenDownTime(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 3e6)
        value = 0;
    auto days = static_cast<int64_t>(std::floor(value));
    auto seconds = static_cast<int64_t>(std::llround((value - static_cast<double>(days)) * 86400.0));
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    int64_t unixDays = days + kDateTimeEpoch;
    CivilDate c = CivilFromDays(unixDays);
    std::tm t {};
    t.tm_year = static_cast<int>(c.year - 1900);
    t.tm_mon = static_cast<int>(c.month) - 1;
    t.tm_mday = static_cast<int>(c.day);
    t.tm_hour = static_cast<int>(seconds / 3600);
    t.tm_min = static_cast<int>(seconds / 60 % 60);
    t.tm_sec = static_cast<int>(seconds % 60);
    t.tm_wday = static_cast<int>(((unixDays % 7) + 11) % 7); // 1970-01-01 was a Thursday
    t.tm_yday = static_cast<int>(unixDays - DaysFromCivil(c.year, 1, 1));
    t.tm_isdst = -1;
    return t;
}

std::string DateTimeText(double value)
{
    std::tm t = BrokenDownTime(value);
    char buf[128];
    std::size_t n = std::strftime(buf, sizeof buf, "%x %X", &t);
    return std::string(buf, n);
}

std::string FileSafeDateText(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c == '/' || c == '.' || c == ':')
            c = '_';
    return out;
}

std::string DialogueBaseName(std::string_view fileName)
{
    std::size_t slash = fileName.find_last_of("/\\");
    if (slash != std::string_view::npos)
        fileName.remove_prefix(slash + 1);
    std::size_t dot = fileName.rfind('.');
    if (dot != std::string_view::npos)
        fileName = fileName.substr(0, dot);
    return std::string(fileName);
}

std::string TranscriptFileName(
    std::string_view historyFolder, std::string_view dialogueFile, int index, std::string_view dateText)
{
    return JoinPath(
        historyFolder, DialogueBaseName(dialogueFile) + "_" + ZeroPad3(index) + "_" + std::string(dateText) + ".txt");
}

std::vector<std::string> TranscriptLines(
    const dialog& d, const PlayerChar& pc, const std::vector<HistoryEntry>& history)
{
    std::vector<std::string> lines;
    for (const HistoryEntry& e : history) {
        if (const dlgnode* n = NodeAtIndex(d, e.node_index)) {
            std::string_view text = n->npc_text.view();
            if (pc.gender == GENDER_FEMALE && !n->npc_female_text.empty())
                text = n->npc_female_text.view();
            lines.push_back(SubstitutePlayerName("NPC: (" + n->name.str() + ") " + std::string(text), pc.name.view()));
        }
        if (e.from_node_index == -1 || e.option_index == -1)
            continue;
        if (const option* o = OptionAtIndex(d, e.from_node_index, e.option_index))
            lines.push_back(SubstitutePlayerName("Player: " + o->text.str(), pc.name.view()));
    }
    return lines;
}

std::string ApplyTranscriptNames(std::string_view line, std::string_view playerName, std::string_view npcName)
{
    static constexpr std::string_view kPlayer = "Player";
    static constexpr std::string_view kNpc = "NPC";
    std::string out;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line.substr(i, kPlayer.size()) == kPlayer) {
            out.append(playerName);
            i += kPlayer.size();
        } else if (line.substr(i, kNpc.size()) == kNpc) {
            out.append(npcName);
            i += kNpc.size();
        } else {
            out += line[i++];
        }
    }
    return out;
}

TranscriptStore::TranscriptStore(App& app)
    : m_app(app)
    , m_clock([] { return std::time(nullptr); })
{
}

std::string TranscriptStore::HistoryFolder() const
{
    return m_app.dirs().TranscriptFolder();
}

int TranscriptStore::RecordTranscript(const std::vector<HistoryEntry>& history)
{
    m_app.log().Log("Generating node history.");
    const int t = count();
    dlgtranscript tr;
    tr.lines = TranscriptLines(m_app.dlg(), m_app.player(), history);
    std::time_t now = m_clock();
    std::tm local {};
    localtime_r(&now, &local);
    tr.recorded_at = DateTimeValue(local);
    tr.dialogue_file = m_app.dlg().file_name.str();
    tr.npc_name = m_app.dlg().npc_name.str();
    tr.player_name = m_app.player().name.str();
    tr.file_name
        = TranscriptFileName(HistoryFolder(), tr.dialogue_file, t, FileSafeDateText(DateTimeText(tr.recorded_at)));
    m_list.push_back(std::move(tr));
    m_app.log().Log("Transcript #" + std::to_string(t) + " generated.");
    changed.Emit();
    return t;
}

bool TranscriptStore::EnsureHistoryFolder()
{
    const std::string folder = HistoryFolder();
    if (DirectoryExists(folder))
        return true;
    m_app.log().Log("History folder \"" + folder + "\" did not exist, creating.");
    std::error_code ec;
    // The folder and its parent ("dialogue" of a portable program folder); a missing folder
    // above them shows up as the file errors of each save.
    std::filesystem::path history(folder);
    std::filesystem::create_directory(history.parent_path(), ec);
    return std::filesystem::create_directory(history, ec);
}

bool TranscriptStore::SaveOne(int index)
{
    dlgtranscript& tr = m_list[static_cast<std::size_t>(index)];
    m_app.log().Log("Saving history " + tr.file_name);
    std::vector<std::string> lines = tr.lines;
    if (!tr.names_applied)
        for (std::string& line : lines)
            line = ApplyTranscriptNames(line, tr.player_name, tr.npc_name);

    std::string error;
    std::FILE* f = std::fopen(tr.file_name.c_str(), "wb");
    if (!f) {
        error = std::strerror(errno);
    } else {
        bool ok = true;
        for (const std::string& line : lines) {
            ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size();
            ok = ok && std::fwrite("\r\n", 1, 2, f) == 2;
        }
        if (!ok)
            error = std::strerror(errno);
        if (std::fclose(f) != 0 && error.empty())
            error = std::strerror(errno);
    }
    if (!error.empty()) {
        m_app.dialogs().Warning("Error while saving dialog transcript #" + std::to_string(index + 1) + ":\r\n\r\n"
            + error + "\r\n\r\nFilename: " + tr.file_name);
        return false;
    }
    tr.lines = std::move(lines);
    tr.names_applied = true;
    return true;
}

bool TranscriptStore::SaveTranscript(int index)
{
    if (index < 0 || index >= count())
        return false;
    EnsureHistoryFolder();
    bool ok = SaveOne(index);
    if (ok)
        m_app.dialogs().MessageBox(
            "Dialogue transcript saved to:\r\n" + m_list[static_cast<std::size_t>(index)].file_name, MsgIcon::None,
            MsgButtons::Ok);
    changed.Emit();
    return ok;
}

void TranscriptStore::SaveAllTranscripts()
{
    if (m_list.empty())
        return;
    EnsureHistoryFolder();
    for (int i = 0; i < count(); ++i)
        SaveOne(i);
    changed.Emit();
}

void TranscriptStore::Clear()
{
    m_list.clear();
    cleared.Emit();
}

} // namespace zev
