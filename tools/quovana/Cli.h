// The command line of "quovana": global options, then a command and its
// arguments. Tests call runCli in-process with their own streams.
#pragma once

#include <iosfwd>

#include "quovana/CommandContext.h"

namespace quovana {

// Everything after the program name. Main thread only; the main run loop
// must already belong to the calling thread.
int runCli(const Arguments& arguments, std::ostream& out, std::ostream& err);
// The same with the stream a script is read from ("app" without --script).
int runCli(const Arguments& arguments, std::istream& in, std::ostream& out, std::ostream& err);

// The global options at the front of `arguments` (each defaulting to its
// environment variable), removed from it. Answers an error message for a bad
// option, empty when all was well.
std::string parseGlobalOptions(Arguments& arguments, GlobalOptions& options);

// Makes the options take effect: the home, the service root and the languages.
void applyGlobalOptions(const GlobalOptions& options);

}  // namespace quovana
