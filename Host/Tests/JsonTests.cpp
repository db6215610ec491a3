// Tests of the stand-in's Json module: what the reader accepts and refuses, the lenient accessors and the Errors the
// strict ones log, and the writers' exact bytes.
#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "HostTestSupport.h"
#include "Misc/OutputDevice.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"
#include "Serialization/MemoryWriter.h"
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

namespace
{
using HostTest::Utf8;

/** Collects LogJson lines as the console would decorate them. */
class FJsonLogCapture final : public FOutputDevice
{
public:
	FJsonLogCapture() { GLog->AddOutputDevice(this); }
	~FJsonLogCapture() override { GLog->RemoveOutputDevice(this); }
	void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		if (Category == FName(TEXT("LogJson")))
		{
			Lines.push_back(Utf8(Category.ToString() + TEXT(": ") + ToString(Verbosity) + TEXT(": ") + V));
		}
	}
	std::vector<std::string> Lines;
};

TSharedPtr<FJsonValue> Parse(const FString& Text, FJsonSerializer::EFlags Flags = FJsonSerializer::EFlags::None)
{
	TSharedPtr<FJsonValue> Value;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Value, Flags))
	{
		return nullptr;
	}
	EXPECT_TRUE(Value.IsValid());
	return Value;
}

TSharedPtr<FJsonObject> ParseObject(const FString& Text)
{
	TSharedPtr<FJsonObject> Object;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Object))
	{
		return nullptr;
	}
	return Object;
}

/** Text written with '\n' for each line break, given the platform's LINE_TERMINATOR instead, as the pretty writer has it. */
std::string PlatformLines(const std::string& Text)
{
	const std::string Terminator = Utf8(FString(LINE_TERMINATOR));
	std::string Result;
	for (const char Char : Text)
	{
		if (Char == '\n')
		{
			Result += Terminator;
		}
		else
		{
			Result += Char;
		}
	}
	return Result;
}

FString WritePretty(const TSharedPtr<FJsonObject>& Object, int32 InitialIndent = 0)
{
	FString Out;
	EXPECT_TRUE(FJsonSerializer::Serialize(Object.ToSharedRef(), TJsonWriterFactory<>::Create(&Out, InitialIndent)));
	return Out;
}

FString WriteCondensed(const TSharedPtr<FJsonValue>& Value)
{
	FString Out;
	const auto Writer = TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&Out);
	EXPECT_TRUE(FJsonSerializer::Serialize(Value, FString(), Writer));
	return Out;
}

TSharedPtr<FJsonValue> Str(const TCHAR* Text)
{
	return MakeShared<FJsonValueString>(Text);
}

TSharedPtr<FJsonValue> Num(double Number)
{
	return MakeShared<FJsonValueNumber>(Number);
}

/** The service's example body, in the order the client sets it. */
TSharedPtr<FJsonObject> ExampleBody()
{
	TSharedPtr<FJsonObject> Body = MakeShared<FJsonObject>();
	Body->SetStringField(TEXT("prompt"), TEXT("walk"));
	Body->SetStringField(TEXT("assetId"), TEXT("abc"));
	Body->SetArrayField(TEXT("formats"), {Str(TEXT("fbx"))});
	return Body;
}
} // namespace

TEST(JsonRead, ReadsEveryKind)
{
	const TSharedPtr<FJsonObject> Object =
		ParseObject(TEXT(" \r\n\t{\"text\": \"a\\\"b\\\\c\\/d\\b\\f\\n\\r\\t\", "
						 "\"smile\": \"\\ud83d\\ude00 \\u00e9\\u0041\", "
						 "\"raw\": \"tab\there\nline\x01\", "
						 "\"flags\": [TRUE, False, NULL, true], "
						 "\"numbers\": [0, -0.5, 1e3, 2E-2, -1.5e+10, 12345678901234567890, 1e400], "
						 "\"nested\": {\"list\": [[], {}, [{\"deep\": \"yes\"}]], \"empty\": {}}, "
						 "\"native\": \"Füchsin 🦊\"} \r\n"));
	ASSERT_TRUE(Object.IsValid());

	FString Text;
	ASSERT_TRUE(Object->TryGetStringField(TEXT("text"), Text));
	EXPECT_EQ(Utf8(Text), "a\"b\\c/d\b\f\n\r\t");
	ASSERT_TRUE(Object->TryGetStringField(TEXT("smile"), Text));
	EXPECT_EQ(Utf8(Text), "\xF0\x9F\x98\x80 \xC3\xA9"
						  "A");
	EXPECT_EQ(Text.Len(), 5);
	ASSERT_TRUE(Object->TryGetStringField(TEXT("raw"), Text));
	EXPECT_EQ(Utf8(Text), "tab\there\nline\x01");
	ASSERT_TRUE(Object->TryGetStringField(TEXT("native"), Text));
	EXPECT_EQ(Utf8(Text), "Füchsin 🦊");

	const TArray<TSharedPtr<FJsonValue>>* Flags = nullptr;
	ASSERT_TRUE(Object->TryGetArrayField(TEXT("flags"), Flags));
	ASSERT_EQ(Flags->Num(), 4);
	EXPECT_EQ((*Flags)[0]->Type, EJson::Boolean);
	EXPECT_TRUE((*Flags)[0]->AsBool());
	EXPECT_FALSE((*Flags)[1]->AsBool());
	EXPECT_EQ((*Flags)[2]->Type, EJson::Null);
	EXPECT_TRUE((*Flags)[2]->IsNull());
	EXPECT_TRUE((*Flags)[3]->AsBool());

	const TArray<TSharedPtr<FJsonValue>>* Numbers = nullptr;
	ASSERT_TRUE(Object->TryGetArrayField(TEXT("numbers"), Numbers));
	ASSERT_EQ(Numbers->Num(), 7);
	EXPECT_EQ((*Numbers)[0]->AsNumber(), 0.0);
	EXPECT_EQ((*Numbers)[1]->AsNumber(), -0.5);
	EXPECT_EQ((*Numbers)[2]->AsNumber(), 1000.0);
	EXPECT_EQ((*Numbers)[3]->AsNumber(), 0.02);
	EXPECT_EQ((*Numbers)[4]->AsNumber(), -1.5e10);
	EXPECT_EQ((*Numbers)[5]->AsNumber(), 12345678901234567890.0);
	EXPECT_EQ((*Numbers)[6]->AsNumber(), std::numeric_limits<double>::infinity());

	const TSharedPtr<FJsonObject>* Nested = nullptr;
	ASSERT_TRUE(Object->TryGetObjectField(TEXT("nested"), Nested));
	const TArray<TSharedPtr<FJsonValue>>* List = nullptr;
	ASSERT_TRUE((*Nested)->TryGetArrayField(TEXT("list"), List));
	ASSERT_EQ(List->Num(), 3);
	EXPECT_EQ((*List)[0]->AsArray().Num(), 0);
	EXPECT_EQ((*List)[1]->AsObject()->Values.Num(), 0);
	EXPECT_EQ(Utf8((*List)[2]->AsArray()[0]->AsObject()->GetStringField(TEXT("deep"))), "yes");
	EXPECT_TRUE((*Nested)->HasTypedField<EJson::Object>(TEXT("empty")));
}

