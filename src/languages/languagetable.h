#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace tagvane {

struct LanguageRow {
    std::string_view code; // three lowercase letters, as stored in tags
    std::string_view name; // English name, Windows-1252
};

inline constexpr size_t LanguageRowCount = 427;

// The fixed table in code order.
std::span<const LanguageRow> languageTable();

} // namespace tagvane
