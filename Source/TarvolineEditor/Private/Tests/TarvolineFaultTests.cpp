// The fault matrix: every operation of the service client crossed with every way the service can fail it (each error
// status with and without its own "detail", an HTML page, an empty or non-document 2xx, malformed and truncated JSON,
// a connection dropped before the work, after it, or half way through the answer, an answer slower than the
// request's time limit). Each cell checks the user's sentence, the status and that exactly one callback ran; a
// download that fails must leave the file already on disk untouched.
// Each test logs its row of the table and its count ("FaultMatrix" lines), which scripts/reliability.sh gathers.

#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "Misc/AutomationTest.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "TarvolineApi.h"
#include "TarvolineService.h"
#include "TarvolineTestHelpers.h"

#if WITH_TARVOLINE_HOST
#include "HostFilesTesting.h"
#include "HostHttpTesting.h"
#endif

#if WITH_DEV_AUTOMATION_TESTS

DEFINE_LOG_CATEGORY_STATIC(LogTarvolineFaults, Display, All);

namespace TarvolineFaultTest
{
using namespace TarvolineTest;

/** What the fault does to the answer, which decides what the client must report. */
enum class EFault : uint8
{
	None,
	StatusWithDetail,
	Status,
	Html,
	NotADocument,
	Unreachable,
	Slow,
};

struct FColumn
{
	FString Label;
	EFault Kind;
	int32 Status;
	FString Fault;
};

/** What one call reported. */
struct FCell
{
	int32 Successes = 0;
	int32 Failures = 0;
	FString Message;
	int32 Status = -1;
	bool bSkipped = false;
};

/** Ids of a real character and job, and a live download link, made before the cells run. */
struct FFixture
{
	FString CharacterId;
	FString JobId;
	FString DownloadUrl;
	FString ScratchDir;
	FString SetupError;
};

using FOnSuccess = TFunction<void()>;

/** A success callback that only reports that a record arrived: the matrix judges failures, not records. */
template <typename RecordType>
TFunction<void(const RecordType&)> AnyRecord(FOnSuccess OnSuccess)
{
	return [OnSuccess](const RecordType&)
	{
		OnSuccess();
	};
}
using FCall = TFunction<void(const FFixture&, const FString& SavePath, FOnSuccess, TarvolineApi::FOnError)>;

/** The time limit the slow column's calls get in place of their 900 seconds. */
constexpr float ShortTimeoutSeconds = 0.5f;

const TCHAR* const PreviousBytes = TEXT("the download kept from before");

FString Detail(int32 Status)
{
	return FString::Printf(TEXT("The service's own words for %d."), Status);
}

TArray<FColumn> Columns()
{
	TArray<FColumn> Result;
	Result.Add({TEXT("none"), EFault::None, 200, FString()});
	for (const int32 Status : {401, 402, 404, 413, 422, 429, 500, 503})
	{
		Result.Add({FString::Printf(TEXT("%dd"), Status), EFault::StatusWithDetail, Status,
			FString::Printf(
				TEXT("{\"kind\": \"status\", \"status\": %d, \"detail\": \"%s\"}"), Status, *Detail(Status))});
		Result.Add({FString::Printf(TEXT("%d"), Status), EFault::Status, Status,
			FString::Printf(TEXT("{\"kind\": \"status\", \"status\": %d}"), Status)});
	}
	Result.Add({TEXT("html"), EFault::Html, 502, TEXT("{\"kind\": \"html\", \"status\": 502}")});
	Result.Add({TEXT("empty"), EFault::NotADocument, 200, TEXT("{\"kind\": \"empty\"}")});
	Result.Add({TEXT("value"), EFault::NotADocument, 200, TEXT("{\"kind\": \"number\"}")});
	Result.Add({TEXT("malf"), EFault::NotADocument, 200, TEXT("{\"kind\": \"malformed\"}")});
	Result.Add({TEXT("trunc"), EFault::NotADocument, 200, TEXT("{\"kind\": \"truncated\"}")});
	// Every request until disarmed: libcurl sends a read again on another connection when a pooled one closes.
	Result.Add({TEXT("drop"), EFault::Unreachable, 0, TEXT("{\"kind\": \"drop\", \"count\": -1}")});
	// Carried out by the service, then the connection closes without an answer, or half way through it.
	Result.Add({TEXT("lost"), EFault::Unreachable, 0, TEXT("{\"kind\": \"dropAfter\", \"count\": -1}")});
	Result.Add({TEXT("cut"), EFault::Unreachable, 0, TEXT("{\"kind\": \"cut\", \"count\": -1}")});
	Result.Add({TEXT("slow"), EFault::Slow, 0, TEXT("{\"kind\": \"slow\", \"bytesPerSecond\": 10}")});
	return Result;
}

FString SentenceForStatus(int32 Status)
{
	switch (Status)
	{
		case 401:
			return FString::Printf(
				TEXT("That API key was not accepted. Make a new one at %s/account."), TarvolineApi::TarvolineSiteHost);
		case 402:
			return FString::Printf(
				TEXT("Not enough credits for that. Top up at %s/credits."), TarvolineApi::TarvolineSiteHost);
		case 413:
			return TEXT("That file is too large to upload.");
		case 429:
			return TEXT("Too many requests for a moment. Try again in a minute.");
		default:
			return FString::Printf(
				TEXT("Tarvoline answered %d. Try again, or write to us if it keeps happening."), Status);
	}
}

/** The expected outcome of a cell: success, or the sentence and status of the one failure. */
struct FExpected
{
	bool bSuccess = false;
	FString Message;
	int32 Status = 0;
};

FExpected ExpectedFor(const FColumn& Column, bool bDownload)
{
	const FString Unreachable = FString::Printf(
		TEXT("Could not reach %s. Check the internet connection and try again."), TarvolineApi::TarvolineSiteHost);
	const TCHAR* const BrokenLink = TEXT("The download link did not work. Press Check again.");
	switch (Column.Kind)
	{
		case EFault::None:
			return {true, FString(), 0};
		case EFault::StatusWithDetail:
			return {false, bDownload ? FString(BrokenLink) : Detail(Column.Status), Column.Status};
		case EFault::Status:
		case EFault::Html:
			return {false, bDownload ? FString(BrokenLink) : SentenceForStatus(Column.Status), Column.Status};
		case EFault::NotADocument:
			// An output file is not read as JSON: whatever a 200 brings is the file.
			if (bDownload)
			{
				return {true, FString(), 0};
			}
			return {false, TEXT("Tarvoline sent an answer we could not read."), 200};
		case EFault::Unreachable:
		case EFault::Slow:
		default:
			return {false, bDownload ? FString(BrokenLink) : Unreachable, 0};
	}
}

/**
 * Enqueues making a ready character and a finished job through the client itself (the service finishes work at once),
 * so that every cell asks about things the service has and a truncated or slow answer is a real one.
 */
TSharedRef<FFixture> FixtureSteps(FAutomationTestBase* Test)
{
	const TSharedRef<FFixture> Fixture = MakeShared<FFixture>();
	Fixture->ScratchDir = MakeScratchDir(TEXT("FaultMatrix"));
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/reset"));
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/time"), TEXT("{\"timeScale\": 0}"));
	const TSharedRef<bool> bAnswered = MakeShared<bool>(false);
	const TarvolineApi::FOnError Failed = [Fixture, bAnswered](const FString& Message, int32 Status)
	{
		Fixture->SetupError = FString::Printf(TEXT("%d %s"), Status, *Message);
		*bAnswered = true;
	};
	const auto Wait = [Test, bAnswered](const TCHAR* What)
	{
		WaitUntil(Test, What,
			[bAnswered]()
			{
				return *bAnswered;
			});
	};
	Then(
		[Fixture, bAnswered, Failed]()
		{
			*bAnswered = false;
			TarvolineApi::UploadModel(
				DemoKey, TestModelFile(TEXT("humanoid_mesh.fbx")),
				[Fixture, bAnswered](const FTarvolineCharacter& Character)
				{
					Fixture->CharacterId = Character.Id;
					*bAnswered = true;
				},
				Failed);
		});
	Wait(TEXT("the fixture's upload"));
	Then(
		[Fixture, bAnswered, Failed]()
		{
			*bAnswered = false;
			TarvolineApi::Generate(
				DemoKey, TEXT("a person walks forward and waves"), Fixture->CharacterId,
				[Fixture, bAnswered](const FTarvolineJob& Job)
				{
					Fixture->JobId = Job.Id;
					*bAnswered = true;
				},
				Failed);
		});
	Wait(TEXT("the fixture's job"));
	Then(
		[Fixture, bAnswered, Failed]()
		{
			*bAnswered = false;
			TarvolineApi::FetchJob(
				DemoKey, Fixture->JobId,
				[Fixture, bAnswered](const FTarvolineJob& Job)
				{
					for (const FTarvolineJobOutput& Output : Job.Outputs)
					{
						if (Output.Kind.Equals(TEXT("fbx"), ESearchCase::IgnoreCase))
						{
							Fixture->DownloadUrl = Output.Url;
						}
					}
					*bAnswered = true;
				},
				Failed);
		});
	Wait(TEXT("the fixture's finished job"));
	Then(
		[Test, Fixture]()
		{
			if (!Fixture->SetupError.IsEmpty() || Fixture->DownloadUrl.IsEmpty())
			{
				Test->AddError(FString::Printf(TEXT("The fixture could not be made: %s"), *Fixture->SetupError));
			}
		});
	return Fixture;
}

