#include "uninstall/file_digest.h"

#include <wincrypt.h>

#include <vector>

#include "uninstall/user_messages.h"

namespace {

constexpr DWORD ChunkSize = 64 * 1024;

// The provider and the hash object, released in reverse order.
struct HashState {
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;

    ~HashState()
    {
        if (hash != 0) {
            CryptDestroyHash(hash);
        }
        if (provider != 0) {
            CryptReleaseContext(provider, 0);
        }
    }
};

bool hashContents(HANDLE file, HCRYPTHASH hash)
{
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        return false;
    }
    std::vector<BYTE> chunk(ChunkSize);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, chunk.data(), ChunkSize, &read, nullptr)) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        if (!CryptHashData(hash, chunk.data(), read, 0)) {
            return false;
        }
    }
}

}  // namespace

std::optional<Sha256> sha256Of(HANDLE file, DWORD& error)
{
    HashState state;
    Sha256 digest{};
    DWORD length = static_cast<DWORD>(digest.size());
    if (!CryptAcquireContextW(&state.provider, nullptr, nullptr, PROV_RSA_AES,
                              CRYPT_VERIFYCONTEXT) ||
        !CryptCreateHash(state.provider, CALG_SHA_256, 0, 0, &state.hash) ||
        !hashContents(file, state.hash) ||
        !CryptGetHashParam(state.hash, HP_HASHVAL, digest.data(), &length, 0) ||
        length != digest.size()) {
        error = lastError();
        return std::nullopt;
    }
    return digest;
}
