// Helpers shared by the plug-in's automation tests: talking to the local Tarvoline service the tests run against,
// recording what a client call reported, and chaining latent steps. Engine API only, so the tests also run in an
// editor pointed at a local service (TARVOLINE_API) started by hand with its control endpoints allowed.

#pragma once

#if WITH_DEV_AUTOMATION_TESTS

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformTime.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include "Misc/AutomationTest.h"
#include "Misc/Guid.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

namespace TarvolineTest
{
/** Keys the local service is seeded with: plenty of credits, and too few for any motion. */
inline const TCHAR* const DemoKey = TEXT("tv_demo_key");
inline const TCHAR* const PoorKey = TEXT("tv_poor_key");

/** The plug-in's folder (where its TestData lives): the source tree in the stand-in, Plugins/Tarvoline in an editor. */
inline FString TestPluginDir()
{
#ifdef TARVOLINE_SOURCE_DIR
	return TEXT(TARVOLINE_SOURCE_DIR);
#else
	return FPaths::ProjectPluginsDir() / TEXT("Tarvoline");
#endif
}

/** The local service's base URL: the control address the runner exported, else TARVOLINE_API. */
inline FString ServiceUrl()
{
	FString Url = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_SIM_CONTROL"));
	if (Url.IsEmpty())
	{
		Url = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_API"));
	}
	Url.RemoveFromEnd(TEXT("/"));
	return Url;
}

/** One raw exchange with the local service, filled in when it completes. */
struct FExchange
{
	bool bDone = false;
	bool bConnected = false;
	int32 Status = 0;
	FString Body;
	TArray<uint8> Bytes;
};

/** Sends Verb Url with an optional JSON body; the returned record fills in on completion. */
inline TSharedRef<FExchange> Send(const FString& Verb, const FString& Url, const FString& JsonBody = FString())
{
	TSharedRef<FExchange> Exchange = MakeShared<FExchange>();
	TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Request = FHttpModule::Get().CreateRequest();
	Request->SetVerb(Verb);
	Request->SetURL(Url);
	if (!JsonBody.IsEmpty())
	{
		Request->SetHeader(TEXT("Content-Type"), TEXT("application/json"));
		Request->SetContentAsString(JsonBody);
	}
	Request->SetTimeout(30.0f);
	Request->OnProcessRequestComplete().BindLambda(
		[Exchange](FHttpRequestPtr, FHttpResponsePtr Response, bool bConnected)
		{
			Exchange->bDone = true;
			Exchange->bConnected = bConnected;
			if (Response.IsValid())
			{
				Exchange->Status = Response->GetResponseCode();
				Exchange->Body = Response->GetContentAsString();
				Exchange->Bytes = Response->GetContent();
			}
		});
	Request->ProcessRequest();
	return Exchange;
}

/** A request to the local service's control endpoints ("/_sim/faults", "/_sim/requests", ...). */
inline TSharedRef<FExchange> Control(const FString& Verb, const FString& Path, const FString& JsonBody = FString())
{
	return Send(Verb, ServiceUrl() + Path, JsonBody);
}

/** What one client call reported: which callback ran, how often, and with what. */
template <typename RecordType>
struct TOutcome
{
	int32 Successes = 0;
	int32 Failures = 0;
	RecordType Record;
	FString Message;
	int32 Status = -1;

