// The check every fuzz target makes on its properties. A target's body lives in a header of its own (FuzzOne) so
// that the fuzzer and the regression test run the very same code on an input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Aborts, so that libFuzzer keeps the input as a finding and a replayed regression fails its test.
#define TARVOLINE_FUZZ_CHECK(Condition, Message) \
	do \
	{ \
		if (!(Condition)) \
		{ \
			std::fprintf(stderr, "fuzz property broken: %s (%s:%d)\n", Message, __FILE__, __LINE__); \
			std::abort(); \
		} \
	} while (0)
