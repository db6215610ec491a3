// Automation tests of the panel's workflow against the local Tarvoline service: signing in and out, the character
// list, upload and rig, price, the job and its result, and answers that arrive after the user signed out or closed
// the panel. The panel is driven through its operations and read through its getters, as its widgets do; most checks
// compare one line that sums up the panel (Describe), so a failure shows all of it at once.
//
// The service's time scale keeps rigs and jobs short. In the stand-in the core ticker also runs faster than the wall
// clock, so the panel's 3 s and 2.5 s poll intervals pass in a fraction of the time; in an editor they take their
// real length and the tests simply wait longer.

#include "Animation/AnimSequence.h"
#include "AssetRegistry/AssetData.h"
#include "CoreMinimal.h"
#include "Editor.h"
#include "Engine/StaticMesh.h"
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
/** How much faster than the wall clock the stand-in's core ticker runs during these tests (a ticker delay of D
 *  seconds takes D / TickerSpeedUp wall seconds). */
constexpr float TickerSpeedUp = 25.0f;
#else
constexpr float TickerSpeedUp = 1.0f;
#endif

const TCHAR* const Building = TEXT("Building its skeleton. About a minute.");
/** The demo key in the box and stored, in the settings file too. */
const TCHAR* const Stored = TEXT("box \"tv_demo_key\", stored \"tv_demo_key\" on disk");
const TCHAR* const BrokenLink = TEXT("error \"The download link did not work. Press Check again.\"");

FString KeyRefused()
{
	return FString::Printf(TEXT("error \"That API key was not accepted. Make a new one at %s/account.\""),
		TarvolineApi::TarvolineSiteHost);
}

FString Answered(int32 Status)
{
	return FString::Printf(
		TEXT("error \"Tarvoline answered %d. Try again, or write to us if it keeps happening.\""), Status);
}

/** Checks a line case-sensitively; an Expected ending in '*' only has to begin it. */
void TestText(FAutomationTestBase* Test, const FString& What, const FString& Actual, const FString& Expected)
{
	if (Expected.EndsWith(TEXT("*")) ? !Actual.StartsWith(Expected.LeftChop(1), ESearchCase::CaseSensitive)
									 : !Actual.Equals(Expected, ESearchCase::CaseSensitive))
	{
		Test->AddError(FString::Printf(TEXT("%s: got\n  %s\nexpected\n  %s"), *What, *Actual, *Expected));
	}
}

/** The panel in one line: signed in or out, busy, the list (selected entry starred), a stray selection, the price,
 *  job and stage, progress, result, Check again, error, then status (last: its "Ready: ..." has the service's numbers).
 */
FString Describe(const STarvolinePanel& Panel)
{
	const TSharedPtr<FTarvolineCharacter>& Selected = Panel.GetSelectedCharacter();
	TArray<FString> Names;
	for (const TSharedPtr<FTarvolineCharacter>& Entry : Panel.GetCharacters())
	{
		Names.Add(Entry->Filename + (Entry == Selected ? TEXT("*") : TEXT("")));
	}
	const bool bStray = Selected.IsValid() && !Panel.GetCharacters().Contains(Selected);
	const TOptional<FTarvolineJob>& Job = Panel.GetJob();
	const TPair<bool, FString> Parts[] = {{true, Panel.GetAccount().IsSet() ? TEXT("signed in") : TEXT("signed out")},
		{Panel.IsBusy(), TEXT("busy")},
		{Names.Num() > 0, TEXT("list [") + FString::Join(Names, TEXT(", ")) + TEXT("]")},
		{bStray, TEXT("selected ") + (bStray ? Selected->Filename : FString())},
		{Panel.GetPriceVisibility() == EVisibility::Visible, TEXT("price")},
		{Job.IsSet(), FString::Printf(TEXT("job %s \"%s\""), Job.IsSet() ? *Job->Status : TEXT(""),
						  *Panel.GetStageText().ToString())},
		{Panel.GetProgressVisibility() == EVisibility::Visible, TEXT("progress")},
		{Panel.GetResultVisibility() == EVisibility::Visible, TEXT("result")},
		{Panel.GetCheckAgainVisibility() == EVisibility::Visible, TEXT("Check again")},
		{!Panel.GetError().IsEmpty(), FString::Printf(TEXT("error \"%s\""), *Panel.GetError())},
		{!Panel.GetStatus().IsEmpty(), FString::Printf(TEXT("status \"%s\""), *Panel.GetStatus())}};
	TArray<FString> Shown;
	for (const TPair<bool, FString>& Part : Parts)
	{
		if (Part.Key)
		{
			Shown.Add(Part.Value);
		}
	}
	return FString::Join(Shown, TEXT(", "));
}

/** The key in the box, the one in the settings, and " on disk" when the settings file has it under [Tarvoline]. */
FString DescribeKeys(const STarvolinePanel& Panel)
{
	return FString::Printf(TEXT("box \"%s\", stored \"%s\"%s"), *Panel.GetApiKey(), *StoredApiKey(),
		SettingsFileHasApiKey() ? TEXT(" on disk") : TEXT(""));
}

FString AccountOf(const STarvolinePanel& Panel)
{
	return Panel.GetAccountText().ToString();
}

FString PriceOf(const STarvolinePanel& Panel)
{
	return Panel.GetPriceText().ToString();
}

/** A part of the panel that its line leaves out. */
using FDetail = FString (*)(const STarvolinePanel&);

/** Enqueues the start of every panel test: a fresh service, no stored key (the developer's is back at EndStep). */
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
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	Then(
		[]()
		{
			HostEditorLoop::SetTimeDilation(1.0f);
		});
#endif
	RestoreStoredKeyStep(SavedKey);
}

/** Enqueues a wait until the panel's work has ended (or the panel is gone). */
void WaitIdle(FAutomationTestBase* Test, const FPanelSlot& Slot)
{
	WaitUntil(
		Test, TEXT("the panel's work"),
		[Slot]()
		{
			return !Slot->IsValid() || !(*Slot)->IsBusy();
		},
		90.0);
}

/** Enqueues a wait until the panel's work has ended, then a check of its line and of a detail, each when given. */
void ExpectStep(FAutomationTestBase* Test, const FPanelSlot& Slot, const FString& Expected,
	const FString& Detail = FString(), FDetail GetDetail = &DescribeKeys)
{
	WaitIdle(Test, Slot);
	Then(
		[Test, Slot, Expected, Detail, GetDetail]()
		{
			TestText(Test, TEXT("panel"), Expected.IsEmpty() ? Expected : Describe(**Slot), Expected);
			TestText(Test, TEXT("detail"), Detail.IsEmpty() ? Detail : GetDetail(**Slot), Detail);
		});
}

/** Enqueues one operation of the panel, as its button runs it, and ExpectStep. */
void Step(FAutomationTestBase* Test, const FPanelSlot& Slot, void (STarvolinePanel::*Operation)(),
	const FString& Expected = FString(), const FString& Detail = FString(), FDetail GetDetail = &DescribeKeys)
{
	Then(
		[Slot, Operation]()
		{
			((**Slot).*Operation)();
		});
	ExpectStep(Test, Slot, Expected, Detail, GetDetail);
}