	bool IsDone() const { return Successes + Failures > 0; }
	bool Succeeded() const { return Successes == 1 && Failures == 0; }
	bool Failed() const { return Successes == 0 && Failures == 1; }
};

/** A record type for operations whose success carries nothing. */
struct FNothing
{
};

/** Success and failure callbacks that fill an outcome; hand them straight to a client operation. */
template <typename RecordType>
TFunction<void(const RecordType&)> OnSuccess(const TSharedRef<TOutcome<RecordType>>& Outcome)
{
	return [Outcome](const RecordType& Record)
	{
		++Outcome->Successes;
		Outcome->Record = Record;
	};
}

inline TFunction<void()> OnDone(const TSharedRef<TOutcome<FNothing>>& Outcome)
{
	return [Outcome]()
	{
		++Outcome->Successes;
	};
}

template <typename RecordType>
TFunction<void(const FString&, int32)> OnFailure(const TSharedRef<TOutcome<RecordType>>& Outcome)
{
	return [Outcome](const FString& Message, int32 Status)
	{
		++Outcome->Failures;
		Outcome->Message = Message;
		Outcome->Status = Status;
	};
}

/** Enqueues a step that runs once, after every step enqueued before it. */
inline void Then(TFunction<void()> Step)
{
	ADD_LATENT_AUTOMATION_COMMAND(FFunctionLatentCommand(
		[Step]()
		{
			Step();
			return true;
		}));
}

/** Enqueues a wait until Done() holds; after TimeoutSeconds the test fails with What and the wait ends. */
inline void WaitUntil(
	FAutomationTestBase* Test, const FString& What, TFunction<bool()> Done, double TimeoutSeconds = 30.0)
{
	TSharedRef<double> Deadline = MakeShared<double>(0.0);
	ADD_LATENT_AUTOMATION_COMMAND(FFunctionLatentCommand(
		[Test, What, Done, Deadline, TimeoutSeconds]()
		{
			if (Done())
			{
				return true;
			}
			const double Now = FPlatformTime::Seconds();
			if (*Deadline == 0.0)
			{
				*Deadline = Now + TimeoutSeconds;
			}
			else if (Now > *Deadline)
			{
				Test->AddError(FString::Printf(TEXT("Timed out waiting for %s."), *What));
				return true;
			}
			return false;
		}));
}

/** Enqueues a wait of at least Seconds of wall time (answers that must not arrive, polls that must not run). */
inline void Idle(double Seconds)
{
	TSharedRef<double> Until = MakeShared<double>(0.0);
	ADD_LATENT_AUTOMATION_COMMAND(FFunctionLatentCommand(
		[Until, Seconds]()
		{
			const double Now = FPlatformTime::Seconds();
			if (*Until == 0.0)
			{
				*Until = Now + Seconds;
			}
			return Now >= *Until;
		}));
}

/** One API request as the local service recorded it (GET /_sim/requests). */
struct FRecordedRequest
{
	FString Method;
	FString Path;
	FString Query;
	/** Every header line as sent: name, then value. */
	TArray<TPair<FString, FString>> Headers;
	TArray<uint8> Body;
	int32 Status = 0;

	/** How many header lines of that name (any case) were sent. */
	int32 CountHeader(const FString& Name) const
	{
		int32 Count = 0;
		for (const TPair<FString, FString>& Header : Headers)
		{
			Count += Header.Key.Equals(Name, ESearchCase::IgnoreCase) ? 1 : 0;
		}
		return Count;
	}

