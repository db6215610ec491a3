// The service client: stateless functions that build every request to the Tarvoline service, judge the answer and
// hand back a record or one finished sentence for the user.
//
// Every operation is called on the game thread and returns at once; exactly one of its two callbacks runs later,
// once, on the game thread, when the HTTP module completes the request. Nothing is retried or logged, and nothing is
// kept between calls: the HTTP module owns each request (and the callbacks it captured) until it completes.

#pragma once

#include "CoreMinimal.h"
#include "TarvolineRecords.h"

class IHttpRequest;
class FJsonValue;

namespace TarvolineApi
{
/** A failed exchange: a finished sentence for the user, and the HTTP status or 0 when no answer arrived. */
using FOnError = TFunction<void(const FString& Message, int32 StatusCode)>;
/** The parsed top-level value of a successful answer; never null. */
using FOnJson = TFunction<void(const TSharedPtr<FJsonValue>& Value)>;
using FOnAccount = TFunction<void(const FTarvolineAccount& Account)>;
using FOnCharacters = TFunction<void(const TArray<FTarvolineCharacter>& Characters)>;
using FOnCharacter = TFunction<void(const FTarvolineCharacter& Character)>;
using FOnPlan = TFunction<void(const FTarvolinePlan& Plan)>;
using FOnJob = TFunction<void(const FTarvolineJob& Job)>;
using FOnDone = TFunction<void()>;

/** The API base URL: TARVOLINE_API when set, else the live service, with one trailing "/" dropped. */
FString GetApiBaseUrl();

/** A new request to base URL + Path with the key, the plug-in's user agent, JSON accepted and the 900 s timeout. */
TSharedRef<IHttpRequest, ESPMode::ThreadSafe> MakeRequest(const FString& Verb, const FString& Path, const FString& ApiKey);

/** Starts the request; a 2xx JSON document goes to OnJson, anything else to OnError with its sentence. */
void SendJson(const TSharedRef<IHttpRequest, ESPMode::ThreadSafe>& Request, FOnJson OnJson, FOnError OnError);

/** The user's sentence for a failed exchange: the service's own "detail" when it gave one, else one by status. */
FString DescribeFailure(int32 StatusCode, const FString& Body);

/** The pretty-printed JSON object of Fields (in order) and, when Formats is not empty, a "formats" array. */
FString MakeJsonBody(const TMap<FString, FString>& Fields, const TArray<FString>& Formats);

/** GET /v1/auth/me: checks the key and reads the account. */
void FetchAccount(const FString& ApiKey, FOnAccount OnAccount, FOnError OnError);

/** GET /v1/assets: the account's characters in the service's order. */
void ListCharacters(const FString& ApiKey, FOnCharacters OnCharacters, FOnError OnError);

/** GET /v1/assets/<id>: one character, as its rig stands now. */
void FetchCharacter(const FString& ApiKey, const FString& CharacterId, FOnCharacter OnCharacter, FOnError OnError);

/** POST /v1/assets: uploads one model file as multipart form data; an unreadable file fails before this returns. */
void UploadModel(const FString& ApiKey, const FString& FilePath, FOnCharacter OnCharacter, FOnError OnError);

/** POST /v1/plan: prices a prompt for a character. */
void PlanMotion(const FString& ApiKey, const FString& Prompt, const FString& AssetId, FOnPlan OnPlan, FOnError OnError);

/** POST /v1/generate: orders the motion; the answer is the new job. */
void Generate(const FString& ApiKey, const FString& Prompt, const FString& AssetId, FOnJob OnJob, FOnError OnError);

/** GET /v1/jobs/<id>: the job as the service sees it now. */
void FetchJob(const FString& ApiKey, const FString& JobId, FOnJob OnJob, FOnError OnError);

/**
 * Fetches an output file to SavePath, creating its folder; the key is never sent to an output URL. The answer is
 * written into MakeDownloadTempPath as it arrives and moved over SavePath only once a whole 200 answer is on disk, so
 * the file already at SavePath stays whole through any failure and no answer is ever held in memory.
 */
void DownloadFile(const FString& Url, const FString& SavePath, FOnDone OnDone, FOnError OnError);

/** Where a download to SavePath is written until it is complete: beside it, so that the final move stays on one disk. */
FString MakeDownloadTempPath(const FString& SavePath);

/**
 * Writes Content to SavePath through MakeDownloadTempPath and moves it over SavePath only once it is whole. False when
 * it cannot be written or moved; then the temporary file is gone and the file at SavePath is as it was.
 */
bool SaveDownload(TArrayView<const uint8> Content, const FString& SavePath);
}
