// Any bytes given to the event-driven XML reader end in a finished parse or
// an error, never a crash: a failed parse has an error, a successful one
// reported a start and an end of document and balanced elements, and a
// delegate that stops the parse is obeyed. The first byte picks the options
// and the element at which the delegate aborts.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "foundation/XMLParser.h"

using namespace foundation;

namespace {

class Checker : public XMLParserDelegate {
public:
    explicit Checker(int abortAfter) : abortAfter_(abortAfter) {}

    int depth = 0;
    int starts = 0;
    bool started = false;
    bool ended = false;
    bool calledAfterAbort = false;
    bool aborted = false;

    void didStartDocument(XMLParser&) override { started = true; }
    void didEndDocument(XMLParser&) override { ended = true; }
    void didStartElement(XMLParser& parser, const std::string& name, const std::optional<std::string>&,
                         const std::optional<std::string>&, const Attributes&) override {
        if (aborted) calledAfterAbort = true;
        if (name.empty()) std::abort();
        ++depth;
        if (++starts == abortAfter_) {
            aborted = true;
            parser.abortParsing();
        }
    }
    void didEndElement(XMLParser&, const std::string&, const std::optional<std::string>&,
                       const std::optional<std::string>&) override {
        if (aborted) calledAfterAbort = true;
        --depth;
    }
    void foundCharacters(XMLParser&, const std::string&) override {
        if (aborted) calledAfterAbort = true;
    }

private:
    int abortAfter_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size == 0) return 0;
    uint8_t options = bytes[0];
    auto parser = std::make_shared<XMLParser>(Data(bytes + 1, size - 1));
    auto checker = std::make_shared<Checker>((options & 0x80) ? (options & 0x0f) : -1);
    parser->setDelegate(checker);
    parser->setShouldProcessNamespaces(options & 1);
    parser->setShouldReportNamespacePrefixes(options & 2);
    bool ok = parser->parse();
    if (checker->calledAfterAbort) std::abort();
    if (!ok) {
        if (!parser->parserError()) std::abort();
        return 0;
    }
    if (parser->parserError() || !checker->started || !checker->ended || checker->depth != 0) std::abort();
    return 0;
}
