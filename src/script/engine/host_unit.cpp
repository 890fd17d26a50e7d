#include "script/engine/host_unit.h"

#include <cmath>

#include "script/engine/text_util.h"

namespace zev::script {

std::string_view HostTypeName(HostType t)
{
    switch (t) {
    case HostType::Void:
        return "";
    case HostType::String:
        return "String";
    case HostType::Integer:
        return "Integer";
    case HostType::Boolean:
        return "Boolean";
    case HostType::Float:
        return "Float";
    }
    return "";
}

HostValue HostValue::String(std::string v)
{
    HostValue h;
    h.m_type = HostType::String;
    h.m_string = std::move(v);
    return h;
}

HostValue HostValue::Integer(int64_t v)
{
    HostValue h;
    h.m_type = HostType::Integer;
    h.m_int = v;
    return h;
}

HostValue HostValue::Boolean(bool v)
{
    HostValue h;
    h.m_type = HostType::Boolean;
    h.m_bool = v;
    return h;
}

HostValue HostValue::Float(double v)
{
    HostValue h;
    h.m_type = HostType::Float;
    h.m_float = v;
    return h;
}

std::string HostValue::AsString() const
{
    switch (m_type) {
    case HostType::String:
        return m_string;
    case HostType::Integer:
        return std::to_string(m_int);
    case HostType::Boolean:
        return m_bool ? "True" : "False";
    case HostType::Float:
        return FloatToStr(m_float);
    case HostType::Void:
        return "";
    }
    return "";
}

int64_t HostValue::AsInteger() const
{
    switch (m_type) {
    case HostType::Integer:
        return m_int;
    case HostType::Boolean:
        return m_bool ? 1 : 0;
    case HostType::Float:
        if (std::isfinite(m_float) && std::fabs(m_float) < 9.2e18)
            return static_cast<int64_t>(std::nearbyint(m_float));
        throw ScriptError("Invalid floating point operation");
    case HostType::String:
        if (auto v = ParseInteger(m_string))
            return *v;
        throw ScriptError("'" + m_string + "' is not a valid integer value");
    case HostType::Void:
        return 0;
    }
    return 0;
}

double HostValue::AsFloat() const
{
    switch (m_type) {
    case HostType::Float:
        return m_float;
    case HostType::Integer:
        return static_cast<double>(m_int);
    case HostType::Boolean:
        return m_bool ? 1 : 0;
    case HostType::String:
        if (auto v = ParseFloat(m_string))
            return *v;
        throw ScriptError("'" + m_string + "' is not a valid floating point value");
    case HostType::Void:
        return 0;
    }
    return 0;
}

bool HostValue::AsBoolean() const
{
    switch (m_type) {
    case HostType::Boolean:
        return m_bool;
    case HostType::Integer:
        return m_int != 0;
    case HostType::Float:
        return m_float != 0;
    case HostType::String:
        return EqualsNoCase(m_string, "true") || m_string == "1";
    case HostType::Void:
        return false;
    }
    return false;
}

std::string HostValue::Literal() const
{
    return m_type == HostType::String ? QuotedStr(m_string) : AsString();
}

std::string HostFunction::Declaration() const
{
    std::string d = result == HostType::Void ? "procedure " : "function ";
    d += name;
    if (!params.empty()) {
        d += "(";
        for (size_t i = 0; i < params.size(); ++i) {
            if (i)
                d += "; ";
            d += params[i].name + " : " + std::string(HostTypeName(params[i].type));
            if (params[i].defaultValue)
                d += " = " + params[i].defaultValue->Literal();
        }
        d += ")";
    }
    if (result != HostType::Void)
        d += " : " + std::string(HostTypeName(result));
    d += ";";
    return d;
}

HostUnit& HostUnit::AddConstant(std::string name, int64_t value)
{
    m_constants.push_back({ std::move(name), value });
    return *this;
}

HostUnit& HostUnit::AddVariable(std::string name, HostType type, HostReader read)
{
    if (type == HostType::Void)
        throw std::invalid_argument("a host variable needs a type");
    m_variables.push_back({ std::move(name), type, std::move(read) });
    return *this;
}

HostUnit& HostUnit::AddFunction(std::string name, std::vector<HostParam> params, HostType result, HostHandler handler)
{
    bool seenDefault = false;
    for (auto& p : params) {
        if (p.type == HostType::Void)
            throw std::invalid_argument("parameter " + p.name + " of " + name + " needs a type");
        if (p.defaultValue)
            seenDefault = true;
        else if (seenDefault)
            throw std::invalid_argument("parameter " + p.name + " of " + name + " needs a default value");
    }
    m_functions.push_back({ std::move(name), std::move(params), result, std::move(handler) });
    return *this;
}

const HostConstant* HostUnit::FindConstant(std::string_view name) const
{
    for (auto& c : m_constants)
        if (EqualsNoCase(c.name, name))
            return &c;
    return nullptr;
}

const HostVariable* HostUnit::FindVariable(std::string_view name) const
{
    for (auto& v : m_variables)
        if (EqualsNoCase(v.name, name))
            return &v;
    return nullptr;
}

const HostFunction* HostUnit::FindFunction(std::string_view name) const
{
    for (auto& f : m_functions)
        if (EqualsNoCase(f.name, name))
            return &f;
    return nullptr;
}

HostValue HostCall::Get(std::string_view name) const
{
    for (size_t i = 0; i < m_fn.params.size(); ++i)
        if (EqualsNoCase(m_fn.params[i].name, name))
            return m_args[i];
    throw ScriptError("Variable \"" + std::string(name) + "\" not found");
}

void HostCall::Set(std::string_view name, const HostValue& value)
{
    if (!EqualsNoCase(name, "result") || m_fn.result == HostType::Void)
        throw ScriptError("Variable \"" + std::string(name) + "\" not found");
    m_result = value;
}

void HostCall::Raise(std::string message) const
{
    throw ScriptError(std::move(message));
}

Engine& HostCall::engine() const
{
    return m_engine;
}

} // namespace zev::script
