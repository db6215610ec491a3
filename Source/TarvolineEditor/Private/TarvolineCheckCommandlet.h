// The headless check: the whole road of the plug-in against the service, with one PASS or FAIL line per check.

#pragma once

#include "CoreMinimal.h"
#include "Commandlets/Commandlet.h"
#include "TarvolineApi.h"
#include "TarvolineRecords.h"
#include "TarvolineCheckCommandlet.generated.h"

DECLARE_LOG_CATEGORY_EXTERN(LogTarvolineCheck, Display, All);

/**
 * End-to-end check of the plugin against the live service, for its developers:
 *   UnrealEditor-Cmd <project> -run=TarvolineCheck -Key=tv_... -Model=<file> -Prompt="..." [-Family=quadruped]
 * Uploads the model, waits for the rig, plans, generates, downloads and imports, and prints PASS/FAIL lines.
 */
UCLASS()
class UTarvolineCheckCommandlet : public UCommandlet
{
	GENERATED_BODY()

public:
	UTarvolineCheckCommandlet();

	/** Runs the road (or, with -Fbx=, the import and clip checks alone); returns the exit code. */
	virtual int32 Main(const FString& Params) override;
};

namespace TarvolineCheck
{
/** Failed checks of this process so far; never reset, so the closing line covers every check of the run. */
extern int32 CheckFailures;

/**
 * Everything one run learns from the service, owned by Main. The client's callbacks reach it only through weak
 * pointers: an answer that comes after its wait ran out still lands in the run while Main is in it, and lands nowhere
 * once Main has returned, instead of reaching into a finished run (or the next one).
 */
struct FCheckRunState
{
	/** The last request failure as "<status> <sentence>"; never cleared, so every later wait ends at once. */
	FString ErrorText;
	TOptional<FTarvolineAccount> Account;
	TOptional<FTarvolineCharacter> Character;
	TArray<FTarvolineCharacter> Characters;
	TOptional<FTarvolinePlan> Plan;
	TOptional<FTarvolineJob> Job;
	bool bCharacterAnswered = false;
	bool bListAnswered = false;
	bool bJobAnswered = false;
	bool bDownloadDone = false;
};

/** The callbacks a run hands to the client: each stores its answer into the run if the run still exists. */
TarvolineApi::FOnError RecordError(const TWeakPtr<FCheckRunState>& WeakRun);
TarvolineApi::FOnAccount RecordAccount(const TWeakPtr<FCheckRunState>& WeakRun);
TarvolineApi::FOnCharacter RecordCharacter(const TWeakPtr<FCheckRunState>& WeakRun);
TarvolineApi::FOnCharacters RecordCharacters(const TWeakPtr<FCheckRunState>& WeakRun);
TarvolineApi::FOnPlan RecordPlan(const TWeakPtr<FCheckRunState>& WeakRun);
TarvolineApi::FOnJob RecordJob(const TWeakPtr<FCheckRunState>& WeakRun);
TarvolineApi::FOnDone RecordDownload(const TWeakPtr<FCheckRunState>& WeakRun);

/** Counts a failure when !Passed, then logs "CHECK PASS <What>" or "CHECK FAIL <What>". */
void ReportCheck(bool Passed, const FString& What);

/**
 * Ticks the HTTP manager and the core ticker in 0.05 s steps, sleeping 0.05 s between them, until Done() or until
 * TimeoutSeconds have passed; true when Done() held. Completions of requests run inside it, on this thread.
 */
bool PumpUntil(TFunction<bool()> Done, double TimeoutSeconds);

/** Imports FbxFile as the panel does, checks mesh, clip, skeleton and size, and logs "CHECK DONE"; 0 when no check failed. */
int32 InspectImportedClip(const FString& FbxFile, const FString& CharacterName, const FString& AnimationName);
}
