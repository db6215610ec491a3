// Tests of the stand-in's text core: formatting as C formats, UTF-8 both ways, the engine's case rules for strings,
// maps and names, and what a log line looks like.
#include "CoreMinimal.h"
#include "HostTestSupport.h"
#include "Misc/Base64.h"
#include "Misc/OutputDevice.h"
#include <gtest/gtest.h>
#include <string>

namespace
{
using HostTest::Utf8;

/** Collects log lines as the console would decorate them. */
class FCaptureDevice final : public FOutputDevice
{
public:
	FCaptureDevice() { GLog->AddOutputDevice(this); }
	~FCaptureDevice() override { GLog->RemoveOutputDevice(this); }
	void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		Lines.push_back(Utf8(Category.ToString() + TEXT(": ") + ToString(Verbosity) + TEXT(": ") + V));
	}
	std::vector<std::string> Lines;
};
} // namespace

DEFINE_LOG_CATEGORY_STATIC(LogHostTest, Display, All);

TEST(CoreFormat, RoundsAsC)
{
	// Half-way cases round on the binary value, as C does: 0.25 is exact and goes to even, 0.35 is just under.
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%.1f"), 0.25)), "0.2");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%.1f"), 0.35)), "0.3");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%.1f"), 2.26)), "2.3");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%.1f"), 3.0)), "3.0");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%.0f"), 2.5)), "2");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%.0f"), 13.5)), "14");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%.2f"), 1.005)), "1.00");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%3.3f"), 3.14159)), "3.142");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("X=%3.3f"), -0.5f)), "X=-0.500");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%f"), 1.5f)), "1.500000");
}

TEST(CoreFormat, IntegersAndText)
{
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%d %i %u"), -7, 42, 4000000000u)), "-7 42 4000000000");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("(%lld bytes)"), (long long)268435456 * 16)), "(4294967296 bytes)");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%x %X %%"), 255, 255)), "ff FF %");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("[%5d|%-4d|%03d]"), 42, 7, 5)), "[   42|7   |005]");
	// An int32 conversion of a wider value keeps the low 32 bits, as a variadic int read would.
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%d"), (int64)0x100000002LL)), "2");
	const FString Name = UTF8_TO_TCHAR("Füchsin 🦊.fbx");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("Could not read %s."), *Name)), "Could not read Füchsin 🦊.fbx.");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("[%s]"), TEXT(""))), "[]");
	EXPECT_EQ(
		Utf8(FString::Printf(TEXT("[%6s|%-6s|%.2s]"), TEXT("ab"), TEXT("cd"), TEXT("xyz"))), "[    ab|cd    |xy]");
	EXPECT_EQ(Utf8(FString::Printf(TEXT("%c%c"), TCHAR('o'), TCHAR('k'))), "ok");
}

TEST(CoreFormat, MismatchedArgumentsAreRefused)
{
	std::u16string Out;
	const HostFormat::FArg Number = HostFormat::MakeArg(5);
	EXPECT_FALSE(HostFormat::FormatInto(Out, u"%s", &Number, 1));
	EXPECT_FALSE(HostFormat::FormatInto(Out, u"%d %d", &Number, 1));
	const HostFormat::FArg Text = HostFormat::MakeArg(u"x");
	EXPECT_FALSE(HostFormat::FormatInto(Out, u"%f", &Text, 1));
	Out.clear();
	EXPECT_TRUE(HostFormat::FormatInto(Out, u"100% %q", nullptr, 0));
	EXPECT_EQ(Out, u"100% %q");
}