TEST(JsonRead, RootKindsAndOverloads)
{
	// The value overload takes either root; the object and array overloads only their own, and leave the output alone.
	const TSharedPtr<FJsonValue> ArrayRoot = Parse(TEXT("[1, 2]"));
	ASSERT_TRUE(ArrayRoot.IsValid());
	EXPECT_EQ(ArrayRoot->Type, EJson::Array);
	const TSharedPtr<FJsonValue> ObjectRoot = Parse(TEXT("{}"));
	ASSERT_TRUE(ObjectRoot.IsValid());
	EXPECT_EQ(ObjectRoot->Type, EJson::Object);

	const TSharedPtr<FJsonObject> Sentinel = MakeShared<FJsonObject>();
	TSharedPtr<FJsonObject> Object = Sentinel;
	EXPECT_FALSE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("[]")), Object));
	EXPECT_EQ(Object, Sentinel);

	TArray<TSharedPtr<FJsonValue>> Array = {Num(7)};
	EXPECT_FALSE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(TEXT("{\"a\": 1}")), Array));
	ASSERT_EQ(Array.Num(), 1);
	EXPECT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(FString(TEXT("[\"x\", {}]"))), Array));
	ASSERT_EQ(Array.Num(), 2);
	EXPECT_EQ(Array[1]->Type, EJson::Object);

	// A reader is used up by one document.
	const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(TEXT("{}"));
	EXPECT_TRUE(FJsonSerializer::Deserialize(Reader, Object));
	EXPECT_FALSE(FJsonSerializer::Deserialize(Reader, Object));
}

TEST(JsonRead, RefusesMalformedDocuments)
{
	const TCHAR* const Documents[] = {
		TEXT(""),
		TEXT(" \r\n\t"),
		TEXT("\f{}"),
		TEXT("\x00A0[]"),
		TEXT("1"),
		TEXT("-2.5"),
		TEXT("\"text\""),
		TEXT("true"),
		TEXT("null"),
		TEXT("]"),
		TEXT("}"),
		TEXT("{} x"),
		TEXT("{}{}"),
		TEXT("[],"),
		TEXT("[1,]"),
		TEXT("[,1]"),
		TEXT("{\"a\": 1,}"),
		TEXT("{,}"),
		TEXT("[1 2]"),
		TEXT("// comment\n{}"),
		TEXT("{/* comment */}"),
		TEXT("[1 /* comment */]"),
		TEXT("[NaN]"),
		TEXT("[Infinity]"),
		TEXT("[+1]"),
		TEXT("[01]"),
		TEXT("[-01]"),
		TEXT("[.5]"),
		TEXT("[1.]"),
		TEXT("[1e]"),
		TEXT("[1e+]"),
		TEXT("[-]"),
		TEXT("[0x10]"),
		TEXT("[1.5.3]"),
		TEXT("[\"unterminated]"),
		TEXT("[\"ends in a backslash\\"),
		TEXT("[\"\\x\"]"),
		TEXT("[\"\\u12G4\"]"),
		TEXT("[\"\\u12\"]"),
		TEXT("{\"a\""),
		TEXT("{\"a\":"),
		TEXT("{\"a\": 1"),
		TEXT("{\"a\" 1}"),
		TEXT("{'a': 1}"),
		TEXT("{a: 1}"),
		TEXT("{\"a\": 1]"),
		TEXT("[1}"),
		TEXT("["),
		TEXT("[[[]]"),
		TEXT("[truex]"),
		TEXT("[tru]"),
		TEXT("[nil]"),
		TEXT("[\"a\" \"b\"]"),
		TEXT("{\"a\": 1 \"b\": 2}"),
	};
	for (const TCHAR* Document : Documents)
	{
		TSharedPtr<FJsonValue> Value;
		const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(Document);
		EXPECT_FALSE(FJsonSerializer::Deserialize(Reader, Value)) << Utf8(Document);
		EXPECT_FALSE(Value.IsValid()) << Utf8(Document);
		EXPECT_FALSE(Reader->GetErrorMessage().IsEmpty()) << Utf8(Document);
	}

	// A text of opening brackets only, and one nested deeper than the reader goes, end in a refusal, not a crash.
	EXPECT_FALSE(Parse(FString::ChrN(100000, TEXT('['))).IsValid());
	EXPECT_FALSE(Parse(FString::ChrN(100000, TEXT('[')) + FString::ChrN(100000, TEXT(']'))).IsValid());
	EXPECT_FALSE(Parse(FString::ChrN(50000, TEXT('{')) + TEXT("\"a\":")).IsValid());
	// Ordinary depths read fine.
	EXPECT_TRUE(Parse(FString::ChrN(500, TEXT('[')) + FString::ChrN(500, TEXT(']'))).IsValid());
}

