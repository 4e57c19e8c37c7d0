// The whole delta update against the local meeting service, for the
// current meeting: a run and its outcome, the requests it made, and the
// sessions it left in the store.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LocalServiceTest.h"
#include "api/QVAApiManagerDelta.h"
#include "model/QVACoreDataSession.h"

namespace apitest {

struct EngineOutcome {
    bool called = false;
    foundation::ErrorPtr error;
};

class DeltaUpdateEngineTest : public LocalServiceTest {
protected:
    void SetUp() override {
        LocalServiceTest::SetUp();
        open(token(), eventId());
        makeCurrent(account(), fetchEvent(eventId()));
    }

    EngineOutcome runDelta(const std::optional<std::string>& event, const std::optional<std::string>& authCode) {
        auto outcome = std::make_shared<EngineOutcome>();
        QVAApiManagerDelta::loadDeltaUpdatesForEventId(event, authCode,
                                                       [outcome](const foundation::ErrorPtr& error, const foundation::Value&) {
                                                           outcome->called = true;
                                                           outcome->error = error;
                                                       });
        EXPECT_TRUE(loop.runUntil([&] { return outcome->called; }, kWait));
        return *outcome;
    }
    EngineOutcome runDelta() { return runDelta(eventId(), token()); }

    // The requests whose path (with query) contains `fragment`.
    std::vector<std::string> requested(const std::string& fragment) const {
        std::vector<std::string> out;
        for (const auto& request : service->requestLog())
            if (request.path.find(fragment) != std::string::npos) out.push_back(request.path);
        return out;
    }
    std::map<std::string, std::string> storedSessions() {
        std::map<std::string, std::string> out;
        for (const auto& row : rows<QVACoreDataSession>(token(), eventId()))
            out[row->itemId().value_or("")] = row->revision().value_or("-");
        return out;
    }
    static foundation::Value session(const std::string& id, int revision) {
        return foundation::Value::dictionary({{"id", id}, {"revision", revision}, {"title", "Session " + id}});
    }
};

}  // namespace apitest
