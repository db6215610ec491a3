// Stand-in for the engine's Serialization/JsonWriter.h: TJsonWriter, which lays JSON out token by token into an
// archive through its print policy, and its factory, which also makes writers that hand their text to an FString
// when they close (through a memory archive of TCHAR units, as the engine's TJsonStringWriter does).
//
// The layout follows from the last token written, which is what makes the pretty output byte-exact:
// - a member is ",", line break, indent, "name": then a space and the value;
// - an object member puts its '{' on the next line at the member's indent ("o": LT TAB {); an array member keeps
//   its '[' on the member's line ("a": [);
// - in an array, text, objects and arrays start on a new line one level deeper, while numbers, booleans and null
//   follow the previous element on the same line after a space ([ 1, 2 ]);
// - '}' always goes on its own line at the parent's indent, so an empty object is '{' LT '}';
// - ']' goes on its own line after text, an object or an array, after a space following a number, boolean or null,
//   and right after '[' for an empty array ([]). Mixed arrays follow the same rules element by element.
// - nothing precedes the root value and nothing follows it.
#pragma once

#include "CoreMinimal.h"
#include "Policies/PrettyJsonPrintPolicy.h"
#include "Serialization/MemoryWriter.h"

#include <cstring>
#include "Serialization/JsonTypes.h"

namespace HostJson
{
/** Appends Text quoted, with \\ \" \n \r \t \b \f escaped and other control characters as \u00xx. */
void AppendQuotedString(FString& Out, const FString& Text);
} // namespace HostJson

template <class CharType, class PrintPolicy>
class TJsonWriterFactory;

template <class CharType = TCHAR, class PrintPolicy = TPrettyJsonPrintPolicy<CharType>>
class TJsonWriter
{
	friend class TJsonWriterFactory<CharType, PrintPolicy>;

public:
	virtual ~TJsonWriter() = default;

	/** The current nesting depth plus the initial indent. */
	int32 GetIndentLevel() const { return IndentLevel; }

