// Texts a parsed file repeats thousands of times (the names of its elements
// and attributes, their namespaces) are kept once per thread and shared by
// the nodes that carry them, instead of a copy in each.
//
// The per-thread table is bounded: a file of endless distinct names costs a
// table's worth at most, and what the table drops stays with the nodes
// holding it.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

namespace svg {

// The value kept under the key on this thread, made by make() when there is
// none.
template <class T, class Make>
std::shared_ptr<const T> sharedPerThread(std::string key, Make make) {
    constexpr size_t kKept = 256;
    thread_local std::unordered_map<std::string, std::shared_ptr<const T>> kept;
    if (auto found = kept.find(key); found != kept.end()) return found->second;
    auto made = std::make_shared<const T>(make());
    if (kept.size() >= kKept) kept.clear();
    kept.emplace(std::move(key), made);
    return made;
}

// A text held through the table: 16 bytes, and never a copy of its own.
class SharedName {
public:
    SharedName(const std::string& text)  // NOLINT: stands in for the text
        : text_(sharedPerThread<std::string>(text, [&] { return text; })) {}

    const std::string& str() const { return *text_; }
    operator const std::string&() const { return *text_; }  // NOLINT: reads as the text

    friend bool operator==(const SharedName& a, const std::string& b) { return *a.text_ == b; }
    friend bool operator<(const SharedName& a, const std::string& b) { return *a.text_ < b; }

private:
    std::shared_ptr<const std::string> text_;
};

}  // namespace svg