TEST(JsonRead, ErrorsSayWhere)
{
	const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(TEXT("{\n  \"a\": [1,]\n}"));
	TSharedPtr<FJsonValue> Value;
	EXPECT_FALSE(FJsonSerializer::Deserialize(Reader, Value));
	EXPECT_EQ(Reader->GetLineNumber(), 2u);
	EXPECT_EQ(Reader->GetCharacterNumber(), 11u);
	EXPECT_NE(Utf8(Reader->GetErrorMessage()).find("Line: 2 Ch: 11"), std::string::npos);
}

TEST(JsonRead, SurvivesMutatedDocuments)
{
	// Random edits of a valid document: each either fails or reads into a tree that writes and reads back the same.
	const std::u16string Seed = u"{\"id\": \"j1\", \"status\": \"done\", \"progress\": 0.75, \"ok\": true, "
								u"\"outputs\": [{\"kind\": \"fbx\", \"url\": \"http://h/x\\u0041\"}, null, [1, -2e3]]}";
	const std::u16string Alphabet = u"{}[]\":,\\ -+.eE0123456789tfnTFNu\x01\n";
	std::mt19937 Random(20240501);
	int32 Accepted = 0;
	for (int32 Round = 0; Round < 3000; ++Round)
	{
		std::u16string Text = Seed;
		const int32 Edits = 1 + (int32)(Random() % 4);
		for (int32 Edit = 0; Edit < Edits && !Text.empty(); ++Edit)
		{
			const size_t At = Random() % Text.size();
			const char16_t Char = Alphabet[Random() % Alphabet.size()];
			switch (Random() % 4)
			{
				case 0:
					Text[At] = Char;
					break;
				case 1:
					Text.insert(Text.begin() + (std::ptrdiff_t)At, Char);
					break;
				case 2:
					Text.erase(At, 1);
					break;
				default:
					Text.resize(At);
					break;
			}
		}
		FString Document;
		Document.HostStorage() = Text;
		const TSharedPtr<FJsonValue> Value = Parse(Document);
		if (!Value.IsValid())
		{
			continue;
		}
		++Accepted;
		const FString Written = WriteCondensed(Value);
		const TSharedPtr<FJsonValue> Again = Parse(Written);
		ASSERT_TRUE(Again.IsValid()) << Utf8(Document);
		EXPECT_TRUE(FJsonValue::CompareEqual(*Value, *Again)) << Utf8(Document);
		EXPECT_EQ(Utf8(WriteCondensed(Again)), Utf8(Written));
	}
	EXPECT_GT(Accepted, 0);
}

TEST(JsonObject, FieldNamesIgnoreCaseAndTheLastDuplicateWins)
{
	const TSharedPtr<FJsonObject> Object = ParseObject(TEXT("{\"Detail\": \"first\", \"b\": 1, \"DETAIL\": \"last\"}"));
	ASSERT_TRUE(Object.IsValid());
	EXPECT_EQ(Object->Values.Num(), 2);
	EXPECT_TRUE(Object->HasField(TEXT("detail")));
	FString Detail;
	EXPECT_TRUE(Object->TryGetStringField(TEXT("dEtAiL"), Detail));
	EXPECT_EQ(Utf8(Detail), "last");
	// The replaced member keeps its place.
	EXPECT_EQ(Utf8(WriteCondensed(MakeShared<FJsonValueObject>(Object))), "{\"Detail\":\"last\",\"b\":1}");

	Object->SetNumberField(TEXT("B"), 2);
	Object->SetStringField(TEXT("c"), TEXT("x"));
	Object->RemoveField(TEXT("DETAIL"));
	EXPECT_FALSE(Object->HasField(TEXT("Detail")));
	EXPECT_EQ(Utf8(WriteCondensed(MakeShared<FJsonValueObject>(Object))), "{\"b\":2,\"c\":\"x\"}");
}

