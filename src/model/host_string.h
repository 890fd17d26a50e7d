#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zev {

// The host's counted text, the form every string field of the records takes. It is one pointer to
// zero-terminated 8-bit characters; the 32-bit length stands in the 4 bytes before the first
// character and a 32-bit reference count (-1 for a constant) in the 4 bytes before that. Empty is
// a null pointer. Copying shares the block, the last release frees it. Plug-ins read the same
// layout through zevdlg/plugin.h, so the class must stay exactly one pointer wide.
class HostString {
public:
    HostString() noexcept = default;
    HostString(std::string_view text);
    HostString(const char* text)
        : HostString(std::string_view(text ? text : ""))
    {
    }
    HostString(const std::string& text)
        : HostString(std::string_view(text))
    {
    }
    HostString(const HostString& other) noexcept
        : m_p(other.m_p)
    {
        Retain(m_p);
    }
    HostString(HostString&& other) noexcept
        : m_p(other.m_p)
    {
        other.m_p = nullptr;
    }
    ~HostString() { Release(m_p); }

    HostString& operator=(const HostString& other) noexcept;
    HostString& operator=(HostString&& other) noexcept;
    HostString& operator=(std::string_view text);
    HostString& operator=(const char* text) { return *this = std::string_view(text ? text : ""); }
    HostString& operator=(const std::string& text) { return *this = std::string_view(text); }

    bool empty() const noexcept { return m_p == nullptr; }
    std::size_t size() const noexcept;
    const char* c_str() const noexcept { return m_p ? m_p : ""; }
    std::string_view view() const noexcept { return { c_str(), size() }; }
    std::string str() const { return std::string(view()); }
    operator std::string_view() const noexcept { return view(); }

    // The reference count stored in front of the text; 0 for the empty string.
    int32_t RefCount() const noexcept;
    // The raw pointer a plug-in sees.
    const char* Raw() const noexcept { return m_p; }

    friend bool operator==(const HostString& a, const HostString& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const HostString& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const HostString& a, const char* b) noexcept
    {
        return a.view() == std::string_view(b ? b : "");
    }
    friend bool operator==(const HostString& a, const std::string& b) noexcept
    {
        return a.view() == std::string_view(b);
    }

    // Block-level operations, for records that keep a host string inside a union (the variant).
    static char* Allocate(std::string_view text);
    static void Retain(char* p) noexcept;
    static void Release(char* p) noexcept;
    static std::size_t LengthOf(const char* p) noexcept;

private:
    char* m_p = nullptr;
};

static_assert(sizeof(HostString) == sizeof(char*));

} // namespace zev
