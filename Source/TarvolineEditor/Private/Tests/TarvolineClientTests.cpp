// Automation tests of the service client against the local Tarvoline service: how requests are built, the sentence of
// every failure, lenient reading of the service's records, the bytes of upload and JSON bodies, and downloads.
// Each test resets the local service first, so the tests do not depend on their order.

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "HAL/FileManager.h"
#include "Misc/AutomationTest.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"
#include "TarvolineApi.h"
#include "TarvolineService.h"
#include "TarvolineTestHelpers.h"

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
#include "HostHttpTesting.h"
#endif

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolineClientTest
{
using namespace TarvolineTest;

template <typename RecordType>
using TCall = TFunction<void(const TSharedRef<TOutcome<RecordType>>&)>;

template <typename RecordType>
using TOutcomes = TArray<TSharedRef<TOutcome<RecordType>>>;

/** A fault to arm and what the call must then report. */
struct FCase
{
	FString Fault;
	FString Message;
	int32 Status;
};

const TCHAR* const Unreadable = TEXT("Tarvoline sent an answer we could not read.");
const TCHAR* const BrokenLink = TEXT("The download link did not work. Press Check again.");
const TCHAR* const Reset = TEXT("/_sim/reset");

FString Unreachable()
{
	return FString::Printf(
		TEXT("Could not reach %s. Check the internet connection and try again."), TarvolineApi::TarvolineSiteHost);
}

FString KeyRefused()
{
	return FString::Printf(
		TEXT("That API key was not accepted. Make a new one at %s/account."), TarvolineApi::TarvolineSiteHost);
}

FString NoCredits()
{
	return FString::Printf(TEXT("Not enough credits for that. Top up at %s/credits."), TarvolineApi::TarvolineSiteHost);
}

FString Answered(int32 Status)
{
	return FString::Printf(TEXT("Tarvoline answered %d. Try again, or write to us if it keeps happening."), Status);
}

/** A fault that answers the next API request (under Path, when given) with Status and exactly Body. */
FString AnswerFault(const FString& Body, int32 Status = 200, const FString& Path = FString())
{
	const TSharedRef<FJsonObject> Fault = MakeShared<FJsonObject>();
	Fault->SetStringField(TEXT("kind"), TEXT("status"));
	Fault->SetNumberField(TEXT("status"), Status);
	Fault->SetStringField(TEXT("body"), Body);
	Fault->SetStringField(TEXT("contentType"), TEXT("application/json"));
	if (!Path.IsEmpty())
	{
		Fault->SetStringField(TEXT("path"), Path);
	}
	FString Text;
	FJsonSerializer::Serialize(Fault, TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&Text));
	return Text;
}

TArray<FString> AnswerFaults(const TArray<FString>& Bodies)
{
	TArray<FString> Faults;
	for (const FString& Body : Bodies)
	{
		Faults.Add(AnswerFault(Body));
	}
	return Faults;
}

TArray<FString> FaultsOf(const TArray<FCase>& Cases)
{
	TArray<FString> Faults;
	for (const FCase& Case : Cases)
	{
		Faults.Add(Case.Fault);
	}
	return Faults;
}

/** A committed test model, by file name. */
FString ModelPath(const TCHAR* FileName)
{
	return TarvolineTest::TestModelFile(FileName);
}

TArray<uint8> Utf8(const FString& Text)
{
	const FTCHARToUTF8 Converted(*Text, Text.Len());
	return TArray<uint8>(reinterpret_cast<const uint8*>(Converted.Get()), Converted.Length());
}

/** Bytes as text with escapes, for messages that show how two bodies differ. */
FString Show(const TArray<uint8>& Bytes)
{
	FString Text;
	for (const uint8 Byte : Bytes)
	{
		Text += (Byte >= 32 && Byte < 127 && Byte != '\\') ? FString::Chr(TCHAR(Byte))
														   : FString::Printf(TEXT("\\x%02X"), Byte);
	}
	return Text;
}

void TestText(FAutomationTestBase* Test, const FString& What, const FString& Actual, const FString& Expected)
{
	if (!Actual.Equals(Expected, ESearchCase::CaseSensitive))
	{
		Test->AddError(FString::Printf(TEXT("%s: got \"%s\", expected \"%s\"."), *What, *Actual, *Expected));
	}
}

void TestBytes(
	FAutomationTestBase* Test, const FString& What, const TArray<uint8>& Actual, const TArray<uint8>& Expected)
{
	if (Actual != Expected)
	{
		Test->AddError(FString::Printf(TEXT("%s: got %d bytes \"%s\", expected %d bytes \"%s\"."), *What, Actual.Num(),
			*Show(Actual).Left(600), Expected.Num(), *Show(Expected).Left(600)));
	}
}

template <typename RecordType>
void TestSucceeded(FAutomationTestBase* Test, const FString& What, const TOutcome<RecordType>& Outcome)
{
	if (!Outcome.Succeeded())
	{
		Test->AddError(FString::Printf(TEXT("%s: %d successes and %d failures (last %d \"%s\"), expected one success."),
			*What, Outcome.Successes, Outcome.Failures, Outcome.Status, *Outcome.Message));
	}
}

template <typename RecordType>
void TestFailed(FAutomationTestBase* Test, const FString& What, const TOutcome<RecordType>& Outcome,
	const FString& Message, int32 Status)
{
	if (!Outcome.Failed())
	{
		Test->AddError(FString::Printf(TEXT("%s: %d successes and %d failures, expected one failure."), *What,
			Outcome.Successes, Outcome.Failures));
	}
	TestText(Test, What + TEXT(" sentence"), Outcome.Message, Message);
	Test->TestEqual(What + TEXT(" status"), Outcome.Status, Status);
}

template <typename RecordType>
void TestEachSucceeded(FAutomationTestBase* Test, const TArray<FString>& Answers, const TOutcomes<RecordType>& Outcomes)
{
	for (int32 Index = 0; Index < Outcomes.Num(); ++Index)
	{
		TestSucceeded(Test, Answers[Index], *Outcomes[Index]);
	}
}

template <typename RecordType>
void TestEachFailed(FAutomationTestBase* Test, const FString& Operation, const TArray<FCase>& Cases,
	const TOutcomes<RecordType>& Outcomes)
{
	for (int32 Index = 0; Index < Outcomes.Num(); ++Index)
	{
		TestFailed(Test, Operation + TEXT(" ") + Cases[Index].Fault, *Outcomes[Index], Cases[Index].Message,
			Cases[Index].Status);
	}
}

/**
 * Enqueues arming Fault (when given), the call, a wait for its first callback and disarming whatever is left armed;
 * the returned outcome fills in as the steps run. Dropped connections are armed for every request until then: libcurl
 * sends a request again when a connection it reused closes before any answer (again while it picks another reused
 * one), and its pool decides that.
 */
template <typename RecordType>
TSharedRef<TOutcome<RecordType>> CallStep(
	FAutomationTestBase* Test, const FString& What, TCall<RecordType> Call, const FString& Fault = FString())
{
	const TSharedRef<TOutcome<RecordType>> Outcome = MakeShared<TOutcome<RecordType>>();
	if (!Fault.IsEmpty())
	{
		FaultStep(Test, Fault);
	}
	Then(
		[Call, Outcome]()
		{
			Call(Outcome);
		});
	WaitUntil(Test, What,
		[Outcome]()
		{
			return Outcome->IsDone();
		});
	if (!Fault.IsEmpty())
	{
		ControlStep(Test, TEXT("DELETE"), TEXT("/_sim/faults"));
	}
	return Outcome;
}

