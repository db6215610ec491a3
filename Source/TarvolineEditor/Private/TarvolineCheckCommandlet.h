// The headless check: the whole road of the plug-in against the service, with one PASS or FAIL line per check.

#pragma once

#include "CoreMinimal.h"
#include "Commandlets/Commandlet.h"
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
