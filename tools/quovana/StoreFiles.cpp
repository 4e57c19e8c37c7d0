#include "quovana/StoreFiles.h"

#include "foundation/Value.h"
#include "model/QVAError.h"
#include "store/StorageManager.h"

namespace quovana {

namespace {

constexpr const char* kNotWritten = "the meeting's store could not be written to its file: ";

}  // namespace

foundation::ErrorPtr awaitStoreFiles(CommandContext& context) {
    auto outcome = context.await([](StorageManager::WriteCompletion completion) {
        StorageManager::sharedStorageManager().waitForPendingFileSaves(std::move(completion));
    });
    if (!outcome) return QVAError::initWithDescription("the store file save did not finish");
    return outcome->error;
}

bool storeFilesWritten(CommandContext& context) {
    if (foundation::ErrorPtr error = awaitStoreFiles(context)) {
        context.fail(kNotWritten + describeError(error));
        return false;
    }
    return true;
}

}  // namespace quovana
