// Tests of command-line parsing with the engine's rules, including the ones that surprise: a switch is a plain
// substring, and an empty value reads the next switch.
#include "CoreMinimal.h"
#include "HostTestSupport.h"
#include "Misc/Parse.h"
#include <gtest/gtest.h>

#include <string>

namespace
{
using HostTest::Utf8;

/** The value FParse::Value reads, or "<absent>". */
std::string ValueOf(const TCHAR* Stream, const TCHAR* Match, bool bShouldStopOnSeparator = true)
{
	FString Value;
	return FParse::Value(Stream, Match, Value, bShouldStopOnSeparator) ? Utf8(Value) : std::string("<absent>");
}
} // namespace

TEST(ParseValue, ReadsPlainAndQuotedValues)
{
	const TCHAR* Line = TEXT("-run=Check -Model=\"C:/My Models/fox.fbx\" -Prompt=\"a fox, jumping (fast)\" -Count=3");
	EXPECT_EQ(ValueOf(Line, TEXT("-run=")), "Check");
	EXPECT_EQ(ValueOf(Line, TEXT("-model=")), "C:/My Models/fox.fbx");
	EXPECT_EQ(ValueOf(Line, TEXT("-Prompt=")), "a fox, jumping (fast)");
	EXPECT_EQ(ValueOf(Line, TEXT("-Missing=")), "<absent>");

	// Outside quotes a value ends at whitespace, and at ',' or ')' unless asked not to.
	EXPECT_EQ(ValueOf(TEXT("-List=a,b) -x"), TEXT("-List=")), "a");
	EXPECT_EQ(ValueOf(TEXT("-List=a,b) -x"), TEXT("-List="), false), "a,b)");
	EXPECT_EQ(ValueOf(TEXT("-Tab=one\ttwo"), TEXT("-Tab=")), "one");
	// Whitespace before a value is skipped; an unclosed quote runs to the end; an empty quoted value is empty.
	EXPECT_EQ(ValueOf(TEXT("-Key=   spaced"), TEXT("-Key=")), "spaced");
	EXPECT_EQ(ValueOf(TEXT("-Prompt=\"never closed, still read"), TEXT("-Prompt=")), "never closed, still read");
	EXPECT_EQ(ValueOf(TEXT("-Prompt=\"\" -Next=1"), TEXT("-Prompt=")), "");
	EXPECT_EQ(ValueOf(TEXT("-Key="), TEXT("-Key=")), "");

	FString Untouched = TEXT("kept");
	EXPECT_FALSE(FParse::Value(TEXT("-Other=1"), TEXT("-Key="), Untouched));
	EXPECT_EQ(Utf8(Untouched), "kept");

	// The stream position after the value lets a caller read on.
	const TCHAR* GotTo = nullptr;
	FString Value;
	ASSERT_TRUE(FParse::Value(TEXT("-A=\"x y\" -B=2"), TEXT("-A="), Value, true, &GotTo));
	EXPECT_EQ(Utf8(FString(GotTo)), " -B=2");
}

TEST(ParseValue, MatchesAnywhereAsTheEngineDoes)
{
	// "Key=" is found inside "-ApiKey=": the first occurrence wins, whatever comes later.
	EXPECT_EQ(ValueOf(TEXT("-ApiKey=secret -Key=other"), TEXT("Key=")), "secret");
	EXPECT_EQ(ValueOf(TEXT("-ApiKey=secret -Key=other"), TEXT("-Key=")), "other");
	// An empty value does not stop the reading: the next switch becomes the value.
	EXPECT_EQ(ValueOf(TEXT("-Key= -Model=x"), TEXT("-Key=")), "-Model=x");
	// Text inside quotes is not searched.
	EXPECT_EQ(ValueOf(TEXT("-Prompt=\"use -Key=wrong\" -Key=right"), TEXT("-Key=")), "right");
	EXPECT_EQ(ValueOf(TEXT("-Prompt=\"use -Key=wrong\""), TEXT("-Key=")), "<absent>");
}

