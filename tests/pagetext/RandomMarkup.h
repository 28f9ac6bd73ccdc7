#pragma once

#include <QString>

#include <cstdint>

// A page of random markup: tags Qt knows and some it does not, opened and closed in any order,
// words, blanks, entities and comments. The same seed always gives the same page.
QString RandomMarkup(std::uint32_t seed, int tokens);
