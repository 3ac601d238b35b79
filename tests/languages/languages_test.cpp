#include "languages/languages.h"
#include "languages/languagetable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace tagvane;

TEST(LanguageTable, ShapeOfTheRows) {
    const auto table = languageTable();
    ASSERT_EQ(table.size(), 427u);
    std::set<std::string_view> codes, names;
    for (size_t i = 0; i < table.size(); ++i) {
        const auto &row = table[i];
        ASSERT_EQ(row.code.size(), 3u) << i;
        for (char c : row.code)
            EXPECT_TRUE(c >= 'a' && c <= 'z') << row.code;
        EXPECT_GE(row.name.size(), 2u) << row.code;
        EXPECT_LE(row.name.size(), 58u) << row.code;
        if (i > 0) {
            EXPECT_LE(table[i - 1].code, row.code) << "rows out of code order at " << row.code;
        }
        codes.insert(row.code);
        names.insert(row.name);
    }
    EXPECT_EQ(codes.size(), 424u);
    EXPECT_EQ(names.size(), 402u);
    EXPECT_EQ(table.front().code, "aar");
    EXPECT_EQ(table.back().code, "zun");
    EXPECT_EQ(table.back().name, "Zuni");
}

TEST(LanguageTable, ParticularRows) {
    struct Case {
        std::string code, name;
    } cases[] = {
        {"iro", "Iroquoian uages"},
        {"pra", "Prakrit uages"},
        {"nso", "Sotho, Northern "},
        {"sot", "Sotho, Southern"},
        {"oci", "Langue d\x27Oc (post 1500)"},
        {"vol", "Volap\xFC"
                "k"},
        {"mkh", "Mon-Kmer (Other)"},
        {"khm", "Khmer"},
        {"sun", "Sudanese"},
        {"ssw", "Siswant"},
        {"ina", "Interlingua (International Auxiliary language Association)"},
        {"ang", "English, Old (ca. 450-1100)"},
        {"fro", "French, Old (842- ca. 1400)"},
        {"peo", "Persian, Old (ca 600 - 400 B.C.)"},
        {"mga", "Irish, Middle (900 - 1200)"},
        {"cpp", "Creoles and Pidgins, Portuguese-based (Other)"},
        {"esl", "Spanish"},
        {"chn", "Chinook jargon"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(LanguageCodeToName(c.code), c.name) << c.code;
        EXPECT_EQ(LanguageNameToCode(c.name), c.code) << c.name;
    }
    EXPECT_EQ(LanguageCodeToName("nso").size(), 16u);
    EXPECT_EQ(LanguageCodeToName("ina").size(), 58u);
}

TEST(LanguageTable, ExactMatchingOnly) {
    struct Case {
        std::string in;
        std::string asCode; // LanguageCodeToName(in)
        std::string asName; // LanguageNameToCode(in)
    } cases[] = {
        {"eng", "English", ""},
        {"English", "", "eng"},
        {"ENG", "", ""},
        {"Eng", "", ""},
        {"en", "", ""},
        {"eng ", "", ""},
        {std::string("eng\0", 4), "", ""},
        {"", "", ""},
        {"english", "", ""},
        {"English ", "", ""},
        {"Sotho, Northern", "", ""},
        {"Volap\xC3\xBCk", "", ""}, // the same word in UTF-8
        {"Iroquoian Languages", "", ""},
        {"Langue d\xE2\x80\x99Oc (post 1500)", "", ""},
        {"uzb", "Uzbek", ""},
        {"Uzbek", "", "uzb"},
        {"spa", "Spanish", ""},
        {"Spanish", "", "esl"},
        {"Swedish", "", "sve"},
        {"German", "", "deu"},
        {"Welsh", "", "cym"},
        {"Tibetan", "", "bod"},
        // Codes of the current standard that the table does not hold.
        {"ast", "", ""},
        {"hat", "", ""},
        {"fil", "", ""},
        {"zxx", "", ""},
        {"srp", "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(LanguageCodeToName(c.in), c.asCode) << '"' << c.in << '"';
        EXPECT_EQ(LanguageNameToCode(c.in), c.asName) << '"' << c.in << '"';
    }
}

TEST(LanguageTable, CodesWithTwoRowsGiveTheFirst) {
    struct Case {
        std::string code, first, second;
    } cases[] = {
        {"ine", "Indo-European (Other)", "Interlingue"},
        {"mak", "Macedonian", "Makasar"},
        {"ssw", "Siswant", "Swazi"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(LanguageCodeToName(c.code), c.first);
        EXPECT_EQ(LanguageNameToCode(c.second), c.code);
    }
    EXPECT_EQ(LanguageNameToCode("Indo-European (Other)"), "ine");
    EXPECT_EQ(LanguageNameToCode("Macedonian"), "mac");
}

TEST(LanguageTable, NamesWithTwoCodesGiveTheFirst) {
    struct Case {
        std::string name, code, other;
    } cases[] = {
        {"Albanian", "alb", "sqi"},   {"Armenian", "arm", "hye"}, {"Basque", "baq", "eus"},
        {"Burmese", "bur", "mya"},    {"Chinese", "chi", "zho"},  {"Czech", "ces", "cze"},
        {"Dutch", "dut", "nla"},      {"French", "fra", "fre"},   {"Gaelic (Scots)", "gae", "gdh"},
        {"Georgian", "geo", "kat"},   {"German", "deu", "ger"},   {"Greek, Modern (1453-)", "ell", "gre"},
        {"Icelandic", "ice", "isl"},  {"Irish", "gai", "iri"},    {"Javanese", "jav", "jaw"},
        {"Macedonian", "mac", "mak"}, {"Malay", "may", "msa"},    {"Maori", "mao", "mri"},
        {"Persian", "fas", "per"},    {"Romanian", "ron", "rum"}, {"Slovak", "slk", "slo"},
        {"Spanish", "esl", "spa"},    {"Swedish", "sve", "swe"},  {"Tibetan", "bod", "tib"},
        {"Welsh", "cym", "wel"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(LanguageNameToCode(c.name), c.code) << c.name;
        EXPECT_EQ(LanguageCodeToName(c.code), c.name) << c.code;
        EXPECT_EQ(LanguageCodeToName(c.other), c.name) << c.other;
    }
    // These are all the names that occur twice.
    std::map<std::string_view, int> counts;
    for (const auto &row : languageTable())
        ++counts[row.name];
    std::set<std::string> twice;
    for (const auto &[name, n] : counts) {
        EXPECT_LE(n, 2) << name;
        if (n == 2)
            twice.insert(std::string(name));
    }
    std::set<std::string> expected;
    for (const auto &c : cases)
        expected.insert(c.name);
    EXPECT_EQ(twice, expected);
}

TEST(LanguageNames, HoldsEveryRowsNameOnce) {
    const auto &names = LanguageNames();
    ASSERT_EQ(names.size(), 427u);
    std::multiset<std::string> fromList(names.begin(), names.end());
    std::multiset<std::string> fromTable;
    for (const auto &row : languageTable())
        fromTable.insert(std::string(row.name));
    EXPECT_EQ(fromList, fromTable);
    for (const auto &name : names)
        EXPECT_NE(LanguageNameToCode(name), "") << name;
    EXPECT_EQ(LanguageNameToCode(*std::find(names.begin(), names.end(), "Langue d'Oc (post 1500)")), "oci");
    EXPECT_NE(std::find(names.begin(), names.end(), "Sotho, Northern "), names.end());
}

TEST(LanguageNames, BeginsAndEndsAsDisplayed) {
    const auto &names = LanguageNames();
    const std::vector<std::string> head = {
        "Abkhazian", "Acoli", "Adangme",  "Afar",     "Afrihili", "Afrikaans", "Afro-Asiatic (Other)",
        "Achinese",  "Akan",  "Akkadian", "Albanian", "Albanian", "Aleut"};
    const std::vector<std::string> tail = {"Zapotec", "Zenaga", "Zhuang", "Zulu", "Zuni"};
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + head.size()), head);
    EXPECT_EQ(std::vector<std::string>(names.end() - tail.size(), names.end()), tail);
}

TEST(LanguageNames, ChSortsAsOneLetterAfterH) {
    const auto &names = LanguageNames();
    auto at = [&](const std::string &name) {
        const auto it = std::find(names.begin(), names.end(), name);
        EXPECT_NE(it, names.end()) << name;
        return it - names.begin();
    };
    // Right after "Hupa" come the names from "Chagatai" to "Chuvash", then "Iban".
    const auto hupa = at("Hupa");
    const auto iban = at("Iban");
    ASSERT_LT(hupa, iban);
    EXPECT_EQ(names[hupa + 1], "Chagatai");
    EXPECT_EQ(names[iban - 1], "Chuvash");
    for (auto i = hupa + 1; i < iban; ++i)
        EXPECT_EQ(names[i].substr(0, 2), "Ch") << names[i];
    EXPECT_EQ(iban - hupa - 1, 12); // Chagatai ... Chuvash, "Chinese" twice
    EXPECT_LT(at("Mongolian"), at("Mon-Kmer (Other)"));
    EXPECT_LT(at("Mongo"), at("Mongolian"));
    EXPECT_LT(at("Volap\xFC"
                 "k"),
              at("Votic"));
    EXPECT_LT(at("Sotho, Northern "), at("Sotho, Southern"));
}

TEST(LanguageNames, EqualNamesStandSideBySide) {
    const auto &names = LanguageNames();
    std::set<std::string> seen;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0 && names[i] == names[i - 1])
            continue;
        EXPECT_TRUE(seen.insert(names[i]).second) << names[i] << " stands in two places";
    }
    for (size_t i = 1; i < names.size(); ++i)
        EXPECT_LE(compareLanguageNames(names[i - 1], names[i]), 0) << names[i - 1] << " / " << names[i];
}

TEST(LanguageNames, ComparisonRules) {
    struct Case {
        std::string a, b;
        int sign;
    } cases[] = {
        {"abc", "ABC", 0},            // case ignored
        {"Mon-Kmer", "MonKmer", 0},   // hyphen ignored
        {"d'Oc", "dOc", 0},           // apostrophe ignored
        {"Ah", "Ach", -1},            // "ch" after "h"
        {"Achz", "Ai", -1},           // ... and before "i"
        {"CHa", "cha", 0},            // "ch" in any case
        {"Ab (x)", "Ab(x)", -1},      // blank before "("
        {"(", "1", -1},               // "(" before digits
        {"9", "a", -1},               // digits before letters
        {"z", "\xFC", -1},            // 0xFC after every letter
        {"Sotho, N", "Sotho, S", -1}, // plain letters
        {"Ab", "Abc", -1},            // shorter first
    };
    for (const auto &c : cases) {
        const int r = compareLanguageNames(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " / " << c.b;
        const int back = compareLanguageNames(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign) << c.b << " / " << c.a;
    }
}