	/** The value of the first header of that name (any case); empty when none was sent. */
	FString Header(const FString& Name) const
	{
		for (const TPair<FString, FString>& Header : Headers)
		{
			if (Header.Key.Equals(Name, ESearchCase::IgnoreCase))
			{
				return Header.Value;
			}
		}
		return FString();
	}
};

/** Standard base64, as the recorder writes bodies, back to bytes; other characters are skipped. */
inline TArray<uint8> DecodeBase64(const FString& Text)
{
	TArray<uint8> Bytes;
	uint32 Bits = 0;
	int32 BitCount = 0;
	for (const TCHAR Char : Text)
	{
		int32 Value = -1;
		if (Char >= TEXT('A') && Char <= TEXT('Z'))
		{
			Value = Char - TEXT('A');
		}
		else if (Char >= TEXT('a') && Char <= TEXT('z'))
		{
			Value = Char - TEXT('a') + 26;
		}
		else if (Char >= TEXT('0') && Char <= TEXT('9'))
		{
			Value = Char - TEXT('0') + 52;
		}
		else if (Char == TEXT('+'))
		{
			Value = 62;
		}
		else if (Char == TEXT('/'))
		{
			Value = 63;
		}
		if (Value < 0)
		{
			continue;
		}
		Bits = (Bits << 6) | uint32(Value);
		BitCount += 6;
		if (BitCount >= 8)
		{
			BitCount -= 8;
			Bytes.Add(uint8((Bits >> BitCount) & 0xFF));
		}
	}
	return Bytes;
}

/** The requests of an answer to GET /_sim/requests, oldest first. */
inline TArray<FRecordedRequest> ParseRecordedRequests(const FString& Json)
{
	TArray<FRecordedRequest> Requests;
	TSharedPtr<FJsonObject> Root;
	const TArray<TSharedPtr<FJsonValue>>* Entries = nullptr;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Json), Root) || !Root.IsValid() ||
		!Root->TryGetArrayField(TEXT("requests"), Entries))
	{
		return Requests;
	}
	for (const TSharedPtr<FJsonValue>& Entry : *Entries)
	{
		const TSharedPtr<FJsonObject>* Object = nullptr;
		if (!Entry.IsValid() || !Entry->TryGetObject(Object))
		{
			continue;
		}
		FRecordedRequest& Request = Requests.AddDefaulted_GetRef();
		(*Object)->TryGetStringField(TEXT("method"), Request.Method);
		(*Object)->TryGetStringField(TEXT("path"), Request.Path);
		(*Object)->TryGetStringField(TEXT("query"), Request.Query);
		(*Object)->TryGetNumberField(TEXT("status"), Request.Status);
		FString Body;
		(*Object)->TryGetStringField(TEXT("bodyBase64"), Body);
		Request.Body = DecodeBase64(Body);
		const TArray<TSharedPtr<FJsonValue>>* Lines = nullptr;
		if ((*Object)->TryGetArrayField(TEXT("headerList"), Lines))
		{
			for (const TSharedPtr<FJsonValue>& Line : *Lines)
			{
				const TArray<TSharedPtr<FJsonValue>>* Pair = nullptr;
				FString Name;
				FString Value;
				if (Line.IsValid() && Line->TryGetArray(Pair) && Pair->Num() == 2 && (*Pair)[0]->TryGetString(Name) &&
					(*Pair)[1]->TryGetString(Value))
				{
					Request.Headers.Emplace(Name, Value);
				}
			}
		}
	}
	return Requests;
}

/** Enqueues a request to a control endpoint and a wait for its answer; an answer other than 2xx fails the test. */
inline TSharedRef<TSharedPtr<FExchange>> ControlStep(
	FAutomationTestBase* Test, const FString& Verb, const FString& Path, const FString& JsonBody = FString())
{
	TSharedRef<TSharedPtr<FExchange>> Slot = MakeShared<TSharedPtr<FExchange>>();
	Then(
		[Slot, Verb, Path, JsonBody]()
		{
			*Slot = Control(Verb, Path, JsonBody);
		});
	const FString What = Verb + TEXT(" ") + Path;
	WaitUntil(Test, What,
		[Slot]()
		{
			return Slot->IsValid() && (*Slot)->bDone;
		});
	Then(
		[Test, Slot, What, JsonBody]()
		{
			if (Slot->IsValid() && (*Slot)->bDone && ((*Slot)->Status < 200 || (*Slot)->Status > 299))
			{
				Test->AddError(
					FString::Printf(TEXT("%s %s answered %d: %s"), *What, *JsonBody, (*Slot)->Status, *(*Slot)->Body));
			}
		});
	return Slot;
}

/** Enqueues arming faults on the local service: one fault object or a list, as its fault endpoint takes them. */
inline void FaultStep(FAutomationTestBase* Test, const FString& FaultJson)
{
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/faults"), FaultJson);
}

/** Enqueues reading the recorded API requests whose path starts with PathPrefix; the list is filled for later steps. */
inline TSharedRef<TArray<FRecordedRequest>> RecordedStep(FAutomationTestBase* Test, const FString& PathPrefix)
{
	TSharedRef<TArray<FRecordedRequest>> Requests = MakeShared<TArray<FRecordedRequest>>();
	const TSharedRef<TSharedPtr<FExchange>> Slot =
		ControlStep(Test, TEXT("GET"), TEXT("/_sim/requests?path=") + PathPrefix);
	Then(
		[Requests, Slot]()
		{
			if (Slot->IsValid())
			{
				*Requests = ParseRecordedRequests((*Slot)->Body);
			}
		});
	return Requests;
}