TEST(CoreUtf8, RoundTripsAndRepairs)
{
	const char* Samples[] = {"", "plain", "Grüße", "日本語のテキスト", "emoji 🦊🐸 mix", "\x7f\xc2\x80"};
	for (const char* Sample : Samples)
	{
		const FString Text = UTF8_TO_TCHAR(Sample);
		const FTCHARToUTF8 Back(*Text);
		EXPECT_EQ(std::string(Back.Get(), Back.Length()), std::string(Sample));
	}
	EXPECT_EQ(FString(UTF8_TO_TCHAR("🦊")).Len(), 2); // a surrogate pair
	EXPECT_EQ(FTCHARToUTF8(TEXT("é")).Length(), 2);

	// Malformed input becomes '?', never a crash or a lost terminator.
	EXPECT_EQ(Utf8(FString(UTF8_TO_TCHAR("a\xff"
										 "b"))),
		"a?b");
	EXPECT_EQ(Utf8(FString(UTF8_TO_TCHAR("\xc0\xaf"))), "??"); // overlong '/'
	EXPECT_EQ(Utf8(FString(UTF8_TO_TCHAR("\xe2\x82"))), "??"); // truncated
	const TCHAR Lone[] = {0xD83E, 'x', 0};
	EXPECT_EQ(std::string(FTCHARToUTF8(Lone).Get()), "?x");

	const uint8 Bytes[] = {'f', 0xC3, 0xBC, 'r'};
	EXPECT_EQ(Utf8(FString(4, (const UTF8CHAR*)Bytes)), "für");
	const auto Cast = StringCast<UTF8CHAR>(TEXT("ß"));
	EXPECT_EQ(Cast.Length(), 2);
}

TEST(CoreString, CaseRulesFollowTheEngine)
{
	const FString Status = TEXT("READY");
	EXPECT_TRUE(Status == TEXT("ready"));
	EXPECT_FALSE(Status.Equals(TEXT("ready")));
	EXPECT_TRUE(Status.Equals(TEXT("ready"), ESearchCase::IgnoreCase));
	EXPECT_TRUE(FString(TEXT("Quad_trot")).StartsWith(TEXT("quad_")));
	EXPECT_FALSE(FString(TEXT("Quad_trot")).StartsWith(TEXT("quad_"), ESearchCase::CaseSensitive));

	FString Primitive = TEXT("QUAD_walk_quad_x");
	EXPECT_TRUE(Primitive.RemoveFromStart(TEXT("quad_")));
	EXPECT_EQ(Utf8(Primitive), "walk_quad_x");
	EXPECT_EQ(Primitive.ReplaceInline(TEXT("_"), TEXT(" ")), 2);
	EXPECT_EQ(Utf8(Primitive), "walk quad x");

	FString Url = TEXT("http://127.0.0.1:8080//");
	EXPECT_TRUE(Url.RemoveFromEnd(TEXT("/")));
	EXPECT_EQ(Utf8(Url), "http://127.0.0.1:8080/");
	EXPECT_EQ(FString(TEXT("abcABC")).Find(TEXT("C")), 2);
	EXPECT_EQ(FString(TEXT("abcABC")).Find(TEXT("C"), ESearchCase::CaseSensitive), 5);
}