/** Enqueues the call once under each fault. */
template <typename RecordType>
TOutcomes<RecordType> CallEachStep(FAutomationTestBase* Test, const TArray<FString>& Faults, TCall<RecordType> Call)
{
	TOutcomes<RecordType> Outcomes;
	for (const FString& Fault : Faults)
	{
		Outcomes.Add(CallStep<RecordType>(Test, Fault, Call, Fault));
	}
	return Outcomes;
}

/** Enqueues a wait long enough for a second callback to show, then the checks. */
void FinallyStep(TFunction<void()> Check)
{
	Idle(0.3);
	Then(MoveTemp(Check));
}

/** FetchAccount with Key, with TARVOLINE_API moved to BaseUrl for the call when one is given. */
TCall<FTarvolineAccount> FetchAccountCall(const FString& Key, const FString& BaseUrl = FString())
{
	return [Key, BaseUrl](const TSharedRef<TOutcome<FTarvolineAccount>>& Outcome)
	{
		const FString SavedApi = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_API"));
		if (!BaseUrl.IsEmpty())
		{
			FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *BaseUrl);
		}
		TarvolineApi::FetchAccount(Key, OnSuccess(Outcome), OnFailure(Outcome));
		FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *SavedApi);
	};
}

void ListCharactersCall(const TSharedRef<TOutcome<TArray<FTarvolineCharacter>>>& Outcome)
{
	TarvolineApi::ListCharacters(DemoKey, OnSuccess(Outcome), OnFailure(Outcome));
}

void FetchCharacterCall(const TSharedRef<TOutcome<FTarvolineCharacter>>& Outcome)
{
	TarvolineApi::FetchCharacter(DemoKey, TEXT("c9"), OnSuccess(Outcome), OnFailure(Outcome));
}

void UploadModelCall(const TSharedRef<TOutcome<FTarvolineCharacter>>& Outcome)
{
	TarvolineApi::UploadModel(DemoKey, ModelPath(TEXT("humanoid_mesh.fbx")), OnSuccess(Outcome), OnFailure(Outcome));
}

void PlanMotionCall(const TSharedRef<TOutcome<FTarvolinePlan>>& Outcome)
{
	TarvolineApi::PlanMotion(DemoKey, TEXT("a fox jumps"), TEXT("c9"), OnSuccess(Outcome), OnFailure(Outcome));
}

void GenerateCall(const TSharedRef<TOutcome<FTarvolineJob>>& Outcome)
{
	TarvolineApi::Generate(DemoKey, TEXT("a fox jumps"), TEXT("c9"), OnSuccess(Outcome), OnFailure(Outcome));
}

