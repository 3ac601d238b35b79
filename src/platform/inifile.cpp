#include "platform/inifile.h"

#include <charconv>
#include <optional>
#include <unistd.h>

#include "platform/File.h"

namespace tagvane {

namespace {

constexpr const char *blanks = " \t";

std::string trim(const std::string &s) {
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool sameName(const std::string &a, const std::string &b) {
    if (a.size() != b.size())
        return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

// A line without its line ending.
std::string content(const std::string &line) {
    size_t end = line.size();
    while (end > 0 && (line[end - 1] == '\n' || line[end - 1] == '\r'))
        --end;
    return line.substr(0, end);
}

std::optional<std::string> sectionName(const std::string &line) {
    const std::string t = trim(content(line));
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const size_t close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return trim(t.substr(1, close - 1));
}

bool isComment(const std::string &t) {
    return !t.empty() && (t.front() == ';' || t.front() == '#');
}

struct Entry {
    std::string key, value;
};

std::optional<Entry> keyLine(const std::string &line) {
    const std::string c = content(line);
    const std::string t = trim(c);
    if (t.empty() || isComment(t) || t.front() == '[')
        return std::nullopt;
    const size_t eq = c.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return Entry{trim(c.substr(0, eq)), c.substr(eq + 1)};
}

// Where a key stands: the index of its line, or where it would be appended.
struct Place {
    std::optional<size_t> keyLine;
    std::optional<size_t> appendAfter; // last non-blank line of the first matching section
};

Place find(const std::vector<std::string> &lines, const std::string &section, const std::string &key) {
    Place place;
    bool inSection = false;
    bool firstSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (auto name = sectionName(lines[i])) {
            inSection = sameName(*name, section);
            firstSection = inSection && !place.appendAfter;
            if (firstSection)
                place.appendAfter = i;
            continue;
        }
        if (!inSection)
            continue;
        if (firstSection && !trim(content(lines[i])).empty())
            place.appendAfter = i;
        if (auto entry = keyLine(lines[i]); entry && sameName(entry->key, key)) {
            place.keyLine = i;
            return place;
        }
    }
    return place;
}

std::string lineEnding(const std::vector<std::string> &lines) {
    for (const auto &line : lines)
        if (!line.empty() && line.back() == '\n')
            return line.size() >= 2 && line[line.size() - 2] == '\r' ? "\r\n" : "\n";
    return "\n";
}

} // namespace

std::vector<std::string> IniFile::readLines(bool forWrite) const {
    std::string text;
    try {
        File file(path_, File::Mode::Read);
        text.resize(file.size());
        file.readExact(text.data(), text.size());
    } catch (const InOutError &) {
        // For reading, a file that cannot be read holds nothing. A write must
        // not replace an existing file it could not read: that would lose
        // every other key.
        if (forWrite && fileExists(path_))
            throw;
        return {};
    }
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::string IniFile::readString(const std::string &section, const std::string &key, const std::string &fallback) const {
    const auto lines = readLines(false);
    const Place place = find(lines, section, key);
    if (!place.keyLine)
        return fallback;
    return keyLine(lines[*place.keyLine])->value;
}

int IniFile::readInteger(const std::string &section, const std::string &key, int fallback) const {
    const std::string text = trim(readString(section, key, std::string()));
    const char *first = text.data();
    const char *last = text.data() + text.size();
    if (first != last && *first == '+' && (last - first < 2 || first[1] != '-'))
        ++first;
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || end != last)
        return fallback;
    return value;
}

void IniFile::writeString(const std::string &section, const std::string &key, const std::string &value) {
    std::string clean = value;
    for (char &c : clean)
        if (c == '\r' || c == '\n')
            c = ' ';
    auto lines = readLines(true);
    const std::string eol = lineEnding(lines);
    const Place place = find(lines, section, key);
    if (place.keyLine) {
        // Keep the key's own spelling and the line's ending.
        std::string &line = lines[*place.keyLine];
        const std::string ending = line.substr(content(line).size());
        line = line.substr(0, line.find('=') + 1) + clean + ending;
    } else {
        if (!lines.empty() && lines.back().back() != '\n')
            lines.back() += eol;
        const std::string entry = key + "=" + clean + eol;
        if (place.appendAfter) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*place.appendAfter) + 1, entry);
        } else {
            if (!lines.empty() && !trim(content(lines.back())).empty())
                lines.push_back(eol);
            lines.push_back("[" + section + "]" + eol);
            lines.push_back(entry);
        }
    }
    std::string text;
    for (const auto &line : lines)
        text += line;
    // The new content goes to a file beside it that then takes its name, so a
    // failure part way leaves the old settings whole.
    const std::string temporary = path_ + ".new";
    try {
        File file(temporary, File::Mode::CreateTruncate);
        file.write(text.data(), text.size());
        file.close();
        renameReplace(temporary, path_);
    } catch (const InOutError &) {
        ::unlink(temporary.c_str());
        throw;
    }
}

void IniFile::writeInteger(const std::string &section, const std::string &key, int value) {
    writeString(section, key, std::to_string(value));
}

} // namespace tagvane
