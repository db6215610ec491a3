// Automation tests of the panel's workflow against the local Tarvoline service: signing in and out, the character
// list, upload and rig, price, the job and its result, and answers that arrive after the user signed out or closed
// the panel. The panel is driven through its operations and read through its getters, as its widgets do.
//
// The service's time scale keeps rigs and jobs short. In the stand-in the core ticker also runs faster than the wall
// clock, so the panel's 3 s and 2.5 s poll intervals pass in a fraction of the time; in an editor they take their
// real length and the tests simply wait longer.

#include "Animation/AnimSequence.h"
#include "Animation/SkeletalMeshActor.h"
#include "AssetRegistry/AssetData.h"
#include "Components/SkeletalMeshComponent.h"
#include "CoreMinimal.h"
#include "Editor.h"
#include "Engine/StaticMesh.h"
#include "Engine/World.h"
#include "EngineUtils.h"
#include "HAL/FileManager.h"
#include "Misc/AutomationTest.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "STarvolinePanel.h"
#include "TarvolineApi.h"
#include "TarvolineImport.h"
#include "TarvolineService.h"
#include "TarvolineTestHelpers.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
#include "EditorFramework/AssetImportData.h"
#include "HostContentBrowser.h"
#include "HostDesktopPlatform.h"
#include "HostEngine.h"
#include "HostSlateDriver.h"
#include "HostTimeDilation.h"
#endif

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolinePanelTest
{
using namespace TarvolineTest;

/** The panel under test, shared by the steps of one test; resetting it destroys the panel. */
using FPanelSlot = TSharedRef<TSharedPtr<STarvolinePanel>>;

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
/** How much faster than the wall clock the stand-in's core ticker runs during these tests. */
constexpr float TickerSpeedUp = 25.0f;
#else
constexpr float TickerSpeedUp = 1.0f;
#endif

/** Wall seconds that a ticker delay of Seconds takes. */
double TickerWall(double Seconds)
{
	return Seconds / TickerSpeedUp;
}

const TCHAR* const Building = TEXT("Building its skeleton. About a minute.");
const TCHAR* const BrokenLink = TEXT("The download link did not work. Press Check again.");
const TCHAR* const Presets = TEXT("Made with presets: the motion model was busy. Nothing extra was charged.");

FString KeyRefused()
{
	return FString::Printf(
		TEXT("That API key was not accepted. Make a new one at %s/account."), TarvolineApi::TarvolineSiteHost);
}

FString Answered(int32 Status)
{
	return FString::Printf(TEXT("Tarvoline answered %d. Try again, or write to us if it keeps happening."), Status);
}

void TestText(FAutomationTestBase* Test, const FString& What, const FString& Actual, const FString& Expected)
{
	if (!Actual.Equals(Expected, ESearchCase::CaseSensitive))
	{
		Test->AddError(FString::Printf(TEXT("%s: got \"%s\", expected \"%s\"."), *What, *Actual, *Expected));
	}
}

/** Enqueues the start of every panel test: a fresh service, no stored key (the developer's is set aside until
 *  EndStep), the stand-in's records emptied. */
TSharedRef<TOptional<FString>> BeginStep(FAutomationTestBase* Test, double TimeScale = 0.0)
{
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	SimResetStep(Test);
	SimTimeScaleStep(Test, TimeScale);
	Then(
		[]()
		{
			ForgetStoredApiKey();
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			HostEditorLoop::SetTimeDilation(TickerSpeedUp);
			HostEngine::ClearLaunchedUrls();
			HostContentBrowser::Reset();
			HostDesktopPlatform::Reset();
#endif
		});
	return SavedKey;
}

/** Enqueues the end of every panel test: the developer's key back, the ticker at its own speed. */
void EndStep(const TSharedRef<TOptional<FString>>& SavedKey)
{
	Then(
		[]()
		{
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			HostEditorLoop::SetTimeDilation(1.0f);
#endif
		});
	RestoreStoredKeyStep(SavedKey);
}

/** Enqueues one operation of the panel, as its button runs it. */
void Act(const FPanelSlot& Slot, void (STarvolinePanel::*Operation)())
{
	Then(
		[Slot, Operation]()
		{
			((**Slot).*Operation)();
		});
}

/** Enqueues building a new panel, as opening its tab does. */
FPanelSlot NewPanelStep()
{
	FPanelSlot Slot = MakeShared<TSharedPtr<STarvolinePanel>>();
	Then(
		[Slot]()
		{
			*Slot = SNew(STarvolinePanel);
		});
	return Slot;
}

/** Enqueues a wait until the panel's work has ended (or the panel is gone). */
void WaitIdle(FAutomationTestBase* Test, const FPanelSlot& Slot, const FString& What)
{
	WaitUntil(
		Test, What,
		[Slot]()
		{
			return !Slot->IsValid() || !(*Slot)->IsBusy();
		},
		90.0);
}

/** Enqueues one operation of the panel and a wait until the work it started has ended. */
void ActAndWait(
	FAutomationTestBase* Test, const FPanelSlot& Slot, void (STarvolinePanel::*Operation)(), const FString& What)
{
	Act(Slot, Operation);
	WaitIdle(Test, Slot, What);
}

/** Enqueues typing a key and pressing Connect, then a wait for the sign-in to end. */
void SignInStep(FAutomationTestBase* Test, const FPanelSlot& Slot, const FString& Key = DemoKey)
{
	Then(
		[Slot, Key]()
		{
			(*Slot)->OnKeyChanged(FText::FromString(Key));
			(*Slot)->Connect();
		});
	WaitIdle(Test, Slot, TEXT("the sign-in"));
}

/** Enqueues uploading a test model through the panel and a wait for its rig to end. */
void RigStep(FAutomationTestBase* Test, const FPanelSlot& Slot, const FString& FileName)
{
	Then(
		[Slot, FileName]()
		{
			(*Slot)->UploadFile(TestModelFile(FileName));
		});
	WaitIdle(Test, Slot, TEXT("the rig of ") + FileName);
	Then(
		[Test, Slot, FileName]()
		{
			const TSharedPtr<FTarvolineCharacter>& Selected = (*Slot)->GetSelectedCharacter();
			if (!Selected.IsValid() || Selected->Filename != FileName || !(*Slot)->GetError().IsEmpty())
			{
				Test->AddError(FString::Printf(TEXT("Rigging %s ended with \"%s\"."), *FileName, *(*Slot)->GetError()));
			}
		});
}

/** Enqueues uploading a test model with the client alone (no panel) and a wait for the answer. */
TSharedRef<TOutcome<FTarvolineCharacter>> ClientUploadStep(
	FAutomationTestBase* Test, const FString& FileName, const FString& Key = DemoKey)
{
	const TSharedRef<TOutcome<FTarvolineCharacter>> Outcome = MakeShared<TOutcome<FTarvolineCharacter>>();
	Then(
		[Outcome, FileName, Key]()
		{
			TarvolineApi::UploadModel(Key, TestModelFile(FileName), OnSuccess(Outcome), OnFailure(Outcome));
		});
	WaitUntil(Test, TEXT("the upload of ") + FileName,
		[Outcome]()
		{
			return Outcome->IsDone();
		});
	return Outcome;
}

/** Enqueues arming a fault whose text is only known when the step runs (ids of earlier answers). */
void LazyFaultStep(FAutomationTestBase* Test, TFunction<FString()> MakeFault)
{
	const TSharedRef<TSharedPtr<FExchange>> Exchange = MakeShared<TSharedPtr<FExchange>>();
	Then(
		[Exchange, MakeFault]()
		{
			*Exchange = Control(TEXT("POST"), TEXT("/_sim/faults"), MakeFault());
		});
	WaitUntil(Test, TEXT("arming a fault"),
		[Exchange]()
		{
			return Exchange->IsValid() && (*Exchange)->bDone;
		});
	Then(
		[Test, Exchange]()
		{
			if ((*Exchange)->Status < 200 || (*Exchange)->Status > 299)
			{
				Test->AddError(
					FString::Printf(TEXT("Arming a fault answered %d: %s"), (*Exchange)->Status, *(*Exchange)->Body));
			}
		});
}

/** The panel's character of that file name; null when it lists none. */
TSharedPtr<FTarvolineCharacter> CharacterNamed(const STarvolinePanel& Panel, const FString& FileName)
{
	for (const TSharedPtr<FTarvolineCharacter>& Entry : Panel.GetCharacters())
	{
		if (Entry->Filename == FileName)
		{
			return Entry;
		}
	}
	return nullptr;
}

FString FileNamesOf(const STarvolinePanel& Panel)
{
	TArray<FString> Names;
	for (const TSharedPtr<FTarvolineCharacter>& Entry : Panel.GetCharacters())
	{
		Names.Add(Entry->Filename);
	}
	return FString::Join(Names, TEXT(", "));
}

FString SelectedName(const STarvolinePanel& Panel)
{
	return Panel.GetSelectedCharacter().IsValid() ? Panel.GetSelectedCharacter()->Filename : FString();
}

/** A recorded request body as text. */
FString BodyText(const TArray<uint8>& Bytes)
{
	const FUTF8ToTCHAR Converted(reinterpret_cast<const ANSICHAR*>(Bytes.GetData()), Bytes.Num());
	return FString(Converted.Length(), Converted.Get());
}

/** "GET /v1/assets" lines of the recorded requests, for failure messages. */
FString Describe(const TArray<FRecordedRequest>& Requests)
{
	TArray<FString> Lines;
	for (const FRecordedRequest& Request : Requests)
	{
		Lines.Add(Request.Method + TEXT(" ") + Request.Path);
	}
	return FString::Join(Lines, TEXT("; "));
}

int32 CountRequests(const TArray<FRecordedRequest>& Requests, const FString& Method, const FString& PathPrefix)
{
	int32 Count = 0;
	for (const FRecordedRequest& Request : Requests)
	{
		Count += Request.Method == Method && Request.Path.StartsWith(PathPrefix) ? 1 : 0;
	}
	return Count;
}

/** Where the panel downloads the file of a job with this prompt and id. */
FString DownloadPathFor(const FString& Prompt, const FString& JobId)
{
	return FPaths::Combine(FPaths::ProjectSavedDir(), TEXT("Tarvoline"),
		FString::Printf(TEXT("%s_%s.fbx"), *MakeAssetName(Prompt, 48), *JobId.Left(8)));
}
} // namespace TarvolinePanelTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelConnectTest, "Tarvoline.Panel.ConnectStoresKeyAndLists",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelConnectTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);

	// Without a stored key a new panel sends nothing and waits signed out.
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
	const FPanelSlot First = NewPanelStep();
	Idle(0.3);
	const TSharedRef<TArray<FRecordedRequest>> Before = RecordedStep(this, TEXT("/"));
	Then(
		[this, First, Before]()
		{
			TestEqual(TEXT("requests of a panel without a key"), Before->Num(), 0);
			TestFalse(TEXT("signed out"), (*First)->GetAccount().IsSet());
			TestFalse(TEXT("not busy"), (*First)->IsBusy());
			TestTrue(TEXT("no status"), (*First)->GetStatus().IsEmpty());
			TestTrue(TEXT("key box shown"), (*First)->GetSignedOutVisibility() == EVisibility::Visible);

			// Blanks around a pasted key are not part of it, and nothing is stored before the service accepts it.
			(*First)->OnKeyChanged(FText::FromString(TEXT("  tv_demo_key \n")));
			TestText(this, TEXT("trimmed key"), (*First)->GetApiKey(), DemoKey);
			(*First)->Connect();
			TestText(this, TEXT("status while connecting"), (*First)->GetStatus(), TEXT("Connecting..."));
			TestTrue(TEXT("busy while connecting"), (*First)->IsBusy());
			TestFalse(TEXT("Connect disabled while connecting"), (*First)->CanConnect());
			TestTrue(TEXT("no key stored before the answer"), StoredApiKey().IsEmpty());
		});
	WaitIdle(this, First, TEXT("the sign-in"));
	Then(
		[this, First]()
		{
			TestTrue(TEXT("signed in"), (*First)->GetAccount().IsSet());
			TestText(this, TEXT("account line"), (*First)->GetAccountText().ToString(),
				TEXT("demo@tarvoline.test - 1000 credits"));
			TestTrue(TEXT("signed-in rows shown"), (*First)->GetSignedInVisibility() == EVisibility::Visible);
			TestTrue(TEXT("status cleared"), (*First)->GetStatus().IsEmpty());
			TestTrue(TEXT("no error"), (*First)->GetError().IsEmpty());
			TestEqual(TEXT("no characters yet"), (*First)->GetCharacters().Num(), 0);
			TestFalse(TEXT("nothing selected"), (*First)->GetSelectedCharacter().IsValid());
			TestText(this, TEXT("stored key"), StoredApiKey(), DemoKey);
			TestTrue(TEXT("key written to the settings file at once"), SettingsFileHasApiKey());
		});

	// Characters: one rigged, one whose rig failed, one still rigging. Only the rigged one is listed.
	ClientUploadStep(this, TEXT("humanoid_mesh.fbx"));
	ClientUploadStep(this, TEXT("not_a_model.fbx"));
	SimTimeScaleStep(this, 1000.0);
	ClientUploadStep(this, TEXT("quadruped_mesh.glb"));

	// A second panel finds the stored key and signs in by itself, showing "Connecting..." at once.
	const FPanelSlot Second = MakeShared<TSharedPtr<STarvolinePanel>>();
	Then(
		[this, Second]()
		{
			*Second = SNew(STarvolinePanel);
			TestText(this, TEXT("second panel's key"), (*Second)->GetApiKey(), DemoKey);
			TestText(this, TEXT("second panel connects at once"), (*Second)->GetStatus(), TEXT("Connecting..."));
			TestTrue(TEXT("second panel busy"), (*Second)->IsBusy());
		});
	WaitIdle(this, Second, TEXT("the second panel's sign-in"));
	Then(
		[this, Second]()
		{
			const STarvolinePanel& Panel = **Second;
			TestTrue(TEXT("second panel signed in"), Panel.GetAccount().IsSet());
			TestText(this, TEXT("second panel's account line"), Panel.GetAccountText().ToString(),
				TEXT("demo@tarvoline.test - 1000 credits"));
			TestText(this, TEXT("listed characters"), FileNamesOf(Panel), TEXT("humanoid_mesh.fbx"));
			TestText(this, TEXT("the only rigged one is selected"), SelectedName(Panel), TEXT("humanoid_mesh.fbx"));
			TestTrue(TEXT("second panel's error line"), Panel.GetError().IsEmpty());

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			// The site's pages open on the site, not on the API address the tests point the client at.
			(*Second)->OpenAccountPage();
			(*Second)->OpenCreditsPage();
			const TArray<FString> Urls = HostEngine::GetLaunchedUrls();
			TestEqual(TEXT("pages opened"), Urls.Num(), 2);
			if (Urls.Num() == 2)
			{
				TestText(this, TEXT("account page"), Urls[0], FString(TarvolineSiteUrl) + TEXT("/account"));
				TestText(this, TEXT("credits page"), Urls[1], FString(TarvolineSiteUrl) + TEXT("/credits"));
			}
#endif
		});
	EndStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelRefusedKeyTest, "Tarvoline.Panel.RefusedKeyAndSignOut",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelRefusedKeyTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);

	// A key the service refuses: its own sentence when it gives one, else the panel's; still signed out, nothing
	// stored.
	const FPanelSlot Slot = NewPanelStep();
	SignInStep(this, Slot, TEXT("tv_wrong_key"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("refused key, service's sentence"), (*Slot)->GetError(), TEXT("Invalid API key."));
			TestFalse(TEXT("signed out after a refused key"), (*Slot)->GetAccount().IsSet());
			TestTrue(TEXT("no status after a refused key"), (*Slot)->GetStatus().IsEmpty());
			TestTrue(TEXT("no key stored"), StoredApiKey().IsEmpty());
			TestFalse(TEXT("settings file without a key"), SettingsFileHasApiKey());
			TestTrue(TEXT("Connect enabled again"), (*Slot)->CanConnect());
		});
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/auth/me$"), 401, FString()));
	SignInStep(this, Slot, TEXT("tv_wrong_key"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("refused key without a sentence"), (*Slot)->GetError(), KeyRefused());
			TestFalse(TEXT("still signed out"), (*Slot)->GetAccount().IsSet());
			TestTrue(TEXT("still no key stored"), StoredApiKey().IsEmpty());
		});

	// The key is edited while Connect is under way, in case only or more: the answer was for another key, so
	// nothing is stored and the user is asked to connect again.
	for (const TCHAR* Edited : {TEXT("TV_DEMO_KEY"), TEXT("tv_demo_key2")})
	{
		FaultStep(this, DelayFault(TEXT("GET"), TEXT("^/v1/auth/me$"), 300));
		Then(
			[Slot, Edited]()
			{
				(*Slot)->OnKeyChanged(FText::FromString(DemoKey));
				(*Slot)->Connect();
				(*Slot)->OnKeyChanged(FText::FromString(Edited));
			});
		WaitIdle(this, Slot, TEXT("the sign-in of an edited key"));
		Then(
			[this, Slot, Edited]()
			{
				const FString What = FString(TEXT("edited to ")) + Edited + TEXT(": ");
				TestText(this, What + TEXT("error line"), (*Slot)->GetError(),
					TEXT("The key changed while connecting. Press Connect again."));
				TestFalse(What + TEXT("not signed in"), (*Slot)->GetAccount().IsSet());
				TestTrue(What + TEXT("nothing stored"), StoredApiKey().IsEmpty() && !SettingsFileHasApiKey());
				TestText(this, What + TEXT("the edit stays in the box"), (*Slot)->GetApiKey(), Edited);
			});
	}

	// Signed in with a good key and a character; a later 401 (here from the list) signs the panel out but keeps the
	// stored key, and a refused key typed afterwards does not replace it.
	SignInStep(this, Slot);
	RigStep(this, Slot, TEXT("humanoid_mesh.fbx"));
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/assets$"), 401, TEXT("{}")));
	ActAndWait(this, Slot, &STarvolinePanel::OnRefreshClicked, TEXT("the refused list"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("401 from the list"), (*Slot)->GetError(), KeyRefused());
			TestFalse(TEXT("signed out by a later 401"), (*Slot)->GetAccount().IsSet());
			TestText(this, TEXT("key kept in the box"), (*Slot)->GetApiKey(), DemoKey);
			TestText(this, TEXT("key kept in the settings"), StoredApiKey(), DemoKey);
		});
	SignInStep(this, Slot, TEXT("tv_wrong_key"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("second refusal"), (*Slot)->GetError(), TEXT("Invalid API key."));
			TestText(this, TEXT("stored key untouched by a refused one"), StoredApiKey(), DemoKey);
		});

	// Sign out with a price, a finished job and its clip: all of it goes, the status and error lines stay.
	SignInStep(this, Slot);
	Then(
		[Slot]()
		{
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("waves")));
			(*Slot)->MakeAnimation();
		});
	WaitIdle(this, Slot, TEXT("the job"));
	ActAndWait(this, Slot, &STarvolinePanel::CheckPrice, TEXT("the price"));
	FaultStep(this, AnswerWithFault(TEXT("POST"), TEXT("^/v1/plan$"), 500, FString()));
	Then(
		[this, Slot]()
		{
			TestTrue(TEXT("a clip before signing out"), (*Slot)->GetLastImport().Clip.IsValid());
			TestTrue(TEXT("a price before signing out"), (*Slot)->GetPlan().IsSet());
			(*Slot)->CheckPrice();
		});
	WaitIdle(this, Slot, TEXT("the failed price"));
	Then(
		[this, Slot]()
		{
			STarvolinePanel& Panel = **Slot;
			const FString Error = Panel.GetError();
			TestText(this, TEXT("failed price"), Error, Answered(500));
			const FString Status = Panel.GetStatus();
			Panel.SignOut();
			TestTrue(TEXT("key box emptied"), Panel.GetApiKey().IsEmpty());
			TestTrue(TEXT("stored key removed"), StoredApiKey().IsEmpty());
			TestFalse(TEXT("settings file without the key"), SettingsFileHasApiKey());
			TestFalse(TEXT("account gone"), Panel.GetAccount().IsSet());
			TestTrue(TEXT("account line empty"), Panel.GetAccountText().IsEmpty());
			TestEqual(TEXT("characters gone"), Panel.GetCharacters().Num(), 0);
			TestFalse(TEXT("selection gone"), Panel.GetSelectedCharacter().IsValid());
			TestText(this, TEXT("picker face"), Panel.GetSelectedCharacterText().ToString(),
				TEXT("No characters yet. Upload one below."));
			TestFalse(TEXT("price gone"), Panel.GetPlan().IsSet());
			TestFalse(TEXT("job gone"), Panel.GetJob().IsSet());
			TestFalse(TEXT("clip gone"), Panel.GetLastImport().Clip.IsValid());
			TestTrue(TEXT("folder gone"), Panel.GetLastImport().FolderPath.IsEmpty());
			TestTrue(TEXT("price area hidden"), Panel.GetPriceVisibility() == EVisibility::Collapsed);
			TestTrue(TEXT("progress area hidden"), Panel.GetProgressVisibility() == EVisibility::Collapsed);
			TestTrue(TEXT("result area hidden"), Panel.GetResultVisibility() == EVisibility::Collapsed);
			TestTrue(TEXT("Check again hidden"), Panel.GetCheckAgainVisibility() == EVisibility::Collapsed);
			TestText(this, TEXT("error line kept"), Panel.GetError(), Error);
			TestText(this, TEXT("status line kept"), Panel.GetStatus(), Status);
			TestTrue(TEXT("key box shown after signing out"), Panel.GetSignedOutVisibility() == EVisibility::Visible);
		});

	// The next panel has no key and sends nothing.
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
	const FPanelSlot Next = NewPanelStep();
	Idle(0.3);
	const TSharedRef<TArray<FRecordedRequest>> Sent = RecordedStep(this, TEXT("/"));
	Then(
		[this, Next, Sent]()
		{
			TestEqual(TEXT("requests of the next panel"), Sent->Num(), 0);
			TestFalse(TEXT("next panel signed out"), (*Next)->GetAccount().IsSet());
		});
	EndStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelRefreshTest, "Tarvoline.Panel.RefreshKeepsSelection",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelRefreshTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = NewPanelStep();
	SignInStep(this, Slot);
	ClientUploadStep(this, TEXT("humanoid_mesh.fbx"));
	ClientUploadStep(this, TEXT("quadruped_mesh.fbx"));
	ActAndWait(this, Slot, &STarvolinePanel::OnRefreshClicked, TEXT("the first refresh"));

	// The second character is chosen and priced; another character arrives and the balance changes meanwhile.
	Then(
		[this, Slot]()
		{
			STarvolinePanel& Panel = **Slot;
			TestText(this, TEXT("oldest first, first selected"), SelectedName(Panel), TEXT("humanoid_mesh.fbx"));
			Panel.OnCharacterSelected(CharacterNamed(Panel, TEXT("quadruped_mesh.fbx")), ESelectInfo::OnMouseClick);
			TestText(this, TEXT("chosen"), SelectedName(Panel), TEXT("quadruped_mesh.fbx"));
			Panel.OnPromptChanged(FText::FromString(TEXT("trots forward")));
			Panel.CheckPrice();
		});
	WaitIdle(this, Slot, TEXT("the price"));
	ClientUploadStep(this, TEXT("bird_mesh.fbx"));
	SimAccountStep(this, DemoKey, TEXT("demo@tarvoline.test"), 777);
	const TSharedRef<FString> ChosenId = MakeShared<FString>();
	Then(
		[this, Slot, ChosenId]()
		{
			TestTrue(TEXT("priced"), (*Slot)->GetPlan().IsSet());
			*ChosenId = (*Slot)->GetSelectedCharacter()->Id;
			(*Slot)->OnRefreshClicked();
			TestTrue(TEXT("busy while refreshing"), (*Slot)->IsBusy());
		});
	WaitIdle(this, Slot, TEXT("the second refresh"));
	Then(
		[this, Slot, ChosenId]()
		{
			STarvolinePanel& Panel = **Slot;
			TestText(this, TEXT("all three listed"), FileNamesOf(Panel),
				TEXT("humanoid_mesh.fbx, quadruped_mesh.fbx, bird_mesh.fbx"));
			TestText(this, TEXT("selection kept by id"), Panel.GetSelectedCharacter()->Id, *ChosenId);
			TestTrue(TEXT("selection is an entry of the new list"),
				Panel.GetCharacters().Contains(Panel.GetSelectedCharacter()));
			TestTrue(TEXT("price kept by a refresh"), Panel.GetPlan().IsSet());
			TestText(this, TEXT("balance read again"), Panel.GetAccountText().ToString(),
				TEXT("demo@tarvoline.test - 777 credits"));

			// Choosing what is chosen, or nothing, keeps the price; choosing another drops it.
			Panel.OnCharacterSelected(Panel.GetSelectedCharacter(), ESelectInfo::OnMouseClick);
			TestTrue(TEXT("price kept when the same is chosen"), Panel.GetPlan().IsSet());
			Panel.OnCharacterSelected(nullptr, ESelectInfo::Direct);
			TestTrue(TEXT("selection kept on a null choice"), Panel.GetSelectedCharacter().IsValid());
			TestTrue(TEXT("price kept on a null choice"), Panel.GetPlan().IsSet());
		});

	// The chosen character disappears: the first is selected. A status in capitals still counts as ready.
	LazyFaultStep(this,
		[Slot]()
		{
			const TSharedPtr<FTarvolineCharacter> Bird = CharacterNamed(**Slot, TEXT("bird_mesh.fbx"));
			const TSharedPtr<FTarvolineCharacter> Human = CharacterNamed(**Slot, TEXT("humanoid_mesh.fbx"));
			const FString Shrunk = FString::Printf(
				TEXT("[{\"id\": \"%s\", \"filename\": \"bird_mesh.fbx\", \"status\": \"READY\", \"family\": \"bird\"}, "
					 "{\"id\": \"%s\", \"filename\": \"humanoid_mesh.fbx\", \"status\": \"ready\", \"family\": "
					 "\"humanoid\"}]"),
				Bird.IsValid() ? *Bird->Id : TEXT(""), Human.IsValid() ? *Human->Id : TEXT(""));
			return AnswerWithFault(TEXT("GET"), TEXT("^/v1/assets$"), 200, Shrunk);
		});
	Act(Slot, &STarvolinePanel::OnRefreshClicked);
	WaitUntil(this, TEXT("the shrunk list"),
		[Slot]()
		{
			return (*Slot)->GetCharacters().Num() == 2 && !(*Slot)->IsBusy();
		});
	Then(
		[this, Slot]()
		{
			TestText(
				this, TEXT("capitals count as ready"), FileNamesOf(**Slot), TEXT("bird_mesh.fbx, humanoid_mesh.fbx"));
			TestText(this, TEXT("gone: the first is selected"), SelectedName(**Slot), TEXT("bird_mesh.fbx"));
		});

	// An empty list selects nothing; a failed list keeps the account and says why.
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/assets$"), 200, TEXT("[]")));
	ActAndWait(this, Slot, &STarvolinePanel::OnRefreshClicked, TEXT("the empty list"));
	Then(
		[this, Slot]()
		{
			TestEqual(TEXT("empty list"), (*Slot)->GetCharacters().Num(), 0);
			TestFalse(TEXT("nothing selected"), (*Slot)->GetSelectedCharacter().IsValid());
		});
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/assets$"), 503, FString()));
	ActAndWait(this, Slot, &STarvolinePanel::OnRefreshClicked, TEXT("the failed list"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("failed list"), (*Slot)->GetError(), Answered(503));
			TestTrue(TEXT("still signed in"), (*Slot)->GetAccount().IsSet());
			TestText(this, TEXT("key still stored"), StoredApiKey(), DemoKey);
		});
	EndStep(SavedKey);
	return true;
}