/** Enqueues arming the service: a change of its next rig or job ({"rig": ...}, {"job": ...}), else a fault. */
void ArmStep(FAutomationTestBase* Test, const FString& Json)
{
	if (Json.StartsWith(TEXT("{\"rig\"")) || Json.StartsWith(TEXT("{\"job\"")))
	{
		SimNextStep(Test, Json);
	}
	else if (!Json.IsEmpty())
	{
		FaultStep(Test, Json);
	}
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
	WaitIdle(Test, Slot);
}

/** Enqueues uploading a model file through the panel, then ExpectStep. */
void UploadStep(
	FAutomationTestBase* Test, const FPanelSlot& Slot, const FString& Path, const FString& Expected = FString())
{
	Then(
		[Slot, Path]()
		{
			(*Slot)->UploadFile(Path);
		});
	ExpectStep(Test, Slot, Expected);
}

/** Enqueues a new panel, as its tab makes it, with Prompt typed, signed in with Key and Rigged rigged when given. */
FPanelSlot PanelStep(FAutomationTestBase* Test, const FString& Key = DemoKey, const FString& Rigged = FString(),
	const FString& Prompt = FString())
{
	const FPanelSlot Slot = MakeShared<TSharedPtr<STarvolinePanel>>();
	Then(
		[Slot, Prompt]()
		{
			*Slot = SNew(STarvolinePanel);
			(*Slot)->OnPromptChanged(FText::FromString(Prompt));
		});
	if (!Key.IsEmpty())
	{
		SignInStep(Test, Slot, Key);
	}
	if (!Rigged.IsEmpty())
	{
		UploadStep(Test, Slot, TestModelFile(Rigged));
	}
	return Slot;
}