TEST(CoreString, SlicingTrimmingAndPaths)
{
	const FString Text = TEXT("abcdef");
	EXPECT_EQ(Utf8(Text.Left(8)), "abcdef");
	EXPECT_EQ(Utf8(Text.Left(-1)), "");
	EXPECT_EQ(Utf8(Text.Mid(4, 100)), "ef");
	EXPECT_EQ(Utf8(Text.Mid(10)), "");
	EXPECT_EQ(Utf8(Text.RightChop(2)), "cdef");
	EXPECT_EQ(Utf8(FString(TEXT(" \t walk \r\n")).TrimStartAndEnd()), "walk");
	EXPECT_EQ(Utf8(FString(TEXT("a")) / TEXT("b")), "a/b");
	EXPECT_EQ(Utf8(FString(TEXT("a/")) / TEXT("b")), "a/b");
	EXPECT_EQ(Utf8(FString(TEXT("a")) / TEXT("/b")), "a/b");
	EXPECT_EQ(Utf8(FString() / TEXT("b")), "b");

	TArray<FString> Parts;
	EXPECT_EQ(FString(TEXT("a,,b,")).ParseIntoArray(Parts, TEXT(","), true), 2);
	EXPECT_EQ(FString(TEXT("a,,b,")).ParseIntoArray(Parts, TEXT(","), false), 4);
	EXPECT_EQ(Utf8(FString::Join(TArray<FString>{TEXT("walk 3.0 s"), TEXT("jump 1.0 s")}, TEXT(", "))),
		"walk 3.0 s, jump 1.0 s");
	EXPECT_EQ(Utf8(FString::Join(TArray<FString>(), TEXT(", "))), "");
	EXPECT_TRUE(FString(TEXT("-12.5")).IsNumeric());
	EXPECT_FALSE(FString(TEXT("1.2.3")).IsNumeric());
	EXPECT_FALSE(FString(TEXT("1e5")).IsNumeric());
	EXPECT_EQ(FCString::Atoi(TEXT("12.9")), 12);
	EXPECT_EQ(FCString::Atoi(TEXT("abc")), 0);
}

TEST(CoreContainers, MapKeysIgnoreCaseAndKeepOrder)
{
	TMap<FString, int32> Map;
	Map.Add(TEXT("prompt"), 1);
	Map.Add(TEXT("assetId"), 2);
	Map.Add(TEXT("Prompt"), 3); // replaces, keeps the first spelling and place
	ASSERT_EQ(Map.Num(), 2);
	std::vector<std::string> Keys;
	for (const TPair<FString, int32>& Pair : Map)
	{
		Keys.push_back(Utf8(Pair.Key) + "=" + std::to_string(Pair.Value));
	}
	EXPECT_EQ(Keys, (std::vector<std::string>{"prompt=3", "assetId=2"}));
	EXPECT_NE(Map.Find(TEXT("ASSETID")), nullptr);
	EXPECT_EQ(Map.Remove(TEXT("PROMPT")), 1);
	EXPECT_FALSE(Map.Contains(TEXT("prompt")));
	EXPECT_TRUE(Map.Contains(TEXT("assetid")));

	EXPECT_TRUE(FName(TEXT("Hips")) == FName(TEXT("hips")));
	EXPECT_EQ(Utf8(FName(TEXT("hips")).ToString()), "hips");
	EXPECT_EQ(Utf8(FName(TEXT("Hips")).ToString()), "Hips");
	EXPECT_TRUE(FName().IsNone());
}

namespace
{
struct FPanelLike : public TSharedFromThis<FPanelLike>
{
	int32 Calls = 0;
	void OnAnswer(int32 Value) { Calls += Value; }
};
} // namespace

TEST(CoreDelegates, WeakBindingsStopWhenTheObjectGoes)
{
	TDelegate<void(int32)> Delegate;
	TWeakPtr<FPanelLike> Weak;
	{
		TSharedRef<FPanelLike> Panel = MakeShared<FPanelLike>();
		Weak = Panel;
		Delegate = TDelegate<void(int32)>::CreateSP(Panel, &FPanelLike::OnAnswer);
		EXPECT_TRUE(Delegate.ExecuteIfBound(2));
		EXPECT_EQ(Panel->Calls, 2);
		EXPECT_EQ(Panel->AsShared()->Calls, 2);
	}
	EXPECT_FALSE(Weak.IsValid());
	EXPECT_FALSE(Delegate.IsBound());
	EXPECT_FALSE(Delegate.ExecuteIfBound(1));

	int32 Seen = 0;
	auto WithPayload = TDelegate<void(int32)>::CreateLambda(
		[&Seen](int32 Value, int32 Extra)
		{
			Seen = Value * Extra;
		},
		10);
	WithPayload.Execute(4);
	EXPECT_EQ(Seen, 40);

	TMulticastDelegate<void(int32)> Multi;
	const FDelegateHandle First = Multi.AddLambda(
		[&Seen](int32 Value)
		{
			Seen += Value;
		});
	Multi.AddLambda(
		[&Seen](int32 Value)
		{
			Seen += 100 * Value;
		});
	Seen = 0;
	Multi.Broadcast(1);
	EXPECT_EQ(Seen, 101);
	EXPECT_TRUE(Multi.Remove(First));
	Multi.Broadcast(1);
	EXPECT_EQ(Seen, 201);
}

