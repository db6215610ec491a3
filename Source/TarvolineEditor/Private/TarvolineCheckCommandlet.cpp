// The check commandlet's road: sign in, upload, rig, list, plan, generate, job, download, import and clip checks.

#include "TarvolineCheckCommandlet.h"

#include "Animation/AnimSequence.h"
#include "Containers/Ticker.h"
#include "Engine/SkeletalMesh.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "Misc/Paths.h"
#include "ReferenceSkeleton.h"
#include "TarvolineApi.h"
#include "TarvolineImport.h"

DEFINE_LOG_CATEGORY(LogTarvolineCheck);

namespace
{
using TarvolineCheck::FCheckRunState;
using FWeakRun = TWeakPtr<FCheckRunState>;

/**
 * Wraps Store so that it runs only while the run still exists: the one place where a late answer is kept out of a
 * finished run.
 */
template <typename... ArgTypes, typename StoreType>
TFunction<void(ArgTypes...)> WhileRunLives(const FWeakRun& WeakRun, StoreType Store)
{
	return [WeakRun, Store = MoveTemp(Store)](ArgTypes... Args)
	{
		if (const TSharedPtr<FCheckRunState> Run = WeakRun.Pin())
		{
			Store(*Run, Args...);
		}
	};
}

/** Waits for one answer of this run: Answered() or any failure. */
void WaitForAnswer(const TSharedRef<FCheckRunState>& Run, TFunction<bool(const FCheckRunState&)> Answered, double TimeoutSeconds)
{
	TarvolineCheck::PumpUntil(
		[Run, Answered = MoveTemp(Answered)]()
		{
			return Answered(*Run) || !Run->ErrorText.IsEmpty();
		},
		TimeoutSeconds);
}

const TCHAR* const UsageLine = TEXT("usage: -run=TarvolineCheck -Key=tv_... -Model=<file> -Prompt=\"...\" [-Family=quadruped]");
}

