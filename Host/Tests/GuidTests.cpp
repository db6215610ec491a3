// Tests of GUIDs: their text forms, reading them back, and that new ones never repeat, not even across a fork.
#include "CoreMinimal.h"
#include "HostTestSupport.h"
#include "Misc/Guid.h"
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
using HostTest::Utf8;

const FGuid Sample(0x01234567, 0x89ABCDEF, 0xDEADBEEF, 0x0000F00D);
} // namespace

TEST(Guid, TextForms)
{
	EXPECT_EQ(Utf8(Sample.ToString()), "0123456789ABCDEFDEADBEEF0000F00D");
	EXPECT_EQ(Utf8(Sample.ToString(EGuidFormats::DigitsLower)), "0123456789abcdefdeadbeef0000f00d");
	EXPECT_EQ(Utf8(Sample.ToString(EGuidFormats::DigitsWithHyphens)), "01234567-89AB-CDEF-DEAD-BEEF0000F00D");
	EXPECT_EQ(Utf8(Sample.ToString(EGuidFormats::DigitsWithHyphensLower)), "01234567-89ab-cdef-dead-beef0000f00d");
	EXPECT_EQ(Utf8(Sample.ToString(EGuidFormats::DigitsWithHyphensInBraces)), "{01234567-89AB-CDEF-DEAD-BEEF0000F00D}");
	EXPECT_EQ(
		Utf8(Sample.ToString(EGuidFormats::DigitsWithHyphensInParentheses)), "(01234567-89AB-CDEF-DEAD-BEEF0000F00D)");
	EXPECT_EQ(Utf8(Sample.ToString(EGuidFormats::HexValuesInBraces)),
		"{0x01234567,0x89AB,0xCDEF,{0xDE,0xAD,0xBE,0xEF,0x00,0x00,0xF0,0x0D}}");
	EXPECT_EQ(Utf8(Sample.ToString(EGuidFormats::UniqueObjectGuid)), "01234567-89ABCDEF-DEADBEEF-0000F00D");
	EXPECT_EQ(Utf8(FGuid().ToString()), "00000000000000000000000000000000");

	// AppendString adds to what is there: a multipart boundary is a prefix and the digits.
	FString Boundary = TEXT("----tarvoline");
	FGuid::NewGuid().AppendString(Boundary);
	EXPECT_EQ(Boundary.Len(), 45);
	EXPECT_TRUE(Boundary.StartsWith(TEXT("----tarvoline"), ESearchCase::CaseSensitive));
	for (int32 Index = 13; Index < Boundary.Len(); ++Index)
	{
		const TCHAR C = Boundary[Index];
		EXPECT_TRUE((C >= '0' && C <= '9') || (C >= 'A' && C <= 'F')) << Utf8(Boundary);
	}
}

TEST(Guid, ParsesWhatItWrites)
{
	for (EGuidFormats Format : {EGuidFormats::Digits, EGuidFormats::DigitsLower, EGuidFormats::DigitsWithHyphens,
			 EGuidFormats::DigitsWithHyphensLower, EGuidFormats::DigitsWithHyphensInBraces,
			 EGuidFormats::DigitsWithHyphensInParentheses, EGuidFormats::HexValuesInBraces,
			 EGuidFormats::UniqueObjectGuid})
	{
		const FString Text = Sample.ToString(Format);
		FGuid Exact;
		EXPECT_TRUE(FGuid::ParseExact(Text, Format, Exact)) << Utf8(Text);
		EXPECT_EQ(Exact, Sample) << Utf8(Text);
		FGuid Any;
		EXPECT_TRUE(FGuid::Parse(Text, Any)) << Utf8(Text);
		EXPECT_EQ(Any, Sample) << Utf8(Text);
	}
	FGuid Out = Sample;
	EXPECT_FALSE(FGuid::Parse(TEXT("0123456789ABCDEFDEADBEEF0000F00G"), Out));
	EXPECT_FALSE(FGuid::Parse(TEXT("0123"), Out));
	EXPECT_FALSE(FGuid::ParseExact(TEXT("01234567-89AB-CDEF-DEAD-BEEF0000F00D"), EGuidFormats::Digits, Out));
	EXPECT_FALSE(FGuid::Parse(TEXT("01234567+89AB-CDEF-DEAD-BEEF0000F00D"), Out));
	EXPECT_EQ(Out, Sample);
	EXPECT_FALSE(FGuid(FString(TEXT("nonsense"))).IsValid());
}

TEST(Guid, NewGuidsNeverRepeat)
{
	std::set<std::string> Seen;
	TMap<FGuid, int32> ByGuid;
	for (int32 Index = 0; Index < 10000; ++Index)
	{
		const FGuid Guid = FGuid::NewGuid();
		ASSERT_TRUE(Guid.IsValid());
		ASSERT_TRUE(Seen.insert(Utf8(Guid.ToString())).second);
		ByGuid.Add(Guid, Index);
	}
	EXPECT_EQ(ByGuid.Num(), 10000);

	// A forked process draws its own: a generator copied with the process would repeat the parent's next value.
	int Pipe[2];
	ASSERT_EQ(pipe(Pipe), 0);
	const pid_t Child = fork();
	ASSERT_GE(Child, 0);
	if (Child == 0)
	{
		const FGuid Guid = FGuid::NewGuid();
		const ssize_t Written = write(Pipe[1], &Guid, sizeof(Guid));
		_exit(Written == (ssize_t)sizeof(Guid) ? 0 : 1);
	}
	const FGuid Mine = FGuid::NewGuid();
	FGuid Theirs;
	ASSERT_EQ(read(Pipe[0], &Theirs, sizeof(Theirs)), (ssize_t)sizeof(Theirs));
	int Status = 0;
	waitpid(Child, &Status, 0);
	close(Pipe[0]);
	close(Pipe[1]);
	EXPECT_TRUE(Theirs.IsValid());
	EXPECT_NE(Mine, Theirs);

	FGuid Invalidated = Mine;
	Invalidated.Invalidate();
	EXPECT_FALSE(Invalidated.IsValid());
	EXPECT_EQ(Invalidated, FGuid());
}
