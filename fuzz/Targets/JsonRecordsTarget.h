// The service's answers: the JSON reader on any text, then every lenient record reader on whatever it made of it.
#pragma once

#include "FuzzSupport.h"

#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"
#include "TarvolineRecords.h"

namespace TarvolineFuzz::JsonRecords
{
inline FString Write(const TSharedPtr<FJsonValue>& Value)
{
	FString Text;
	const TSharedRef<TJsonWriter<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>> Writer =
		TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&Text);
	FJsonSerializer::Serialize(Value, FString(), Writer);
	return Text;
}

inline void FuzzOne(const uint8_t* Data, size_t Size)
{
	const FString Body = TextFromUtf8(Data, Size);
	TSharedPtr<FJsonValue> Value;
	const bool bParsed = FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Body), Value);

	// Reading a record never fails, whatever the answer was (no value at all included).
	const TSharedRef<FJsonObject> Object = TarvolineApi::ObjectOf(bParsed ? Value : TSharedPtr<FJsonValue>());
	TarvolineApi::ReadAccount(*Object);
	TarvolineApi::ReadPlan(*Object);
	const FTarvolineJob Job = TarvolineApi::ReadJob(*Object);
	Job.IsActive();
	const FTarvolineCharacter Character = TarvolineApi::ReadCharacter(*Object);
	TARVOLINE_FUZZ_CHECK(!Character.Family.IsEmpty(), "a character always has a family");
	Character.IsRigging();
	const TArray<FTarvolineCharacter> Characters = TarvolineApi::ReadCharacterList(bParsed ? Value : nullptr);
	if (!bParsed)
	{
		TARVOLINE_FUZZ_CHECK(Characters.Num() == 0, "no answer reads as an empty list");
		return;
	}
	TARVOLINE_FUZZ_CHECK(Value.IsValid(), "a parsed answer has a value");
	TARVOLINE_FUZZ_CHECK(Value->Type == EJson::Object || Value->Type == EJson::Array,
		"only an object or an array is a document");

	// What the reader accepted, the writer can write and the reader reads back to the same text.
	const FString Written = Write(Value);
	TSharedPtr<FJsonValue> Again;
	TARVOLINE_FUZZ_CHECK(FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Written), Again) && Again.IsValid(),
		"written JSON reads back");
	TARVOLINE_FUZZ_CHECK(Write(Again).Equals(Written, ESearchCase::CaseSensitive), "writing what was read back gives the same text");
}
} // namespace TarvolineFuzz::JsonRecords
