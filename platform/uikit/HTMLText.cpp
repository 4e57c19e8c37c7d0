// A tag-dropping scan of HTML, enough to name a page in a screenshot; no
// document model, no layout.
#include "uikit/HTMLText.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <utility>

namespace uikit {

std::string firstLineOfHTMLText(std::string_view html) {
    static const char* const blockTags[] = {"p",  "div", "br", "h1", "h2", "h3",    "h4",   "h5", "h6",
                                            "li", "tr",  "ul", "ol", "hr", "table", "body", "title"};
    static const char* const skippedTags[] = {"head", "script", "style"};
    // ASCII only, so that offsets match the original's.
    std::string lower(html);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    std::string line;
    auto finish = [&]() -> bool {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        return !line.empty();
    };
    size_t i = 0;
    while (i < html.size()) {
        char ch = html[i];
        if (ch == '<') {
            size_t end = html.find('>', i);
            if (end == std::string::npos) break;
            std::string tag;
            size_t j = i + 1;
            if (j < end && html[j] == '/') ++j;
            while (j < end && std::isalnum(static_cast<unsigned char>(html[j]))) tag += char(std::tolower(html[j++]));
            bool closing = html[i + 1] == '/';
            i = end + 1;
            if (!closing && std::find(std::begin(skippedTags), std::end(skippedTags), tag) != std::end(skippedTags)) {
                size_t close = lower.find("</" + tag, i);
                i = close == std::string::npos ? html.size() : html.find('>', close);
                i = i == std::string::npos ? html.size() : i + 1;
                continue;
            }
            bool block = std::find(std::begin(blockTags), std::end(blockTags), tag) != std::end(blockTags);
            if (block && finish()) return line;
            continue;
        }
        if (ch == '&') {
            static const std::pair<const char*, const char*> entities[] = {
                {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&nbsp;", " "}};
            bool decoded = false;
            for (const auto& [name, text] : entities) {
                if (html.substr(i, std::strlen(name)) == name) {
                    // A non-breaking space is a blank like any other here.
                    if (std::strcmp(text, " ") != 0) line += text;
                    else if (!line.empty() && line.back() != ' ') line += ' ';
                    i += std::strlen(name);
                    decoded = true;
                    break;
                }
            }
            if (decoded) continue;
        }
        // Line breaks in the source are blanks, as a browser sets them.
        if (ch == '\n' || ch == '\r' || ch == '\t' || ch == ' ') {
            if (!line.empty() && line.back() != ' ') line += ' ';
            ++i;
            continue;
        }
        line += ch;
        ++i;
    }
    finish();
    return line;
}

}  // namespace uikit