/** Enqueues uploading a test model with the client alone, as another tool of the account would, and its answer. */
void ClientUploadStep(FAutomationTestBase* Test, const FString& FileName)
{
	const TSharedRef<TOutcome<FTarvolineCharacter>> Outcome = MakeShared<TOutcome<FTarvolineCharacter>>();
	Then(
		[Outcome, FileName]()
		{
			TarvolineApi::UploadModel(DemoKey, TestModelFile(FileName), OnSuccess(Outcome), OnFailure(Outcome));
		});
	WaitUntil(Test, TEXT("the upload of ") + FileName,
		[Outcome]()
		{
			return Outcome->IsDone();
		});
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelConnectTest, "Tarvoline.Panel.ConnectRefusedAndSignOut",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelConnectTest::RunTest(const FString&)
{
	const auto SavedKey = BeginStep(this);

	// Without a stored key a new panel sends nothing and waits signed out. Blanks around a pasted key are not part of
	// it; nothing is stored before the service accepts the key, and then it is written to the settings file at once.
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
	const FPanelSlot First = PanelStep(this, FString());
	Idle(0.3);
	const TSharedRef<TArray<FRecordedRequest>> Before = RecordedStep(this, TEXT("/"));
	Then(
		[this, First, Before]()
		{
			TestText(this, TEXT("without a key"),
				Describe(**First) + FString::Printf(TEXT(", %d requests"), Before->Num()),
				TEXT("signed out, 0 requests"));
			(*First)->OnKeyChanged(FText::FromString(TEXT("  tv_demo_key \n")));
			(*First)->Connect();
			TestText(this, TEXT("connecting"), Describe(**First) + TEXT(" | ") + DescribeKeys(**First),
				TEXT("signed out, busy, status \"Connecting...\" | box \"tv_demo_key\", stored \"\""));
		});
	ExpectStep(this, First, TEXT("signed in"), Stored);

	// Characters: one rigged, one whose rig failed, one still rigging. Only the rigged one is listed.
	ClientUploadStep(this, TEXT("humanoid_mesh.fbx"));
	ClientUploadStep(this, TEXT("not_a_model.fbx"));
	SimTimeScaleStep(this, 1000.0);
	ClientUploadStep(this, TEXT("quadruped_mesh.glb"));
	SimTimeScaleStep(this, 0.0);

	// A second panel finds the stored key and signs in by itself, showing "Connecting..." at once.
	const FPanelSlot Slot = MakeShared<TSharedPtr<STarvolinePanel>>();
	Then(
		[this, Slot]()
		{
			*Slot = SNew(STarvolinePanel);
			(*Slot)->OnPromptChanged(FText::FromString(TEXT("waves")));
			TestText(this, TEXT("second panel"), Describe(**Slot) + TEXT(" | ") + DescribeKeys(**Slot),
				FString(TEXT("signed out, busy, status \"Connecting...\" | ")) + Stored);
		});
	ExpectStep(this, Slot, TEXT("signed in, list [humanoid_mesh.fbx*]"));
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	Then(
		[this, Slot]()
		{
			// The site's pages open on the site, not on the API address the tests point the client at.
			(*Slot)->OpenAccountPage();
			(*Slot)->OpenCreditsPage();
			TestText(this, TEXT("pages opened"), FString::Join(HostEngine::GetLaunchedUrls(), TEXT(" ")),
				FString::Printf(TEXT("%s/account %s/credits"), TarvolineSiteUrl, TarvolineSiteUrl));
		});
#endif

	// A later 401 (here from the list) signs the panel out but keeps the stored key, and a refused key typed
	// afterwards does not replace it.
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/assets$"), 401, TEXT("{}")));
	const FString Listed = TEXT("list [humanoid_mesh.fbx*], ");
	Step(this, Slot, &STarvolinePanel::OnRefreshClicked, TEXT("signed out, ") + Listed + KeyRefused(), Stored);
	SignInStep(this, Slot, TEXT("tv_wrong_key"));
	ExpectStep(this, Slot, TEXT("signed out, ") + Listed + TEXT("error \"Invalid API key.\""),
		TEXT("box \"tv_wrong_key\", stored \"tv_demo_key\" on disk"));

	// Sign out with a price, a finished job and its clip: all of it goes, the error line stays.
	SignInStep(this, Slot);
	Step(this, Slot, &STarvolinePanel::MakeAnimation);
	Step(this, Slot, &STarvolinePanel::CheckPrice,
		TEXT("signed in, ") + Listed + TEXT("price, job succeeded \"done\", result*"));
	FaultStep(this, AnswerWithFault(TEXT("POST"), TEXT("^/v1/plan$"), 500, FString()));
	Step(this, Slot, &STarvolinePanel::CheckPrice);
	Step(this, Slot, &STarvolinePanel::SignOut, TEXT("signed out, ") + Answered(500), TEXT("box \"\", stored \"\""));

	// Signed out: a key the service refuses, with its own sentence or without one; a key edited (in case only, or more)
	// while Connect is under way for the demo key. Nothing is stored, the edit stays in the box.
	const FString Edited = TEXT("error \"The key changed while connecting. Press Connect again.\"");
	const FString Delay = DelayFault(TEXT("GET"), TEXT("^/v1/auth/me$"), 300);
	const struct
	{
		FString Fault;
		FString Key;
		FString Error;
	} Cases[] = {
		{FString(), TEXT("tv_wrong_key"), TEXT("error \"Invalid API key.\"")},
		{AnswerWithFault(TEXT("GET"), TEXT("^/v1/auth/me$"), 401, FString()), TEXT("tv_wrong_key"), KeyRefused()},
		{Delay, TEXT("TV_DEMO_KEY"), Edited},
		{Delay, TEXT("tv_demo_key2"), Edited},
	};
	for (const auto& Case : Cases)
	{
		ArmStep(this, Case.Fault);
		const FString Key = Case.Key;
		Then(
			[Slot, Key]()
			{
				(*Slot)->OnKeyChanged(FText::FromString(Key.StartsWith(TEXT("tv_wrong")) ? Key : FString(DemoKey)));
				(*Slot)->Connect();
				(*Slot)->OnKeyChanged(FText::FromString(Key));
			});
		ExpectStep(this, Slot, TEXT("signed out, ") + Case.Error, TEXT("box \"") + Key + TEXT("\", stored \"\""));
	}

	EndStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelRefreshTest, "Tarvoline.Panel.RefreshAndPrice",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelRefreshTest::RunTest(const FString&)
{
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = PanelStep(this, DemoKey, FString(), TEXT("  a fox jumps \n"));
	Then(
		[this, Slot]()
		{
			TestTrue(TEXT("no character: no price, no stage, an indeterminate bar"),
				!(*Slot)->CanSendPrompt() && (*Slot)->GetStageText().IsEmpty() && !(*Slot)->GetProgress().IsSet());
		});
	ClientUploadStep(this, TEXT("humanoid_mesh.fbx"));
	ClientUploadStep(this, TEXT("quadruped_mesh.fbx"));

	// Oldest first, the first selected. The second is chosen and priced; another character arrives and the balance
	// changes meanwhile.
	Step(this, Slot, &STarvolinePanel::OnRefreshClicked,
		TEXT("signed in, list [humanoid_mesh.fbx*, quadruped_mesh.fbx]"));
	Then(
		[Slot]()
		{
			(*Slot)->OnCharacterSelected((*Slot)->GetCharacters()[1], ESelectInfo::OnMouseClick);
		});
	Step(this, Slot, &STarvolinePanel::CheckPrice);
	ClientUploadStep(this, TEXT("bird_mesh.fbx"));
	SimAccountStep(this, DemoKey, TEXT("demo@tarvoline.test"), 777);
	Then(
		[this, Slot]()
		{
			(*Slot)->OnRefreshClicked();
			TestText(this, TEXT("refreshing"), Describe(**Slot),
				TEXT("signed in, busy, list [humanoid_mesh.fbx, quadruped_mesh.fbx*], price"));
		});
	WaitIdle(this, Slot);
	Then(
		[this, Slot]()
		{
			STarvolinePanel& Panel = **Slot;
			const FString Kept = TEXT("signed in, list [humanoid_mesh.fbx, quadruped_mesh.fbx*, bird_mesh.fbx], price");
			TestText(this, TEXT("second refresh"), Describe(Panel) + TEXT(" | ") + Panel.GetAccountText().ToString(),
				Kept + TEXT(" | demo@tarvoline.test - 777 credits"));

			// Choosing what is chosen, or nothing, keeps the selection and the price.
			Panel.OnCharacterSelected(Panel.GetSelectedCharacter(), ESelectInfo::OnMouseClick);
			Panel.OnCharacterSelected(nullptr, ESelectInfo::Direct);
			TestText(this, TEXT("same or no choice"), Describe(Panel), Kept);
		});

	// The chosen character disappears: the first is selected, without the price asked for the one before. A status in
	// capitals still counts as ready.
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/assets$"), 200,
						TEXT("[{\"id\": \"b1\", \"filename\": \"bird_mesh.fbx\", \"status\": \"READY\"}, "
							 "{\"id\": \"h1\", \"filename\": \"humanoid_mesh.fbx\", \"status\": \"ready\"}]")));
	Step(this, Slot, &STarvolinePanel::OnRefreshClicked, TEXT("signed in, list [bird_mesh.fbx*, humanoid_mesh.fbx]"));

	// An empty list selects nothing and drops the price; a failed list keeps the account and the stored key, and says
	// why.
	Step(this, Slot, &STarvolinePanel::OnRefreshClicked);
	Step(this, Slot, &STarvolinePanel::CheckPrice,
		TEXT("signed in, list [humanoid_mesh.fbx*, quadruped_mesh.fbx, bird_mesh.fbx], price"));
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/assets$"), 200, TEXT("[]")));
	Step(this, Slot, &STarvolinePanel::OnRefreshClicked, TEXT("signed in"));
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/assets$"), 503, FString()));
	Step(this, Slot, &STarvolinePanel::OnRefreshClicked, TEXT("signed in, ") + Answered(503), Stored);

	// A new character for the price: its first price, a price with notes, a bare one, one beyond the balance.
	UploadStep(this, Slot, TestModelFile(TEXT("quadruped_mesh.fbx")));
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));

	// The prompt is kept as typed and sent trimmed; typing drops the price.
	const FString Listed =
		TEXT("signed in, list [humanoid_mesh.fbx, quadruped_mesh.fbx, bird_mesh.fbx, quadruped_mesh.fbx*]");
	const FString Priced = Listed + TEXT(", price");
	Step(this, Slot, &STarvolinePanel::CheckPrice, Priced,
		TEXT("jump 1.4 s\n3 credits (you have 777)\nPlanned for a quadruped: 1.4 s of motion."), &PriceOf);
	const TSharedRef<TArray<FRecordedRequest>> Sent = RecordedStep(this, TEXT("/v1/plan"));
	Then(
		[this, Slot, Sent, Listed]()
		{
			STarvolinePanel& Panel = **Slot;
			const TArray<uint8> Body = Sent->Num() == 1 ? (*Sent)[0].Body : TArray<uint8>();
			const FUTF8ToTCHAR Text(reinterpret_cast<const ANSICHAR*>(Body.GetData()), Body.Num());
			TestTrue(TEXT("one plan request with the prompt trimmed"),
				FString(Text.Length(), Text.Get()).Contains(TEXT("\"a fox jumps\"")));
			TestText(this, TEXT("prompt kept as typed"), Panel.GetPrompt(), TEXT("  a fox jumps \n"));
			Panel.OnPromptChanged(FText::FromString(TEXT("a fox jumps twice")));
			TestText(this, TEXT("typed"), Describe(Panel), Listed);
		});

	// Segments joined, notes on their own lines; an example sentence drops the price too.
	FaultStep(
		this, AnswerWithFault(TEXT("POST"), TEXT("^/v1/plan$"), 200,
				  TEXT("{\"cost\": 3, \"balance\": 10, \"affordable\": true, \"script\": {\"segments\": ["
					   "{\"primitive\": \"walk\", \"seconds\": 2.0}, {\"primitive\": \"quad_sit\", \"seconds\": 1.3}]},"
					   " \"notes\": [\"Sits facing the camera.\", \"Short.\"]}")));
	Step(this, Slot, &STarvolinePanel::CheckPrice, Priced,
		TEXT("walk 2.0 s - sit 1.3 s\n3 credits (you have 10)\nSits facing the camera.\nShort."), &PriceOf);
	Then(
		[this, Slot, Listed]()
		{
			(*Slot)->UseExample(TEXT("runs, then jumps"));
			TestText(this, TEXT("example"), (*Slot)->GetPrompt() + TEXT(" | ") + Describe(**Slot),
				TEXT("runs, then jumps | ") + Listed);
		});

	// A plan with neither segments nor notes starts with a line break, and is shown though not affordable.
	FaultStep(this, AnswerWithFault(TEXT("POST"), TEXT("^/v1/plan$"), 200, TEXT("{\"cost\": 2, \"balance\": 1}")));
	Step(this, Slot, &STarvolinePanel::CheckPrice, Priced, TEXT("\n2 credits (you have 1)"), &PriceOf);

	// An account whose credits do not cover the motion: the price is still shown, making it is refused.
	Step(this, Slot, &STarvolinePanel::SignOut);
	SignInStep(this, Slot, PoorKey);
	UploadStep(this, Slot, TestModelFile(TEXT("quadruped_mesh.fbx")));
	Step(this, Slot, &STarvolinePanel::CheckPrice, TEXT("signed in, list [quadruped_mesh.fbx*], price"),
		TEXT("gallop forward 1.8 s - jump 1.4 s\n5 credits (you have 1)\nPlanned for a quadruped: 3.2 s of motion."),
		&PriceOf);
	// The service words the refusal itself.
	Step(this, Slot, &STarvolinePanel::MakeAnimation,
		TEXT("signed in, list [quadruped_mesh.fbx*], price, error \"Not enough credits: *"),
		TEXT("poor@tarvoline.test - 1 credits"), &AccountOf);
	EndStep(SavedKey);
	return true;
}

