#include "certificate.h"

#include <openssl/bio.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>

namespace ondrel::testsite {
namespace {

bool addExtension(X509* certificate, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (!extension) return false;
    bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return added;
}

std::string toPem(X509* certificate) {
    std::unique_ptr<BIO, int (*)(BIO*)> bio(BIO_new(BIO_s_mem()), BIO_free);
    if (!bio || PEM_write_bio_X509(bio.get(), certificate) != 1) return {};
    char* data = nullptr;
    long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, size_t(size));
}

}  // namespace

SelfSignedCertificate makeSelfSignedCertificate() {
    SelfSignedCertificate made;
    made.key.reset(EVP_EC_gen("P-256"));
    made.certificate.reset(X509_new());
    X509* cert = made.certificate.get();
    if (!made.key || !cert) return {};

    unsigned char serial[8];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7F;  // a positive serial number
    BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(number, X509_get_serialNumber(cert));
    BN_free(number);

    X509_set_version(cert, 2);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 7L * 24 * 3600);
    X509_set_pubkey(cert, made.key.get());
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    bool extended = addExtension(cert, NID_basic_constraints, "critical,CA:TRUE") &&
                    addExtension(cert, NID_key_usage, "critical,digitalSignature,keyCertSign") &&
                    addExtension(cert, NID_subject_key_identifier, "hash") &&
                    addExtension(cert, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    if (!extended || X509_sign(cert, made.key.get(), EVP_sha256()) == 0) return {};
    made.pem = toPem(cert);
    return made;
}

}  // namespace ondrel::testsite
