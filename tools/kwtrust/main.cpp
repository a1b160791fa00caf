// Makes a test root certificate trusted, or no longer trusted, by the
// machine, as an administrator does for a company's own root:
//   kwtrust add CERT.pem      adds it to the machine's Root store
//   kwtrust remove CERT.pem   takes it out again
// Exit code 0 on success, 1 on failure, 2 on a bad command line.
#include <windows.h>

#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The DER bytes of the first certificate of a PEM file; empty when none.
std::vector<BYTE> ReadCertificate(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::string pem = text.str();
    DWORD size = 0;
    if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr))
        return {};
    std::vector<BYTE> der(size);
    if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr))
        return {};
    der.resize(size);
    return der;
}

class Store {
public:
    Store() : m_store(CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "ROOT")) {}
    ~Store()
    {
        if (m_store != nullptr)
            CertCloseStore(m_store, 0);
    }
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;
    HCERTSTORE Get() const { return m_store; }

private:
    HCERTSTORE m_store;
};

bool Add(const Store& store, const std::vector<BYTE>& der)
{
    return CertAddEncodedCertificateToStore(store.Get(), X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()),
                                            CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
}

bool Remove(const Store& store, const std::vector<BYTE>& der)
{
    PCCERT_CONTEXT wanted = CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
    if (wanted == nullptr)
        return false;
    PCCERT_CONTEXT found =
        CertFindCertificateInStore(store.Get(), X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, wanted, nullptr);
    CertFreeCertificateContext(wanted);
    // Deleting frees the context, whatever the outcome; none found is done.
    return found == nullptr || CertDeleteCertificateFromStore(found) != FALSE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::string(argv[1]) != "add" && std::string(argv[1]) != "remove")) {
        std::fprintf(stderr, "usage: kwtrust add|remove CERT.pem\n");
        return 2;
    }
    std::vector<BYTE> der = ReadCertificate(argv[2]);
    if (der.empty()) {
        std::fprintf(stderr, "kwtrust: no certificate in %s\n", argv[2]);
        return 1;
    }
    Store store;
    if (store.Get() == nullptr) {
        std::fprintf(stderr, "kwtrust: cannot open the machine's Root store: error %lu\n", GetLastError());
        return 1;
    }
    bool done = std::string(argv[1]) == "add" ? Add(store, der) : Remove(store, der);
    if (!done)
        std::fprintf(stderr, "kwtrust: %s failed: error %lu\n", argv[1], GetLastError());
    return done ? 0 : 1;
}
