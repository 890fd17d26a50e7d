#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>

namespace zev::script {

class Engine;
class ScriptDialogs;

// Shared by the runs of one engine, nested ones included: the host's watch and a pending stop.
struct RunControl {
    std::function<bool(std::chrono::steady_clock::duration)> watch;
    std::chrono::steady_clock::time_point start; // of the outermost run
    std::chrono::steady_clock::time_point lastWatch;
    int depth = 0; // runs in progress
    bool stop = false;
    bool inWatch = false;
};

// What a run needs from its engine: where output goes, who answers dialog boxes, and its limits.
class RunEnv {
public:
    Engine* engine = nullptr;
    ScriptDialogs* dialogs = nullptr;
    const std::function<void(std::string_view)>* sink = nullptr;
    std::string* output = nullptr;
    std::mt19937_64* random = nullptr;
    uint64_t budget = 0; // instructions left; 0 = unlimited
    bool hasBudget = false;
    bool hasDeadline = false;
    std::chrono::steady_clock::time_point deadline;
    uint64_t maxObjectBytes = 0;
    bool fileAccess = true;
    RunControl* control = nullptr; // null for the compiler's constant folding
};

} // namespace zev::script