/** Enqueues one cell: arm the fault, call, wait for the first callback, disarm. */
TSharedRef<FCell> CellSteps(FAutomationTestBase* Test, const FString& Operation, const FColumn& Column,
	const TSharedRef<FFixture>& Fixture, const FCall& Call, bool bDownload)
{
	const TSharedRef<FCell> Cell = MakeShared<FCell>();
#if !WITH_TARVOLINE_HOST
	if (Column.Kind == EFault::Slow)
	{
		// An editor offers no way to shorten the client's 900-second limit from outside.
		Cell->bSkipped = true;
		return Cell;
	}
#endif
	if (!Column.Fault.IsEmpty())
	{
		FaultStep(Test, Column.Fault);
	}
	Then(
		[Cell, Fixture, Call, Column, bDownload]()
		{
			const FString SavePath = Fixture->ScratchDir / Column.Label + TEXT(".fbx");
			if (bDownload)
			{
				FFileHelper::SaveStringToFile(PreviousBytes, *SavePath);
			}
#if WITH_TARVOLINE_HOST
			HostHttpTesting::SetTimeoutCeiling(Column.Kind == EFault::Slow ? ShortTimeoutSeconds : 0.0f);
#endif
			Call(
				*Fixture, SavePath,
				[Cell]()
				{
					++Cell->Successes;
				},
				[Cell](const FString& Message, int32 Status)
				{
					++Cell->Failures;
					Cell->Message = Message;
					Cell->Status = Status;
				});
#if WITH_TARVOLINE_HOST
			HostHttpTesting::SetTimeoutCeiling(0.0f);
#endif
		});
	WaitUntil(Test, Operation + TEXT(" under ") + Column.Label,
		[Cell]()
		{
			return Cell->Successes + Cell->Failures > 0;
		});
	if (!Column.Fault.IsEmpty())
	{
		ControlStep(Test, TEXT("DELETE"), TEXT("/_sim/faults"));
	}
	return Cell;
}

