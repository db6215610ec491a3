// libFuzzer's entry for one target; the build names the target's header and namespace.
#include TARVOLINE_FUZZ_HEADER

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	TarvolineFuzz::TARVOLINE_FUZZ_NAMESPACE::FuzzOne(Data, Size);
	return 0;
}
