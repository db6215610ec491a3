// Stand-in for the engine's Serialization/JsonTypes.h: the kinds of JSON values, tokens and reader notations.
#pragma once

#include "CoreMinimal.h"

/** The kind of a JSON value. */
enum class EJson
{
	None,
	Null,
	String,
	Number,
	Boolean,
	Array,
	Object
};

/** The last thing a writer put down; the pretty layout depends on it. */
enum class EJsonToken
{
	None,
	Comma,
	CurlyOpen,
	CurlyClose,
	SquareOpen,
	SquareClose,
	Colon,
	String,
	Number,
	True,
	False,
	Null,
	Identifier
};

/** Numbers, booleans and null: the values the pretty layout keeps on the line of the array they are in. */
inline bool EJsonToken_IsShortValue(EJsonToken Token)
{
	return Token == EJsonToken::Number || Token == EJsonToken::True || Token == EJsonToken::False ||
		Token == EJsonToken::Null;
}

/** What TJsonReader::ReadNext found. */
enum class EJsonNotation
{
	ObjectStart,
	ObjectEnd,
	ArrayStart,
	ArrayEnd,
	Boolean,
	String,
	Number,
	Null,
	Error
};