	/** Opens an object as the root or as an array element. */
	void WriteObjectStart()
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();
		if (PreviousTokenWritten != EJsonToken::None)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		OpenScope(EJson::Object, CharType('{'), EJsonToken::CurlyOpen);
	}

	/** Opens an object as a member of the current object. */
	void WriteObjectStart(const FString& Identifier)
	{
		WriteIdentifier(Identifier);
		PrintPolicy::WriteLineTerminator(Stream);
		PrintPolicy::WriteTabs(Stream, IndentLevel);
		OpenScope(EJson::Object, CharType('{'), EJsonToken::CurlyOpen);
	}

	/** Closes the current object. */
	void WriteObjectEnd()
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Object);
		PrintPolicy::WriteLineTerminator(Stream);
		--IndentLevel;
		PrintPolicy::WriteTabs(Stream, IndentLevel);
		PrintPolicy::WriteChar(Stream, CharType('}'));
		Stack.Pop();
		PreviousTokenWritten = EJsonToken::CurlyClose;
	}

	/** Opens an array as the root or as an array element. */
	void WriteArrayStart()
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();
		if (PreviousTokenWritten != EJsonToken::None)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		OpenScope(EJson::Array, CharType('['), EJsonToken::SquareOpen);
	}

	/** Opens an array as a member of the current object. */
	void WriteArrayStart(const FString& Identifier)
	{
		WriteIdentifier(Identifier);
		PrintPolicy::WriteSpace(Stream);
		OpenScope(EJson::Array, CharType('['), EJsonToken::SquareOpen);
	}

	/** Closes the current array. */
	void WriteArrayEnd()
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Array);
		--IndentLevel;
		if (PreviousTokenWritten == EJsonToken::SquareClose || PreviousTokenWritten == EJsonToken::CurlyClose ||
			PreviousTokenWritten == EJsonToken::String)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		else if (PreviousTokenWritten != EJsonToken::SquareOpen)
		{
			PrintPolicy::WriteSpace(Stream);
		}
		PrintPolicy::WriteChar(Stream, CharType(']'));
		Stack.Pop();
		PreviousTokenWritten = EJsonToken::SquareClose;
	}

	/** An array element (or a lone root value). */
	void WriteValue(const FString& Value) { WriteElement(EJsonToken::String, QuotedText(Value)); }
	void WriteValue(const TCHAR* Value) { WriteValue(FString(Value)); }
	void WriteValue(bool Value)
	{
		WriteElement(Value ? EJsonToken::True : EJsonToken::False, FString(Value ? TEXT("true") : TEXT("false")));
	}
	void WriteValue(double Value)
	{
		WriteElementWith(EJsonToken::Number,
			[this, Value]()
			{
				PrintPolicy::WriteDouble(Stream, Value);
			});
	}
	void WriteValue(float Value)
	{
		WriteElementWith(EJsonToken::Number,
			[this, Value]()
			{
				PrintPolicy::WriteFloat(Stream, Value);
			});
	}
	void WriteValue(int32 Value) { WriteElement(EJsonToken::Number, FString::Printf(TEXT("%d"), Value)); }
	void WriteValue(uint32 Value) { WriteElement(EJsonToken::Number, FString::Printf(TEXT("%u"), Value)); }
	void WriteValue(int64 Value) { WriteElement(EJsonToken::Number, FString::Printf(TEXT("%lld"), (long long)Value)); }
	void WriteValue(uint64 Value)
	{
		WriteElement(EJsonToken::Number, FString::Printf(TEXT("%llu"), (unsigned long long)Value));
	}
	/** A null array element. */
	void WriteNull() { WriteElement(EJsonToken::Null, FString(TEXT("null"))); }
	/** Already-formed JSON text as an array element, laid out as a number is. */
	void WriteRawJSONValue(const FString& Value) { WriteElement(EJsonToken::Number, Value); }

	/** A member of the current object: "name": value. */
	void WriteValue(const FString& Identifier, const FString& Value)
	{
		WriteMember(Identifier, EJsonToken::String, QuotedText(Value));
	}
	void WriteValue(const FString& Identifier, const TCHAR* Value) { WriteValue(Identifier, FString(Value)); }
	void WriteValue(const FString& Identifier, bool Value)
	{
		WriteMember(Identifier, Value ? EJsonToken::True : EJsonToken::False,
			FString(Value ? TEXT("true") : TEXT("false")));
	}
	void WriteValue(const FString& Identifier, double Value)
	{
		WriteMemberWith(Identifier, EJsonToken::Number,
			[this, Value]()
			{
				PrintPolicy::WriteDouble(Stream, Value);
			});
	}
	void WriteValue(const FString& Identifier, float Value)
	{
		WriteMemberWith(Identifier, EJsonToken::Number,
			[this, Value]()
			{
				PrintPolicy::WriteFloat(Stream, Value);
			});
	}
	void WriteValue(const FString& Identifier, int32 Value)
	{
		WriteMember(Identifier, EJsonToken::Number, FString::Printf(TEXT("%d"), Value));
	}
	void WriteValue(const FString& Identifier, uint32 Value)
	{
		WriteMember(Identifier, EJsonToken::Number, FString::Printf(TEXT("%u"), Value));
	}
	void WriteValue(const FString& Identifier, int64 Value)
	{
		WriteMember(Identifier, EJsonToken::Number, FString::Printf(TEXT("%lld"), (long long)Value));
	}
	void WriteValue(const FString& Identifier, uint64 Value)
	{
		WriteMember(Identifier, EJsonToken::Number, FString::Printf(TEXT("%llu"), (unsigned long long)Value));
	}
	/** A member whose value is null. */
	void WriteNull(const FString& Identifier) { WriteMember(Identifier, EJsonToken::Null, FString(TEXT("null"))); }
	/** A member whose value is already-formed JSON text. */
	void WriteRawJSONValue(const FString& Identifier, const FString& Value)
	{
		WriteMember(Identifier, EJsonToken::Number, Value);
	}

	/**
	 * Ends the writing. True when the text is one complete object or array (or nothing at all): an unclosed scope or
	 * a lone scalar root is not a JSON document.
	 */
	virtual bool Close()
	{
		return (PreviousTokenWritten == EJsonToken::None || PreviousTokenWritten == EJsonToken::CurlyClose ||
				   PreviousTokenWritten == EJsonToken::SquareClose) &&
			Stack.Num() == 0;
	}

protected:
	TJsonWriter(FArchive* const InStream, int32 InitialIndentLevel)
		: Stream(InStream)
		, IndentLevel(InitialIndentLevel)
	{
	}

	/** Where the policy puts the characters. */
	FArchive* const Stream;

