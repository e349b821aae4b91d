#pragma once
// A self-signed certificate for 127.0.0.1 and localhost, made at run time.
#include <memory>
#include <string>

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace ondrel::testsite {

struct SelfSignedCertificate {
    std::unique_ptr<X509, void (*)(X509*)> certificate{nullptr, X509_free};
    std::unique_ptr<EVP_PKEY, void (*)(EVP_PKEY*)> key{nullptr, EVP_PKEY_free};
    std::string pem;  // the certificate in PEM form
};

// A P-256 key and a certificate valid for a week that is its own authority, so a client that
// verifies can trust it by its PEM file. Empty pointers when OpenSSL fails.
SelfSignedCertificate makeSelfSignedCertificate();

}  // namespace ondrel::testsite
