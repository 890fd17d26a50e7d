#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/parser_runtime.h"
#include "model/records.h"
#include "model/zev_scanner.h"

namespace zev {

// The dialogue file reader: fills the dialogue it is given straight from the file, keeps going
// after errors, and collects the lines of exec_script_code sections for the caller to run.
class TZEV : public TBaseGrammar {
public:
    TZEV();

    // The dialogue filled by Execute. The reader frees the records of every table it resets.
    void SetTarget(dialog* d) { m_dialog = d; }
    // Builds a condition's script expression (from conditions.ini); empty when not set.
    void SetConditionScriptBuilder(std::function<std::string(const condition&)> fn) { m_buildScript = std::move(fn); }
    // The lines of exec_script_code sections of the last parse, in file order.
    const std::vector<std::string>& ExecScriptLines() const { return m_execLines; }
    static std::string Version() { return "Version: 1.0 Release 0 Build 250"; }

    // The value of a string token: without its quotes, with \" \n \t decoded.
    static std::string DecodeString(std::string_view token);

protected:
    void ParseStart() override;

private:
    // Productions.
    void ZEV();
    void Vars();
    void Variable();
    void Section();
    void Header();
    void TimedEvents();
    void TimeEvent();
    void FloatNode();
    void NodeDef();
    void SkillCheckDef(dlgnode& node);
    void Option(dlgnode& node);
    void Condition(option& opt);
    void StartConditions();
    void StartCond();
    void CondLine(starting_condition& s);
    void CustomProc();
    void ExecScript();

    // Token helpers with the reader's conversion rules.
    std::string ExpectString();
    // Node names and link targets: options that link to the same node share one string.
    HostString SharedName(std::string text);
    std::string ExpectIdent();
    int32_t ExpectInteger();
    int32_t ConvertInteger();
    double ConvertFloat();
    bool StartsSection() const;
    void TooMany();
    void ResetTables();

    dialog* m_dialog = nullptr;
    std::function<std::string(const condition&)> m_buildScript;
    std::vector<std::string> m_execLines;
    std::unordered_map<std::string, HostString> m_sharedNames; // during a parse

    // Kept from one condition to the next, also across loads: a condition without an operator part
    // takes the previous operator and value.
    struct ConditionScratch {
        std::string type;
        std::string subject;
        std::string op;
        std::string value;
        int32_t link = 0;
    } m_cond;
};

} // namespace zev
