// Stand-in for the engine's Serialization/JsonSerializer.h: FJsonSerializer, between JSON text and the value tree.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonWriter.h"
#include <type_traits>

namespace HostJson
{
/** Reads a whole document (an object or an array, then only whitespace) into OutRoot; untouched on failure. */
bool ReadDocument(TJsonReader<TCHAR>& Reader, bool bStoreNumbersAsStrings, TSharedPtr<FJsonValue>& OutRoot);
} // namespace HostJson

class FJsonSerializer
{
public:
	enum class EFlags
	{
		None = 0,
		/** Keep numbers as the text they were written as (FJsonValueNumberString). */
		StoreNumbersAsStrings = 1,
	};

	/** An object or array document as a value (FJsonValueObject or FJsonValueArray). */
	template <class CharType>
	static bool Deserialize(const TSharedRef<TJsonReader<CharType>>& Reader, TSharedPtr<FJsonValue>& OutValue,
		EFlags InOptions = EFlags::None)
	{
		static_assert(std::is_same_v<CharType, TCHAR>, "The stand-in reads TCHAR text only");
		return HostJson::ReadDocument(*Reader, InOptions == EFlags::StoreNumbersAsStrings, OutValue);
	}

	/** An object document; false for an array root. */
	template <class CharType>
	static bool Deserialize(const TSharedRef<TJsonReader<CharType>>& Reader, TSharedPtr<FJsonObject>& OutObject,
		EFlags InOptions = EFlags::None)
	{
		TSharedPtr<FJsonValue> Root;
		const TSharedPtr<FJsonObject>* Object = nullptr;
		if (!Deserialize(Reader, Root, InOptions) || !Root->TryGetObject(Object))
		{
			return false;
		}
		OutObject = *Object;
		return true;
	}

	/** An array document; false for an object root. */
	template <class CharType>
	static bool Deserialize(const TSharedRef<TJsonReader<CharType>>& Reader, TArray<TSharedPtr<FJsonValue>>& OutArray,
		EFlags InOptions = EFlags::None)
	{
		TSharedPtr<FJsonValue> Root;
		const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
		if (!Deserialize(Reader, Root, InOptions) || !Root->TryGetArray(Array))
		{
			return false;
		}
		OutArray = *Array;
		return true;
	}

	/** Writes the object, members in insertion order; closing the writer hands the text over. */
	template <class CharType, class PrintPolicy>
	static bool Serialize(const TSharedRef<FJsonObject>& Object,
		const TSharedRef<TJsonWriter<CharType, PrintPolicy>>& Writer, bool bCloseWriter = true)
	{
		WriteObject(*Object, nullptr, *Writer);
		return !bCloseWriter || Writer->Close();
	}

	/** Writes the array. */
	template <class CharType, class PrintPolicy>
	static bool Serialize(const TArray<TSharedPtr<FJsonValue>>& Array,
		const TSharedRef<TJsonWriter<CharType, PrintPolicy>>& Writer, bool bCloseWriter = true)
	{
		WriteArray(Array, nullptr, *Writer);
		return !bCloseWriter || Writer->Close();
	}

	/**
	 * Writes one value: with an empty Identifier as the root or an array element, otherwise as a member of the
	 * object the writer has open (pass bCloseWriter = false and close the object yourself).
	 */
	template <class CharType, class PrintPolicy>
	static bool Serialize(const TSharedPtr<FJsonValue>& Value, const FString& Identifier,
		const TSharedRef<TJsonWriter<CharType, PrintPolicy>>& Writer, bool bCloseWriter = true)
	{
		WriteValue(Value, Identifier.IsEmpty() ? nullptr : &Identifier, *Writer);
		return !bCloseWriter || Writer->Close();
	}

private:
	template <class CharType, class PrintPolicy>
	static void WriteObject(
		const FJsonObject& Object, const FString* Identifier, TJsonWriter<CharType, PrintPolicy>& Writer)
	{
		if (Identifier)
		{
			Writer.WriteObjectStart(*Identifier);
		}
		else
		{
			Writer.WriteObjectStart();
		}
		// Members always carry their name, even an empty one.
		for (const auto& Pair : Object.Values)
		{
			WriteValue(Pair.Value, &Pair.Key, Writer);
		}
		Writer.WriteObjectEnd();
	}

	template <class CharType, class PrintPolicy>
	static void WriteArray(const TArray<TSharedPtr<FJsonValue>>& Array, const FString* Identifier,
		TJsonWriter<CharType, PrintPolicy>& Writer)
	{
		if (Identifier)
		{
			Writer.WriteArrayStart(*Identifier);
		}
		else
		{
			Writer.WriteArrayStart();
		}
		for (const TSharedPtr<FJsonValue>& Element : Array)
		{
			WriteValue(Element, nullptr, Writer);
		}
		Writer.WriteArrayEnd();
	}

	template <class CharType, class PrintPolicy>
	static void WriteValue(
		const TSharedPtr<FJsonValue>& Value, const FString* Identifier, TJsonWriter<CharType, PrintPolicy>& Writer)
	{
		// A missing value is a programming error, as dereferencing it would be in the engine.
		check(Value.IsValid());
		switch (Value->Type)
		{
			case EJson::None:
				break;
			case EJson::Null:
				if (Identifier)
				{
					Writer.WriteNull(*Identifier);
				}
				else
				{
					Writer.WriteNull();
				}
				break;
			case EJson::String:
				if (Identifier)
				{
					Writer.WriteValue(*Identifier, Value->AsString());
				}
				else
				{
					Writer.WriteValue(Value->AsString());
				}
				break;
			case EJson::Number:
				// A number kept as text goes back out exactly as it came in.
				if (dynamic_cast<const FJsonValueNumberString*>(Value.Get()) != nullptr)
				{
					if (Identifier)
					{
						Writer.WriteRawJSONValue(*Identifier, Value->AsString());
					}
					else
					{
						Writer.WriteRawJSONValue(Value->AsString());
					}
				}
				else if (Identifier)
				{
					Writer.WriteValue(*Identifier, Value->AsNumber());
				}
				else
				{
					Writer.WriteValue(Value->AsNumber());
				}
				break;
			case EJson::Boolean:
				if (Identifier)
				{
					Writer.WriteValue(*Identifier, Value->AsBool());
				}
				else
				{
					Writer.WriteValue(Value->AsBool());
				}
				break;
			case EJson::Array:
				WriteArray(Value->AsArray(), Identifier, Writer);
				break;
			case EJson::Object:
			{
				const TSharedPtr<FJsonObject>& Object = Value->AsObject();
				if (Object.IsValid())
				{
					WriteObject(*Object, Identifier, Writer);
				}
				else if (Identifier)
				{
					Writer.WriteNull(*Identifier);
				}
				else
				{
					Writer.WriteNull();
				}
				break;
			}
		}
	}
};
