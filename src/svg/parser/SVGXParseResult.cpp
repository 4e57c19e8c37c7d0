// The add operations: one log line each, then the error joins its list.
#include "svg/parser/SVGXParseResult.h"

#include "foundation/Log.h"

namespace svg {

void SVGXParseResult::addSourceError(const foundation::ErrorPtr& error) {
    foundation::Log("[%@] SVG ERROR: %@", className(), error);
    errorsRecoverable_.push_back(error);
}

void SVGXParseResult::addParseWarning(const foundation::ErrorPtr& error) {
    foundation::Log("[%@] SVG WARNING: %@", className(), error);
    warnings_.push_back(error);
}

void SVGXParseResult::addParseErrorRecoverable(const foundation::ErrorPtr& error) {
    foundation::Log("[%@] SVG WARNING (recoverable): %@", className(), error);
    errorsRecoverable_.push_back(error);
}

void SVGXParseResult::addParseErrorFatal(const foundation::ErrorPtr& error) {
    foundation::Log("[%@] SVG ERROR: %@", className(), error);
    errorsFatal_.push_back(error);
}

void SVGXParseResult::addSAXError(const foundation::ErrorPtr& error) {
    foundation::Log("[%@] SVG ERROR: %@", className(), error ? error->localizedDescription() : std::string("(null)"));
    errorsFatal_.push_back(error);
}

}  // namespace svg
