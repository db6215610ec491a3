// Helpers shared by the plug-in's automation tests: talking to the local Tarvoline service the tests run against,
// recording what a client call reported, chaining latent steps, and driving the module and panel. Engine API only
// outside the stand-in's guard, so the tests also run in an editor pointed at a local service (TARVOLINE_API) started
// by hand with its control endpoints allowed.

#pragma once

#if WITH_DEV_AUTOMATION_TESTS

#include "Animation/SkeletalMeshActor.h"
#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Editor.h"
#include "EngineUtils.h"
#include "Framework/Docking/TabManager.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformTime.h"
#include "HttpModule.h"
#include "Interfaces/IHttpRequest.h"
#include "Interfaces/IHttpResponse.h"
#include "Internationalization/Text.h"
#include "Misc/AutomationTest.h"
#include "Misc/Base64.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"
#include "Misc/Guid.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "STarvolinePanel.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"
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

namespace TarvolineTest
{
/** Keys the local service is seeded with: plenty of credits, and too few for any motion. */
inline const TCHAR* const DemoKey = TEXT("tv_demo_key");
inline const TCHAR* const PoorKey = TEXT("tv_poor_key");

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

/** Runs Call with TARVOLINE_API set to BaseUrl, then puts the old value back: the client reads it at each request. */
inline void WithApiUrl(const FString& BaseUrl, TFunctionRef<void()> Call)
{
	const FString Saved = FPlatformMisc::GetEnvironmentVariable(TEXT("TARVOLINE_API"));
	FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *BaseUrl);
	Call();
	FPlatformMisc::SetEnvironmentVar(TEXT("TARVOLINE_API"), *Saved);
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

/** Sends Verb to the local service's Path ("/_sim/faults", ...) with an optional JSON body; fills in on completion. */
inline TSharedRef<FExchange> Control(const FString& Verb, const FString& Path, const FString& JsonBody = FString())
{
	TSharedRef<FExchange> Exchange = MakeShared<FExchange>();
	TSharedRef<IHttpRequest, ESPMode::ThreadSafe> Request = FHttpModule::Get().CreateRequest();
	Request->SetVerb(Verb);
	Request->SetURL(ServiceUrl() + Path);
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
			*Deadline = *Deadline == 0.0 ? Now + TimeoutSeconds : *Deadline;
			if (Now > *Deadline)
			{
				Test->AddError(FString::Printf(TEXT("Timed out waiting for %s."), *What));
			}
			return Now > *Deadline;
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
			*Until = *Until == 0.0 ? Now + Seconds : *Until;
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
	/** When the service received it, in seconds of its own clock. */
	double Time = 0.0;

	/** The value of the first header of that name (any case); empty when none was sent. */
	FString Header(const FString& Name) const
	{
		const TPair<FString, FString>* Line = Headers.FindByPredicate(
			[&Name](const TPair<FString, FString>& Candidate)
			{
				return Candidate.Key.Equals(Name, ESearchCase::IgnoreCase);
			});
		return Line ? Line->Value : FString();
	}
};

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
		const TSharedPtr<FJsonObject> Object = Entry->AsObject();
		FRecordedRequest& Request = Requests.AddDefaulted_GetRef();
		Request.Method = Object->GetStringField(TEXT("method"));
		Request.Path = Object->GetStringField(TEXT("path"));
		Request.Query = Object->GetStringField(TEXT("query"));
		Request.Status = int32(Object->GetNumberField(TEXT("status")));
		Request.Time = Object->GetNumberField(TEXT("time"));
		FBase64::Decode(Object->GetStringField(TEXT("bodyBase64")), Request.Body);
		for (const TSharedPtr<FJsonValue>& Line : Object->GetArrayField(TEXT("headerList")))
		{
			const TArray<TSharedPtr<FJsonValue>>& Pair = Line->AsArray();
			Request.Headers.Emplace(Pair[0]->AsString(), Pair[1]->AsString());
		}
	}
	return Requests;
}