/** A new empty directory under the project's Saved folder for one test's files. */
inline FString MakeScratchDir(const TCHAR* Area)
{
	const FString Dir = FPaths::ConvertRelativePathToFull(
		FPaths::ProjectSavedDir() / Area / FGuid::NewGuid().ToString(EGuidFormats::Digits));
	IFileManager::Get().MakeDirectory(*Dir, true);
	return Dir;
}
} // namespace TarvolineTest

// --- Panel workflow helpers: the local service's clock, next-work controls and accounts, test models, the stored
// key. Self-contained: uses only what is above and the engine. ---

#include "Animation/SkeletalMeshActor.h"
#include "Editor.h"
#include "EngineUtils.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"
#include "Serialization/JsonWriter.h"

namespace TarvolineTest
{
/**
 * A committed test model (TestData/Models), by file name, as an absolute path. An installed plug-in has the models
 * only when they were copied beside it (see the README's install steps); without them the running test is told so
 * in plain words, rather than failing later on a file it cannot read.
 */
inline FString TestModelFile(const FString& FileName)
{
	const FString Path = FPaths::ConvertRelativePathToFull(TestPluginDir() / TEXT("TestData/Models") / FileName);
	if (!IFileManager::Get().FileExists(*Path))
	{
		if (FAutomationTestBase* Test = FAutomationTestFramework::Get().GetCurrentTest())
		{
			Test->AddError(FString::Printf(TEXT("The test model %s is missing: copy the plug-in's TestData/Models "
												"folder to %s/TestData/Models to run this test."),
				*FileName, *FPaths::ConvertRelativePathToFull(TestPluginDir())));
		}
	}
	return Path;
}

/** Enqueues putting the local service back to its start: seeded accounts only, no work, faults or records. */
inline void SimResetStep(FAutomationTestBase* Test)
{
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/reset"));
}

/** Enqueues setting how long the service's rigs and jobs created from now on take (1 = real, 0 = at once). */
inline void SimTimeScaleStep(FAutomationTestBase* Test, double Scale)
{
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/time"), FString::Printf(TEXT("{\"timeScale\": %g}"), Scale));
}

/** Enqueues moving the service's clock forward, which finishes the rigs and jobs under way. */
inline void SimAdvanceStep(FAutomationTestBase* Test, double Seconds)
{
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/time"), FString::Printf(TEXT("{\"advanceSeconds\": %g}"), Seconds));
}

/** Enqueues shaping the next rig or job the service creates ({"rig": {...}} or {"job": {...}}). */
inline void SimNextStep(FAutomationTestBase* Test, const FString& NextJson)
{
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/next"), NextJson);
}

/** Enqueues disarming every fault still armed. */
inline void SimClearFaultsStep(FAutomationTestBase* Test)
{
	ControlStep(Test, TEXT("DELETE"), TEXT("/_sim/faults"));
}

/** Enqueues creating (or resetting) an account on the service. */
inline void SimAccountStep(FAutomationTestBase* Test, const FString& Key, const FString& Email, int32 Credits)
{
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/accounts"),
		FString::Printf(TEXT("{\"key\": \"%s\", \"email\": \"%s\", \"credits\": %d}"), *Key, *Email, Credits));
}

/** Enqueues reading the service's whole state (accounts, characters, jobs); the object fills in for later steps. */
inline TSharedRef<TSharedPtr<FJsonObject>> SimStateStep(FAutomationTestBase* Test)
{
	TSharedRef<TSharedPtr<FJsonObject>> State = MakeShared<TSharedPtr<FJsonObject>>();
	const TSharedRef<TSharedPtr<FExchange>> Slot = ControlStep(Test, TEXT("GET"), TEXT("/_sim/state"));
	Then(
		[State, Slot]()
		{
			if (Slot->IsValid())
			{
				FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create((*Slot)->Body), *State);
			}
		});
	return State;
}

