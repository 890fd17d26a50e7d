#pragma once

#include <string>
#include <vector>

#include "completion/completion_records.h"
#include "completion/parse_include_scanner.h"
#include "model/parser_runtime.h"

namespace zev {

class Logger;

// The reader of definition files: appends each "AddDefine" statement of a file to the definition
// table it was given, keeps going after errors, and never adds beyond the table's capacities (a
// definition or parameter too many is reported with error 92 and dropped). Its errors are not
// shown, so it makes no listing unless GenListWhen asks for one.
class TParseInclude : public TBaseGrammar {
public:
    explicit TParseInclude(DefinitionTable& table);

    DefinitionTable& Table() { return m_table; }
    const DefinitionTable& Table() const { return m_table; }

protected:
    void ParseStart() override;

private:
    // Productions.
    void ParseInclude();
    void Define();
    void ParamList(IncEntry& entry);

    // Reads symbol n, or reports it missing; true when it was read.
    bool Take(int n);
    void SkipToDefine();
    void TooMany();

    DefinitionTable& m_table;
};

// What one LoadDef did.
struct DefLoadResult {
    bool read = false; // false: the file could not be read and the table is unchanged
    std::string ioError; // why it could not be read
    int32_t added = 0; // definitions appended from the file
    std::vector<TParseError> errors; // syntax errors in report order (ErrorMsg gives their texts)
};

// The work of the script function LoadDef: logs "Loading definition " + the file name, reads the
// file and appends its definitions to the parser's table. Errors are collected, never shown.
DefLoadResult LoadDef(TParseInclude& parser, const std::string& fileName, Logger& log);

} // namespace zev
