#include "quovana/FailureCause.h"

#include "api/ServiceFailureRecorder.h"
#include "quovana/CommandContext.h"

namespace quovana {

void forgetServiceFailures() { ServiceFailureRecorder::reset(); }

std::string messageWithCause(const std::string& appMessage, const foundation::ErrorPtr& operationError) {
    if (auto refused = ServiceFailureRecorder::firstRefusedToken())
        return "the session has ended: the service refused the access token (" + describeError(refused) +
               "). Run \"quovana login\" again.";
    if (auto cause = ServiceFailureRecorder::firstFailure()) return appMessage + " Cause: " + describeError(cause);
    if (operationError) return appMessage + " " + describeError(operationError);
    return appMessage;
}

}  // namespace quovana