/** The service's own record of a job in a state read by SimStateStep; null when it has none of that id. */
inline TSharedPtr<FJsonObject> SimJobOf(const TSharedPtr<FJsonObject>& State, const FString& JobId)
{
	const TArray<TSharedPtr<FJsonValue>>* Jobs = nullptr;
	if (!State.IsValid() || !State->TryGetArrayField(TEXT("jobs"), Jobs))
	{
		return nullptr;
	}
	for (const TSharedPtr<FJsonValue>& Entry : *Jobs)
	{
		const TSharedPtr<FJsonObject>* Object = nullptr;
		FString Id;
		if (Entry.IsValid() && Entry->TryGetObject(Object) && (*Object)->TryGetStringField(TEXT("id"), Id) &&
			Id == JobId)
		{
			return *Object;
		}
	}
	return nullptr;
}

/** A fault that answers matching API requests with Status and exactly Body (JSON); Count -1 means every one. */
inline FString AnswerWithFault(
	const FString& Method, const FString& PathRegex, int32 Status, const FString& Body, int32 Count = 1)
{
	const TSharedRef<FJsonObject> Fault = MakeShared<FJsonObject>();
	Fault->SetStringField(TEXT("kind"), TEXT("status"));
	Fault->SetNumberField(TEXT("status"), Status);
	Fault->SetStringField(TEXT("body"), Body);
	Fault->SetStringField(TEXT("contentType"), TEXT("application/json"));
	Fault->SetStringField(TEXT("method"), Method);
	Fault->SetStringField(TEXT("pathRegex"), PathRegex);
	Fault->SetNumberField(TEXT("count"), Count);
	FString Text;
	FJsonSerializer::Serialize(Fault, TJsonWriterFactory<>::Create(&Text));
	return Text;
}

/** A fault that holds back the answers to matching API requests for Milliseconds; Count -1 means every one. */
inline FString DelayFault(const FString& Method, const FString& PathRegex, int32 Milliseconds, int32 Count = 1)
{
	return FString::Printf(
		TEXT("{\"kind\": \"delay\", \"delayMs\": %d, \"method\": \"%s\", \"pathRegex\": \"%s\", \"count\": %d}"),
		Milliseconds, *Method, *PathRegex, Count);
}

/** The API key stored in the editor's per-user settings; empty when there is none. */
inline FString StoredApiKey()
{
	FString Key;
	GConfig->GetString(TEXT("Tarvoline"), TEXT("ApiKey"), Key, GEditorSettingsIni);
	return Key;
}

/** Whether the editor's per-user settings file on disk holds an ApiKey entry in its [Tarvoline] section. */
inline bool SettingsFileHasApiKey()
{
	FString Text;
	if (!FFileHelper::LoadFileToString(Text, *GEditorSettingsIni))
	{
		return false;
	}
	TArray<FString> Lines;
	Text.ParseIntoArrayLines(Lines);
	bool bInSection = false;
	for (const FString& Line : Lines)
	{
		const FString Trimmed = Line.TrimStartAndEnd();
		if (Trimmed.StartsWith(TEXT("[")))
		{
			bInSection = Trimmed.Equals(TEXT("[Tarvoline]"), ESearchCase::CaseSensitive);
		}
		else if (bInSection && Trimmed.StartsWith(TEXT("ApiKey="), ESearchCase::CaseSensitive))
		{
			return true;
		}
	}
	return false;
}

/**
 * Takes the user's stored key out of the settings, so that a panel opened by the test starts signed out, and
 * enqueues nothing; RestoreStoredKeyStep puts it back once the test's other steps are done. A developer running the
 * tests in an editor keeps their key.
 */
inline TSharedRef<TOptional<FString>> SetAsideStoredKey()
{
	TSharedRef<TOptional<FString>> Saved = MakeShared<TOptional<FString>>();
	FString Key;
	if (GConfig->GetString(TEXT("Tarvoline"), TEXT("ApiKey"), Key, GEditorSettingsIni))
	{
		*Saved = Key;
	}
	GConfig->RemoveKey(TEXT("Tarvoline"), TEXT("ApiKey"), GEditorSettingsIni);
	return Saved;
}

