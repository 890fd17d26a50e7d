#include "model/host_variant.h"

namespace zev {

HostVariant::HostVariant(const HostVariant& other) noexcept
    : m_type(other.m_type)
    , m_raw(other.m_raw)
{
    if (m_type == kString)
        HostString::Retain(m_str);
}

HostVariant& HostVariant::operator=(const HostVariant& other) noexcept
{
    if (this == &other)
        return *this;
    if (other.m_type == kString)
        HostString::Retain(other.m_str);
    Clear();
    m_type = other.m_type;
    m_raw = other.m_raw;
    return *this;
}

void HostVariant::Clear() noexcept
{
    if (m_type == kString)
        HostString::Release(m_str);
    m_type = kEmpty;
    m_raw = 0;
}

void HostVariant::SetInt(int32_t v) noexcept
{
    Clear();
    m_type = kInt32;
    m_int = v;
}

void HostVariant::SetFloat(double v) noexcept
{
    Clear();
    m_type = kFloat64;
    m_float = v;
}

void HostVariant::SetString(std::string_view v)
{
    char* p = HostString::Allocate(v);
    Clear();
    m_type = kString;
    m_str = p;
}

std::string_view HostVariant::AsString() const noexcept
{
    if (m_type != kString || !m_str)
        return {};
    return { m_str, HostString::LengthOf(m_str) };
}

} // namespace zev
