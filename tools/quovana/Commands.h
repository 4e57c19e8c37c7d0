// The commands of the command-line front. Each takes the arguments after its
// name and answers the process exit code (see ExitCode); each prints what the
// app logged on the message stream and a plain result on the output stream.
#pragma once

#include <string>

#include "quovana/CommandContext.h"

namespace quovana {

int runLoginCommand(CommandContext& context, const Arguments& arguments);
int runLoadCommand(CommandContext& context, const Arguments& arguments);
int runDeltaCommand(CommandContext& context, const Arguments& arguments);
int runRefreshCommand(CommandContext& context, const Arguments& arguments);
int runDumpCommand(CommandContext& context, const Arguments& arguments);
int runSettingsCommand(CommandContext& context, const Arguments& arguments);
int runOutboxCommand(CommandContext& context, const Arguments& arguments);
int runThreadCommand(CommandContext& context, const Arguments& arguments);
int runCalendarCommand(CommandContext& context, const Arguments& arguments);
int runDemoCommand(CommandContext& context, const Arguments& arguments);
int runAppCommand(CommandContext& context, const Arguments& arguments);
int runImageCommand(CommandContext& context, const Arguments& arguments);
int runFilterCommand(CommandContext& context, const Arguments& arguments);
int runScopeCommand(CommandContext& context, const Arguments& arguments);

// What is wrong with the arguments of a command that calls the service (or
// the demo, which starts one), as
// its usage message; empty when they are well formed. The dispatcher asks
// before it claims the home or starts the home's local service, so a typo
// costs neither.
std::string loginUsageProblem(const Arguments& arguments);
std::string loadUsageProblem(const Arguments& arguments);
std::string deltaUsageProblem(const Arguments& arguments);
std::string refreshUsageProblem(const Arguments& arguments);
std::string outboxUsageProblem(const Arguments& arguments);
std::string threadUsageProblem(const Arguments& arguments);
std::string imageUsageProblem(const Arguments& arguments);
std::string demoUsageProblem(const Arguments& arguments);
// The app mode's options; without a service given it serves the local one.
std::string appUsageProblem(const Arguments& arguments, bool usesLocalService);

}  // namespace quovana