TEST(JsonAccessors, TextValues)
{
	FJsonLogCapture Log;
	FString Text;
	EXPECT_TRUE(FJsonValueString(TEXT("12.5")).TryGetString(Text));
	EXPECT_EQ(Utf8(Text), "12.5");

	// double: only numeric text (sign, digits, one '.'); anything else leaves the output alone.
	double Double = -1.0;
	EXPECT_TRUE(FJsonValueString(TEXT("-12.5")).TryGetNumber(Double));
	EXPECT_EQ(Double, -12.5);
	Double = -1.0;
	EXPECT_FALSE(FJsonValueString(TEXT("abc")).TryGetNumber(Double));
	EXPECT_FALSE(FJsonValueString(TEXT("1e5")).TryGetNumber(Double));
	EXPECT_FALSE(FJsonValueString(TEXT("")).TryGetNumber(Double));
	EXPECT_EQ(Double, -1.0);

	// int32 and the other wide integers: always read, like Atoi.
	int32 Int = -1;
	EXPECT_TRUE(FJsonValueString(TEXT("abc")).TryGetNumber(Int));
	EXPECT_EQ(Int, 0);
	EXPECT_TRUE(FJsonValueString(TEXT("12.9")).TryGetNumber(Int));
	EXPECT_EQ(Int, 12);
	EXPECT_TRUE(FJsonValueString(TEXT("-42abc")).TryGetNumber(Int));
	EXPECT_EQ(Int, -42);
	int64 Int64 = 0;
	EXPECT_TRUE(FJsonValueString(TEXT("8589934592")).TryGetNumber(Int64));
	EXPECT_EQ(Int64, 8589934592LL);

	// bool: always read; "true", "yes", "on" or a non-zero integer is true.
	const std::pair<const TCHAR*, bool> Bools[] = {{TEXT("true"), true}, {TEXT("Yes"), true}, {TEXT("1"), true},
		{TEXT("on"), true}, {TEXT("false"), false}, {TEXT("0"), false}, {TEXT("abc"), false}, {TEXT(""), false}};
	for (const auto& [Input, Expected] : Bools)
	{
		bool Bool = !Expected;
		EXPECT_TRUE(FJsonValueString(Input).TryGetBool(Bool)) << Utf8(Input);
		EXPECT_EQ(Bool, Expected) << Utf8(Input);
	}
	EXPECT_TRUE(Log.Lines.empty());
}

TEST(JsonAccessors, NumberValues)
{
	FJsonLogCapture Log;
	const std::pair<double, const char*> Texts[] = {
		{12.0, "12"}, {12.5, "12.5"}, {-0.25, "-0.25"}, {0.0, "0"}, {1e20, "100000000000000000000"}};
	for (const auto& [Number, Expected] : Texts)
	{
		FString Text;
		EXPECT_TRUE(FJsonValueNumber(Number).TryGetString(Text));
		EXPECT_EQ(Utf8(Text), Expected);
	}

	double Double = 0.0;
	EXPECT_TRUE(FJsonValueNumber(-3.75).TryGetNumber(Double));
	EXPECT_EQ(Double, -3.75);

	// int32 rounds half away from zero and refuses what does not fit, leaving the output alone.
	const std::pair<double, int32> Rounded[] = {{12.9, 13}, {12.5, 13}, {12.4, 12}, {-12.5, -13}, {-0.4, 0},
		{2147483647.0, 2147483647}, {-2147483648.0, std::numeric_limits<int32>::min()}};
	for (const auto& [Number, Expected] : Rounded)
	{
		int32 Int = -1;
		EXPECT_TRUE(FJsonValueNumber(Number).TryGetNumber(Int)) << Number;
		EXPECT_EQ(Int, Expected) << Number;
	}
	for (const double Number : {3e9, 2147483647.5, -2147483648.5, std::numeric_limits<double>::quiet_NaN(),
			 std::numeric_limits<double>::infinity()})
	{
		int32 Int = 77;
		EXPECT_FALSE(FJsonValueNumber(Number).TryGetNumber(Int)) << Number;
		EXPECT_EQ(Int, 77);
	}

	// The other widths keep to their own ranges; 2^63 and 2^64 do not fit their 64-bit types.
	uint8 Byte = 9;
	EXPECT_FALSE(FJsonValueNumber(-1.0).TryGetNumber(Byte));
	EXPECT_FALSE(FJsonValueNumber(256.0).TryGetNumber(Byte));
	EXPECT_TRUE(FJsonValueNumber(254.6).TryGetNumber(Byte));
	EXPECT_EQ(Byte, 255);
	int64 Int64 = 0;
	EXPECT_FALSE(FJsonValueNumber(9223372036854775808.0).TryGetNumber(Int64));
	EXPECT_TRUE(FJsonValueNumber(-9223372036854775808.0).TryGetNumber(Int64));
	EXPECT_EQ(Int64, std::numeric_limits<int64>::min());
	uint64 UInt64 = 0;
	EXPECT_FALSE(FJsonValueNumber(18446744073709551616.0).TryGetNumber(UInt64));
	EXPECT_TRUE(FJsonValueNumber(4294967296.0).TryGetNumber(UInt64));
	EXPECT_EQ(UInt64, 4294967296ULL);
	float Float = 0.0f;
	EXPECT_FALSE(FJsonValueNumber(1e39).TryGetNumber(Float));
	EXPECT_TRUE(FJsonValueNumber(0.1).TryGetNumber(Float));
	EXPECT_EQ(Float, 0.1f);

	bool Bool = false;
	EXPECT_TRUE(FJsonValueNumber(0.5).TryGetBool(Bool));
	EXPECT_TRUE(Bool);
	EXPECT_TRUE(FJsonValueNumber(0.0).TryGetBool(Bool));
	EXPECT_FALSE(Bool);
	EXPECT_TRUE(Log.Lines.empty());
}

