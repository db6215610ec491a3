// The sentence for a failed exchange: any status with any error body.
#pragma once

#include "FuzzSupport.h"

#include "Dom/JsonObject.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "TarvolineApi.h"

#include <cstring>

namespace TarvolineFuzz::FailureSentence
{
inline void FuzzOne(const uint8_t* Data, size_t Size)
{
	// The first four bytes are the status (so 0, negative and huge ones come up too), the rest is the body.
	int32 Status = 0;
	if (Size >= sizeof(Status))
	{
		std::memcpy(&Status, Data, sizeof(Status));
		Data += sizeof(Status);
		Size -= sizeof(Status);
	}
	const FString Body = TextFromUtf8(Data, Size);
	const FString Sentence = TarvolineApi::DescribeFailure(Status, Body);
	TARVOLINE_FUZZ_CHECK(!Sentence.IsEmpty(), "every failure has a sentence");

	// The service's own words win whenever it gave some; otherwise the sentence is one of ours.
	TSharedPtr<FJsonObject> Object;
	FString Detail;
	if (FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Body), Object) && Object.IsValid() &&
		Object->TryGetStringField(TEXT("detail"), Detail) && !Detail.IsEmpty())
	{
		TARVOLINE_FUZZ_CHECK(Sentence.Equals(Detail, ESearchCase::CaseSensitive), "the service's detail is shown as it is");
	}
	else if (Status != 0 && Status != 401 && Status != 402 && Status != 413 && Status != 429)
	{
		TARVOLINE_FUZZ_CHECK(Sentence.Contains(FString::Printf(TEXT(" %d. "), Status)), "the status is named");
	}
}
} // namespace TarvolineFuzz::FailureSentence
