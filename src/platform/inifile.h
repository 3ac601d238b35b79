#pragma once

#include <string>
#include <vector>

namespace tagvane {

// A settings file in the INI layout: "[Section]" lines, then "key=value"
// lines. Section and key names match without regard to ASCII letter case.
// Every read looks at the file as it is now; every write changes the file at
// once, replacing its key's value in place or appending the key to its
// section (new sections go to the end, so they follow in the order of their
// first write). Lines a write does not touch stay byte for byte.
class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    const std::string &path() const { return path_; }

    // A missing or unreadable file, section or key gives the default. A text
    // is everything after the "=", blanks included, so values written here
    // read back exactly.
    std::string readString(const std::string &section, const std::string &key, const std::string &fallback) const;
    // A value that is not a decimal integer (blanks around it allowed) also
    // gives the default.
    int readInteger(const std::string &section, const std::string &key, int fallback) const;

    // Throw InOutError when the file cannot be written. Line breaks in a value
    // become blanks, since they would end the line and start another entry.
    void writeString(const std::string &section, const std::string &key, const std::string &value);
    void writeInteger(const std::string &section, const std::string &key, int value);

private:
    std::vector<std::string> readLines(bool forWrite) const;

    std::string path_;
};

} // namespace tagvane
