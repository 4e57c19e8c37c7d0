// Base of the models the service identifies by an "id" and versions by a
// "revision". Subclasses build in two phases, as their initialisers would:
// the base reads its two fields first, then each subclass its own, so the id
// and revision keys are the same in JSON, rows and archives of every kind.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "coredata/KeyValueCoding.h"
#include "foundation/KeyedArchiver.h"
#include "model/IEntityModel.h"

namespace ModelReading {
class FieldReader;
}

class QVABaseItemModel : public foundation::Coding, public IEntityModel, public coredata::KeyValueCoding {
public:
    static constexpr const char* kClassName = "QVABaseItemModel";

    QVABaseItemModel() = default;
    static std::shared_ptr<QVABaseItemModel> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVABaseItemModel> initWithCoreDataDictionary(const foundation::Value& row);
    static std::shared_ptr<QVABaseItemModel> initWithId(std::optional<std::string> itemId);
    static std::shared_ptr<QVABaseItemModel> initWithId(std::optional<std::string> itemId,
                                                        std::optional<std::string> revision);
    static std::shared_ptr<QVABaseItemModel> initWithCoder(const foundation::KeyedUnarchiver& coder);

    // The JSON and archive keys of the two fields.
    const char* itemIdKey() const { return "id"; }
    const char* revisionKey() const { return "revision"; }

    const std::optional<std::string>& itemId() const { return itemId_; }
    // The service id that keys this model's row: the value of its class's
    // selection property (itemId here). A model without one is not stored
    // from a list, by the full download and the delta alike.
    virtual const std::optional<std::string>& keyId() const { return itemId_; }
    const std::optional<std::string>& revision() const { return revision_; }
    void setRevision(std::optional<std::string> revision) { revision_ = std::move(revision); }

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    // The key id: the one key of the model's row, nothing when it is missing.
    std::optional<std::string> selectionPropertyId() const override { return keyId(); }
    bool hasUsableIds() const override { return keyId().has_value(); }
    // "itemId" and "revision"; subclasses add the fields lists filter on.
    foundation::Value valueForKey(const std::string& key) const override;

protected:
    template <class>
    friend struct ItemModelBuilder;

    virtual void readDictionary(const ModelReading::FieldReader& json);
    virtual void readRow(const ModelReading::FieldReader& row);
    virtual void decodeFields(const foundation::KeyedUnarchiver& coder);
    void setItemId(std::optional<std::string> itemId) { itemId_ = std::move(itemId); }

private:
    std::optional<std::string> itemId_;
    std::optional<std::string> revision_;
};
