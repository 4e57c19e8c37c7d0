// A chain made at run time for the trust tests: root, intermediate, and a
// server leaf for the names given ("IP:127.0.0.1", "DNS:other.quovana.test"),
// as DER and as PEM files (root; leaf and intermediate; the leaf's key) in a
// temporary folder the destructor removes.
#pragma once

#include <string>

#include "foundation/Data.h"

struct TestCertificateChain {
    explicit TestCertificateChain(const std::string& leafNames = "IP:127.0.0.1");
    ~TestCertificateChain();
    TestCertificateChain(const TestCertificateChain&) = delete;
    TestCertificateChain& operator=(const TestCertificateChain&) = delete;

    bool valid = false;
    std::string directory;
    foundation::Data root, intermediate, leaf;
    std::string rootFile, serverChainFile, serverKeyFile;
};
