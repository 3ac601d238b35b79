#pragma once

#include <string>
#include <vector>

namespace tagvane {

// Conversions between the three-letter language codes stored in tags and the
// names shown to the user. Both compare bytes exactly and take the first row
// in code order, so a name with two codes gives the code that sorts first.
// Unknown input gives the empty string.
std::string LanguageCodeToName(const std::string &code);
std::string LanguageNameToCode(const std::string &name);

// Every row's name once, in display order: case ignored, hyphens and
// apostrophes ignored, "ch" one letter between "h" and "i", all else by byte.
const std::vector<std::string> &LanguageNames();

// The display order's comparison of two names: negative, zero or positive.
int compareLanguageNames(const std::string &a, const std::string &b);

} // namespace tagvane
