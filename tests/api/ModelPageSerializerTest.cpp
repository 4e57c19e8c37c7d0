// A list page read straight into models gives the models that the JSON
// serializer's tree would have given, for every kind a meeting serves and
// every model class the lists are read into; what it does not read as a
// list of models (a refusal, an error body, malformed text, another
// charset) is the JSON serializer's own result and error.
#include <gtest/gtest.h>

#include "Utils/Utils.h"
#include "api/ModelPageSerializer.h"
#include "foundation/HTTPURLResponse.h"
#include "foundation/JSONSerialization.h"
#include "foundation/KeyedArchiver.h"
#include "model/ModelClass.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVAEvent.h"
#include "model/QVAFollowedParticipant.h"
#include "model/QVALoginDelegator.h"
#include "model/QVAMeetingDelegate.h"
#include "model/QVAMessageRecipient.h"
#include "model/QVANotification.h"
#include "model/QVAOrganization.h"
#include "model/QVAParticipant.h"
#include "model/QVAParticipantNote.h"
#include "model/QVAPartner.h"
#include "model/QVARoom.h"
#include "model/QVASession.h"
#include "model/QVASessionNote.h"
#include "model/QVAVenue.h"
#include "service/MeetingGenerator.h"

using foundation::Value;

namespace {

std::shared_ptr<foundation::HTTPURLResponse> response(int64_t status, const char* contentType = "application/json") {
    foundation::HTTPHeaders headers;
    headers.set("Content-Type", contentType);
    return std::make_shared<foundation::HTTPURLResponse>(
        foundation::URL::URLWithString("http://h/api/v1/events/E1/participants"), status, headers);
}

// The manager's serializer: any content type.
std::shared_ptr<const QNJSONResponseSerializer> managersJSON() {
    auto json = QNJSONResponseSerializer::serializer();
    json->setAcceptableContentTypes(std::nullopt);
    return json;
}

// Each model as its archive, a string element as itself.
std::vector<Value> comparable(const Value::Array& models) {
    std::vector<Value> out;
    for (const auto& model : models)
        out.push_back(model.object() ? Value(foundation::KeyedArchiver::archivedDataWithRootObject(model)) : model);
    return out;
}

}  // namespace

TEST(ModelPageSerializer, ModelsReadFromThePageAreThoseOfItsTree) {
    registerModelClasses();
    testservice::MeetingGeneratorOptions options;
    options.sessions = 12;
    options.participants = 40;
    const auto meeting = testservice::generateMeeting(options);
    const std::vector<std::shared_ptr<const ModelClass>> classes = {
        ModelClass::of<QVAParticipant>(),      ModelClass::of<QVASession>(),
        ModelClass::of<QVAMessageRecipient>(), ModelClass::of<QVAOrganization>(),
        ModelClass::of<QVAPartner>(),          ModelClass::of<QVARoom>(),
        ModelClass::of<QVAVenue>(),            ModelClass::of<QVAEvent>(),
        ModelClass::of<QVAAgendaSelections>(), ModelClass::of<QVAAgendaResponsibilities>(),
        ModelClass::of<QVAAgendaInvitation>(), ModelClass::of<QVAPersonalEntry>(),
        ModelClass::of<QVASessionNote>(),      ModelClass::of<QVAParticipantNote>(),
        ModelClass::of<QVANotification>(),     ModelClass::of<QVAMeetingDelegate>(),
        ModelClass::of<QVALoginDelegator>(),   ModelClass::of<QVAFollowedParticipant>(),
    };
    size_t models = 0;
    for (auto kind : testservice::allMeetingKinds()) {
        Value::Array items = meeting.items(kind);
        // Beside the service's items: what a page may also hold.
        items.push_back(Value("a string element"));
        items.push_back(Value(7));
        auto text = foundation::JSONSerialization::stringWithJSONObject(
            testservice::withoutAbsentValues(Value(std::move(items))));
        ASSERT_TRUE(text);
        // A repeated key counts with its last value, null included.
        text->pop_back();
        text->append(R"(,{"id":5,"id":"repeated","firstName":"a","firstName":null,"lastName":null,"lastName":"b"}])");
        const Value tree = foundation::JSONSerialization::JSONObjectWithString(*text);
        for (const auto& modelClass : classes) {
            ASSERT_TRUE(modelClass);
            auto serializer = ModelPageSerializer::forClass(modelClass, managersJSON());
            ASSERT_TRUE(serializer) << modelClass->name;
            foundation::ErrorPtr error;
            const Value page =
                serializer->responseObjectForResponse(response(200), foundation::Data::fromString(*text), &error);
            EXPECT_FALSE(error);
            auto read = page.objectAs<ModelPage>();
            ASSERT_TRUE(read) << testservice::fixtureName(kind) << " " << modelClass->name;
            EXPECT_EQ(comparable(read->models), comparable(Utils::initItemsArray(tree, modelClass)))
                << testservice::fixtureName(kind) << " " << modelClass->name;
            models += read->models.size();
        }
    }
    EXPECT_GT(models, 1000u);
}

TEST(ModelPageSerializer, WhatIsNoListOfModelsIsTheJSONSerializersResult) {
    registerModelClasses();
    const auto json = managersJSON();
    auto serializer = ModelPageSerializer::forClass(ModelClass::of<QVAParticipant>(), json);
    ASSERT_TRUE(serializer);
    auto both = [&](const std::shared_ptr<foundation::HTTPURLResponse>& answer, const std::string& body) {
        foundation::ErrorPtr ownError;
        foundation::ErrorPtr jsonError;
        const Value own = serializer->responseObjectForResponse(answer, foundation::Data::fromString(body), &ownError);
        const Value expected = json->responseObjectForResponse(answer, foundation::Data::fromString(body), &jsonError);
        EXPECT_FALSE(own.objectAs<ModelPage>()) << body;
        EXPECT_EQ(own, expected) << body;
        EXPECT_EQ(bool(ownError), bool(jsonError)) << body;
        if (ownError && jsonError) {
            EXPECT_EQ(ownError->code(), jsonError->code()) << body;
        }
    };
    both(response(500), R"({"error":"down"})");
    both(response(404), R"([{"id":"1"}])");
    both(response(200), R"({"notice":"not a list"})");
    both(response(200), R"([{"id":"1"},])");
    both(response(200), "");
    both(response(200), " ");
    both(response(200), std::string("[{\"id\":\"1\"}]\0", 13));
    both(response(200, "application/json; charset=iso-8859-1"), "[{\"id\":\"\xE9t\xE9\"}]");

    // A serializer that leaves out nulls reads what the fields do not hold:
    // it is not read past.
    auto droppingNulls = QNJSONResponseSerializer::serializer();
    droppingNulls->setRemovesKeysWithNullValues(true);
    EXPECT_FALSE(ModelPageSerializer::forClass(ModelClass::of<QVAParticipant>(), droppingNulls));
}
