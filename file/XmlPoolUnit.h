#pragma once

// The memory behind the XML tree: the pool a read document cuts its nodes,
// lists and attributes from, and the list blocks of the tree. Shared by the
// tree and the reader; nothing outside the XML layer needs it.

#include "file/XmlUnit.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

// The memory of what a document reads: its nodes, their child lists and their
// attributes, cut from a few large blocks. A file of many thousand nodes would
// otherwise spend much of its reading time in the general heap, and the more
// so when the document goes. Nodes lie in blocks of their own, each in a slot
// of whole cache lines. Every node slot, also a heap one, starts with a header
// naming its pool (none for the heap), so that delete finds its way back.
// Freed node slots are reused; everything else is given back at once when the
// document is cleared, for the next reading into it, and the blocks go with
// the document.
struct TXmlNodePool {
    static constexpr size_t HeaderSize = 8;
    static constexpr size_t LineSize = 64;
    static constexpr size_t SlotSize =
        (HeaderSize + sizeof(TXmlNode) + LineSize - 1) / LineSize * LineSize;
    static_assert(alignof(TXmlNode) <= HeaderSize && alignof(TXmlAttribute) <= 8 &&
                      alignof(TXmlListBlock) <= 8,
                  "pool memory is aligned to eight bytes");

    void* AllocateNode() {
        std::byte* Slot = FFree;
        if (Slot)
            FFree = *reinterpret_cast<std::byte**>(Slot);
        else
            Slot = static_cast<std::byte*>(FNodes.Allocate(SlotSize));
        *reinterpret_cast<TXmlNodePool**>(Slot) = this;
        return Slot + HeaderSize;
    }
    // The pool of a node, none for a heap node.
    static TXmlNodePool* PoolOf(const TXmlNode* Node) {
        return *reinterpret_cast<TXmlNodePool* const*>(reinterpret_cast<const std::byte*>(Node) -
                                                       HeaderSize);
    }
    void ReleaseNode(std::byte* Slot) {
        // While the whole document goes, nothing is kept for reuse: the
        // slots would only be written to once more.
        if (FDiscarding)
            return;
        *reinterpret_cast<std::byte**>(Slot) = FFree;
        FFree = Slot;
    }
    // Eight-byte aligned memory that lives until the next Reset.
    void* Allocate(size_t Size) { return FBytes.Allocate((Size + 7) / 8 * 8); }
    // Everything allocated is free again; the blocks are kept.
    void Reset() {
        FFree = nullptr;
        FNodes.Reset();
        FBytes.Reset();
    }

    bool FDiscarding = false;

private:
    // Memory cut from growing blocks aligned to a cache line; sizes are
    // multiples of eight.
    class TRegion {
    public:
        TRegion() = default;
        TRegion(const TRegion&) = delete;
        TRegion& operator=(const TRegion&) = delete;
        ~TRegion() {
            for (const TBlock& B : FBlocks)
                ::operator delete(B.Data, std::align_val_t(LineSize));
        }
        void* Allocate(size_t Size) {
            if (size_t(FEnd - FNext) < Size)
                NextBlock(Size);
            void* P = FNext;
            FNext += Size;
            return P;
        }
        void Reset() {
            FCurrent = 0;
            FNext = FBlocks.empty() ? nullptr : FBlocks[0].Data;
            FEnd = FBlocks.empty() ? nullptr : FNext + FBlocks[0].Size;
        }

    private:
        // Rare: kept out of line, so that Allocate stays small enough to be
        // inlined.
        void NextBlock(size_t Size);

        struct TBlock {
            std::byte* Data;
            size_t Size;
        };
        std::vector<TBlock> FBlocks;
        size_t FCurrent = 0;
        std::byte* FNext = nullptr;
        std::byte* FEnd = nullptr;
    };

    TRegion FNodes;
    TRegion FBytes;
    std::byte* FFree = nullptr;
};

// The capacity that fills a list block of the next size: blocks are whole
// cache lines, so that a node read after its parent's list starts a line.
inline int NextCapacity(int Capacity) {
    const int64_t Bytes = int64_t(sizeof(TXmlListBlock)) + int64_t(Capacity) * 8;
    int64_t Next = 64;
    while (Next <= Bytes)
        Next *= 2;
    return int(std::min<int64_t>((Next - int64_t(sizeof(TXmlListBlock))) / 8,
                                 std::numeric_limits<int>::max()));
}

// A block for Capacity pointers from Pool, or from the heap when none; the
// count is 0. Returns the items.
template <typename T> inline T** NewItems(int Capacity, TXmlNodePool* Pool) {
    const size_t Size = sizeof(TXmlListBlock) + sizeof(T*) * size_t(Capacity);
    void* Memory = Pool ? Pool->Allocate(Size) : ::operator new(Size);
    auto* Block = new (Memory) TXmlListBlock{0, Capacity, Pool};
    return reinterpret_cast<T**>(Block + 1);
}

// Gives a block back to the heap; a pool block goes with its pool.
inline void FreeBlock(TXmlListBlock* Block) {
    if (!Block->Pool)
        ::operator delete(Block);
}
