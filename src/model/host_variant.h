#pragma once

#include <cstdint>
#include <string_view>

#include "model/host_string.h"

namespace zev {

// The 16-byte tagged value of a script variable's initial value, laid out as the Windows VARIANT
// that plug-ins expect: a 16-bit tag, 6 reserved bytes, an 8-byte payload.
class HostVariant {
public:
    static constexpr uint16_t kEmpty = 0;
    static constexpr uint16_t kInt32 = 3;
    static constexpr uint16_t kFloat64 = 5;
    static constexpr uint16_t kString = 0x0100;

    HostVariant() noexcept = default;
    HostVariant(const HostVariant& other) noexcept;
    HostVariant& operator=(const HostVariant& other) noexcept;
    ~HostVariant() { Clear(); }

    uint16_t Type() const noexcept { return m_type; }
    bool IsEmpty() const noexcept { return m_type == kEmpty; }

    void Clear() noexcept;
    void SetInt(int32_t v) noexcept;
    void SetFloat(double v) noexcept;
    void SetString(std::string_view v);

    // Each gives the payload when the tag matches, otherwise the type's zero.
    int32_t AsInt() const noexcept { return m_type == kInt32 ? m_int : 0; }
    double AsFloat() const noexcept { return m_type == kFloat64 ? m_float : 0.0; }
    std::string_view AsString() const noexcept;

private:
    uint16_t m_type = kEmpty;
    [[maybe_unused]] uint16_t m_reserved1 = 0;
    [[maybe_unused]] uint16_t m_reserved2 = 0;
    [[maybe_unused]] uint16_t m_reserved3 = 0;
    union {
        int32_t m_int;
        double m_float;
        char* m_str; // a host string block
        uint64_t m_raw = 0;
    };
};

static_assert(sizeof(HostVariant) == 16);

} // namespace zev
