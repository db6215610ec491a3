// Stand-in for the engine's Serialization/JsonReader.h: TJsonReader, which walks JSON text one notation at a time,
// and its factory. The root must be an object or an array; true, false and null match in any case; text may hold
// raw control characters. Nesting deeper than HostJson::MaxDepth levels is refused, so that no document can build
// a tree too deep to take apart.
#pragma once

#include "CoreMinimal.h"
#include "Serialization/JsonTypes.h"

namespace HostJson
{
/** The deepest nesting of objects and arrays the reader accepts. */
inline constexpr int32 MaxDepth = 1024;
} // namespace HostJson

/** Reads TCHAR text; the stand-in provides the TCHAR instantiation only. */
template <class CharType = TCHAR>
class TJsonReader
{
public:
	virtual ~TJsonReader() = default;

	/**
	 * Moves to the next notation. Returns false once the root has been read and only whitespace follows, or after an
	 * error has been reported; a new error is reported once, as EJsonNotation::Error with true.
	 */
	bool ReadNext(EJsonNotation& Notation);
	/** From just after an ObjectStart, reads up to and including its ObjectEnd. */
	bool SkipObject();
	/** From just after an ArrayStart, reads up to and including its ArrayEnd. */
	bool SkipArray();

	/** The member name of the last notation ("" for array elements and the root). */
	const FString& GetIdentifier() const { return Identifier; }
	/** The text of the last String notation. */
	const FString& GetValueAsString() const { return StringValue; }
	/** The value of the last Number notation. */
	double GetValueAsNumber() const { return NumberValue; }
	/** The last Number notation as it was written. */
	const FString& GetValueAsNumberString() const { return StringValue; }
	/** The value of the last Boolean notation. */
	bool GetValueAsBoolean() const { return BoolValue; }
	/** Empty until something was wrong; then what and where (line and character, from 1). */
	const FString& GetErrorMessage() const { return ErrorMessage; }
	uint32 GetLineNumber() const;
	uint32 GetCharacterNumber() const;

protected:
	explicit TJsonReader(FString&& InText)
		: Text(MoveTemp(InText))
	{
	}

private:
	void SkipWhitespace();
	bool ReadElement(EJsonNotation& Notation, bool bMember);
	bool ReadString(FString& OutText);
	bool ReadNumber();
	bool ReadLiteral(EJsonNotation& Notation);
	bool OpenScope(EJson Kind, EJsonNotation& Notation);
	void SetError(const TCHAR* Message);
	bool ReportError(const TCHAR* Message, EJsonNotation& Notation);

	FString Text;
	int32 Pos = 0;
	TArray<EJson> ParseState;
	bool bStarted = false;
	bool bFinishedRoot = false;
	/** Just after '{' or '[': the scope may close at once. */
	bool bScopeJustOpened = false;
	FString Identifier;
	FString StringValue;
	double NumberValue = 0.0;
	bool BoolValue = false;
	FString ErrorMessage;
};

extern template class TJsonReader<TCHAR>;

/** A reader over a copy of (or the moved) string. */
template <class CharType = TCHAR>
class TJsonStringReader : public TJsonReader<CharType>
{
public:
	static TSharedRef<TJsonStringReader> Create(const FString& JsonString)
	{
		return TSharedRef<TJsonStringReader>(new TJsonStringReader(FString(JsonString)));
	}
	static TSharedRef<TJsonStringReader> Create(FString&& JsonString)
	{
		return TSharedRef<TJsonStringReader>(new TJsonStringReader(MoveTemp(JsonString)));
	}

protected:
	explicit TJsonStringReader(FString&& InText)
		: TJsonReader<CharType>(MoveTemp(InText))
	{
	}
};

template <class CharType = TCHAR>
class TJsonReaderFactory
{
public:
	/** A reader over JSON text. */
	static TSharedRef<TJsonReader<TCHAR>> Create(const FString& JsonString)
	{
		return TJsonStringReader<TCHAR>::Create(JsonString);
	}
	static TSharedRef<TJsonReader<TCHAR>> Create(FString&& JsonString)
	{
		return TJsonStringReader<TCHAR>::Create(MoveTemp(JsonString));
	}
};
