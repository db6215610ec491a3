#include "Tokens.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

namespace tvsim
{
std::string SignDownload(const std::string& Secret, const std::string& Path, std::int64_t ExpiresAt)
{
	const std::string Message = Path + "\n" + std::to_string(ExpiresAt);
	unsigned char Digest[EVP_MAX_MD_SIZE];
	unsigned int DigestLength = 0;
	HMAC(EVP_sha256(), Secret.data(), static_cast<int>(Secret.size()),
		reinterpret_cast<const unsigned char*>(Message.data()), Message.size(), Digest, &DigestLength);

	static const char Hex[] = "0123456789abcdef";
	std::string Out;
	for (unsigned int I = 0; I < DigestLength; ++I)
	{
		Out += Hex[Digest[I] >> 4];
		Out += Hex[Digest[I] & 0xf];
	}
	return Out;
}

bool CheckDownloadToken(const std::string& Secret, const std::string& Path, std::int64_t ExpiresAt,
	const std::string& Token)
{
	const std::string Expected = SignDownload(Secret, Path, ExpiresAt);
	return Token.size() == Expected.size() && CRYPTO_memcmp(Token.data(), Expected.data(), Token.size()) == 0;
}
} // namespace tvsim
