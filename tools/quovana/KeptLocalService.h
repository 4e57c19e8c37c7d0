// The bundled meeting service on a home that keeps its state
// (Library/local-service.json): served again at the port the home knows, so
// that the service root and the feed, map and document addresses stored
// there still answer, with what the user changed there put back. The demo,
// the app mode and the commands that call the service on such a home start
// it this way.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "quovana/CommandContext.h"
#include "service/MeetingService.h"

namespace quovana {

// Whether the current home keeps a bundled service's state.
bool homeKeepsLocalService();

// Starts the service on 127.0.0.1 and points the app's API client at it.
// The meeting has `size` sessions and participants when given, else the
// size the home kept, else the demo's. It answers at the port the service
// addresses kept in the home (settings, stores) name, else at the one its
// state names; at another of as many digits when that one is taken. Every
// kept address then names the port it answers on: those naming another are
// moved to it (said on the error stream, or why they could not be).
// `generated` receives the meeting's size, for writing the state back; the
// state is also written as the service takes each write, before it answers.
// A kept state that cannot be read is moved aside first, said on the
// error stream, and the service starts afresh as above.
// Nothing when no port could be had or the unreadable state could not be
// moved aside; `problem` then receives why, the state file's name in it.
std::unique_ptr<testservice::MeetingService> startKeptLocalService(CommandContext& context,
                                                                   std::optional<std::pair<int, int>> size,
                                                                   std::pair<int, int>& generated,
                                                                   std::string& problem);

}  // namespace quovana
