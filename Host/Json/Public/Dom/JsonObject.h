// Stand-in for the engine's Dom/JsonObject.h: FJsonObject, named values in insertion order. Names ignore case, as
// TMap<FString, ...> keys do; setting an existing name replaces its value in place.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonValue.h"
#include "Serialization/JsonTypes.h"

class FJsonObject
{
public:
	TMap<FString, TSharedPtr<FJsonValue>> Values;

	/**
	 * The field when it exists and has the wanted kind (EJson::None: any kind); otherwise logs a Warning and returns a
	 * new null value, so that the As* call that usually follows logs its Error too.
	 */
	template <EJson JsonType>
	TSharedPtr<FJsonValue> GetField(const FString& FieldName) const
	{
		const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
		if (Field != nullptr && Field->IsValid())
		{
			if (JsonType == EJson::None || (*Field)->Type == JsonType)
			{
				return *Field;
			}
			UE_LOG(LogJson, Warning, TEXT("Field %s is of the wrong type."), *FieldName);
		}
		else
		{
			UE_LOG(LogJson, Warning, TEXT("Field %s was not found."), *FieldName);
		}
		return MakeShared<FJsonValueNull>();
	}

	/** The field, or null when there is none; never logs. */
	TSharedPtr<FJsonValue> TryGetField(const FString& FieldName) const;
	/** Whether a field of that name (any case) exists. */
	bool HasField(const FString& FieldName) const;

	/** Whether a field of that name exists and has that kind. */
	template <EJson JsonType>
	bool HasTypedField(const FString& FieldName) const
	{
		const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
		return Field != nullptr && Field->IsValid() && (*Field)->Type == JsonType;
	}

	/** Adds the field, or replaces the value of the field with that name. */
	void SetField(const FString& FieldName, const TSharedPtr<FJsonValue>& Value);
	/** Removes the field, if present. */
	void RemoveField(const FString& FieldName);

	/** The field as a number; logs when missing or unreadable (0). */
	double GetNumberField(const FString& FieldName) const;
	/** The field as a number rounded half away from zero; logs when missing or unreadable (0). */
	int32 GetIntegerField(const FString& FieldName) const;
	/** The field as text; logs when missing or unreadable (""). */
	FString GetStringField(const FString& FieldName) const;
	/** The field as a boolean; logs when missing or unreadable (false). */
	bool GetBoolField(const FString& FieldName) const;
	/** The array field's elements; logs when missing or not an array (empty). */
	const TArray<TSharedPtr<FJsonValue>>& GetArrayField(const FString& FieldName) const;
	/** The object field; logs when missing or not an object (a shared empty object). */
	const TSharedPtr<FJsonObject>& GetObjectField(const FString& FieldName) const;

	/** The TryGet*Field accessors never log; on false the output is left as it was. */
	bool TryGetNumberField(const FString& FieldName, double& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, float& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, int8& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, int16& OutNumber) const;
	/** Rounds half away from zero (12.9 gives 13): read a double and truncate it for a truncated value. */
	bool TryGetNumberField(const FString& FieldName, int32& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, int64& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, uint8& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, uint16& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, uint32& OutNumber) const;
	bool TryGetNumberField(const FString& FieldName, uint64& OutNumber) const;
	bool TryGetStringField(const FString& FieldName, FString& OutString) const;
	bool TryGetBoolField(const FString& FieldName, bool& OutBool) const;
	/** Every element must read as text; the array is refilled as far as that holds. */
	bool TryGetStringArrayField(const FString& FieldName, TArray<FString>& OutArray) const;
	/** Only an array field (null is refused); points into this object. */
	bool TryGetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const;
	bool TryGetArrayField(const FString& FieldName, TArray<TSharedPtr<FJsonValue>>*& OutArray);
	/** Only an object field (null is refused); points into this object. */
	bool TryGetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>*& OutObject) const;
	bool TryGetObjectField(const FString& FieldName, TSharedPtr<FJsonObject>*& OutObject);

	/** Setters add the field or replace the value of the field with that name. */
	void SetNumberField(const FString& FieldName, double Number);
	void SetStringField(const FString& FieldName, const FString& StringValue);
	void SetBoolField(const FString& FieldName, bool InValue);
	void SetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>& Array);
	void SetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>& JsonObject);
};
