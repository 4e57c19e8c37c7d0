#include "quovana/KeptLocalService.h"

#include <ostream>
#include <string>

#include "foundation/ApplicationHome.h"
#include "foundation/FileManager.h"
#include "quovana/LocalServiceState.h"
#include "quovana/ServiceRoot.h"
#include "quovana/StoredServiceAddresses.h"
#include "service/MeetingGenerator.h"

namespace quovana {

bool homeKeepsLocalService() {
    // Not through libraryDirectory(), which would make the folder to look in it.
    return foundation::FileManager::defaultManager().fileExistsAtPath(foundation::ApplicationHome::root() +
                                                                      "/Library/local-service.json");
}

std::unique_ptr<testservice::MeetingService> startKeptLocalService(CommandContext& context,
                                                                   std::optional<std::pair<int, int>> size,
                                                                   std::pair<int, int>& generated,
                                                                   std::string& problem) {
    problem = "the local meeting service could not listen on 127.0.0.1";
    // This process holds the home: a temporary file of the state is what a
    // run killed while writing it left, never a write in progress.
    foundation::FileManager::defaultManager().removeLeftoversOfAtomicWrites(localServiceStatePath());
    std::string unreadable;
    const auto earlier = readLocalServiceState(&unreadable);
    // What the user did there is not overwritten by a fresh start, unseen
    // or at all: a state that stays where it is keeps the service down.
    std::optional<int> storedPort;
    if (!unreadable.empty()) {
        std::string told;
        if (!setAsideLocalServiceState(unreadable, told)) {
            problem = told;
            return nullptr;
        }
        context.err() << "quovana: " << told << "\n";
        // The fresh service answers where the home's stores point, as a
        // readable state would have had it.
        if (const int port = storedServicePort()) storedPort = port;
    }
    testservice::MeetingGeneratorOptions meeting;
    if (!size && earlier) size = earlier->generated;
    if (size) {
        meeting.sessions = size->first;
        meeting.participants = size->second;
    }
    generated = {meeting.sessions, meeting.participants};
    testservice::MeetingService::Options options;
    if (earlier && earlier->port) options.port = *earlier->port;
    if (storedPort) options.port = *storedPort;
    auto service = std::make_unique<testservice::MeetingService>(testservice::generateMeeting(meeting), options);
    if (!service->start()) {
        if (!options.port) return nullptr;
        const int keptPort = options.port;
        options.port = freePortOfTheSameWidth(keptPort);
        service = std::make_unique<testservice::MeetingService>(testservice::generateMeeting(meeting), options);
        if (!service->start()) return nullptr;
        const int port = service->server().port();
        std::string error;
        if (std::to_string(port).size() != std::to_string(keptPort).size())
            context.err() << "quovana: the service's earlier port " << keptPort
                          << " is taken and no port of as many digits is free; the addresses stored by earlier "
                             "runs do not answer until \"Clear cache and reload content\"\n";
        else if (const size_t moved = rewriteStoredServiceAddresses(keptPort, port, error); !error.empty())
            context.err() << "quovana: the stored addresses could not be moved to the service's new port: " << error
                          << "\n";
        else
            context.out() << "service: the earlier port " << keptPort << " is taken; " << moved
                          << " stored addresses moved to the new one\n";
    }
    if (earlier) applyLocalServiceState(*earlier, *service);
    // A write the service answered is in the home before the app hears of
    // it: a run that is killed keeps what the app took as done.
    keepLocalServiceStateOnWrites(*service, generated);
    setServiceRoot(service->rootURL());
    return service;
}

}  // namespace quovana
