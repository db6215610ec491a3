// The fault matrix: every operation of the service client crossed with every way the service can fail it. Each cell
// checks the user's sentence, the status and that one callback ran; a failed download leaves the file on disk as it
// was. Each row logs its table line and count ("FaultMatrix"), which scripts/reliability.sh gathers.

#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "Misc/AutomationTest.h"
#include "Misc/FileHelper.h"
#include "TarvolineApi.h"
#include "TarvolineService.h"
#include "TarvolineTestHelpers.h"

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
#include "HostFilesTesting.h"
#include "HostHttpTesting.h"
#endif

#if WITH_DEV_AUTOMATION_TESTS

DEFINE_LOG_CATEGORY_STATIC(LogTarvolineFaults, Display, All);

namespace TarvolineFaultTest
{
using namespace TarvolineTest;
using TarvolineUiTest::UploadRiggedCharacterStep;

using FCell = TOutcome<FNothing>;

/** One way the service fails a request, and what the user is told by an API call and by a download (empty: success). */
struct FColumn
{
	FString Label;
	FString Fault;
	int32 Status;
	FString ApiSentence;
	FString DownloadSentence;
};

/** A ready character and a finished job (with its download link), and a folder for the cells' files. */
struct FFixture
{
	FString ScratchDir;
	TSharedRef<FString> CharacterId;
	TSharedRef<TOutcome<FTarvolineJob>> Job;

