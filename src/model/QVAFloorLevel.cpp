// Floor levels of venues.
#include "model/QVAFloorLevel.h"

#include "model/ModelReading.h"

using foundation::Value;

std::shared_ptr<QVAFloorLevel> QVAFloorLevel::initWithDictionary(const Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVAFloorLevel>();
    model->name_ = json.text("name");
    model->isDefault_ = json.boolean("default");
    Value linksValue = json.array("interactive_maps");
    if (const auto* links = linksValue.array()) {
        for (const auto& link : *links) {
            if (link.isDictionary()) model->interactiveMaps_.push_back(QVAImapsLinksModel::initWithDictionary(link));
        }
    }
    model->imageUrl_ = json.text("imageUrl");
    // The level names the floor whose rooms and beacons a plan places: a
    // level given but unreadable could not be told from another floor. A
    // level given as nothing is floor 0.
    const auto level = json.int32Id("level");
    model->levelNumber_ = level.value_or(0);
    model->hasUsableLevel_ = level || json.value("level").isNothing();
    return model;
}

std::shared_ptr<QVAFloorLevel> QVAFloorLevel::initWithCoder(const foundation::KeyedUnarchiver& coder) {
    auto model = std::make_shared<QVAFloorLevel>();
    model->name_ = coder.decodeStringForKey("name");
    model->interactiveMaps_ = coder.decodeArrayOfObjectsOfClass<QVAImapsLinksModel>("interactive_maps");
    model->imageUrl_ = coder.decodeStringForKey("imageUrl");
    model->isDefault_ = coder.decodeBoolForKey("default");
    model->levelNumber_ = coder.decodeInt32ForKey("level");
    return model;
}

void QVAFloorLevel::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    coder.encodeObject(ModelReading::valueOf(name_), "name");
    coder.encodeObjects(interactiveMaps_, "interactive_maps");
    coder.encodeObject(ModelReading::valueOf(imageUrl_), "imageUrl");
    coder.encodeBool(isDefault_, "default");
    coder.encodeInt32(levelNumber_, "level");
}
