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

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolineClientTest
{
using namespace TarvolineTest;

using FCount = TOutcome<FNothing>;

const TCHAR* const Unreadable = TEXT("Tarvoline sent an answer we could not read.");
const TCHAR* const BrokenLink = TEXT("The download link did not work. Press Check again.");

FString Unreachable()
{
	return FString::Printf(TEXT("Could not reach %s. Check the internet connection and try again."), TarvolineApi::TarvolineSiteHost);
}

FString KeyRefused()
{
	return FString::Printf(TEXT("That API key was not accepted. Make a new one at %s/account."), TarvolineApi::TarvolineSiteHost);
}

FString NoCredits()
{
	return FString::Printf(TEXT("Not enough credits for that. Top up at %s/credits."), TarvolineApi::TarvolineSiteHost);
}

FString Answered(int32 Status)
{
	return FString::Printf(TEXT("Tarvoline answered %d. Try again, or write to us if it keeps happening."), Status);
}

/** A fault that answers the next API request with Status and exactly Body. */
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

/** A committed test model, by file name. */
FString ModelPath(const TCHAR* FileName)
{
#ifdef TARVOLINE_SOURCE_DIR
	const FString PluginDir = TEXT(TARVOLINE_SOURCE_DIR);
#else
	const FString PluginDir = FPaths::ProjectPluginsDir() / TEXT("Tarvoline");
#endif
	return FPaths::ConvertRelativePathToFull(PluginDir / TEXT("TestData/Models") / FileName);
}

TArray<uint8> Utf8(const FString& Text)
{
	const FTCHARToUTF8 Converted(*Text, Text.Len());
	return TArray<uint8>(reinterpret_cast<const uint8*>(Converted.Get()), Converted.Length());
}

/** Byte text with escapes, for messages that show where two bodies differ. */
FString Show(const TArray<uint8>& Bytes)
{
	FString Text;
	for (const uint8 Byte : Bytes)
	{
		Text += (Byte >= 32 && Byte < 127 && Byte != '\\') ? FString::Chr(TCHAR(Byte)) : FString::Printf(TEXT("\\x%02X"), Byte);
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

void TestBytes(FAutomationTestBase* Test, const FString& What, const TArray<uint8>& Actual, const TArray<uint8>& Expected)
{
	if (Actual != Expected)
	{
		Test->AddError(FString::Printf(TEXT("%s: got %d bytes \"%s\", expected %d bytes \"%s\"."), *What, Actual.Num(),
			*Show(Actual).Left(600), Expected.Num(), *Show(Expected).Left(600)));
	}
}

/** Enqueues Start (which calls the client) and a wait for the outcome's first callback. */
template <typename RecordType>
void CallStep(FAutomationTestBase* Test, const FString& What, const TSharedRef<TOutcome<RecordType>>& Outcome, TFunction<void()> Start)
{
	Then(MoveTemp(Start));
	WaitUntil(Test, What,
		[Outcome]()
		{
			return Outcome->IsDone();
		});
}

/**
 * Enqueues arming Fault (when given), Start, a wait for the first callback, and disarming whatever the call left armed.
 * Dropped connections are armed for every request until then: libcurl sends a request again when a connection it
 * reused closes before any answer (again as long as it picks another reused one), and its pool decides that.
 */
template <typename RecordType>
void FaultedCallStep(
	FAutomationTestBase* Test, const FString& Fault, const FString& What, const TSharedRef<TOutcome<RecordType>>& Outcome, TFunction<void()> Start)
{
	if (!Fault.IsEmpty())
	{
		FaultStep(Test, Fault);
	}
	CallStep(Test, What, Outcome, MoveTemp(Start));
	ControlStep(Test, TEXT("DELETE"), TEXT("/_sim/faults"));
}

/** A success callback that only counts, for checks that care about the failure. */
template <typename RecordType>
TFunction<void(const RecordType&)> Counting(const TSharedRef<FCount>& Outcome)
{
	return [Outcome](const RecordType&)
	{
		++Outcome->Successes;
	};
}

template <typename RecordType>
void TestSucceeded(FAutomationTestBase* Test, const FString& What, const TOutcome<RecordType>& Outcome)
{
	if (!Outcome.Succeeded())
	{
		Test->AddError(FString::Printf(TEXT("%s: %d successes and %d failures (last: %d \"%s\"), expected one success."), *What,
			Outcome.Successes, Outcome.Failures, Outcome.Status, *Outcome.Message));
	}
}

template <typename RecordType>
void TestFailed(FAutomationTestBase* Test, const FString& What, const TOutcome<RecordType>& Outcome, const FString& Message, int32 Status)
{
	if (!Outcome.Failed())
	{
		Test->AddError(FString::Printf(TEXT("%s: %d successes and %d failures, expected one failure."), *What, Outcome.Successes,
			Outcome.Failures));
	}
	TestText(Test, What + TEXT(" sentence"), Outcome.Message, Message);
	Test->TestEqual(What + TEXT(" status"), Outcome.Status, Status);
}

/** Enqueues a wait long enough for a second callback to show, then Check. */
void FinallyStep(TFunction<void()> Check)
{
	Idle(0.3);
	Then(MoveTemp(Check));
}

const FRecordedRequest* FindRecorded(const TArray<FRecordedRequest>& Requests, const FString& Method, const FString& Path)
{
	return Requests.FindByPredicate(
		[Method, Path](const FRecordedRequest& Request)
		{
			return Request.Method == Method && Request.Path.Equals(Path, ESearchCase::CaseSensitive);
		});
}
} // namespace TarvolineClientTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientRequestsTest, "Tarvoline.Client.Requests",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientRequestsTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const FString SavedApi = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_API"));
	const FString Service = ServiceUrl();

	// The base URL is read at each request: unset falls back to the live service, one trailing slash goes, a second stays.
	FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), TEXT(""));
	const TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Live = TarvolineApi::MakeRequest(TEXT("GET"), TEXT("/v1/auth/me"), DemoKey);
	TestText(this, TEXT("no TARVOLINE_API"), Live->GetURL(), FString(TarvolineApi::DefaultApiBaseUrl) + TEXT("/v1/auth/me"));
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

	const TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Post = TarvolineApi::MakeRequest(TEXT("POST"), TEXT("/v1/plan"), TEXT(""));
	TestText(this, TEXT("verb"), Post->GetVerb(), TEXT("POST"));
	TestText(this, TEXT("empty key"), Post->GetHeader(TEXT("Authorization")), TEXT("Bearer "));
	TestTrue(TEXT("timeout"), Post->GetTimeout().IsSet() && Post->GetTimeout().GetValue() == 900.0f);

	// On the wire: the three headers exactly, the key as given, identifiers joined as plain text.
	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	const TSharedRef<TOutcome<FTarvolineAccount>> Demo = MakeShared<TOutcome<FTarvolineAccount>>();
	const TSharedRef<TOutcome<FTarvolineAccount>> NoKey = MakeShared<TOutcome<FTarvolineAccount>>();
	const TSharedRef<TOutcome<FTarvolineAccount>> OneSlash = MakeShared<TOutcome<FTarvolineAccount>>();
	const TSharedRef<TOutcome<FTarvolineAccount>> TwoSlashes = MakeShared<TOutcome<FTarvolineAccount>>();
	const TSharedRef<FCount> Query = MakeShared<FCount>();
	const TSharedRef<FCount> Escaped = MakeShared<FCount>();
	CallStep(this, TEXT("account"), Demo,
		[Demo]()
		{
			TarvolineApi::FetchAccount(DemoKey, OnSuccess(Demo), OnFailure(Demo));
		});
	CallStep(this, TEXT("no key"), NoKey,
		[NoKey]()
		{
			TarvolineApi::FetchAccount(TEXT(""), OnSuccess(NoKey), OnFailure(NoKey));
		});
	CallStep(this, TEXT("one slash"), OneSlash,
		[OneSlash, Service, SavedApi]()
		{
			FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *(Service + TEXT("/")));
			TarvolineApi::FetchAccount(DemoKey, OnSuccess(OneSlash), OnFailure(OneSlash));
			FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *SavedApi);
		});
	CallStep(this, TEXT("two slashes"), TwoSlashes,
		[TwoSlashes, Service, SavedApi]()
		{
			FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *(Service + TEXT("//")));
			TarvolineApi::FetchAccount(DemoKey, OnSuccess(TwoSlashes), OnFailure(TwoSlashes));
			FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *SavedApi);
		});
	CallStep(this, TEXT("job id with a query"), Query,
		[Query]()
		{
			TarvolineApi::FetchJob(DemoKey, TEXT("abc?probe=1"), Counting<FTarvolineJob>(Query), OnFailure(Query));
		});
	CallStep(this, TEXT("escaped id"), Escaped,
		[Escaped]()
		{
			TarvolineApi::FetchCharacter(DemoKey, TEXT("a%2Fb"), Counting<FTarvolineCharacter>(Escaped), OnFailure(Escaped));
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
			TestTrue(TEXT("base URL with two slashes answered once"), TwoSlashes->Successes + TwoSlashes->Failures == 1);
			TestTrue(TEXT("answered once"), Query->Failures + Query->Successes == 1 && Escaped->Failures + Escaped->Successes == 1);

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
			TestEqual(TEXT("one Authorization"), First.CountHeader(TEXT("Authorization")), 1);
			TestEqual(TEXT("one User-Agent"), First.CountHeader(TEXT("User-Agent")), 1);
			TestEqual(TEXT("one Accept"), First.CountHeader(TEXT("Accept")), 1);
			TestEqual(TEXT("no Content-Type on a GET"), First.CountHeader(TEXT("Content-Type")), 0);
			TestEqual(TEXT("no body on a GET"), First.Body.Num(), 0);
			// The server trims the space after "Bearer"; what matters is that the header went out, once, without a key.
			TestText(this, TEXT("empty key sent"), (*Recorded)[1].Header(TEXT("Authorization")).TrimEnd(), TEXT("Bearer"));
			TestEqual(TEXT("empty key sent once"), (*Recorded)[1].CountHeader(TEXT("Authorization")), 1);
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
	struct FCase
	{
		FString Fault;
		FString Message;
		int32 Status;
	};
	const TArray<FCase> Cases = {
		{TEXT("{\"kind\": \"status\", \"status\": 401, \"detail\": \"That key was revoked.\"}"), TEXT("That key was revoked."), 401},
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
		{TEXT("{\"kind\": \"status\", \"status\": 422, \"detail\": [{\"loc\": [\"body\", \"prompt\"], \"msg\": \"field required\"}]}"),
			Answered(422), 422},
		{TEXT("{\"kind\": \"status\", \"status\": 404, \"detail\": {\"msg\": \"Not here.\"}}"), Answered(404), 404},
		{TEXT("{\"kind\": \"status\", \"status\": 300}"), Answered(300), 300},
		{TEXT("{\"kind\": \"empty\"}"), Unreadable, 200},
		{TEXT("{\"kind\": \"empty\", \"status\": 204}"), Unreadable, 204},
		{TEXT("{\"kind\": \"number\"}"), Unreadable, 200},
		{AnswerFault(TEXT("\"ok\""), 200), Unreadable, 200},
		{AnswerFault(TEXT("{\"email\": \"a@b.test\"} trailing"), 201), Unreadable, 201},
		{TEXT("{\"kind\": \"malformed\"}"), Unreadable, 200},
		{TEXT("{\"kind\": \"truncated\"}"), Unreadable, 200},
		{TEXT("{\"kind\": \"cut\"}"), Unreachable(), 0},
		{TEXT("{\"kind\": \"drop\", \"count\": -1}"), Unreachable(), 0},
		{TEXT("{\"kind\": \"dropAfter\", \"count\": -1}"), Unreachable(), 0},
	};

	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	TArray<TSharedRef<TOutcome<FTarvolineAccount>>> Outcomes;
	for (const FCase& Case : Cases)
	{
		const TSharedRef<TOutcome<FTarvolineAccount>> Outcome = MakeShared<TOutcome<FTarvolineAccount>>();
		Outcomes.Add(Outcome);
		FaultedCallStep(this, Case.Fault, Case.Fault, Outcome,
			[Outcome]()
			{
				TarvolineApi::FetchAccount(DemoKey, OnSuccess(Outcome), OnFailure(Outcome));
			});
	}

	// Nothing listens on port 1: the connection is refused.
	const TSharedRef<TOutcome<FTarvolineAccount>> Refused = MakeShared<TOutcome<FTarvolineAccount>>();
	CallStep(this, TEXT("refused connection"), Refused,
		[Refused]()
		{
			const FString SavedApi = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_API"));
			FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), TEXT("http://127.0.0.1:1"));
			TarvolineApi::FetchAccount(DemoKey, OnSuccess(Refused), OnFailure(Refused));
			FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *SavedApi);
		});

	// Any 2xx JSON document succeeds, an array included, whose members then all read as missing.
	const TSharedRef<TOutcome<FTarvolineAccount>> Created = MakeShared<TOutcome<FTarvolineAccount>>();
	const TSharedRef<TOutcome<FTarvolineAccount>> EmptyArray = MakeShared<TOutcome<FTarvolineAccount>>();
	FaultStep(this, AnswerFault(TEXT("{\"email\": \"new@b.test\", \"credits\": 5}"), 201));
	CallStep(this, TEXT("201"), Created,
		[Created]()
		{
			TarvolineApi::FetchAccount(DemoKey, OnSuccess(Created), OnFailure(Created));
		});
	FaultStep(this, AnswerFault(TEXT("[]"), 299));
	CallStep(this, TEXT("299 with an array"), EmptyArray,
		[EmptyArray]()
		{
			TarvolineApi::FetchAccount(DemoKey, OnSuccess(EmptyArray), OnFailure(EmptyArray));
		});

	FinallyStep(
		[this, Cases, Outcomes, Refused, Created, EmptyArray]()
		{
			for (int32 Index = 0; Index < Cases.Num(); ++Index)
			{
				TestFailed(this, Cases[Index].Fault, *Outcomes[Index], Cases[Index].Message, Cases[Index].Status);
			}
			TestFailed(this, TEXT("refused connection"), *Refused, Unreachable(), 0);
			TestSucceeded(this, TEXT("201"), *Created);
			TestText(this, TEXT("201 e-mail"), Created->Record.Email, TEXT("new@b.test"));
			TestEqual(TEXT("201 credits"), Created->Record.Credits, 5);
			TestSucceeded(this, TEXT("299 with an array"), *EmptyArray);
			TestTrue(TEXT("array reads as defaults"), EmptyArray->Record.Email.IsEmpty() && EmptyArray->Record.Credits == 0);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientEveryOperationTest, "Tarvoline.Client.EveryOperationReportsOnce",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientEveryOperationTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const FString Model = ModelPath(TEXT("humanoid_mesh.fbx"));
	struct FOperation
	{
		const TCHAR* Name;
		TFunction<void(const TSharedRef<FCount>&)> Call;
	};
	const TArray<FOperation> Operations = {
		{TEXT("FetchAccount"),
			[](const TSharedRef<FCount>& Outcome)
			{
				TarvolineApi::FetchAccount(DemoKey, Counting<FTarvolineAccount>(Outcome), OnFailure(Outcome));
			}},
		{TEXT("ListCharacters"),
			[](const TSharedRef<FCount>& Outcome)
			{
				TarvolineApi::ListCharacters(DemoKey, Counting<TArray<FTarvolineCharacter>>(Outcome), OnFailure(Outcome));
			}},
		{TEXT("FetchCharacter"),
			[](const TSharedRef<FCount>& Outcome)
			{
				TarvolineApi::FetchCharacter(DemoKey, TEXT("c9"), Counting<FTarvolineCharacter>(Outcome), OnFailure(Outcome));
			}},
		{TEXT("UploadModel"),
			[Model](const TSharedRef<FCount>& Outcome)
			{
				TarvolineApi::UploadModel(DemoKey, Model, Counting<FTarvolineCharacter>(Outcome), OnFailure(Outcome));
			}},
		{TEXT("PlanMotion"),
			[](const TSharedRef<FCount>& Outcome)
			{
				TarvolineApi::PlanMotion(DemoKey, TEXT("a fox jumps"), TEXT("c9"), Counting<FTarvolinePlan>(Outcome), OnFailure(Outcome));
			}},
		{TEXT("Generate"),
			[](const TSharedRef<FCount>& Outcome)
			{
				TarvolineApi::Generate(DemoKey, TEXT("a fox jumps"), TEXT("c9"), Counting<FTarvolineJob>(Outcome), OnFailure(Outcome));
			}},
		{TEXT("FetchJob"),
			[](const TSharedRef<FCount>& Outcome)
			{
				TarvolineApi::FetchJob(DemoKey, TEXT("j9"), Counting<FTarvolineJob>(Outcome), OnFailure(Outcome));
			}},
	};
	struct FCase
	{
		const TCHAR* Fault;
		FString Message;
		int32 Status;
	};
	const TArray<FCase> Cases = {
		{TEXT("{\"kind\": \"status\", \"status\": 503}"), Answered(503), 503},
		{TEXT("{\"kind\": \"status\", \"status\": 401, \"detail\": \"Revoked.\"}"), TEXT("Revoked."), 401},
		{TEXT("{\"kind\": \"malformed\"}"), Unreadable, 200},
		{TEXT("{\"kind\": \"drop\", \"count\": -1}"), Unreachable(), 0},
	};

	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	TArray<TSharedRef<FCount>> Outcomes;
	for (const FOperation& Operation : Operations)
	{
		for (const FCase& Case : Cases)
		{
			const TSharedRef<FCount> Outcome = MakeShared<FCount>();
			Outcomes.Add(Outcome);
			const TFunction<void(const TSharedRef<FCount>&)> Call = Operation.Call;
			FaultedCallStep(this, Case.Fault, FString(Operation.Name) + TEXT(" ") + Case.Fault, Outcome,
				[Call, Outcome]()
				{
					Call(Outcome);
				});
		}
	}
	FinallyStep(
		[this, Operations, Cases, Outcomes]()
		{
			for (int32 Index = 0; Index < Outcomes.Num(); ++Index)
			{
				const FCase& Case = Cases[Index % Cases.Num()];
				TestFailed(this, FString(Operations[Index / Cases.Num()].Name) + TEXT(" ") + Case.Fault, *Outcomes[Index], Case.Message,
					Case.Status);
			}
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientAccountAndCharacterRecordsTest, "Tarvoline.Client.AccountAndCharacterRecords",
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
		TEXT("[{\"id\": \"a1\", \"filename\": \"Fox \\\"2\\\".fbx\", \"status\": \"READY\", \"family\": \"quadruped\"}, 7, ")
		TEXT("{\"id\": \"a3\", \"status\": \"Processing\"}, \"x\", {\"id\": \"a5\", \"family\": \"\", \"error\": \"No mesh.\"}]"),
	};
	const TArray<FString> CharacterAnswers = {
		TEXT("{\"id\": \"c1\", \"status\": \"pending\", \"family\": \"bird\", \"sizeBytes\": 12}"),
		TEXT("{\"id\": [\"c1\"], \"status\": {\"s\": 1}, \"filename\": null, \"error\": \"Not a model.\", \"family\": {}}"),
		TEXT("[{\"id\": \"c1\", \"status\": \"ready\"}]"),
	};

	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	TArray<TSharedRef<TOutcome<FTarvolineAccount>>> Accounts;
	for (const FString& Answer : AccountAnswers)
	{
		const TSharedRef<TOutcome<FTarvolineAccount>> Outcome = MakeShared<TOutcome<FTarvolineAccount>>();
		Accounts.Add(Outcome);
		FaultStep(this, AnswerFault(Answer));
		CallStep(this, Answer, Outcome,
			[Outcome]()
			{
				TarvolineApi::FetchAccount(DemoKey, OnSuccess(Outcome), OnFailure(Outcome));
			});
	}
	TArray<TSharedRef<TOutcome<TArray<FTarvolineCharacter>>>> Lists;
	for (const FString& Answer : ListAnswers)
	{
		const TSharedRef<TOutcome<TArray<FTarvolineCharacter>>> Outcome = MakeShared<TOutcome<TArray<FTarvolineCharacter>>>();
		Lists.Add(Outcome);
		FaultStep(this, AnswerFault(Answer));
		CallStep(this, Answer, Outcome,
			[Outcome]()
			{
				TarvolineApi::ListCharacters(DemoKey, OnSuccess(Outcome), OnFailure(Outcome));
			});
	}
	TArray<TSharedRef<TOutcome<FTarvolineCharacter>>> Characters;
	for (const FString& Answer : CharacterAnswers)
	{
		const TSharedRef<TOutcome<FTarvolineCharacter>> Outcome = MakeShared<TOutcome<FTarvolineCharacter>>();
		Characters.Add(Outcome);
		FaultStep(this, AnswerFault(Answer));
		CallStep(this, Answer, Outcome,
			[Outcome]()
			{
				TarvolineApi::FetchCharacter(DemoKey, TEXT("c1"), OnSuccess(Outcome), OnFailure(Outcome));
			});
	}

	FinallyStep(
		[this, AccountAnswers, Accounts, ListAnswers, Lists, CharacterAnswers, Characters]()
		{
			for (int32 Index = 0; Index < Accounts.Num(); ++Index)
			{
				TestSucceeded(this, AccountAnswers[Index], *Accounts[Index]);
			}
			TestText(this, TEXT("e-mail kept as sent"), Accounts[0]->Record.Email, TEXT("Ann@Example.TEST "));
			TestEqual(TEXT("12.9 credits truncate"), Accounts[0]->Record.Credits, 12);
			TestEqual(TEXT("-7.9 credits truncate toward zero"), Accounts[1]->Record.Credits, -7);
			TestTrue(TEXT("mistyped members read as defaults"), Accounts[2]->Record.Email.IsEmpty() && Accounts[2]->Record.Credits == 0);
			TestTrue(TEXT("null and array members read as defaults"), Accounts[3]->Record.Email.IsEmpty() && Accounts[3]->Record.Credits == 0);

			for (int32 Index = 0; Index < Lists.Num(); ++Index)
			{
				TestSucceeded(this, ListAnswers[Index], *Lists[Index]);
			}
			TestEqual(TEXT("empty list"), Lists[0]->Record.Num(), 0);
			TestEqual(TEXT("list inside an object is not read"), Lists[1]->Record.Num(), 0);
			const TArray<FTarvolineCharacter>& Mixed = Lists[2]->Record;
			if (TestEqual(TEXT("every element becomes a record"), Mixed.Num(), 5))
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
						Empty.Id.IsEmpty() && Empty.Filename.IsEmpty() && Empty.Status.IsEmpty() && Empty.Error.IsEmpty());
					TestText(this, TEXT("non-object element family"), Empty.Family, TEXT("humanoid"));
				}
				TestTrue(TEXT("Processing is rigging"), Mixed[2].IsRigging());
				TestText(this, TEXT("missing family"), Mixed[2].Family, TEXT("humanoid"));
				TestText(this, TEXT("empty family"), Mixed[4].Family, TEXT("humanoid"));
				TestText(this, TEXT("error"), Mixed[4].Error, TEXT("No mesh."));
				TestText(this, TEXT("order kept"), Mixed[4].Id, TEXT("a5"));
			}

			for (int32 Index = 0; Index < Characters.Num(); ++Index)
			{
				TestSucceeded(this, CharacterAnswers[Index], *Characters[Index]);
			}
			TestTrue(TEXT("pending is rigging"), Characters[0]->Record.IsRigging());
			TestText(this, TEXT("bird"), Characters[0]->Record.Family, TEXT("bird"));
			const FTarvolineCharacter& Mistyped = Characters[1]->Record;
			TestTrue(TEXT("mistyped members are empty"), Mistyped.Id.IsEmpty() && Mistyped.Status.IsEmpty() && Mistyped.Filename.IsEmpty());
			TestText(this, TEXT("mistyped family"), Mistyped.Family, TEXT("humanoid"));
			TestText(this, TEXT("error kept"), Mistyped.Error, TEXT("Not a model."));
			TestFalse(TEXT("no status is not rigging"), Mistyped.IsRigging());
			TestTrue(TEXT("an array is not the character"), Characters[2]->Record.Id.IsEmpty() && Characters[2]->Record.Status.IsEmpty());
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
		TEXT("{\"cost\": 4.9, \"balance\": 999.99, \"affordable\": true, \"fallback\": false, \"script\": {\"family\": \"quadruped\", ")
		TEXT("\"segments\": [{\"primitive\": \"quad_trot_forward\", \"seconds\": 2.26}, {\"primitive\": \"QUAD_walk\", \"seconds\": 3}, ")
		TEXT("{\"primitive\": \"jump_quad_spin\"}, 7, {\"primitive\": \"quad_quad_sit\", \"seconds\": 0.04, \"extra\": 1}, ")
		TEXT("{\"primitive\": \"Quad_\", \"seconds\": 12.96}, {\"seconds\": 1}]}, \"notes\": [\"Planned for a quadruped.\", \"Left out: fly.\"]}"),
		TEXT("{\"script\": {\"segments\": \"walk\"}, \"notes\": \"none\", \"affordable\": \"no\"}"),
		TEXT("{\"segments\": [{\"primitive\": \"walk\", \"seconds\": 1}], \"script\": [1], \"cost\": -3.9}"),
	};
	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	TArray<TSharedRef<TOutcome<FTarvolinePlan>>> Plans;
	for (const FString& Answer : Answers)
	{
		const TSharedRef<TOutcome<FTarvolinePlan>> Outcome = MakeShared<TOutcome<FTarvolinePlan>>();
		Plans.Add(Outcome);
		FaultStep(this, AnswerFault(Answer));
		CallStep(this, Answer, Outcome,
			[Outcome]()
			{
				TarvolineApi::PlanMotion(DemoKey, TEXT("a fox jumps"), TEXT("c9"), OnSuccess(Outcome), OnFailure(Outcome));
			});
	}
	FinallyStep(
		[this, Answers, Plans]()
		{
			for (int32 Index = 0; Index < Plans.Num(); ++Index)
			{
				TestSucceeded(this, Answers[Index], *Plans[Index]);
			}
			const FTarvolinePlan& Short = Plans[0]->Record;
			TestTrue(TEXT("price only"), Short.Cost == 12 && Short.Balance == 3 && !Short.Affordable);
			TestTrue(TEXT("no segments or notes"), Short.Segments.Num() == 0 && Short.Notes.Num() == 0);

			const FTarvolinePlan& Full = Plans[1]->Record;
			TestEqual(TEXT("cost truncates"), Full.Cost, 4);
			TestEqual(TEXT("balance truncates"), Full.Balance, 999);
			TestTrue(TEXT("affordable"), Full.Affordable);
			const TArray<FString> Labels = {TEXT("trot forward 2.3 s"), TEXT("walk 3.0 s"), TEXT("jump quad spin 0.0 s"), TEXT(" 0.0 s"),
				TEXT("quad sit 0.0 s"), TEXT(" 13.0 s"), TEXT(" 1.0 s")};
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
			TestTrue(TEXT("segments not a list, notes not a list"), Mistyped.Segments.Num() == 0 && Mistyped.Notes.Num() == 0);
			const FTarvolinePlan& Misplaced = Plans[3]->Record;
			TestEqual(TEXT("segments only inside the script"), Misplaced.Segments.Num(), 0);
			TestEqual(TEXT("negative cost truncates toward zero"), Misplaced.Cost, -3);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientJobAnswersTest, "Tarvoline.Client.JobAnswers",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientJobAnswersTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const TArray<FString> Answers = {
		TEXT("{\"id\": \"j1\", \"status\": \"RUNNING\", \"stage\": \"Retargeting\", \"progress\": 0.625, \"prompt\": \"a fox jumps\", ")
		TEXT("\"assetId\": \"c9\", \"family\": \"quadruped\"}"),
		TEXT("{\"status\": \"Queued\", \"progress\": 1.5}"),
		TEXT("{\"id\": \"j2\", \"status\": \"succeeded\", \"stage\": \"done\", \"durationSeconds\": 4.5, \"creditsCost\": 8, ")
		TEXT("\"creditsRefunded\": false, \"fallbackFrom\": \"motion_model\", ")
		TEXT("\"outputs\": [{\"kind\": \"fbx\", \"url\": \"http://127.0.0.1:1/downloads/j2/motion.fbx?expires=1&token=A\", \"size\": 3}]}"),
		TEXT("{\"status\": \"failed\", \"error\": \"\", \"creditsRefunded\": true, \"creditsCost\": 8.9}"),
		TEXT("{\"status\": \"succeeded\", \"outputs\": \"fbx\"}"),
		TEXT("{\"outputs\": [\"fbx\", {\"kind\": \"glb\"}, {\"url\": \"u\"}], \"creditsRefunded\": [true], \"progress\": \"half\"}"),
	};
	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	TArray<TSharedRef<TOutcome<FTarvolineJob>>> Jobs;
	for (const FString& Answer : Answers)
	{
		const TSharedRef<TOutcome<FTarvolineJob>> Outcome = MakeShared<TOutcome<FTarvolineJob>>();
		Jobs.Add(Outcome);
		FaultStep(this, AnswerFault(Answer));
		CallStep(this, Answer, Outcome,
			[Outcome]()
			{
				TarvolineApi::FetchJob(DemoKey, TEXT("j1"), OnSuccess(Outcome), OnFailure(Outcome));
			});
	}
	// Generate reads its answer with the same reader.
	const TSharedRef<TOutcome<FTarvolineJob>> Generated = MakeShared<TOutcome<FTarvolineJob>>();
	FaultStep(this, AnswerFault(Answers[0]));
	CallStep(this, TEXT("generate"), Generated,
		[Generated]()
		{
			TarvolineApi::Generate(DemoKey, TEXT("a fox jumps"), TEXT("c9"), OnSuccess(Generated), OnFailure(Generated));
		});

	FinallyStep(
		[this, Answers, Jobs, Generated]()
		{
			for (int32 Index = 0; Index < Jobs.Num(); ++Index)
			{
				TestSucceeded(this, Answers[Index], *Jobs[Index]);
			}
			TestSucceeded(this, TEXT("generate"), *Generated);
			for (const FTarvolineJob& Running : {Jobs[0]->Record, Generated->Record})
			{
				TestTrue(TEXT("RUNNING is active"), Running.IsActive());
				TestText(this, TEXT("id"), Running.Id, TEXT("j1"));
				TestText(this, TEXT("stage as sent"), Running.Stage, TEXT("Retargeting"));
				TestEqual(TEXT("progress"), Running.Progress, 0.625f);
				TestText(this, TEXT("prompt"), Running.Prompt, TEXT("a fox jumps"));
				TestText(this, TEXT("asset"), Running.AssetId, TEXT("c9"));
				TestEqual(TEXT("no outputs while running"), Running.Outputs.Num(), 0);
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
				TestText(this, TEXT("url"), Done.Outputs[0].Url, TEXT("http://127.0.0.1:1/downloads/j2/motion.fbx?expires=1&token=A"));
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
	const TArray<FString> Names = {TEXT("fox.fbx"), TEXT("empty.glb"), TEXT("F\u00fcchsin \u72d0.fbx"), TEXT("say \"hi\".fbx")};
	const TArray<TArray<uint8>> Contents = {Binary, TArray<uint8>(), Utf8(TEXT("glTF")), Utf8(TEXT("quoted"))};
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		TestTrue(TEXT("test file written"), FFileHelper::SaveArrayToFile(Contents[Index], *(Dir / Names[Index])));
	}

	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	TArray<TSharedRef<TOutcome<FTarvolineCharacter>>> Uploads;
	for (const FString& Name : Names)
	{
		const TSharedRef<TOutcome<FTarvolineCharacter>> Outcome = MakeShared<TOutcome<FTarvolineCharacter>>();
		Uploads.Add(Outcome);
		const FString Path = Dir / Name;
		CallStep(this, Name, Outcome,
			[Outcome, Path]()
			{
				TarvolineApi::UploadModel(DemoKey, Path, OnSuccess(Outcome), OnFailure(Outcome));
			});
	}

	// A missing file fails before the call returns, naming only the file; nothing is sent.
	const TSharedRef<TOutcome<FTarvolineCharacter>> Missing = MakeShared<TOutcome<FTarvolineCharacter>>();
	Then(
		[this, Missing, Dir]()
		{
			TarvolineApi::UploadModel(DemoKey, Dir / TEXT("Models") / TEXT("absent fox.fbx"), OnSuccess(Missing), OnFailure(Missing));
			TestTrue(TEXT("missing file reported at once"), Missing->Failures == 1);
		});

	// The service's size limit.
	const TSharedRef<TOutcome<FTarvolineCharacter>> TooLarge = MakeShared<TOutcome<FTarvolineCharacter>>();
	FaultStep(this, TEXT("{\"kind\": \"status\", \"status\": 413, \"method\": \"POST\", \"path\": \"/v1/assets\"}"));
	CallStep(this, TEXT("too large"), TooLarge,
		[TooLarge, Dir]()
		{
			TarvolineApi::UploadModel(DemoKey, Dir / TEXT("fox.fbx"), OnSuccess(TooLarge), OnFailure(TooLarge));
		});

	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/v1/assets"));
	FinallyStep(
		[this, Names, Contents, Uploads, Missing, TooLarge, Recorded]()
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
				TestTrue(TEXT("POST /v1/assets"), Request.Method == TEXT("POST") && Request.Path == TEXT("/v1/assets"));
				TestText(this, TEXT("Authorization"), Request.Header(TEXT("Authorization")), TEXT("Bearer tv_demo_key"));
				TestText(this, TEXT("User-Agent"), Request.Header(TEXT("User-Agent")), TEXT("tarvoline-unreal/0.1.0"));
				TestText(this, TEXT("Accept"), Request.Header(TEXT("Accept")), TEXT("application/json"));
				FString Boundary = Request.Header(TEXT("Content-Type"));
				TestTrue(TEXT("Content-Type"), Boundary.RemoveFromStart(TEXT("multipart/form-data; boundary="), ESearchCase::CaseSensitive));
				FString Digits = Boundary;
				TestTrue(TEXT("boundary prefix"), Digits.RemoveFromStart(TEXT("----tarvoline"), ESearchCase::CaseSensitive));
				bool bHex = Digits.Len() == 32;
				for (const TCHAR Char : Digits)
				{
					bHex = bHex && ((Char >= TEXT('0') && Char <= TEXT('9')) || (Char >= TEXT('A') && Char <= TEXT('F')));
				}
				TestTrue(FString::Printf(TEXT("boundary ends in 32 upper-case hex digits: %s"), *Boundary), bHex);
				Boundaries.Add(Boundary);

				TArray<uint8> Expected = Utf8(TEXT("--") + Boundary + TEXT("\r\nContent-Disposition: form-data; name=\"file\"; filename=\""));
				Expected.Append(Utf8(Names[Index]));
				Expected.Append(Utf8(TEXT("\"\r\nContent-Type: application/octet-stream\r\n\r\n")));
				Expected.Append(Contents[Index]);
				Expected.Append(Utf8(TEXT("\r\n--") + Boundary + TEXT("--\r\n")));
				TestBytes(this, Names[Index] + TEXT(" body"), Request.Body, Expected);
			}
			TestEqual(TEXT("a new boundary for each upload"), Boundaries.Num(), Names.Num());
			// The name goes out as raw UTF-8, with no escaping of its own.
			const TArray<uint8> NonAscii = {'F', 0xC3, 0xBC, 'c', 'h', 's', 'i', 'n', ' ', 0xE7, 0x8B, 0x90, '.', 'f', 'b', 'x', '"'};
			const TArray<uint8>& Body = (*Recorded)[2].Body;
			bool bFound = false;
			for (int32 Start = 0; Start + NonAscii.Num() <= Body.Num() && !bFound; ++Start)
			{
				int32 Matched = 0;
				while (Matched < NonAscii.Num() && Body[Start + Matched] == NonAscii[Matched])
				{
					++Matched;
				}
				bFound = Matched == NonAscii.Num();
			}
			TestTrue(TEXT("non-ASCII name as UTF-8"), bFound);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientJsonBodiesTest, "Tarvoline.Client.JsonBodies",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientJsonBodiesTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	const FString PlanBody = TEXT("{\r\n\t\"prompt\": \"a fox jumps\",\r\n\t\"assetId\": \"c9\"\r\n}");
	const FString GenerateBody = TEXT("{\r\n\t\"prompt\": \"a fox jumps\",\r\n\t\"assetId\": \"c9\",\r\n\t\"formats\": [\r\n\t\t\"fbx\"\r\n\t]\r\n}");

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

	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	const TSharedRef<FCount> Plan = MakeShared<FCount>();
	const TSharedRef<FCount> Generate = MakeShared<FCount>();
	const TSharedRef<FCount> Quoted = MakeShared<FCount>();
	const TSharedRef<FCount> Empty = MakeShared<FCount>();
	CallStep(this, TEXT("plan"), Plan,
		[Plan]()
		{
			TarvolineApi::PlanMotion(DemoKey, TEXT("a fox jumps"), TEXT("c9"), Counting<FTarvolinePlan>(Plan), OnFailure(Plan));
		});
	CallStep(this, TEXT("generate"), Generate,
		[Generate]()
		{
			TarvolineApi::Generate(DemoKey, TEXT("a fox jumps"), TEXT("c9"), Counting<FTarvolineJob>(Generate), OnFailure(Generate));
		});
	CallStep(this, TEXT("quoted prompt"), Quoted,
		[Quoted]()
		{
			TarvolineApi::PlanMotion(DemoKey, TEXT(" F\u00fcchsin \"springt\" \\ hoch\n"), TEXT("c 9"), Counting<FTarvolinePlan>(Quoted),
				OnFailure(Quoted));
		});
	CallStep(this, TEXT("empty prompt"), Empty,
		[Empty]()
		{
			TarvolineApi::PlanMotion(DemoKey, TEXT(""), TEXT(""), Counting<FTarvolinePlan>(Empty), OnFailure(Empty));
		});
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/v1/"));
	FinallyStep(
		[this, PlanBody, GenerateBody, Plan, Generate, Quoted, Empty, Recorded]()
		{
			// The service refuses the unknown character and the empty prompt; each call still reports once.
			TestTrue(TEXT("plan answered once"), Plan->Successes + Plan->Failures == 1 && Generate->Successes + Generate->Failures == 1);
			TestTrue(TEXT("quoted answered once"), Quoted->Successes + Quoted->Failures == 1);
			TestFailed(this, TEXT("empty prompt"), *Empty, Answered(422), 422);
			if (!TestEqual(TEXT("requests"), Recorded->Num(), 4))
			{
				return;
			}
			const TArray<const TCHAR*> Paths = {TEXT("/v1/plan"), TEXT("/v1/generate"), TEXT("/v1/plan"), TEXT("/v1/plan")};
			for (int32 Index = 0; Index < Paths.Num(); ++Index)
			{
				const FRecordedRequest& Request = (*Recorded)[Index];
				TestTrue(TEXT("POST"), Request.Method == TEXT("POST"));
				TestText(this, TEXT("path"), Request.Path, Paths[Index]);
				TestText(this, TEXT("Content-Type"), Request.Header(TEXT("Content-Type")), TEXT("application/json"));
				TestEqual(TEXT("one Content-Type"), Request.CountHeader(TEXT("Content-Type")), 1);
				TestText(this, TEXT("Authorization"), Request.Header(TEXT("Authorization")), TEXT("Bearer tv_demo_key"));
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
	const FString Service = ServiceUrl();
	const FString Link = Service + TEXT("/downloads/0123456789abcdef/motion.fbx?expires=99999999999&token=bad");
	const FString Kept = Dir / TEXT("kept.fbx");
	const FString Blocker = Dir / TEXT("blocker");
	TestTrue(TEXT("existing file"), FFileHelper::SaveStringToFile(TEXT("old bytes"), *Kept));
	TestTrue(TEXT("a file where a folder should go"), FFileHelper::SaveStringToFile(TEXT("x"), *Blocker));

	struct FCase
	{
		FString Fault;
		FString Url;
		FString SavePath;
		FString Message;
		int32 Status;
	};
	const FString Fresh = Dir / TEXT("New Folder") / TEXT("deeper") / TEXT("a_fox_jumps.fbx");
	const FString Unwritable = Blocker / TEXT("sub") / TEXT("a.fbx");
	const FString Payload = TEXT("FBX \u00fc bytes");
	const TArray<FCase> Cases = {
		{AnswerFault(Payload, 200, TEXT("/downloads/")), Link, Fresh, FString(), 0},
		{AnswerFault(TEXT("new"), 200, TEXT("/downloads/")), Link, Dir / TEXT("replaced.fbx"), FString(), 0},
		{FString(), Link, Kept, BrokenLink, 403},
		{AnswerFault(TEXT("partial"), 206, TEXT("/downloads/")), Link, Kept, BrokenLink, 206},
		{AnswerFault(TEXT("{}"), 201, TEXT("/downloads/")), Link, Kept, BrokenLink, 201},
		{TEXT("{\"kind\": \"status\", \"status\": 404, \"detail\": \"Gone.\", \"path\": \"/downloads/\"}"), Link, Kept, BrokenLink, 404},
		{TEXT("{\"kind\": \"html\", \"status\": 500, \"path\": \"/downloads/\"}"), Link, Kept, BrokenLink, 500},
		{TEXT("{\"kind\": \"drop\", \"count\": -1, \"path\": \"/downloads/\"}"), Link, Kept, BrokenLink, 0},
		{FString(), TEXT("http://127.0.0.1:1/downloads/x/motion.fbx"), Kept, BrokenLink, 0},
		{AnswerFault(TEXT("bytes"), 200, TEXT("/downloads/")), Link, Unwritable, TEXT("Could not write ") + Unwritable + TEXT("."), 0},
	};
	TestTrue(TEXT("file to replace"), FFileHelper::SaveStringToFile(TEXT("old and longer"), *(Dir / TEXT("replaced.fbx"))));

	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	TArray<TSharedRef<TOutcome<FNothing>>> Outcomes;
	for (const FCase& Case : Cases)
	{
		const TSharedRef<TOutcome<FNothing>> Outcome = MakeShared<TOutcome<FNothing>>();
		Outcomes.Add(Outcome);
		const FString Url = Case.Url;
		const FString SavePath = Case.SavePath;
		FaultedCallStep(this, Case.Fault, Case.Fault + TEXT(" ") + Url, Outcome,
			[Outcome, Url, SavePath]()
			{
				TarvolineApi::DownloadFile(Url, SavePath, OnDone(Outcome), OnFailure(Outcome));
			});
	}
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/downloads/"));
	FinallyStep(
		[this, Cases, Outcomes, Fresh, Kept, Payload, Dir, Recorded]()
		{
			for (int32 Index = 0; Index < Cases.Num(); ++Index)
			{
				const FString What = Cases[Index].Fault + TEXT(" ") + Cases[Index].Url;
				if (Cases[Index].Message.IsEmpty())
				{
					TestSucceeded(this, What, *Outcomes[Index]);
				}
				else
				{
					TestFailed(this, What, *Outcomes[Index], Cases[Index].Message, Cases[Index].Status);
				}
			}
			TArray<uint8> Written;
			TestTrue(TEXT("folders made, file written"), FFileHelper::LoadFileToArray(Written, *Fresh));
			TestBytes(this, TEXT("bytes written unchanged"), Written, Utf8(Payload));
			FString Replaced;
			FFileHelper::LoadFileToString(Replaced, *(Dir / TEXT("replaced.fbx")));
			TestText(this, TEXT("existing file replaced"), Replaced, TEXT("new"));
			FString Old;
			FFileHelper::LoadFileToString(Old, *Kept);
			TestText(this, TEXT("failed downloads leave the file alone"), Old, TEXT("old bytes"));

			// The key never travels to an output URL, and the client adds no headers of its own there.
			// The refused one never arrives; libcurl may have sent the dropped one more than once.
			TestTrue(TEXT("downloads recorded"), Recorded->Num() >= Cases.Num() - 1);
			for (const FRecordedRequest& Request : *Recorded)
			{
				TestTrue(TEXT("GET"), Request.Method == TEXT("GET"));
				TestEqual(TEXT("no Authorization"), Request.CountHeader(TEXT("Authorization")), 0);
				TestFalse(TEXT("no plug-in user agent"), Request.Header(TEXT("User-Agent")).StartsWith(TEXT("tarvoline-unreal")));
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
	const FString Model = ModelPath(TEXT("quadruped_mesh.fbx"));
	const FString SavePath = MakeScratchDir(TEXT("TarvolineClientTests")) / TEXT("Tarvoline") / TEXT("a_fox_jumps.fbx");
	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	ControlStep(this, TEXT("POST"), TEXT("/_sim/time"), TEXT("{\"timeScale\": 0}"));

	const TSharedRef<TOutcome<FTarvolineCharacter>> Uploaded = MakeShared<TOutcome<FTarvolineCharacter>>();
	const TSharedRef<TOutcome<FTarvolineCharacter>> Rigged = MakeShared<TOutcome<FTarvolineCharacter>>();
	const TSharedRef<TOutcome<TArray<FTarvolineCharacter>>> Listed = MakeShared<TOutcome<TArray<FTarvolineCharacter>>>();
	const TSharedRef<TOutcome<FTarvolinePlan>> Planned = MakeShared<TOutcome<FTarvolinePlan>>();
	const TSharedRef<TOutcome<FTarvolineJob>> Ordered = MakeShared<TOutcome<FTarvolineJob>>();
	const TSharedRef<TOutcome<FTarvolineJob>> Finished = MakeShared<TOutcome<FTarvolineJob>>();
	const TSharedRef<TOutcome<FNothing>> Downloaded = MakeShared<TOutcome<FNothing>>();
	const TSharedRef<TOutcome<FTarvolineJob>> FailedOrder = MakeShared<TOutcome<FTarvolineJob>>();
	const TSharedRef<TOutcome<FTarvolineJob>> Failed = MakeShared<TOutcome<FTarvolineJob>>();
	const TSharedRef<TOutcome<FTarvolineJob>> Poor = MakeShared<TOutcome<FTarvolineJob>>();
	const TSharedRef<TOutcome<FTarvolineAccount>> Account = MakeShared<TOutcome<FTarvolineAccount>>();

	CallStep(this, TEXT("upload"), Uploaded,
		[Uploaded, Model]()
		{
			TarvolineApi::UploadModel(DemoKey, Model, OnSuccess(Uploaded), OnFailure(Uploaded));
		});
	CallStep(this, TEXT("rig"), Rigged,
		[Uploaded, Rigged]()
		{
			TarvolineApi::FetchCharacter(DemoKey, Uploaded->Record.Id, OnSuccess(Rigged), OnFailure(Rigged));
		});
	CallStep(this, TEXT("list"), Listed,
		[Listed]()
		{
			TarvolineApi::ListCharacters(DemoKey, OnSuccess(Listed), OnFailure(Listed));
		});
	CallStep(this, TEXT("plan"), Planned,
		[Uploaded, Planned]()
		{
			TarvolineApi::PlanMotion(DemoKey, TEXT("a fox jumps"), Uploaded->Record.Id, OnSuccess(Planned), OnFailure(Planned));
		});
	CallStep(this, TEXT("generate"), Ordered,
		[Uploaded, Ordered]()
		{
			TarvolineApi::Generate(DemoKey, TEXT("a fox jumps"), Uploaded->Record.Id, OnSuccess(Ordered), OnFailure(Ordered));
		});
	CallStep(this, TEXT("job"), Finished,
		[Ordered, Finished]()
		{
			TarvolineApi::FetchJob(DemoKey, Ordered->Record.Id, OnSuccess(Finished), OnFailure(Finished));
		});
	CallStep(this, TEXT("download"), Downloaded,
		[Finished, Downloaded, SavePath]()
		{
			const FString Url = Finished->Record.Outputs.Num() > 0 ? Finished->Record.Outputs[0].Url : FString();
			TarvolineApi::DownloadFile(Url, SavePath, OnDone(Downloaded), OnFailure(Downloaded));
		});
	ControlStep(this, TEXT("POST"), TEXT("/_sim/next"), TEXT("{\"job\": {\"fail\": \"The motion could not be made.\", \"failStage\": \"retargeting\"}}"));
	CallStep(this, TEXT("generate to fail"), FailedOrder,
		[Uploaded, FailedOrder]()
		{
			TarvolineApi::Generate(DemoKey, TEXT("a fox sits"), Uploaded->Record.Id, OnSuccess(FailedOrder), OnFailure(FailedOrder));
		});
	CallStep(this, TEXT("failed job"), Failed,
		[FailedOrder, Failed]()
		{
			TarvolineApi::FetchJob(DemoKey, FailedOrder->Record.Id, OnSuccess(Failed), OnFailure(Failed));
		});
	CallStep(this, TEXT("account"), Account,
		[Account]()
		{
			TarvolineApi::FetchAccount(DemoKey, OnSuccess(Account), OnFailure(Account));
		});
	ControlStep(this, TEXT("POST"), TEXT("/_sim/accounts"),
		TEXT("{\"key\": \"tv_demo_key\", \"email\": \"demo@tarvoline.test\", \"credits\": 1}"));
	CallStep(this, TEXT("generate without credits"), Poor,
		[Uploaded, Poor]()
		{
			TarvolineApi::Generate(DemoKey, TEXT("a fox jumps"), Uploaded->Record.Id, OnSuccess(Poor), OnFailure(Poor));
		});
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/downloads/"));

	FinallyStep(
		[this, Model, SavePath, Uploaded, Rigged, Listed, Planned, Ordered, Finished, Downloaded, FailedOrder, Failed, Poor, Account,
			Recorded]()
		{
			TestSucceeded(this, TEXT("upload"), *Uploaded);
			TestText(this, TEXT("uploaded name"), Uploaded->Record.Filename, TEXT("quadruped_mesh.fbx"));
			TestTrue(TEXT("uploaded is rigging"), Uploaded->Record.IsRigging() && !Uploaded->Record.Id.IsEmpty());
			TestSucceeded(this, TEXT("rig"), *Rigged);
			TestText(this, TEXT("rigged"), Rigged->Record.Status, TEXT("ready"));
			TestText(this, TEXT("family"), Rigged->Record.Family, TEXT("quadruped"));
			TestSucceeded(this, TEXT("list"), *Listed);
			TestTrue(TEXT("listed"), Listed->Record.Num() == 1 && Listed->Record[0].Id == Uploaded->Record.Id);

			TestSucceeded(this, TEXT("plan"), *Planned);
			TestTrue(TEXT("price"), Planned->Record.Cost == 3 && Planned->Record.Balance == 1000 && Planned->Record.Affordable);
			TestTrue(TEXT("planned segments"), Planned->Record.Segments == TArray<FString>{TEXT("jump 1.4 s")});
			TestTrue(TEXT("notes"), Planned->Record.Notes.Num() > 0);

			TestSucceeded(this, TEXT("generate"), *Ordered);
			TestTrue(TEXT("new job is active"), Ordered->Record.IsActive() && !Ordered->Record.Id.IsEmpty());
			TestText(this, TEXT("job's character"), Ordered->Record.AssetId, Uploaded->Record.Id);
			TestText(this, TEXT("job's prompt"), Ordered->Record.Prompt, TEXT("a fox jumps"));
			TestSucceeded(this, TEXT("job"), *Finished);
			TestText(this, TEXT("job status"), Finished->Record.Status, TEXT("succeeded"));
			TestTrue(TEXT("fbx output"), Finished->Record.Outputs.Num() == 1 && Finished->Record.Outputs[0].Kind == TEXT("fbx"));
			TestTrue(TEXT("cost and length"), Finished->Record.CreditsCost == 3 && Finished->Record.DurationSeconds > 1.0f);

			TestSucceeded(this, TEXT("download"), *Downloaded);
			TArray<uint8> Served;
			TArray<uint8> Saved;
			FFileHelper::LoadFileToArray(Served, *ModelPath(TEXT("quadruped_anim.fbx")));
			TestTrue(TEXT("downloaded file"), FFileHelper::LoadFileToArray(Saved, *SavePath));
			TestTrue(TEXT("downloaded bytes are the served file"), Saved.Num() > 0 && Saved == Served);
			TestTrue(TEXT("no key on the download"), Recorded->Num() == 1 && (*Recorded)[0].CountHeader(TEXT("Authorization")) == 0);

			TestSucceeded(this, TEXT("failing job"), *Failed);
			TestFalse(TEXT("failed job is not active"), Failed->Record.IsActive());
			TestText(this, TEXT("failed status"), Failed->Record.Status, TEXT("failed"));
			TestText(this, TEXT("failed stage"), Failed->Record.Stage, TEXT("retargeting"));
			TestText(this, TEXT("failed reason"), Failed->Record.Error, TEXT("The motion could not be made."));
			TestTrue(TEXT("refunded"), Failed->Record.CreditsRefunded && Failed->Record.Outputs.Num() == 0);

			TestTrue(TEXT("402 with the service's reason"),
				Poor->Failed() && Poor->Status == 402 && Poor->Message.StartsWith(TEXT("Not enough credits: this motion costs 3")));
			TestSucceeded(this, TEXT("account"), *Account);
			TestEqual(TEXT("charged once, refund returned"), Account->Record.Credits, 997);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientCallsInFlightTest, "Tarvoline.Client.CallsInFlight",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientCallsInFlightTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	// A slow answer and a quick one in flight together: each call gets its own answer, in the order they complete.
	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	FaultStep(this, TEXT("{\"kind\": \"delay\", \"delayMs\": 800, \"path\": \"/v1/assets/slow\"}"));
	const TSharedRef<TArray<FString>> Order = MakeShared<TArray<FString>>();
	const TSharedRef<FCount> Slow = MakeShared<FCount>();
	const TSharedRef<TOutcome<FTarvolineAccount>> Demo = MakeShared<TOutcome<FTarvolineAccount>>();
	const TSharedRef<TOutcome<FTarvolineAccount>> Poor = MakeShared<TOutcome<FTarvolineAccount>>();
	Then(
		[Order, Slow, Demo, Poor]()
		{
			TarvolineApi::FetchCharacter(DemoKey, TEXT("slow"), Counting<FTarvolineCharacter>(Slow),
				[Order, Slow](const FString& Message, int32 Status)
				{
					Order->Add(TEXT("slow"));
					OnFailure(Slow)(Message, Status);
				});
			TarvolineApi::FetchAccount(DemoKey,
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
