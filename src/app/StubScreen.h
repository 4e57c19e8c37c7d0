// What a screen that stands in for one not built yet carries: the calls it
// received, in order, each as its operation name with its arguments, so that
// tests can read them and the screen dump shows them ("stub" and "calls").
#pragma once

#include <string>
#include <utility>
#include <vector>

class StubScreen {
public:
    virtual ~StubScreen() = default;

    const std::vector<std::string>& recordedCalls() const { return recordedCalls_; }
    // The last call recorded, or empty.
    std::string lastRecordedCall() const { return recordedCalls_.empty() ? std::string() : recordedCalls_.back(); }
    void recordCall(std::string call) { recordedCalls_.push_back(std::move(call)); }

protected:
    // The dump's items: the stand-in's class, then the calls joined by "; ".
    std::vector<std::pair<std::string, std::string>> stubDescriptionItems(const std::string& className) const;

private:
    std::vector<std::string> recordedCalls_;
};