private:
	bool CanWriteValueWithoutIdentifier() const
	{
		return Stack.Num() == 0 ? PreviousTokenWritten == EJsonToken::None : Stack.Top() == EJson::Array;
	}

	void WriteCommaIfNeeded()
	{
		if (PreviousTokenWritten != EJsonToken::None && PreviousTokenWritten != EJsonToken::CurlyOpen &&
			PreviousTokenWritten != EJsonToken::SquareOpen && PreviousTokenWritten != EJsonToken::Identifier)
		{
			PrintPolicy::WriteChar(Stream, CharType(','));
		}
	}

	void WriteIdentifier(const FString& Identifier)
	{
		check(Stack.Num() > 0 && Stack.Top() == EJson::Object);
		WriteCommaIfNeeded();
		PrintPolicy::WriteLineTerminator(Stream);
		PrintPolicy::WriteTabs(Stream, IndentLevel);
		PrintPolicy::WriteString(Stream, QuotedText(Identifier));
		PrintPolicy::WriteChar(Stream, CharType(':'));
		PreviousTokenWritten = EJsonToken::Identifier;
	}

	void OpenScope(EJson Kind, CharType Bracket, EJsonToken Token)
	{
		PrintPolicy::WriteChar(Stream, Bracket);
		++IndentLevel;
		Stack.Push(Kind);
		PreviousTokenWritten = Token;
	}

	void WriteElement(EJsonToken Token, const FString& ValueText)
	{
		WriteElementWith(Token,
			[this, &ValueText]()
			{
				PrintPolicy::WriteString(Stream, ValueText);
			});
	}

	/** Lays out an array element; WriteText puts the value's own characters down. */
	template <typename FunctorType>
	void WriteElementWith(EJsonToken Token, FunctorType&& WriteText)
	{
		check(CanWriteValueWithoutIdentifier());
		WriteCommaIfNeeded();
		const bool bInline = Token != EJsonToken::String &&
			(PreviousTokenWritten == EJsonToken::SquareOpen || EJsonToken_IsShortValue(PreviousTokenWritten));
		if (bInline)
		{
			PrintPolicy::WriteSpace(Stream);
		}
		else if (PreviousTokenWritten != EJsonToken::None)
		{
			PrintPolicy::WriteLineTerminator(Stream);
			PrintPolicy::WriteTabs(Stream, IndentLevel);
		}
		WriteText();
		PreviousTokenWritten = Token;
	}

	void WriteMember(const FString& Identifier, EJsonToken Token, const FString& ValueText)
	{
		WriteMemberWith(Identifier, Token,
			[this, &ValueText]()
			{
				PrintPolicy::WriteString(Stream, ValueText);
			});
	}

	/** Lays out an object member; WriteText puts the value's own characters down. */
	template <typename FunctorType>
	void WriteMemberWith(const FString& Identifier, EJsonToken Token, FunctorType&& WriteText)
	{
		WriteIdentifier(Identifier);
		PrintPolicy::WriteSpace(Stream);
		WriteText();
		PreviousTokenWritten = Token;
	}

	static FString QuotedText(const FString& Value)
	{
		FString Quoted;
		HostJson::AppendQuotedString(Quoted, Value);
		return Quoted;
	}

	TArray<EJson> Stack;
	EJsonToken PreviousTokenWritten = EJsonToken::None;
	int32 IndentLevel = 0;
};

/** A writer whose text replaces the FString's content when it closes. */
template <class PrintPolicy = TPrettyJsonPrintPolicy<TCHAR>>
class TJsonStringWriter : public TJsonWriter<TCHAR, PrintPolicy>
{
public:
	static TSharedRef<TJsonStringWriter> Create(FString* const InStream, int32 InitialIndent = 0)
	{
		return TSharedRef<TJsonStringWriter>(new TJsonStringWriter(InStream, InitialIndent));
	}

	~TJsonStringWriter() override
	{
		check(this->Stream->Close());
		delete this->Stream;
	}

	bool Close() override
	{
		// The archive holds TCHAR units, whatever the policy made of the text.
		FString Out;
		const int32 Count = Bytes.Num() / (int32)sizeof(TCHAR);
		Out.Reserve(Count);
		for (int32 Index = 0; Index < Count; ++Index)
		{
			TCHAR Char;
			std::memcpy(&Char, Bytes.GetData() + Index * (int32)sizeof(TCHAR), sizeof(TCHAR));
			Out.AppendChar(Char);
		}
		*OutString = MoveTemp(Out);
		return TJsonWriter<TCHAR, PrintPolicy>::Close();
	}

protected:
	TJsonStringWriter(FString* const InOutString, int32 InitialIndent)
		: TJsonWriter<TCHAR, PrintPolicy>(new FMemoryWriter(Bytes), InitialIndent)
		, OutString(InOutString)
	{
		check(OutString != nullptr);
	}

private:
	TArray<uint8> Bytes;
	FString* OutString;
};

template <class CharType = TCHAR, class PrintPolicy = TPrettyJsonPrintPolicy<CharType>>
class TJsonWriterFactory
{
public:
	/** A writer into the archive, which the caller keeps and closes; InitialIndent deepens every line but the first. */
	static TSharedRef<TJsonWriter<CharType, PrintPolicy>> Create(FArchive* const Stream, int32 InitialIndent = 0)
	{
		return TSharedRef<TJsonWriter<CharType, PrintPolicy>>(
			new TJsonWriter<CharType, PrintPolicy>(Stream, InitialIndent));
	}

	/** A writer into Stream, which gets the text when the writer closes. */
	static TSharedRef<TJsonWriter<TCHAR, PrintPolicy>> Create(FString* const Stream, int32 InitialIndent = 0)
	{
		return TJsonStringWriter<PrintPolicy>::Create(Stream, InitialIndent);
	}
};