TEST(JsonAccessors, BooleanValues)
{
	for (const bool Value : {true, false})
	{
		const FJsonValueBoolean Boolean(Value);
		FString Text;
		double Double = -1.0;
		int32 Int = -1;
		bool Bool = !Value;
		EXPECT_TRUE(Boolean.TryGetString(Text));
		EXPECT_EQ(Utf8(Text), Value ? "true" : "false");
		EXPECT_TRUE(Boolean.TryGetNumber(Double));
		EXPECT_EQ(Double, Value ? 1.0 : 0.0);
		EXPECT_TRUE(Boolean.TryGetNumber(Int));
		EXPECT_EQ(Int, Value ? 1 : 0);
		EXPECT_TRUE(Boolean.TryGetBool(Bool));
		EXPECT_EQ(Bool, Value);
	}
}

TEST(JsonAccessors, NullArrayAndObjectReadAsNoScalar)
{
	FJsonLogCapture Log;
	const TSharedPtr<FJsonValue> Values[] = {MakeShared<FJsonValueNull>(),
		MakeShared<FJsonValueArray>(TArray<TSharedPtr<FJsonValue>>{Num(1)}),
		MakeShared<FJsonValueObject>(MakeShared<FJsonObject>())};
	for (const TSharedPtr<FJsonValue>& Value : Values)
	{
		FString Text = TEXT("kept");
		double Double = 5.0;
		int32 Int = 5;
		uint64 UInt64 = 5;
		bool Bool = true;
		EXPECT_FALSE(Value->TryGetString(Text));
		EXPECT_FALSE(Value->TryGetNumber(Double));
		EXPECT_FALSE(Value->TryGetNumber(Int));
		EXPECT_FALSE(Value->TryGetNumber(UInt64));
		EXPECT_FALSE(Value->TryGetBool(Bool));
		EXPECT_EQ(Utf8(Text), "kept");
		EXPECT_EQ(Double, 5.0);
		EXPECT_EQ(Int, 5);
		EXPECT_EQ(UInt64, 5u);
		EXPECT_TRUE(Bool);
	}
	EXPECT_TRUE(Log.Lines.empty());
}

TEST(JsonAccessors, ArrayAndObjectFieldsTakeOnlyTheirOwnKind)
{
	FJsonLogCapture Log;
	const TSharedPtr<FJsonObject> Object =
		ParseObject(TEXT("{\"list\": [1], \"obj\": {\"k\": 2}, \"none\": null, \"text\": \"[]\", \"num\": 12.9}"));
	ASSERT_TRUE(Object.IsValid());

	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	EXPECT_TRUE(Object->TryGetArrayField(TEXT("LIST"), Array));
	EXPECT_EQ(Array, &Object->Values[TEXT("list")]->AsArray());
	const TSharedPtr<FJsonObject>* Inner = nullptr;
	EXPECT_TRUE(Object->TryGetObjectField(TEXT("obj"), Inner));
	EXPECT_EQ(Inner, &Object->Values[TEXT("obj")]->AsObject());
	for (const TCHAR* Name : {TEXT("none"), TEXT("text"), TEXT("num"), TEXT("obj"), TEXT("missing")})
	{
		const TArray<TSharedPtr<FJsonValue>>* NoArray = nullptr;
		EXPECT_FALSE(Object->TryGetArrayField(Name, NoArray)) << Utf8(Name);
		EXPECT_EQ(NoArray, nullptr);
	}
	for (const TCHAR* Name : {TEXT("none"), TEXT("text"), TEXT("list"), TEXT("missing")})
	{
		const TSharedPtr<FJsonObject>* NoObject = nullptr;
		EXPECT_FALSE(Object->TryGetObjectField(Name, NoObject)) << Utf8(Name);
		EXPECT_EQ(NoObject, nullptr);
	}

	// The scalar field readers follow the value table; a missing field reads as nothing.
	int32 Int = 0;
	double Double = 0.0;
	FString Text;
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("num"), Int));
	EXPECT_EQ(Int, 13);
	EXPECT_TRUE(Object->TryGetNumberField(TEXT("num"), Double));
	EXPECT_EQ((int32)Double, 12);
	EXPECT_TRUE(Object->TryGetStringField(TEXT("num"), Text));
	EXPECT_EQ(Utf8(Text), "12.9");
	EXPECT_FALSE(Object->TryGetStringField(TEXT("list"), Text));
	EXPECT_FALSE(Object->TryGetStringField(TEXT("none"), Text));
	EXPECT_FALSE(Object->TryGetNumberField(TEXT("missing"), Double));
	EXPECT_TRUE(Log.Lines.empty());
}

