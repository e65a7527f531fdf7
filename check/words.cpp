#include "check/words.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/config/keywords.h"
#include "core/storage/folder.h"
#include "core/syntax/line_facts.h"

namespace orvanta::check {

namespace {

bool isBlank(char c) {

    return c == ' ' || c == '\t';
}

} // namespace

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trimBlanks(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool allWhiteSpace(const std::string& s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

std::string inQuotes(const std::string& s) {
    return quoteUserText(s);
}

std::string replaceTitle(const std::string& text) {
    return "Replace with " + inQuotes(text);
}

std::string inQuotesList(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += i + 1 == items.size() ? " and " : ", ";
        out += inQuotes(items[i]);
    }
    return out;
}

std::string ordinal(int64_t n) {
    const int64_t lastTwo = n % 100;
    const char* suffix = "th";
    if (lastTwo < 11 || lastTwo > 13) {
        if (n % 10 == 1) suffix = "st";
        if (n % 10 == 2) suffix = "nd";
        if (n % 10 == 3) suffix = "rd";
    }
    return std::to_string(n) + suffix;
}

std::size_t editDistance(const std::string& a, const std::string& b, std::size_t cap) {
    const std::size_t gap = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (gap > cap) return cap + 1;
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

namespace {

// The subfolder part of a name and its last part: "pics/a.bmp" gives "pics" and "a.bmp".
std::pair<std::string, std::string> splitName(const std::string& name) {
    const std::size_t slash = name.rfind('/');
    if (slash == std::string::npos) return {std::string(), name};
    return {name.substr(0, slash), name.substr(slash + 1)};
}

// The file of the folder that a missing name most likely means: one that differs only in
// case, or else the nearest by edit distance (at most two edits). Empty when none is close.
std::string similarFile(Folder& folder, const std::string& name, bool* caseOnly) {
    const auto [sub, base] = splitName(name);
    const std::string wanted = lower(trimBlanks(base));
    std::string nearest;
    std::size_t best = 3;
    for (const std::string& candidate : folder.list(sub)) {
        if (candidate == base) continue;
        if (lower(candidate) == wanted) {
            *caseOnly = true;
            return sub.empty() ? candidate : sub + "/" + candidate;
        }
        const std::size_t d = editDistance(lower(candidate), wanted, best);
        if (d < best || (d == best && !nearest.empty() && candidate < nearest)) {
            best = d;
            nearest = candidate;
        }
    }
    *caseOnly = false;
    if (nearest.empty() || sub.empty()) return nearest;
    return sub + "/" + nearest;
}

} // namespace

bool existsExactly(Folder& folder, const std::string& name) {
    const auto [sub, base] = splitName(name);
    if (base.empty()) return false;
    for (const std::string& entry : folder.list(sub))
        if (entry == base) return true;
    return false;
}

std::string missingFileHint(Folder& folder, const std::string& name, std::string* fix) {
    std::string unused;
    std::string& meant = fix != nullptr ? *fix : unused;
    meant.clear();
    if (!name.empty() && name.back() == ';') {
        const std::string bare = name.substr(0, name.size() - 1);
        if (existsExactly(folder, bare)) meant = bare;
        return "; a ';' at the very end of a line stays part of the file name";
    }
    if (trimBlanks(name) != name) {
        if (existsExactly(folder, trimBlanks(name))) meant = trimBlanks(name);
        return "; the blanks around the name are part of it";
    }
    bool caseOnly = false;
    const std::string match = similarFile(folder, name, &caseOnly);
    if (match.empty()) return {};
    meant = match;
    return "; did you mean " + inQuotes(match) + "?" +
           (caseOnly ? " names must match exactly" : "");
}

std::string suggestKeyword(const std::string& word, std::string* hint) {
    std::string unused;
    std::string& why = hint != nullptr ? *hint : unused;
    why.clear();
    const KeywordSpec* table = keywordTable();
    const int32_t count = keywordCount();
    const std::string trimmed = trimBlanks(word);
    const std::string key = lower(trimmed);

    for (int32_t i = 0; i < count; ++i)
        if (trimmed == table[i].name && trimmed != word) {
            why = "a keyword must not have blanks around it";
            return table[i].name;
        }
    for (int32_t i = 0; i < count; ++i)
        if (key == lower(table[i].name)) {
            why = "keywords are case-sensitive";
            if (trimmed != word) why += " and must not have blanks around them";
            return table[i].name;
        }
    if (!trimmed.empty() && trimmed.back() == ';') {
        const std::string bare = trimmed.substr(0, trimmed.size() - 1);
        for (int32_t i = 0; i < count; ++i)
            if (lower(bare) == lower(table[i].name)) {
                why = "a ';' at the very end of a line stays part of the keyword";
                return table[i].name;
            }
    }
    if (key.size() >= 3)
        for (int32_t i = 0; i < count; ++i) {
            const std::string name = lower(table[i].name);
            if (name.rfind(key, 0) == 0) {
                why = "the keyword is incomplete";
                return table[i].name;
            }
        }
    // The longest keyword that begins the word, so that "SetColorRed" finds "SetColor".
    const KeywordSpec* longest = nullptr;
    for (int32_t i = 0; i < count; ++i) {
        const std::string name = lower(table[i].name);
        if (key.rfind(name, 0) == 0 &&
            (longest == nullptr || name.size() > std::strlen(longest->name)))
            longest = &table[i];
    }
    if (longest != nullptr) {
        why = "the keyword ends where the first ';' is";
        return longest->name;
    }
    std::size_t best = key.size() <= 4 ? 1 : key.size() < 10 ? 2 : 3;
    const KeywordSpec* nearest = nullptr;
    for (int32_t i = 0; i < count; ++i) {
        const std::size_t d = editDistance(key, lower(table[i].name), best);
        if (d <= best && (nearest == nullptr || d < best)) {
            best = d;
            nearest = &table[i];
        }
    }
    return nearest != nullptr ? nearest->name : std::string();
}

} // namespace orvanta::check
