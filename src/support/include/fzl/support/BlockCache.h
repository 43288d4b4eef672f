#pragma once
// Per-thread recycling of equally sized memory blocks, for classes made and freed by the
// thousand (points when rules fire, tokens of a parse): a class-specific operator new and
// delete use it.

#include <cstddef>
#include <new>
#include <vector>

namespace fzl::Detail {

/// Keeps up to Capacity freed blocks of BlockSize bytes per thread for the next
/// allocation made there, instead of going back to the general heap. A block freed on
/// another thread than it was made on simply joins that thread's cache: all blocks are
/// alike. The liveness flag outlives the cache itself, so blocks freed during thread
/// exit after the cache went return to the heap.
template <std::size_t BlockSize, std::size_t Capacity>
class TBlockCache {
public:
    [[nodiscard]] static void* Allocate() {
        TBlockCache& Cache = Instance();
        if (Cache.FBlocks.empty()) return ::operator new(BlockSize);
        void* Block = Cache.FBlocks.back();
        Cache.FBlocks.pop_back();
        return Block;
    }

    static void Release(void* Block) noexcept {
        if (Alive) {
            TBlockCache& Cache = Instance();
            if (Cache.FBlocks.size() < Capacity) {
                Cache.FBlocks.push_back(Block);  // never reallocates: capacity reserved
                return;
            }
        }
        ::operator delete(Block);
    }

    TBlockCache(const TBlockCache&) = delete;
    TBlockCache& operator=(const TBlockCache&) = delete;

private:
    TBlockCache() {
        FBlocks.reserve(Capacity);
        Alive = true;
    }
    ~TBlockCache() {
        Alive = false;
        for (void* Block : FBlocks) ::operator delete(Block);
    }

    static TBlockCache& Instance() {
        thread_local TBlockCache Cache;
        return Cache;
    }

    static inline thread_local bool Alive = false;
    std::vector<void*> FBlocks;
};

}  // namespace fzl::Detail
