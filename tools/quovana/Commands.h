// The commands of the command-line front. Each takes the arguments after its
// name and answers the process exit code (see ExitCode); each prints what the
// app logged on the message stream and a plain result on the output stream.
#pragma once

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

}  // namespace quovana
