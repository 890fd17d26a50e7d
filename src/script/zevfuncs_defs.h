#pragma once

// Shorthands for the function table of ZEVFuncs, shared by its group files.

#include <string>
#include <utility>
#include <vector>

#include "script/engine/host_unit.h"

namespace zev::zevdefs {

using script::HostParam;
using script::HostType;
using script::HostValue;

inline HostParam S(std::string name)
{
    return { std::move(name), HostType::String, std::nullopt };
}
inline HostParam I(std::string name)
{
    return { std::move(name), HostType::Integer, std::nullopt };
}
inline HostParam S(std::string name, std::string def)
{
    return { std::move(name), HostType::String, HostValue::String(std::move(def)) };
}
inline HostParam B(std::string name, bool def)
{
    return { std::move(name), HostType::Boolean, HostValue::Boolean(def) };
}

inline void Def(std::vector<script::HostFunction>& defs, std::string name, std::vector<HostParam> params,
    HostType result, script::HostHandler handler)
{
    defs.push_back({ std::move(name), std::move(params), result, std::move(handler) });
}

inline std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

} // namespace zev::zevdefs