void FetchJobCall(const TSharedRef<TOutcome<FTarvolineJob>>& Outcome)
{
	TarvolineApi::FetchJob(DemoKey, TEXT("j9"), OnSuccess(Outcome), OnFailure(Outcome));
}
} // namespace TarvolineClientTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientRequestsTest, "Tarvoline.Client.Requests",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientRequestsTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const FString SavedApi = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_API"));
	const FString Service = ServiceUrl();

	// Read at each request: unset (an empty value unsets) means the live service; one trailing slash goes, not two.
	FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), TEXT(""));
	const FString LiveUrl = TarvolineApi::MakeRequest(TEXT("GET"), TEXT("/v1/auth/me"), DemoKey)->GetURL();
	TestText(this, TEXT("no TARVOLINE_API"), LiveUrl, FString(TarvolineApi::DefaultApiBaseUrl) + TEXT("/v1/auth/me"));
	FString LiveHost = TarvolineApi::DefaultApiBaseUrl;
	TestTrue(TEXT("live service is https"), LiveHost.RemoveFromStart(TEXT("https://")));
	TestFalse(TEXT("live service has no path"), LiveHost.Contains(TEXT("/")));
	FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), TEXT("http://127.0.0.1:9/"));
	TestText(this, TEXT("one slash"), TarvolineApi::MakeRequest(TEXT("GET"), TEXT("/v1/assets"), DemoKey)->GetURL(),
		TEXT("http://127.0.0.1:9/v1/assets"));
	FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), TEXT("http://127.0.0.1:9//"));
	TestText(this, TEXT("two slashes"), TarvolineApi::MakeRequest(TEXT("GET"), TEXT("/v1/assets"), DemoKey)->GetURL(),
		TEXT("http://127.0.0.1:9//v1/assets"));
	FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *SavedApi);

	const TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Post =
		TarvolineApi::MakeRequest(TEXT("POST"), TEXT("/v1/plan"), TEXT(""));
	TestText(this, TEXT("verb"), Post->GetVerb(), TEXT("POST"));
	TestText(this, TEXT("empty key"), Post->GetHeader(TEXT("Authorization")), TEXT("Bearer "));
	TestTrue(TEXT("timeout"), Post->GetTimeout().IsSet() && Post->GetTimeout().GetValue() == 900.0f);

	// On the wire: the three headers exactly, the key as given, identifiers joined as plain text.
	ControlStep(this, TEXT("POST"), Reset);
	const auto Demo = CallStep<FTarvolineAccount>(this, TEXT("account"), FetchAccountCall(DemoKey));
	const auto NoKey = CallStep<FTarvolineAccount>(this, TEXT("no key"), FetchAccountCall(TEXT("")));
	const auto OneSlash = CallStep<FTarvolineAccount>(this, TEXT("/"), FetchAccountCall(DemoKey, Service + TEXT("/")));
	const auto TwoSlashes =
		CallStep<FTarvolineAccount>(this, TEXT("//"), FetchAccountCall(DemoKey, Service + TEXT("//")));
	const auto Query = CallStep<FTarvolineJob>(this, TEXT("job id with a query"),
		[](const TSharedRef<TOutcome<FTarvolineJob>>& Outcome)
		{
			TarvolineApi::FetchJob(DemoKey, TEXT("abc?probe=1"), OnSuccess(Outcome), OnFailure(Outcome));
		});
	const auto Escaped = CallStep<FTarvolineCharacter>(this, TEXT("escaped id"),
		[](const TSharedRef<TOutcome<FTarvolineCharacter>>& Outcome)
		{
			TarvolineApi::FetchCharacter(DemoKey, TEXT("a%2Fb"), OnSuccess(Outcome), OnFailure(Outcome));
		});
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/"));
	FinallyStep(
		[this, Demo, NoKey, OneSlash, TwoSlashes, Query, Escaped, Recorded]()
		{
			TestSucceeded(this, TEXT("account"), *Demo);
			TestText(this, TEXT("e-mail"), Demo->Record.Email, TEXT("demo@tarvoline.test"));
			TestEqual(TEXT("credits"), Demo->Record.Credits, 1000);
			TestTrue(TEXT("empty key refused"), NoKey->Failed() && NoKey->Status == 401 && !NoKey->Message.IsEmpty());
			TestSucceeded(this, TEXT("base URL with one slash"), *OneSlash);
			TestTrue(TEXT("answered once"), TwoSlashes->Successes + TwoSlashes->Failures == 1 &&
												Query->Successes + Query->Failures == 1 &&
												Escaped->Successes + Escaped->Failures == 1);
			if (!TestEqual(TEXT("requests recorded"), Recorded->Num(), 6))
			{
				return;
			}
			const FRecordedRequest& First = (*Recorded)[0];
			TestText(this, TEXT("method"), First.Method, TEXT("GET"));
			TestText(this, TEXT("path"), First.Path, TEXT("/v1/auth/me"));
			TestText(this, TEXT("Authorization"), First.Header(TEXT("Authorization")), TEXT("Bearer tv_demo_key"));
			TestText(this, TEXT("User-Agent"), First.Header(TEXT("User-Agent")), TEXT("tarvoline-unreal/0.1.0"));
			TestText(this, TEXT("Accept"), First.Header(TEXT("Accept")), TEXT("application/json"));
			for (const TCHAR* Name : {TEXT("Authorization"), TEXT("User-Agent"), TEXT("Accept")})
			{
				TestEqual(FString::Printf(TEXT("one %s"), Name), First.CountHeader(Name), 1);
			}
			TestEqual(TEXT("no Content-Type on a GET"), First.CountHeader(TEXT("Content-Type")), 0);
			TestEqual(TEXT("no body on a GET"), First.Body.Num(), 0);
			// The server trims the space after "Bearer"; what counts is that the header went out once, with no key.
			const FRecordedRequest& Keyless = (*Recorded)[1];
			TestText(this, TEXT("empty key sent"), Keyless.Header(TEXT("Authorization")).TrimEnd(), TEXT("Bearer"));
			TestEqual(TEXT("empty key sent once"), Keyless.CountHeader(TEXT("Authorization")), 1);
			TestText(this, TEXT("one slash dropped"), (*Recorded)[2].Path, TEXT("/v1/auth/me"));
			TestText(this, TEXT("second slash kept"), (*Recorded)[3].Path, TEXT("//v1/auth/me"));
			TestText(this, TEXT("job id not escaped"), (*Recorded)[4].Path, TEXT("/v1/jobs/abc"));
			TestText(this, TEXT("job id query"), (*Recorded)[4].Query, TEXT("probe=1"));
			TestText(this, TEXT("character id not escaped"), (*Recorded)[5].Path, TEXT("/v1/assets/a%2Fb"));
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientFailureSentencesTest, "Tarvoline.Client.FailureSentences",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientFailureSentencesTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const TArray<FCase> Cases = {
		{TEXT("{\"kind\": \"status\", \"status\": 401, \"detail\": \"That key was revoked.\"}"),
			TEXT("That key was revoked."), 401},
		{TEXT("{\"kind\": \"status\", \"status\": 401, \"detail\": \"\"}"), KeyRefused(), 401},
		{TEXT("{\"kind\": \"html\", \"status\": 401}"), KeyRefused(), 401},
		{TEXT("{\"kind\": \"status\", \"status\": 402}"), NoCredits(), 402},
		{AnswerFault(TEXT("[{\"detail\": \"In a list.\"}]"), 402), NoCredits(), 402},
		{TEXT("{\"kind\": \"status\", \"status\": 402, \"detail\": \"Top up first.\"}"), TEXT("Top up first."), 402},
		{TEXT("{\"kind\": \"status\", \"status\": 413}"), TEXT("That file is too large to upload."), 413},
		{TEXT("{\"kind\": \"status\", \"status\": 429, \"headers\": {\"Retry-After\": \"30\"}}"),
			TEXT("Too many requests for a moment. Try again in a minute."), 429},
		{TEXT("{\"kind\": \"status\", \"status\": 429, \"detail\": \"Slow down.\"}"), TEXT("Slow down."), 429},
		{TEXT("{\"kind\": \"status\", \"status\": 500}"), Answered(500), 500},
		{TEXT("{\"kind\": \"html\", \"status\": 502}"), Answered(502), 502},
		{TEXT("{\"kind\": \"status\", \"status\": 422, \"detail\": [{\"loc\": [\"body\"], \"msg\": \"field "
			  "required\"}]}"),
			Answered(422), 422},
		{TEXT("{\"kind\": \"status\", \"status\": 404, \"detail\": {\"msg\": \"Not here.\"}}"), Answered(404), 404},
		{TEXT("{\"kind\": \"status\", \"status\": 300}"), Answered(300), 300},
		{TEXT("{\"kind\": \"empty\"}"), Unreadable, 200},
		{TEXT("{\"kind\": \"empty\", \"status\": 204}"), Unreadable, 204},
		{TEXT("{\"kind\": \"number\"}"), Unreadable, 200},
		{AnswerFault(TEXT("\"ok\"")), Unreadable, 200},
		{AnswerFault(TEXT("{\"email\": \"a@b.test\"} trailing"), 201), Unreadable, 201},
		{TEXT("{\"kind\": \"malformed\"}"), Unreadable, 200},
		{TEXT("{\"kind\": \"truncated\"}"), Unreadable, 200},
		{TEXT("{\"kind\": \"cut\"}"), Unreachable(), 0},
		{TEXT("{\"kind\": \"drop\", \"count\": -1}"), Unreachable(), 0},
		{TEXT("{\"kind\": \"dropAfter\", \"count\": -1}"), Unreachable(), 0},
	};
	ControlStep(this, TEXT("POST"), Reset);
	const auto Outcomes = CallEachStep<FTarvolineAccount>(this, FaultsOf(Cases), FetchAccountCall(DemoKey));
	// Nothing listens on port 1: the connection is refused.
	const auto Refused = CallStep<FTarvolineAccount>(
		this, TEXT("refused connection"), FetchAccountCall(DemoKey, TEXT("http://127.0.0.1:1")));
	// Any 2xx JSON document succeeds, an array included, whose members then all read as missing.
	const auto Created = CallStep<FTarvolineAccount>(this, TEXT("201"), FetchAccountCall(DemoKey),
		AnswerFault(TEXT("{\"email\": \"new@b.test\", \"credits\": 5}"), 201));
	const auto EmptyArray =
		CallStep<FTarvolineAccount>(this, TEXT("299 array"), FetchAccountCall(DemoKey), AnswerFault(TEXT("[]"), 299));
	FinallyStep(
		[this, Cases, Outcomes, Refused, Created, EmptyArray]()
		{
			TestEachFailed(this, TEXT("FetchAccount"), Cases, Outcomes);
			TestFailed(this, TEXT("refused connection"), *Refused, Unreachable(), 0);
			TestSucceeded(this, TEXT("201"), *Created);
			TestTrue(TEXT("201 read"), Created->Record.Email == TEXT("new@b.test") && Created->Record.Credits == 5);
			TestSucceeded(this, TEXT("299 with an array"), *EmptyArray);
			TestTrue(
				TEXT("array reads as defaults"), EmptyArray->Record.Email.IsEmpty() && EmptyArray->Record.Credits == 0);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientAccountAndCharacterRecordsTest,
	"Tarvoline.Client.AccountAndCharacterRecords",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientAccountAndCharacterRecordsTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const TArray<FString> AccountAnswers = {
		TEXT("{\"email\": \"Ann@Example.TEST \", \"credits\": 12.9, \"extra\": [1]}"),
		TEXT("{\"credits\": -7.9}"),
		TEXT("{\"email\": {\"a\": 1}, \"credits\": \"many\"}"),
		TEXT("{\"email\": null, \"credits\": [5]}"),
	};
	const TArray<FString> ListAnswers = {
		TEXT("[]"),
		TEXT("{\"items\": [{\"id\": \"a1\"}]}"),
		TEXT("[{\"id\": \"a1\", \"filename\": \"Fox \\\"2\\\".fbx\", \"status\": \"READY\", \"family\": "
			 "\"quadruped\"}, 7, ") TEXT("{\"id\": \"a3\", \"status\": \"Processing\"}, \"x\", {\"id\": \"a5\", "
										 "\"family\": \"\", \"error\": \"No mesh.\"}]"),
	};
	const TArray<FString> CharacterAnswers = {
		TEXT("{\"id\": \"c1\", \"status\": \"pending\", \"family\": \"bird\", \"sizeBytes\": 12}"),
		TEXT("{\"id\": [\"c1\"], \"status\": {\"s\": 1}, \"filename\": null, \"error\": \"Not a model.\", \"family\": "
			 "{}}"),
		TEXT("[{\"id\": \"c1\", \"status\": \"ready\"}]"),
	};
	ControlStep(this, TEXT("POST"), Reset);
	const auto Accounts =
		CallEachStep<FTarvolineAccount>(this, AnswerFaults(AccountAnswers), FetchAccountCall(DemoKey));
	const auto Lists = CallEachStep<TArray<FTarvolineCharacter>>(this, AnswerFaults(ListAnswers), &ListCharactersCall);
	const auto Characters =
		CallEachStep<FTarvolineCharacter>(this, AnswerFaults(CharacterAnswers), &FetchCharacterCall);
	FinallyStep(
		[this, AccountAnswers, Accounts, ListAnswers, Lists, CharacterAnswers, Characters]()
		{
			TestEachSucceeded(this, AccountAnswers, Accounts);
			TestText(this, TEXT("e-mail kept as sent"), Accounts[0]->Record.Email, TEXT("Ann@Example.TEST "));
			TestEqual(TEXT("12.9 credits truncate"), Accounts[0]->Record.Credits, 12);
			TestEqual(TEXT("-7.9 credits truncate toward zero"), Accounts[1]->Record.Credits, -7);
			for (const int32 Mistyped : {2, 3})
			{
				const FTarvolineAccount& Account = Accounts[Mistyped]->Record;
				TestTrue(TEXT("mistyped members read as defaults"), Account.Email.IsEmpty() && Account.Credits == 0);
			}

			TestEachSucceeded(this, ListAnswers, Lists);
			TestEqual(TEXT("empty list"), Lists[0]->Record.Num(), 0);
			TestEqual(TEXT("a list inside an object is not read"), Lists[1]->Record.Num(), 0);
			const TArray<FTarvolineCharacter>& Mixed = Lists[2]->Record;
			if (TestEqual(TEXT("every element becomes a record, in order"), Mixed.Num(), 5))
			{
				TestText(this, TEXT("first id"), Mixed[0].Id, TEXT("a1"));
				TestText(this, TEXT("file name as sent"), Mixed[0].Filename, TEXT("Fox \"2\".fbx"));
				TestText(this, TEXT("status as sent"), Mixed[0].Status, TEXT("READY"));
				TestText(this, TEXT("family as sent"), Mixed[0].Family, TEXT("quadruped"));
				TestFalse(TEXT("READY is not rigging"), Mixed[0].IsRigging());
				for (const int32 NotObject : {1, 3})
				{
					const FTarvolineCharacter& Empty = Mixed[NotObject];
					TestTrue(TEXT("non-object element is an empty record"),
						Empty.Id.IsEmpty() && Empty.Filename.IsEmpty() && Empty.Status.IsEmpty() &&
							Empty.Error.IsEmpty());
					TestText(this, TEXT("non-object element family"), Empty.Family, TEXT("humanoid"));
				}
				TestTrue(TEXT("Processing is rigging"), Mixed[2].IsRigging());
				TestText(this, TEXT("missing family"), Mixed[2].Family, TEXT("humanoid"));
				TestText(this, TEXT("empty family"), Mixed[4].Family, TEXT("humanoid"));
				TestText(this, TEXT("error"), Mixed[4].Error, TEXT("No mesh."));
				TestText(this, TEXT("last id"), Mixed[4].Id, TEXT("a5"));
			}

			TestEachSucceeded(this, CharacterAnswers, Characters);
			TestTrue(TEXT("pending is rigging"), Characters[0]->Record.IsRigging());
			TestText(this, TEXT("bird"), Characters[0]->Record.Family, TEXT("bird"));
			const FTarvolineCharacter& Mistyped = Characters[1]->Record;
			TestTrue(TEXT("mistyped members are empty"),
				Mistyped.Id.IsEmpty() && Mistyped.Status.IsEmpty() && Mistyped.Filename.IsEmpty());
			TestText(this, TEXT("mistyped family"), Mistyped.Family, TEXT("humanoid"));
			TestText(this, TEXT("error kept"), Mistyped.Error, TEXT("Not a model."));
			TestFalse(TEXT("no status is not rigging"), Mistyped.IsRigging());
			TestTrue(TEXT("an array is not the character"), Characters[2]->Record.Id.IsEmpty());
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientPlanAnswersTest, "Tarvoline.Client.PlanAnswersAndSegmentLabels",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientPlanAnswersTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const TArray<FString> Answers = {
		TEXT("{\"cost\": 12, \"balance\": 3, \"affordable\": false}"),
		TEXT("{\"cost\": 4.9, \"balance\": 999.99, \"affordable\": true, \"fallback\": false, \"script\": "
			 "{\"segments\": [") TEXT("{\"primitive\": \"quad_trot_forward\", \"seconds\": 2.26}, {\"primitive\": "
									  "\"QUAD_walk\", \"seconds\": 3}, ")
			TEXT("{\"primitive\": \"jump_quad_spin\"}, 7, {\"primitive\": \"quad_quad_sit\", \"seconds\": 0.04, "
				 "\"extra\": 1}, ") TEXT("{\"primitive\": \"Quad_\", \"seconds\": 12.96}, {\"seconds\": 1}]}, ")
				TEXT("\"notes\": [\"Planned for a quadruped.\", \"Left out: fly.\"]}"),
		TEXT("{\"script\": {\"segments\": \"walk\"}, \"notes\": \"none\", \"affordable\": []}"),
		TEXT("{\"segments\": [{\"primitive\": \"walk\", \"seconds\": 1}], \"script\": [1], \"cost\": -3.9}"),
	};
	ControlStep(this, TEXT("POST"), Reset);
	const auto Plans = CallEachStep<FTarvolinePlan>(this, AnswerFaults(Answers), &PlanMotionCall);
	FinallyStep(
		[this, Answers, Plans]()
		{
			TestEachSucceeded(this, Answers, Plans);
			const FTarvolinePlan& Short = Plans[0]->Record;
			TestTrue(TEXT("price only"), Short.Cost == 12 && Short.Balance == 3 && !Short.Affordable);
			TestTrue(TEXT("no segments or notes"), Short.Segments.Num() == 0 && Short.Notes.Num() == 0);

			const FTarvolinePlan& Full = Plans[1]->Record;
			TestEqual(TEXT("cost truncates"), Full.Cost, 4);
			TestEqual(TEXT("balance truncates"), Full.Balance, 999);
			TestTrue(TEXT("affordable"), Full.Affordable);
			const TArray<FString> Labels = {TEXT("trot forward 2.3 s"), TEXT("walk 3.0 s"),
				TEXT("jump quad spin 0.0 s"), TEXT(" 0.0 s"), TEXT("quad sit 0.0 s"), TEXT(" 13.0 s"), TEXT(" 1.0 s")};
			if (TestEqual(TEXT("one label per segment"), Full.Segments.Num(), Labels.Num()))
			{
				for (int32 Index = 0; Index < Labels.Num(); ++Index)
				{
					TestText(this, FString::Printf(TEXT("label %d"), Index), Full.Segments[Index], Labels[Index]);
				}
			}
			if (TestEqual(TEXT("notes"), Full.Notes.Num(), 2))
			{
				TestText(this, TEXT("first note"), Full.Notes[0], TEXT("Planned for a quadruped."));
				TestText(this, TEXT("second note"), Full.Notes[1], TEXT("Left out: fly."));
			}
			const FTarvolinePlan& Mistyped = Plans[2]->Record;
			TestTrue(TEXT("segments and notes not lists"), Mistyped.Segments.Num() == 0 && Mistyped.Notes.Num() == 0);
			TestFalse(TEXT("a list is not affordable"), Mistyped.Affordable);
			TestEqual(TEXT("segments only inside the script"), Plans[3]->Record.Segments.Num(), 0);
			TestEqual(TEXT("negative cost truncates toward zero"), Plans[3]->Record.Cost, -3);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientJobAnswersTest, "Tarvoline.Client.JobAnswers",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientJobAnswersTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const FString Running = TEXT("{\"id\": \"j1\", \"status\": \"RUNNING\", \"stage\": \"Retargeting\", \"progress\": ")
		TEXT("0.625, \"prompt\": \"a fox jumps\", \"assetId\": \"c9\", \"family\": \"quadruped\"}");
	const TArray<FString> Answers = {
		Running,
		TEXT("{\"status\": \"Queued\", \"progress\": 1.5}"),
		TEXT("{\"id\": \"j2\", \"status\": \"succeeded\", \"stage\": \"done\", \"durationSeconds\": 4.5, "
			 "\"creditsCost\": 8, ")
			TEXT("\"creditsRefunded\": false, \"fallbackFrom\": \"motion_model\", \"outputs\": [{\"kind\": \"fbx\", ")
				TEXT("\"url\": \"http://127.0.0.1:1/downloads/j2/motion.fbx?expires=1&token=A\", \"size\": 3}]}"),
		TEXT("{\"status\": \"failed\", \"error\": \"\", \"creditsRefunded\": true, \"creditsCost\": 8.9}"),
		TEXT("{\"status\": \"succeeded\", \"outputs\": \"fbx\"}"),
		TEXT("{\"outputs\": [\"fbx\", {\"kind\": \"glb\"}, {\"url\": \"u\"}], \"creditsRefunded\": [true], "
			 "\"progress\": \"x\"}"),
	};
	ControlStep(this, TEXT("POST"), Reset);
	const auto Jobs = CallEachStep<FTarvolineJob>(this, AnswerFaults(Answers), &FetchJobCall);
	// Generate reads its answer with the same reader.
	const auto Generated = CallStep<FTarvolineJob>(this, TEXT("generate"), &GenerateCall, AnswerFault(Running));
	FinallyStep(
		[this, Answers, Jobs, Generated]()
		{
			TestEachSucceeded(this, Answers, Jobs);
			TestSucceeded(this, TEXT("generate"), *Generated);
			for (const FTarvolineJob& Job : {Jobs[0]->Record, Generated->Record})
			{
				TestTrue(TEXT("RUNNING is active"), Job.IsActive());
				TestText(this, TEXT("id"), Job.Id, TEXT("j1"));
				TestText(this, TEXT("stage as sent"), Job.Stage, TEXT("Retargeting"));
				TestEqual(TEXT("progress"), Job.Progress, 0.625f);
				TestText(this, TEXT("prompt"), Job.Prompt, TEXT("a fox jumps"));
				TestText(this, TEXT("asset"), Job.AssetId, TEXT("c9"));
				TestEqual(TEXT("no outputs while running"), Job.Outputs.Num(), 0);
			}
			TestTrue(TEXT("Queued is active"), Jobs[1]->Record.IsActive());
			TestEqual(TEXT("progress passes through"), Jobs[1]->Record.Progress, 1.5f);

			const FTarvolineJob& Done = Jobs[2]->Record;
			TestFalse(TEXT("succeeded is not active"), Done.IsActive());
			TestEqual(TEXT("duration"), Done.DurationSeconds, 4.5f);
			TestEqual(TEXT("cost"), Done.CreditsCost, 8);
			TestText(this, TEXT("fallback"), Done.FallbackFrom, TEXT("motion_model"));
			if (TestEqual(TEXT("one output"), Done.Outputs.Num(), 1))
			{
				TestText(this, TEXT("kind"), Done.Outputs[0].Kind, TEXT("fbx"));
				TestText(this, TEXT("url"), Done.Outputs[0].Url,
					TEXT("http://127.0.0.1:1/downloads/j2/motion.fbx?expires=1&token=A"));
			}
			const FTarvolineJob& Failed = Jobs[3]->Record;
			TestFalse(TEXT("failed is not active"), Failed.IsActive());
			TestTrue(TEXT("failed without a reason, refunded"), Failed.Error.IsEmpty() && Failed.CreditsRefunded);
			TestEqual(TEXT("8.9 credits truncate"), Failed.CreditsCost, 8);
			TestEqual(TEXT("outputs not a list"), Jobs[4]->Record.Outputs.Num(), 0);

			const FTarvolineJob& Odd = Jobs[5]->Record;
			TestFalse(TEXT("a list is not a refund"), Odd.CreditsRefunded);
			TestEqual(TEXT("text is not a progress"), Odd.Progress, 0.0f);
			if (TestEqual(TEXT("one output per element"), Odd.Outputs.Num(), 3))
			{
				TestTrue(TEXT("text element"), Odd.Outputs[0].Kind.IsEmpty() && Odd.Outputs[0].Url.IsEmpty());
				TestTrue(TEXT("kind only"), Odd.Outputs[1].Kind == TEXT("glb") && Odd.Outputs[1].Url.IsEmpty());
				TestTrue(TEXT("url only"), Odd.Outputs[2].Kind.IsEmpty() && Odd.Outputs[2].Url == TEXT("u"));
			}
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientUploadBodyTest, "Tarvoline.Client.UploadBody",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientUploadBodyTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const FString Dir = MakeScratchDir(TEXT("TarvolineClientTests"));
	// Every byte value, and lines that look like a boundary: the file goes in unchanged.
	TArray<uint8> Binary;
	for (int32 Index = 0; Index < 600; ++Index)
	{
		Binary.Add(uint8(Index % 256));
	}
	Binary.Append(Utf8(TEXT("\r\n------tarvoline0123\r\n--\r\n")));
	const TArray<FString> Names = {
		TEXT("fox.fbx"), TEXT("empty.glb"), TEXT("F\u00fcchsin \u72d0.fbx"), TEXT("say \"hi\".fbx")};
	// The name goes out as raw UTF-8, with no escaping of its own.
	const TArray<TArray<uint8>> NamesSent = {Utf8(TEXT("fox.fbx")), Utf8(TEXT("empty.glb")),
		{'F', 0xC3, 0xBC, 'c', 'h', 's', 'i', 'n', ' ', 0xE7, 0x8B, 0x90, '.', 'f', 'b', 'x'},
		Utf8(TEXT("say \"hi\".fbx"))};
	const TArray<TArray<uint8>> Contents = {Binary, TArray<uint8>(), Utf8(TEXT("glTF")), Utf8(TEXT("quoted"))};
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		TestTrue(TEXT("test file written"), FFileHelper::SaveArrayToFile(Contents[Index], *(Dir / Names[Index])));
	}

	ControlStep(this, TEXT("POST"), Reset);
	TOutcomes<FTarvolineCharacter> Uploads;
	for (const FString& Name : Names)
	{
		const FString Path = Dir / Name;
		Uploads.Add(CallStep<FTarvolineCharacter>(this, Name,
			[Path](const TSharedRef<TOutcome<FTarvolineCharacter>>& Outcome)
			{
				TarvolineApi::UploadModel(DemoKey, Path, OnSuccess(Outcome), OnFailure(Outcome));
			}));
	}
	// A missing file fails before the call returns, naming only the file; nothing is sent.
	const TSharedRef<TOutcome<FTarvolineCharacter>> Missing = MakeShared<TOutcome<FTarvolineCharacter>>();
	Then(
		[this, Missing, Dir]()
		{
			const FString Path = Dir / TEXT("Models") / TEXT("absent fox.fbx");
			TarvolineApi::UploadModel(DemoKey, Path, OnSuccess(Missing), OnFailure(Missing));
			TestTrue(TEXT("missing file reported at once"), Missing->Failures == 1);
		});
	const auto TooLarge = CallStep<FTarvolineCharacter>(this, TEXT("413"), &UploadModelCall,
		TEXT("{\"kind\": \"status\", \"status\": 413, \"method\": \"POST\", \"path\": \"/v1/assets\"}"));
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/v1/assets"));
	FinallyStep(
		[this, Names, NamesSent, Contents, Uploads, Missing, TooLarge, Recorded]()
		{
			TestFailed(this, TEXT("missing file"), *Missing, TEXT("Could not read absent fox.fbx."), 0);
			TestFailed(this, TEXT("413"), *TooLarge, TEXT("That file is too large to upload."), 413);
			if (!TestEqual(TEXT("one request per upload, none for the missing file"), Recorded->Num(), Names.Num() + 1))
			{
				return;
			}
			TSet<FString> Boundaries;
			for (int32 Index = 0; Index < Names.Num(); ++Index)
			{
				TestSucceeded(this, Names[Index], *Uploads[Index]);
				TestText(this, TEXT("file name the service read"), Uploads[Index]->Record.Filename, Names[Index]);
				TestText(this, TEXT("new character"), Uploads[Index]->Record.Status, TEXT("pending"));

				const FRecordedRequest& Request = (*Recorded)[Index];
				TestText(this, TEXT("POST"), Request.Method, TEXT("POST"));
				TestText(
					this, TEXT("Authorization"), Request.Header(TEXT("Authorization")), TEXT("Bearer tv_demo_key"));
				TestText(this, TEXT("User-Agent"), Request.Header(TEXT("User-Agent")), TEXT("tarvoline-unreal/0.1.0"));
				TestText(this, TEXT("Accept"), Request.Header(TEXT("Accept")), TEXT("application/json"));
				FString Boundary = Request.Header(TEXT("Content-Type"));
				TestTrue(TEXT("Content-Type"),
					Boundary.RemoveFromStart(TEXT("multipart/form-data; boundary="), ESearchCase::CaseSensitive));
				FString Digits = Boundary;
				bool bWellFormed =
					Digits.RemoveFromStart(TEXT("----tarvoline"), ESearchCase::CaseSensitive) && Digits.Len() == 32;
				for (const TCHAR Char : Digits)
				{
					bWellFormed &= (Char >= TEXT('0') && Char <= TEXT('9')) || (Char >= TEXT('A') && Char <= TEXT('F'));
				}
				TestTrue(FString::Printf(TEXT("boundary is the prefix and 32 upper-case hex digits: %s"), *Boundary),
					bWellFormed);
				Boundaries.Add(Boundary);

				TArray<uint8> Expected = Utf8(
					TEXT("--") + Boundary + TEXT("\r\nContent-Disposition: form-data; name=\"file\"; filename=\""));
				Expected.Append(NamesSent[Index]);
				Expected.Append(Utf8(TEXT("\"\r\nContent-Type: application/octet-stream\r\n\r\n")));
				Expected.Append(Contents[Index]);
				Expected.Append(Utf8(TEXT("\r\n--") + Boundary + TEXT("--\r\n")));
				TestBytes(this, Names[Index] + TEXT(" body"), Request.Body, Expected);
			}
			TestEqual(TEXT("a new boundary for each upload"), Boundaries.Num(), Names.Num());
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientJsonBodiesTest, "Tarvoline.Client.JsonBodies",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientJsonBodiesTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const FString PlanBody = TEXT("{\r\n\t\"prompt\": \"a fox jumps\",\r\n\t\"assetId\": \"c9\"\r\n}");
	const FString GenerateBody = TEXT("{\r\n\t\"prompt\": \"a fox jumps\",\r\n\t\"assetId\": \"c9\",\r\n")
		TEXT("\t\"formats\": [\r\n\t\t\"fbx\"\r\n\t]\r\n}");
	TMap<FString, FString> Fields;
	Fields.Add(TEXT("prompt"), TEXT("a fox jumps"));
	Fields.Add(TEXT("assetId"), TEXT("c9"));
	TestText(this, TEXT("no formats, no member"), TarvolineApi::MakeJsonBody(Fields, TArray<FString>()), PlanBody);
	TestText(this, TEXT("formats"), TarvolineApi::MakeJsonBody(Fields, {TEXT("fbx")}), GenerateBody);
	TMap<FString, FString> Reversed;
	Reversed.Add(TEXT("b"), TEXT(""));
	Reversed.Add(TEXT("a"), TEXT("x"));
	TestText(this, TEXT("members in the order given"), TarvolineApi::MakeJsonBody(Reversed, {TEXT("fbx"), TEXT("glb")}),
		TEXT("{\r\n\t\"b\": \"\",\r\n\t\"a\": \"x\",\r\n\t\"formats\": [\r\n\t\t\"fbx\",\r\n\t\t\"glb\"\r\n\t]\r\n}"));

	ControlStep(this, TEXT("POST"), Reset);
	const auto Plan = CallStep<FTarvolinePlan>(this, TEXT("plan"), &PlanMotionCall);
	const auto Generated = CallStep<FTarvolineJob>(this, TEXT("generate"), &GenerateCall);
	const auto Quoted = CallStep<FTarvolinePlan>(this, TEXT("quoted prompt"),
		[](const TSharedRef<TOutcome<FTarvolinePlan>>& Outcome)
		{
			const FString Prompt = TEXT(" F\u00fcchsin \"springt\" \\ hoch\n");
			TarvolineApi::PlanMotion(DemoKey, Prompt, TEXT("c 9"), OnSuccess(Outcome), OnFailure(Outcome));
		});
	const auto Empty = CallStep<FTarvolinePlan>(this, TEXT("empty prompt"),
		[](const TSharedRef<TOutcome<FTarvolinePlan>>& Outcome)
		{
			TarvolineApi::PlanMotion(DemoKey, TEXT(""), TEXT(""), OnSuccess(Outcome), OnFailure(Outcome));
		});
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/v1/"));
	FinallyStep(
		[this, PlanBody, GenerateBody, Plan, Generated, Quoted, Empty, Recorded]()
		{
			// The service refuses the unknown character and the empty prompt; each call still reports once.
			TestTrue(TEXT("answered once"), Plan->Failed() && Generated->Failed() && Quoted->Failed());
			TestFailed(this, TEXT("empty prompt"), *Empty, Answered(422), 422);
			if (!TestEqual(TEXT("requests"), Recorded->Num(), 4))
			{
				return;
			}
			const TArray<const TCHAR*> Paths = {
				TEXT("/v1/plan"), TEXT("/v1/generate"), TEXT("/v1/plan"), TEXT("/v1/plan")};
			for (int32 Index = 0; Index < Paths.Num(); ++Index)
			{
				const FRecordedRequest& Request = (*Recorded)[Index];
				TestText(this, TEXT("POST"), Request.Method, TEXT("POST"));
				TestText(this, TEXT("path"), Request.Path, Paths[Index]);
				TestText(this, TEXT("Content-Type"), Request.Header(TEXT("Content-Type")), TEXT("application/json"));
				TestEqual(TEXT("one Content-Type"), Request.CountHeader(TEXT("Content-Type")), 1);
				TestText(
					this, TEXT("Authorization"), Request.Header(TEXT("Authorization")), TEXT("Bearer tv_demo_key"));
				TestText(this, TEXT("Accept"), Request.Header(TEXT("Accept")), TEXT("application/json"));
			}
			TestBytes(this, TEXT("plan body"), (*Recorded)[0].Body, Utf8(PlanBody));
			TestBytes(this, TEXT("generate body"), (*Recorded)[1].Body, Utf8(GenerateBody));
			TArray<uint8> QuotedBody = Utf8(TEXT("{\r\n\t\"prompt\": \" F"));
			QuotedBody.Append({0xC3, 0xBC});
			QuotedBody.Append(Utf8(TEXT("chsin \\\"springt\\\" \\\\ hoch\\n\",\r\n\t\"assetId\": \"c 9\"\r\n}")));
			TestBytes(this, TEXT("prompt unchanged, escaped, in UTF-8"), (*Recorded)[2].Body, QuotedBody);
			TestBytes(this, TEXT("empty members still sent"), (*Recorded)[3].Body,
				Utf8(TEXT("{\r\n\t\"prompt\": \"\",\r\n\t\"assetId\": \"\"\r\n}")));
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientDownloadsTest, "Tarvoline.Client.Downloads",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientDownloadsTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const FString Dir = MakeScratchDir(TEXT("TarvolineClientTests"));
	const FString Link = ServiceUrl() + TEXT("/downloads/0123456789abcdef/motion.fbx?expires=99999999999&token=bad");
	const FString Kept = Dir / TEXT("kept.fbx");
	const FString Replaced = Dir / TEXT("replaced.fbx");
	const FString Fresh = Dir / TEXT("New Folder") / TEXT("deeper") / TEXT("a_fox_jumps.fbx");
	const FString Blocker = Dir / TEXT("blocker");
	const FString Unwritable = Blocker / TEXT("sub") / TEXT("a.fbx");
	const FString Payload = TEXT("FBX \u00fc bytes");
	TestTrue(TEXT("existing file"), FFileHelper::SaveStringToFile(TEXT("old bytes"), *Kept));
	TestTrue(TEXT("file to replace"), FFileHelper::SaveStringToFile(TEXT("old and longer"), *Replaced));
	TestTrue(TEXT("a file where a folder should go"), FFileHelper::SaveStringToFile(TEXT("x"), *Blocker));

	struct FDownload
	{
		FCase Case;
		FString Url;
		FString SavePath;
	};
	const FString Downloads = TEXT("/downloads/");
	const TArray<FDownload> Cases = {
		{{AnswerFault(Payload, 200, Downloads), FString(), 0}, Link, Fresh},
		{{AnswerFault(TEXT("new"), 200, Downloads), FString(), 0}, Link, Replaced},
		{{FString(), BrokenLink, 403}, Link, Kept},
		{{AnswerFault(TEXT("partial"), 206, Downloads), BrokenLink, 206}, Link, Kept},
		{{AnswerFault(TEXT("{}"), 201, Downloads), BrokenLink, 201}, Link, Kept},
		{{TEXT("{\"kind\": \"status\", \"status\": 404, \"detail\": \"Gone.\", \"path\": \"/downloads/\"}"), BrokenLink,
			 404},
			Link, Kept},
		{{TEXT("{\"kind\": \"html\", \"status\": 500, \"path\": \"/downloads/\"}"), BrokenLink, 500}, Link, Kept},
		{{TEXT("{\"kind\": \"drop\", \"count\": -1, \"path\": \"/downloads/\"}"), BrokenLink, 0}, Link, Kept},
		{{FString(), BrokenLink, 0}, TEXT("http://127.0.0.1:1/downloads/x/motion.fbx"), Kept},
		{{AnswerFault(TEXT("bytes"), 200, Downloads), TEXT("Could not write ") + Unwritable + TEXT("."), 0}, Link,
			Unwritable},
	};
	ControlStep(this, TEXT("POST"), Reset);
	TOutcomes<FNothing> Outcomes;
	// What the file held when OnDone ran: the panel imports it right there, so it must be whole and closed by then.
	const TSharedRef<TMap<FString, TArray<uint8>>> SeenWhenDone = MakeShared<TMap<FString, TArray<uint8>>>();
	// The time limit each download asked for: a large file on a slow line needs the same 900 s as any request.
	const TSharedRef<TArray<float>> Limits = MakeShared<TArray<float>>();
	for (const FDownload& Download : Cases)
	{
		const FString Url = Download.Url;
		const FString SavePath = Download.SavePath;
		Outcomes.Add(CallStep<FNothing>(
			this, Download.Case.Fault + TEXT(" ") + Url,
			[Url, SavePath, SeenWhenDone, Limits](const TSharedRef<TOutcome<FNothing>>& Outcome)
			{
				const TFunction<void()> Done = OnDone(Outcome);
				TarvolineApi::DownloadFile(
					Url, SavePath,
					[SavePath, SeenWhenDone, Done]()
					{
						FFileHelper::LoadFileToArray(SeenWhenDone->FindOrAdd(SavePath), *SavePath);
						Done();
					},
					OnFailure(Outcome));
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
				Limits->Add(HostHttpTesting::GetLastStartedTimeout());
#endif
			},
			Download.Case.Fault));
	}
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, Downloads);
	FinallyStep(
		[this, Cases, Outcomes, Fresh, Kept, Replaced, Payload, Recorded, SeenWhenDone, Limits]()
		{
			TestBytes(this, TEXT("whole when OnDone runs"), SeenWhenDone->FindRef(Fresh), Utf8(Payload));
			for (const float Limit : *Limits)
			{
				TestEqual(TEXT("download time limit"), Limit, 900.0f);
			}
			for (int32 Index = 0; Index < Cases.Num(); ++Index)
			{
				const FCase& Case = Cases[Index].Case;
				const FString What = Case.Fault + TEXT(" ") + Cases[Index].Url;
				if (Case.Message.IsEmpty())
				{
					TestSucceeded(this, What, *Outcomes[Index]);
				}
				else
				{
					TestFailed(this, What, *Outcomes[Index], Case.Message, Case.Status);
				}
			}
			TArray<uint8> Written;
			TestTrue(TEXT("folders made, file written"), FFileHelper::LoadFileToArray(Written, *Fresh));
			TestBytes(this, TEXT("bytes written unchanged"), Written, Utf8(Payload));
			FString Text;
			FFileHelper::LoadFileToString(Text, *Replaced);
			TestText(this, TEXT("existing file replaced"), Text, TEXT("new"));
			FFileHelper::LoadFileToString(Text, *Kept);
			TestText(this, TEXT("failed downloads leave the file alone"), Text, TEXT("old bytes"));

			// The key never travels to an output URL, and the client adds no headers of its own there. The refused
			// download never arrives; libcurl may have sent the dropped one more than once.
			TestTrue(TEXT("downloads recorded"), Recorded->Num() >= Cases.Num() - 1);
			for (const FRecordedRequest& Request : *Recorded)
			{
				TestText(this, TEXT("GET"), Request.Method, TEXT("GET"));
				TestEqual(TEXT("no Authorization"), Request.CountHeader(TEXT("Authorization")), 0);
				TestFalse(TEXT("no plug-in user agent"),
					Request.Header(TEXT("User-Agent")).StartsWith(TEXT("tarvoline-unreal")));
				TestFalse(TEXT("no JSON Accept"), Request.Header(TEXT("Accept")).Contains(TEXT("application/json")));
				TestText(this, TEXT("URL used as given"), Request.Query, TEXT("expires=99999999999&token=bad"));
			}
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientModelToDownloadTest, "Tarvoline.Client.ModelToDownload",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientModelToDownloadTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	// The whole road against the local service, with its work finishing at the first look.
	const FString SavePath = MakeScratchDir(TEXT("TarvolineClientTests")) / TEXT("Tarvoline") / TEXT("a_fox_jumps.fbx");
	ControlStep(this, TEXT("POST"), Reset);
	ControlStep(this, TEXT("POST"), TEXT("/_sim/time"), TEXT("{\"timeScale\": 0}"));
	const auto Uploaded = CallStep<FTarvolineCharacter>(this, TEXT("upload"),
		[](const TSharedRef<TOutcome<FTarvolineCharacter>>& Outcome)
		{
			const FString Model = ModelPath(TEXT("quadruped_mesh.fbx"));
			TarvolineApi::UploadModel(DemoKey, Model, OnSuccess(Outcome), OnFailure(Outcome));
		});
	const auto Rigged = CallStep<FTarvolineCharacter>(this, TEXT("rig"),
		[Uploaded](const TSharedRef<TOutcome<FTarvolineCharacter>>& Outcome)
		{
			TarvolineApi::FetchCharacter(DemoKey, Uploaded->Record.Id, OnSuccess(Outcome), OnFailure(Outcome));
		});
	const auto Listed = CallStep<TArray<FTarvolineCharacter>>(this, TEXT("list"), &ListCharactersCall);
	const auto Planned = CallStep<FTarvolinePlan>(this, TEXT("plan"),
		[Uploaded](const TSharedRef<TOutcome<FTarvolinePlan>>& Outcome)
		{
			const FString Id = Uploaded->Record.Id;
			TarvolineApi::PlanMotion(DemoKey, TEXT("a fox jumps"), Id, OnSuccess(Outcome), OnFailure(Outcome));
		});
	const auto Ordered = CallStep<FTarvolineJob>(this, TEXT("generate"),
		[Uploaded](const TSharedRef<TOutcome<FTarvolineJob>>& Outcome)
		{
			const FString Id = Uploaded->Record.Id;
			TarvolineApi::Generate(DemoKey, TEXT("a fox jumps"), Id, OnSuccess(Outcome), OnFailure(Outcome));
		});
	const auto Finished = CallStep<FTarvolineJob>(this, TEXT("job"),
		[Ordered](const TSharedRef<TOutcome<FTarvolineJob>>& Outcome)
		{
			TarvolineApi::FetchJob(DemoKey, Ordered->Record.Id, OnSuccess(Outcome), OnFailure(Outcome));
		});
	const auto Downloaded = CallStep<FNothing>(this, TEXT("download"),
		[Finished, SavePath](const TSharedRef<TOutcome<FNothing>>& Outcome)
		{
			const TArray<FTarvolineJobOutput>& Outputs = Finished->Record.Outputs;
			const FString Url = Outputs.Num() > 0 ? Outputs[0].Url : FString();
			TarvolineApi::DownloadFile(Url, SavePath, OnDone(Outcome), OnFailure(Outcome));
		});
	const auto Account = CallStep<FTarvolineAccount>(this, TEXT("account"), FetchAccountCall(DemoKey));
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/downloads/"));
	FinallyStep(
		[this, SavePath, Uploaded, Rigged, Listed, Planned, Ordered, Finished, Downloaded, Account, Recorded]()
		{
			// What the client read must fit together; the figures themselves are the local service's business.
			TestSucceeded(this, TEXT("upload"), *Uploaded);
			TestText(this, TEXT("uploaded name"), Uploaded->Record.Filename, TEXT("quadruped_mesh.fbx"));
			TestTrue(TEXT("uploaded is rigging"), Uploaded->Record.IsRigging() && !Uploaded->Record.Id.IsEmpty());
			TestSucceeded(this, TEXT("rig"), *Rigged);
			TestTrue(TEXT("rigged"), Rigged->Record.Id == Uploaded->Record.Id && !Rigged->Record.IsRigging() &&
										 !Rigged->Record.Family.IsEmpty());
			TestSucceeded(this, TEXT("list"), *Listed);
			TestTrue(TEXT("listed"), Listed->Record.Num() == 1 && Listed->Record[0].Id == Uploaded->Record.Id);
			TestSucceeded(this, TEXT("plan"), *Planned);
			TestTrue(TEXT("plan read"), Planned->Record.Cost > 0 && Planned->Record.Segments.Num() > 0);
			TestSucceeded(this, TEXT("generate"), *Ordered);
			TestTrue(TEXT("new job is active"), Ordered->Record.IsActive() && !Ordered->Record.Id.IsEmpty());
			TestText(this, TEXT("job's character"), Ordered->Record.AssetId, Uploaded->Record.Id);
			TestText(this, TEXT("job's prompt"), Ordered->Record.Prompt, TEXT("a fox jumps"));
			TestSucceeded(this, TEXT("job"), *Finished);
			const FTarvolineJob& Job = Finished->Record;
			TestTrue(TEXT("job done with its fbx"),
				!Job.IsActive() && Job.Outputs.Num() == 1 && Job.Outputs[0].Kind == TEXT("fbx"));
			TestEqual(TEXT("the job costs what the plan said"), Job.CreditsCost, Planned->Record.Cost);
			TestSucceeded(this, TEXT("account"), *Account);
			TestEqual(TEXT("charged"), Account->Record.Credits, Planned->Record.Balance - Job.CreditsCost);

			TestSucceeded(this, TEXT("download"), *Downloaded);
			TArray<uint8> Served;
			TArray<uint8> Saved;
			FFileHelper::LoadFileToArray(Served, *ModelPath(TEXT("quadruped_anim.fbx")));
			TestTrue(TEXT("downloaded file"), FFileHelper::LoadFileToArray(Saved, *SavePath));
			TestTrue(TEXT("downloaded bytes are the served file"), Saved.Num() > 0 && Saved == Served);
			TestTrue(TEXT("no key on the download"),
				Recorded->Num() == 1 && (*Recorded)[0].CountHeader(TEXT("Authorization")) == 0);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientCallsInFlightTest, "Tarvoline.Client.CallsInFlight",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientCallsInFlightTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	// A slow answer and quick ones in flight together: each call gets its own answer, in the order they complete.
	ControlStep(this, TEXT("POST"), Reset);
	FaultStep(this, TEXT("{\"kind\": \"delay\", \"delayMs\": 800, \"path\": \"/v1/assets/slow\"}"));
	const TSharedRef<TArray<FString>> Order = MakeShared<TArray<FString>>();
	const TSharedRef<TOutcome<FTarvolineCharacter>> Slow = MakeShared<TOutcome<FTarvolineCharacter>>();
	const TSharedRef<TOutcome<FTarvolineAccount>> Demo = MakeShared<TOutcome<FTarvolineAccount>>();
	const TSharedRef<TOutcome<FTarvolineAccount>> Poor = MakeShared<TOutcome<FTarvolineAccount>>();
	Then(
		[Order, Slow, Demo, Poor]()
		{
			TarvolineApi::FetchCharacter(DemoKey, TEXT("slow"), OnSuccess(Slow),
				[Order, Slow](const FString& Message, int32 Status)
				{
					Order->Add(TEXT("slow"));
					OnFailure(Slow)(Message, Status);
				});
			TarvolineApi::FetchAccount(
				DemoKey,
				[Order, Demo](const FTarvolineAccount& Account)
				{
					Order->Add(TEXT("demo"));
					OnSuccess(Demo)(Account);
				},
				OnFailure(Demo));
			TarvolineApi::FetchAccount(PoorKey, OnSuccess(Poor), OnFailure(Poor));
		});
	WaitUntil(this, TEXT("all three answers"),
		[Slow, Demo, Poor]()
		{
			return Slow->IsDone() && Demo->IsDone() && Poor->IsDone();
		});
	FinallyStep(
		[this, Order, Slow, Demo, Poor]()
		{
			TestTrue(TEXT("quick answer first"), *Order == TArray<FString>{TEXT("demo"), TEXT("slow")});
			TestTrue(TEXT("slow call answered once"), Slow->Failed() && Slow->Status == 404);
			TestSucceeded(this, TEXT("demo"), *Demo);
			TestSucceeded(this, TEXT("poor"), *Poor);
			TestText(this, TEXT("demo account"), Demo->Record.Email, TEXT("demo@tarvoline.test"));
			TestText(this, TEXT("poor account"), Poor->Record.Email, TEXT("poor@tarvoline.test"));
			TestEqual(TEXT("poor credits"), Poor->Record.Credits, 1);
		});
	return true;
}

#endif
