// The value kinds' conversions. The integer and float readings of a number are range-checked and rounded here once,
// for every kind that can give a double.
#include "Dom/JsonValue.h"
#include "Dom/JsonObject.h"
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace
{
/** What the As* readers hand out for a value of the wrong kind; made on first use, so static initializers may read. */
const TArray<TSharedPtr<FJsonValue>>& EmptyArray()
{
	static const TArray<TSharedPtr<FJsonValue>> Empty;
	return Empty;
}

const TSharedPtr<FJsonObject>& EmptyObject()
{
	static const TSharedPtr<FJsonObject> Empty = MakeShared<FJsonObject>();
	return Empty;
}

/**
 * The double rounded half away from zero, when it lies within T's range (NaN never does): 12.9 gives 13, and
 * 2147483647.3 is refused for int32 as being above its maximum.
 */
template <typename T>
bool TryConvertNumber(const FJsonValue& Value, T& OutNumber)
{
	double Number = 0.0;
	if (!Value.TryGetNumber(Number))
	{
		return false;
	}
	// The maximum of a 64-bit type rounds up to 2^63 or 2^64 as a double, which no longer fits: exclude it.
	constexpr double Lowest = (double)std::numeric_limits<T>::lowest();
	constexpr double Max = (double)std::numeric_limits<T>::max();
	constexpr double PastMax = (double)(std::numeric_limits<T>::max() / 2 + 1) * 2.0;
	if (!(Number >= Lowest && Number <= Max && Number < PastMax))
	{
		return false;
	}
	OutNumber = (T)std::round(Number);
	return true;
}

/** The whole text as a T (integers: digits with an optional '-'; floating: a number in JSON's own form or more). */
template <typename T>
bool ParseWholeText(const FString& Text, T& OutNumber)
{
	std::string Narrow;
	Narrow.reserve(Text.Len());
	for (TCHAR Char : Text)
	{
		if (Char > 0x7f)
		{
			return false;
		}
		Narrow.push_back((char)Char);
	}
	T Parsed{};
	const char* const End = Narrow.data() + Narrow.size();
	const std::from_chars_result Result = std::from_chars(Narrow.data(), End, Parsed);
	if (Result.ec != std::errc() || Result.ptr != End || Narrow.empty())
	{
		return false;
	}
	OutNumber = Parsed;
	return true;
}
} // namespace

double FJsonValue::AsNumber() const
{
	double Number = 0.0;
	if (!TryGetNumber(Number))
	{
		ErrorMessage(TEXT("Number"));
	}
	return Number;
}

FString FJsonValue::AsString() const
{
	FString String;
	if (!TryGetString(String))
	{
		ErrorMessage(TEXT("String"));
	}
	return String;
}

bool FJsonValue::AsBool() const
{
	bool Bool = false;
	if (!TryGetBool(Bool))
	{
		ErrorMessage(TEXT("Boolean"));
	}
	return Bool;
}

const TArray<TSharedPtr<FJsonValue>>& FJsonValue::AsArray() const
{
	const TArray<TSharedPtr<FJsonValue>>* Array = &EmptyArray();
	if (!TryGetArray(Array))
	{
		ErrorMessage(TEXT("Array"));
	}
	return *Array;
}

const TSharedPtr<FJsonObject>& FJsonValue::AsObject() const
{
	const TSharedPtr<FJsonObject>* Object = &EmptyObject();
	if (!TryGetObject(Object))
	{
		ErrorMessage(TEXT("Object"));
	}
	return *Object;
}

bool FJsonValue::TryGetNumber(float& OutNumber) const
{
	double Number = 0.0;
	if (TryGetNumber(Number) && Number >= -(double)std::numeric_limits<float>::max() &&
		Number <= (double)std::numeric_limits<float>::max())
	{
		OutNumber = (float)Number;
		return true;
	}
	return false;
}