TEST(CoreText, LocalizedTextsKeepNamespaceAndKey)
{
#define LOCTEXT_NAMESPACE "Tarvoline"
	const FText Connect = LOCTEXT("Connect", "Connect");
#undef LOCTEXT_NAMESPACE
	EXPECT_EQ(Utf8(FTextInspector::GetNamespace(Connect).GetValue()), "Tarvoline");
	EXPECT_EQ(Utf8(FTextInspector::GetKey(Connect).GetValue()), "Connect");
	EXPECT_FALSE(FTextInspector::GetKey(FText::FromString(TEXT("x"))).IsSet());
	FString Source;
	EXPECT_TRUE(HostText::FindLocalizableText(TEXT("Tarvoline"), TEXT("Connect"), Source));
	EXPECT_EQ(Utf8(Source), "Connect");
	EXPECT_EQ(Utf8(FText::Format(
				  FText::FromString(TEXT("{0} of {1} `{x`}")), FText::AsNumber(1234), FText::FromString(TEXT("all")))
					   .ToString()),
		"1,234 of all {x}");
}

TEST(CoreLog, LinesCarryCategoryAndVerbosity)
{
	FCaptureDevice Capture;
	UE_LOG(LogHostTest, Display, TEXT("CHECK %s %s"), TEXT("PASS"), TEXT("signed in"));
	UE_LOG(LogHostTest, Error, TEXT("usage: %d"), 2);
	UE_LOG(LogHostTest, Verbose, TEXT("hidden"));
	ASSERT_EQ(Capture.Lines.size(), 2u);
	EXPECT_EQ(Capture.Lines[0], "LogHostTest: Display: CHECK PASS signed in");
	EXPECT_EQ(Capture.Lines[1], "LogHostTest: Error: usage: 2");
}

TEST(CoreChecks, FailedCheckEndsTheProcess)
{
	TArray<int32> Empty;
	EXPECT_DEATH((void)Empty[0], "Assertion failed");
	TOptional<int32> Unset;
	EXPECT_DEATH((void)Unset.GetValue(), "Assertion failed");
}

TEST(CoreBase64, DecodesPaddedAndUnpaddedAndRefusesStrayCharacters)
{
	TArray<uint8> Bytes;
	ASSERT_TRUE(FBase64::Decode(TEXT("AP8/+w=="), Bytes));
	EXPECT_EQ(Bytes, (TArray<uint8>{0x00, 0xFF, 0x3F, 0xFB}));
	ASSERT_TRUE(FBase64::Decode(TEXT("AP8/+w"), Bytes));
	EXPECT_EQ(Bytes.Num(), 4);
	ASSERT_TRUE(FBase64::Decode(TEXT("AP8_-w"), Bytes, EBase64Mode::UrlSafe));
	EXPECT_EQ(Bytes, (TArray<uint8>{0x00, 0xFF, 0x3F, 0xFB}));
	ASSERT_TRUE(FBase64::Decode(TEXT(""), Bytes));
	EXPECT_EQ(Bytes.Num(), 0);
	// The engine refuses white space and impossible lengths rather than skipping them.
	EXPECT_FALSE(FBase64::Decode(TEXT("AP8/ +w=="), Bytes));
	EXPECT_FALSE(FBase64::Decode(TEXT("AP8/+"), Bytes));
	EXPECT_FALSE(FBase64::Decode(TEXT("AP8_-w"), Bytes));
}