namespace TarvolineCheck
{
int32 CheckFailures = 0;

void ReportCheck(bool Passed, const FString& What)
{
	if (!Passed)
	{
		++CheckFailures;
	}
	UE_LOG(LogTarvolineCheck, Display, TEXT("CHECK %s %s"), Passed ? TEXT("PASS") : TEXT("FAIL"), *What);
}

TarvolineApi::FOnError RecordError(const TWeakPtr<FCheckRunState>& WeakRun)
{
	return WhileRunLives<const FString&, int32>(WeakRun, [](FCheckRunState& Run, const FString& Message, int32 StatusCode)
		{
			Run.ErrorText = FString::Printf(TEXT("%d %s"), StatusCode, *Message);
		});
}

TarvolineApi::FOnAccount RecordAccount(const TWeakPtr<FCheckRunState>& WeakRun)
{
	return WhileRunLives<const FTarvolineAccount&>(WeakRun, [](FCheckRunState& Run, const FTarvolineAccount& Account)
		{
			Run.Account = Account;
		});
}

TarvolineApi::FOnCharacter RecordCharacter(const TWeakPtr<FCheckRunState>& WeakRun)
{
	return WhileRunLives<const FTarvolineCharacter&>(WeakRun, [](FCheckRunState& Run, const FTarvolineCharacter& Character)
		{
			Run.Character = Character;
			Run.bCharacterAnswered = true;
		});
}

TarvolineApi::FOnCharacters RecordCharacters(const TWeakPtr<FCheckRunState>& WeakRun)
{
	return WhileRunLives<const TArray<FTarvolineCharacter>&>(WeakRun,
		[](FCheckRunState& Run, const TArray<FTarvolineCharacter>& Characters)
		{
			Run.Characters = Characters;
			Run.bListAnswered = true;
		});
}

TarvolineApi::FOnPlan RecordPlan(const TWeakPtr<FCheckRunState>& WeakRun)
{
	return WhileRunLives<const FTarvolinePlan&>(WeakRun, [](FCheckRunState& Run, const FTarvolinePlan& Plan)
		{
			Run.Plan = Plan;
		});
}

TarvolineApi::FOnJob RecordJob(const TWeakPtr<FCheckRunState>& WeakRun)
{
	return WhileRunLives<const FTarvolineJob&>(WeakRun, [](FCheckRunState& Run, const FTarvolineJob& Job)
		{
			Run.Job = Job;
			Run.bJobAnswered = true;
		});
}

TarvolineApi::FOnDone RecordDownload(const TWeakPtr<FCheckRunState>& WeakRun)
{
	return WhileRunLives<>(WeakRun, [](FCheckRunState& Run)
		{
			Run.bDownloadDone = true;
		});
}

bool PumpUntil(TFunction<bool()> Done, double TimeoutSeconds)
{
	const double Start = FPlatformTime::Seconds();
	for (;;)
	{
		if (Done())
		{
			return true;
		}
		if (FPlatformTime::Seconds() > Start + TimeoutSeconds)
		{
			return false;
		}
		FHttpModule::Get().GetHttpManager().Tick(0.05f);
		FTSTicker::GetCoreTicker().Tick(0.05f);
		FPlatformProcess::Sleep(0.05f);
	}
}

int32 InspectImportedClip(const FString& FbxFile, const FString& CharacterName, const FString& AnimationName)
{
	const FTarvolineImportResult Result = ImportAnimationFbx(FbxFile, CharacterName, AnimationName);
	USkeletalMesh* Mesh = Result.Mesh.Get();
	UAnimSequence* Clip = Result.Clip.Get();

	ReportCheck(Mesh != nullptr, FString::Printf(TEXT("skeletal mesh %s, %d bones"), Mesh ? *Mesh->GetPathName() : TEXT("none"),
		Mesh ? Mesh->GetRefSkeleton().GetNum() : 0));

	const float PlayLength = Clip ? Clip->GetPlayLength() : 0.0f;
	ReportCheck(Clip != nullptr && PlayLength > 0.5f,
		FString::Printf(TEXT("clip %s %.2fs %s"), Clip ? *Clip->GetPathName() : TEXT("none"), PlayLength, *Result.Error));

	if (Mesh != nullptr && Clip != nullptr)
	{
		ReportCheck(Clip->GetSkeleton() == Mesh->GetSkeleton(), TEXT("clip plays on the mesh's skeleton"));

		const FBoxSphereBounds Bounds = Mesh->GetBounds();
		const FVector Min = Bounds.Origin - Bounds.BoxExtent;
		const FVector Max = Bounds.Origin + Bounds.BoxExtent;
		const FVector Size = Max - Min;
		const double Largest = FMath::Max3(Size.X, Size.Y, Size.Z);
		ReportCheck(Largest > 10.0 && Largest < 2000.0, FString::Printf(TEXT("mesh size %.1f x %.1f x %.1f cm"), Size.X, Size.Y, Size.Z));

		// Where the hips rest tells a developer at a glance whether the rig stands on the ground and faces up.
		const FReferenceSkeleton& RefSkeleton = Mesh->GetRefSkeleton();
		const int32 HipsIndex = RefSkeleton.FindBoneIndex(TEXT("Hips"));
		if (HipsIndex != INDEX_NONE)
		{
			FTransform RestTransform = FTransform::Identity;
			for (int32 BoneIndex = HipsIndex; BoneIndex != INDEX_NONE; BoneIndex = RefSkeleton.GetParentIndex(BoneIndex))
			{
				RestTransform = RestTransform * RefSkeleton.GetRefBonePose()[BoneIndex];
			}
			UE_LOG(LogTarvolineCheck, Display, TEXT("CHECK INFO hips at rest %s, mesh box %s .. %s"),
				*RestTransform.GetTranslation().ToString(), *Min.ToString(), *Max.ToString());
		}
	}

	UE_LOG(LogTarvolineCheck, Display, TEXT("CHECK DONE failures=%d"), CheckFailures);
	return CheckFailures != 0 ? 1 : 0;
}
}