inline void RestoreStoredKeyStep(const TSharedRef<TOptional<FString>>& Saved)
{
	Then(
		[Saved]()
		{
			if (Saved->IsSet())
			{
				GConfig->SetString(TEXT("Tarvoline"), TEXT("ApiKey"), *Saved->GetValue(), GEditorSettingsIni);
			}
			else
			{
				GConfig->RemoveKey(TEXT("Tarvoline"), TEXT("ApiKey"), GEditorSettingsIni);
			}
			GConfig->Flush(false, GEditorSettingsIni);
		});
}

/** Forgets a stored API key, so a new panel starts signed out. */
inline void ForgetStoredApiKey()
{
	GConfig->RemoveKey(TEXT("Tarvoline"), TEXT("ApiKey"), GEditorSettingsIni);
	GConfig->Flush(false, GEditorSettingsIni);
}

/** The service's clock time of each recorded request, read from a GET /_sim/requests answer, oldest first. */
inline TArray<double> RecordedTimes(const FString& Json)
{
	TArray<double> Times;
	TSharedPtr<FJsonObject> Root;
	const TArray<TSharedPtr<FJsonValue>>* Entries = nullptr;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Json), Root) || !Root.IsValid() ||
		!Root->TryGetArrayField(TEXT("requests"), Entries))
	{
		return Times;
	}
	for (const TSharedPtr<FJsonValue>& Entry : *Entries)
	{
		const TSharedPtr<FJsonObject>* Object = nullptr;
		double Time = 0.0;
		if (Entry.IsValid() && Entry->TryGetObject(Object) && (*Object)->TryGetNumberField(TEXT("time"), Time))
		{
			Times.Add(Time);
		}
	}
	return Times;
}

/** The skeletal mesh actors in the editor's level. */
inline int32 CountMeshActors()
{
	int32 Count = 0;
	UWorld* World = GEditor ? GEditor->GetEditorWorldContext(false).World() : nullptr;
	for (TActorIterator<ASkeletalMeshActor> It(World); It; ++It)
	{
		++Count;
	}
	return Count;
}
} // namespace TarvolineTest

// --- End of the panel workflow helpers. ---

#endif

// ---------------------------------------------------------------------------------------------------------------
// UI helpers: the editor module, the panel's widgets and pictures of them, shared by the module, layout and picker
// tests. What drives widgets or draws pictures needs the stand-in's driver and is compiled only there.
// ---------------------------------------------------------------------------------------------------------------

#if WITH_DEV_AUTOMATION_TESTS

#include "Framework/Docking/TabManager.h"
#include "Internationalization/Text.h"
#include "Misc/ConfigCacheIni.h"
#include "Modules/ModuleManager.h"
#include "STarvolinePanel.h"
#include "TarvolineApi.h"
#include "TarvolineEditorModule.h"
#include "Widgets/Docking/SDockTab.h"

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
#include "HostSlateDriver.h"
#include "HostSlatePicture.h"
#include "HostTimeDilation.h"
#include "Layout/Children.h"
#include "Widgets/Input/SHostEditableTextBox.h"
#endif

