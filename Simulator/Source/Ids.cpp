#include "Ids.h"

#include <mutex>
#include <random>

namespace tvsim
{
std::string RandomHex(std::size_t Bytes)
{
	static std::mutex Mutex;
	static std::mt19937_64 Engine{[] {
		std::random_device Device;
		std::seed_seq Seed{Device(), Device(), Device(), Device(), Device(), Device()};
		return std::mt19937_64(Seed);
	}()};
	static const char Digits[] = "0123456789abcdef";

	std::string Out;
	Out.reserve(Bytes * 2);
	std::lock_guard Lock(Mutex);
	for (std::size_t I = 0; I < Bytes; ++I)
	{
		const auto Byte = static_cast<unsigned>(Engine() & 0xffu);
		Out += Digits[Byte >> 4];
		Out += Digits[Byte & 0xfu];
	}
	return Out;
}

std::string NewId()
{
	return RandomHex(8);
}
} // namespace tvsim
