// The service client's requests: building, sending, judging the answer and describing failures.

#include "TarvolineApi.h"

#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "HAL/FileManager.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include "Misc/FileHelper.h"
#include "Misc/Guid.h"
#include "Misc/Paths.h"
#include "Policies/PrettyJsonPrintPolicy.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"
#include "TarvolineDownloadArchive.h"
#include "TarvolineService.h"
#include "TarvolineUploadArchive.h"

namespace
{
const TCHAR* const UnreadableAnswer = TEXT("Tarvoline sent an answer we could not read.");
const TCHAR* const BrokenDownload = TEXT("The download link did not work. Press Check again.");

/**
 * The pretty layout with CR LF line ends on every platform: the engine's own pretty policy ends lines with the
 * platform's LINE_TERMINATOR (LF on Linux and Mac), and the service's bodies are written with CR LF everywhere.
 * Writers call their policy's static functions by name, so declaring WriteLineTerminator here replaces it for every
 * line break the writer makes.
 */
struct FTarvolineJsonPrintPolicy : public TPrettyJsonPrintPolicy<TCHAR>
{
	static inline void WriteLineTerminator(FArchive* Stream)
	{
		TJsonPrintPolicy<TCHAR>::WriteString(Stream, FStringView(TEXT("\r\n")));
	}
};

/**
 * Puts a completely written download in place: moves TempPath over SavePath. The engine's file writer works in place,
 * so a download written straight to SavePath would leave a torn file behind a crash or a full disk; written beside
 * it and moved only when whole, the earlier file stays whole until the new one is. Without retries, so that a
 * failure logs no error. On failure the temporary file is removed.
 */
bool MoveDownloadIntoPlace(const FString& TempPath, const FString& SavePath)
{
	IFileManager& FileManager = IFileManager::Get();
	if (FileManager.Move(*SavePath, *TempPath, true, false, false, true))
	{
		return true;
	}
	FileManager.Delete(*TempPath, false, false, true);
	return false;
}

/** The UTF-8 bytes of Text. */
TArray<uint8> Utf8Bytes(const FString& Text)
{
	const FTCHARToUTF8 Utf8(*Text, Text.Len());
	return TArray<uint8>(reinterpret_cast<const uint8*>(Utf8.Get()), Utf8.Length());
}

/** Sends a body-less GET of Path and hands the answer's object to Read. */
void GetObject(const FString& ApiKey, const FString& Path, TFunction<void(const FJsonObject&)> Read, TarvolineApi::FOnError OnError)
{
	TarvolineApi::SendJson(TarvolineApi::MakeRequest(TEXT("GET"), Path, ApiKey),
		[Read = MoveTemp(Read)](const TSharedPtr<FJsonValue>& Value)
		{
			Read(*TarvolineApi::ObjectOf(Value));
		},
		MoveTemp(OnError));
}

/** Sends a POST of Path with the JSON body {"prompt", "assetId"[, "formats"]}. */
void PostPromptBody(const FString& ApiKey, const FString& Path, const FString& Prompt, const FString& AssetId,
	const TArray<FString>& Formats, TarvolineApi::FOnJson OnJson, TarvolineApi::FOnError OnError)
{
	const TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Request = TarvolineApi::MakeRequest(TEXT("POST"), Path, ApiKey);
	Request->SetHeader(TEXT("Content-Type"), TEXT("application/json"));
	TMap<FString, FString> Fields;
	Fields.Add(TEXT("prompt"), Prompt);
	Fields.Add(TEXT("assetId"), AssetId);
	Request->SetContentAsString(TarvolineApi::MakeJsonBody(Fields, Formats));
	TarvolineApi::SendJson(Request, MoveTemp(OnJson), MoveTemp(OnError));
}
}