/** One moment at which a request or a poll of the panel is outstanding: its name, the service's time scale, a fault
 *  holding the answer back, how it starts (Connect on a signed-out panel, the rest on one signed in with a character
 *  and a prompt; null uploads frog_mesh.fbx), what the panel's line shows once it is under way, and the last request
 *  the service sees before the panel is signed out or closed (and none after). */
struct FOutstanding
{
	FString Name;
	double TimeScale = 0.0;
	FString Fault;
	void (STarvolinePanel::*Start)() = nullptr;
	FString UnderWay;
	FString LastRequest;
};

/** How long a held-back answer is held back. */
constexpr int32 HoldMs = 150;

TArray<FOutstanding> OutstandingMoments()
{
	using P = STarvolinePanel;
	// The job read is sent one poll interval after the job arrives; its answer is held back beyond that.
	const int32 PollHoldMs = HoldMs + int32(2500.0 / TickerSpeedUp) + 200;
	return {
		{TEXT("sign-in"), 0.0, DelayFault(TEXT("GET"), TEXT("^/v1/auth/me$"), HoldMs), &P::Connect, FString(),
			TEXT("GET /v1/auth/me")},
		{TEXT("character list"), 0.0, DelayFault(TEXT("GET"), TEXT("^/v1/assets$"), HoldMs), &P::OnRefreshClicked,
			FString(), TEXT("GET /v1/assets")},
		{TEXT("upload"), 0.0, DelayFault(TEXT("POST"), TEXT("^/v1/assets$"), HoldMs), nullptr, FString(),
			TEXT("POST /v1/assets")},
		{TEXT("rig read"), 0.0, DelayFault(TEXT("GET"), TEXT("^/v1/assets/"), HoldMs), nullptr, Building,
			TEXT("GET /v1/assets/")},
		{TEXT("scheduled rig read"), 1000.0, FString(), nullptr, Building, TEXT("GET /v1/assets/")},
		{TEXT("price"), 0.0, DelayFault(TEXT("POST"), TEXT("^/v1/plan$"), HoldMs), &P::CheckPrice, FString(),
			TEXT("POST /v1/plan")},
		{TEXT("generate"), 0.0, DelayFault(TEXT("POST"), TEXT("^/v1/generate$"), HoldMs), &P::MakeAnimation, FString(),
			TEXT("POST /v1/generate")},
		{TEXT("scheduled job read"), 1000.0, FString(), &P::MakeAnimation, TEXT("job "), TEXT("POST /v1/generate")},
		// Past the job's first answer and one poll interval (see RunOutstandingMoments): the read is on its way.
		{TEXT("job read"), 1000.0, DelayFault(TEXT("GET"), TEXT("^/v1/jobs/"), PollHoldMs), &P::MakeAnimation,
			TEXT("job "), TEXT("GET /v1/jobs/")},
		{TEXT("result read"), 0.0, DelayFault(TEXT("GET"), TEXT("^/v1/jobs/"), HoldMs, -1), &P::MakeAnimation,
			TEXT("job succeeded"), TEXT("GET /v1/jobs/")},
		{TEXT("download"), 0.0, DelayFault(TEXT("GET"), TEXT("^/downloads/"), HoldMs), &P::MakeAnimation,
			TEXT("Downloading..."), TEXT("GET /downloads/")},
	};
}

