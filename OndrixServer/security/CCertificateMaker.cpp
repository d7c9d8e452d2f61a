#include "security/CCertificateMaker.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>

#include <memory>

namespace {

// Clients pin the certificate, never check its dates: it outlives the
// machine rather than stop a server one day.
constexpr long VALID_SECONDS = 100L * 365 * 24 * 3600;
constexpr int SERIAL_BITS = 64;

template <typename T, void (*Free)(T*)>
struct FREER
{
    void operator()(T* p) const { Free(p); }
};
using KEY = std::unique_ptr<EVP_PKEY, FREER<EVP_PKEY, EVP_PKEY_free>>;
using CERTIFICATE = std::unique_ptr<X509, FREER<X509, X509_free>>;
using MEMORY = std::unique_ptr<BIO, FREER<BIO, BIO_free_all>>;
using NUMBER = std::unique_ptr<BIGNUM, FREER<BIGNUM, BN_free>>;

QString LibraryError(const char* what)
{
    const unsigned long code = ERR_get_error();
    char text[256] = {};
    if (code != 0)
        ERR_error_string_n(code, text, sizeof text);
    ERR_clear_error();
    return QStringLiteral("cannot %1: %2")
        .arg(QLatin1String(what), code != 0 ? QLatin1String(text) : QLatin1String("unknown error"));
}

QByteArray Drain(BIO* bio)
{
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return size > 0 ? QByteArray(data, qsizetype(size)) : QByteArray();
}

bool SetSerial(X509* certificate)
{
    NUMBER serial(BN_new());
    return serial && BN_rand(serial.get(), SERIAL_BITS, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) == 1
        && BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(certificate)) != nullptr;
}

bool Describe(X509* certificate, EVP_PKEY* key, const QByteArray& name)
{
    X509_NAME* subject = X509_get_subject_name(certificate);
    return X509_set_version(certificate, 2) == 1 && SetSerial(certificate)
        && X509_gmtime_adj(X509_getm_notBefore(certificate), 0) != nullptr
        && X509_gmtime_adj(X509_getm_notAfter(certificate), VALID_SECONDS) != nullptr
        && X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8,
               reinterpret_cast<const unsigned char*>(name.constData()), int(name.size()), -1, 0)
        == 1
        && X509_set_issuer_name(certificate, subject) == 1 && X509_set_pubkey(certificate, key) == 1
        && X509_sign(certificate, key, EVP_sha256()) > 0;
}

} // namespace

bool CCertificateMaker::Make(const QString& commonName, IDENTITY_PEM& pem, QString& error)
{
    KEY key(EVP_EC_gen("P-256"));
    if (!key) {
        error = LibraryError("make a key");
        return false;
    }
    CERTIFICATE certificate(X509_new());
    if (!certificate || !Describe(certificate.get(), key.get(), commonName.toUtf8().left(64))) {
        error = LibraryError("make a certificate");
        return false;
    }
    MEMORY keyOut(BIO_new(BIO_s_mem()));
    MEMORY certificateOut(BIO_new(BIO_s_mem()));
    if (!keyOut || !certificateOut
        || PEM_write_bio_PrivateKey(keyOut.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1
        || PEM_write_bio_X509(certificateOut.get(), certificate.get()) != 1) {
        error = LibraryError("write the identity");
        return false;
    }
    pem.key = Drain(keyOut.get());
    pem.certificate = Drain(certificateOut.get());
    return true;
}
