// The delegate's one contact with the store, on its own so that the parse
// can be built and fuzzed without a store.
#include "api/DocumentInfoXMLParserDelegate.h"
#include "model/QVADocumentInfo.h"
#include "store/StorageManager.h"

void DocumentInfoXMLParserDelegate::writeDocuments(const std::vector<std::shared_ptr<QVADocumentInfo>>& documents) {
    StorageManager::Items items(documents.begin(), documents.end());
    StorageManager::sharedStorageManager().deleteAndAddItemsToCoreData(std::move(items), coreDataModelClass(),
                                                                       nullptr, authCode(), eventId(), nullptr);
}
