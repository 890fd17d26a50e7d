#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zev::script {

class Engine;
class Interp;
struct Value;
struct Node;

// The types a host unit can declare. Void as a result type makes a procedure.
enum class HostType { Void, String, Integer, Boolean, Float };

std::string_view HostTypeName(HostType t);

// A value crossing the host border.
class HostValue {
public:
    HostValue() = default;
    static HostValue String(std::string v);
    static HostValue Integer(int64_t v);
    static HostValue Boolean(bool v);
    static HostValue Float(double v);

    HostType type() const { return m_type; }
    // Each reads any type: numbers and booleans as Pascal would write them, texts as StrToInt
    // and StrToFloat read them (a text that is not a number raises the script error).
    std::string AsString() const;
    int64_t AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    // The value as a Pascal literal, for declaration texts: 'text', 12, True, 1.5.
    std::string Literal() const;

private:
    HostType m_type = HostType::Void;
    std::string m_string;
    int64_t m_int = 0;
    double m_float = 0;
    bool m_bool = false;
};

// Thrown by a handler or read callback to end the script with a run-time error.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a host handler sees of one call: the arguments by parameter name (any case), and the
// result under the name "result". A name the function did not declare is the run-time error
// `Variable "NAME" not found`.
class HostCall {
public:
    std::string GetString(std::string_view name) const { return Get(name).AsString(); }
    int64_t GetInteger(std::string_view name) const { return Get(name).AsInteger(); }
    double GetFloat(std::string_view name) const { return Get(name).AsFloat(); }
    bool GetBoolean(std::string_view name) const { return Get(name).AsBoolean(); }
    HostValue Get(std::string_view name) const;

    void Set(std::string_view name, const HostValue& value);
    void SetString(std::string_view name, std::string v) { Set(name, HostValue::String(std::move(v))); }
    void SetInteger(std::string_view name, int64_t v) { Set(name, HostValue::Integer(v)); }
    void SetBoolean(std::string_view name, bool v) { Set(name, HostValue::Boolean(v)); }
    void SetFloat(std::string_view name, double v) { Set(name, HostValue::Float(v)); }

    // Ends the script with "Runtime Error: message [line: .., column: ..]" at the call.
    [[noreturn]] void Raise(std::string message) const;
    Engine& engine() const;

private:
    friend struct HostCallNode;
    HostCall(const struct HostFunction& fn, std::vector<HostValue>& args, Engine& engine)
        : m_fn(fn)
        , m_args(args)
        , m_engine(engine)
    {
    }
    const struct HostFunction& m_fn;
    std::vector<HostValue>& m_args;
    Engine& m_engine;
    std::optional<HostValue> m_result;
};

using HostHandler = std::function<void(HostCall&)>;
using HostReader = std::function<HostValue()>;

struct HostParam {
    std::string name;
    HostType type = HostType::String;
    std::optional<HostValue> defaultValue; // a parameter with a default may be left out
};

struct HostFunction {
    std::string name;
    std::vector<HostParam> params;
    HostType result = HostType::Void;
    HostHandler handler;

    // `procedure AddNode(nodename : String; npctext_female : String = '');` or
    // `function GetNodeCount : Integer;`
    std::string Declaration() const;
};

struct HostVariable {
    std::string name;
    HostType type = HostType::String;
    HostReader read; // called on every access
};

struct HostConstant {
    std::string name;
    int64_t value = 0;
};

// A named set of constants, read-only variables and functions that scripts can call.
class HostUnit {
public:
    explicit HostUnit(std::string name)
        : m_name(std::move(name))
    {
    }

    HostUnit& AddConstant(std::string name, int64_t value);
    HostUnit& AddVariable(std::string name, HostType type, HostReader read);
    // Parameters with defaults must come last; std::invalid_argument otherwise.
    HostUnit& AddFunction(std::string name, std::vector<HostParam> params, HostType result, HostHandler handler);

    const std::string& name() const { return m_name; }
    const std::vector<HostConstant>& constants() const { return m_constants; }
    const std::vector<HostVariable>& variables() const { return m_variables; }
    const std::vector<HostFunction>& functions() const { return m_functions; }

    // Lookups ignore case, as the script does.
    const HostConstant* FindConstant(std::string_view name) const;
    const HostVariable* FindVariable(std::string_view name) const;
    const HostFunction* FindFunction(std::string_view name) const;

private:
    std::string m_name;
    std::vector<HostConstant> m_constants;
    std::vector<HostVariable> m_variables;
    std::vector<HostFunction> m_functions;
};

} // namespace zev::script
