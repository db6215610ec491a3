// Stand-in for the engine's Dom/JsonValue.h: FJsonValue and its string, number, boolean, array, object and null kinds,
// with the engine's lenient conversions between them.
#pragma once

#include "CoreMinimal.h"
#include "Serialization/JsonTypes.h"

class FJsonObject;

/**
 * One JSON value. The TryGet* accessors never log and leave their output alone when they return false; the As*
 * accessors log an Error on LogJson when the value cannot be read as the wanted kind and return an empty value.
 */
class FJsonValue
{
public:
	virtual ~FJsonValue() = default;

	/** The number, or 0 after logging an Error when the value is not readable as a number. */
	double AsNumber() const;
	/** The text (numbers and booleans are rendered), or "" after logging an Error. */
	FString AsString() const;
	/** The boolean, or false after logging an Error. */
	bool AsBool() const;
	/** The elements, or one shared empty array after logging an Error. */
	const TArray<TSharedPtr<FJsonValue>>& AsArray() const;
	/** The object, or one shared empty object after logging an Error: never modify what this returns. */
	const TSharedPtr<FJsonObject>& AsObject() const;

	/** Numbers, booleans (1/0) and numeric text (sign, digits, one '.'). */
	virtual bool TryGetNumber(double& /*OutNumber*/) const { return false; }
	/** As the double, when it fits in a float. */
	virtual bool TryGetNumber(float& OutNumber) const;
	/** Integer overloads round half away from zero and refuse values outside the type's range. */
	virtual bool TryGetNumber(int8& OutNumber) const;
	virtual bool TryGetNumber(int16& OutNumber) const;
	virtual bool TryGetNumber(int32& OutNumber) const;
	virtual bool TryGetNumber(int64& OutNumber) const;
	virtual bool TryGetNumber(uint8& OutNumber) const;
	virtual bool TryGetNumber(uint16& OutNumber) const;
	virtual bool TryGetNumber(uint32& OutNumber) const;
	virtual bool TryGetNumber(uint64& OutNumber) const;
	/** Text, numbers (shortest decimal form) and booleans ("true"/"false"). */
	virtual bool TryGetString(FString& /*OutString*/) const { return false; }
	/** Booleans, numbers (non-zero) and text ("true", "yes", "on" or a non-zero integer). */
	virtual bool TryGetBool(bool& /*OutBool*/) const { return false; }
	/** Only an array: points at the value's own elements. */
	virtual bool TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& /*OutArray*/) const { return false; }
	virtual bool TryGetArray(TArray<TSharedPtr<FJsonValue>>*& /*OutArray*/) { return false; }
	/** Only an object: points at the value's own object. */
	virtual bool TryGetObject(const TSharedPtr<FJsonObject>*& /*Object*/) const { return false; }
	virtual bool TryGetObject(TSharedPtr<FJsonObject>*& /*Object*/) { return false; }

	/** True for null (and for a value of no kind). */
	bool IsNull() const { return Type == EJson::Null || Type == EJson::None; }

	/** Same kind and same content; text compares case-sensitively, object members by name. */
	static bool CompareEqual(const FJsonValue& Lhs, const FJsonValue& Rhs);

	EJson Type = EJson::None;

protected:
	FJsonValue() = default;

	/** The kind's name as the error messages spell it ("Array", "Object", ...). */
	virtual FString GetType() const = 0;
	void ErrorMessage(const TCHAR* InType) const;
};

inline bool operator==(const FJsonValue& Lhs, const FJsonValue& Rhs)
{
	return FJsonValue::CompareEqual(Lhs, Rhs);
}

inline bool operator!=(const FJsonValue& Lhs, const FJsonValue& Rhs)
{
	return !FJsonValue::CompareEqual(Lhs, Rhs);
}

/**
 * A text value. Read as a 32- or 64-bit integer it parses like Atoi and always succeeds ("abc" gives 0, "12.9" gives
 * 12); read as a double, float or smaller integer it must be numeric text.
 */
class FJsonValueString : public FJsonValue
{
public:
	FJsonValueString(const FString& InString)
		: Value(InString)
	{
		Type = EJson::String;
	}
	FJsonValueString(FString&& InString)
		: Value(MoveTemp(InString))
	{
		Type = EJson::String;
	}

	bool TryGetString(FString& OutString) const override
	{
		OutString = Value;
		return true;
	}
	bool TryGetNumber(double& OutDouble) const override;
	bool TryGetNumber(int32& OutValue) const override;
	bool TryGetNumber(uint32& OutValue) const override;
	bool TryGetNumber(int64& OutValue) const override;
	bool TryGetNumber(uint64& OutValue) const override;
	bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value.ToBool();
		return true;
	}
	using FJsonValue::TryGetNumber;