	FString DownloadUrl() const { return Job->Record.Outputs.Num() > 0 ? Job->Record.Outputs[0].Url : FString(); }
};

const TCHAR* const PreviousBytes = TEXT("the download kept from before");

TArray<FColumn> Columns()
{
	const FString Site = TarvolineApi::TarvolineSiteHost;
	const FString Unreachable =
		TEXT("Could not reach ") + Site + TEXT(". Check the internet connection and try again.");
	const FString Unreadable = TEXT("Tarvoline sent an answer we could not read.");
	const FString BrokenLink = TEXT("The download link did not work. Press Check again.");
	const TMap<int32, FString> Sentences = {
		{401, TEXT("That API key was not accepted. Make a new one at ") + Site + TEXT("/account.")},
		{402, TEXT("Not enough credits for that. Top up at ") + Site + TEXT("/credits.")},
		{413, TEXT("That file is too large to upload.")},
		{429, TEXT("Too many requests for a moment. Try again in a minute.")},
	};
	// Any other status is reported with its number.
	const FString Other = TEXT("Tarvoline answered %d. Try again, or write to us if it keeps happening.");
	const auto SentenceFor = [&Sentences, &Other](int32 Status)
	{
		return Sentences.Contains(Status) ? Sentences[Status] : Other.Replace(TEXT("%d"), *FString::FromInt(Status));
	};
	TArray<FColumn> Result = {{TEXT("none"), TEXT("[]"), 0, FString(), FString()}};
	for (const int32 Status : {401, 402, 404, 413, 422, 429, 500, 503})
	{
		const FString Detail = FString::Printf(TEXT("The service's own words for %d."), Status);
		const FString Fault = FString::Printf(TEXT("{\"kind\": \"status\", \"status\": %d"), Status);
		Result.Add({FString::Printf(TEXT("%dd"), Status), Fault + TEXT(", \"detail\": \"") + Detail + TEXT("\"}"),
			Status, Detail, BrokenLink});
		Result.Add({FString::FromInt(Status), Fault + TEXT("}"), Status, SentenceFor(Status), BrokenLink});
	}
	Result.Add({TEXT("html"), TEXT("{\"kind\": \"html\", \"status\": 502}"), 502, SentenceFor(502), BrokenLink});
	// An output file is not read as JSON: whatever a 200 brings is the file.
	Result.Add({TEXT("empty"), TEXT("{\"kind\": \"empty\"}"), 200, Unreadable, FString()});
	Result.Add({TEXT("value"), TEXT("{\"kind\": \"number\"}"), 200, Unreadable, FString()});
	Result.Add({TEXT("malf"), TEXT("{\"kind\": \"malformed\"}"), 200, Unreadable, FString()});
	Result.Add({TEXT("trunc"), TEXT("{\"kind\": \"truncated\"}"), 200, Unreadable, FString()});
	// Every request until disarmed: libcurl sends a read again on another connection when a pooled one closes.
	Result.Add({TEXT("drop"), TEXT("{\"kind\": \"drop\", \"count\": -1}"), 0, Unreachable, BrokenLink});
	// Carried out by the service, then the connection closes without an answer, or half way through it.
	Result.Add({TEXT("lost"), TEXT("{\"kind\": \"dropAfter\", \"count\": -1}"), 0, Unreachable, BrokenLink});
	Result.Add({TEXT("cut"), TEXT("{\"kind\": \"cut\", \"count\": -1}"), 0, Unreachable, BrokenLink});
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	// An editor offers no way to shorten the client's 900-second limit from outside.
	Result.Add({TEXT("slow"), TEXT("{\"kind\": \"slow\", \"bytesPerSecond\": 10}"), 0, Unreachable, BrokenLink});
#endif
	return Result;
}

/** What a save path holds after a download: the file from before, another one or none, and any temporary file. */
FString FileState(const FString& SavePath)
{
	FString OnDisk;
	const bool bRead = FFileHelper::LoadFileToString(OnDisk, *SavePath);
	const bool bKept = bRead && OnDisk.Equals(PreviousBytes, ESearchCase::CaseSensitive);
	const FString State = bKept ? TEXT("kept") : bRead ? TEXT("replaced") : TEXT("missing");
	const bool bTemporary = IFileManager::Get().FileExists(*TarvolineApi::MakeDownloadTempPath(SavePath));
	return bTemporary ? State + TEXT(", a temporary file left") : State;
}

/** One line for what a call reported and what its save path holds (empty: not a download), compared whole. */
FString Describe(int32 Successes, int32 Failures, int32 Status, const FString& Message, const FString& File)
{
	const FString Failure = Failures > 0 ? FString::Printf(TEXT(": %d \"%s\""), Status, *Message) : FString();
	const FString Disk = File.IsEmpty() ? FString() : TEXT(", file ") + File;
	return FString::Printf(TEXT("%d ok, %d failed%s%s"), Successes, Failures, *Failure, *Disk);
}

/** Enqueues making a ready character and a finished job through the client itself (the service finishes work at
 *  once), so that every cell asks about things the service has and a truncated or slow answer is a real one. */
TSharedRef<FFixture> FixtureSteps(FAutomationTestBase* Test)
{
	SimResetStep(Test);
	SimTimeScaleStep(Test, 0.0);
	const TSharedRef<FString> CharacterId =
		UploadRiggedCharacterStep(Test, DemoKey, TestModelFile(TEXT("humanoid_mesh.fbx")));
	const TSharedRef<TOutcome<FTarvolineJob>> Job = CallStep<FTarvolineJob>(Test, TEXT("the fixture's job"),
		[CharacterId](const TSharedRef<TOutcome<FTarvolineJob>>& Outcome)
		{
			TarvolineApi::Generate(
				DemoKey, TEXT("a person walks forward and waves"), *CharacterId,
				[Outcome](const FTarvolineJob& Made)
				{
					TarvolineApi::FetchJob(DemoKey, Made.Id, OnSuccess(Outcome), OnFailure(Outcome));
				},
				OnFailure(Outcome));
		});
	return MakeShared<FFixture>(FFixture{MakeScratchDir(TEXT("FaultMatrix")), CharacterId, Job});
}

/** Starts one call of Operation about the fixture's character and job. */
void StartCall(
	const FString& Operation, const FFixture& Fixture, const FString& SavePath, const TSharedRef<FCell>& Cell)
{
	const TarvolineApi::FOnError OnError = OnFailure(Cell);
	// Any record will do: the matrix judges failures, not records.
	const auto Ok = [Cell](const auto&...)
	{
		++Cell->Successes;
	};
	if (Operation == TEXT("FetchAccount"))
	{
		TarvolineApi::FetchAccount(DemoKey, Ok, OnError);
	}
	else if (Operation == TEXT("ListCharacters"))
	{
		TarvolineApi::ListCharacters(DemoKey, Ok, OnError);
	}
	else if (Operation == TEXT("FetchCharacter"))
	{
		TarvolineApi::FetchCharacter(DemoKey, *Fixture.CharacterId, Ok, OnError);
	}
	else if (Operation == TEXT("UploadModel"))
	{
		TarvolineApi::UploadModel(DemoKey, TestModelFile(TEXT("quadruped_mesh.fbx")), Ok, OnError);
	}
	else if (Operation == TEXT("PlanMotion"))
	{
		TarvolineApi::PlanMotion(DemoKey, TEXT("a person waves"), *Fixture.CharacterId, Ok, OnError);
	}
	else if (Operation == TEXT("Generate"))
	{
		TarvolineApi::Generate(DemoKey, TEXT("a person waves"), *Fixture.CharacterId, Ok, OnError);
	}
	else if (Operation == TEXT("FetchJob"))
	{
		TarvolineApi::FetchJob(DemoKey, Fixture.Job->Record.Id, Ok, OnError);
	}
	else
	{
		TarvolineApi::DownloadFile(Fixture.DownloadUrl(), SavePath, Ok, OnError);
	}
}

/** Enqueues the whole row of one operation (each cell: arm the fault, call, wait, disarm), the checks and its log. */
bool RunRow(FAutomationTestBase* Test, const FString& Operation)
{
	const bool bDownload = Operation == TEXT("DownloadFile");
	const TSharedRef<FFixture> Fixture = FixtureSteps(Test);
	const TArray<FColumn> AllColumns = Columns();
	TArray<TSharedRef<FCell>> Cells;
	for (const FColumn& Column : AllColumns)
	{
		Cells.Add(CallStep<FNothing>(
			Test, Operation + TEXT(" under ") + Column.Label,
			[Operation, Fixture, Column, bDownload](const TSharedRef<FCell>& Cell)
			{
				const FString SavePath = Fixture->ScratchDir / Column.Label + TEXT(".fbx");
				if (bDownload)
				{
					FFileHelper::SaveStringToFile(PreviousBytes, *SavePath);
				}
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
				// The slow column's calls get half a second in place of their 900.
				HostHttpTesting::SetTimeoutCeiling(Column.Label == TEXT("slow") ? 0.5f : 0.0f);
#endif
				StartCall(Operation, *Fixture, SavePath, Cell);
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
				HostHttpTesting::SetTimeoutCeiling(0.0f);
#endif
			},
			Column.Fault));
	}
	// Long enough for a second callback of any cell to show.
	Idle(0.3);
	Then(
		[Test, Operation, AllColumns, Cells, Fixture, bDownload]()
		{
			FString Header = FString(TEXT("endpoint")).RightPad(16);
			FString Row = Operation.RightPad(16);
			int32 Held = 0;
			for (int32 Index = 0; Index < AllColumns.Num(); ++Index)
			{
				const FColumn& Column = AllColumns[Index];
				const FCell& Cell = *Cells[Index];
				const FString& Sentence = bDownload ? Column.DownloadSentence : Column.ApiSentence;
				const bool bOk = Sentence.IsEmpty();
				const FString Expected = Describe(bOk ? 1 : 0, bOk ? 0 : 1, Column.Status, Sentence,
					bDownload ? FString(bOk ? TEXT("replaced") : TEXT("kept")) : FString());
				const FString File =
					bDownload ? FileState(Fixture->ScratchDir / Column.Label + TEXT(".fbx")) : FString();
				const bool bHeld = Test->TestEqual(*(Operation + TEXT(" under ") + Column.Label),
					*Describe(Cell.Successes, Cell.Failures, Cell.Status, Cell.Message, File), *Expected);
				Held += bHeld ? 1 : 0;
				Header += Column.Label.RightPad(6);
				Row += FString(bHeld ? TEXT("ok") : TEXT("FAIL")).RightPad(6);
			}
			UE_LOG(LogTarvolineFaults, Display, TEXT("FaultMatrix header %s"), *Header.TrimEnd());
			UE_LOG(LogTarvolineFaults, Display, TEXT("FaultMatrix row    %s"), *Row.TrimEnd());
			UE_LOG(LogTarvolineFaults, Display, TEXT("FaultMatrix count  %s %d of %d cells held"), *Operation, Held,
				Cells.Num());
			IFileManager::Get().DeleteDirectory(*Fixture->ScratchDir, false, true);
		});
	return true;
}
} // namespace TarvolineFaultTest

