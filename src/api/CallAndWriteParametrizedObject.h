// The descriptor of one bulk service call: which service to read, how its
// JSON maps to models, which entity receives the rows, and how the call
// counts for the full download. Immutable once made, except for the child
// block. The API client makes one per bulk service; the full download runs
// a list of them together and the refresh operations reload single kinds.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dispatch/Group.h"
#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/ModelClass.h"
#include "model/EntityClass.h"

class CallAndWriteParametrizedObject : public foundation::Object {
public:
    using ModelClassPtr = std::shared_ptr<const ModelClass>;
    // The follow-up the full download runs once a call with children wrote
    // its rows: (the download's group, nothing, the call's result). It must
    // leave the group itself.
    using ChildBlock = std::function<void(const dispatch::GroupPtr& group, const foundation::Value& unused,
                                          const foundation::Value& result)>;

    static constexpr int32_t kDefaultItemsPerPage = 100;

    // Not important, paginated, 100 per page, JSON, no children.
    CallAndWriteParametrizedObject(std::optional<std::string> serviceName, ModelClassPtr modelClass,
                                   EntityClassPtr coreDataModelClass, foundation::Value parameters);
    // As above with the importance given.
    CallAndWriteParametrizedObject(std::optional<std::string> serviceName, ModelClassPtr modelClass,
                                   EntityClassPtr coreDataModelClass, foundation::Value parameters,
                                   bool isImportantCall);
    // As above with paging given.
    CallAndWriteParametrizedObject(std::optional<std::string> serviceName, ModelClassPtr modelClass,
                                   EntityClassPtr coreDataModelClass, foundation::Value parameters,
                                   bool isImportantCall, bool paginatedCall, int32_t itemsPerPage);
    // The feed form: not important, not paginated, 100 per page.
    static std::shared_ptr<CallAndWriteParametrizedObject> initWithXmlCall(
        std::optional<std::string> serviceName, ModelClassPtr modelClass, EntityClassPtr coreDataModelClass,
        bool isXmlCall, foundation::Value parameters);
    // Every field given; the block is copied.
    CallAndWriteParametrizedObject(std::optional<std::string> serviceName, ModelClassPtr modelClass,
                                   EntityClassPtr coreDataModelClass, foundation::Value parameters,
                                   bool isImportantCall, bool hasChilds, bool paginatedCall, int32_t itemsPerPage,
                                   bool isXmlCall, ChildBlock childsBlockWhenCompleted);

    // A relative service path, or the absolute feed address; nothing for a
    // feed call of a meeting without a feed.
    const std::optional<std::string>& serviceName() const { return serviceName_; }
    // Null for the feed call.
    const ModelClassPtr& modelClass() const { return modelClass_; }
    const EntityClassPtr& coreDataModelClass() const { return coreDataModelClass_; }
    // Query parameters; absent in every descriptor the API client makes.
    const foundation::Value& paramsDictionary() const { return paramsDictionary_; }
    bool importantCall() const { return importantCall_; }
    bool isAnXMLCall() const { return isAnXMLCall_; }
    bool hasChilds() const { return hasChilds_; }
    const ChildBlock& childBlock() const { return childBlock_; }
    void setChildBlock(ChildBlock block) { childBlock_ = std::move(block); }
    // Carried for the callers' sake; nothing reads them and the page size
    // is the service's.
    bool paginatedCall() const { return paginatedCall_; }
    int32_t itemsPerPage() const { return itemsPerPage_; }

    static constexpr const char* kClassName = "CallAndWriteParametrizedObject";
    std::string className() const override { return kClassName; }
    std::string description() const override;

private:
    std::optional<std::string> serviceName_;
    ModelClassPtr modelClass_;
    EntityClassPtr coreDataModelClass_;
    foundation::Value paramsDictionary_;
    bool importantCall_ = false;
    bool isAnXMLCall_ = false;
    bool hasChilds_ = false;
    ChildBlock childBlock_;
    bool paginatedCall_ = true;
    int32_t itemsPerPage_ = kDefaultItemsPerPage;
};

using CallAndWriteParametrizedObjectPtr = std::shared_ptr<CallAndWriteParametrizedObject>;