protected:
	FString GetType() const override { return TEXT("String"); }

	FString Value;
};

/** A number, held as a double. */
class FJsonValueNumber : public FJsonValue
{
public:
	FJsonValueNumber(double InNumber)
		: Value(InNumber)
	{
		Type = EJson::Number;
	}

	bool TryGetNumber(double& OutNumber) const override
	{
		OutNumber = Value;
		return true;
	}
	bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value != 0.0;
		return true;
	}
	/** "%f" with the trailing zeros and a bare '.' cut: 12 gives "12", 12.5 gives "12.5". */
	bool TryGetString(FString& OutString) const override
	{
		OutString = FString::SanitizeFloat(Value, 0);
		return true;
	}
	using FJsonValue::TryGetNumber;

protected:
	FString GetType() const override { return TEXT("Number"); }

	double Value;
};

/** A number kept as the text it was read from (or given as), written back unchanged. */
class FJsonValueNumberString : public FJsonValue
{
public:
	FJsonValueNumberString(const FString& InString)
		: Value(InString)
	{
		Type = EJson::Number;
	}

	bool TryGetString(FString& OutString) const override
	{
		OutString = Value;
		return true;
	}
	/** The whole text must be a number; integer overloads want an integer in range. */
	bool TryGetNumber(double& OutNumber) const override;
	bool TryGetNumber(float& OutNumber) const override;
	bool TryGetNumber(int8& OutNumber) const override;
	bool TryGetNumber(int16& OutNumber) const override;
	bool TryGetNumber(int32& OutNumber) const override;
	bool TryGetNumber(int64& OutNumber) const override;
	bool TryGetNumber(uint8& OutNumber) const override;
	bool TryGetNumber(uint16& OutNumber) const override;
	bool TryGetNumber(uint32& OutNumber) const override;
	bool TryGetNumber(uint64& OutNumber) const override;
	bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value.ToBool();
		return true;
	}

protected:
	FString GetType() const override { return TEXT("NumberString"); }

	FString Value;
};

/** A boolean; reads as 1/0 and as "true"/"false". */
class FJsonValueBoolean : public FJsonValue
{
public:
	FJsonValueBoolean(bool InBool)
		: Value(InBool)
	{
		Type = EJson::Boolean;
	}

	bool TryGetNumber(double& OutNumber) const override
	{
		OutNumber = Value ? 1.0 : 0.0;
		return true;
	}
	bool TryGetBool(bool& OutBool) const override
	{
		OutBool = Value;
		return true;
	}
	bool TryGetString(FString& OutString) const override
	{
		OutString = Value ? TEXT("true") : TEXT("false");
		return true;
	}
	using FJsonValue::TryGetNumber;

protected:
	FString GetType() const override { return TEXT("Boolean"); }

	bool Value;
};

/** An array of values, in order. */
class FJsonValueArray : public FJsonValue
{
public:
	FJsonValueArray(const TArray<TSharedPtr<FJsonValue>>& InArray)
		: Value(InArray)
	{
		Type = EJson::Array;
	}
	FJsonValueArray(TArray<TSharedPtr<FJsonValue>>&& InArray)
		: Value(MoveTemp(InArray))
	{
		Type = EJson::Array;
	}

	bool TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const override
	{
		OutArray = &Value;
		return true;
	}
	bool TryGetArray(TArray<TSharedPtr<FJsonValue>>*& OutArray) override
	{
		OutArray = &Value;
		return true;
	}

protected:
	FString GetType() const override { return TEXT("Array"); }

	TArray<TSharedPtr<FJsonValue>> Value;
};

/** An object value. */
class FJsonValueObject : public FJsonValue
{
public:
	FJsonValueObject(TSharedPtr<FJsonObject> InObject)
		: Value(MoveTemp(InObject))
	{
		Type = EJson::Object;
	}

	bool TryGetObject(const TSharedPtr<FJsonObject>*& OutObject) const override
	{
		OutObject = &Value;
		return true;
	}
	bool TryGetObject(TSharedPtr<FJsonObject>*& OutObject) override
	{
		OutObject = &Value;
		return true;
	}

protected:
	FString GetType() const override { return TEXT("Object"); }

	TSharedPtr<FJsonObject> Value;
};

/** The null value. */
class FJsonValueNull : public FJsonValue
{
public:
	FJsonValueNull() { Type = EJson::Null; }

protected:
	FString GetType() const override { return TEXT("Null"); }
};