namespace TarvolineUiTest
{
using namespace TarvolineTest;

inline const TCHAR* const ModuleName = TEXT("TarvolineEditor");
inline const TCHAR* const PanelTabName = TEXT("Tarvoline");
inline const TCHAR* const ToolsMenuName = TEXT("LevelEditor.MainMenu.Tools");
/** The panel's designed width, in Slate units (and pixels in pictures). */
constexpr float PanelWidth = 420.0f;

/** Whether a text is the localizable text of that key in the plug-in's namespace. */
inline bool IsPluginText(const FText& Text, const FString& Key)
{
	const TOptional<FString> Namespace = FTextInspector::GetNamespace(Text);
	const TOptional<FString> TextKey = FTextInspector::GetKey(Text);
	// Keys and namespaces are case-sensitive in the localization data, so they are compared that way here.
	return Namespace.IsSet() && Namespace->Equals(TEXT("Tarvoline"), ESearchCase::CaseSensitive) && TextKey.IsSet() &&
		   TextKey->Equals(Key, ESearchCase::CaseSensitive);
}

/**
 * Starts and stops the plug-in's module. The stand-in links the module into the test program and loads and unloads
 * it through the module manager; in an editor the module's code is the tests' own library, which must not be
 * unloaded under them, so the loaded module is shut down and started again in place.
 */
inline void StartModule()
{
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	FModuleManager::Get().LoadModuleChecked(ModuleName);
#else
	FModuleManager::GetModuleChecked<FTarvolineEditorModule>(ModuleName).StartupModule();
#endif
}

inline void StopModule()
{
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	FModuleManager::Get().UnloadModule(ModuleName);
#else
	FModuleManager::GetModuleChecked<FTarvolineEditorModule>(ModuleName).ShutdownModule();
#endif
}

/** Whether the module is up; in an editor it always is (it is only restarted in place). */
inline bool IsModuleUp()
{
	return FModuleManager::Get().IsModuleLoaded(ModuleName);
}

/** Enqueues upload of a model with the client and waits until the service has rigged it; the id is filled in. */
inline TSharedRef<FString> UploadRiggedCharacterStep(
	FAutomationTestBase* Test, const FString& Key, const FString& Model)
{
	TSharedRef<FString> Id = MakeShared<FString>();
	TSharedRef<TOutcome<FTarvolineCharacter>> Upload = MakeShared<TOutcome<FTarvolineCharacter>>();
	Then(
		[Key, Model, Upload]()
		{
			TarvolineApi::UploadModel(Key, Model, OnSuccess(Upload), OnFailure(Upload));
		});
	WaitUntil(Test, TEXT("the upload of ") + FPaths::GetCleanFilename(Model),
		[Upload]()
		{
			return Upload->IsDone();
		});
	TSharedRef<TSharedPtr<TOutcome<FTarvolineCharacter>>> Poll =
		MakeShared<TSharedPtr<TOutcome<FTarvolineCharacter>>>();
	WaitUntil(Test, TEXT("the rig of ") + FPaths::GetCleanFilename(Model),
		[Key, Upload, Poll, Id]()
		{
			if (!Upload->Succeeded())
			{
				return true;
			}
			if (Poll->IsValid() && (*Poll)->IsDone())
			{
				if ((*Poll)->Succeeded() && (*Poll)->Record.Status.Equals(TEXT("ready"), ESearchCase::IgnoreCase))
				{
					*Id = (*Poll)->Record.Id;
					return true;
				}
				if (!(*Poll)->Record.IsRigging())
				{
					return true;
				}
			}
			if (!Poll->IsValid() || (*Poll)->IsDone())
			{
				*Poll = MakeShared<TOutcome<FTarvolineCharacter>>();
				TarvolineApi::FetchCharacter(
					Key, Upload->Record.Id, OnSuccess(Poll->ToSharedRef()), OnFailure(Poll->ToSharedRef()));
			}
			return false;
		});
	Then(
		[Test, Id, Model, Upload]()
		{
			if (Id->IsEmpty())
			{
				Test->AddError(FString::Printf(TEXT("%s was not rigged: %s"), *Model, *Upload->Message));
			}
		});
	return Id;
}

/** Enqueues a change of the local service's clock: {"timeScale": ...} and/or {"advanceSeconds": ...}. */
inline void SimulatorTimeStep(FAutomationTestBase* Test, const FString& Json)
{
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/time"), Json);
}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST

/** A panel made as its tab makes it, with a driver that acts on it as a person would. */
struct FPanelUnderTest
{
	TSharedRef<STarvolinePanel> Panel;
	FHostSlateDriver Driver;

	FPanelUnderTest()
		: Panel(SNew(STarvolinePanel))
		, Driver(Panel)
	{
	}

