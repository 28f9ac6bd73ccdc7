#include "pagetext/Elements.h"

#include "pagetext/NameTable.h"

namespace pagetext {

// The elements Qt's rich text knows, sorted by name, with the display mode Qt gives each.
// Everything else (form, input, section, o:p, ...) is an unknown inline element.
extern constexpr ElementInfo Elements[] = {
    {"a", Tag::A, Display::Inline},
    {"address", Tag::Address, Display::Inline},
    {"b", Tag::B, Display::Inline},
    {"big", Tag::Big, Display::Inline},
    {"blockquote", Tag::Blockquote, Display::Block},
    {"body", Tag::Body, Display::Block},
    {"br", Tag::Br, Display::Inline},
    {"caption", Tag::Caption, Display::Block},
    {"center", Tag::Center, Display::Block},
    {"cite", Tag::Cite, Display::Inline},
    {"code", Tag::Code, Display::Inline},
    {"dd", Tag::Dd, Display::Block},
    {"dfn", Tag::Dfn, Display::Inline},
    {"div", Tag::Div, Display::Block},
    {"dl", Tag::Dl, Display::Block},
    {"dt", Tag::Dt, Display::Block},
    {"em", Tag::Em, Display::Inline},
    {"font", Tag::Font, Display::Inline},
    {"h1", Tag::H1, Display::Block},
    {"h2", Tag::H2, Display::Block},
    {"h3", Tag::H3, Display::Block},
    {"h4", Tag::H4, Display::Block},
    {"h5", Tag::H5, Display::Block},
    {"h6", Tag::H6, Display::Block},
    {"head", Tag::Head, Display::None},
    {"hr", Tag::Hr, Display::Block},
    {"html", Tag::Html, Display::Inline},
    {"i", Tag::I, Display::Inline},
    {"img", Tag::Img, Display::Inline},
    {"kbd", Tag::Kbd, Display::Inline},
    {"li", Tag::Li, Display::Block},
    {"link", Tag::Link, Display::None},
    {"meta", Tag::Meta, Display::None},
    {"nobr", Tag::Nobr, Display::Inline},
    {"ol", Tag::Ol, Display::Block},
    {"p", Tag::P, Display::Block},
    {"pre", Tag::Pre, Display::Block},
    {"qt", Tag::Qt, Display::Block},
    {"s", Tag::S, Display::Inline},
    {"samp", Tag::Samp, Display::Inline},
    {"script", Tag::Script, Display::None},
    {"small", Tag::Small, Display::Inline},
    {"span", Tag::Span, Display::Inline},
    {"strong", Tag::Strong, Display::Inline},
    {"style", Tag::Style, Display::None},
    {"sub", Tag::Sub, Display::Inline},
    {"sup", Tag::Sup, Display::Inline},
    {"table", Tag::Table, Display::Table},
    {"tbody", Tag::Tbody, Display::Table},
    {"td", Tag::Td, Display::Block},
    {"tfoot", Tag::Tfoot, Display::Table},
    {"th", Tag::Th, Display::Block},
    {"thead", Tag::Thead, Display::Table},
    {"title", Tag::Title, Display::None},
    {"tr", Tag::Tr, Display::Table},
    {"tt", Tag::Tt, Display::Inline},
    {"u", Tag::U, Display::Inline},
    {"ul", Tag::Ul, Display::Block},
    {"var", Tag::Var, Display::Inline},
};

extern constexpr NameTable<8> ElementNames = makeNameTable<8>(Elements, true);

} // namespace pagetext
