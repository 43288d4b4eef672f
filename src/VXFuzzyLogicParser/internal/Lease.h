#pragma once
// TLease: objects with buffers lent by a per-thread pool, for the working storage of parses
// and evaluations, which nest.

#include <memory>
#include <vector>

namespace fzl {

/// An object lent by this thread's pool of T for as long as the lease lives. It goes back
/// with its buffers (emptied by its clear(), when it has one), so that evaluations after the
/// first allocate nothing for it.
template <class T>
class TLease {
public:
    TLease() = default;
    [[nodiscard]] static TLease Take() {
        TLease Lease;
        std::vector<std::unique_ptr<T>>& Free = Pool();
        if (Free.empty()) {
            Lease.FObject = std::make_unique<T>();
        } else {
            Lease.FObject = std::move(Free.back());
            Free.pop_back();
        }
        return Lease;
    }
    TLease(TLease&&) noexcept = default;
    TLease& operator=(TLease&& Other) noexcept {
        Return();
        FObject = std::move(Other.FObject);
        return *this;
    }
    TLease(const TLease&) = delete;
    TLease& operator=(const TLease&) = delete;
    ~TLease() { Return(); }

    [[nodiscard]] T* get() const noexcept { return FObject.get(); }
    T* operator->() const noexcept { return FObject.get(); }
    T& operator*() const noexcept { return *FObject; }
    explicit operator bool() const noexcept { return static_cast<bool>(FObject); }

private:
    static std::vector<std::unique_ptr<T>>& Pool() {
        thread_local std::vector<std::unique_ptr<T>> Free;
        return Free;
    }
    void Return() noexcept {
        if (!FObject) return;
        if constexpr (requires(T & Object) { Object.clear(); }) FObject->clear();
        try {
            Pool().push_back(std::move(FObject));
        } catch (...) {
            FObject.reset();  // no room to keep it: it goes
        }
    }
    std::unique_ptr<T> FObject;
};

}  // namespace fzl
