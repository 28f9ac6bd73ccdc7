#include "platform/KeptText.h"

#include "platform/PageBuffer.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace platform {

namespace {

constexpr qsizetype HugePageUnits = HugePageBytes / sizeof(char16_t);
// A huge page of text a block; a text larger than half of that gets a block of its own.
constexpr qsizetype BlockUnits = HugePageUnits;

struct Block {
    QString storage; // the allocation every text carved from the block shares
    char16_t *next = nullptr;
    char16_t *end = nullptr;

    explicit Block(qsizetype units) {
        // A huge page to spare, so that the texts start on a huge-page boundary.
        storage = QString(units + HugePageUnits, Qt::Uninitialized);
        const auto first = reinterpret_cast<std::uintptr_t>(storage.data());
        next = reinterpret_cast<char16_t *>(RoundUpToHugePage(first));
        end = next + units;
        AdviseHugePages(next, std::size_t(units) * sizeof(char16_t));
    }

    // A text over the units just written, holding one more reference to the block. The block's
    // own string is never touched again but by copies: data() would detach it from its texts.
    QString carve(qsizetype units) {
        QString::DataPointer shared = storage.data_ptr();
        shared.ptr = next;
        shared.size = units;
        next += units;
        return QString(std::move(shared));
    }
};

} // namespace

QString KeepText(QStringView text) {
    const qsizetype units = text.size();
    if (units == 0)
        return QString();
    if (units > BlockUnits / 2) {
        Block own(units);
        std::copy_n(text.utf16(), units, own.next);
        return own.carve(units);
    }
    thread_local std::optional<Block> block;
    if (!block || block->end - block->next < units)
        block.emplace(BlockUnits);
    std::copy_n(text.utf16(), units, block->next);
    return block->carve(units);
}

} // namespace platform