/** Runs every outstanding moment on a panel of its own, ending it by signing out or by closing the panel. */
void RunOutstandingMoments(FAutomationTestBase* Test, bool bClose)
{
	SimResetStep(Test);
	SimTimeScaleStep(Test, 0.0);
	ClientUploadStep(Test, TEXT("humanoid_mesh.fbx"));

	for (const FOutstanding& Moment : OutstandingMoments())
	{
		SimClearFaultsStep(Test);
		Then(&ForgetStoredApiKey);
		const FPanelSlot Slot =
			PanelStep(Test, Moment.Start == &STarvolinePanel::Connect ? FString() : DemoKey, FString(), TEXT("waves"));
		SimTimeScaleStep(Test, Moment.TimeScale);
		ArmStep(Test, Moment.Fault);
		Then(
			[Slot, Moment]()
			{
				(*Slot)->OnKeyChanged(FText::FromString(DemoKey));
				if (Moment.Start)
				{
					((**Slot).*Moment.Start)();
				}
				else
				{
					(*Slot)->UploadFile(TestModelFile(TEXT("frog_mesh.fbx")));
				}
			});
		WaitUntil(Test, Moment.Name + TEXT(" under way"),
			[Slot, Moment]()
			{
				return Moment.UnderWay.IsEmpty() ||
					   Describe(**Slot).Contains(Moment.UnderWay, ESearchCase::CaseSensitive);
			});
		if (Moment.Name == TEXT("job read"))
		{
			Idle(2.5 / TickerSpeedUp + 0.1);
		}
		// The moment's request has reached the service (the last one it saw) before the panel is left.
		const TSharedRef<TSharedPtr<FExchange>> Seen = MakeShared<TSharedPtr<FExchange>>();
		WaitUntil(Test, Moment.LastRequest + TEXT(" on the service"),
			[Seen, Moment]()
			{
				const TArray<FRecordedRequest> Requests = Seen->IsValid() && (*Seen)->bDone
															  ? ParseRecordedRequests((*Seen)->Body)
															  : TArray<FRecordedRequest>();
				if (Requests.Num() > 0 &&
					(Requests.Last().Method + TEXT(" ") + Requests.Last().Path).StartsWith(Moment.LastRequest))
				{
					return true;
				}
				if (!Seen->IsValid() || (*Seen)->bDone)
				{
					*Seen = Control(TEXT("GET"), TEXT("/_sim/requests"));
				}
				return false;
			});
		const TSharedRef<TWeakPtr<STarvolinePanel>> Closed = MakeShared<TWeakPtr<STarvolinePanel>>();
		Then(
			[Slot, Closed, bClose]()
			{
				if (bClose)
				{
					*Closed = *Slot;
					Slot->Reset();
					return;
				}
				// The key box is editable again at once; a key typed there must not let the late answer through.
				(*Slot)->SignOut();
				(*Slot)->OnKeyChanged(FText::FromString(DemoKey));
			});
		// From here on nothing may be sent: not by late answers, nor by poll steps that a closed panel would run on
		// freed memory. They have had time to come after the hold and 1.5 rig intervals.
		ControlStep(Test, TEXT("DELETE"), TEXT("/_sim/requests"));
		Idle(HoldMs / 1000.0 + 4.5 / TickerSpeedUp + 0.15);
		const TSharedRef<TArray<FRecordedRequest>> After = RecordedStep(Test, TEXT("/"));
		Then(
			[Test, Slot, Closed, After, Moment, bClose]()
			{
				const FString Where = Moment.Name + (bClose ? TEXT(", closed") : TEXT(", signed out"));
				Test->TestEqual(Where + TEXT(": requests after it"), After->Num(), 0);
				if (bClose)
				{
					Test->TestFalse(Where + TEXT(": panel destroyed"), Closed->IsValid());
					return;
				}
				TestText(Test, Where,
					Describe(**Slot) + TEXT(" | ") + DescribeKeys(**Slot) + (*Slot)->GetLastImport().FolderPath,
					TEXT("signed out | box \"tv_demo_key\", stored \"\""));
			});
	}
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelWhileWorkingTest, "Tarvoline.Panel.SignOutOrCloseWhileWorking",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelWhileWorkingTest::RunTest(const FString&)
{
	const auto SavedKey = BeginStep(this);
	RunOutstandingMoments(this, false);
	RunOutstandingMoments(this, true);
	EndStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelUploadTest, "Tarvoline.Panel.UploadAndRig",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelUploadTest::RunTest(const FString&)
{
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = PanelStep(this, DemoKey, TEXT("quadruped_mesh.fbx"), TEXT("trots"));
	const FString Two = TEXT("signed in, list [quadruped_mesh.fbx, humanoid_mesh.fbx");

	// A rig that takes several reads: the sentences on the way, then the new character listed and selected, without
	// the price asked for the one selected before.
	Step(this, Slot, &STarvolinePanel::CheckPrice);
	SimTimeScaleStep(this, 0.15);
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
	const TSharedRef<TArray<FString>> Seen = MakeShared<TArray<FString>>();
	Then(
		[this, Slot, Seen]()
		{
			(*Slot)->UploadFile(TestModelFile(TEXT("humanoid_mesh.fbx")));
			Seen->Add((*Slot)->GetStatus());
			TestTrue(TEXT("busy: price, make, refresh and upload disabled"),
				!(*Slot)->CanSendPrompt() && !(*Slot)->IsNotBusy());
			TestText(this, TEXT("uploading"), Describe(**Slot),
				TEXT("signed in, busy, list [quadruped_mesh.fbx*], price, status "
					 "\"Uploading humanoid_mesh.fbx...\""));
		});
	WaitUntil(
		this, TEXT("the rig"),
		[Slot, Seen]()
		{
			Seen->AddUnique((*Slot)->GetStatus());
			return !(*Slot)->IsBusy();
		},
		90.0);
	const TSharedRef<TArray<FRecordedRequest>> Reads = RecordedStep(this, TEXT("/v1/assets/"));
	Then(
		[this, Slot, Seen, Reads, Two]()
		{
			const FString Rigged = TEXT("humanoid_mesh.fbx is rigged as humanoid. Now say what it does.");
			TestText(this, TEXT("sentences on the way"), FString::Join(*Seen, TEXT(" | ")),
				FString::Printf(TEXT("Uploading humanoid_mesh.fbx... | %s | %s"), Building, *Rigged));
			TestText(this, TEXT("rigged"), Describe(**Slot), Two + TEXT("*], status \"") + Rigged + TEXT("\""));
			TestTrue(TEXT("actions back"), (*Slot)->CanSendPrompt() && (*Slot)->IsNotBusy());
			TestTrue(TEXT("the uploaded character read, again while rigging"),
				Reads->Num() >= (TickerSpeedUp > 1.0f ? 2 : 1) &&
					Reads->Last().Path == TEXT("/v1/assets/") + (*Slot)->GetSelectedCharacter()->Id);
		});

	// Rigs that fail with the service's sentence or without one, a refused upload, a file that cannot be read (it
	// fails before anything is sent): the error line says which, the list and the selection stay.
	SimTimeScaleStep(this, 0.0);
	const FString Failed = Two + TEXT("*], error \"");
	const TPair<FString, FString> Failures[] = {
		{TEXT("{\"rig\": {\"fail\": \"Its limbs could not be told apart.\"}}"),
			TEXT("Its limbs could not be told apart.")},
		{AnswerWithFault(TEXT("GET"), TEXT("^/v1/assets/"), 200, TEXT("{\"status\": \"broken\"}")),
			TEXT("We could not rig that model.")},
		{AnswerWithFault(TEXT("POST"), TEXT("^/v1/assets$"), 413, FString()),
			TEXT("That file is too large to upload.")},
		{FString(), TEXT("Could not read gone.fbx.")},
	};
	for (const TPair<FString, FString>& Failure : Failures)
	{
		ArmStep(this, Failure.Key);
		UploadStep(this, Slot,
			Failure.Key.IsEmpty() ? FPaths::ProjectSavedDir() / TEXT("gone.fbx") : TestModelFile(TEXT("frog_mesh.fbx")),
			Failed + Failure.Value + TEXT("\""));
	}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	// A cancelled dialog starts nothing; the dialog asks for one model from the project folder. (The frog's rig
	// above did succeed: only the panel's read of it was answered "broken".)
	Then(
		[this, Slot, Failed]()
		{
			HostDesktopPlatform::QueueCancel();
			(*Slot)->UploadModelFile();
			TestText(this, TEXT("cancelled dialog"), Describe(**Slot), Failed + TEXT("Could not read gone.fbx.\""));
			const TArray<HostDesktopPlatform::FDialogCall> Calls = HostDesktopPlatform::GetDialogCalls();
			TestText(this, TEXT("dialog"),
				Calls.Num() == 1 ? FString::Printf(TEXT("%s | %s | %s | %u"), *Calls[0].Title, *Calls[0].FileTypes,
									   *Calls[0].DefaultPath, Calls[0].Flags)
								 : FString(),
				TEXT("Choose a 3D model | 3D models (*.fbx;*.glb;*.gltf;*.dae;*.zip)|*.fbx;*.glb;*.gltf;*.dae;*.zip "
					 "| ") +
					FPaths::ProjectDir() + TEXT(" | 0"));
			HostDesktopPlatform::QueueAnswer(TestModelFile(TEXT("bird_mesh.fbx")));
		});
	Step(this, Slot, &STarvolinePanel::UploadModelFile,
		Two + TEXT(", frog_mesh.fbx, bird_mesh.fbx*], status \"bird_mesh.fbx is rigged as bird. "
				   "Now say what it does.\""));

	// Content Browser: a texture (never loaded) and then a static mesh whose source file has its extension in
	// capitals; meshes whose source file is gone or is not a model are not offered.
	const FString Scratch = MakeScratchDir(TEXT("PanelTests"));
	Then(
		[this, Slot, Scratch]()
		{
			const FString Crate = Scratch / TEXT("crate.FBX");
			IFileManager::Get().Copy(*Crate, *TestModelFile(TEXT("quadruped_mesh.fbx")));
			FFileHelper::SaveStringToFile(TEXT("o crate\n"), *(Scratch / TEXT("crate.obj")));
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
			const FAssetData GoneMesh = MakeMesh(TEXT("GoneMesh"), Scratch / TEXT("gone.fbx"));
			HostContentBrowser::SetSelectedAssets({GoneMesh, MakeMesh(TEXT("ObjMesh"), Scratch / TEXT("crate.obj"))});
			TestTrue(TEXT("nothing offered"),
				(*Slot)->FindSelectedAssetSourceFile().IsEmpty() && !(*Slot)->CanUploadSelection());
			HostContentBrowser::SetSelectedAssets({Texture, GoneMesh, MakeMesh(TEXT("Crate"), Crate)});
			TestText(this, TEXT("the mesh's source file"), (*Slot)->FindSelectedAssetSourceFile(), Crate);
			TestTrue(
				TEXT("offered, the texture left unloaded"), (*Slot)->CanUploadSelection() && !Texture.IsAssetLoaded());
		});
	Step(this, Slot, &STarvolinePanel::UploadSelectedAsset,
		Two + TEXT(", frog_mesh.fbx, bird_mesh.fbx, crate.FBX*], status \"crate.FBX is rigged as "
				   "quadruped. Now say what it does.\""));
#endif
	EndStep(SavedKey);
	return true;
}

/** What the panel showed of a job while it ran: each stage sentence and status line once, in order; the last progress
 *  (-1 for none); frames with the progress off the bar or going back, or its area shown when it should not be. */
struct FJobWatch
{
	TArray<FString> Stages;
	TArray<FString> Statuses;
	float Progress = -1.0f;
	int32 WrongFrames = 0;
};

/** Enqueues Make the animation and a wait until the panel's work ends, noting every frame what it showed of the job. */
TSharedRef<FJobWatch> WatchStep(FAutomationTestBase* Test, const FPanelSlot& Slot)
{
	const TSharedRef<FJobWatch> Watch = MakeShared<FJobWatch>();
	Then(
		[Slot]()
		{
			(*Slot)->MakeAnimation();
		});
	WaitUntil(
		Test, TEXT("the job"),
		[Slot, Watch]()
		{
			const STarvolinePanel& Panel = **Slot;
			Watch->Statuses.AddUnique(Panel.GetStatus());
			if (Panel.GetJob().IsSet())
			{
				Watch->Stages.AddUnique(Panel.GetStageText().ToString());
				const float Progress = Panel.GetProgress().Get(-1.0f);
				const bool bShown = Panel.GetProgressVisibility() == EVisibility::Visible;
				Watch->WrongFrames +=
					Progress < Watch->Progress || Progress > 1.0f || bShown != Panel.GetJob()->IsActive();
				Watch->Progress = Progress;
			}
			return !Panel.IsBusy();
		},
		120.0);
	return Watch;
}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
/** Checks that consecutive requests were WallInterval seconds apart: never sooner, and typically not later. */
void TestSpacing(FAutomationTestBase* Test, const FString& What, const TArray<double>& Times, double WallInterval)
{
	TArray<double> Gaps;
	FString Seen;
	for (int32 Index = 1; Index < Times.Num(); ++Index)
	{
		Gaps.Add(Times[Index] - Times[Index - 1]);
		Seen += FString::Printf(TEXT(" %.3f"), Gaps.Last());
	}
	Gaps.Sort();
	// The ticker never fires early; a loaded machine only answers later, so the median bounds the upper side.
	Test->TestTrue(What + TEXT(" gaps") + Seen,
		Gaps.Num() >= 2 && Gaps[0] >= 0.97 * WallInterval && Gaps[Gaps.Num() / 2] <= 1.07 * WallInterval + 0.08);
}

#endif

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelJobTest, "Tarvoline.Panel.JobStagesFailuresAndPollTimings",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelJobTest::RunTest(const FString&)
{
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = PanelStep(this, DemoKey, TEXT("humanoid_mesh.fbx"), TEXT("walks forward, then waves"));
	const FString Head = TEXT("signed in, list [humanoid_mesh.fbx*], job ");

	// The first job of the day wakes the motion model: every stage lasts several reads.
	SimTimeScaleStep(this, 0.25);
	const TSharedRef<FJobWatch> Watch = WatchStep(this, Slot);
	const TSharedRef<TSharedPtr<FExchange>> Reads =
		ControlStep(this, TEXT("GET"), TEXT("/_sim/requests?method=GET&path=/v1/jobs/"));
	Then(
		[this, Slot, Watch, Reads, Head]()
		{
			// Each stage seen once and in order (a stage coming back would be listed where it first appeared).
			const TArray<FString> Order = {TEXT("Waiting for a worker"), TEXT("Reading the sentence"),
				TEXT("The motion model is waking up (about two minutes, once)"), TEXT("Performing the motion"),
				TEXT("Fitting it to your character"), TEXT("Making the files"), TEXT("done")};
			TArray<FString> InOrder = Order;
			InOrder.RemoveAll(
				[Watch](const FString& Stage)
				{
					return !Watch->Stages.Contains(Stage);
				});
			const FString Seen = FString::Join(Watch->Stages, TEXT(" | "));
			TestText(this, TEXT("stages in order"), Seen, FString::Join(InOrder, TEXT(" | ")));
			TestTrue(TEXT("from waiting for a worker to done, most stages, waking up among them: ") + Seen,
				Seen.StartsWith(Order[0]) && Seen.EndsWith(Order.Last()) &&
					(TickerSpeedUp == 1.0f || (Watch->Stages.Num() >= 5 && Watch->Stages.Contains(Order[2]))));
			TestEqual(TEXT("frames with the progress off the bar, going back, or shown while not running"),
				Watch->WrongFrames, 0);
			TestTrue(TEXT("progress shown"), Watch->Progress >= 0.0f);
			TestText(this, TEXT("succeeded"), Describe(**Slot),
				Head + TEXT("succeeded \"done\", result, status \"Ready: *"));

			// Reads of the running job are one poll interval apart (allowing a fifth early), not one per frame.
			const TArray<double> Times = RecordedTimes((*Reads)->Body);
			for (int32 Index = 1; Index + 1 < Times.Num(); ++Index)
			{
				TestTrue(FString::Printf(TEXT("job reads %d and %d a poll interval apart"), Index - 1, Index),
					Times[Index] - Times[Index - 1] >= 2.0 / TickerSpeedUp);
			}
		});

	// A job made from presets says so until its download starts.
	SimTimeScaleStep(this, 0.0);
	SimNextStep(this, TEXT("{\"job\": {\"fallback\": true}}"));
	const TSharedRef<FJobWatch> Presets = WatchStep(this, Slot);
	Then(
		[this, Slot, Presets, Head]()
		{
			const FString Seen = FString::Join(Presets->Statuses, TEXT(" | "));
			TestTrue(TEXT("presets sentence, then the download: ") + Seen,
				Seen.Contains(
					TEXT("Made with presets: the motion model was busy. Nothing extra was charged. | Downloading...")));
			TestText(
				this, TEXT("presets"), Describe(**Slot), Head + TEXT("succeeded \"done\", result, status \"Ready: *"));
		});

	// Failures: late and refunded; in the service's other words, with a refund and no sentence, or its own sentence and
	// no refund; stages in capitals or unknown.
	const TPair<FString, FString> Failures[] = {
		{TEXT("{\"job\": {\"fail\": \"The hands went through the body.\", \"failStage\": \"retargeting\"}}"),
			TEXT("failed \"Fitting it to your character\", error \"The hands went through the body. Your credits were "
				 "refunded.\"")},
		{AnswerWithFault(TEXT("GET"), TEXT("^/v1/jobs/"), 200,
			 TEXT("{\"status\": \"cancelled\", \"stage\": \"Warming\", \"creditsRefunded\": true}")),
			TEXT("cancelled \"The motion model is waking up (about two minutes, once)\", error \"The animation failed. "
				 "Your credits were refunded.\"")},
		{AnswerWithFault(TEXT("GET"), TEXT("^/v1/jobs/"), 200,
			 TEXT("{\"status\": \"FAILED\", \"stage\": \"tweening\", \"error\": \"Stopped by an operator.\"}")),
			TEXT("FAILED \"tweening\", error \"Stopped by an operator.\"")},
	};
	for (const TPair<FString, FString>& Failure : Failures)
	{
		ArmStep(this, Failure.Key);
		Step(this, Slot, &STarvolinePanel::MakeAnimation, Head + Failure.Value);
	}

	// A progress beyond either end of the bar stays within it; a job without a stage is simply working. The job is the
	// faults' own: its first answer comes with the order, the next with its reads, which fail once they are disarmed.
	FaultStep(
		this, TEXT("[") +
				  AnswerWithFault(TEXT("POST"), TEXT("^/v1/generate$"), 200,
					  TEXT("{\"id\": \"j1\", \"status\": \"running\", \"stage\": \"\", \"progress\": 1.7}")) +
				  TEXT(", ") +
				  AnswerWithFault(TEXT("GET"), TEXT("^/v1/jobs/j1$"), 200,
					  TEXT("{\"id\": \"j1\", \"status\": \"running\", \"stage\": \"\", \"progress\": -0.2}"), -1) +
				  TEXT("]"));
	Then(
		[Slot]()
		{
			(*Slot)->MakeAnimation();
		});
	for (const float Progress : {1.7f, -0.2f})
	{
		WaitUntil(this, TEXT("the odd progress"),
			[Slot, Progress]()
			{
				return (*Slot)->GetJob().IsSet() && (*Slot)->GetJob()->Progress == Progress;
			});
		Then(
			[this, Slot, Progress]()
			{
				TestText(this, FString::Printf(TEXT("progress %g"), Progress),
					FString::Printf(
						TEXT("%g, %s"), (*Slot)->GetProgress().Get(-1.0f), *(*Slot)->GetStageText().ToString()),
					Progress > 1.0f ? TEXT("1, Working") : TEXT("0, Working"));
			});
	}
	SimClearFaultsStep(this);
	WaitIdle(this, Slot);
	SimTimeScaleStep(this, 1000.0);

	// A read that fails while the job runs ends the polling (nothing read for two intervals). Check again follows a
	// job still running to its result, and shows why a job that failed meanwhile failed.
	const FString Stopped = Head + TEXT("queued \"Waiting for a worker\", progress, Check again, ") + Answered(503);
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/jobs/"), 503, FString()));
	Step(this, Slot, &STarvolinePanel::MakeAnimation, Stopped);
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
	Idle(5.0 / TickerSpeedUp + 0.2);
	const TSharedRef<TArray<FRecordedRequest>> Quiet = RecordedStep(this, TEXT("/v1/jobs/"));
	Then(
		[this, Slot, Quiet]()
		{
			TestEqual(TEXT("no reads after the failed one"), Quiet->Num(), 0);
			(*Slot)->CheckAgain();
		});
	Idle(5.0 / TickerSpeedUp + 0.2);
	const TSharedRef<TArray<FRecordedRequest>> Followed = RecordedStep(this, TEXT("/v1/jobs/"));
	Then(
		[this, Slot, Followed]()
		{
			TestTrue(TEXT("running job followed again"), (*Slot)->IsBusy() && Followed->Num() >= 2);
		});
	SimAdvanceStep(this, 100000.0);
	ExpectStep(this, Slot, Head + TEXT("succeeded \"done\", result, status \"Ready: *"));
	SimNextStep(this, TEXT("{\"job\": {\"fail\": \"The feet slid.\", \"failStage\": \"generating\"}}"));
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/v1/jobs/"), 503, FString()));
	Step(this, Slot, &STarvolinePanel::MakeAnimation, Stopped);
	SimAdvanceStep(this, 100000.0);
	Step(this, Slot, &STarvolinePanel::CheckAgain,
		Head + TEXT("failed \"Performing the motion\", error \"The feet slid. Your credits were refunded.\""));

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	// Poll timings, slower than the rest, so that a gap's wall time is long against how late a loaded machine answers.
	constexpr float SpeedUp = 2.0f;
	SimTimeScaleStep(this, 1000.0);
	ControlStep(this, TEXT("DELETE"), TEXT("/_sim/requests"));
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
	WaitIdle(this, Slot);
	Then(
		[this, Slot, RigReads]()
		{
			TestSpacing(this, TEXT("rig reads"), RecordedTimes((*RigReads)->Body), 3.0 / SpeedUp);
			(*Slot)->MakeAnimation();
		});
	Idle(9.0 / SpeedUp);
	// The service's clock jumps with the advance, so reads before it and after it are compared among themselves.
	const TSharedRef<TSharedPtr<FExchange>> JobPolls =
		ControlStep(this, TEXT("GET"), TEXT("/_sim/requests?method=GET&path=/v1/jobs/"));
	SimAdvanceStep(this, 100000.0);
	WaitIdle(this, Slot);
	const TSharedRef<TSharedPtr<FExchange>> JobReads =
		ControlStep(this, TEXT("GET"), TEXT("/_sim/requests?method=GET&path=/v1/jobs/"));
	Then(
		[this, Slot, JobPolls, JobReads]()
		{
			TestSpacing(this, TEXT("job reads"), RecordedTimes((*JobPolls)->Body), 2.5 / SpeedUp);
			// The read that found the job done is followed at once by the read of its result, without another pause.
			const TArray<double> Times = RecordedTimes((*JobReads)->Body);
			const double ResultGap = Times.Num() >= 2 ? Times.Last() - Times[Times.Num() - 2] : -1.0;
			TestTrue(FString::Printf(TEXT("result read %.3f s after the last poll"), ResultGap),
				ResultGap >= 0.0 && ResultGap < 0.4 * 2.5 / SpeedUp);
		});
#endif
	EndStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePanelResultTest, "Tarvoline.Panel.ResultRoadAndFailures",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePanelResultTest::RunTest(const FString&)
{
	const auto SavedKey = BeginStep(this);
	const FPanelSlot Slot = PanelStep(this, DemoKey, TEXT("quadruped_mesh.fbx"), TEXT("Walks forward, then waves!"));
	UploadStep(this, Slot, TestModelFile(TEXT("humanoid_mesh.fbx")));
	const FString Two = TEXT("signed in, list [quadruped_mesh.fbx*, humanoid_mesh.fbx]");

	// The humanoid's job; the user picks the other character while it runs, which drops the price but must not move
	// the result.
	Step(this, Slot, &STarvolinePanel::CheckPrice);
	SimTimeScaleStep(this, 0.05);
	const TSharedRef<int32> SyncsBefore = MakeShared<int32>(0);
	Then(
		[this, Slot, SyncsBefore]()
		{
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			*SyncsBefore = GEditor->HostGetSyncCount();
#endif
			(*Slot)->MakeAnimation();
			(*Slot)->OnCharacterSelected((*Slot)->GetCharacters()[0], ESelectInfo::OnMouseClick);
			TestFalse(TEXT("choosing another character drops the price"), (*Slot)->GetPlan().IsSet());
		});
	WaitIdle(this, Slot);
	const TSharedRef<TSharedPtr<FJsonObject>> State = SimStateStep(this);
	const TSharedRef<TArray<FRecordedRequest>> Road = RecordedStep(this, TEXT("/"));
	Then(
		[this, Slot, State, Road, SyncsBefore, Two]()
		{
			STarvolinePanel& Panel = **Slot;
			const TSharedPtr<FJsonObject> SimJob =
				Panel.GetJob().IsSet() ? SimJobOf(*State, Panel.GetJob()->Id) : nullptr;
			if (!TestTrue(TEXT("the service knows the job"), SimJob.IsValid()))
			{
				return;
			}
			// The status line with the service's length and price, the balance read after the import, and the job's
			// file imported for the job's character, not the one selected meanwhile.
			const int32 Cost = int32(SimJob->GetNumberField(TEXT("cost")));
			TestText(this, TEXT("result"),
				Describe(Panel) + TEXT(" | ") + Panel.GetAccountText().ToString() + TEXT(" | ") +
					Panel.GetLastImport().FolderPath,
				FString::Printf(TEXT("%s, job succeeded \"done\", result, status \"Ready: %.1f s, %d credits.\" | "
									 "demo@tarvoline.test - %d credits | %s"),
					*Two, SimJob->GetNumberField(TEXT("durationSeconds")), Cost, 1000 - Cost,
					*AnimationFolderFor(TEXT("humanoid_mesh.fbx"))));
			const FString Before = Road->Num() >= 2 ? (*Road)[Road->Num() - 2].Path : FString();
			TestTrue(TEXT("account read right after the download, last: ") + Road->Last().Path,
				Before.StartsWith(TEXT("/downloads/")) && Road->Last().Path == TEXT("/v1/auth/me"));

			// Downloaded into Saved/Tarvoline under the prompt and the job, byte for byte the humanoid's file.
			TArray<uint8> Downloaded;
			TArray<uint8> Served;
			FFileHelper::LoadFileToArray(
				Downloaded, *(FPaths::ProjectSavedDir() / TEXT("Tarvoline") / TEXT("walks_forward_then_waves_") +
								Panel.GetJob()->Id.Left(8) + TEXT(".fbx")));
			FFileHelper::LoadFileToArray(Served, *TestModelFile(TEXT("humanoid_anim.fbx")));
			TestTrue(TEXT("the served file, whole, where expected"), Downloaded.Num() > 0 && Downloaded == Served);

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
			// The new clip is shown in the Content Browser, which takes the focus; so does Show in Content Browser.
			const FAssetData Clip(Panel.GetLastImport().Clip.Get());
			const TArray<FAssetData>& Synced = GEditor->HostGetSyncedAssets();
			TestTrue(TEXT("synced the clip alone, focused"), GEditor->HostGetSyncCount() == *SyncsBefore + 1 &&
																 Synced.Num() == 1 && Synced[0] == Clip &&
																 GEditor->HostWasBrowserFocused());
			Panel.ShowInContentBrowser();
			TestTrue(TEXT("Show in Content Browser shows the clip"),
				GEditor->HostGetSyncCount() == *SyncsBefore + 2 && Synced.Num() == 1 && Synced[0] == Clip);
#endif
			// A new job hides the previous result, and Check again for it, at once; it is made for the character
			// selected now.
			Panel.OnPromptChanged(FText::FromString(TEXT("sits down")));
			Panel.MakeAnimation();
			TestText(this, TEXT("new job"), Describe(Panel),
				Two.Replace(TEXT("signed in,"), TEXT("signed in, busy,")) + TEXT(", job succeeded \"done\""));
		});
	ExpectStep(this, Slot, FString(), AnimationFolderFor(TEXT("quadruped_mesh.fbx")),
		[](const STarvolinePanel& Panel)
		{
			return Panel.GetLastImport().FolderPath;
		});

	// A broken download link: the sentence, the job kept, nothing written, Check again offered; it then brings the
	// result.
	const FString Job = Two + TEXT(", job succeeded \"done\"");
	FaultStep(this, AnswerWithFault(TEXT("GET"), TEXT("^/downloads/"), 404, TEXT("{\"detail\": \"Gone.\"}")));
	Step(this, Slot, &STarvolinePanel::MakeAnimation, Job + TEXT(", Check again, ") + BrokenLink);
	Then(
		[this, Slot, Job]()
		{
			STarvolinePanel& Panel = **Slot;
			TestFalse(TEXT("nothing written"),
				IFileManager::Get().FileExists(*(FPaths::ProjectSavedDir() / TEXT("Tarvoline/sits_down_") +
												 Panel.GetJob()->Id.Left(8) + TEXT(".fbx"))));
			Panel.CheckAgain();
			TestText(this, TEXT("checking again"), Describe(Panel),
				Job.Replace(TEXT("signed in,"), TEXT("signed in, busy,")) + TEXT(", Check again"));
		});
	ExpectStep(this, Slot, Job + TEXT(", result, status \"Ready: *"));

	// A job without an FBX ends quietly, without Check again (a finished job's outputs stay as they are); a downloaded
	// file that is no model gives the import's sentence (the importer logs it as an error); the balance not read after
	// a good import keeps the clip; a refused key on the download signs the panel out, where Check again could only
	// fail, and keeps the stored key.
	AddExpectedError(TEXT("Call to FbxImporter::Initialize() failed."), EAutomationExpectedErrorFlags::Contains, 0);
	const TPair<FString, FString> Failures[] = {
		{TEXT("{\"job\": {\"noFbx\": true}}"), Job},
		{AnswerWithFault(TEXT("GET"), TEXT("^/downloads/"), 200, TEXT("{\"not\": \"a model\"}")),
			Job + TEXT(", Check again, error \"The FBX was imported but no animation clip was found in it.\"")},
		{AnswerWithFault(TEXT("GET"), TEXT("^/v1/auth/me$"), 500, FString()), Job + TEXT(", result, ") + Answered(500)},
		{AnswerWithFault(TEXT("GET"), TEXT("^/downloads/"), 401, FString()),
			Job.Replace(TEXT("signed in"), TEXT("signed out")) + TEXT(", ") + BrokenLink},
	};
	for (const TPair<FString, FString>& Failure : Failures)
	{
		ArmStep(this, Failure.Key);
		Step(this, Slot, &STarvolinePanel::MakeAnimation, Failure.Value);
	}
	ExpectStep(this, Slot, FString(), Stored);
	EndStep(SavedKey);
	return true;
}

} // namespace TarvolinePanelTest

#endif // WITH_DEV_AUTOMATION_TESTS
