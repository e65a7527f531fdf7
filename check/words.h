#pragma once
// Words in the checker's messages: user texts in quotes, the keyword or file a misspelt
// name most likely means.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvanta {
class Folder;
}

namespace orvanta::check {

std::string lower(std::string s);
// Without the blanks and tabs at either end.
std::string trimBlanks(const std::string& s);
bool allWhiteSpace(const std::string& s);
// A user text in quotes, one line and at most 60 bytes of it shown.
std::string inQuotes(const std::string& s);
// The title of a fix that puts `text` in place of a field: "Replace with 'text'".
std::string replaceTitle(const std::string& text);
// "'a'", "'a' and 'b'", "'a', 'b' and 'c'".
std::string inQuotesList(const std::vector<std::string>& items);
// "1st", "2nd", "11th" ...
std::string ordinal(int64_t n);

// Edit distance with adjacent transpositions counted as one edit. Strings whose lengths
// differ by more than `cap` give cap + 1 at once, so a huge word costs nothing.
std::size_t editDistance(const std::string& a, const std::string& b, std::size_t cap);

// The keyword a misspelt first field most likely means, or empty. `hint` receives a short
// explanation of the mistake (wrong case, blanks, a final ';', a missing ending ...).
std::string suggestKeyword(const std::string& word, std::string* hint = nullptr);

// Whether `name` names an entry of `folder` exactly, letter case included, as the device's
// folder needs: where file names ignore case, opening alone would also find "Panel.txt"
// for "panel.txt". A name may lead through subfolders ("pics/a.bmp").
bool existsExactly(Folder& folder, const std::string& name);

// Why a file named in a configuration was not found in `folder`, as a short clause
// starting with "; ", or empty: a final ';', blanks, or the nearest existing name.
// `fix`, when given, receives the existing name meant, or stays empty.
std::string missingFileHint(Folder& folder, const std::string& name, std::string* fix = nullptr);

} // namespace orvanta::check