/** The service's clock time of each recorded request in a GET /_sim/requests answer, oldest first. */
inline TArray<double> RecordedTimes(const FString& Json)
{
	TArray<double> Times;
	for (const FRecordedRequest& Request : ParseRecordedRequests(Json))
	{
		Times.Add(Request.Time);
	}
	return Times;
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

/** A client call to make: it hands the outcome's callbacks to one client operation. */
template <typename RecordType>
using TCall = TFunction<void(const TSharedRef<TOutcome<RecordType>>&)>;

/** Enqueues arming Fault (when given), the call, a wait for its first callback and disarming what is left armed. */
template <typename RecordType>
TSharedRef<TOutcome<RecordType>> CallStep(
	FAutomationTestBase* Test, const FString& What, TCall<RecordType> Call, const FString& Fault = FString())
{
	const TSharedRef<TOutcome<RecordType>> Outcome = MakeShared<TOutcome<RecordType>>();
	if (!Fault.IsEmpty())
	{
		FaultStep(Test, Fault);
	}
	Then(
		[Call, Outcome]()
		{
			Call(Outcome);
		});
	WaitUntil(Test, What,
		[Outcome]()
		{
			return Outcome->IsDone();
		});
	if (!Fault.IsEmpty())
	{
		ControlStep(Test, TEXT("DELETE"), TEXT("/_sim/faults"));
	}
	return Outcome;
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
			*Requests = Slot->IsValid() ? ParseRecordedRequests((*Slot)->Body) : TArray<FRecordedRequest>();
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

/** A committed test model by file name, as an absolute path; a missing one fails the test with how to install it. */
inline FString TestModelFile(const FString& FileName)
{
#ifdef TARVOLINE_SOURCE_DIR
	const FString PluginDir = TEXT(TARVOLINE_SOURCE_DIR);
#else
	const FString PluginDir = FPaths::ConvertRelativePathToFull(FPaths::ProjectPluginsDir() / TEXT("Tarvoline"));
#endif
	const FString Path = FPaths::ConvertRelativePathToFull(PluginDir / TEXT("TestData/Models") / FileName);
	FAutomationTestBase* Test = FAutomationTestFramework::Get().GetCurrentTest();
	if (Test && !IFileManager::Get().FileExists(*Path))
	{
		Test->AddError(FString::Printf(TEXT("The test model %s is missing: copy the plug-in's TestData/Models "
											"folder to %s/TestData/Models to run this test."),
			*FileName, *PluginDir));
	}
	return Path;
}

/** Enqueues putting the local service back to its start: seeded accounts only, no work, faults or records. */
inline void SimResetStep(FAutomationTestBase* Test)
{
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/reset"));
}

/** Enqueues a change of the local service's clock: {"timeScale": ...} and/or {"advanceSeconds": ...}. */
inline void SimulatorTimeStep(FAutomationTestBase* Test, const FString& Json)
{
	ControlStep(Test, TEXT("POST"), TEXT("/_sim/time"), Json);
}

/** Enqueues setting how long the service's rigs and jobs created from now on take (1 = real, 0 = at once). */
inline void SimTimeScaleStep(FAutomationTestBase* Test, double Scale)
{
	SimulatorTimeStep(Test, FString::Printf(TEXT("{\"timeScale\": %g}"), Scale));
}

/** Enqueues moving the service's clock forward, which finishes the rigs and jobs under way. */
inline void SimAdvanceStep(FAutomationTestBase* Test, double Seconds)
{
	SimulatorTimeStep(Test, FString::Printf(TEXT("{\"advanceSeconds\": %g}"), Seconds));
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
			FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create((*Slot)->Body), *State);
		});
	return State;
}