namespace TarvolinePanelTest
{
/** One moment at which a request or a poll of the panel is outstanding. */
struct FOutstanding
{
	/** What is outstanding, for messages. */
	FString Name;
	/** Whether the panel is signed in (with a rigged character and a prompt) before Start. */
	bool bSignedIn = true;
	/** The service's time scale for the work Start creates. */
	double TimeScale = 0.0;
	/** Faults armed before Start, holding back the answer that is to arrive late. */
	FString Fault;
	/** Starts the work. */
	TFunction<void(STarvolinePanel&)> Start;
	/** True once the request is under way (or the poll is scheduled); the panel is then signed out or closed. */
	TFunction<bool(const STarvolinePanel&)> IsOutstanding;
	/** The last request the service may see: the outstanding one, or the last one answered before. */
	FString LastRequest;
};

/** How long a held-back answer is held back. */
constexpr int32 HoldMs = 150;

TArray<FOutstanding> OutstandingMoments()
{
	const auto Always = [](const STarvolinePanel&)
	{
		return true;
	};
	const auto Upload = [](STarvolinePanel& Panel)
	{
		Panel.UploadFile(TestModelFile(TEXT("frog_mesh.fbx")));
	};
	const auto Make = [](STarvolinePanel& Panel)
	{
		Panel.MakeAnimation();
	};
	const auto HasJob = [](const STarvolinePanel& Panel)
	{
		return Panel.GetJob().IsSet();
	};
	// The job read is sent one poll interval after the job arrives; its answer is held back beyond that.
	const int32 PollHoldMs = HoldMs + int32(TickerWall(2.5) * 1000.0) + 200;

	TArray<FOutstanding> Moments;
	Moments.Add({TEXT("sign-in"), false, 0.0, DelayFault(TEXT("GET"), TEXT("^/v1/auth/me$"), HoldMs),
		[](STarvolinePanel& Panel)
		{
			Panel.OnKeyChanged(FText::FromString(DemoKey));
			Panel.Connect();
		},
		Always, TEXT("GET /v1/auth/me")});
	Moments.Add({TEXT("character list"), true, 0.0, DelayFault(TEXT("GET"), TEXT("^/v1/assets$"), HoldMs),
		[](STarvolinePanel& Panel)
		{
			Panel.OnRefreshClicked();
		},
		Always, TEXT("GET /v1/assets")});
	Moments.Add({TEXT("upload"), true, 0.0, DelayFault(TEXT("POST"), TEXT("^/v1/assets$"), HoldMs), Upload, Always,
		TEXT("POST /v1/assets")});
	Moments.Add({TEXT("rig read"), true, 0.0, DelayFault(TEXT("GET"), TEXT("^/v1/assets/"), HoldMs), Upload,
		[](const STarvolinePanel& Panel)
		{
			return Panel.GetStatus() == Building;
		},
		TEXT("GET /v1/assets/")});
	Moments.Add({TEXT("scheduled rig read"), true, 1000.0, FString(), Upload,
		[](const STarvolinePanel& Panel)
		{
			return Panel.GetStatus() == Building;
		},
		TEXT("GET /v1/assets/")});
	Moments.Add({TEXT("price"), true, 0.0, DelayFault(TEXT("POST"), TEXT("^/v1/plan$"), HoldMs),
		[](STarvolinePanel& Panel)
		{
			Panel.CheckPrice();
		},
		Always, TEXT("POST /v1/plan")});
	Moments.Add({TEXT("generate"), true, 0.0, DelayFault(TEXT("POST"), TEXT("^/v1/generate$"), HoldMs), Make, Always,
		TEXT("POST /v1/generate")});
	Moments.Add({TEXT("scheduled job read"), true, 1000.0, FString(), Make, HasJob, TEXT("POST /v1/generate")});
	Moments.Add({TEXT("job read"), true, 1000.0, DelayFault(TEXT("GET"), TEXT("^/v1/jobs/"), PollHoldMs),
		[](STarvolinePanel& Panel)
		{
			Panel.MakeAnimation();
		},
		// Past the job's first answer and one poll interval: the read is on its way.
		[Started = MakeShared<double>(0.0)](const STarvolinePanel& Panel)
		{
			if (!Panel.GetJob().IsSet())
			{
				return false;
			}
			const double Now = FPlatformTime::Seconds();
			*Started = *Started == 0.0 ? Now : *Started;
			return Now - *Started > TickerWall(2.5) + 0.1;
		},
		TEXT("GET /v1/jobs/")});
	Moments.Add({TEXT("result read"), true, 0.0, DelayFault(TEXT("GET"), TEXT("^/v1/jobs/"), HoldMs, -1), Make,
		[](const STarvolinePanel& Panel)
		{
			return Panel.GetJob().IsSet() && Panel.GetJob()->Status == TEXT("succeeded");
		},
		TEXT("GET /v1/jobs/")});
	Moments.Add({TEXT("download"), true, 0.0, DelayFault(TEXT("GET"), TEXT("^/downloads/"), HoldMs), Make,
		[](const STarvolinePanel& Panel)
		{
			return Panel.GetStatus() == TEXT("Downloading...");
		},
		TEXT("GET /downloads/")});
	return Moments;
}

/** Runs every outstanding moment on a panel of its own, ending it by signing out or by closing the panel. */
void RunOutstandingMoments(FAutomationTestBase* Test, bool bClose)
{
	const auto SavedKey = BeginStep(Test);
	const FPanelSlot Setup = NewPanelStep();
	SignInStep(Test, Setup);
	RigStep(Test, Setup, TEXT("humanoid_mesh.fbx"));
	Then(
		[Setup]()
		{
			Setup->Reset();
		});

	// Late answers and polls that would wrongly go on have had time to arrive when this has passed.
	const double Settle = HoldMs / 1000.0 + 1.5 * TickerWall(3.0) + 0.15;
	// A closed panel drops every late answer through the same guard, so there one moment of each kind of callback (a
	// client answer, a ticker step, a download with its import) is enough.
	const TArray<FString> WhenClosed = {TEXT("sign-in"), TEXT("rig read"), TEXT("scheduled rig read"),
		TEXT("scheduled job read"), TEXT("job read"), TEXT("download")};
	double TimeScale = 0.0;
	for (const FOutstanding& Moment : OutstandingMoments())
	{
		if (bClose && !WhenClosed.Contains(Moment.Name))
		{
			continue;
		}
		SimClearFaultsStep(Test);
		if (TimeScale != 0.0)
		{
			SimTimeScaleStep(Test, 0.0);
		}
		const FPanelSlot Slot = MakeShared<TSharedPtr<STarvolinePanel>>();
		Then(
			[Slot]()
			{
				ForgetStoredApiKey();
				*Slot = SNew(STarvolinePanel);
			});
		if (Moment.bSignedIn)
		{
			SignInStep(Test, Slot);
			Then(
				[Slot]()
				{
					(*Slot)->OnPromptChanged(FText::FromString(TEXT("waves")));
				});
		}
		TimeScale = Moment.TimeScale;
		if (TimeScale != 0.0)
		{
			SimTimeScaleStep(Test, TimeScale);
		}
		if (!Moment.Fault.IsEmpty())
		{
			FaultStep(Test, Moment.Fault);
		}
		Then(
			[Slot, Moment]()
			{
				Moment.Start(**Slot);
			});
		WaitUntil(Test, Moment.Name + TEXT(" under way"),
			[Slot, Moment]()
			{
				return Moment.IsOutstanding(**Slot);
			});
		const TSharedRef<TWeakPtr<STarvolinePanel>> Closed = MakeShared<TWeakPtr<STarvolinePanel>>();
		Then(
			[Slot, Closed, bClose]()
			{
				if (bClose)
				{
					*Closed = *Slot;
					Slot->Reset();
				}
				else
				{
					// The key box is editable again at once; a key typed there must not let the late answer through.
					(*Slot)->SignOut();
					(*Slot)->OnKeyChanged(FText::FromString(DemoKey));
				}
			});
		Idle(Settle);
		const TSharedRef<TArray<FRecordedRequest>> Requests = RecordedStep(Test, TEXT("/"));
		Then(
			[Test, Slot, Closed, Requests, Moment, bClose]()
			{
				const FString Where = Moment.Name + (bClose ? TEXT(", closed: ") : TEXT(", signed out: "));
				const FRecordedRequest* Last = Requests->Num() > 0 ? &Requests->Last() : nullptr;
				if (!Last || !(Last->Method + TEXT(" ") + Last->Path).StartsWith(Moment.LastRequest))
				{
					Test->AddError(Where + TEXT("requests went on: ") + Describe(*Requests));
				}
				if (bClose)
				{
					Test->TestFalse(Where + TEXT("panel destroyed"), Closed->IsValid());
					return;
				}
				const STarvolinePanel& Panel = **Slot;
				Test->TestFalse(Where + TEXT("account"), Panel.GetAccount().IsSet());
				Test->TestEqual(Where + TEXT("characters"), Panel.GetCharacters().Num(), 0);
				Test->TestFalse(Where + TEXT("selection"), Panel.GetSelectedCharacter().IsValid());
				Test->TestFalse(Where + TEXT("price"), Panel.GetPlan().IsSet());
				Test->TestFalse(Where + TEXT("job"), Panel.GetJob().IsSet());
				Test->TestFalse(Where + TEXT("clip"), Panel.GetLastImport().Clip.IsValid());
				Test->TestTrue(Where + TEXT("import folder"), Panel.GetLastImport().FolderPath.IsEmpty());
				Test->TestFalse(Where + TEXT("busy"), Panel.IsBusy());
				TestText(Test, Where + TEXT("error line"), Panel.GetError(), FString());
				TestText(Test, Where + TEXT("status line"), Panel.GetStatus(), FString());
				Test->TestTrue(Where + TEXT("no key stored"), StoredApiKey().IsEmpty());
			});
	}
	EndStep(SavedKey);
}
} // namespace TarvolinePanelTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelSignOutWhileWorkingTest, "Tarvoline.Panel.SignOutWhileWorking",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelSignOutWhileWorkingTest::RunTest(const FString&)
{
	TarvolinePanelTest::RunOutstandingMoments(this, false);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelClosedWhileWorkingTest, "Tarvoline.Panel.ClosedWhileWorking",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelClosedWhileWorkingTest::RunTest(const FString&)
{
	TarvolinePanelTest::RunOutstandingMoments(this, true);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelUploadTest, "Tarvoline.Panel.UploadAndRig",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelUploadTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = NewPanelStep();
	SignInStep(this, Slot);
	RigStep(this, Slot, TEXT("quadruped_mesh.fbx"));

	// A rig that takes several reads: the sentences on the way, then the new character listed and selected (not the
	// one selected before), without the price asked for the one selected before.
	Then(
		[Slot]()
		{
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("trots")));
		});
	ActAndWait(this, Slot, &STarvolinePanel::CheckPrice, TEXT("the price"));
	SimTimeScaleStep(this, 0.15);
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
	const TSharedRef<TArray<FString>> Seen = MakeShared<TArray<FString>>();
	Then(
		[this, Slot, Seen]()
		{
			(*Slot)->UploadFile(TestModelFile(TEXT("humanoid_mesh.fbx")));
			TestText(this, TEXT("uploading"), (*Slot)->GetStatus(), TEXT("Uploading humanoid_mesh.fbx..."));
			TestTrue(TEXT("busy while uploading"), (*Slot)->IsBusy());
			Seen->Add((*Slot)->GetStatus());
		});
	WaitUntil(
		this, TEXT("the rig"),
		[Slot, Seen]()
		{
			if (Seen->Last() != (*Slot)->GetStatus())
			{
				Seen->Add((*Slot)->GetStatus());
			}
			return !(*Slot)->IsBusy();
		},
		90.0);
	const TSharedRef<TArray<FRecordedRequest>> Reads = RecordedStep(this, TEXT("/v1/assets/"));
	Then(
		[this, Slot, Seen, Reads]()
		{
			const FString Rigged = TEXT("humanoid_mesh.fbx is rigged as humanoid. Now say what it does.");
			TestText(this, TEXT("sentences on the way"), FString::Join(*Seen, TEXT(" | ")),
				FString::Printf(TEXT("Uploading humanoid_mesh.fbx... | %s | %s"), Building, *Rigged));
			TestText(this, TEXT("new character selected"), SelectedName(**Slot), TEXT("humanoid_mesh.fbx"));
			TestFalse(TEXT("the other character's price dropped"), (*Slot)->GetPlan().IsSet());
			TestText(this, TEXT("both listed"), FileNamesOf(**Slot), TEXT("quadruped_mesh.fbx, humanoid_mesh.fbx"));
			TestTrue(TEXT("no error"), (*Slot)->GetError().IsEmpty());
			if (TickerSpeedUp > 1.0f)
			{
				TestTrue(TEXT("read again while rigging"), Reads->Num() >= 2);
			}
			if (Reads->Num() > 0)
			{
				TestEqual(TEXT("read the uploaded character"), Reads->Last().Path,
					TEXT("/v1/assets/") + (*Slot)->GetSelectedCharacter()->Id);
			}
		});

	// A rig that fails with its own sentence, and one that fails without any: the selection stays.
	SimTimeScaleStep(this, 0.0);
	SimNextStep(this, TEXT("{\"rig\": {\"fail\": \"Its limbs could not be told apart.\"}}"));
	Then(
		[Slot]()
		{
			(*Slot)->UploadFile(TestModelFile(TEXT("bird_mesh.fbx")));
		});
	WaitIdle(this, Slot, TEXT("the failed rig"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("rig failure"), (*Slot)->GetError(), TEXT("Its limbs could not be told apart."));
			TestTrue(TEXT("no status after a failed rig"), (*Slot)->GetStatus().IsEmpty());
			TestText(this, TEXT("selection kept"), SelectedName(**Slot), TEXT("humanoid_mesh.fbx"));
		});
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/assets/"), 200, TEXT("{\"status\": \"broken\"}")));
	Then(
		[Slot]()
		{
			(*Slot)->UploadFile(TestModelFile(TEXT("frog_mesh.fbx")));
		});
	WaitIdle(this, Slot, TEXT("the rig without a reason"));
	Then(
		[this, Slot]()
		{
			TestText(
				this, TEXT("rig failure without a reason"), (*Slot)->GetError(), TEXT("We could not rig that model."));

			// A file that cannot be read fails at once, before anything is sent.
			(*Slot)->UploadFile(FPaths::Combine(FPaths::ProjectSavedDir(), TEXT("gone.fbx")));
			TestText(this, TEXT("unreadable file"), (*Slot)->GetError(), TEXT("Could not read gone.fbx."));
			TestFalse(TEXT("not busy after an unreadable file"), (*Slot)->IsBusy());
		});

	// A refused upload.
	FaultStep(this, AnswerWithFault(TEXT("POST"), TEXT("^/v1/assets$"), 413, FString()));
	Then(
		[Slot]()
		{
			(*Slot)->UploadFile(TestModelFile(TEXT("frog_mesh.fbx")));
		});
	WaitIdle(this, Slot, TEXT("the refused upload"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("refused upload"), (*Slot)->GetError(), TEXT("That file is too large to upload."));
			TestEqual(TEXT("list unchanged"), (*Slot)->GetCharacters().Num(), 2);
		});
	EndStep(SavedKey);
	return true;
}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelUploadSourcesTest, "Tarvoline.Panel.UploadFromDialogAndSelection",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelUploadSourcesTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = NewPanelStep();
	SignInStep(this, Slot);

	// A cancelled dialog sends nothing; the dialog asks for one model from the project folder.
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
	Then(
		[this, Slot]()
		{
			HostDesktopPlatform::QueueCancel();
			(*Slot)->UploadModelFile();
			TestFalse(TEXT("not busy after a cancelled dialog"), (*Slot)->IsBusy());
			TestTrue(TEXT("no status after a cancelled dialog"), (*Slot)->GetStatus().IsEmpty());
			const TArray<HostDesktopPlatform::FDialogCall> Calls = HostDesktopPlatform::GetDialogCalls();
			if (TestEqual(TEXT("one dialog"), Calls.Num(), 1))
			{
				TestText(this, TEXT("dialog title"), Calls[0].Title, TEXT("Choose a 3D model"));
				TestText(this, TEXT("dialog filter"), Calls[0].FileTypes,
					TEXT("3D models (*.fbx;*.glb;*.gltf;*.dae;*.zip)|*.fbx;*.glb;*.gltf;*.dae;*.zip"));
				TestText(this, TEXT("dialog folder"), Calls[0].DefaultPath, FPaths::ProjectDir());
				TestEqual(TEXT("one file at a time"), Calls[0].Flags, 0u);
			}
		});
	Idle(0.2);
	const TSharedRef<TArray<FRecordedRequest>> AfterCancel = RecordedStep(this, TEXT("/"));
	Then(
		[this, Slot, AfterCancel]()
		{
			TestEqual(TEXT("nothing sent after a cancelled dialog"), AfterCancel->Num(), 0);
			HostDesktopPlatform::QueueAnswer(TestModelFile(TEXT("bird_mesh.fbx")));
			(*Slot)->UploadModelFile();
			TestText(this, TEXT("uploading the chosen file"), (*Slot)->GetStatus(), TEXT("Uploading bird_mesh.fbx..."));
		});
	WaitIdle(this, Slot, TEXT("the chosen file's rig"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("chosen file rigged"), (*Slot)->GetStatus(),
				TEXT("bird_mesh.fbx is rigged as bird. Now say what it does."));
		});

	// Content Browser: a texture (never loaded) and then a static mesh whose source file has its extension in
	// capitals; meshes whose source file is gone or is not a model are not offered.
	const FString Scratch = MakeScratchDir(TEXT("PanelTests"));
	const FString Crate = Scratch / TEXT("crate.FBX");
	const FString Gone = Scratch / TEXT("gone.fbx");
	const FString Obj = Scratch / TEXT("crate.obj");
	Then(
		[this, Slot, Crate, Gone, Obj]()
		{
			IFileManager::Get().Copy(*Crate, *TestModelFile(TEXT("quadruped_mesh.fbx")));
			FFileHelper::SaveStringToFile(TEXT("o crate\n"), *Obj);
			const auto MakeMesh = [](const FString& Name, const FString& Source)
			{
				UPackage* Package = CreatePackage(*(TEXT("/Game/PanelTests/") + Name));
				UStaticMesh* Mesh = NewObject<UStaticMesh>(Package, FName(*Name), RF_Public | RF_Standalone);
				UAssetImportData* ImportData = NewObject<UAssetImportData>(Mesh);
				ImportData->Update(Source);
				Mesh->SetAssetImportData(ImportData);
				return FAssetData(Mesh);
			};
			const FAssetData Texture(FName(TEXT("/Game/PanelTests/Wood")), FName(TEXT("/Game/PanelTests")),
				FName(TEXT("Wood")), FTopLevelAssetPath(TEXT("/Script/Engine.Texture2D")));
			const FAssetData GoneMesh = MakeMesh(TEXT("GoneMesh"), Gone);
			const FAssetData ObjMesh = MakeMesh(TEXT("ObjMesh"), Obj);
			const FAssetData CrateMesh = MakeMesh(TEXT("Crate"), Crate);

			HostContentBrowser::SetSelectedAssets({GoneMesh, ObjMesh});
			TestTrue(TEXT("nothing offered"), (*Slot)->FindSelectedAssetSourceFile().IsEmpty());
			TestFalse(TEXT("upload-selection disabled"), (*Slot)->CanUploadSelection());

			HostContentBrowser::SetSelectedAssets({Texture, GoneMesh, CrateMesh});
			TestText(this, TEXT("the mesh's source file"), (*Slot)->FindSelectedAssetSourceFile(), Crate);
			TestTrue(TEXT("upload-selection enabled"), (*Slot)->CanUploadSelection());
			TestFalse(TEXT("the texture stays unloaded"), Texture.IsAssetLoaded());
			(*Slot)->UploadSelectedAsset();
			TestText(this, TEXT("uploading the selection"), (*Slot)->GetStatus(), TEXT("Uploading crate.FBX..."));
		});
	WaitIdle(this, Slot, TEXT("the selection's rig"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("selection rigged"), (*Slot)->GetStatus(),
				TEXT("crate.FBX is rigged as quadruped. Now say what it does."));
			TestText(this, TEXT("selection's character selected"), SelectedName(**Slot), TEXT("crate.FBX"));
		});
	EndStep(SavedKey);
	return true;
}
#endif // WITH_TARVOLINE_HOST

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelPriceTest, "Tarvoline.Panel.Price",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelPriceTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = NewPanelStep();
	SignInStep(this, Slot);
	RigStep(this, Slot, TEXT("quadruped_mesh.fbx"));
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
	Then(
		[this, Slot]()
		{
			TestTrue(TEXT("no price shown yet"), (*Slot)->GetPriceVisibility() == EVisibility::Collapsed);
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("  a fox jumps \n")));
			(*Slot)->CheckPrice();
			TestTrue(TEXT("busy while pricing"), (*Slot)->IsBusy());
		});
	WaitIdle(this, Slot, TEXT("the price"));
	const TSharedRef<TArray<FRecordedRequest>> Sent = RecordedStep(this, TEXT("/v1/plan"));
	Then(
		[this, Slot, Sent]()
		{
			TestText(this, TEXT("affordable price"), (*Slot)->GetPriceText().ToString(),
				TEXT("jump 1.4 s\n3 credits (you have 1000)\nPlanned for a quadruped: 1.4 s of motion."));
			TestTrue(TEXT("price shown"), (*Slot)->GetPriceVisibility() == EVisibility::Visible);
			TestText(this, TEXT("prompt kept as typed"), (*Slot)->GetPrompt(), TEXT("  a fox jumps \n"));
			if (TestEqual(TEXT("one plan request"), Sent->Num(), 1))
			{
				TestTrue(TEXT("prompt sent trimmed"), BodyText((*Sent)[0].Body).Contains(TEXT("\"a fox jumps\"")));
			}

			// Typing drops the price, so does an example sentence.
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("a fox jumps twice")));
			TestFalse(TEXT("typing drops the price"), (*Slot)->GetPlan().IsSet());
			TestTrue(TEXT("price hidden"), (*Slot)->GetPriceVisibility() == EVisibility::Collapsed);
		});

	// Segments joined, notes on their own lines; a plan with neither starts with a line break.
	FaultStep(
		this, AnswerWithFault(TEXT("POST"), TEXT("^/v1/plan$"), 200,
				  TEXT("{\"cost\": 3, \"balance\": 10, \"affordable\": true, \"script\": {\"segments\": ["
					   "{\"primitive\": \"walk\", \"seconds\": 2.0}, {\"primitive\": \"quad_sit\", \"seconds\": 1.3}]},"
					   " \"notes\": [\"Sits facing the camera.\", \"Short.\"]}")));
	ActAndWait(this, Slot, &STarvolinePanel::CheckPrice, TEXT("the price with notes"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("segments and notes"), (*Slot)->GetPriceText().ToString(),
				TEXT("walk 2.0 s - sit 1.3 s\n3 credits (you have 10)\nSits facing the camera.\nShort."));
			(*Slot)->UseExample(TEXT("runs, then jumps"));
			TestText(this, TEXT("example becomes the prompt"), (*Slot)->GetPrompt(), TEXT("runs, then jumps"));
			TestFalse(TEXT("an example drops the price"), (*Slot)->GetPlan().IsSet());
		});
	FaultStep(this, AnswerWithFault(TEXT("POST"), TEXT("^/v1/plan$"), 200, TEXT("{\"cost\": 2, \"balance\": 1}")));
	ActAndWait(this, Slot, &STarvolinePanel::CheckPrice, TEXT("the bare price"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("bare price"), (*Slot)->GetPriceText().ToString(), TEXT("\n2 credits (you have 1)"));
			TestTrue(TEXT("shown though not affordable"), (*Slot)->GetPriceVisibility() == EVisibility::Visible);
			(*Slot)->SignOut();
		});

	// An account whose credits do not cover the motion: the price is still shown, making it is refused.
	SignInStep(this, Slot, PoorKey);
	RigStep(this, Slot, TEXT("quadruped_mesh.fbx"));
	Then(
		[Slot]()
		{
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("a fox jumps")));
			(*Slot)->CheckPrice();
		});
	WaitIdle(this, Slot, TEXT("the poor account's price"));
	Then(
		[this, Slot]()
		{
			TestTrue(TEXT("not affordable"), (*Slot)->GetPlan().IsSet() && !(*Slot)->GetPlan()->Affordable);
			TestText(this, TEXT("price beyond the balance"), (*Slot)->GetPriceText().ToString(),
				TEXT("jump 1.4 s\n3 credits (you have 1)\nPlanned for a quadruped: 1.4 s of motion."));
			(*Slot)->MakeAnimation();
		});
	WaitIdle(this, Slot, TEXT("the refused motion"));
	Then(
		[this, Slot]()
		{
			TestFalse(TEXT("no job"), (*Slot)->GetJob().IsSet());
			TestFalse(TEXT("refusal shown"), (*Slot)->GetError().IsEmpty());
			TestTrue(TEXT("price still shown"), (*Slot)->GetPlan().IsSet());
			TestText(this, TEXT("balance untouched"), (*Slot)->GetAccountText().ToString(),
				TEXT("poor@tarvoline.test - 1 credits"));
		});
	EndStep(SavedKey);
	return true;
}

