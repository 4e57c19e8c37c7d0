// The app mode's bundled service keeps its state in the home as it takes a
// write, before it answers: the state file holds what the client was told
// was done the moment the answer arrives, with the run still going (a run
// killed then loses nothing), the answered idempotency keys with it. Reads
// and refused writes leave the file alone; a write that cannot be kept is
// answered with an error. An unreadable state is kept aside, not replaced.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "foundation/ApplicationHome.h"
#include "foundation/Data.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/RunLoop.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "foundation/URLSession.h"
#include "foundation/URLSessionTask.h"
#include "foundation/StringUtils.h"
#include "quovana/CommandContext.h"
#include "quovana/KeptLocalService.h"
#include "quovana/LocalServiceState.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "tools/InProcessCommandTest.h"

namespace {

using foundation::StringUtils::contains;

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
    int send(const std::string& method, const std::string& url, const std::string& token, const std::string& body,
             const std::string& idempotencyKey = "") {
        foundation::URLRequest request(*foundation::URL::URLWithString(url));
        request.setHTTPMethod(method);
        request.setValue("Bearer " + token, "Authorization");
        request.setValue("application/json", "Content-Type");
        if (!idempotencyKey.empty()) request.setValue(idempotencyKey, "Idempotency-Key");
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

// A kill after the service took a keyed message and before the app heard
// the answer: the outbox sends the same key to the relaunched service.
TEST_F(LocalServiceStateTest, AKeyAnsweredBeforeARestartIsTakenOnceAfterIt) {
    std::ostringstream out, err;
    quovana::CommandContext context(out, err);
    std::pair<int, int> generated;
    const std::string message = R"({"to":"100002","subject":"Sent once","body":"Across a restart"})";
    auto sent = [](const testservice::MeetingService& service) {
        size_t count = 0;
        for (const auto& item : service.items(testservice::MeetingKind::Messages))
            count += item["subject"].stringValue() == "Sent once" ? 1 : 0;
        return count;
    };
    auto first = quovana::startKeptLocalService(context, std::make_pair(4, 8), generated);
    ASSERT_TRUE(first);
    ASSERT_EQ(send("POST", first->urlFor("/api/v1/messages"), first->demoToken(), message, "row-1"), 200);
    first.reset();
    // Not over a connection kept alive to the service that went.
    session_->finishTasksAndInvalidate();
    session_ = foundation::URLSession::sessionWithConfiguration(
        foundation::URLSessionConfiguration::defaultSessionConfiguration());

    auto relaunched = quovana::startKeptLocalService(context, std::nullopt, generated);
    ASSERT_TRUE(relaunched);
    ASSERT_EQ(sent(*relaunched), 1u);
    EXPECT_EQ(send("POST", relaunched->urlFor("/api/v1/messages"), relaunched->demoToken(), message, "row-1"), 200);
    EXPECT_EQ(sent(*relaunched), 1u);
}

TEST_F(LocalServiceStateTest, AnUnreadableStateIsKeptAsideAndAWriteThatCannotBeKeptFails) {
    const std::string state = quovana::localServiceStatePath();
    const std::string leftover = foundation::ApplicationHome::libraryDirectory() + "/.local-service.json.tmp-Ab3dE9";
    std::ofstream(state) << R"({"port": 4)";
    std::ofstream(leftover) << R"({"port": 4)";
    std::ostringstream out, err;
    quovana::CommandContext context(out, err);
    std::pair<int, int> generated;
    auto service = quovana::startKeptLocalService(context, std::make_pair(4, 8), generated);
    ASSERT_TRUE(service);
    EXPECT_TRUE(contains(err.str(), state + " cannot be read")) << err.str();
    EXPECT_TRUE(contains(err.str(), "kept aside as " + state + ".unreadable")) << err.str();
    std::stringstream aside;
    aside << std::ifstream(state + ".unreadable").rdbuf();
    EXPECT_EQ(aside.str(), R"({"port": 4)");
    EXPECT_FALSE(std::filesystem::exists(leftover));

    // Where the state goes, a folder: the write is not kept, nor said done.
    std::filesystem::create_directories(state + "/taken");
    const std::string session = testservice::idText(service->items(testservice::MeetingKind::Sessions)[0]["id"]);
    EXPECT_EQ(send("PUT", service->urlFor("/api/v1/events/" + service->eventId() + "/notes/sessions/" + session),
                   service->demoToken(), R"({"note":"Not kept"})"),
              500);
}

}  // namespace
