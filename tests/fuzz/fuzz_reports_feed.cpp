// Any bytes given to the reports feed parser (the SAX reader with the feed
// delegate) end in a parse that never crashes. Whatever the channel's end
// hands to the store holds each item once, with an index from 0 up; in a
// well-formed feed (one channel, items not nested) the indexes rise in feed
// order, which the unit tests check.
#include <cstdint>
#include <cstdlib>
#include <set>

#include "api/DocumentInfoXMLParserDelegate.h"
#include "model/QVADocumentInfo.h"

namespace {
const std::vector<std::shared_ptr<QVADocumentInfo>>* lastWritten = nullptr;
std::vector<std::shared_ptr<QVADocumentInfo>> written;
size_t writes = 0;
}  // namespace

// Stands in for the store write, which this program does not link.
void DocumentInfoXMLParserDelegate::writeDocuments(const std::vector<std::shared_ptr<QVADocumentInfo>>& documents) {
    written = documents;
    lastWritten = &written;
    ++writes;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    written.clear();
    lastWritten = nullptr;
    writes = 0;
    auto delegate = std::make_shared<DocumentInfoXMLParserDelegate>();
    foundation::XMLParser parser(foundation::Data(bytes, size));
    parser.setDelegate(delegate);
    parser.parse();
    if (!lastWritten) return 0;
    std::set<const QVADocumentInfo*> seen;
    for (const auto& document : written) {
        if (!document || !seen.insert(document.get()).second || document->index() < 0) std::abort();
    }
    return 0;
}