TEST(JsonAccessors, StrictReadersLogTheWrongKind)
{
	const TSharedPtr<FJsonValue> Array = Parse(TEXT("[1]"));
	ASSERT_TRUE(Array.IsValid());
	{
		FJsonLogCapture Log;
		const TSharedPtr<FJsonObject>* Object = nullptr;
		EXPECT_FALSE(Array->TryGetObject(Object));
		EXPECT_TRUE(Log.Lines.empty());
	}
	{
		FJsonLogCapture Log;
		const TSharedPtr<FJsonObject>& First = Array->AsObject();
		ASSERT_TRUE(First.IsValid());
		EXPECT_EQ(First->Values.Num(), 0);
		ASSERT_EQ(Log.Lines.size(), 1u);
		EXPECT_EQ(Log.Lines[0], "LogJson: Error: Json Value of type 'Array' used as a 'Object'.");
		// Every wrong-kind read hands out the same empty object.
		EXPECT_EQ(&MakeShared<FJsonValueNull>()->AsObject(), &First);
	}
	{
		FJsonLogCapture Log;
		EXPECT_EQ(FJsonValueString(TEXT("abc")).AsNumber(), 0.0);
		EXPECT_EQ(MakeShared<FJsonValueObject>(MakeShared<FJsonObject>())->AsArray().Num(), 0);
		EXPECT_EQ(Utf8(FJsonValueNull().AsString()), "");
		EXPECT_FALSE(FJsonValueNull().AsBool());
		const std::vector<std::string> Expected = {
			"LogJson: Error: Json Value of type 'String' used as a 'Number'.",
			"LogJson: Error: Json Value of type 'Object' used as a 'Array'.",
			"LogJson: Error: Json Value of type 'Null' used as a 'String'.",
			"LogJson: Error: Json Value of type 'Null' used as a 'Boolean'.",
		};
		EXPECT_EQ(Log.Lines, Expected);
	}
	{
		// Conversions that the lenient readers allow are no error for the strict ones either.
		FJsonLogCapture Log;
		EXPECT_EQ(Utf8(FJsonValueNumber(12.0).AsString()), "12");
		EXPECT_EQ(Utf8(FJsonValueBoolean(true).AsString()), "true");
		EXPECT_EQ(FJsonValueString(TEXT("2.5")).AsNumber(), 2.5);
		EXPECT_TRUE(Log.Lines.empty());
	}
}

TEST(JsonWrite, PrettyExampleIsByteExact)
{
	// The engine's pretty policy ends lines with LINE_TERMINATOR: LF here, CR LF only on Windows.
	EXPECT_EQ(Utf8(WritePretty(ExampleBody())),
		PlatformLines("{\n\t\"prompt\": \"walk\",\n\t\"assetId\": \"abc\",\n\t\"formats\": [\n\t\t\"fbx\"\n\t]\n}"));
	EXPECT_EQ(Utf8(WritePretty(ExampleBody(), 1)),
		PlatformLines("{\n\t\t\"prompt\": \"walk\",\n\t\t\"assetId\": \"abc\",\n\t\t\"formats\": [\n\t\t\t\"fbx\"\n\t\t]\n\t}"));
	EXPECT_EQ(Utf8(WritePretty(MakeShared<FJsonObject>())), PlatformLines("{\n}"));
}

TEST(JsonWrite, PrettyNestedLayouts)
{
	TSharedPtr<FJsonObject> Inner = MakeShared<FJsonObject>();
	Inner->SetNumberField(TEXT("k"), 1);
	TSharedPtr<FJsonObject> Leaf = MakeShared<FJsonObject>();
	Leaf->SetStringField(TEXT("x"), TEXT("y"));

	TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetObjectField(TEXT("o"), Inner);
	Object->SetObjectField(TEXT("e"), MakeShared<FJsonObject>());
	Object->SetArrayField(TEXT("n"), {Num(1), Num(2)});
	Object->SetArrayField(TEXT("z"), {});
	Object->SetArrayField(TEXT("b"), {MakeShared<FJsonValueBoolean>(true), MakeShared<FJsonValueNull>()});
	const TArray<TSharedPtr<FJsonValue>> OneText = {Str(TEXT("s"))};
	Object->SetArrayField(TEXT("l"), {MakeShared<FJsonValueObject>(Leaf), MakeShared<FJsonValueArray>(OneText),
										 MakeShared<FJsonValueArray>(TArray<TSharedPtr<FJsonValue>>{})});
	Object->SetArrayField(TEXT("m"), {Str(TEXT("a")), Num(1)});
	Object->SetBoolField(TEXT("t"), false);
	Object->SetField(TEXT("u"), MakeShared<FJsonValueNull>());
	Object->SetObjectField(TEXT("v"), nullptr);

	EXPECT_EQ(Utf8(WritePretty(Object)), PlatformLines(
		"{\n"
		"\t\"o\":\n\t{\n\t\t\"k\": 1\n\t},\n"
		"\t\"e\":\n\t{\n\t},\n"
		"\t\"n\": [ 1, 2 ],\n"
		"\t\"z\": [],\n"
		"\t\"b\": [ true, null ],\n"
		"\t\"l\": [\n\t\t{\n\t\t\t\"x\": \"y\"\n\t\t},\n\t\t[\n\t\t\t\"s\"\n\t\t],\n\t\t[]\n\t],\n"
		"\t\"m\": [\n\t\t\"a\",\n\t\t1 ],\n"
		"\t\"t\": false,\n"
		"\t\"u\": null,\n"
		"\t\"v\": null\n"
		"}"));

	// An array root: a number inline, then text and an object each on their own line.
	FString Out;
	EXPECT_TRUE(FJsonSerializer::Serialize(
		TArray<TSharedPtr<FJsonValue>>{Num(1), Str(TEXT("a")), MakeShared<FJsonValueObject>(MakeShared<FJsonObject>())},
		TJsonWriterFactory<>::Create(&Out)));
	EXPECT_EQ(Utf8(Out), PlatformLines("[ 1,\n\t\"a\",\n\t{\n\t}\n]"));
}

