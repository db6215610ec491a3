// Field access by name. The TryGet* forms go through TryGetField and the value's own TryGet*, so they never log;
// the Get* forms go through GetField, which logs a Warning for a missing or mistyped field.
#include "Dom/JsonObject.h"
#include <cmath>

TSharedPtr<FJsonValue> FJsonObject::TryGetField(const FString& FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	return (Field != nullptr && Field->IsValid()) ? *Field : TSharedPtr<FJsonValue>();
}

bool FJsonObject::HasField(const FString& FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	return Field != nullptr && Field->IsValid();
}

void FJsonObject::SetField(const FString& FieldName, const TSharedPtr<FJsonValue>& Value)
{
	Values.Add(FieldName, Value);
}

void FJsonObject::RemoveField(const FString& FieldName)
{
	Values.Remove(FieldName);
}

double FJsonObject::GetNumberField(const FString& FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsNumber();
}

int32 FJsonObject::GetIntegerField(const FString& FieldName) const
{
	return (int32)std::round(GetNumberField(FieldName));
}

FString FJsonObject::GetStringField(const FString& FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsString();
}

bool FJsonObject::GetBoolField(const FString& FieldName) const
{
	return GetField<EJson::None>(FieldName)->AsBool();
}

const TArray<TSharedPtr<FJsonValue>>& FJsonObject::GetArrayField(const FString& FieldName) const
{
	// The field (or the shared empty array) outlives the temporary pointer: the object still holds it.
	return GetField<EJson::Array>(FieldName)->AsArray();
}

const TSharedPtr<FJsonObject>& FJsonObject::GetObjectField(const FString& FieldName) const
{
	return GetField<EJson::Object>(FieldName)->AsObject();
}

namespace
{
template <typename T>
bool TryGetNumberFieldOf(const FJsonObject& Object, const FString& FieldName, T& OutNumber)
{
	const TSharedPtr<FJsonValue> Field = Object.TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetNumber(OutNumber);
}
} // namespace

bool FJsonObject::TryGetNumberField(const FString& FieldName, double& OutNumber) const
{
	return TryGetNumberFieldOf(*this, FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, float& OutNumber) const
{
	return TryGetNumberFieldOf(*this, FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, int8& OutNumber) const
{
	return TryGetNumberFieldOf(*this, FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, int16& OutNumber) const
{
	return TryGetNumberFieldOf(*this, FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, int32& OutNumber) const
{
	return TryGetNumberFieldOf(*this, FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, int64& OutNumber) const
{
	return TryGetNumberFieldOf(*this, FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, uint8& OutNumber) const
{
	return TryGetNumberFieldOf(*this, FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, uint16& OutNumber) const
{
	return TryGetNumberFieldOf(*this, FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, uint32& OutNumber) const
{
	return TryGetNumberFieldOf(*this, FieldName, OutNumber);
}

bool FJsonObject::TryGetNumberField(const FString& FieldName, uint64& OutNumber) const
{
	return TryGetNumberFieldOf(*this, FieldName, OutNumber);
}

bool FJsonObject::TryGetStringField(const FString& FieldName, FString& OutString) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetString(OutString);
}

bool FJsonObject::TryGetBoolField(const FString& FieldName, bool& OutBool) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetBool(OutBool);
}

bool FJsonObject::TryGetStringArrayField(const FString& FieldName, TArray<FString>& OutArray) const
{
	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	if (!TryGetArrayField(FieldName, Array))
	{
		return false;
	}
	OutArray.Reset();
	for (const TSharedPtr<FJsonValue>& Element : *Array)
	{
		FString Text;
		if (!Element.IsValid() || !Element->TryGetString(Text))
		{
			return false;
		}
		OutArray.Add(MoveTemp(Text));
	}
	return true;
}

bool FJsonObject::TryGetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetArray(OutArray);
}

bool FJsonObject::TryGetArrayField(const FString& FieldName, TArray<TSharedPtr<FJsonValue>>*& OutArray)
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetArray(OutArray);
}

bool FJsonObject::TryGetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>*& OutObject) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetObject(OutObject);
}

bool FJsonObject::TryGetObjectField(const FString& FieldName, TSharedPtr<FJsonObject>*& OutObject)
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetObject(OutObject);
}

void FJsonObject::SetNumberField(const FString& FieldName, double Number)
{
	Values.Add(FieldName, MakeShared<FJsonValueNumber>(Number));
}

void FJsonObject::SetStringField(const FString& FieldName, const FString& StringValue)
{
	Values.Add(FieldName, MakeShared<FJsonValueString>(StringValue));
}

void FJsonObject::SetBoolField(const FString& FieldName, bool InValue)
{
	Values.Add(FieldName, MakeShared<FJsonValueBoolean>(InValue));
}

void FJsonObject::SetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>& Array)
{
	Values.Add(FieldName, MakeShared<FJsonValueArray>(Array));
}

void FJsonObject::SetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>& JsonObject)
{
	// A missing object is stored as null, so that readers see a value of a known kind.
	if (JsonObject.IsValid())
	{
		Values.Add(FieldName, MakeShared<FJsonValueObject>(JsonObject));
	}
	else
	{
		Values.Add(FieldName, MakeShared<FJsonValueNull>());
	}
}