namespace TarvolineApi
{
FString GetApiBaseUrl()
{
	FString BaseUrl = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_API"));
	if (BaseUrl.IsEmpty())
	{
		BaseUrl = DefaultApiBaseUrl;
	}
	BaseUrl.RemoveFromEnd(TEXT("/"));
	return BaseUrl;
}

TSharedRef<IHttpRequest, ESPMode::ThreadSafe> MakeRequest(const FString& Verb, const FString& Path, const FString& ApiKey)
{
	const TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Request = FHttpModule::Get().CreateRequest();
	Request->SetVerb(Verb);
	Request->SetURL(GetApiBaseUrl() + Path);
	Request->SetHeader(TEXT("Authorization"), TEXT("Bearer ") + ApiKey);
	Request->SetHeader(TEXT("User-Agent"), FString::Printf(TEXT("tarvoline-unreal/%s"), PluginVersion));
	Request->SetHeader(TEXT("Accept"), TEXT("application/json"));
	Request->SetTimeout(RequestTimeoutSeconds);
	return Request;
}

void SendJson(const TSharedRef<IHttpRequest, ESPMode::ThreadSafe>& Request, FOnJson OnJson, FOnError OnError)
{
	// The completion owns both callbacks; the HTTP module keeps the request, and so them, alive until it completes.
	// A request that cannot start also ends here, without an answer, so the start result needs no look.
	Request->OnProcessRequestComplete().BindLambda(
		[OnJson = MoveTemp(OnJson), OnError = MoveTemp(OnError)](FHttpRequestPtr, FHttpResponsePtr Response, bool bConnectedSuccessfully)
		{
			const int32 StatusCode = (bConnectedSuccessfully && Response.IsValid()) ? Response->GetResponseCode() : 0;
			const FString Body = Response.IsValid() ? Response->GetContentAsString() : FString();
			if (StatusCode < 200 || StatusCode > 299)
			{
				OnError(DescribeFailure(StatusCode, Body), StatusCode);
				return;
			}
			TSharedPtr<FJsonValue> Value;
			const TSharedRef<TJsonReader<TCHAR>> Reader = TJsonReaderFactory<TCHAR>::Create(Body);
			if (!FJsonSerializer::Deserialize(Reader, Value) || !Value.IsValid())
			{
				OnError(UnreadableAnswer, StatusCode);
				return;
			}
			OnJson(Value);
		});
	Request->ProcessRequest();
}

FString DescribeFailure(int32 StatusCode, const FString& Body)
{
	TSharedPtr<FJsonObject> Object;
	const TSharedRef<TJsonReader<TCHAR>> Reader = TJsonReaderFactory<TCHAR>::Create(Body);
	FString Detail;
	if (FJsonSerializer::Deserialize(Reader, Object) && Object.IsValid() && Object->TryGetStringField(TEXT("detail"), Detail) &&
		!Detail.IsEmpty())
	{
		return Detail;
	}

	switch (StatusCode)
	{
		case 0:
			return FString::Printf(TEXT("Could not reach %s. Check the internet connection and try again."), TarvolineSiteHost);
		case 401:
			return FString::Printf(TEXT("That API key was not accepted. Make a new one at %s/account."), TarvolineSiteHost);
		case 402:
			return FString::Printf(TEXT("Not enough credits for that. Top up at %s/credits."), TarvolineSiteHost);
		case 413:
			return TEXT("That file is too large to upload.");
		case 429:
			return TEXT("Too many requests for a moment. Try again in a minute.");
		default:
			return FString::Printf(TEXT("Tarvoline answered %d. Try again, or write to us if it keeps happening."), StatusCode);
	}
}

FString MakeJsonBody(const TMap<FString, FString>& Fields, const TArray<FString>& Formats)
{
	const TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
	for (const TPair<FString, FString>& Field : Fields)
	{
		Object->SetStringField(Field.Key, Field.Value);
	}
	if (Formats.Num() > 0)
	{
		TArray<TSharedPtr<FJsonValue>> Values;
		for (const FString& Format : Formats)
		{
			Values.Add(MakeShared<FJsonValueString>(Format));
		}
		Object->SetArrayField(TEXT("formats"), Values);
	}

	FString Text;
	const TSharedRef<TJsonWriter<TCHAR, FTarvolineJsonPrintPolicy>> Writer = TJsonWriterFactory<TCHAR, FTarvolineJsonPrintPolicy>::Create(&Text);
	FJsonSerializer::Serialize(Object, Writer);
	return Text;
}

void FetchAccount(const FString& ApiKey, FOnAccount OnAccount, FOnError OnError)
{
	GetObject(ApiKey, TEXT("/v1/auth/me"),
		[OnAccount = MoveTemp(OnAccount)](const FJsonObject& Object)
		{
			OnAccount(ReadAccount(Object));
		},
		MoveTemp(OnError));
}

void ListCharacters(const FString& ApiKey, FOnCharacters OnCharacters, FOnError OnError)
{
	SendJson(MakeRequest(TEXT("GET"), TEXT("/v1/assets"), ApiKey),
		[OnCharacters = MoveTemp(OnCharacters)](const TSharedPtr<FJsonValue>& Value)
		{
			OnCharacters(ReadCharacterList(Value));
		},
		MoveTemp(OnError));
}

void FetchCharacter(const FString& ApiKey, const FString& CharacterId, FOnCharacter OnCharacter, FOnError OnError)
{
	GetObject(ApiKey, TEXT("/v1/assets/") + CharacterId,
		[OnCharacter = MoveTemp(OnCharacter)](const FJsonObject& Object)
		{
			OnCharacter(ReadCharacter(Object));
		},
		MoveTemp(OnError));
}

void UploadModel(const FString& ApiKey, const FString& FilePath, FOnCharacter OnCharacter, FOnError OnError)
{
	const FString FileName = FPaths::GetCleanFilename(FilePath);
	FString Boundary = TEXT("----tarvoline");
	FGuid::NewGuid().AppendString(Boundary, EGuidFormats::Digits);
	const FString PartHead = FString::Printf(
		TEXT("--%s\r\nContent-Disposition: form-data; name=\"file\"; filename=\"%s\"\r\nContent-Type: application/octet-stream\r\n\r\n"),
		*Boundary, *FileName);
	const FString PartTail = FString::Printf(TEXT("\r\n--%s--\r\n"), *Boundary);

	// The body is read from the file while it is sent, in the pieces the transfer asks for: a model of any size costs
	// the same few kilobytes, and its size is counted in 64 bits, so files past 2 GiB go out whole.
	const TSharedRef<FTarvolineUploadArchive, ESPMode::ThreadSafe> Body =
		MakeShared<FTarvolineUploadArchive, ESPMode::ThreadSafe>(FilePath, Utf8Bytes(PartHead), Utf8Bytes(PartTail));
	const FString Unreadable = FString::Printf(TEXT("Could not read %s."), *FileName);
	if (!Body->IsOpen())
	{
		OnError(Unreadable, 0);
		return;
	}

	const TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Request = MakeRequest(TEXT("POST"), TEXT("/v1/assets"), ApiKey);
	Request->SetHeader(TEXT("Content-Type"), TEXT("multipart/form-data; boundary=") + Boundary);
	Request->SetContentFromStream(Body);
	// A file that could not be read to its end (cut short, or its disk gone) sent a body that is not the model,
	// whatever the service made of it: that is the user's sentence, not the service's answer.
	SendJson(Request,
		[OnCharacter = MoveTemp(OnCharacter), OnError, Body, Unreadable](const TSharedPtr<FJsonValue>& Value)
		{
			if (!Body->Close())
			{
				OnError(Unreadable, 0);
				return;
			}
			OnCharacter(ReadCharacter(*ObjectOf(Value)));
		},
		[OnError, Body, Unreadable](const FString& Message, int32 StatusCode)
		{
			if (!Body->Close())
			{
				OnError(Unreadable, 0);
				return;
			}
			OnError(Message, StatusCode);
		});
}

void PlanMotion(const FString& ApiKey, const FString& Prompt, const FString& AssetId, FOnPlan OnPlan, FOnError OnError)
{
	PostPromptBody(ApiKey, TEXT("/v1/plan"), Prompt, AssetId, TArray<FString>(),
		[OnPlan = MoveTemp(OnPlan)](const TSharedPtr<FJsonValue>& Value)
		{
			OnPlan(ReadPlan(*ObjectOf(Value)));
		},
		MoveTemp(OnError));
}

void Generate(const FString& ApiKey, const FString& Prompt, const FString& AssetId, FOnJob OnJob, FOnError OnError)
{
	PostPromptBody(ApiKey, TEXT("/v1/generate"), Prompt, AssetId, TArray<FString>{TEXT("fbx")},
		[OnJob = MoveTemp(OnJob)](const TSharedPtr<FJsonValue>& Value)
		{
			OnJob(ReadJob(*ObjectOf(Value)));
		},
		MoveTemp(OnError));
}

void FetchJob(const FString& ApiKey, const FString& JobId, FOnJob OnJob, FOnError OnError)
{
	GetObject(ApiKey, TEXT("/v1/jobs/") + JobId,
		[OnJob = MoveTemp(OnJob)](const FJsonObject& Object)
		{
			OnJob(ReadJob(Object));
		},
		MoveTemp(OnError));
}

FString MakeDownloadTempPath(const FString& SavePath)
{
	// One fixed name per target: a download cut short by a crash leaves at most one such file, which the next
	// download of that target writes over.
	return SavePath + TEXT(".part");
}

bool SaveDownload(TArrayView<const uint8> Content, const FString& SavePath)
{
	IFileManager::Get().MakeDirectory(*FPaths::GetPath(SavePath), true);
	const FString TempPath = MakeDownloadTempPath(SavePath);
	// Silent: a failed write is reported to the user in one sentence, not as an error in the log.
	if (!FFileHelper::SaveArrayToFile(Content, *TempPath, &IFileManager::Get(), FILEWRITE_Silent))
	{
		IFileManager::Get().Delete(*TempPath, false, false, true);
		return false;
	}
	return MoveDownloadIntoPlace(TempPath, SavePath);
}

void DownloadFile(const FString& Url, const FString& SavePath, FOnDone OnDone, FOnError OnError)
{
	// No header of the client's own: the key must never travel to an output URL.
	const TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Request = FHttpModule::Get().CreateRequest();
	Request->SetVerb(TEXT("GET"));
	Request->SetURL(Url);
	Request->SetTimeout(RequestTimeoutSeconds);
	// The answer is written into the temporary file beside the target as it arrives (on the HTTP thread), so that a
	// download of any size holds none of itself in memory; the target is replaced only by a whole 200 answer. Every
	// status's body goes to the stream, so a refused link's is written too, and removed with the temporary file.
	const FString TempPath = MakeDownloadTempPath(SavePath);
	const TSharedRef<FTarvolineDownloadArchive> Body = MakeShared<FTarvolineDownloadArchive>(TempPath);
	// Backends other than curl may not stream an answer: the body then arrives in memory and is saved from there.
	const bool bStreamed = Request->SetResponseBodyReceiveStream(Body);
	Request->OnProcessRequestComplete().BindLambda(
		[SavePath, TempPath, Body, bStreamed, OnDone = MoveTemp(OnDone), OnError = MoveTemp(OnError)](FHttpRequestPtr, FHttpResponsePtr Response, bool bConnectedSuccessfully)
		{
			const int32 StatusCode = Response.IsValid() ? Response->GetResponseCode() : 0;
			const bool bWholeAnswer = bConnectedSuccessfully && Response.IsValid() && StatusCode == 200;
			const FString CouldNotWrite = FString::Printf(TEXT("Could not write %s."), *SavePath);
			if (!bStreamed)
			{
				if (!bWholeAnswer)
				{
					OnError(BrokenDownload, StatusCode);
				}
				else if (!SaveDownload(Response->GetContent(), SavePath))
				{
					OnError(CouldNotWrite, 0);
				}
				else
				{
					OnDone();
				}
				return;
			}

			// The request keeps the writer until the request dies: it is closed here, before its file is moved or
			// removed. An empty answer still becomes an (empty) file.
			bool bWritten = !bWholeAnswer || Body->MakeFile();
			bWritten = Body->Close() && bWritten;
			if (bWholeAnswer && bWritten && MoveDownloadIntoPlace(TempPath, SavePath))
			{
				OnDone();
				return;
			}
			IFileManager::Get().Delete(*TempPath, false, false, true);
			// A write that failed cut the transfer short: that is the disk's fault, not the link's, unless the answer
			// was a refusal whose own body could not be written.
			if (bWholeAnswer || (!bWritten && (StatusCode == 0 || StatusCode == 200)))
			{
				OnError(CouldNotWrite, 0);
				return;
			}
			OnError(BrokenDownload, StatusCode);
		});
	Request->ProcessRequest();
}
}