// One automation test per operation, Tarvoline.Client.FaultMatrix.<Operation>, so that each row runs on its own.
#define TARVOLINE_FAULT_MATRIX_ROW(Operation)                                                                          \
	IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineFaultMatrix##Operation##Test,                                           \
		"Tarvoline.Client.FaultMatrix." #Operation,                                                                    \
		EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)                                     \
	bool FTarvolineFaultMatrix##Operation##Test::RunTest(const FString&)                                               \
	{                                                                                                                  \
		return TarvolineFaultTest::RunRow(this, TEXT(#Operation));                                                     \
	}

TARVOLINE_FAULT_MATRIX_ROW(FetchAccount)
TARVOLINE_FAULT_MATRIX_ROW(ListCharacters)
TARVOLINE_FAULT_MATRIX_ROW(FetchCharacter)
TARVOLINE_FAULT_MATRIX_ROW(UploadModel)
TARVOLINE_FAULT_MATRIX_ROW(PlanMotion)
TARVOLINE_FAULT_MATRIX_ROW(Generate)
TARVOLINE_FAULT_MATRIX_ROW(FetchJob)
TARVOLINE_FAULT_MATRIX_ROW(DownloadFile)
#undef TARVOLINE_FAULT_MATRIX_ROW

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
// Needs the stand-in's small disks: an editor test cannot make a disk full or read-only without platform calls.
IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineDownloadOntoAFullDiskTest,
	"Tarvoline.Client.DownloadOntoAFullOrReadOnlyDisk",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineDownloadOntoAFullDiskTest::RunTest(const FString&)
{
	using namespace TarvolineFaultTest;
	const TSharedRef<FFixture> Fixture = FixtureSteps(this);
	const TArray<FString> Disks = {Fixture->ScratchDir / TEXT("full"), Fixture->ScratchDir / TEXT("readonly")};
	if (!HostFilesTesting::MountSmallDisk(Disks[0], 256) || !HostFilesTesting::MountSmallDisk(Disks[1], 256))
	{
		HostFilesTesting::UnmountSmallDisk(Disks[0]);
		AddInfo(TEXT("Mounting a small disk is not permitted here: nothing to check."));
		return true;
	}
	TArray<TSharedRef<FCell>> Cells;
	for (const FString& Disk : Disks)
	{
		FFileHelper::SaveStringToFile(PreviousBytes, *(Disk / TEXT("motion.fbx")));
		Cells.Add(CallStep<FNothing>(this, TEXT("the download onto ") + Disk,
			[Fixture, Disk](const TSharedRef<FCell>& Cell)
			{
				TarvolineApi::DownloadFile(
					Fixture->DownloadUrl(), Disk / TEXT("motion.fbx"), OnDone(Cell), OnFailure(Cell));
			}));
	}
	// The downloads run once this returns, after the earlier files are in place and the disks are full or read-only.
	HostFilesTesting::FillDisk(Disks[0]);
	TestTrue(TEXT("made read-only"), HostFilesTesting::MakeDiskReadOnly(Disks[1]));
	Idle(0.3);
	Then(
		[this, Cells, Disks, Fixture]()
		{
			for (int32 Index = 0; Index < Disks.Num(); ++Index)
			{
				const FString Path = Disks[Index] / TEXT("motion.fbx");
				const FCell& Cell = *Cells[Index];
				TestEqual(*Path, *Describe(Cell.Successes, Cell.Failures, Cell.Status, Cell.Message, FileState(Path)),
					*Describe(0, 1, 0, FString::Printf(TEXT("Could not write %s."), *Path), TEXT("kept")));
				HostFilesTesting::UnmountSmallDisk(Disks[Index]);
			}
			IFileManager::Get().DeleteDirectory(*Fixture->ScratchDir, false, true);
		});
	return true;
}

// Needs the stand-in's killed writer: an editor test cannot kill a process of its own in the middle of a write.
IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineDownloadKilledMidWriteTest,
	"Tarvoline.Client.DownloadKilledMidWriteKeepsTheEarlierFile",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineDownloadKilledMidWriteTest::RunTest(const FString&)
{
	// The engine writes files in place, so an editor killed while a download is written would leave a torn file if
	// the client wrote to the save path; it must only ever find the earlier file or a new one, whole.
	const FString Dir = TarvolineTest::MakeScratchDir(TEXT("KilledDownload"));
	const FString SavePath = Dir / TEXT("walks_3f9a2c71.fbx");
	const FString TempPath = TarvolineApi::MakeDownloadTempPath(SavePath);
	TArray<TArray<uint8>> Downloads;
	for (const uint8 Byte : {'A', 'B', 'C', 'D'})
	{
		Downloads.AddDefaulted_GetRef().Init(Byte, 32 * 1024 * 1024);
	}
	// Which download the save path and the temporary file hold whole: "A0" is the earlier one alone, '-' a torn file.
	const auto Found = [&Downloads, &SavePath, &TempPath]()
	{
		FString State;
		for (const FString& Path : {SavePath, TempPath})
		{
			TArray<uint8> Bytes;
			const bool bRead = FFileHelper::LoadFileToArray(Bytes, *Path, FILEREAD_Silent);
			const TArray<uint8>* Whole = Downloads.FindByKey(Bytes);
			State.AppendChar(!bRead ? TEXT('0') : Whole != nullptr ? (TCHAR)(*Whole)[0] : TEXT('-'));
		}
		return State;
	};
	const auto Write = [&Downloads, &SavePath](int32 Round)
	{
		TarvolineApi::SaveDownload(Downloads[1 + Round % 2], SavePath);
	};
	for (const int32 DelayMs : {0, 1, 2, 3, 5, 7, 10, 15, 22, 30, 45, 60})
	{
		// Each kill starts from the earlier download alone, as an editor restarted after a kill would find it.
		TarvolineApi::SaveDownload(Downloads[0], SavePath);
		TestEqual(TEXT("the earlier download"), *Found(), TEXT("A0"));
		TestTrue(TEXT("the writer was killed"), HostFilesTesting::KillWriterAfter(DelayMs, Write));
		// The engine's move deletes the old file before it renames the new one over it: killed in between, the new
		// download is whole under the temporary name.
		const FString State = Found();
		TestTrue(FString::Printf(TEXT("killed after %d ms: the file is whole (%s)"), DelayMs, *State),
			FCString::Strchr(TEXT("ABC"), State[0]) != nullptr || State == TEXT("0B") || State == TEXT("0C"));
	}
	// A later download completes over whatever a killed one left.
	TestTrue(TEXT("a download after the kills"), TarvolineApi::SaveDownload(Downloads[3], SavePath));
	TestEqual(TEXT("the last download in place, no temporary file"), *Found(), TEXT("D0"));
	IFileManager::Get().DeleteDirectory(*Dir, false, true);
	return true;
}
#endif

#endif
