// "login USER PASSWORD" and "login --passcode CODE": the login screens'
// service call; the account that comes back becomes the current account, so
// the next commands act for it. A rejected login reads as the login screen's
// alert words: the screen tests for 400, and services also refuse
// credentials with 401, which means the same to the user. The app logs a
// refused login whole, the service's raw answer included: that goes to the
// home's log file, and the person reads the alert and the service's reason.
#include <ostream>

#include "Utils/ErrorUtility.h"
#include "settings/ApplicationSettingsStore.h"
#include "api/QVAApiManager.h"
#include "foundation/ApplicationHome.h"
#include "model/QVAUserAccount.h"
#include "quovana/Commands.h"

namespace quovana {

std::string loginUsageProblem(const Arguments& arguments) {
    const bool byPasscode = arguments.size() == 2 && arguments[0] == "--passcode";
    if (arguments.size() != 2 || (!byPasscode && arguments[0].rfind("--", 0) == 0))
        return "usage: login USER PASSWORD | login --passcode CODE";
    return {};
}

int runLoginCommand(CommandContext& context, const Arguments& arguments) {
    if (std::string problem = loginUsageProblem(arguments); !problem.empty()) return context.usage(problem);
    const bool byPasscode = arguments[0] == "--passcode";

    const std::string logPath = foundation::ApplicationHome::root() + "/quovana-login.log";
    if (!context.setLogFile(logPath)) return context.fail("cannot write the log file " + logPath);
    auto& api = QVAApiManager::sharedApiManager();
    auto outcome = context.await([&](QVAApiManager::CallCompletion completion) {
        if (byPasscode)
            api.authenticateByPasscode(arguments[1], completion);
        else
            api.authenticateWithUsername(arguments[0], arguments[1], completion);
    });
    if (!outcome) return context.fail("the service did not answer the login");
    if (outcome->error) {
        const int64_t status = ErrorUtility::HTTPErrorCode(outcome->error);
        if (status == 400 || status == 401)
            return context.fail(withServiceReason(
                std::string("Authentication failed! ") +
                    (byPasscode ? "Invalid passcode" : "Invalid username or wrong password"),
                outcome->error));
        return context.fail("An error occurred while logging in. Please try again. " + describeError(outcome->error));
    }
    auto account = outcome->result.objectAs<QVAUserAccount>();
    if (!account || !account->authenticationCode())
        return context.fail("An error occurred while logging in. Please try again. (no account in the answer)");

    ApplicationSettingsStore::sharedApplicationSettingsStore().setCurrentAccount(account);
    context.out() << "logged in as " << account->fullName().value_or(account->email().value_or("(no name)"));
    if (account->email()) context.out() << " <" << *account->email() << ">";
    context.out() << "\n";
    return kExitSuccess;
}

}  // namespace quovana
