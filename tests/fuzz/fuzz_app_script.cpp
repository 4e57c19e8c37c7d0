// Any bytes read as an app-mode script split without a sanitizer report:
// line numbers only grow, each word ends inside its line and after the one
// before, the free text after any number of words is a tail of the line, and
// the words written again, each in double quotes, split back into the same
// words.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "quovana/AppScript.h"

using quovana::AppScriptLine;

namespace {

void check(const AppScriptLine& line) {
    if (!line.problem.empty()) {
        if (!line.words.empty()) std::abort();
        return;
    }
    if (line.wordEnds.size() != line.words.size()) std::abort();
    size_t previous = 0;
    std::string quoted;
    for (size_t i = 0; i < line.words.size(); ++i) {
        if (line.wordEnds[i] <= previous && i > 0) std::abort();
        if (line.wordEnds[i] > line.text.size()) std::abort();
        previous = line.wordEnds[i];
        if (line.words[i].find('"') != std::string::npos) std::abort();
        quoted += (i ? " \"" : "\"") + line.words[i] + "\"";
    }
    for (size_t count = 0; count <= line.words.size() + 1; ++count)
        if (count >= line.words.size() && !line.wordsFrom(count).empty()) std::abort();
    if (quovana::parseAppScriptLine(quoted, 1).words != line.words) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(bytes), size));
    quovana::AppScriptReader reader(in);
    AppScriptLine line;
    size_t number = 0;
    while (reader.next(line)) {
        if (line.number <= number) std::abort();
        number = line.number;
        check(line);
    }
    return 0;
}