TEST(ParseValue, NumbersAndBooleans)
{
	const TCHAR* Line = TEXT("-Port=8080 -Scale=1.5 -Frames=12.9 -Big=5000000000 -On=true -Off=0 -Yes=yes");
	int32 Port = 0;
	EXPECT_TRUE(FParse::Value(Line, TEXT("-Port="), Port));
	EXPECT_EQ(Port, 8080);
	double Scale = 0.0;
	EXPECT_TRUE(FParse::Value(Line, TEXT("-Scale="), Scale));
	EXPECT_EQ(Scale, 1.5);
	float ScaleFloat = 0.0f;
	EXPECT_TRUE(FParse::Value(Line, TEXT("-Scale="), ScaleFloat));
	EXPECT_EQ(ScaleFloat, 1.5f);
	int32 Frames = 0;
	EXPECT_TRUE(FParse::Value(Line, TEXT("-Frames="), Frames));
	EXPECT_EQ(Frames, 12);
	int64 Big = 0;
	EXPECT_TRUE(FParse::Value(Line, TEXT("-Big="), Big));
	EXPECT_EQ(Big, 5000000000ll);
	int32 Missing = 7;
	EXPECT_FALSE(FParse::Value(Line, TEXT("-Missing="), Missing));
	EXPECT_EQ(Missing, 7);

	bool bFlag = false;
	EXPECT_TRUE(FParse::Bool(Line, TEXT("-On="), bFlag));
	EXPECT_TRUE(bFlag);
	EXPECT_TRUE(FParse::Bool(Line, TEXT("-Off="), bFlag));
	EXPECT_FALSE(bFlag);
	EXPECT_TRUE(FParse::Bool(Line, TEXT("-Yes="), bFlag));
	EXPECT_TRUE(bFlag);
}

TEST(ParseParam, OnlyWholeSwitches)
{
	EXPECT_TRUE(FParse::Param(TEXT("-unattended"), TEXT("unattended")));
	EXPECT_TRUE(FParse::Param(TEXT("-run=Check -Unattended -x"), TEXT("unattended")));
	EXPECT_TRUE(FParse::Param(TEXT("/UNATTENDED"), TEXT("unattended")));
	EXPECT_FALSE(FParse::Param(TEXT("-unattendedx"), TEXT("unattended")));
	EXPECT_FALSE(FParse::Param(TEXT("-nounattended"), TEXT("unattended")));
	EXPECT_FALSE(FParse::Param(TEXT("x-unattended"), TEXT("unattended")));
	EXPECT_FALSE(FParse::Param(TEXT("unattended"), TEXT("unattended")));
	EXPECT_FALSE(FParse::Param(TEXT("-Prompt=\"-unattended\""), TEXT("unattended")));
	EXPECT_TRUE(FParse::Param(TEXT("\"/My Project/My.uproject\" -run=Check -unattended"), TEXT("unattended")));
	EXPECT_FALSE(FParse::Param(TEXT(""), TEXT("unattended")));
}

TEST(ParseToken, SplitsAtWhitespaceAndKeepsQuotedParts)
{
	const TCHAR* Stream = TEXT("  One \"two three\" -Four=\"five six\" \"esc\\\"aped\"");
	FString Token;
	ASSERT_TRUE(FParse::Token(Stream, Token, false));
	EXPECT_EQ(Utf8(Token), "One");
	ASSERT_TRUE(FParse::Token(Stream, Token, false));
	EXPECT_EQ(Utf8(Token), "two three");
	ASSERT_TRUE(FParse::Token(Stream, Token, false));
	EXPECT_EQ(Utf8(Token), "-Four=\"five six\"");
	ASSERT_TRUE(FParse::Token(Stream, Token, true));
	EXPECT_EQ(Utf8(Token), "esc\"aped");
	EXPECT_FALSE(FParse::Token(Stream, Token, false));

	const TCHAR* Command = TEXT("  Tarvoline Check");
	EXPECT_FALSE(FParse::Command(&Command, TEXT("Tarv")));
	EXPECT_TRUE(FParse::Command(&Command, TEXT("tarvoline")));
	EXPECT_EQ(Utf8(FString(Command)), "Check");

	const TCHAR* Lines = TEXT("first line\r\nsecond\n");
	FString Line;
	EXPECT_TRUE(FParse::Line(&Lines, Line));
	EXPECT_EQ(Utf8(Line), "first line");
	EXPECT_TRUE(FParse::Line(&Lines, Line));
	EXPECT_EQ(Utf8(Line), "second");
	EXPECT_FALSE(FParse::Line(&Lines, Line));
}
