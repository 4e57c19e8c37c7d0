// Live session status.
#include "model/QVASessionStatusMessage.h"

#include "model/ModelReading.h"

std::shared_ptr<QVASessionStatusMessage> QVASessionStatusMessage::initWithDictionary(
    const foundation::Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVASessionStatusMessage>();
    model->alertLevel_ = json.text("alertLevel");
    // The service spells this key with an "e", unlike the occupancy model.
    model->occupencyPercent_ = json.int32("occupencyPercent");
    model->remainingCapacity_ = json.int32("remainingCapacity");
    model->longMessage_ = json.text("longMessage").value_or("");
    model->shortMessage_ = json.text("shortMessage").value_or("");
    model->actions_ = json.array("actions");
    model->invitationMessage_ = json.text("invitationMessage");
    model->invitationAlertLevel_ = json.text("invitationAlertLevel");
    return model;
}