/** Judges one cell; every difference becomes an error of the test. Returns whether the cell holds. */
bool JudgeCell(FAutomationTestBase* Test, const FString& Operation, const FColumn& Column, const FCell& Cell,
	const FFixture& Fixture, bool bDownload)
{
	const FExpected Expected = ExpectedFor(Column, bDownload);
	const FString What = Operation + TEXT(" under ") + Column.Label;
	TArray<FString> Problems;
	if (Expected.bSuccess && !(Cell.Successes == 1 && Cell.Failures == 0))
	{
		Problems.Add(FString::Printf(TEXT("%d successes and %d failures (last %d \"%s\"), expected one success"),
			Cell.Successes, Cell.Failures, Cell.Status, *Cell.Message));
	}
	if (!Expected.bSuccess)
	{
		if (!(Cell.Successes == 0 && Cell.Failures == 1))
		{
			Problems.Add(FString::Printf(
				TEXT("%d successes and %d failures, expected one failure"), Cell.Successes, Cell.Failures));
		}
		if (!Cell.Message.Equals(Expected.Message, ESearchCase::CaseSensitive))
		{
			Problems.Add(FString::Printf(TEXT("sentence \"%s\", expected \"%s\""), *Cell.Message, *Expected.Message));
		}
		if (Cell.Status != Expected.Status)
		{
			Problems.Add(FString::Printf(TEXT("status %d, expected %d"), Cell.Status, Expected.Status));
		}
	}
	if (bDownload)
	{
		FString OnDisk;
		const FString SavePath = Fixture.ScratchDir / Column.Label + TEXT(".fbx");
		const bool bRead = FFileHelper::LoadFileToString(OnDisk, *SavePath);
		if (!Expected.bSuccess && (!bRead || OnDisk != PreviousBytes))
		{
			Problems.Add(TEXT("the file already on disk was not left as it was"));
		}
		if (Expected.bSuccess && (!bRead || OnDisk == PreviousBytes))
		{
			Problems.Add(TEXT("the answer was not written over the old file"));
		}
		if (IFileManager::Get().FileExists(*TarvolineApi::MakeDownloadTempPath(SavePath)))
		{
			Problems.Add(TEXT("a temporary file was left beside it"));
		}
	}
	for (const FString& Problem : Problems)
	{
		Test->AddError(What + TEXT(": ") + Problem + TEXT("."));
	}
	return Problems.Num() == 0;
}

