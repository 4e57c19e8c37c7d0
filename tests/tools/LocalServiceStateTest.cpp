// The app mode's bundled service keeps its state in the home as it takes a
// write, before it answers: the state file holds what the client was told
// was done the moment the answer arrives, with the run still going (a run
// killed then loses nothing). Reads and refused writes leave the file alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "foundation/ApplicationHome.h"
#include "foundation/Data.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/RunLoop.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSession.h"
#include "foundation/URLSessionTask.h"
#include "quovana/LocalServiceState.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "tools/InProcessCommandTest.h"

namespace {

class LocalServiceStateTest : public InProcessCommandTest {
protected:
    void SetUp() override {
        InProcessCommandTest::SetUp();
        foundation::ApplicationHome::setRoot(home_.path());
    }
    void TearDown() override {
        session_->finishTasksAndInvalidate();
        InProcessCommandTest::TearDown();
    }

    // The status of the answer, once it has reached this side.
    int send(const std::string& method, const std::string& url, const std::string& token, const std::string& body) {
        foundation::URLRequest request(*foundation::URL::URLWithString(url));
        request.setHTTPMethod(method);
        request.setValue("Bearer " + token, "Authorization");
        request.setValue("application/json", "Content-Type");
        if (!body.empty()) request.setHTTPBody(foundation::Data::fromString(body));
        auto task = session_->dataTaskWithRequest(request);
        task->resume();
        const auto completed = [&] { return task->state() == foundation::URLSessionTask::State::Completed; };
        if (!foundation::RunLoop::main().runUntil(completed, 30)) return 0;
        auto response = std::dynamic_pointer_cast<foundation::HTTPURLResponse>(task->response());
        return response ? static_cast<int>(response->statusCode()) : 0;
    }

    std::shared_ptr<foundation::URLSession> session_ = foundation::URLSession::sessionWithConfiguration(
        foundation::URLSessionConfiguration::defaultSessionConfiguration());
};

TEST_F(LocalServiceStateTest, AWriteTheServiceAnsweredIsInTheHomeWhenTheAnswerArrives) {
    using testservice::MeetingKind;
    const testservice::MeetingGeneratorOptions size{.sessions = 6, .participants = 12};
    testservice::MeetingService service(testservice::generateMeeting(size));
    ASSERT_TRUE(service.start());
    quovana::keepLocalServiceStateOnWrites(service, {size.sessions, size.participants});
    const std::string notes = service.urlFor("/api/v1/events/" + service.eventId() + "/notes/sessions/");
    const std::string session = testservice::idText(service.items(MeetingKind::Sessions)[2]["id"]);
    const auto stateFile = std::filesystem::path(foundation::ApplicationHome::libraryDirectory()) / "local-service.json";

    EXPECT_EQ(send("GET", service.urlFor("/api/v1/events"), service.demoToken(), ""), 200);
    EXPECT_EQ(send("PUT", notes + "999999", service.demoToken(), R"({"note":"Nowhere"})"), 404);
    EXPECT_FALSE(std::filesystem::exists(stateFile));

    ASSERT_EQ(send("PUT", notes + session, service.demoToken(), R"({"note":"Kept before the answer"})"), 200);
    const auto kept = quovana::readLocalServiceState();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->port, service.server().port());
    EXPECT_EQ(kept->generated, std::make_pair(6, 12));
    const auto* note = kept->changes.find(MeetingKind::SessionNotes, "sn-" + session);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ((*note)["note"].stringValue(), "Kept before the answer");
}

}  // namespace
