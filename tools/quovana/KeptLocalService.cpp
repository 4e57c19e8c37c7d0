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
    auto earlier = readLocalServiceState(&unreadable);
    // A state of another meeting could not be put back, and the first write
    // would overwrite it: it is no state of this one.
    const std::string served = testservice::generatedEventId(testservice::MeetingGeneratorOptions().seed);
    if (earlier && earlier->eventId != served) {
        unreadable = "its \"eventId\" is " + earlier->eventId + ", not the meeting served, " + served;
        earlier.reset();
    }
    // What the user did there is not overwritten by a fresh start, unseen
    // or at all: a state that stays where it is keeps the service down.
    if (!unreadable.empty()) {
        std::string told;
        if (!setAsideLocalServiceState(unreadable, told)) {
            problem = told;
            return nullptr;
        }
        context.err() << "quovana: " << told << "\n";
    }
    testservice::MeetingGeneratorOptions meeting;
    if (!size && earlier) size = earlier->generated;
    if (size) {
        meeting.sessions = size->first;
        meeting.participants = size->second;
    }
    generated = {meeting.sessions, meeting.participants};
    // The service answers where the home's kept addresses point; the port
    // the state names is only where it answered last, and may differ (a
    // state set aside, or edited).
    const int statePort = earlier && earlier->port ? *earlier->port : 0;
    const int addressed = keptServicePort();
    testservice::MeetingService::Options options;
    options.port = addressed ? addressed : statePort;
    if (addressed && statePort && addressed != statePort)
        context.err() << "quovana: the local service's state names port " << statePort
                      << " but the addresses kept in the home name " << addressed << "; the service answers at "
                      << addressed << "\n";
    auto service = std::make_unique<testservice::MeetingService>(testservice::generateMeeting(meeting), options);
    const int wanted = options.port;
    if (!service->start()) {
        if (!wanted) return nullptr;
        options.port = freePortOfTheSameWidth(wanted);
        service = std::make_unique<testservice::MeetingService>(testservice::generateMeeting(meeting), options);
        if (!service->start()) return nullptr;
    }
    // Every address the home keeps names the port the service answers on:
    // moved when the port is new to any of them (the wanted one taken, or
    // the state, the settings and the stores at odds).
    const int port = service->server().port();
    if (port != wanted || port != statePort || (addressed && addressed != port)) {
        std::string error;
        size_t unmovable = 0;
        const size_t moved = moveKeptServiceAddresses(port, unmovable, error);
        if (!error.empty())
            context.err() << "quovana: the kept addresses could not be moved to the service's port " << port << ": "
                          << error << "\n";
        else if (wanted && port != wanted)
            context.err() << "quovana: the service's earlier port " << wanted << " is taken; " << moved
                          << " kept addresses moved to its new port " << port << "\n";
        else if (moved)
            context.err() << "quovana: " << moved << " kept addresses moved to the service's port " << port << "\n";
        if (error.empty() && unmovable)
            context.err() << "quovana: " << unmovable << " kept addresses name a port of other digits than the "
                          << "service's " << port << " and cannot be moved; they answer again after \"Clear cache "
                          << "and reload content\"\n";
    }
    if (earlier) applyLocalServiceState(*earlier, *service);
    // A write the service answered is in the home before the app hears of
    // it: a run that is killed keeps what the app took as done.
    keepLocalServiceStateOnWrites(*service, generated);
    setServiceRoot(service->rootURL());
    return service;
}

}  // namespace quovana
