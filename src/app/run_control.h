#pragma once

// The test run as the rest of the program sees it: scripts, plug-ins and the file commands reach
// the run session through this interface. The base class is the do-nothing default of a program
// without a test runner.

#include <cstdint>
#include <string>
#include <vector>

namespace zev {

// One visited node of a test run.
struct HistoryEntry {
    int32_t node_index = -1;
    int32_t option_index = -1; // the option chosen there, -1 when none
    int32_t from_node_index = -1; // the node that option belongs to
};

// A recorded transcript as the console shows it.
struct TranscriptSummary {
    std::string npcName;
    std::string dialogueFile;
    std::string recordedAt;
    std::vector<std::string> lines;
};

class RunControl {
public:
    virtual ~RunControl() = default;
    // A test runner is attached (the script functions say "not available" otherwise).
    virtual bool Attached() const { return false; }
    virtual bool running() const { return false; }
    virtual int32_t currentNode() const { return -1; }
    // Starts a run at the named node, as "Run dialogue" with that node in the start-node box.
    virtual void Start(const std::string&) { }
    // Stops a running test (its transcript is recorded); nothing when none runs.
    virtual void Stop() { }
    // Makes the node current and shows it.
    virtual void SetCurrent(int32_t) { }
    // Makes the node current without a redraw (a plug-in's SetCurrentNode); the next one shows it.
    virtual void SetCurrentQuietly(int32_t) { }
    virtual std::vector<HistoryEntry> history() const { return {}; }
    virtual int transcriptCount() const { return 0; }
    virtual TranscriptSummary transcript(int) const { return {}; }
    virtual void SaveAllTranscripts() { }
    // New and Load: the transcript list becomes empty.
    virtual void ClearTranscripts() { }
};

} // namespace zev
