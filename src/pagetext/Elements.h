#pragma once

#include "pagetext/NameTable.h"

#include <QtGlobal>

// The elements Qt's rich text knows, and where each may go.
namespace pagetext {

// clang-format off
enum class Tag : quint8 {
    Unknown,
    A, Address, B, Big, Blockquote, Body, Br, Caption, Center, Cite, Code, Dd, Dfn, Div, Dl, Dt,
    Em, Font, H1, H2, H3, H4, H5, H6, Head, Hr, Html, I, Img, Kbd, Li, Link, Meta, Nobr, Ol, P,
    Pre, Qt, S, Samp, Script, Small, Span, Strong, Style, Sub, Sup, Table, Tbody, Td, Tfoot, Th,
    Thead, Title, Tr, Tt, U, Ul, Var,
    Count
};
// clang-format on

enum class Display : quint8 { Block, Inline, Table, None };

// White-space handling of an element, inherited by its content.
enum class Space : quint8 { Normal, Pre, PreWrap, NoWrap };

struct ElementInfo {
    const char *name;
    Tag tag;
    Display display;
};

extern const ElementInfo Elements[];
extern const NameTable<8> ElementNames;

// The element of a packed, case-folded name; null for any other name. Inline: it runs for every
// tag of a page.
inline const ElementInfo *findElement(quint64 key) {
    const int index = ElementNames.find(key);
    return index < 0 ? nullptr : &Elements[index];
}

// Elements that never hold content. Inline, like what follows: they run for every tag.
inline bool isVoid(Tag tag) {
    return tag == Tag::Img || tag == Tag::Hr || tag == Tag::Br || tag == Tag::Meta;
}

// The elements whose count in their parent makes a table's grid: cells, rows, row groups.
inline bool isTableStructure(Tag tag) {
    return tag == Tag::Td || tag == Tag::Th || tag == Tag::Tr || tag == Tag::Thead ||
           tag == Tag::Tbody || tag == Tag::Tfoot;
}

// Where Qt lets an element go; elsewhere it climbs to an ancestor that fits.
inline bool allowedIn(Tag tag, Tag parent) {
    switch (tag) {
    case Tag::Dd:
    case Tag::Dt:
        return parent == Tag::Dl;
    case Tag::Tr:
        return parent == Tag::Table || parent == Tag::Thead || parent == Tag::Tbody ||
               parent == Tag::Tfoot;
    case Tag::Td:
    case Tag::Th:
        return parent == Tag::Tr;
    case Tag::Thead:
    case Tag::Tbody:
    case Tag::Tfoot:
    case Tag::Caption:
        return parent == Tag::Table;
    case Tag::Body:
    case Tag::Qt:
        return parent != Tag::Head;
    default:
        return true;
    }
}

} // namespace pagetext