/** Enqueues the whole row of one operation and the checks, and logs the row. */
void RowSteps(FAutomationTestBase* Test, const FString& Operation, const FCall& Call, bool bDownload = false)
{
	const TSharedRef<FFixture> Fixture = FixtureSteps(Test);
	const TArray<FColumn> AllColumns = Columns();
	TArray<TSharedRef<FCell>> Cells;
	for (const FColumn& Column : AllColumns)
	{
		Cells.Add(CellSteps(Test, Operation, Column, Fixture, Call, bDownload));
	}
	// Long enough for a second callback of any cell to show.
	Idle(0.3);
	Then(
		[Test, Operation, AllColumns, Cells, Fixture, bDownload]()
		{
			FString Header = FString(TEXT("endpoint")).RightPad(16);
			FString Row = Operation.RightPad(16);
			int32 Held = 0;
			int32 Run = 0;
			for (int32 Index = 0; Index < AllColumns.Num(); ++Index)
			{
				Header += AllColumns[Index].Label.RightPad(6);
				FString Mark = TEXT("skip");
				if (!Cells[Index]->bSkipped)
				{
					++Run;
					const bool bHeld =
						JudgeCell(Test, Operation, AllColumns[Index], *Cells[Index], *Fixture, bDownload);
					Held += bHeld ? 1 : 0;
					Mark = bHeld ? TEXT("ok") : TEXT("FAIL");
				}
				Row += Mark.RightPad(6);
			}
			UE_LOG(LogTarvolineFaults, Display, TEXT("FaultMatrix header %s"), *Header.TrimEnd());
			UE_LOG(LogTarvolineFaults, Display, TEXT("FaultMatrix row    %s"), *Row.TrimEnd());
			UE_LOG(
				LogTarvolineFaults, Display, TEXT("FaultMatrix count  %s %d of %d cells held"), *Operation, Held, Run);
			IFileManager::Get().DeleteDirectory(*Fixture->ScratchDir, false, true);
		});
}
} // namespace TarvolineFaultTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineFaultMatrixFetchAccountTest, "Tarvoline.Client.FaultMatrix.FetchAccount",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineFaultMatrixFetchAccountTest::RunTest(const FString&)
{
	using namespace TarvolineFaultTest;
	RowSteps(this, TEXT("FetchAccount"),
		[](const FFixture&, const FString&, FOnSuccess OnSuccess, TarvolineApi::FOnError OnError)
		{
			TarvolineApi::FetchAccount(DemoKey, AnyRecord<FTarvolineAccount>(OnSuccess), OnError);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineFaultMatrixListCharactersTest, "Tarvoline.Client.FaultMatrix.ListCharacters",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineFaultMatrixListCharactersTest::RunTest(const FString&)
{
	using namespace TarvolineFaultTest;
	RowSteps(this, TEXT("ListCharacters"),
		[](const FFixture&, const FString&, FOnSuccess OnSuccess, TarvolineApi::FOnError OnError)
		{
			TarvolineApi::ListCharacters(DemoKey, AnyRecord<TArray<FTarvolineCharacter>>(OnSuccess), OnError);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineFaultMatrixFetchCharacterTest, "Tarvoline.Client.FaultMatrix.FetchCharacter",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineFaultMatrixFetchCharacterTest::RunTest(const FString&)
{
	using namespace TarvolineFaultTest;
	RowSteps(this, TEXT("FetchCharacter"),
		[](const FFixture& Fixture, const FString&, FOnSuccess OnSuccess, TarvolineApi::FOnError OnError)
		{
			TarvolineApi::FetchCharacter(
				DemoKey, Fixture.CharacterId, AnyRecord<FTarvolineCharacter>(OnSuccess), OnError);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineFaultMatrixUploadModelTest, "Tarvoline.Client.FaultMatrix.UploadModel",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineFaultMatrixUploadModelTest::RunTest(const FString&)
{
	using namespace TarvolineFaultTest;
	RowSteps(this, TEXT("UploadModel"),
		[](const FFixture&, const FString&, FOnSuccess OnSuccess, TarvolineApi::FOnError OnError)
		{
			TarvolineApi::UploadModel(
				DemoKey, TestModelFile(TEXT("quadruped_mesh.fbx")), AnyRecord<FTarvolineCharacter>(OnSuccess), OnError);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineFaultMatrixPlanMotionTest, "Tarvoline.Client.FaultMatrix.PlanMotion",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineFaultMatrixPlanMotionTest::RunTest(const FString&)
{
	using namespace TarvolineFaultTest;
	RowSteps(this, TEXT("PlanMotion"),
		[](const FFixture& Fixture, const FString&, FOnSuccess OnSuccess, TarvolineApi::FOnError OnError)
		{
			TarvolineApi::PlanMotion(
				DemoKey, TEXT("a person waves"), Fixture.CharacterId, AnyRecord<FTarvolinePlan>(OnSuccess), OnError);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineFaultMatrixGenerateTest, "Tarvoline.Client.FaultMatrix.Generate",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineFaultMatrixGenerateTest::RunTest(const FString&)
{
	using namespace TarvolineFaultTest;
	RowSteps(this, TEXT("Generate"),
		[](const FFixture& Fixture, const FString&, FOnSuccess OnSuccess, TarvolineApi::FOnError OnError)
		{
			TarvolineApi::Generate(
				DemoKey, TEXT("a person waves"), Fixture.CharacterId, AnyRecord<FTarvolineJob>(OnSuccess), OnError);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineFaultMatrixFetchJobTest, "Tarvoline.Client.FaultMatrix.FetchJob",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineFaultMatrixFetchJobTest::RunTest(const FString&)
{
	using namespace TarvolineFaultTest;
	RowSteps(this, TEXT("FetchJob"),
		[](const FFixture& Fixture, const FString&, FOnSuccess OnSuccess, TarvolineApi::FOnError OnError)
		{
			TarvolineApi::FetchJob(DemoKey, Fixture.JobId, AnyRecord<FTarvolineJob>(OnSuccess), OnError);
		});
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineFaultMatrixDownloadFileTest, "Tarvoline.Client.FaultMatrix.DownloadFile",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineFaultMatrixDownloadFileTest::RunTest(const FString&)
{
	using namespace TarvolineFaultTest;
	RowSteps(
		this, TEXT("DownloadFile"),
		[](const FFixture& Fixture, const FString& SavePath, FOnSuccess OnSuccess, TarvolineApi::FOnError OnError)
		{
			TarvolineApi::DownloadFile(Fixture.DownloadUrl, SavePath, OnSuccess, OnError);
		},
		true);
	return true;
}

#if WITH_TARVOLINE_HOST
// Needs the stand-in's small disks: an editor test cannot make a disk full or read-only without platform calls.
IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineDownloadOntoAFullDiskTest,
	"Tarvoline.Client.DownloadOntoAFullOrReadOnlyDisk",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineDownloadOntoAFullDiskTest::RunTest(const FString&)
{
	using namespace TarvolineFaultTest;
	const TSharedRef<FFixture> Fixture = FixtureSteps(this);
	const TSharedRef<bool> bMounted = MakeShared<bool>(false);
	const TSharedRef<FString> FullDisk = MakeShared<FString>();
	const TSharedRef<FString> ReadOnlyDisk = MakeShared<FString>();
	Then(
		[this, Fixture, bMounted, FullDisk, ReadOnlyDisk]()
		{
			*FullDisk = Fixture->ScratchDir / TEXT("full");
			*ReadOnlyDisk = Fixture->ScratchDir / TEXT("readonly");
			*bMounted = HostFilesTesting::MountSmallDisk(*FullDisk, 256) &&
						HostFilesTesting::MountSmallDisk(*ReadOnlyDisk, 256);
			if (!*bMounted)
			{
				HostFilesTesting::UnmountSmallDisk(*FullDisk);
				AddInfo(TEXT("Mounting a small disk is not permitted here: nothing to check."));
				return;
			}
			FFileHelper::SaveStringToFile(PreviousBytes, *(*FullDisk / TEXT("motion.fbx")));
			FFileHelper::SaveStringToFile(PreviousBytes, *(*ReadOnlyDisk / TEXT("motion.fbx")));
			HostFilesTesting::FillDisk(*FullDisk);
			TestTrue(TEXT("made read-only"), HostFilesTesting::MakeDiskReadOnly(*ReadOnlyDisk));
		});
	TArray<TSharedRef<FCell>> Cells;
	for (const TSharedRef<FString>& Disk : {FullDisk, ReadOnlyDisk})
	{
		const TSharedRef<FCell> Cell = MakeShared<FCell>();
		Cells.Add(Cell);
		Then(
			[Fixture, bMounted, Disk, Cell]()
			{
				if (!*bMounted)
				{
					Cell->bSkipped = true;
					return;
				}
				TarvolineApi::DownloadFile(
					Fixture->DownloadUrl, *Disk / TEXT("motion.fbx"),
					[Cell]()
					{
						++Cell->Successes;
					},
					[Cell](const FString& Message, int32 Status)
					{
						++Cell->Failures;
						Cell->Message = Message;
						Cell->Status = Status;
					});
			});
		WaitUntil(this, TEXT("the download onto a small disk"),
			[Cell]()
			{
				return Cell->bSkipped || Cell->Successes + Cell->Failures > 0;
			});
	}
	Idle(0.3);
	Then(
		[this, Cells, FullDisk, ReadOnlyDisk, bMounted, Fixture]()
		{
			const TArray<FString> Disks = {*FullDisk, *ReadOnlyDisk};
			for (int32 Index = 0; Index < Cells.Num() && *bMounted; ++Index)
			{
				const FString Path = Disks[Index] / TEXT("motion.fbx");
				const FCell& Cell = *Cells[Index];
				TestTrue(Path + TEXT(": one failure"), Cell.Successes == 0 && Cell.Failures == 1);
				TestEqual(Path + TEXT(": sentence"), Cell.Message, FString::Printf(TEXT("Could not write %s."), *Path));
				TestEqual(Path + TEXT(": status"), Cell.Status, 0);
				FString OnDisk;
				TestTrue(Path + TEXT(": the old file is whole"),
					FFileHelper::LoadFileToString(OnDisk, *Path) && OnDisk == PreviousBytes);
				TestFalse(Path + TEXT(": no temporary file left"),
					IFileManager::Get().FileExists(*TarvolineApi::MakeDownloadTempPath(Path)));
			}
			if (*bMounted)
			{
				HostFilesTesting::UnmountSmallDisk(*FullDisk);
				HostFilesTesting::UnmountSmallDisk(*ReadOnlyDisk);
			}
			IFileManager::Get().DeleteDirectory(*Fixture->ScratchDir, false, true);
		});
	return true;
}
#endif

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
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
	constexpr int32 Size = 32 * 1024 * 1024;
	const auto Filled = [](uint8 Value)
	{
		TArray<uint8> Bytes;
		Bytes.Init(Value, Size);
		return Bytes;
	};
	// Which byte fills the whole file, or 0 when it is missing, of another size or mixed.
	const auto WholeValue = [](const FString& Path) -> uint8
	{
		TArray<uint8> Bytes;
		if (!FFileHelper::LoadFileToArray(Bytes, *Path, FILEREAD_Silent) || Bytes.Num() != Size)
		{
			return 0;
		}
		for (const uint8 Byte : Bytes)
		{
			if (Byte != Bytes[0])
			{
				return 0;
			}
		}
		return Bytes[0];
	};
	TestTrue(TEXT("the earlier download"), TarvolineApi::SaveDownload(Filled('A'), SavePath));
	const TArray<uint8> Even = Filled('B');
	const TArray<uint8> Odd = Filled('C');
	for (const int32 DelayMs : {0, 1, 2, 3, 5, 7, 10, 15, 22, 30, 45, 60})
	{
		TestTrue(TEXT("the writer was killed"), HostFilesTesting::KillWriterAfter(DelayMs,
			[&SavePath, &Even, &Odd](int32 Round)
			{
				TarvolineApi::SaveDownload(Round % 2 == 0 ? Even : Odd, SavePath);
			}));
		const uint8 Value = WholeValue(SavePath);
		// The engine's move deletes the old file before it renames the new one over it: killed in between, the new
		// download is whole under the temporary name, and the next download of that file writes over it.
		const bool bBetweenDeleteAndRename =
			!IFileManager::Get().FileExists(*SavePath) && (WholeValue(TempPath) == 'B' || WholeValue(TempPath) == 'C');
		TestTrue(FString::Printf(TEXT("killed after %d ms: the file is whole"), DelayMs),
			Value == 'A' || Value == 'B' || Value == 'C' || bBetweenDeleteAndRename);
	}
	// A later download completes over whatever a killed one left.
	TestTrue(TEXT("a download after the kills"), TarvolineApi::SaveDownload(Filled('D'), SavePath));
	TestEqual(TEXT("the last download is in place"), (int32)WholeValue(SavePath), (int32)'D');
	TestFalse(TEXT("no temporary file left"), IFileManager::Get().FileExists(*TempPath));
	IFileManager::Get().DeleteDirectory(*Dir, false, true);
	return true;
}
#endif

#endif