UTarvolineCheckCommandlet::UTarvolineCheckCommandlet()
{
	IsServer = false;
	IsClient = false;
	IsEditor = true;
	LogToConsole = true;
}

int32 UTarvolineCheckCommandlet::Main(const FString& Params)
{
	using namespace TarvolineCheck;

	FString Fbx;
	FString Key;
	FString Model;
	FString Prompt;
	FString Family = TEXT("quadruped");
	FParse::Value(*Params, TEXT("Fbx="), Fbx, true);
	FParse::Value(*Params, TEXT("Key="), Key, true);
	FParse::Value(*Params, TEXT("Model="), Model, true);
	FParse::Value(*Params, TEXT("Prompt="), Prompt, true);
	FParse::Value(*Params, TEXT("Family="), Family, true);

	if (!Fbx.IsEmpty())
	{
		return InspectImportedClip(Fbx, Model.IsEmpty() ? Fbx : Model, Prompt.IsEmpty() ? FString(TEXT("check")) : Prompt);
	}
	if (Key.IsEmpty() || Model.IsEmpty() || Prompt.IsEmpty())
	{
		UE_LOG(LogTarvolineCheck, Error, TEXT("%s"), UsageLine);
		return 2;
	}

	const TSharedRef<FCheckRunState> Run = MakeShared<FCheckRunState>();
	const FWeakRun WeakRun = Run;

	// Sign in.
	TarvolineApi::FetchAccount(Key, RecordAccount(WeakRun), RecordError(WeakRun));
	WaitForAnswer(Run, [](const FCheckRunState& State) { return State.Account.IsSet(); }, 60.0);
	ReportCheck(Run->Account.IsSet(), FString::Printf(TEXT("signed in with the key: %d credits %s"),
		Run->Account.IsSet() ? Run->Account->Credits : -1, *Run->ErrorText));
	if (!Run->Account.IsSet())
	{
		return 1;
	}

	// Upload.
	TarvolineApi::UploadModel(Key, Model, RecordCharacter(WeakRun), RecordError(WeakRun));
	WaitForAnswer(Run, [](const FCheckRunState& State) { return State.Character.IsSet(); }, 600.0);
	ReportCheck(Run->Character.IsSet(), FString::Printf(TEXT("uploaded %s %s"), *FPaths::GetCleanFilename(Model), *Run->ErrorText));
	if (!Run->Character.IsSet())
	{
		return 1;
	}

	// Rig: poll every 3 s while the service is still rigging.
	const double RigStart = FPlatformTime::Seconds();
	do
	{
		if (!Run->Character->IsRigging() || !Run->ErrorText.IsEmpty())
		{
			break;
		}
		FPlatformProcess::Sleep(3.0f);
		Run->bCharacterAnswered = false;
		TarvolineApi::FetchCharacter(Key, Run->Character->Id, RecordCharacter(WeakRun), RecordError(WeakRun));
		WaitForAnswer(Run, [](const FCheckRunState& State) { return State.bCharacterAnswered; }, 60.0);
	} while (FPlatformTime::Seconds() - RigStart <= 900.0);

	const FTarvolineCharacter& Character = Run->Character.GetValue();
	const bool bReady = Character.Status.Equals(TEXT("ready"), ESearchCase::IgnoreCase);
	ReportCheck(bReady, FString::Printf(TEXT("%s rigged in %.0fs as %s %s %s"), *Character.Filename, FPlatformTime::Seconds() - RigStart,
		*Character.Family, *Character.Error, *Run->ErrorText));
	ReportCheck(Character.Family.Equals(Family, ESearchCase::IgnoreCase), FString::Printf(TEXT("family %s == %s"), *Character.Family, *Family));
	if (!bReady)
	{
		return 1;
	}
	const FString CharacterId = Character.Id;
	const FString CharacterFilename = Character.Filename;

	// The character list; a failure here does not stop the road.
	TarvolineApi::ListCharacters(Key, RecordCharacters(WeakRun), RecordError(WeakRun));
	WaitForAnswer(Run, [](const FCheckRunState& State) { return State.bListAnswered; }, 60.0);
	const bool bListed = Run->Characters.ContainsByPredicate([&CharacterId](const FTarvolineCharacter& Listed)
		{
			return Listed.Id.Equals(CharacterId, ESearchCase::IgnoreCase);
		});
	ReportCheck(bListed, FString::Printf(TEXT("listed among %d characters"), Run->Characters.Num()));

	// Price; a failure here does not stop the road either.
	TarvolineApi::PlanMotion(Key, Prompt, CharacterId, RecordPlan(WeakRun), RecordError(WeakRun));
	WaitForAnswer(Run, [](const FCheckRunState& State) { return State.Plan.IsSet(); }, 120.0);
	const bool bPlanned = Run->Plan.IsSet() && Run->Plan->Cost >= 1 && Run->Plan->Segments.Num() >= 1;
	ReportCheck(bPlanned, Run->Plan.IsSet()
			? FString::Printf(TEXT("plan %d credits: %s"), Run->Plan->Cost, *FString::Join(Run->Plan->Segments, TEXT(", ")))
			: Run->ErrorText);

	// Generate.
	TarvolineApi::Generate(Key, Prompt, CharacterId, RecordJob(WeakRun), RecordError(WeakRun));
	WaitForAnswer(Run, [](const FCheckRunState& State) { return State.Job.IsSet(); }, 120.0);
	if (!Run->Job.IsSet())
	{
		ReportCheck(false, TEXT("generate: ") + Run->ErrorText);
		return 1;
	}

	// Job: poll every 2.5 s while it is under way.
	const double JobStart = FPlatformTime::Seconds();
	while (Run->Job->IsActive() && Run->ErrorText.IsEmpty() && FPlatformTime::Seconds() - JobStart < 900.0)
	{
		FPlatformProcess::Sleep(2.5f);
		Run->bJobAnswered = false;
		TarvolineApi::FetchJob(Key, Run->Job->Id, RecordJob(WeakRun), RecordError(WeakRun));
		WaitForAnswer(Run, [](const FCheckRunState& State) { return State.bJobAnswered; }, 60.0);
	}
	const FTarvolineJob Job = Run->Job.GetValue();
	ReportCheck(Job.Status.Equals(TEXT("succeeded"), ESearchCase::IgnoreCase),
		FString::Printf(TEXT("job %s %s in %.0fs, %d credits, %.1fs long %s"), *Job.Id, *Job.Status, FPlatformTime::Seconds() - JobStart,
			Job.CreditsCost, Job.DurationSeconds, *Job.Error));

	const FTarvolineJobOutput* Output = Job.Outputs.FindByPredicate([](const FTarvolineJobOutput& Candidate)
		{
			return Candidate.Kind.Equals(TEXT("fbx"), ESearchCase::IgnoreCase);
		});
	if (Output == nullptr)
	{
		return 1;
	}

	// Download into Saved/Tarvoline under a name made from the prompt and the job.
	FString FileName;
	FString Refusal;
	if (!MakeDownloadFileName(Job.Prompt, Job.Id, FileName, Refusal))
	{
		ReportCheck(false, TEXT("download: ") + Refusal);
		return 1;
	}
	const FString SavePath = (FPaths::ProjectSavedDir() / TEXT("Tarvoline")) / FileName;
	TarvolineApi::DownloadFile(Output->Url, SavePath, RecordDownload(WeakRun), RecordError(WeakRun));
	WaitForAnswer(Run, [](const FCheckRunState& State) { return State.bDownloadDone; }, 600.0);
	ReportCheck(Run->bDownloadDone && FPaths::FileExists(SavePath),
		FString::Printf(TEXT("downloaded %s (%lld bytes)"), *SavePath, IFileManager::Get().FileSize(*SavePath)));
	if (!Run->bDownloadDone)
	{
		return 1;
	}

	return InspectImportedClip(SavePath, CharacterFilename, Job.Prompt);
}