/** The service's own record of a job in a state read by SimStateStep; null when it has none of that id. */
inline TSharedPtr<FJsonObject> SimJobOf(const TSharedPtr<FJsonObject>& State, const FString& JobId)
{
	const TArray<TSharedPtr<FJsonValue>>* Jobs = nullptr;
	if (State.IsValid() && State->TryGetArrayField(TEXT("jobs"), Jobs))
	{
		for (const TSharedPtr<FJsonValue>& Entry : *Jobs)
		{
			if (Entry->AsObject()->GetStringField(TEXT("id")) == JobId)
			{
				return Entry->AsObject();
			}
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
	TArray<FString> Lines;
	FFileHelper::LoadFileToString(Text, *GEditorSettingsIni);
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

/** Forgets a stored API key, so a new panel starts signed out. */
inline void ForgetStoredApiKey()
{
	GConfig->RemoveKey(TEXT("Tarvoline"), TEXT("ApiKey"), GEditorSettingsIni);
	GConfig->Flush(false, GEditorSettingsIni);
}

/** Sets the developer's stored key aside until RestoreStoredKeyStep, so that a new panel starts signed out. */
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

/** The skeletal mesh actors in the editor's level. */
inline int32 CountMeshActors()
{
	int32 Count = 0;
	for (TActorIterator<ASkeletalMeshActor> It(GEditor->GetEditorWorldContext(false).World()); It; ++It)
	{
		++Count;
	}
	return Count;
}
} // namespace TarvolineTest

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
	// Keys and namespaces are case-sensitive in the localization data, so they are compared that way here.
	return FTextInspector::GetNamespace(Text).Get(FString()).Equals(TEXT("Tarvoline"), ESearchCase::CaseSensitive) &&
		   FTextInspector::GetKey(Text).Get(FString()).Equals(Key, ESearchCase::CaseSensitive);
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

/** Enqueues upload of a model with the client and waits until the service has rigged it; the id is filled in. */
inline TSharedRef<FString> UploadRiggedCharacterStep(
	FAutomationTestBase* Test, const FString& Key, const FString& Model)
{
	TSharedRef<FString> Id = MakeShared<FString>();
	TSharedRef<TOutcome<FTarvolineCharacter>> Last = MakeShared<TOutcome<FTarvolineCharacter>>();
	Then(
		[Key, Model, Last]()
		{
			TarvolineApi::UploadModel(Key, Model, OnSuccess(Last), OnFailure(Last));
		});
	// Each finished answer that still says rigging asks again; a failure or any other state ends the wait.
	WaitUntil(Test, TEXT("the rig of ") + FPaths::GetCleanFilename(Model),
		[Key, Last, Id]()
		{
			if (!Last->IsDone())
			{
				return false;
			}
			if (!Last->Succeeded() || !Last->Record.IsRigging())
			{
				*Id = Last->Succeeded() && Last->Record.Status.Equals(TEXT("ready"), ESearchCase::IgnoreCase)
						  ? Last->Record.Id
						  : FString();
				return true;
			}
			const FString CharacterId = Last->Record.Id;
			*Last = TOutcome<FTarvolineCharacter>();
			TarvolineApi::FetchCharacter(Key, CharacterId, OnSuccess(Last), OnFailure(Last));
			return false;
		});
	Then(
		[Test, Id, Model, Last]()
		{
			if (Id->IsEmpty())
			{
				Test->AddError(FString::Printf(TEXT("%s was not rigged: %s"), *Model, *Last->Message));
			}
		});
	return Id;
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
		FChildren* Examples =
			MotionSlots && MotionSlots->Num() > 1 ? MotionSlots->GetChildAt(1)->GetChildren() : nullptr;
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
	if (Wanted.IsEmpty())
	{
		return MakeScratchDir(TEXT("Pictures"));
	}
	IFileManager::Get().MakeDirectory(*FPaths::ConvertRelativePathToFull(Wanted), true);
	return FPaths::ConvertRelativePathToFull(Wanted);
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
	HostSlate::FPicture Picture;
	FString Error;
	if (!HostSlate::SavePicture(Panel, Dir / Name, PanelWidth, 0.0f, &Error) ||
		!HostSlate::ReadPicture(Dir / Name, Picture, &Error))
	{
		Test->AddError(Name + TEXT(": ") + Error);
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