/** A policy as a plug-in derives it: only the line break differs from the engine's pretty layout. */
struct FCrLfPrintPolicy : public TPrettyJsonPrintPolicy<TCHAR>
{
	static inline void WriteLineTerminator(FArchive* Stream)
	{
		TJsonPrintPolicy<TCHAR>::WriteString(Stream, FStringView(TEXT("\r\n")));
	}
};

/** Numbers through the policy too: a derived policy that hides WriteDouble changes every number written. */
struct FRoundedPrintPolicy : public TCondensedJsonPrintPolicy<TCHAR>
{
	static inline void WriteDouble(FArchive* Stream, double Value)
	{
		TJsonPrintPolicy<TCHAR>::WriteString(Stream, FString::Printf(TEXT("%.1f"), Value));
	}
};

/** Whether Policy::WriteString takes a bare TEXT literal; the engine's three overloads make that call ambiguous. */
template <typename Policy, typename = void>
struct TTakesBareLiteral : std::false_type
{
};
template <typename Policy>
struct TTakesBareLiteral<Policy,
	std::void_t<decltype(Policy::WriteString(static_cast<FArchive*>(nullptr), TEXT("\r\n")))>> : std::true_type
{
};
static_assert(!TTakesBareLiteral<TJsonPrintPolicy<TCHAR>>::value,
	"WriteString has only the FString, FStringView and FAnsiStringView overloads, so a bare literal is ambiguous");

TEST(JsonWrite, ADerivedPolicyReplacesEveryLineBreak)
{
	TSharedPtr<FJsonObject> Inner = MakeShared<FJsonObject>();
	Inner->SetNumberField(TEXT("k"), 1);
	TSharedPtr<FJsonObject> Object = ExampleBody();
	Object->SetObjectField(TEXT("o"), Inner);
	Object->SetArrayField(TEXT("n"), {Num(1), Str(TEXT("s"))});

	FString Out;
	EXPECT_TRUE(
		FJsonSerializer::Serialize(Object.ToSharedRef(), TJsonWriterFactory<TCHAR, FCrLfPrintPolicy>::Create(&Out)));
	EXPECT_EQ(Utf8(Out), "{\r\n\t\"prompt\": \"walk\",\r\n\t\"assetId\": \"abc\",\r\n\t\"formats\": [\r\n\t\t\"fbx\"\r\n\t],"
						 "\r\n\t\"o\":\r\n\t{\r\n\t\t\"k\": 1\r\n\t},\r\n\t\"n\": [ 1,\r\n\t\t\"s\"\r\n\t]\r\n}");
	// The same document, line for line, as the engine's own pretty writer lays it out with LF.
	std::string WithCrLf;
	for (const char Char : Utf8(WritePretty(Object)))
	{
		WithCrLf += Char == '\n' ? std::string("\r\n") : std::string(1, Char);
	}
	EXPECT_EQ(Utf8(Out), WithCrLf);

	FString Rounded;
	EXPECT_TRUE(FJsonSerializer::Serialize(
		TArray<TSharedPtr<FJsonValue>>{Num(2.25), Num(0.1)}, TJsonWriterFactory<TCHAR, FRoundedPrintPolicy>::Create(&Rounded)));
	EXPECT_EQ(Utf8(Rounded), "[2.2,0.1]");
}

TEST(JsonWrite, IntoAnArchiveOfTheWritersCharacters)
{
	// TCHAR units for a TCHAR writer, UTF-8 bytes for an ANSICHAR one; the archive stays the caller's.
	TArray<uint8> Wide;
	FMemoryWriter WideArchive(Wide);
	EXPECT_TRUE(FJsonSerializer::Serialize(ExampleBody().ToSharedRef(),
		TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&WideArchive)));
	const std::string Condensed = "{\"prompt\":\"walk\",\"assetId\":\"abc\",\"formats\":[\"fbx\"]}";
	ASSERT_EQ(Wide.Num(), (int32)(Condensed.size() * sizeof(TCHAR)));
	EXPECT_EQ(WideArchive.Tell(), (int64)Wide.Num());

	TSharedPtr<FJsonObject> Native = MakeShared<FJsonObject>();
	Native->SetStringField(TEXT("fox"), TEXT("Füchsin"));
	TArray<uint8> Narrow;
	FMemoryWriter NarrowArchive(Narrow);
	EXPECT_TRUE(FJsonSerializer::Serialize(Native.ToSharedRef(),
		TJsonWriterFactory<ANSICHAR, TCondensedJsonPrintPolicy<ANSICHAR>>::Create(&NarrowArchive)));
	EXPECT_EQ(std::string(reinterpret_cast<const char*>(Narrow.GetData()), (size_t)Narrow.Num()),
		"{\"fox\":\"F\xc3\xbc" "chsin\"}");
}

