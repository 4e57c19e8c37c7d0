#include "quovana/AppScript.h"

#include <istream>

namespace quovana {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

AppScriptLine parseAppScriptLine(std::string text, size_t number) {
    AppScriptLine line;
    line.number = number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    line.text = std::move(text);
    const std::string& s = line.text;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && isBlank(s[i])) ++i;
        if (i >= s.size() || s[i] == '#') break;
        std::string word;
        while (i < s.size() && !isBlank(s[i])) {
            if (s[i] != '"') {
                word += s[i++];
                continue;
            }
            // A quoted stretch, possibly inside a word: its blanks belong to the word.
            size_t close = s.find('"', i + 1);
            if (close == std::string::npos) {
                line.problem = "a double quote is not closed";
                line.words.clear();
                line.wordEnds.clear();
                return line;
            }
            word += s.substr(i + 1, close - i - 1);
            i = close + 1;
        }
        line.words.push_back(std::move(word));
        line.wordEnds.push_back(i);
    }
    return line;
}

std::string AppScriptLine::wordsFrom(size_t first) const {
    std::string text;
    for (size_t i = first; i < words.size(); ++i) text += (i > first ? " " : "") + words[i];
    return text;
}

bool AppScriptReader::next(AppScriptLine& line) {
    std::string text;
    while (std::getline(in_, text)) {
        line = parseAppScriptLine(std::move(text), ++number_);
        if (!line.words.empty() || !line.problem.empty()) return true;
    }
    return false;
}

}  // namespace quovana
