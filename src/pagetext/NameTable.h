#pragma once

#include <QtGlobal>

#include <array>
#include <cstddef>

namespace pagetext {

// Element and entity names are short runs of letters and digits: packed six bits a character
// into an integer, they are looked up in a small hash table of integers, not compared as strings.
constexpr int PackedLength = 10;

constexpr int packCode(int c, bool foldCase) {
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 1;
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + (foldCase ? 1 : 27);
    if (c >= '0' && c <= '9')
        return c - '0' + 53;
    return 0;
}

constexpr auto makePackCodes(bool foldCase) {
    std::array<quint8, 128> codes{};
    for (int c = 0; c < 128; ++c)
        codes[c] = quint8(packCode(c, foldCase));
    return codes;
}

constexpr std::array<quint8, 128> PackCodes[2] = {makePackCodes(false), makePackCodes(true)};

// 0 when the name cannot be one of ours (too long, or a character no name has).
template <typename Char>
constexpr quint64 packName(const Char *name, qsizetype length, bool foldCase) {
    if (length <= 0 || length > PackedLength)
        return 0;
    quint64 key = 0;
    for (qsizetype i = 0; i < length; ++i) {
        const auto c = char16_t(name[i]);
        const int code = c < 0x80 ? PackCodes[foldCase][c] : 0;
        if (code == 0)
            return 0;
        key = (key << 6) | quint64(code);
    }
    return key;
}

constexpr qsizetype constLength(const char *name) {
    qsizetype length = 0;
    while (name[length])
        ++length;
    return length;
}

// An open-addressing hash table of packed names, filled at compile time. Indexes holds positions
// into the named table plus one; zero is a free slot.
template <int Bits> struct NameTable {
    std::array<quint64, 1 << Bits> keys{};
    std::array<quint16, 1 << Bits> indexes{};

    static constexpr std::size_t home(quint64 key) {
        return std::size_t((key * 0x9E3779B97F4A7C15ULL) >> (64 - Bits));
    }

    int find(quint64 key) const {
        if (key == 0)
            return -1;
        for (std::size_t i = home(key);; i = (i + 1) & ((1 << Bits) - 1)) {
            if (indexes[i] == 0)
                return -1;
            if (keys[i] == key)
                return indexes[i] - 1;
        }
    }
};

template <int Bits, typename Table, std::size_t Size>
constexpr NameTable<Bits> makeNameTable(const Table (&table)[Size], bool foldCase) {
    static_assert(Size * 2 <= (1 << Bits));
    NameTable<Bits> result;
    for (std::size_t n = 0; n < Size; ++n) {
        const quint64 key = packName(table[n].name, constLength(table[n].name), foldCase);
        std::size_t i = NameTable<Bits>::home(key);
        while (result.indexes[i] != 0)
            i = (i + 1) & ((1 << Bits) - 1);
        result.keys[i] = key;
        result.indexes[i] = quint16(n + 1);
    }
    return result;
}

} // namespace pagetext
