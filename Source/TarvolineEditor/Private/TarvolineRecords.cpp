// Lenient reading of the service's records: a missing or mistyped member leaves its field at the default, and
// reading never fails. Numbers arrive as doubles; int32 fields truncate toward zero.

#include "TarvolineRecords.h"

#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"

namespace
{
FString ReadText(const FJsonObject& Object, const TCHAR* Name)
{
	FString Value;
	Object.TryGetStringField(Name, Value);
	return Value;
}

double ReadNumber(const FJsonObject& Object, const TCHAR* Name)
{
	// The double accessor, not the int32 one: the engine's int32 read rounds (12.9 would become 13).
	double Value = 0.0;
	Object.TryGetNumberField(Name, Value);
	return Value;
}

int32 TruncateToInt32(double Value)
{
	// Out-of-range and NaN values saturate instead of being undefined casts.
	if (!(Value == Value))
	{
		return 0;
	}
	if (Value >= 2147483647.0)
	{
		return MAX_int32;
	}
	if (Value <= -2147483648.0)
	{
		return MIN_int32;
	}
	return static_cast<int32>(Value);
}

float RoundToFloat(double Value)
{
	if (Value > 3.402823466e+38)
	{
		return 3.402823466e+38f;
	}
	if (Value < -3.402823466e+38)
	{
		return -3.402823466e+38f;
	}
	return static_cast<float>(Value);
}

bool ReadBool(const FJsonObject& Object, const TCHAR* Name)
{
	bool bValue = false;
	Object.TryGetBoolField(Name, bValue);
	return bValue;
}

const TArray<TSharedPtr<FJsonValue>>* ReadArray(const FJsonObject& Object, const TCHAR* Name)
{
	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	return Object.TryGetArrayField(Name, Array) ? Array : nullptr;
}
}

bool FTarvolineCharacter::IsRigging() const
{
	return Status.Equals(TEXT("pending"), ESearchCase::IgnoreCase) || Status.Equals(TEXT("processing"), ESearchCase::IgnoreCase);
}

bool FTarvolineJob::IsActive() const
{
	return Status.Equals(TEXT("queued"), ESearchCase::IgnoreCase) || Status.Equals(TEXT("running"), ESearchCase::IgnoreCase);
}

namespace TarvolineApi
{
TSharedRef<FJsonObject> ObjectOf(const TSharedPtr<FJsonValue>& Value)
{
	// TryGetObject rather than AsObject: the latter logs an error for a non-object, which would fail a commandlet run.
	const TSharedPtr<FJsonObject>* Object = nullptr;
	if (Value.IsValid() && Value->TryGetObject(Object) && Object != nullptr && Object->IsValid())
	{
		return Object->ToSharedRef();
	}
	return MakeShared<FJsonObject>();
}

FTarvolineAccount ReadAccount(const FJsonObject& Object)
{
	FTarvolineAccount Account;
	Account.Email = ReadText(Object, TEXT("email"));
	Account.Credits = TruncateToInt32(ReadNumber(Object, TEXT("credits")));
	return Account;
}

FTarvolineCharacter ReadCharacter(const FJsonObject& Object)
{
	FTarvolineCharacter Character;
	Character.Id = ReadText(Object, TEXT("id"));
	Character.Filename = ReadText(Object, TEXT("filename"));
	Character.Status = ReadText(Object, TEXT("status"));
	Character.Error = ReadText(Object, TEXT("error"));
	Character.Family = ReadText(Object, TEXT("family"));
	if (Character.Family.IsEmpty())
	{
		Character.Family = TEXT("humanoid");
	}
	return Character;
}

TArray<FTarvolineCharacter> ReadCharacterList(const TSharedPtr<FJsonValue>& Value)
{
	TArray<FTarvolineCharacter> Characters;
	const TArray<TSharedPtr<FJsonValue>>* Elements = nullptr;
	if (Value.IsValid() && Value->TryGetArray(Elements) && Elements != nullptr)
	{
		Characters.Reserve(Elements->Num());
		for (const TSharedPtr<FJsonValue>& Element : *Elements)
		{
			Characters.Add(ReadCharacter(*ObjectOf(Element)));
		}
	}
	return Characters;
}

FString MakeSegmentLabel(const FString& Primitive, double Seconds)
{
	FString Cleaned = Primitive;
	Cleaned.RemoveFromStart(TEXT("quad_"), ESearchCase::IgnoreCase);
	Cleaned.ReplaceInline(TEXT("_"), TEXT(" "));
	return FString::Printf(TEXT("%s %.1f s"), *Cleaned, Seconds);
}

FTarvolinePlan ReadPlan(const FJsonObject& Object)
{
	FTarvolinePlan Plan;
	Plan.Cost = TruncateToInt32(ReadNumber(Object, TEXT("cost")));
	Plan.Balance = TruncateToInt32(ReadNumber(Object, TEXT("balance")));
	Plan.Affordable = ReadBool(Object, TEXT("affordable"));

	const TSharedPtr<FJsonObject>* Script = nullptr;
	if (Object.TryGetObjectField(TEXT("script"), Script) && Script != nullptr && Script->IsValid())
	{
		if (const TArray<TSharedPtr<FJsonValue>>* Segments = ReadArray(**Script, TEXT("segments")))
		{
			for (const TSharedPtr<FJsonValue>& Element : *Segments)
			{
				const TSharedRef<FJsonObject> Segment = ObjectOf(Element);
				Plan.Segments.Add(MakeSegmentLabel(ReadText(*Segment, TEXT("primitive")), ReadNumber(*Segment, TEXT("seconds"))));
			}
		}
	}

	if (const TArray<TSharedPtr<FJsonValue>>* Notes = ReadArray(Object, TEXT("notes")))
	{
		for (const TSharedPtr<FJsonValue>& Element : *Notes)
		{
			// Read as text without the error log AsString writes for a non-text element.
			FString Note;
			if (Element.IsValid())
			{
				Element->TryGetString(Note);
			}
			Plan.Notes.Add(Note);
		}
	}
	return Plan;
}

FTarvolineJob ReadJob(const FJsonObject& Object)
{
	FTarvolineJob Job;
	Job.Id = ReadText(Object, TEXT("id"));
	Job.Status = ReadText(Object, TEXT("status"));
	Job.Stage = ReadText(Object, TEXT("stage"));
	Job.Prompt = ReadText(Object, TEXT("prompt"));
	Job.Error = ReadText(Object, TEXT("error"));
	Job.AssetId = ReadText(Object, TEXT("assetId"));
	Job.FallbackFrom = ReadText(Object, TEXT("fallbackFrom"));
	Job.Progress = RoundToFloat(ReadNumber(Object, TEXT("progress")));
	Job.DurationSeconds = RoundToFloat(ReadNumber(Object, TEXT("durationSeconds")));
	Job.CreditsCost = TruncateToInt32(ReadNumber(Object, TEXT("creditsCost")));
	Job.CreditsRefunded = ReadBool(Object, TEXT("creditsRefunded"));
	if (const TArray<TSharedPtr<FJsonValue>>* Outputs = ReadArray(Object, TEXT("outputs")))
	{
		for (const TSharedPtr<FJsonValue>& Element : *Outputs)
		{
			const TSharedRef<FJsonObject> Output = ObjectOf(Element);
			FTarvolineJobOutput& Added = Job.Outputs.AddDefaulted_GetRef();
			Added.Kind = ReadText(*Output, TEXT("kind"));
			Added.Url = ReadText(*Output, TEXT("url"));
		}
	}
	return Job;
}
}