namespace TarvolinePanelTest
{
/** What the panel showed of a job, frame by frame, while it ran. */
struct FJobWatch
{
	/** Each stage sentence once, in the order they appeared. */
	TArray<FString> Stages;
	/** Each status line once, in the order they appeared. */
	TArray<FString> Statuses;
	TArray<float> Progress;
	/** Frames in which an active job's progress area was hidden, or a finished job's shown. */
	int32 WrongProgressVisibility = 0;
};

/** Enqueues a wait until the panel's work ends, noting every frame what it showed of the job. */
TSharedRef<FJobWatch> WatchJob(FAutomationTestBase* Test, const FPanelSlot& Slot)
{
	const TSharedRef<FJobWatch> Watch = MakeShared<FJobWatch>();
	WaitUntil(
		Test, TEXT("the job"),
		[Slot, Watch]()
		{
			const STarvolinePanel& Panel = **Slot;
			const FString Status = Panel.GetStatus();
			if (Watch->Statuses.Num() == 0 || Watch->Statuses.Last() != Status)
			{
				Watch->Statuses.Add(Status);
			}
			if (Panel.GetJob().IsSet())
			{
				const FString Stage = Panel.GetStageText().ToString();
				if (Watch->Stages.Num() == 0 || Watch->Stages.Last() != Stage)
				{
					Watch->Stages.Add(Stage);
				}
				if (Panel.GetProgress().IsSet())
				{
					Watch->Progress.Add(Panel.GetProgress().GetValue());
				}
				const bool bShown = Panel.GetProgressVisibility() == EVisibility::Visible;
				Watch->WrongProgressVisibility += bShown != Panel.GetJob()->IsActive() ? 1 : 0;
			}
			return !Panel.IsBusy();
		},
		120.0);
	return Watch;
}
} // namespace TarvolinePanelTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelJobStagesTest, "Tarvoline.Panel.JobStages",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelJobStagesTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = NewPanelStep();
	SignInStep(this, Slot);
	RigStep(this, Slot, TEXT("humanoid_mesh.fbx"));

	// The first job of the day wakes the motion model: every stage lasts several reads.
	SimTimeScaleStep(this, 0.25);
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
	Then(
		[this, Slot]()
		{
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("walks forward, then waves")));
			(*Slot)->MakeAnimation();
			TestTrue(TEXT("busy from the start"), (*Slot)->IsBusy());
			TestTrue(TEXT("no stage before the job"), (*Slot)->GetStageText().IsEmpty());
			TestFalse(TEXT("indeterminate bar before the job"), (*Slot)->GetProgress().IsSet());
		});
	const TSharedRef<FJobWatch> Watch = WatchJob(this, Slot);
	const TSharedRef<TSharedPtr<FExchange>> Reads =
		ControlStep(this, TEXT("GET"), TEXT("/_sim/requests?method=GET&path=/v1/jobs/"));
	Then(
		[this, Slot, Watch, Reads]()
		{
			const TArray<FString> Order = {TEXT("Waiting for a worker"), TEXT("Reading the sentence"),
				TEXT("The motion model is waking up (about two minutes, once)"), TEXT("Performing the motion"),
				TEXT("Fitting it to your character"), TEXT("Making the files"), TEXT("done")};
			const FString Seen = FString::Join(Watch->Stages, TEXT(" | "));
			int32 Next = 0;
			for (const FString& Stage : Watch->Stages)
			{
				const int32 Index = Order.IndexOfByKey(Stage);
				if (Index < Next)
				{
					AddError(FString::Printf(TEXT("Stage \"%s\" out of order in: %s"), *Stage, *Seen));
				}
				Next = FMath::Max(Next, Index);
			}
			TestTrue(
				TEXT("starts waiting for a worker: ") + Seen, Watch->Stages.Num() > 0 && Watch->Stages[0] == Order[0]);
			if (TickerSpeedUp > 1.0f)
			{
				TestTrue(TEXT("most stages seen: ") + Seen, Watch->Stages.Num() >= 5);
				TestTrue(TEXT("the waking-up stage seen: ") + Seen, Watch->Stages.Contains(Order[2]));
			}
			bool bRising = true;
			for (int32 Index = 1; Index < Watch->Progress.Num(); ++Index)
			{
				bRising &= Watch->Progress[Index] >= Watch->Progress[Index - 1];
			}
			TestTrue(TEXT("progress never goes back"), bRising);
			TestTrue(TEXT("progress within the bar"),
				Watch->Progress.Num() > 0 && Watch->Progress[0] >= 0.0f && Watch->Progress.Last() <= 1.0f);
			TestEqual(TEXT("progress area shown exactly while the job runs"), Watch->WrongProgressVisibility, 0);

			// The job succeeded and its result came in.
			TestTrue(TEXT("succeeded"), (*Slot)->GetJob().IsSet() && (*Slot)->GetJob()->Status == TEXT("succeeded"));
			TestTrue(TEXT("clip imported"), (*Slot)->GetLastImport().Clip.IsValid());
			TestTrue(TEXT("no error"), (*Slot)->GetError().IsEmpty());

			// Reads of the running job are one poll interval apart, not one per frame.
			const TArray<double> Times = RecordedTimes((*Reads)->Body);
			for (int32 Index = 1; Index + 1 < Times.Num(); ++Index)
			{
				if (Times[Index] - Times[Index - 1] < 0.8 * TickerWall(2.5))
				{
					AddError(FString::Printf(TEXT("Job reads %d and %d only %.3f s apart."), Index - 1, Index,
						Times[Index] - Times[Index - 1]));
				}
			}
		});

	// A job made from presets says so until its download starts.
	SimTimeScaleStep(this, 0.0);
	SimNextStep(this, TEXT("{\"job\": {\"fallback\": true}}"));
	Act(Slot, &STarvolinePanel::MakeAnimation);
	const TSharedRef<FJobWatch> Presets = WatchJob(this, Slot);
	Then(
		[this, Slot, Presets]()
		{
			const FString Seen = FString::Join(Presets->Statuses, TEXT(" | "));
			const int32 PresetsAt = Presets->Statuses.IndexOfByKey(FString(TarvolinePanelTest::Presets));
			const int32 DownloadAt = Presets->Statuses.IndexOfByKey(FString(TEXT("Downloading...")));
			TestTrue(TEXT("presets sentence, then the download: ") + Seen, PresetsAt >= 0 && DownloadAt > PresetsAt);
			TestTrue(TEXT("presets job imported"), (*Slot)->GetLastImport().Clip.IsValid());
		});
	EndStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelJobFailuresTest, "Tarvoline.Panel.JobFailures",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelJobFailuresTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = NewPanelStep();
	SignInStep(this, Slot);
	RigStep(this, Slot, TEXT("humanoid_mesh.fbx"));

	// The service fails the job late and refunds it.
	SimNextStep(
		this, TEXT("{\"job\": {\"fail\": \"The hands went through the body.\", \"failStage\": \"retargeting\"}}"));
	Then(
		[Slot]()
		{
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("claps")));
			(*Slot)->MakeAnimation();
		});
	WaitIdle(this, Slot, TEXT("the failing job"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("failure with refund"), (*Slot)->GetError(),
				TEXT("The hands went through the body. Your credits were refunded."));
			TestTrue(TEXT("no status"), (*Slot)->GetStatus().IsEmpty());
			TestText(this, TEXT("stage it failed in"), (*Slot)->GetStageText().ToString(),
				TEXT("Fitting it to your character"));
			TestTrue(TEXT("progress hidden"), (*Slot)->GetProgressVisibility() == EVisibility::Collapsed);
			TestFalse(TEXT("no clip"), (*Slot)->GetLastImport().Clip.IsValid());
			TestTrue(TEXT("Check again hidden for a failed job"),
				(*Slot)->GetCheckAgainVisibility() == EVisibility::Collapsed);
			(*Slot)->OnRefreshClicked();
		});
	WaitIdle(this, Slot, TEXT("the refresh"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("credits back"), (*Slot)->GetAccountText().ToString(),
				TEXT("demo@tarvoline.test - 1000 credits"));
		});

	// Failures the service words differently: no sentence with a refund, its own sentence without one.
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/jobs/"), 200,
						TEXT("{\"status\": \"cancelled\", \"stage\": \"Warming\", \"creditsRefunded\": true}")));
	ActAndWait(this, Slot, &STarvolinePanel::MakeAnimation, TEXT("the cancelled job"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("failure without a sentence"), (*Slot)->GetError(),
				TEXT("The animation failed. Your credits were refunded."));
			TestText(this, TEXT("stage in capitals"), (*Slot)->GetStageText().ToString(),
				TEXT("The motion model is waking up (about two minutes, once)"));
		});
	FaultStep(
		this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/jobs/"), 200,
				  TEXT("{\"status\": \"FAILED\", \"stage\": \"tweening\", \"error\": \"Stopped by an operator.\"}")));
	ActAndWait(this, Slot, &STarvolinePanel::MakeAnimation, TEXT("the stopped job"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("failure without a refund"), (*Slot)->GetError(), TEXT("Stopped by an operator."));
			TestText(this, TEXT("unknown stage as it came"), (*Slot)->GetStageText().ToString(), TEXT("tweening"));
		});

	// A progress beyond either end of the bar stays within it; a job without a stage is simply working.
	SimTimeScaleStep(this, 1000.0);
	Act(Slot, &STarvolinePanel::MakeAnimation);
	for (const float Progress : {1.7f, -0.2f})
	{
		WaitUntil(this, TEXT("the job"),
			[Slot]()
			{
				return (*Slot)->GetJob().IsSet();
			});
		LazyFaultStep(this,
			[Slot, Progress]()
			{
				return AnswerWithFault(TEXT("GET"), TEXT("^/v1/jobs/"), 200,
					FString::Printf(TEXT("{\"id\": \"%s\", \"status\": \"running\", \"stage\": \"\", "
										 "\"progress\": %g}"),
						*(*Slot)->GetJob()->Id, Progress),
					-1);
			});
		WaitUntil(this, TEXT("the odd progress"),
			[Slot, Progress]()
			{
				return (*Slot)->GetJob()->Progress == Progress;
			});
		Then(
			[this, Slot, Progress]()
			{
				const TOptional<float> Shown = (*Slot)->GetProgress();
				TestTrue(FString::Printf(TEXT("progress %g within the bar"), Progress),
					Shown.IsSet() && Shown.GetValue() == (Progress > 1.0f ? 1.0f : 0.0f));
				TestText(this, TEXT("no stage"), (*Slot)->GetStageText().ToString(), TEXT("Working"));
			});
		SimClearFaultsStep(this);
	}
	SimAdvanceStep(this, 100000.0);
	WaitIdle(this, Slot, TEXT("the job with odd progress"));

	// A read that fails while the job runs ends the polling. Check again while the job still runs follows it again
	// to its result; for a job that failed meanwhile it shows why.
	SimTimeScaleStep(this, 1000.0);
	for (const bool bFails : {false, true})
	{
		if (bFails)
		{
			SimNextStep(this, TEXT("{\"job\": {\"fail\": \"The feet slid.\", \"failStage\": \"generating\"}}"));
		}
		FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/jobs/"), 503, FString()));
		ActAndWait(this, Slot, &STarvolinePanel::MakeAnimation, TEXT("the failed read"));
		ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
		Then(
			[this, Slot]()
			{
				TestText(this, TEXT("failed read"), (*Slot)->GetError(), Answered(503));
				TestTrue(TEXT("job kept as last read"), (*Slot)->GetJob().IsSet() && (*Slot)->GetJob()->IsActive());
				TestTrue(TEXT("Check again offered"), (*Slot)->GetCheckAgainVisibility() == EVisibility::Visible);
			});
		Idle(TickerWall(2.5) * 2.0 + 0.2);
		const TSharedRef<TArray<FRecordedRequest>> Quiet = RecordedStep(this, TEXT("/v1/jobs/"));
		if (bFails)
		{
			SimAdvanceStep(this, 100000.0);
		}
		Then(
			[this, Slot, Quiet]()
			{
				TestEqual(TEXT("no reads after the failed one"), Quiet->Num(), 0);
				(*Slot)->CheckAgain();
				TestTrue(TEXT("error cleared by Check again"), (*Slot)->GetError().IsEmpty());
			});
		if (!bFails)
		{
			// Still running: the panel keeps following it until it is done.
			Idle(TickerWall(2.5) * 2.0 + 0.2);
			const TSharedRef<TArray<FRecordedRequest>> Followed = RecordedStep(this, TEXT("/v1/jobs/"));
			Then(
				[this, Slot, Followed]()
				{
					TestTrue(TEXT("running job followed again"), (*Slot)->IsBusy() && Followed->Num() >= 2);
				});
			SimAdvanceStep(this, 100000.0);
		}
		WaitIdle(this, Slot, TEXT("Check again"));
		Then(
			[this, Slot, bFails]()
			{
				if (bFails)
				{
					TestText(this, TEXT("failed meanwhile: its sentence"), (*Slot)->GetError(),
						TEXT("The feet slid. Your credits were refunded."));
					TestFalse(TEXT("failed meanwhile: no clip"), (*Slot)->GetLastImport().Clip.IsValid());
					return;
				}
				TestTrue(TEXT("result after Check again"), (*Slot)->GetLastImport().Clip.IsValid());
				TestTrue(TEXT("no error after Check again"), (*Slot)->GetError().IsEmpty());
			});
	}
	EndStep(SavedKey);
	return true;
}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
namespace TarvolinePanelTest
{
/** Checks that consecutive requests were WallInterval seconds apart: never sooner, and typically not later. */
void TestSpacing(FAutomationTestBase* Test, const FString& What, const TArray<double>& Times, double WallInterval)
{
	TArray<double> Gaps;
	for (int32 Index = 1; Index < Times.Num(); ++Index)
	{
		Gaps.Add(Times[Index] - Times[Index - 1]);
	}
	if (!Test->TestTrue(FString::Printf(TEXT("%s: at least two gaps"), *What), Gaps.Num() >= 2))
	{
		return;
	}
	Gaps.Sort();
	// The ticker never fires early; a loaded machine only answers later, so the median bounds the upper side.
	Test->TestTrue(FString::Printf(TEXT("%s: shortest gap %.3f s"), *What, Gaps[0]), Gaps[0] >= 0.97 * WallInterval);
	const double Median = Gaps[Gaps.Num() / 2];
	Test->TestTrue(FString::Printf(TEXT("%s: median gap %.3f s"), *What, Median), Median <= 1.07 * WallInterval + 0.08);
}
} // namespace TarvolinePanelTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelPollTimingsTest, "Tarvoline.Panel.PollTimings",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelPollTimingsTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	// Slower than the other tests, so that a gap's wall time is long against how late a loaded machine answers.
	constexpr float SpeedUp = 2.0f;
	const auto SavedKey = BeginStep(this, 1000.0);
	const FPanelSlot Slot = NewPanelStep();
	SignInStep(this, Slot);
	Then(
		[Slot]()
		{
			HostEditorLoop::SetTimeDilation(SpeedUp);
			(*Slot)->UploadFile(TestModelFile(TEXT("quadruped_mesh.fbx")));
		});
	Idle(8.0 / SpeedUp);
	const TSharedRef<TSharedPtr<FExchange>> RigReads =
		ControlStep(this, TEXT("GET"), TEXT("/_sim/requests?method=GET&path=/v1/assets/"));
	SimAdvanceStep(this, 100000.0);
	WaitIdle(this, Slot, TEXT("the rig"));
	Then(
		[this, Slot, RigReads]()
		{
			TestSpacing(this, TEXT("rig reads"), RecordedTimes((*RigReads)->Body), 3.0 / SpeedUp);
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("a fox jumps")));
			(*Slot)->MakeAnimation();
		});
	Idle(9.0 / SpeedUp);
	// The service's clock jumps with the advance, so reads before it and after it are compared among themselves.
	const TSharedRef<TSharedPtr<FExchange>> JobPolls =
		ControlStep(this, TEXT("GET"), TEXT("/_sim/requests?method=GET&path=/v1/jobs/"));
	SimAdvanceStep(this, 100000.0);
	WaitIdle(this, Slot, TEXT("the job"));
	const TSharedRef<TSharedPtr<FExchange>> JobReads =
		ControlStep(this, TEXT("GET"), TEXT("/_sim/requests?method=GET&path=/v1/jobs/"));
	Then(
		[this, Slot, JobPolls, JobReads]()
		{
			TestTrue(TEXT("clip imported"), (*Slot)->GetLastImport().Clip.IsValid());
			TestSpacing(this, TEXT("job reads"), RecordedTimes((*JobPolls)->Body), 2.5 / SpeedUp);
			// The read that found the job done is followed at once by the read of its result, without another pause.
			const TArray<double> Times = RecordedTimes((*JobReads)->Body);
			const double ResultGap = Times.Num() >= 2 ? Times.Last() - Times[Times.Num() - 2] : -1.0;
			TestTrue(FString::Printf(TEXT("result read %.3f s after the last poll"), ResultGap),
				ResultGap >= 0.0 && ResultGap < 0.4 * 2.5 / SpeedUp);
		});
	EndStep(SavedKey);
	return true;
}
#endif

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelResultRoadTest, "Tarvoline.Panel.ResultRoad",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelResultRoadTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = NewPanelStep();
	SignInStep(this, Slot);
	RigStep(this, Slot, TEXT("quadruped_mesh.fbx"));
	RigStep(this, Slot, TEXT("humanoid_mesh.fbx"));

	// The humanoid's job; the user picks the other character while it runs, which must not move the result.
	SimTimeScaleStep(this, 0.05);
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
	const TSharedRef<int32> SyncsBefore = MakeShared<int32>(0);
	Then(
		[this, Slot, SyncsBefore]()
		{
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			*SyncsBefore = GEditor->HostGetSyncCount();
#endif
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("Walks forward, then waves!")));
			(*Slot)->CheckPrice();
		});
	WaitIdle(this, Slot, TEXT("the price"));
	Then(
		[this, Slot]()
		{
			(*Slot)->MakeAnimation();
			(*Slot)->OnCharacterSelected(CharacterNamed(**Slot, TEXT("quadruped_mesh.fbx")), ESelectInfo::OnMouseClick);
			TestFalse(TEXT("choosing another character drops the price"), (*Slot)->GetPlan().IsSet());
		});
	WaitIdle(this, Slot, TEXT("the result"));
	const TSharedRef<TSharedPtr<FJsonObject>> State = SimStateStep(this);
	const TSharedRef<TArray<FRecordedRequest>> Road = RecordedStep(this, TEXT("/"));
	Then(
		[this, Slot, State, Road, SyncsBefore]()
		{
			const STarvolinePanel& Panel = **Slot;
			TestTrue(TEXT("no error"), Panel.GetError().IsEmpty());
			if (!TestTrue(TEXT("job set"), Panel.GetJob().IsSet()))
			{
				return;
			}
			const FTarvolineJob& Job = Panel.GetJob().GetValue();
			const TSharedPtr<FJsonObject> SimJob = SimJobOf(*State, Job.Id);
			if (!TestTrue(TEXT("the service knows the job"), SimJob.IsValid()))
			{
				return;
			}

			// Downloaded into Saved/Tarvoline under the prompt and the job, byte for byte the humanoid's file.
			const FString Expected = FPaths::Combine(FPaths::ProjectSavedDir(), TEXT("Tarvoline"),
				TEXT("walks_forward_then_waves_") + Job.Id.Left(8) + TEXT(".fbx"));
			TArray<uint8> Downloaded;
			TArray<uint8> Served;
			TestTrue(TEXT("downloaded file"), FFileHelper::LoadFileToArray(Downloaded, *Expected));
			FFileHelper::LoadFileToArray(Served, *TestModelFile(TEXT("humanoid_anim.fbx")));
			TestTrue(TEXT("the served file, whole"), Downloaded.Num() > 0 && Downloaded == Served);

			// Imported for the job's character, not the one selected meanwhile.
			const FTarvolineImportResult& Import = Panel.GetLastImport();
			TestTrue(TEXT("clip imported"), Import.Clip.IsValid());
			TestText(this, TEXT("the job's character's folder"), Import.FolderPath,
				AnimationFolderFor(TEXT("humanoid_mesh.fbx")));
			TestTrue(TEXT("result shown"), Panel.GetResultVisibility() == EVisibility::Visible);
			TestTrue(TEXT("Check again hidden"), Panel.GetCheckAgainVisibility() == EVisibility::Collapsed);

			// The status line with the service's length and price, and the balance read after the import.
			const double Seconds = SimJob->GetNumberField(TEXT("durationSeconds"));
			const int32 Cost = int32(SimJob->GetNumberField(TEXT("cost")));
			TestText(this, TEXT("status line"), Panel.GetStatus(),
				FString::Printf(TEXT("Ready: %.1f s, %d credits."), Seconds, Cost));
			TestText(this, TEXT("balance after the job"), Panel.GetAccountText().ToString(),
				FString::Printf(TEXT("demo@tarvoline.test - %d credits"), 1000 - Cost));
			const int32 Download = Road->IndexOfByPredicate(
				[](const FRecordedRequest& Request)
				{
					return Request.Path.StartsWith(TEXT("/downloads/"));
				});
			TestTrue(TEXT("account read after the download: ") + Describe(*Road),
				Download >= 0 && Road->Last().Path == TEXT("/v1/auth/me") && Road->Num() == Download + 2);

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			// The new clip is shown in the Content Browser, which takes the focus.
			TestEqual(TEXT("one sync"), GEditor->HostGetSyncCount(), *SyncsBefore + 1);
			const TArray<FAssetData>& Synced = GEditor->HostGetSyncedAssets();
			TestTrue(TEXT("synced the clip alone"), Synced.Num() == 1 && Synced[0] == FAssetData(Import.Clip.Get()));
			TestTrue(TEXT("Content Browser focused"), GEditor->HostWasBrowserFocused());
#endif
		});

	// The result's buttons.
	Then(
		[this, Slot, SyncsBefore]()
		{
			STarvolinePanel& Panel = **Slot;
			UAnimSequence* Clip = Panel.GetLastImport().Clip.Get();
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			Panel.ShowInContentBrowser();
			TestEqual(TEXT("Show in Content Browser syncs"), GEditor->HostGetSyncCount(), *SyncsBefore + 2);
			const TArray<FAssetData>& Synced = GEditor->HostGetSyncedAssets();
			TestTrue(
				TEXT("Show in Content Browser shows the clip"), Synced.Num() == 1 && Synced[0] == FAssetData(Clip));

			HostEngine::ClearLaunchedUrls();
			Panel.WatchOnline();
			const TArray<FString> Urls = HostEngine::GetLaunchedUrls();
			TestTrue(TEXT("Watch online opens one page"), Urls.Num() == 1);
			if (Urls.Num() == 1)
			{
				TestText(this, TEXT("watch page"), Urls[0],
					FString(TarvolineSiteUrl) + TEXT("/app/animate?job=") + Panel.GetJob()->Id);
			}
#endif
			const int32 ActorsBefore = CountMeshActors();
			Panel.AddResultToLevel();
			TestEqual(TEXT("Add to level places one actor"), CountMeshActors(), ActorsBefore + 1);
			ASkeletalMeshActor* Placed = nullptr;
			for (TActorIterator<ASkeletalMeshActor> It(GEditor->GetEditorWorldContext(false).World()); It; ++It)
			{
				Placed = *It;
			}
			TestTrue(TEXT("the actor plays the clip"),
				Placed && Placed->GetSkeletalMeshComponent() &&
					Placed->GetSkeletalMeshComponent()->AnimationData.AnimToPlay == Clip);

			// A new job hides the previous result at once.
			Panel.OnPromptChanged(FText::FromString(TEXT("sits down")));
			Panel.MakeAnimation();
			TestFalse(TEXT("previous clip dropped"), Panel.GetLastImport().Clip.IsValid());
			TestTrue(TEXT("result hidden for the new job"), Panel.GetResultVisibility() == EVisibility::Collapsed);
		});
	WaitIdle(this, Slot, TEXT("the second job"));
	Then(
		[this, Slot]()
		{
			TestTrue(TEXT("second clip"), (*Slot)->GetLastImport().Clip.IsValid());
			TestText(this, TEXT("second job for the selected character"), (*Slot)->GetLastImport().FolderPath,
				AnimationFolderFor(TEXT("quadruped_mesh.fbx")));
		});
	EndStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelResultFailuresTest, "Tarvoline.Panel.ResultFailuresAndCheckAgain",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelResultFailuresTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = NewPanelStep();
	SignInStep(this, Slot);
	RigStep(this, Slot, TEXT("humanoid_mesh.fbx"));

	// A broken download link: the sentence, the job kept, Check again offered; Check again then brings the result.
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/downloads/"), 404, TEXT("{\"detail\": \"Gone.\"}")));
	Then(
		[Slot]()
		{
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("waves")));
			(*Slot)->MakeAnimation();
		});
	WaitIdle(this, Slot, TEXT("the broken download"));
	Then(
		[this, Slot]()
		{
			const STarvolinePanel& Panel = **Slot;
			TestText(this, TEXT("broken link"), Panel.GetError(), BrokenLink);
			TestTrue(TEXT("no status"), Panel.GetStatus().IsEmpty());
			TestTrue(TEXT("job kept"), Panel.GetJob().IsSet());
			TestFalse(TEXT("no clip"), Panel.GetLastImport().Clip.IsValid());
			TestTrue(TEXT("Check again offered"), Panel.GetCheckAgainVisibility() == EVisibility::Visible);
			TestTrue(TEXT("result hidden"), Panel.GetResultVisibility() == EVisibility::Collapsed);
			TestFalse(TEXT("nothing written"),
				IFileManager::Get().FileExists(*DownloadPathFor(Panel.GetJob()->Prompt, Panel.GetJob()->Id)));
			TestTrue(TEXT("still signed in"), Panel.GetAccount().IsSet());
			(*Slot)->CheckAgain();
			TestTrue(TEXT("Check again clears the error"), Panel.GetError().IsEmpty());
			TestTrue(TEXT("busy again"), Panel.IsBusy());
		});
	WaitIdle(this, Slot, TEXT("Check again"));
	Then(
		[this, Slot]()
		{
			TestTrue(TEXT("clip after Check again"), (*Slot)->GetLastImport().Clip.IsValid());
			TestTrue(TEXT("status after Check again"), (*Slot)->GetStatus().StartsWith(TEXT("Ready: ")));
			TestTrue(TEXT("no error after Check again"), (*Slot)->GetError().IsEmpty());
			TestTrue(
				TEXT("Check again hidden with a result"), (*Slot)->GetCheckAgainVisibility() == EVisibility::Collapsed);
		});

	// A job without an FBX ends quietly.
	SimNextStep(this, TEXT("{\"job\": {\"noFbx\": true}}"));
	ActAndWait(this, Slot, &STarvolinePanel::MakeAnimation, TEXT("the job without an FBX"));
	Then(
		[this, Slot]()
		{
			TestTrue(TEXT("no FBX: no error"), (*Slot)->GetError().IsEmpty());
			TestTrue(TEXT("no FBX: no status"), (*Slot)->GetStatus().IsEmpty());
			TestFalse(TEXT("no FBX: no clip"), (*Slot)->GetLastImport().Clip.IsValid());
		});

	// A downloaded file that is no model: the import's sentence, no result. The importer logs it as an error.
	AddExpectedError(TEXT("Call to FbxImporter::Initialize() failed."), EAutomationExpectedErrorFlags::Contains, 0);
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/downloads/"), 200, TEXT("{\"not\": \"a model\"}")));
	ActAndWait(this, Slot, &STarvolinePanel::MakeAnimation, TEXT("the unreadable download"));
	Then(
		[this, Slot]()
		{
			const STarvolinePanel& Panel = **Slot;
			const FString ImportError = Panel.GetLastImport().Error;
			TestText(this, TEXT("import failure"), Panel.GetError(),
				ImportError.IsEmpty() ? FString(TEXT("Unreal could not import the file.")) : ImportError);
			TestFalse(TEXT("import failure: no clip"), Panel.GetLastImport().Clip.IsValid());
			TestTrue(TEXT("import failure: no status"), Panel.GetStatus().IsEmpty());
			TestTrue(TEXT("import failure: result hidden"), Panel.GetResultVisibility() == EVisibility::Collapsed);
		});

	// The balance cannot be read after a good import: the clip stays, the status line goes.
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/auth/me$"), 500, FString()));
	ActAndWait(this, Slot, &STarvolinePanel::MakeAnimation, TEXT("the failed balance"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("failed balance"), (*Slot)->GetError(), Answered(500));
			TestTrue(TEXT("failed balance: clip kept"), (*Slot)->GetLastImport().Clip.IsValid());
			TestTrue(TEXT("failed balance: result shown"), (*Slot)->GetResultVisibility() == EVisibility::Visible);
			TestTrue(TEXT("failed balance: no status"), (*Slot)->GetStatus().IsEmpty());
		});

	// A refused key on the download signs the panel out.
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/downloads/"), 401, FString()));
	ActAndWait(this, Slot, &STarvolinePanel::MakeAnimation, TEXT("the refused download"));
	Then(
		[this, Slot]()
		{
			TestText(this, TEXT("refused download"), (*Slot)->GetError(), BrokenLink);
			TestFalse(TEXT("signed out by the refused download"), (*Slot)->GetAccount().IsSet());
			TestTrue(TEXT("signed out: no Check again, it could only fail"),
				(*Slot)->GetCheckAgainVisibility() == EVisibility::Collapsed);
			TestText(this, TEXT("key still stored"), StoredApiKey(), DemoKey);
		});
	EndStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelBusyTest, "Tarvoline.Panel.BusyDisablesActions",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelBusyTest::RunTest(const FString&)
{
	using namespace TarvolinePanelTest;
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = NewPanelStep();
	Then(
		[this, Slot]()
		{
			TestFalse(TEXT("Connect needs a key"), (*Slot)->CanConnect());
		});
	SignInStep(this, Slot);
	Then(
		[this, Slot]()
		{
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("waves")));
			TestFalse(TEXT("no character, no price"), (*Slot)->CanSendPrompt());
		});
	RigStep(this, Slot, TEXT("humanoid_mesh.fbx"));
	Then(
		[this, Slot]()
		{
			(*Slot)->OnPromptChanged(FText::FromString(TEXT(" \n ")));
			TestFalse(TEXT("a blank prompt sends nothing"), (*Slot)->CanSendPrompt());
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("waves")));
			TestTrue(TEXT("character and prompt"), (*Slot)->CanSendPrompt());
		});

	// While the price is on its way every action waits; Sign out and the links do not.
	FaultStep(this, DelayFault(TEXT("POST"), TEXT("^/v1/plan$"), 500));
	Then(
		[this, Slot]()
		{
			STarvolinePanel& Panel = **Slot;
			Panel.CheckPrice();
			TestTrue(TEXT("busy"), Panel.IsBusy());
			TestFalse(TEXT("price and make disabled"), Panel.CanSendPrompt());
			TestFalse(TEXT("refresh and upload disabled"), Panel.IsNotBusy());
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			FHostSlateDriver Driver(Slot->ToSharedRef());
			for (const TCHAR* Key : {TEXT("Price"), TEXT("Make"), TEXT("Refresh"), TEXT("UploadFile")})
			{
				TestFalse(FString::Printf(TEXT("%s cannot be pressed while busy"), Key),
					Driver.CanInteract(Driver.FindButton(Key)));
			}
			TestFalse(TEXT("upload-selection disabled while busy"),
				Driver.IsEnabled(Driver.FindButton(TEXT("UploadSelNone"))));
			for (const TCHAR* Key : {TEXT("SignOut"), TEXT("TopUp")})
			{
				TestTrue(FString::Printf(TEXT("%s can be pressed while busy"), Key),
					Driver.CanInteract(Driver.FindButton(Key)));
			}
#endif
		});
	WaitIdle(this, Slot, TEXT("the price"));
	Then(
		[this, Slot]()
		{
			TestTrue(TEXT("actions back"), (*Slot)->CanSendPrompt() && (*Slot)->IsNotBusy());
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			FHostSlateDriver Driver(Slot->ToSharedRef());
			TestTrue(TEXT("Make can be pressed again"), Driver.CanInteract(Driver.FindButton(TEXT("Make"))));
#endif
			// Connect waits too while the panel signs in.
			(*Slot)->SignOut();
			(*Slot)->OnKeyChanged(FText::FromString(DemoKey));
			TestTrue(TEXT("Connect with a key"), (*Slot)->CanConnect());
			(*Slot)->Connect();
			TestFalse(TEXT("Connect disabled while connecting"), (*Slot)->CanConnect());
		});
	WaitIdle(this, Slot, TEXT("the sign-in"));
	EndStep(SavedKey);
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS
