#pragma once

#include <memory>
#include <string>
#include <vector>

#include "script/engine/nodes.h"
#include "script/engine/types.h"

namespace zev::script {

class HostUnit;

struct ParamInfo {
    std::string name;
    const Type* type = nullptr;
    bool byRef = false;
    ExprP defaultValue; // a constant, or null
};

// A compiled procedure or function. Slot 0 holds the result of a function; parameters follow.
struct Routine {
    std::string name;
    int line = 0, col = 0;
    const Type* result = nullptr; // Void for a procedure
    std::vector<ParamInfo> params;
    int level = 1; // 1 for a routine of the script; one more per enclosing routine
    int firstParam = 0; // 1 for functions (slot 0 is Result)
    std::vector<const Type*> slotTypes;
    std::vector<Value> slotInit; // filled once the body is checked
    std::vector<int> freshSlots; // static arrays: a new one per call
    StmtP body;
    bool signatureDone = false;
    bool bodyDone = false;
    bool broken = false; // failed to parse or check: calls are still accepted, it never runs
};

struct CompiledProgram {
    TypeTable types;
    std::vector<std::unique_ptr<Routine>> routines;
    std::vector<const Type*> globalTypes;
    std::vector<Value> globalInit;
    std::vector<int> freshGlobals;
    std::vector<StmtP> main;
    std::vector<std::shared_ptr<const HostUnit>> units; // kept alive while the program lives
};

void FinishSlots(const std::vector<const Type*>& types, std::vector<Value>& init, std::vector<int>& fresh);

} // namespace zev::script