	TSharedPtr<SWidget> Find(const FString& Key) const { return Driver.FindByKey(Key); }
	bool Shows(const FString& Key) const { return Driver.IsVisible(Driver.FindByKey(Key)); }
	bool CanUse(const FString& Key) const { return Driver.CanInteract(Driver.FindButton(Key)); }
	bool Click(const FString& Key) const { return Driver.ClickByKey(Key); }
	bool TypeInto(const FString& Key, const FString& Text) const { return Driver.Type(Driver.FindTextBox(Key), Text); }
	TSharedPtr<STarvolinePanel::FCharacterCombo> Picker() const
	{
		return Driver.FindFirst<STarvolinePanel::FCharacterCombo>();
	}
	/** The example buttons, in order: the box right under the motion box holds them. */
	TArray<TSharedRef<SWidget>> ExampleButtons() const
	{
		TArray<TSharedRef<SWidget>> Buttons;
		const TSharedPtr<SWidget> PromptBox = Driver.FindTextBox(TEXT("PromptHint"));
		const TSharedPtr<SWidget> SizeBox = PromptBox.IsValid() ? PromptBox->GetParentWidget() : nullptr;
		const TSharedPtr<SWidget> MotionBox = SizeBox.IsValid() ? SizeBox->GetParentWidget() : nullptr;
		FChildren* MotionSlots = MotionBox.IsValid() ? MotionBox->GetChildren() : nullptr;
		if (!MotionSlots || MotionSlots->Num() < 2)
		{
			return Buttons;
		}
		FChildren* Examples = MotionSlots->GetChildAt(1)->GetChildren();
		for (int32 Index = 0; Examples && Index < Examples->Num(); ++Index)
		{
			Buttons.Add(Examples->GetChildAt(Index));
		}
		return Buttons;
	}
	/** What the example buttons say, in order. */
	TArray<FString> ExampleTexts() const
	{
		TArray<FString> Texts;
		for (const TSharedRef<SWidget>& Button : ExampleButtons())
		{
			Texts.Add(Driver.GetString(Button));
		}
		return Texts;
	}
};

/** Where pictures of the panel go: TARVOLINE_PICTURES_DIR when set (the pictures command), else a scratch folder. */
inline FString PictureDir()
{
	const FString Wanted = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_PICTURES_DIR"));
	if (!Wanted.IsEmpty())
	{
		const FString Dir = FPaths::ConvertRelativePathToFull(Wanted);
		IFileManager::Get().MakeDirectory(*Dir, true);
		return Dir;
	}
	return MakeScratchDir(TEXT("Pictures"));
}

/**
 * Draws the panel at its designed width into Dir/Name and checks the file: a PNG of that width, taller than a few
 * lines, and more than a handful of colours (text drawn with anti-aliasing on the dark ground gives many).
 */
inline void SavePanelPicture(
	FAutomationTestBase* Test, const TSharedRef<SWidget>& Panel, const FString& Dir, const FString& Name)
{
	if (!HostSlate::CanMakePictures())
	{
		Test->AddWarning(TEXT("This build cannot make pictures; ") + Name + TEXT(" was not drawn."));
		return;
	}
	const FString Path = Dir / Name;
	FString Error;
	if (!Test->TestTrue(
			TEXT("picture written: ") + Name, HostSlate::SavePicture(Panel, Path, PanelWidth, 0.0f, &Error)))
	{
		Test->AddError(Error);
		return;
	}
	HostSlate::FPicture Picture;
	if (!Test->TestTrue(TEXT("picture read back: ") + Name, HostSlate::ReadPicture(Path, Picture, &Error)))
	{
		Test->AddError(Error);
		return;
	}
	Test->TestEqual(TEXT("picture width: ") + Name, Picture.Width, int32(PanelWidth));
	Test->TestTrue(FString::Printf(TEXT("picture height %d: %s"), Picture.Height, *Name), Picture.Height > 100);
	const int32 Colours = Picture.CountColours();
	Test->TestTrue(FString::Printf(TEXT("picture not blank (%d colours): %s"), Colours, *Name), Colours > 16);
}

#endif // WITH_TARVOLINE_HOST
} // namespace TarvolineUiTest

#endif // WITH_DEV_AUTOMATION_TESTS
// --- End of the UI helpers. ---
