// Any bytes given to the unarchiver give a value or nothing, never a crash or
// a throw; whatever it reads archives again to the same bytes after one more
// round (the first round may drop duplicate keys).
#include <cstdint>
#include <cstdlib>

#include "foundation/KeyedArchiver.h"

using namespace foundation;

namespace {

class Node : public Coding {
public:
    Value name;
    int32_t level = 0;
    bool flag = false;
    std::vector<std::shared_ptr<Node>> children;
    std::string className() const override { return "FuzzNode"; }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        coder.encodeObject(name, "name");
        coder.encodeInt32(level, "level");
        coder.encodeBool(flag, "flag");
        coder.encodeObjects(children, "children");
    }
};

const bool registered = [] {
    KeyedArchiver::registerClass("FuzzNode", [](KeyedUnarchiver& coder) {
        auto node = std::make_shared<Node>();
        node->name = coder.decodeObjectForKey("name");
        node->level = coder.decodeInt32ForKey("level");
        node->flag = coder.decodeBoolForKey("flag");
        node->children = coder.decodeArrayOfObjectsOfClass<Node>("children");
        return node;
    });
    return true;
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    (void)registered;
    Value v = KeyedUnarchiver::unarchiveValueWithData(Data(bytes, size));
    if (v.isAbsent()) return 0;
    Data once = KeyedArchiver::archivedDataWithRootObject(v);
    Value again = KeyedUnarchiver::unarchiveValueWithData(once);
    if (again.isAbsent()) std::abort();
    if (KeyedArchiver::archivedDataWithRootObject(again) != once) std::abort();
    return 0;
}
