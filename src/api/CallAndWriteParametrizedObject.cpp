// Every form of the descriptor ends in the one that takes every field.
#include "api/CallAndWriteParametrizedObject.h"

#include "foundation/Format.h"

CallAndWriteParametrizedObject::CallAndWriteParametrizedObject(std::optional<std::string> serviceName,
                                                               ModelClassPtr modelClass,
                                                               EntityClassPtr coreDataModelClass,
                                                               foundation::Value parameters)
    : CallAndWriteParametrizedObject(std::move(serviceName), std::move(modelClass), std::move(coreDataModelClass),
                                     std::move(parameters), false) {}

CallAndWriteParametrizedObject::CallAndWriteParametrizedObject(std::optional<std::string> serviceName,
                                                               ModelClassPtr modelClass,
                                                               EntityClassPtr coreDataModelClass,
                                                               foundation::Value parameters, bool isImportantCall)
    : CallAndWriteParametrizedObject(std::move(serviceName), std::move(modelClass), std::move(coreDataModelClass),
                                     std::move(parameters), isImportantCall, true, kDefaultItemsPerPage) {}

CallAndWriteParametrizedObject::CallAndWriteParametrizedObject(std::optional<std::string> serviceName,
                                                               ModelClassPtr modelClass,
                                                               EntityClassPtr coreDataModelClass,
                                                               foundation::Value parameters, bool isImportantCall,
                                                               bool paginatedCall, int32_t itemsPerPage)
    : CallAndWriteParametrizedObject(std::move(serviceName), std::move(modelClass), std::move(coreDataModelClass),
                                     std::move(parameters), isImportantCall, false, paginatedCall, itemsPerPage,
                                     false, nullptr) {}

std::shared_ptr<CallAndWriteParametrizedObject> CallAndWriteParametrizedObject::initWithXmlCall(
    std::optional<std::string> serviceName, ModelClassPtr modelClass, EntityClassPtr coreDataModelClass,
    bool isXmlCall, foundation::Value parameters) {
    return std::make_shared<CallAndWriteParametrizedObject>(std::move(serviceName), std::move(modelClass),
                                                            std::move(coreDataModelClass), std::move(parameters),
                                                            false, false, false, kDefaultItemsPerPage, isXmlCall,
                                                            nullptr);
}

CallAndWriteParametrizedObject::CallAndWriteParametrizedObject(std::optional<std::string> serviceName,
                                                               ModelClassPtr modelClass,
                                                               EntityClassPtr coreDataModelClass,
                                                               foundation::Value parameters, bool isImportantCall,
                                                               bool hasChilds, bool paginatedCall,
                                                               int32_t itemsPerPage, bool isXmlCall,
                                                               ChildBlock childsBlockWhenCompleted)
    : serviceName_(std::move(serviceName)),
      modelClass_(std::move(modelClass)),
      coreDataModelClass_(std::move(coreDataModelClass)),
      paramsDictionary_(std::move(parameters)),
      importantCall_(isImportantCall),
      isAnXMLCall_(isXmlCall),
      hasChilds_(hasChilds),
      childBlock_(std::move(childsBlockWhenCompleted)),
      paginatedCall_(paginatedCall),
      itemsPerPage_(itemsPerPage) {}

std::string CallAndWriteParametrizedObject::description() const {
    return foundation::Format("<%@: %@ -> %@%@%@>", kClassName, serviceName_ ? *serviceName_ : std::string("(null)"),
                              coreDataModelClass_ ? coreDataModelClass_->name : std::string("(null)"),
                              importantCall_ ? ", important" : "", isAnXMLCall_ ? ", feed" : "");
}
