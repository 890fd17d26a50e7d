#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zev {

class App;
class ScriptedDialogs;
class Workbench;
struct CliCommand;

// What an option's value must look like; checked while parsing so handlers get clean values.
enum class CliValue {
    None, // a flag
    Path, // a file or folder: not empty
    Text, // anything, also empty
    Integer, // a decimal integer, optionally negative
    IntegerList, // "1,2,3"
};

struct CliOption {
    std::string name; // "--dialogue"
    CliValue value = CliValue::None;
    std::string valueName; // "FILE", shown in help and errors
    bool repeatable = false;
    bool required = false;
    std::string help;
    // Integer and IntegerList: the range every number must lie in.
    int64_t min = std::numeric_limits<int64_t>::min();
    int64_t max = std::numeric_limits<int64_t>::max();
};

// The options common to every command.
struct CliCommonOptions {
    std::string home; // --home DIR; empty: ZEVDLG_HOME, else the executable's folder
    bool verbose = false; // --verbose: the log copied to stderr
    std::string logFile; // --log FILE; empty: no log file
};

// A command's arguments after parsing: option values by name (a flag has one empty value per use),
// operands in order.
struct CliCommandArgs {
    std::map<std::string, std::vector<std::string>, std::less<>> options;
    // The numbers of Integer and IntegerList options, read and range-checked once by the parser.
    std::map<std::string, std::vector<int64_t>, std::less<>> numbers;
    std::vector<std::string> operands;

    bool Has(std::string_view option) const;
    // The option's last value, or the fallback when it was not given.
    std::string Value(std::string_view option, std::string_view fallback = {}) const;
    // Every value in the order given.
    std::vector<std::string> Values(std::string_view option) const;
    // The numbers of an Integer or IntegerList option, in order (the last use of the option).
    std::vector<int64_t> Numbers(std::string_view option) const;
};

// What a handler works with: the workbench over the program folder (not started: a command that
// needs more than the reader starts it), its App, the boxes (answered from a script), the common
// options and the two output streams.
struct CliContext {
    Workbench& bench;
    App& app;
    ScriptedDialogs& dialogs;
    const CliCommand* command; // the command being run
    const CliCommonOptions& common;
    std::ostream& out;
    std::ostream& err;
};

// Returns the exit code: 0 success, 1 errors in the input, 2 usage or file errors.
using CliHandler = std::function<int(CliContext&, const CliCommandArgs&)>;

struct CliCommand {
    std::string name;
    std::string synopsis; // "check [--listing] FILE"
    std::string summary; // one line for the command list
    std::vector<CliOption> options;
    std::vector<std::string> operands; // names of the required operands, in order
    CliHandler handler; // empty while the command is not built

    const CliOption* FindOption(std::string_view name) const;
};

// The commands the tool knows; help and parsing come from here. A command is added by giving
// its entry a handler.
class CliCommandTable {
public:
    void Add(CliCommand command);
    const CliCommand* Find(std::string_view name) const;
    // Gives a command its handler; false when there is no such command.
    bool SetHandler(std::string_view name, CliHandler handler);
    const std::vector<CliCommand>& Commands() const { return m_commands; }

private:
    std::vector<CliCommand> m_commands;
};

// Every command of zevdlg-cli with the handlers built so far.
CliCommandTable BuiltinCommands();

// The options every command accepts.
const std::vector<CliOption>& CliCommonOptionList();

} // namespace zev
