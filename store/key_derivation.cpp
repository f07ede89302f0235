// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/key_derivation.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <fstream>
#include <future>
#include <map>
#include <mutex>
#include <utility>

namespace qir::store {
namespace {

// The engine's key derivation: PBKDF2 with HMAC-SHA1, 64,000 rounds, a 32-byte key.
constexpr int kKdfIterations = 64000;
constexpr int kKeyBytes = 32;

std::string derive(const std::string& salt, const std::string& password) {
    unsigned char key[kKeyBytes] = {};
    PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()),
                           reinterpret_cast<const unsigned char*>(salt.data()),
                           static_cast<int>(salt.size()), kKdfIterations, kKeyBytes, key);
    static const char* kHex = "0123456789ABCDEF";
    std::string text = "x'";
    for (const unsigned char byte : key) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0f];
    }
    text += '\'';
    return text;
}

class KeyMemo {
  public:
    static KeyMemo& instance() {
        static KeyMemo memo;
        return memo;
    }

    std::shared_future<std::string> key(const std::string& salt, const std::string& password,
                                        std::launch policy) {
        std::lock_guard lock(mutex_);
        auto& entry = keys_[{salt, password}];
        if (!entry.valid()) {
            entry = std::async(policy, derive, salt, password).share();
        }
        return entry;
    }

    std::optional<int> pageSize(const std::string& salt) {
        std::lock_guard lock(mutex_);
        const auto found = pageSizes_.find(salt);
        return found == pageSizes_.end() ? std::nullopt : std::optional<int>(found->second);
    }
    void setPageSize(const std::string& salt, int size) {
        std::lock_guard lock(mutex_);
        pageSizes_[salt] = size;
    }

  private:
    // The crypto library frees its state from an exit handler. Initialised before the memo is
    // made, its handler runs after the memo's destructor, which waits for the derivations still
    // under way: a program that ends during one does not pull the library from under it.
    // (Asked for nothing, the library would return at once without registering anything.)
    KeyMemo() { OPENSSL_init_crypto(OPENSSL_INIT_ADD_ALL_DIGESTS, nullptr); }

    std::mutex mutex_;
    std::map<std::pair<std::string, std::string>, std::shared_future<std::string>> keys_;
    std::map<std::string, int> pageSizes_;
};

}  // namespace

std::optional<std::string> readSalt(const std::filesystem::path& path) {
    std::string salt(kSaltBytes, '\0');
    std::ifstream in(path, std::ios::binary);
    if (!in.read(salt.data(), static_cast<std::streamsize>(salt.size()))) {
        return std::nullopt;
    }
    return salt;
}

std::string rawKey(std::string_view salt, std::string_view password) {
    // A derivation already under way is waited for; otherwise it runs here.
    return KeyMemo::instance()
        .key(std::string(salt), std::string(password), std::launch::deferred)
        .get();
}

void deriveKeyAhead(const std::filesystem::path& path, std::string_view password) {
    if (const auto salt = readSalt(path)) {
        try {
            KeyMemo::instance().key(*salt, std::string(password), std::launch::async);
        } catch (const std::system_error&) {
            // No thread to be had: the first open derives the key itself.
        }
    }
}

std::optional<int> knownPageSize(std::string_view salt) {
    return KeyMemo::instance().pageSize(std::string(salt));
}

void rememberPageSize(std::string_view salt, int pageSize) {
    KeyMemo::instance().setPageSize(std::string(salt), pageSize);
}

}  // namespace qir::store