TEST(JsonWrite, NumbersAndEscapes)
{
	TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetNumberField(TEXT("three"), 3);
	Object->SetNumberField(TEXT("half"), 2.5);
	Object->SetNumberField(TEXT("tenth"), 0.1);
	Object->SetNumberField(TEXT("neg"), -12);
	Object->SetNumberField(TEXT("big"), 1e21);
	Object->SetNumberField(TEXT("tiny"), 1.5e-7);
	Object->SetStringField(TEXT("s"), TEXT("q\"b\\n\nr\rt\tb\bf\f/\x01\x1f\x7f é 🦊"));
	Object->SetStringField(TEXT("na\"me"), TEXT(""));
	EXPECT_EQ(Utf8(WriteCondensed(MakeShared<FJsonValueObject>(Object))),
		"{\"three\":3,\"half\":2.5,\"tenth\":0.10000000000000001,\"neg\":-12,\"big\":1e+21,"
		"\"tiny\":1.4999999999999999e-07,"
		"\"s\":\"q\\\"b\\\\n\\nr\\rt\\tb\\bf\\f/\\u0001\\u001f\x7f é 🦊\",\"na\\\"me\":\"\"}");
}

TEST(JsonWrite, CondensedLayout)
{
	EXPECT_EQ(Utf8(WriteCondensed(MakeShared<FJsonValueObject>(ExampleBody()))),
		"{\"prompt\":\"walk\",\"assetId\":\"abc\",\"formats\":[\"fbx\"]}");
	const TSharedPtr<FJsonValue> Nested = Parse(TEXT("{\"o\": {}, \"a\": [1, \"x\", [], {\"k\": null}], \"t\": true}"));
	ASSERT_TRUE(Nested.IsValid());
	EXPECT_EQ(Utf8(WriteCondensed(Nested)), "{\"o\":{},\"a\":[1,\"x\",[],{\"k\":null}],\"t\":true}");
}

TEST(JsonWrite, TextArrivesWhenTheWriterCloses)
{
	FString Out = TEXT("old");
	const TSharedRef<TJsonWriter<>> Writer = TJsonWriterFactory<>::Create(&Out);
	Writer->WriteObjectStart();
	Writer->WriteValue(TEXT("a"), 1);
	EXPECT_TRUE(FJsonSerializer::Serialize(Str(TEXT("v")), TEXT("k"), Writer, false));
	EXPECT_EQ(Utf8(Out), "old");
	Writer->WriteObjectEnd();
	EXPECT_EQ(Utf8(Out), "old");
	EXPECT_TRUE(Writer->Close());
	EXPECT_EQ(Utf8(Out), PlatformLines("{\n\t\"a\": 1,\n\t\"k\": \"v\"\n}"));

	// An unfinished document is delivered as far as it goes, and Close says it is not whole.
	FString Partial;
	const TSharedRef<TJsonWriter<>> Open = TJsonWriterFactory<>::Create(&Partial);
	Open->WriteArrayStart();
	Open->WriteValue(TEXT("x"));
	EXPECT_FALSE(Open->Close());
	EXPECT_EQ(Utf8(Partial), PlatformLines("[\n\t\"x\""));
}

TEST(JsonRoundTrip, ReadWriteRead)
{
	const FString Document =
		TEXT("{\"id\": \"j-1\", \"Status\": \"done\", \"progress\": 0.1, \"credits\": -12, "
			 "\"outputs\": [{\"kind\": \"fbx\", \"url\": \"http://h/a b\\u00e9\"}, null, [true, FALSE]], "
			 "\"notes\": [\"tab\\tquote\\\" \\ud83d\\ude00\", \"\"], \"empty\": {}, \"none\": []}");
	const TSharedPtr<FJsonObject> First = ParseObject(Document);
	ASSERT_TRUE(First.IsValid());
	const FString Pretty = WritePretty(First);
	const TSharedPtr<FJsonObject> Second = ParseObject(Pretty);
	ASSERT_TRUE(Second.IsValid());
	EXPECT_TRUE(FJsonValue::CompareEqual(FJsonValueObject(First), FJsonValueObject(Second)));
	EXPECT_EQ(Utf8(WritePretty(Second)), Utf8(Pretty));
	EXPECT_EQ(Utf8(WriteCondensed(MakeShared<FJsonValueObject>(Second))),
		"{\"id\":\"j-1\",\"Status\":\"done\",\"progress\":0.10000000000000001,\"credits\":-12,"
		"\"outputs\":[{\"kind\":\"fbx\",\"url\":\"http://h/a bé\"},null,[true,false]],"
		"\"notes\":[\"tab\\tquote\\\" 😀\",\"\"],\"empty\":{},\"none\":[]}");

	// Numbers kept as text go back out as they came in.
	const TSharedPtr<FJsonValue> Kept =
		Parse(TEXT("[12.50, 1E3, -0, 42]"), FJsonSerializer::EFlags::StoreNumbersAsStrings);
	ASSERT_TRUE(Kept.IsValid());
	EXPECT_EQ(Utf8(WriteCondensed(Kept)), "[12.50,1E3,-0,42]");
	double Double = 0.0;
	int32 Int = 7;
	EXPECT_TRUE(Kept->AsArray()[1]->TryGetNumber(Double));
	EXPECT_EQ(Double, 1000.0);
	EXPECT_FALSE(Kept->AsArray()[0]->TryGetNumber(Int));
	EXPECT_EQ(Int, 7);
	EXPECT_TRUE(Kept->AsArray()[3]->TryGetNumber(Int));
	EXPECT_EQ(Int, 42);
}
