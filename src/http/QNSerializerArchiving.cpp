// The archive factories of every serializer class of the library.
#include "http/QNSerializerArchiving.h"

#include <mutex>

#include "foundation/KeyedArchiver.h"
#include "http/QNCompoundResponseSerializer.h"
#include "http/QNHTTPRequestSerializer.h"
#include "http/QNHTTPResponseSerializer.h"
#include "http/QNImageResponseSerializer.h"
#include "http/QNJSONRequestSerializer.h"
#include "http/QNJSONResponseSerializer.h"
#include "http/QNPropertyListRequestSerializer.h"
#include "http/QNPropertyListResponseSerializer.h"
#include "http/QNXMLParserResponseSerializer.h"

namespace {

template <class T>
void registerClass() {
    foundation::KeyedArchiver::registerClass(T::kClassName, [](foundation::KeyedUnarchiver& coder) {
        return foundation::ObjectPtr(T::initWithCoder(coder));
    });
}

}  // namespace

void QNRegisterSerializerArchiveClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        registerClass<QNHTTPRequestSerializer>();
        registerClass<QNJSONRequestSerializer>();
        registerClass<QNPropertyListRequestSerializer>();
        registerClass<QNHTTPResponseSerializer>();
        registerClass<QNJSONResponseSerializer>();
        registerClass<QNXMLParserResponseSerializer>();
        registerClass<QNPropertyListResponseSerializer>();
        registerClass<QNCompoundResponseSerializer>();
        registerClass<QNImageResponseSerializer>();
    });
}
