// A certificate authority made at run time for tests of TLS: an EC key and
// a self-signed CA certificate, and a server certificate it signs for
// "localhost" and 127.0.0.1 (both in the subject alternative names), each
// written as PEM into a fresh temporary folder that the destructor removes.
// A test trusts the authority by pointing SSL_CERT_FILE at caFile() (see
// ScopedTrust) and serves with serverCertificateFile()/serverKeyFile(). For
// negative tests it also makes a self-signed server certificate that no
// authority vouches for. Certificates are valid from an hour ago for a year,
// counted from the moment they are made.
#pragma once

#include <optional>
#include <string>

namespace testservice {

class TestCertificateAuthority {
public:
    struct Files {
        std::string certificate;
        std::string key;
    };

    // Makes everything at once; valid() says whether OpenSSL managed.
    TestCertificateAuthority();
    ~TestCertificateAuthority();
    TestCertificateAuthority(const TestCertificateAuthority&) = delete;
    TestCertificateAuthority& operator=(const TestCertificateAuthority&) = delete;

    bool valid() const { return valid_; }
    const std::string& directory() const { return directory_; }
    const std::string& caFile() const { return caFile_; }
    const std::string& serverCertificateFile() const { return server_.certificate; }
    const std::string& serverKeyFile() const { return server_.key; }
    // A server certificate for the same names, signed by its own key only.
    std::optional<Files> makeUntrustedServerCertificate();
    // A server certificate the authority signs for other names only, given as
    // subject alternative names ("DNS:meetings.example,IP:10.0.0.1").
    std::optional<Files> makeServerCertificateFor(const std::string& names);

    // Sets SSL_CERT_FILE for its own life and puts back what was there.
    class ScopedTrust {
    public:
        explicit ScopedTrust(const std::string& caFile);
        ~ScopedTrust();
        ScopedTrust(const ScopedTrust&) = delete;
        ScopedTrust& operator=(const ScopedTrust&) = delete;

    private:
        std::optional<std::string> previous_;
    };

private:
    std::string directory_;
    std::string caFile_;
    Files server_;
    bool valid_ = false;
    int untrustedCount_ = 0;
    int namedCount_ = 0;
    struct Keys;
    Keys* keys_ = nullptr;
};

}  // namespace testservice
