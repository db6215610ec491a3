// The service's records as the plug-in keeps them, and how each is read from the service's JSON.

#pragma once

#include "CoreMinimal.h"

class FJsonObject;
class FJsonValue;

/** The signed-in account: the answer to GET /v1/auth/me. */
struct FTarvolineAccount
{
	FString Email;
	int32 Credits = 0;
};

/** A character on the service: an uploaded model and where its rig stands. */
struct FTarvolineCharacter
{
	FString Id;
	FString Filename;
	FString Status;
	FString Error;
	FString Family;

	/** True while the service is still rigging the model ("pending" or "processing", any case). */
	bool IsRigging() const;
};

/** A price answer: what a prompt would cost and how the service would build the motion. */
struct FTarvolinePlan
{
	int32 Cost = 0;
	int32 Balance = 0;
	bool Affordable = false;
	/** One label per planned piece of motion, such as "trot forward 2.3 s". */
	TArray<FString> Segments;
	TArray<FString> Notes;
};

/** One file a finished job made. */
struct FTarvolineJobOutput
{
	FString Kind;
	FString Url;
};

/** The service's work on one ordered motion. */
struct FTarvolineJob
{
	FString Id;
	FString Status;
	FString Stage;
	FString Prompt;
	FString Error;
	FString AssetId;
	FString FallbackFrom;
	float Progress = 0.0f;
	float DurationSeconds = 0.0f;
	int32 CreditsCost = 0;
	bool CreditsRefunded = false;
	TArray<FTarvolineJobOutput> Outputs;

	/** True while the job is under way ("queued" or "running", any case). */
	bool IsActive() const;
};

namespace TarvolineApi
{
/** The object of a top-level answer, or an object with no members when the answer is not an object. */
TSharedRef<FJsonObject> ObjectOf(const TSharedPtr<FJsonValue>& Value);

/** Reads an account; missing or mistyped members keep their defaults. */
FTarvolineAccount ReadAccount(const FJsonObject& Object);

/** Reads a character; an empty family reads as "humanoid". */
FTarvolineCharacter ReadCharacter(const FJsonObject& Object);

/** Reads a list answer: one character per element of a top-level array, in order; any other answer is an empty list. */
TArray<FTarvolineCharacter> ReadCharacterList(const TSharedPtr<FJsonValue>& Value);

/** Reads a price answer with its segment labels and notes. */
FTarvolinePlan ReadPlan(const FJsonObject& Object);

/** Reads a job with its outputs. */
FTarvolineJob ReadJob(const FJsonObject& Object);

/** "quad_trot_forward" for 2.26 seconds becomes "trot forward 2.3 s". */
FString MakeSegmentLabel(const FString& Primitive, double Seconds);
}
