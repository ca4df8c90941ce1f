#include "file/XmlPoolUnit.h"

void TXmlNodePool::TRegion::NextBlock(size_t Size) {
    // A kept block that fits comes first; the rest of the current one
    // is left unused.
    while (!FBlocks.empty() && FCurrent + 1 < FBlocks.size()) {
        ++FCurrent;
        if (FBlocks[FCurrent].Size >= Size) {
            FNext = FBlocks[FCurrent].Data;
            FEnd = FNext + FBlocks[FCurrent].Size;
            return;
        }
    }
    size_t BlockSize = FBlocks.empty() ? 16384 : std::min<size_t>(FBlocks.back().Size * 2, 1 << 20);
    BlockSize = std::max(BlockSize, Size);
    FBlocks.reserve(FBlocks.size() + 1);
    auto* Data = static_cast<std::byte*>(::operator new(BlockSize, std::align_val_t(LineSize)));
    FBlocks.push_back({Data, BlockSize});
    FCurrent = FBlocks.size() - 1;
    FNext = Data;
    FEnd = Data + BlockSize;
}
