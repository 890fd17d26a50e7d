#include "model/host_string.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace zev {

namespace {

struct Header {
    int32_t refs;
    int32_t length;
};
static_assert(sizeof(Header) == 8);

Header* HeaderOf(const char* p) noexcept
{
    return reinterpret_cast<Header*>(const_cast<char*>(p) - sizeof(Header));
}

} // namespace

char* HostString::Allocate(std::string_view text)
{
    if (text.empty())
        return nullptr;
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()) - sizeof(Header) - 1)
        throw std::length_error("text too long for a host string");
    auto* block = static_cast<char*>(std::malloc(sizeof(Header) + text.size() + 1));
    if (!block)
        throw std::bad_alloc();
    auto* h = reinterpret_cast<Header*>(block);
    h->refs = 1;
    h->length = static_cast<int32_t>(text.size());
    char* p = block + sizeof(Header);
    std::memcpy(p, text.data(), text.size());
    p[text.size()] = '\0';
    return p;
}

void HostString::Retain(char* p) noexcept
{
    if (p && HeaderOf(p)->refs >= 0)
        ++HeaderOf(p)->refs;
}

void HostString::Release(char* p) noexcept
{
    if (!p)
        return;
    Header* h = HeaderOf(p);
    if (h->refs < 0) // a constant
        return;
    if (--h->refs == 0)
        std::free(h);
}

std::size_t HostString::LengthOf(const char* p) noexcept
{
    return p ? static_cast<std::size_t>(HeaderOf(p)->length) : 0;
}

HostString::HostString(std::string_view text)
    : m_p(Allocate(text))
{
}

HostString& HostString::operator=(const HostString& other) noexcept
{
    Retain(other.m_p);
    Release(m_p);
    m_p = other.m_p;
    return *this;
}

HostString& HostString::operator=(HostString&& other) noexcept
{
    if (this != &other) {
        Release(m_p);
        m_p = other.m_p;
        other.m_p = nullptr;
    }
    return *this;
}

HostString& HostString::operator=(std::string_view text)
{
    // Allocate first: the text may point into this string's own block.
    char* p = Allocate(text);
    Release(m_p);
    m_p = p;
    return *this;
}

std::size_t HostString::size() const noexcept
{
    return LengthOf(m_p);
}

int32_t HostString::RefCount() const noexcept
{
    return m_p ? HeaderOf(m_p)->refs : 0;
}

} // namespace zev
