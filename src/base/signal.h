#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace zev {

// A plain callback list: windows subscribe to the App's changes to redraw.
template <class... Args> class Signal {
public:
    using Slot = std::function<void(Args...)>;

    // Returns an id for Disconnect.
    std::size_t Connect(Slot slot)
    {
        m_slots.emplace_back(++m_nextId, std::move(slot));
        return m_nextId;
    }
    void Disconnect(std::size_t id)
    {
        std::erase_if(m_slots, [id](const auto& s) { return s.first == id; });
    }
    void Emit(Args... args) const
    {
        // A slot may connect or disconnect others while it runs: call a snapshot.
        auto snapshot = m_slots;
        for (auto& s : snapshot)
            s.second(args...);
    }
    std::size_t Size() const { return m_slots.size(); }

private:
    std::vector<std::pair<std::size_t, Slot>> m_slots;
    std::size_t m_nextId = 0;
};

} // namespace zev
