// SHA-256 digests, through OpenSSL's libcrypto, written as 64 lower-case
// hexadecimal digits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace pack {

class Sha256 {
  public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Update(const std::uint8_t* data, std::size_t size);
    // The digest of everything updated so far; the object is spent after it.
    std::string HexDigest();

  private:
    struct Context;
    std::unique_ptr<Context> context_;
};

// The digest of a file's bytes. Throws PackError when it cannot be read.
std::string FileSha256(const std::filesystem::path& path);

}  // namespace pack
