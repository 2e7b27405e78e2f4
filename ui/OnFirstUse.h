// A window (or any object) made the first time it is needed and kept for the rest of the run.
// Start-up creates none of the secondary windows; each is built when the user first asks for
// it, and being kept, its controls hold what they held at the previous showing.
#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace ulvan {

template <typename T> class OnFirstUse {
public:
    using Maker = std::function<std::unique_ptr<T>()>;

    explicit OnFirstUse(Maker make)
        : m_make(std::move(make)) {}
    OnFirstUse(const OnFirstUse&) = delete;
    OnFirstUse& operator=(const OnFirstUse&) = delete;

    // The object, made now when this is the first use.
    T& Get() {
        if (!m_made) {
            m_made = m_make();
        }
        return *m_made;
    }
    T& operator*() { return Get(); }
    T* operator->() { return &Get(); }

    // Whether it has been made (without making it).
    bool Made() const { return m_made != nullptr; }

private:
    Maker m_make;
    std::unique_ptr<T> m_made;
};

} // namespace ulvan