bool FJsonValue::TryGetNumber(int8& OutNumber) const
{
	return TryConvertNumber(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(int16& OutNumber) const
{
	return TryConvertNumber(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(int32& OutNumber) const
{
	return TryConvertNumber(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(int64& OutNumber) const
{
	return TryConvertNumber(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(uint8& OutNumber) const
{
	return TryConvertNumber(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(uint16& OutNumber) const
{
	return TryConvertNumber(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(uint32& OutNumber) const
{
	return TryConvertNumber(*this, OutNumber);
}

bool FJsonValue::TryGetNumber(uint64& OutNumber) const
{
	return TryConvertNumber(*this, OutNumber);
}

bool FJsonValue::CompareEqual(const FJsonValue& Lhs, const FJsonValue& Rhs)
{
	if (Lhs.Type != Rhs.Type)
	{
		return false;
	}
	switch (Lhs.Type)
	{
		case EJson::None:
		case EJson::Null:
			return true;
		case EJson::String:
			return Lhs.AsString().Equals(Rhs.AsString(), ESearchCase::CaseSensitive);
		case EJson::Number:
			return Lhs.AsNumber() == Rhs.AsNumber();
		case EJson::Boolean:
			return Lhs.AsBool() == Rhs.AsBool();
		case EJson::Array:
		{
			const TArray<TSharedPtr<FJsonValue>>& LhsArray = Lhs.AsArray();
			const TArray<TSharedPtr<FJsonValue>>& RhsArray = Rhs.AsArray();
			if (LhsArray.Num() != RhsArray.Num())
			{
				return false;
			}
			for (int32 Index = 0; Index < LhsArray.Num(); ++Index)
			{
				if (!LhsArray[Index].IsValid() || !RhsArray[Index].IsValid())
				{
					if (LhsArray[Index].IsValid() != RhsArray[Index].IsValid())
					{
						return false;
					}
				}
				else if (!CompareEqual(*LhsArray[Index], *RhsArray[Index]))
				{
					return false;
				}
			}
			return true;
		}
		case EJson::Object:
		{
			const TSharedPtr<FJsonObject>& LhsObject = Lhs.AsObject();
			const TSharedPtr<FJsonObject>& RhsObject = Rhs.AsObject();
			if (!LhsObject.IsValid() || !RhsObject.IsValid())
			{
				return LhsObject.IsValid() == RhsObject.IsValid();
			}
			if (LhsObject->Values.Num() != RhsObject->Values.Num())
			{
				return false;
			}
			for (const auto& Pair : LhsObject->Values)
			{
				const TSharedPtr<FJsonValue>* Other = RhsObject->Values.Find(Pair.Key);
				if (Other == nullptr || Pair.Value.IsValid() != Other->IsValid())
				{
					return false;
				}
				if (Pair.Value.IsValid() && !CompareEqual(*Pair.Value, **Other))
				{
					return false;
				}
			}
			return true;
		}
	}
	return false;
}

void FJsonValue::ErrorMessage(const TCHAR* InType) const
{
	UE_LOG(LogJson, Error, TEXT("Json Value of type '%s' used as a '%s'."), *GetType(), InType);
}

bool FJsonValueString::TryGetNumber(double& OutDouble) const
{
	if (!Value.IsNumeric())
	{
		return false;
	}
	OutDouble = FCString::Atod(*Value);
	return true;
}

bool FJsonValueString::TryGetNumber(int32& OutValue) const
{
	OutValue = FCString::Atoi(*Value);
	return true;
}

bool FJsonValueString::TryGetNumber(uint32& OutValue) const
{
	OutValue = (uint32)FCString::Strtoui64(*Value, nullptr, 10);
	return true;
}

bool FJsonValueString::TryGetNumber(int64& OutValue) const
{
	OutValue = FCString::Atoi64(*Value);
	return true;
}

bool FJsonValueString::TryGetNumber(uint64& OutValue) const
{
	OutValue = FCString::Strtoui64(*Value, nullptr, 10);
	return true;
}

bool FJsonValueNumberString::TryGetNumber(double& OutNumber) const
{
	return ParseWholeText(Value, OutNumber);
}

bool FJsonValueNumberString::TryGetNumber(float& OutNumber) const
{
	return ParseWholeText(Value, OutNumber);
}

bool FJsonValueNumberString::TryGetNumber(int8& OutNumber) const
{
	return ParseWholeText(Value, OutNumber);
}

bool FJsonValueNumberString::TryGetNumber(int16& OutNumber) const
{
	return ParseWholeText(Value, OutNumber);
}

bool FJsonValueNumberString::TryGetNumber(int32& OutNumber) const
{
	return ParseWholeText(Value, OutNumber);
}

bool FJsonValueNumberString::TryGetNumber(int64& OutNumber) const
{
	return ParseWholeText(Value, OutNumber);
}

bool FJsonValueNumberString::TryGetNumber(uint8& OutNumber) const
{
	return ParseWholeText(Value, OutNumber);
}

bool FJsonValueNumberString::TryGetNumber(uint16& OutNumber) const
{
	return ParseWholeText(Value, OutNumber);
}

bool FJsonValueNumberString::TryGetNumber(uint32& OutNumber) const
{
	return ParseWholeText(Value, OutNumber);
}

bool FJsonValueNumberString::TryGetNumber(uint64& OutNumber) const
{
	return ParseWholeText(Value, OutNumber);
}
