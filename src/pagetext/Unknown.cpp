#include "pagetext/Extractor.h"

// Elements Qt does not know ("<section>", "<o:p>"): inline to Qt, and ended only by an end tag of
// the same name, in any letter case.
namespace pagetext {

int PlainTextExtractor::findOpenUnknown(Word name) const {
    const quint64 hash = hashName(name);
    if (unknownCountOf(hash) == 0)
        return -1;
    for (int i = top(); i > 0; --i) {
        const Open &e = stack[i];
        if (e.tag == Tag::Unknown && e.nameHash == hash && sameName(e, name))
            return i;
    }
    return -1;
}

quint64 PlainTextExtractor::hashName(Word name) const {
    const QString lowered = lowerNonAsciiName(nameView(name));
    quint64 hash = 14695981039346656037ULL;
    for (const QChar c : lowered.isNull() ? nameView(name) : QStringView(lowered)) {
        hash ^= lowerChar(c.unicode());
        hash *= 1099511628211ULL;
    }
    return hash ? hash : 1;
}

bool PlainTextExtractor::sameName(const Open &e, Word name) const {
    const QStringView rawA = nameView(Word{e.nameFrom, e.nameLength});
    const QStringView rawB = nameView(name);
    const QString loweredA = lowerNonAsciiName(rawA);
    const QString loweredB = lowerNonAsciiName(rawB);
    const QStringView a = loweredA.isNull() ? rawA : QStringView(loweredA);
    const QStringView b = loweredB.isNull() ? rawB : QStringView(loweredB);
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (lowerChar(a[i].unicode()) != lowerChar(b[i].unicode()))
            return false;
    }
    return true;
}

// Open unknown elements per name, so that an end tag nobody opened costs no search.
int &PlainTextExtractor::unknownCount(quint64 hash) {
    if (unknownUsed * 2 >= int(unknownCounts.size())) {
        std::vector<std::pair<quint64, int>> old;
        old.swap(unknownCounts);
        unknownCounts.assign(std::max<size_t>(64, old.size() * 2), {0, 0});
        unknownUsed = 0;
        for (const auto &slot : old) {
            if (slot.first)
                unknownCount(slot.first) = slot.second;
        }
    }
    const size_t mask = unknownCounts.size() - 1;
    for (size_t i = size_t(hash) & mask;; i = (i + 1) & mask) {
        auto &slot = unknownCounts[i];
        if (slot.first == hash)
            return slot.second;
        if (slot.first == 0) {
            slot.first = hash;
            ++unknownUsed;
            return slot.second;
        }
    }
}

int PlainTextExtractor::unknownCountOf(quint64 hash) const {
    if (unknownCounts.empty())
        return 0;
    const size_t mask = unknownCounts.size() - 1;
    for (size_t i = size_t(hash) & mask;; i = (i + 1) & mask) {
        const auto &slot = unknownCounts[i];
        if (slot.first == hash)
            return slot.second;
        if (slot.first == 0)
            return 0;
    }
}

} // namespace pagetext
