// The script of the app mode: one command a line, read from a file or from
// standard input. Words are separated by blanks; a double-quoted word may
// hold blanks ("alert \"Forgot password\""); a "#" that starts a word starts
// a comment running to the end of the line. Commands that take free text
// (typing, a search) take their words joined by single blanks: the quotes
// are not typed, and a quoted text may be blanks only.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace quovana {

struct AppScriptLine {
    // From 1.
    size_t number = 0;
    // As read, without the line end.
    std::string text;
    std::vector<std::string> words;
    // Not empty when the line cannot be split (a quote left open).
    std::string problem;

    // The words from `first` on, joined by single blanks; empty when there
    // are none.
    std::string wordsFrom(size_t first) const;

    // Where each word ends in `text`.
    std::vector<size_t> wordEnds;
};

// Splits one line; a line of blanks or a comment gives no words.
AppScriptLine parseAppScriptLine(std::string text, size_t number);

class AppScriptReader {
public:
    explicit AppScriptReader(std::istream& in) : in_(in) {}

    // The next line that holds a command (or a problem); false at the end.
    bool next(AppScriptLine& line);

private:
    std::istream& in_;
    size_t number_ = 0;
};

}  // namespace quovana
