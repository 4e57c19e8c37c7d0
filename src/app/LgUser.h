// One row of the demo-row picker: its label (on the user-name screen also the
// user name it fills in) and the password or passcode it fills in.
#pragma once

#include <string>
#include <utility>

#include "foundation/Object.h"

class LgUser : public foundation::Object {
public:
    LgUser(std::string userName, std::string passWord) : userName_(std::move(userName)), passWord_(std::move(passWord)) {}

    const std::string& userName() const { return userName_; }
    void setUserName(std::string userName) { userName_ = std::move(userName); }
    const std::string& passWord() const { return passWord_; }
    void setPassWord(std::string passWord) { passWord_ = std::move(passWord); }

    std::string className() const override { return "LgUser"; }

private:
    std::string userName_;
    std::string passWord_;
};
