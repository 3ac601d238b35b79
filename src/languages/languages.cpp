#include "languages/languages.h"

#include <algorithm>

#include "languages/languagetable.h"

namespace tagvane {

namespace {

// One name as the sequence of its sort units. Letters count as their lower
// case; "ch" gets the slot just after "h"; every other byte keeps its value.
// Doubling the byte values leaves room for that slot.
std::vector<int> sortKey(const std::string &name) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; };
    std::vector<int> key;
    key.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = lower(static_cast<unsigned char>(name[i]));
        if (c == '-' || c == '\'')
            continue;
        if (c == 'c' && i + 1 < name.size() && lower(static_cast<unsigned char>(name[i + 1])) == 'h') {
            key.push_back('h' * 2 + 1);
            ++i;
            continue;
        }
        key.push_back(c * 2);
    }
    return key;
}

std::vector<std::string> buildNames() {
    std::vector<std::pair<std::vector<int>, std::string>> keyed;
    keyed.reserve(LanguageRowCount);
    for (const auto &row : languageTable())
        keyed.emplace_back(sortKey(std::string(row.name)), std::string(row.name));
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<std::string> names;
    names.reserve(keyed.size());
    for (auto &entry : keyed)
        names.push_back(std::move(entry.second));
    return names;
}

} // namespace

std::string LanguageCodeToName(const std::string &code) {
    for (const auto &row : languageTable())
        if (row.code == code)
            return std::string(row.name);
    return {};
}

std::string LanguageNameToCode(const std::string &name) {
    for (const auto &row : languageTable())
        if (row.name == name)
            return std::string(row.code);
    return {};
}

const std::vector<std::string> &LanguageNames() {
    static const std::vector<std::string> names = buildNames();
    return names;
}

int compareLanguageNames(const std::string &a, const std::string &b) {
    const auto ka = sortKey(a);
    const auto kb = sortKey(b);
    return ka < kb ? -1 : (kb < ka ? 1 : 0);
}

} // namespace tagvane
