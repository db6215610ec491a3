// Every input the fuzzers ever kept, and their seed corpora, replayed through the same target bodies in every build:
// a fault a fuzzer found once stays fixed. A broken property aborts the test's process, naming the property.
#include <gtest/gtest.h>

#if TARVOLINE_FUZZ_HAS_JsonRecords
#include "JsonRecordsTarget.h"
#endif
#if TARVOLINE_FUZZ_HAS_FailureSentence
#include "FailureSentenceTarget.h"
#endif
#if TARVOLINE_FUZZ_HAS_AssetName
#include "AssetNameTarget.h"
#endif
#if TARVOLINE_FUZZ_HAS_IniFile
#include "IniFileTarget.h"
#endif
#if TARVOLINE_FUZZ_HAS_Printf
#include "PrintfTarget.h"
#endif
#if TARVOLINE_FUZZ_HAS_Utf8Text
#include "Utf8TextTarget.h"
#endif
#if TARVOLINE_FUZZ_HAS_Multipart
#include "MultipartTarget.h"
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
using FFuzzOne = void (*)(const uint8_t*, size_t);

/** Feeds every file of fuzz/corpus/<Target>/ and fuzz/regressions/<Target>/ to the body; returns how many. */
int ReplayAll(const char* Target, FFuzzOne FuzzOne)
{
	int Count = 0;
	for (const char* Kind : {"corpus", "regressions"})
	{
		const std::filesystem::path Folder = std::filesystem::path(TARVOLINE_FUZZ_DIR) / Kind / Target;
		if (!std::filesystem::is_directory(Folder))
		{
			continue;
		}
		std::vector<std::filesystem::path> Files;
		for (const auto& Entry : std::filesystem::directory_iterator(Folder))
		{
			if (Entry.is_regular_file())
			{
				Files.push_back(Entry.path());
			}
		}
		std::sort(Files.begin(), Files.end());
		for (const std::filesystem::path& File : Files)
		{
			std::ifstream Stream(File, std::ios::binary);
			const std::vector<char> Bytes((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
			// Written before the run, so that the file at fault is named if the body aborts.
			std::fprintf(stderr, "replaying %s\n", File.string().c_str());
			FuzzOne(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
			++Count;
		}
	}
	return Count;
}
} // namespace

#if TARVOLINE_FUZZ_HAS_JsonRecords
TEST(FuzzRegression, JsonRecords)
{
	EXPECT_GT(ReplayAll("json_records", &TarvolineFuzz::JsonRecords::FuzzOne), 0);
}
#endif

#if TARVOLINE_FUZZ_HAS_FailureSentence
TEST(FuzzRegression, FailureSentence)
{
	EXPECT_GT(ReplayAll("failure_sentence", &TarvolineFuzz::FailureSentence::FuzzOne), 0);
}
#endif

#if TARVOLINE_FUZZ_HAS_AssetName
TEST(FuzzRegression, AssetName)
{
	EXPECT_GT(ReplayAll("asset_name", &TarvolineFuzz::AssetName::FuzzOne), 0);
}
#endif

#if TARVOLINE_FUZZ_HAS_IniFile
TEST(FuzzRegression, IniFile)
{
	EXPECT_GT(ReplayAll("ini_file", &TarvolineFuzz::IniFile::FuzzOne), 0);
}
#endif

#if TARVOLINE_FUZZ_HAS_Printf
TEST(FuzzRegression, Printf)
{
	EXPECT_GT(ReplayAll("printf", &TarvolineFuzz::Printf::FuzzOne), 0);
}
#endif

#if TARVOLINE_FUZZ_HAS_Utf8Text
TEST(FuzzRegression, Utf8Text)
{
	EXPECT_GT(ReplayAll("utf8_text", &TarvolineFuzz::Utf8Text::FuzzOne), 0);
}
#endif

#if TARVOLINE_FUZZ_HAS_Multipart
TEST(FuzzRegression, Multipart)
{
	EXPECT_GT(ReplayAll("multipart", &TarvolineFuzz::Multipart::FuzzOne), 0);
}
#endif
