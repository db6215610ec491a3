// Automation tests of the service client against the local Tarvoline service: requests and their bodies, the sentence
// of failures, lenient reading of records, downloads, each compared as one line so that a failure shows all at once.

#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "Misc/AutomationTest.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "TarvolineApi.h"
#include "TarvolineService.h"
#include "TarvolineTestHelpers.h"
#include "TarvolineUploadArchive.h"
#include "Templates/UniquePtr.h"

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
#include "HostHttpTesting.h"
#endif

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolineClientTest
{
using namespace TarvolineApi;
using namespace TarvolineTest;

/** A fault to arm (or none) and what the call must then report, as Describe puts it. */
struct FCase
{
	FString Fault;
	FString Expected;
};

const TCHAR* const BrokenLink = TEXT("The download link did not work. Press Check again.");
const TCHAR* const Fox = TEXT("a fox jumps");

/** A fault that answers the next request (whose path PathRegex finds, when given) with Status and exactly Body. */
FString Answer(const FString& Body, int32 Status = 200, const FString& PathRegex = FString())
{
	return AnswerWithFault(TEXT("*"), PathRegex, Status, Body);
}

/** What a call that failed reports, as Describe puts it; without a sentence, the one for any other status. */
FString Failed(int32 Status, const FString& Sentence = FString())
{
	return FString::Printf(TEXT("failed %d: %s"), Status,
		Sentence.IsEmpty()
			? *FString::Printf(TEXT("Tarvoline answered %d. Try again, or write to us if it keeps happening."), Status)
			: *Sentence);
}

TArray<uint8> Utf8(const FString& Text)
{
	const FTCHARToUTF8 Converted(*Text, Text.Len());
	return TArray<uint8>(reinterpret_cast<const uint8*>(Converted.Get()), Converted.Length());
}

/** Bytes as text with escapes, so that two bodies that differ show where. */
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

/** Reads Length bytes of the archive from Offset. */
TArray<uint8> ReadAt(FArchive& Archive, int64 Offset, int32 Length)
{
	TArray<uint8> Out;
	Out.SetNumZeroed(Length);
	Archive.Seek(Offset);
	Archive.Serialize(Out.GetData(), Length);
	return Out;
}

FString Summary(const FNothing&)
{
	return TEXT("done");
}

FString Summary(const FTarvolineAccount& Account)
{
	return FString::Printf(TEXT("'%s' %d credits"), *Account.Email, Account.Credits);
}

FString Summary(const FTarvolineCharacter& Character)
{
	return FString::Printf(TEXT("%s '%s' [%s]%s error '%s' %s"), *Character.Id, *Character.Filename, *Character.Status,
		Character.IsRigging() ? TEXT(" rigging") : TEXT(""), *Character.Error, *Character.Family);
}

FString Summary(const TArray<FTarvolineCharacter>& Characters)
{
	TArray<FString> Lines;
	for (const FTarvolineCharacter& Character : Characters)
	{
		Lines.Add(Summary(Character));
	}
	return FString::Printf(TEXT("%d: %s"), Characters.Num(), *FString::Join(Lines, TEXT(" / ")));
}

FString Summary(const FTarvolinePlan& Plan)
{
	return FString::Printf(TEXT("cost %d, balance %d%s; segments [%s]; notes [%s]"), Plan.Cost, Plan.Balance,
		Plan.Affordable ? TEXT(", affordable") : TEXT(""), *FString::Join(Plan.Segments, TEXT("|")),
		*FString::Join(Plan.Notes, TEXT("|")));
}

/** A job in one line, with the texts and the duration only when they are there. */
FString Summary(const FTarvolineJob& Job)
{
	FString Line = FString::Printf(TEXT("%s [%s]%s, stage '%s' %g"), *Job.Id, *Job.Status,
		Job.IsActive() ? TEXT(" active") : TEXT(""), *Job.Stage, Job.Progress);
	Line += Job.Prompt.IsEmpty() ? FString() : FString::Printf(TEXT(", prompt '%s'"), *Job.Prompt);
	Line += Job.AssetId.IsEmpty() ? FString() : FString::Printf(TEXT(", asset '%s'"), *Job.AssetId);
	Line += Job.Error.IsEmpty() ? FString() : FString::Printf(TEXT(", error '%s'"), *Job.Error);
	Line += Job.FallbackFrom.IsEmpty() ? FString() : FString::Printf(TEXT(", fallback '%s'"), *Job.FallbackFrom);
	Line += Job.DurationSeconds == 0.0f ? FString() : FString::Printf(TEXT(", %g s"), Job.DurationSeconds);
	Line +=
		FString::Printf(TEXT(", %d credits%s"), Job.CreditsCost, Job.CreditsRefunded ? TEXT(" refunded") : TEXT(""));
	for (const FTarvolineJobOutput& Output : Job.Outputs)
	{
		Line += FString::Printf(TEXT(", output %s:%s"), *Output.Kind, *Output.Url);
	}
	return Line;
}

/** A recorded request in one line: method, path and query, the headers the client sets (as often as sent), body. */
FString Summary(const FRecordedRequest& Request)
{
	FString Line = Request.Method + TEXT(" ") + Request.Path;
	Line += Request.Query.IsEmpty() ? FString() : TEXT("?") + Request.Query;
	for (const TCHAR* Name : {TEXT("Authorization"), TEXT("User-Agent"), TEXT("Accept"), TEXT("Content-Type")})
	{
		for (const TPair<FString, FString>& Header : Request.Headers)
		{
			Line += Header.Key.Equals(Name, ESearchCase::IgnoreCase)
						? FString::Printf(TEXT(", %s: %s"), Name, *Header.Value.TrimEnd())
						: FString();
		}
	}
	return Line + TEXT(", body ") + Show(Request.Body);
}

/** What the call reported: the record's summary, the failure's status and sentence, or how often each ran. */
template <typename RecordType>
FString Describe(const TOutcome<RecordType>& Outcome)
{
	return Outcome.Succeeded() ? Summary(Outcome.Record)
		   : Outcome.Failed()
			   ? Failed(Outcome.Status, Outcome.Message)
			   : FString::Printf(TEXT("%d successes and %d failures"), Outcome.Successes, Outcome.Failures);
}

/** Enqueues the call once under each case's fault; the returned check compares what each call reported. */
template <typename RecordType>
TFunction<void()> ExpectEachStep(
	FAutomationTestBase* Test, const FString& What, TCall<RecordType> Call, const TArray<FCase>& Cases)
{
	TArray<TSharedRef<TOutcome<RecordType>>> Outcomes;
	for (const FCase& Case : Cases)
	{
		Outcomes.Add(CallStep<RecordType>(Test, What + TEXT(" ") + Case.Fault, Call, Case.Fault));
	}
	return [Test, What, Cases, Outcomes]()
	{
		for (int32 Index = 0; Index < Cases.Num(); ++Index)
		{
			Test->TestEqual(FString::Printf(TEXT("%s, case %d"), *What, Index + 1), *Describe(*Outcomes[Index]),
				*Cases[Index].Expected);
		}
	};
}

/** Enqueues a wait long enough for a second callback to show, then the checks. */
void FinallyStep(const TArray<TFunction<void()>>& Checks)
{
	Idle(0.3);
	Then(
		[Checks]()
		{
			for (const TFunction<void()>& Check : Checks)
			{
				Check();
			}
		});
}

/** An argument as a call is made: text as given, or the id an earlier call's record has brought by then. */
FString ArgNow(const FString& Text)
{
	return Text;
}

template <typename RecordType>
FString ArgNow(const TSharedRef<TOutcome<RecordType>>& Earlier)
{
	return Earlier->Record.Id;
}

/** A call of a client operation with the demo key and Args (identifiers, prompt or file; see ArgNow). */
template <typename RecordType, typename OperationType, typename... ArgTypes>
TCall<RecordType> ApiCall(OperationType Operation, ArgTypes... Args)
{
	return [Operation, Args...](const TSharedRef<TOutcome<RecordType>>& Outcome)
	{
		Operation(DemoKey, ArgNow(Args)..., OnSuccess(Outcome), OnFailure(Outcome));
	};
}
} // namespace TarvolineClientTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientRequestsTest, "Tarvoline.Client.Requests",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientRequestsTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	// TARVOLINE_API is read at each request: unset (an empty value unsets) means the live service, an https host with
	// no path of its own; one trailing slash goes, not two. An empty key still makes the header.
	TArray<FString> Urls;
	for (const TCHAR* BaseUrl : {TEXT(""), TEXT("http://127.0.0.1:9/"), TEXT("http://127.0.0.1:9//")})
	{
		WithApiUrl(BaseUrl,
			[&Urls]()
			{
				const TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Request =
					MakeRequest(TEXT("GET"), TEXT("/v1/x"), TEXT(""));
				Urls.Add(FString::Printf(TEXT("%s '%s' %g s"), *Request->GetURL(),
					*Request->GetHeader(TEXT("Authorization")), Request->GetTimeout().Get(0.0f)));
			});
	}
	TestEqual(TEXT("URLs and time limits"), *FString::Join(Urls, TEXT(", ")),
		*FString::Printf(TEXT("%s/v1/x 'Bearer ' 900 s, http://127.0.0.1:9/v1/x 'Bearer ' 900 s, "
							  "http://127.0.0.1:9//v1/x 'Bearer ' 900 s"),
			DefaultApiBaseUrl));
	const FString LiveHost = DefaultApiBaseUrl;
	TestTrue(TEXT("live service is an https host"), LiveHost.StartsWith(TEXT("https://"), ESearchCase::CaseSensitive) &&
														!LiveHost.RightChop(8).Contains(TEXT("/")));

	// On the wire: the headers exactly, the key as given, identifiers joined as plain text, JSON bodies with CR LF and
	// the prompt unchanged in UTF-8, model files unchanged between a new boundary's lines. The local service refuses
	// most of these; the fault matrix checks the answers.
	const FString Dir = MakeScratchDir(TEXT("TarvolineClientTests"));
	SimResetStep(this);
	CallStep(this, TEXT("account"), ApiCall<FTarvolineAccount>(&FetchAccount));
	CallStep(this, TEXT("query"), ApiCall<FTarvolineJob>(&FetchJob, TEXT("abc?probe=1")));
	CallStep(this, TEXT("escaped"), ApiCall<FTarvolineCharacter>(&FetchCharacter, TEXT("a%2Fb")));
	CallStep(this, TEXT("plan"), ApiCall<FTarvolinePlan>(&PlanMotion, Fox, TEXT("c9")));
	CallStep(this, TEXT("generate"), ApiCall<FTarvolineJob>(&Generate, Fox, TEXT("c9")));
	const FString Odd = TEXT(" F\u00fcchsin \"springt\" \\ hoch\n");
	CallStep(this, TEXT("quoted"), ApiCall<FTarvolinePlan>(&PlanMotion, Odd, TEXT("c 9")));
	CallStep(this, TEXT("empty prompt"), ApiCall<FTarvolinePlan>(&PlanMotion, TEXT(""), TEXT("")));
	// Every byte value, and lines that look like a boundary.
	TArray<uint8> Binary;
	for (int32 Index = 0; Index < 600; ++Index)
	{
		Binary.Add(uint8(Index % 256));
	}
	Binary.Append(Utf8(TEXT("\r\n------tarvoline0123\r\n--\r\n")));
	const TArray<FString> Names = {
		TEXT("fox.fbx"), TEXT("empty.glb"), TEXT("F\u00fcchsin \u72d0.fbx"), TEXT("say \"hi\".fbx")};
	const TArray<TArray<uint8>> Contents = {Binary, TArray<uint8>(), Utf8(TEXT("glTF")), Utf8(TEXT("quoted"))};
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		TestTrue(TEXT("test file written"), FFileHelper::SaveArrayToFile(Contents[Index], *(Dir / Names[Index])));
		CallStep(this, Names[Index], ApiCall<FTarvolineCharacter>(&UploadModel, Dir / Names[Index]));
	}
	// A missing file fails before the call returns, naming only the file; nothing is sent.
	const FString Missed = Failed(0, TEXT("Could not read absent fox.fbx."));
	const TSharedRef<TOutcome<FTarvolineCharacter>> Missing = MakeShared<TOutcome<FTarvolineCharacter>>();
	Then(
		[this, Missing, Dir, Missed]()
		{
			ApiCall<FTarvolineCharacter>(&UploadModel, Dir / TEXT("Models") / TEXT("absent fox.fbx"))(Missing);
			TestEqual(TEXT("missing file reported at once"), *Describe(*Missing), *Missed);
		});
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/"));
	FinallyStep({[this, Names, Contents, Missing, Missed, Recorded]()
		{
			TestEqual(TEXT("missing file reported once"), *Describe(*Missing), *Missed);
			const FString Headers = FString::Printf(
				TEXT(", Authorization: Bearer %s, User-Agent: tarvoline-unreal/0.1.0, Accept: application/json"),
				DemoKey);
			const FString Get = Headers + TEXT(", body ");
			// A prompt (as JSON text) and a character, then any more members, one per line, CR LF and a tab a level.
			const auto Post = [Headers](
								  const TCHAR* Path, const FString& Prompt, const TCHAR* AssetId, const TCHAR* More)
			{
				return FString(TEXT("POST ")) + Path + Headers + TEXT(", Content-Type: application/json, body ") +
					   Show(Utf8(FString::Printf(TEXT("{\r\n\t\"prompt\": \"%s\",\r\n\t\"assetId\": \"%s\"%s\r\n}"),
						   *Prompt, AssetId, More)));
			};
			TArray<FString> Expected = {TEXT("GET /v1/auth/me") + Get, TEXT("GET /v1/jobs/abc?probe=1") + Get,
				TEXT("GET /v1/assets/a%2Fb") + Get, Post(TEXT("/v1/plan"), Fox, TEXT("c9"), TEXT("")),
				Post(TEXT("/v1/generate"), Fox, TEXT("c9"), TEXT(",\r\n\t\"formats\": [\r\n\t\t\"fbx\"\r\n\t]")),
				Post(TEXT("/v1/plan"), TEXT(" F\u00fcchsin \\\"springt\\\" \\\\ hoch\\n"), TEXT("c 9"), TEXT("")),
				Post(TEXT("/v1/plan"), TEXT(""), TEXT(""), TEXT(""))};
			TSet<FString> Boundaries;
			const FString Multipart = TEXT("multipart/form-data; boundary=");
			const FString Prefix = TEXT("----tarvoline");
			for (int32 Index = 0; Index < Names.Num() && Recorded->IsValidIndex(Expected.Num()); ++Index)
			{
				// The prefix and a new GUID's 32 upper-case hexadecimal digits: any other boundary differs from this.
				const FString ContentType = (*Recorded)[Expected.Num()].Header(TEXT("Content-Type"));
				FGuid Guid;
				FGuid::ParseExact(ContentType.RightChop(Multipart.Len() + Prefix.Len()), EGuidFormats::Digits, Guid);
				const FString Boundary = Prefix + Guid.ToString(EGuidFormats::Digits);
				Boundaries.Add(Boundary);
				// The name goes out as raw UTF-8, with no escaping of its own.
				TArray<uint8> Body = Utf8(TEXT("--") + Boundary +
										  TEXT("\r\nContent-Disposition: form-data; name=\"file\"; filename=\"") +
										  Names[Index] + TEXT("\"\r\nContent-Type: application/octet-stream\r\n\r\n"));
				Body.Append(Contents[Index]);
				Body.Append(Utf8(TEXT("\r\n--") + Boundary + TEXT("--\r\n")));
				Expected.Add(TEXT("POST /v1/assets") + Headers + TEXT(", Content-Type: ") + Multipart + Boundary +
							 TEXT(", body ") + Show(Body));
			}
			TArray<FString> Sent;
			for (const FRecordedRequest& Request : *Recorded)
			{
				Sent.Add(Summary(Request));
			}
			TestEqual(TEXT("requests sent"), *FString::Join(Sent, TEXT("\n")), *FString::Join(Expected, TEXT("\n")));
			TestEqual(TEXT("a new boundary for each upload"), Boundaries.Num(), Names.Num());
		}});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientAnswersTest, "Tarvoline.Client.Answers",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientAnswersTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	// Failures the fault matrix leaves out: details that are empty or not text, statuses and bodies the service never
	// sends, 2xx answers that are not quite documents; calls in flight together.
	const TCHAR* const Site = TarvolineApi::TarvolineSiteHost;
	const FString KeyRefused =
		Failed(401, FString::Printf(TEXT("That API key was not accepted. Make a new one at %s/account."), Site));
	const FString Unreadable = TEXT("Tarvoline sent an answer we could not read.");
	const TArray<FCase> Accounts = {
		{TEXT("{\"kind\": \"status\", \"status\": 401, \"detail\": \"\"}"), KeyRefused},
		{TEXT("{\"kind\": \"html\", \"status\": 401}"), KeyRefused},
		{Answer(TEXT("[{\"detail\": \"In a list.\"}]"), 402),
			Failed(402, FString::Printf(TEXT("Not enough credits for that. Top up at %s/credits."), Site))},
		{TEXT("{\"kind\": \"status\", \"status\": 422, \"detail\": [{\"loc\": [\"body\"], \"msg\": \"x\"}]}"),
			Failed(422)},
		{TEXT("{\"kind\": \"status\", \"status\": 404, \"detail\": {\"msg\": \"Not here.\"}}"), Failed(404)},
		{TEXT("{\"kind\": \"status\", \"status\": 300}"), Failed(300)},
		{TEXT("{\"kind\": \"empty\", \"status\": 204}"), Failed(204, Unreadable)},
		{Answer(TEXT("{\"email\": \"a@b.test\"} trailing"), 201), Failed(201, Unreadable)},
		// Records: any 2xx document (an array too), text as sent, numbers truncated toward zero, mistyped members as
		// their defaults, an empty family as humanoid.
		{Answer(TEXT("{\"email\": \"Ann@Example.TEST \", \"credits\": 12.9, \"extra\": [1]}"), 201),
			TEXT("'Ann@Example.TEST ' 12 credits")},
		{Answer(TEXT("[]"), 299), TEXT("'' 0 credits")},
		{Answer(TEXT("{\"credits\": -7.9}")), TEXT("'' -7 credits")},
		{Answer(TEXT("{\"email\": {\"a\": 1}, \"credits\": \"many\"}")), TEXT("'' 0 credits")},
	};
	// Every element of a top-level array becomes a record, in order; a list inside an object is not read.
	const TArray<FCase> Lists = {
		{Answer(TEXT("[]")), TEXT("0: ")},
		{Answer(TEXT("{\"items\": [{\"id\": \"a1\"}]}")), TEXT("0: ")},
		{Answer(TEXT("[{\"id\": \"a1\", \"filename\": \"Fox \\\"2\\\".fbx\", \"status\": \"READY\", \"family\": "
					 "\"quadruped\"}, 7, {\"id\": \"a3\", \"status\": \"Processing\"}, \"x\", {\"id\": \"a5\", "
					 "\"family\": \"\", \"error\": \"No mesh.\"}]")),
			TEXT("5: a1 'Fox \"2\".fbx' [READY] error '' quadruped /  '' [] error '' humanoid / a3 '' [Processing] "
				 "rigging error '' humanoid /  '' [] error '' humanoid / a5 '' [] error 'No mesh.' humanoid")},
	};
	const TArray<FCase> Characters = {
		{Answer(TEXT("{\"id\": \"c1\", \"status\": \"pending\", \"family\": \"bird\", \"sizeBytes\": 12}")),
			TEXT("c1 '' [pending] rigging error '' bird")},
		{Answer(TEXT("{\"id\": [\"c1\"], \"status\": {\"s\": 1}, \"filename\": null, \"error\": \"Not a model.\", "
					 "\"family\": {}}")),
			TEXT(" '' [] error 'Not a model.' humanoid")},
	};
	// Segment labels drop the family's own prefix ("quad_") and underscores, with seconds to one place.
	const TArray<FCase> Plans = {
		{Answer(TEXT("{\"cost\": 4.9, \"balance\": 999.99, \"affordable\": true, \"fallback\": false, \"script\": "
					 "{\"segments\": [{\"primitive\": \"quad_trot_forward\", \"seconds\": 2.26}, {\"primitive\": "
					 "\"QUAD_walk\", \"seconds\": 3}, {\"primitive\": \"jump_quad_spin\"}, 7, {\"primitive\": "
					 "\"quad_quad_sit\", \"seconds\": 0.04, \"extra\": 1}, {\"primitive\": \"Quad_\", \"seconds\": "
					 "12.96}, {\"seconds\": 1}]}, \"notes\": [\"Planned for a quadruped.\", \"Left out: fly.\"]}")),
			TEXT("cost 4, balance 999, affordable; segments [trot forward 2.3 s|walk 3.0 s|jump quad spin 0.0 s| 0.0 "
				 "s|quad sit 0.0 s| 13.0 s| 1.0 s]; notes [Planned for a quadruped.|Left out: fly.]")},
		{Answer(TEXT("{\"script\": {\"segments\": \"walk\"}, \"notes\": \"none\", \"affordable\": []}")),
			TEXT("cost 0, balance 0; segments []; notes []")},
		{Answer(TEXT("{\"segments\": [{\"primitive\": \"walk\", \"seconds\": 1}], \"script\": [1], \"cost\": -3.9}")),
			TEXT("cost -3, balance 0; segments []; notes []")},
	};
	const FCase Running = {Answer(TEXT("{\"id\": \"j1\", \"status\": \"RUNNING\", \"stage\": \"Retargeting\", "
									   "\"progress\": 0.625, \"prompt\": \"a fox jumps\", \"assetId\": \"c9\"}")),
		TEXT("j1 [RUNNING] active, stage 'Retargeting' 0.625, prompt 'a fox jumps', asset 'c9', 0 credits")};
	const TArray<FCase> Jobs = {
		Running,
		{Answer(TEXT("{\"status\": \"Queued\", \"progress\": 1.5}")),
			TEXT(" [Queued] active, stage '' 1.5, 0 credits")},
		{Answer(TEXT("{\"id\": \"j2\", \"status\": \"succeeded\", \"stage\": \"done\", \"durationSeconds\": 4.5, "
					 "\"creditsCost\": 8, \"creditsRefunded\": false, \"fallbackFrom\": \"motion_model\", \"outputs\": "
					 "[{\"kind\": \"fbx\", \"url\": \"http://127.0.0.1:1/downloads/j2/motion.fbx?expires=1&token=A\", "
					 "\"size\": 3}]}")),
			TEXT("j2 [succeeded], stage 'done' 0, fallback 'motion_model', 4.5 s, 8 credits, output "
				 "fbx:http://127.0.0.1:1/downloads/j2/motion.fbx?expires=1&token=A")},
		{Answer(TEXT("{\"status\": \"failed\", \"error\": \"\", \"creditsRefunded\": true, \"creditsCost\": 8.9}")),
			TEXT(" [failed], stage '' 0, 8 credits refunded")},
		{Answer(TEXT("{\"status\": \"succeeded\", \"outputs\": \"fbx\"}")),
			TEXT(" [succeeded], stage '' 0, 0 credits")},
		{Answer(TEXT("{\"outputs\": [\"fbx\", {\"kind\": \"glb\"}, {\"url\": \"u\"}], \"creditsRefunded\": [true], "
					 "\"progress\": \"x\"}")),
			TEXT(" [], stage '' 0, 0 credits, output :, output glb:, output :u")},
	};
	SimResetStep(this);
	// A slow answer and quick ones in flight together: each call gets its own answer, in the order they complete.
	FaultStep(this, DelayFault(TEXT("GET"), TEXT("^/v1/assets/slow$"), 800));
	const TSharedRef<TOutcome<FTarvolineCharacter>> Slow = MakeShared<TOutcome<FTarvolineCharacter>>();
	const TSharedRef<TOutcome<FTarvolineAccount>> Demo = MakeShared<TOutcome<FTarvolineAccount>>();
	const TSharedRef<TOutcome<FTarvolineAccount>> Poor = MakeShared<TOutcome<FTarvolineAccount>>();
	Then(
		[Slow, Demo, Poor]()
		{
			FetchCharacter(DemoKey, TEXT("slow"), OnSuccess(Slow), OnFailure(Slow));
			FetchAccount(DemoKey, OnSuccess(Demo), OnFailure(Demo));
			FetchAccount(PoorKey, OnSuccess(Poor), OnFailure(Poor));
		});
	// What the slow call had reported when both quick ones were in.
	const TSharedRef<FString> SlowMeanwhile = MakeShared<FString>();
	WaitUntil(this, TEXT("the answers in flight"),
		[Slow, Demo, Poor, SlowMeanwhile]()
		{
			const bool bQuickIn = SlowMeanwhile->IsEmpty() && Demo->IsDone() && Poor->IsDone();
			*SlowMeanwhile = bQuickIn ? TEXT("slow ") + Describe(*Slow) : *SlowMeanwhile;
			return Slow->IsDone() && !SlowMeanwhile->IsEmpty();
		});
	// Nothing listens on port 1: a refused connection, the commonest failure of all, gets the unreachable sentence.
	const auto Refused = CallStep<FTarvolineAccount>(this, TEXT("refused connection"),
		[](const TSharedRef<TOutcome<FTarvolineAccount>>& Outcome)
		{
			WithApiUrl(TEXT("http://127.0.0.1:1"),
				[Outcome]()
				{
					FetchAccount(DemoKey, OnSuccess(Outcome), OnFailure(Outcome));
				});
		});
	const FString Unreachable =
		Failed(0, FString::Printf(TEXT("Could not reach %s. Check the internet connection and try again."), Site));
	// Generate reads its answer with the job reader.
	FinallyStep({[this, Refused, Unreachable, Slow, Demo, Poor, SlowMeanwhile]()
		{
			TestEqual(TEXT("refused connection"), *Describe(*Refused), *Unreachable);
			TestEqual(TEXT("each call in flight its own answer, the slow one last"),
				*FString::Printf(TEXT("%s; %s; %s, then %d"), *Describe(*Demo), *Describe(*Poor), **SlowMeanwhile,
					Slow->Failed() ? Slow->Status : -1),
				TEXT("'demo@tarvoline.test' 1000 credits; 'poor@tarvoline.test' 1 credits; slow 0 successes and 0 "
					 "failures, then 404"));
		},
		ExpectEachStep(this, TEXT("account"), ApiCall<FTarvolineAccount>(&FetchAccount), Accounts),
		ExpectEachStep(this, TEXT("list"), ApiCall<TArray<FTarvolineCharacter>>(&ListCharacters), Lists),
		ExpectEachStep(this, TEXT("character"), ApiCall<FTarvolineCharacter>(&FetchCharacter, TEXT("c9")), Characters),
		ExpectEachStep(this, TEXT("plan"), ApiCall<FTarvolinePlan>(&PlanMotion, Fox, TEXT("c9")), Plans),
		ExpectEachStep(this, TEXT("job"), ApiCall<FTarvolineJob>(&FetchJob, TEXT("j9")), Jobs),
		ExpectEachStep(this, TEXT("generate"), ApiCall<FTarvolineJob>(&Generate, Fox, TEXT("c9")), {Running})});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientModelToDownloadTest, "Tarvoline.Client.ModelToDownload",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientModelToDownloadTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	// The whole road against the local service, its work finishing at the first look, to the job's file; then downloads
	// that must not make one (the fault matrix covers the rest; the check commandlet's end-to-end tests the same road).
	const FString Dir = MakeScratchDir(TEXT("TarvolineClientTests"));
	SimResetStep(this);
	SimTimeScaleStep(this, 0.0);
	const auto Uploaded = CallStep(
		this, TEXT("upload"), ApiCall<FTarvolineCharacter>(&UploadModel, TestModelFile(TEXT("quadruped_mesh.fbx"))));
	// The service finishes the rig when it is looked at.
	CallStep(this, TEXT("rig"), ApiCall<FTarvolineCharacter>(&FetchCharacter, Uploaded));
	const auto Planned = CallStep(this, TEXT("plan"), ApiCall<FTarvolinePlan>(&PlanMotion, Fox, Uploaded));
	const auto Ordering = CallStep(this, TEXT("generate"), ApiCall<FTarvolineJob>(&Generate, Fox, Uploaded));
	const auto Finished = CallStep(this, TEXT("job"), ApiCall<FTarvolineJob>(&FetchJob, Ordering));

	const FString Fresh = Dir / TEXT("New Folder") / TEXT("deeper") / TEXT("a_fox_jumps.fbx");
	const FString Unwritable = Dir / TEXT("blocker") / TEXT("sub") / TEXT("a.fbx");
	// A file where a folder should be.
	FFileHelper::SaveStringToFile(TEXT("x"), *(Dir / TEXT("blocker")));
	const FString Downloads = TEXT("^/downloads/");
	struct FDownload : FCase
	{
		FString SavePath;
	};
	// The job's link each time; one refused must leave the file downloaded before as it was.
	const TArray<FDownload> Cases = {
		{{FString(), TEXT("done")}, Fresh},
		{{Answer(TEXT("{\"detail\": \"Link expired.\"}"), 403, Downloads), Failed(403, BrokenLink)}, Fresh},
		{{Answer(TEXT("partial"), 206, Downloads), Failed(206, BrokenLink)}, Fresh},
		{{Answer(TEXT("{}"), 201, Downloads), Failed(201, BrokenLink)}, Fresh},
		{{Answer(TEXT("bytes"), 200, Downloads), Failed(0, TEXT("Could not write ") + Unwritable + TEXT("."))},
			Unwritable},
	};
	TArray<TSharedRef<TOutcome<FNothing>>> Outcomes;
	const TSharedRef<TArray<uint8>> SeenWhenDone = MakeShared<TArray<uint8>>();
	// The time limit each download asked for: a large file on a slow line needs the same 900 s as any request.
	const TSharedRef<TArray<float>> Limits = MakeShared<TArray<float>>();
	for (const FDownload& Case : Cases)
	{
		const TCall<FNothing> Call = [Case, Finished, SeenWhenDone, Limits](
										 const TSharedRef<TOutcome<FNothing>>& Outcome)
		{
			const TArray<FTarvolineJobOutput>& Outputs = Finished->Record.Outputs;
			TarvolineApi::DownloadFile(
				Outputs.Num() > 0 ? Outputs[0].Url : FString(), Case.SavePath,
				[Case, SeenWhenDone, Outcome]()
				{
					FFileHelper::LoadFileToArray(*SeenWhenDone, *Case.SavePath);
					OnDone(Outcome)();
				},
				OnFailure(Outcome));
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			Limits->Add(HostHttpTesting::GetLastStartedTimeout());
#endif
		};
		Outcomes.Add(CallStep(this, TEXT("download ") + Case.Fault, Call, Case.Fault));
	}
	const auto Account = CallStep(this, TEXT("account"), ApiCall<FTarvolineAccount>(&FetchAccount));
	const TSharedRef<TArray<FRecordedRequest>> Recorded = RecordedStep(this, TEXT("/downloads/"));
	FinallyStep({[this, Uploaded, Planned, Ordering, Finished, Account, Cases, Outcomes, Fresh, Recorded, SeenWhenDone,
					 Limits]()
		{
			// What the client read must fit together; the figures themselves are the local service's business.
			const FTarvolinePlan& Plan = Planned->Record;
			const FTarvolineJob& Job = Finished->Record;
			const FTarvolineJob& Ordered = Ordering->Record;
			TestTrue(
				FString::Printf(TEXT("priced, ordered, done with its fbx at that price, charged: %s / %s / %s / %s"),
					*Describe(*Planned), *Describe(*Ordering), *Describe(*Finished), *Describe(*Account)),
				Planned->Succeeded() && Plan.Cost > 0 && Plan.Segments.Num() > 0 && Ordering->Succeeded() &&
					Ordered.IsActive() && Ordered.AssetId == Uploaded->Record.Id &&
					Ordered.Prompt.Equals(Fox, ESearchCase::CaseSensitive) && Finished->Succeeded() &&
					!Job.IsActive() && Job.Outputs.Num() == 1 && Job.Outputs[0].Kind == TEXT("fbx") &&
					Job.CreditsCost == Plan.Cost && Account->Succeeded() &&
					Account->Record.Credits == Plan.Balance - Job.CreditsCost);
			for (const float Limit : *Limits)
			{
				TestEqual(TEXT("download time limit"), Limit, 900.0f);
			}
			// The folders made, the served bytes unchanged, all of them there when OnDone ran: the panel imports the
			// file right there.
			TArray<uint8> Served;
			TArray<uint8> Saved;
			FFileHelper::LoadFileToArray(Served, *TestModelFile(TEXT("quadruped_anim.fbx")));
			FFileHelper::LoadFileToArray(Saved, *Fresh);
			TestTrue(TEXT("the served file, whole when OnDone ran"),
				!Served.IsEmpty() && *SeenWhenDone == Served && Saved == Served);
			// Each a plain GET of the link as given: the key never travels to an output URL, nor any header of ours.
			const FString JobLink =
				Job.Outputs.Num() > 0 ? Job.Outputs[0].Url.RightChop(ServiceUrl().Len()) : FString();
			FString Got = FString::Printf(TEXT("%d downloads"), Recorded->Num());
			FString Expected = FString::Printf(TEXT("%d downloads"), Cases.Num());
			for (int32 Index = 0; Index < Cases.Num(); ++Index)
			{
				const FRecordedRequest Sent = Recorded->IsValidIndex(Index) ? (*Recorded)[Index] : FRecordedRequest();
				// The engine's own User-Agent may go there, never ours.
				const FString Agent = Sent.Header(TEXT("User-Agent")).TrimEnd();
				const FString Engine =
					Agent.IsEmpty() || Agent.Contains(TEXT("tarvoline")) ? FString() : TEXT(", User-Agent: ") + Agent;
				Got += FString::Printf(TEXT("\n%s after %s"), *Describe(*Outcomes[Index]), *Summary(Sent));
				Expected +=
					FString::Printf(TEXT("\n%s after GET %s%s, body "), *Cases[Index].Expected, *JobLink, *Engine);
			}
			TestEqual(TEXT("what each download reported, after which request"), *Got, *Expected);
		}});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineClientUploadArchiveTest, "Tarvoline.Client.UploadArchive",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineClientUploadArchiveTest::RunTest(const FString&)
{
	using namespace TarvolineClientTest;
	// The upload body read in pieces from the model file. A model just past 2 GiB, written as a sparse file (one byte
	// at its very end, so that the disk holds almost nothing): every size and position must be counted in 64 bits.
	const FString Dir = MakeScratchDir(TEXT("TarvolineClientTests"));
	const FString Large = Dir / TEXT("large.glb");
	const int64 LargeSize = (int64(1) << 31) + 4097;
	const TUniquePtr<FArchive> Writer(IFileManager::Get().CreateFileWriter(*Large));
	if (!TestNotNull(TEXT("large file made"), Writer.Get()))
	{
		return false;
	}
	uint8 Last = 'Z';
	Writer->Seek(LargeSize - 1);
	Writer->Serialize(&Last, 1);
	TestTrue(TEXT("large file written"), Writer->Close());
	{
		FTarvolineUploadArchive Body(Large, Utf8(TEXT("head|")), Utf8(TEXT("|tail")));
		// Across the head into the file, across the file's last byte into the closing line, then past the end: an
		// error, never a read out of bounds.
		FString Seen = FString::Printf(TEXT("file + %lld bytes, "), Body.TotalSize() - LargeSize);
		Seen += Show(ReadAt(Body, 2, 5));
		Seen += TEXT(" ") + Show(ReadAt(Body, LargeSize + 3, 4));
		Seen += FString::Printf(
			TEXT(", at file + %lld, %s"), Body.Tell() - LargeSize, Body.IsError() ? TEXT("error") : TEXT("no error"));
		Seen += TEXT(", ") + Show(ReadAt(Body, Body.TotalSize() - 3, 3));
		ReadAt(Body, Body.TotalSize() - 2, 8);
		Seen += Body.IsError() ? TEXT(", past the end error") : TEXT(", past the end no error");
		Seen += Body.Close() ? TEXT(", closed") : TEXT(", close failed");
		TestEqual(TEXT("the body past 2 GiB"), *Seen,
			TEXT("file + 10 bytes, ad|\\x00\\x00 \\x00Z|t, at file + 7, no error, ail, past the end error, close "
				 "failed"));
	}

	// A file that shrank after it was opened: the body it sends is not the model, and the archive says so.
	const FString Shrinking = Dir / TEXT("shrinking.fbx");
	FFileHelper::SaveStringToFile(TEXT("0123456789"), *Shrinking);
	{
		FTarvolineUploadArchive Body(Shrinking, Utf8(TEXT("h")), Utf8(TEXT("t")));
		FFileHelper::SaveStringToFile(TEXT("01"), *Shrinking);
		ReadAt(Body, 0, 12);
		TestTrue(TEXT("the size when opened, a short read an error"), Body.TotalSize() == 12 && Body.IsError());
	}
	// A folder cannot be sent (a missing file: see Tarvoline.Client.Requests).
	TestFalse(TEXT("a folder"), FTarvolineUploadArchive(Dir, {'h'}, {'t'}).IsOpen());
	IFileManager::Get().DeleteDirectory(*Dir, false, true);
	return true;
}

#endif
