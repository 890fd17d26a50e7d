#pragma once

// The test run as the rest of the program sees it: scripts, plug-ins and the file commands reach
// the run session through this interface, so they work (and are tested) without one.

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
    virtual bool running() const = 0;
    virtual int32_t currentNode() const = 0;
    // Selects the node in the start-node box and starts a run, as "Run dialogue" does.
    virtual void Start(const std::string& nodeName) = 0;
    virtual void Stop() = 0;
    // Makes the node current and shows it.
    virtual void SetCurrent(int32_t nodeIndex) = 0;
    virtual std::vector<HistoryEntry> history() const = 0;
    virtual int transcriptCount() const = 0;
    virtual TranscriptSummary transcript(int index) const = 0;
    virtual void SaveAllTranscripts() = 0;
};

} // namespace zev
