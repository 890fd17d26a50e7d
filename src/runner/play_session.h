#pragma once

// A test run without windows: the command-line tool's "play". The run is the session the main
// window's panel shows, with the App's dialogue, settings, player character and random generator;
// options are chosen by their index in the node; message boxes go to the App's Dialogs (answered
// by them), the termination query is answered Exit, and no transcript is saved to disk.

#include <cstdint>
#include <string>
#include <vector>

namespace zev {

class App;
class RunSession;

struct PlayRequest {
    std::string startNode;
    std::vector<int32_t> choices; // "Index" values, chosen in order
};

struct PlayResult {
    bool started = false; // the start node was found and the run began
    // Every listed choice was made. False when the run ended before all were used, or a value
    // was not listed at that node (error says which).
    bool completed = false;
    std::string error;
    // The run recorded a transcript (an open link answered Exit ends a run without one).
    bool recorded = false;
    std::vector<std::string> lines; // the transcript lines, as recorded
};

// Resolves links, starts at request.startNode, chooses the options in order and stops the run if
// it is still going.
PlayResult PlayHeadless(App& app, RunSession& session, const PlayRequest& request);

} // namespace zev
