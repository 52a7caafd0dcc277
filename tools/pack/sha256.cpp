#include "sha256.h"

#include <openssl/evp.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "pack_error.h"

namespace pack {

struct Sha256::Context {
    EVP_MD_CTX* md = EVP_MD_CTX_new();
    ~Context() { EVP_MD_CTX_free(md); }
};

Sha256::Sha256() : context_(std::make_unique<Context>()) {
    if (context_->md == nullptr || EVP_DigestInit_ex(context_->md, EVP_sha256(), nullptr) != 1) {
        throw PackError("cannot start a SHA-256 digest");
    }
}

Sha256::~Sha256() = default;

void Sha256::Update(const std::uint8_t* data, std::size_t size) {
    if (EVP_DigestUpdate(context_->md, data, size) != 1) {
        throw PackError("cannot compute a SHA-256 digest");
    }
}

std::string Sha256::HexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context_->md, digest, &length) != 1) {
        throw PackError("cannot compute a SHA-256 digest");
    }
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", digest[i]);
        hex += digits;
    }
    return hex;
}

std::string FileSha256(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw PackError("cannot read " + path.string());
    }
    Sha256 sha;
    std::vector<char> buffer(1 << 16);
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
        sha.Update(reinterpret_cast<const std::uint8_t*>(buffer.data()),
                   static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        throw PackError("cannot read " + path.string());
    }
    return sha.HexDigest();
}

}  // namespace pack
