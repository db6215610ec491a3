// Automation test of the panel's layout, taking the whole road only through the widgets against the local service:
// every text with its key and the few styles the panel sets; which parts are shown and which controls can be used in
// each state of the workflow, "Check again" included; the picker and the examples; and a picture at each main stop.
//
// The widgets are driven and drawn with the stand-in's driver and picture maker, so these tests are compiled only
// where those exist.

#include "Animation/AnimSequence.h"
#include "AssetRegistry/AssetData.h"
#include "CoreMinimal.h"
#include "Editor.h"
#include "Editor/EditorEngine.h"
#include "Engine/SkeletalMesh.h"
#include "Misc/AutomationTest.h"
#include "STarvolinePanel.h"
#include "TarvolineImport.h"
#include "TarvolineService.h"
#include "TarvolineTestHelpers.h"
#include "UObject/UObjectGlobals.h"

#if WITH_DEV_AUTOMATION_TESTS && defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST

#include "HostContentBrowser.h"
#include "HostDesktopPlatform.h"
#include "HostEngine.h"
#include "HostSlateLayout.h"
#include "Styling/SlateTypes.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/Text/STextBlock.h"

namespace TarvolineLayoutTest
{
using namespace TarvolineUiTest;

TSharedPtr<SWidget> Parent(const TSharedPtr<SWidget>& Widget)
{
	return Widget.IsValid() ? Widget->GetParentWidget() : nullptr;
}

/** A child of a widget by index, counted from the end when negative; null when there is none. */
TSharedPtr<SWidget> ChildOf(const TSharedPtr<SWidget>& Widget, int32 Index)
{
	FChildren* Children = Widget.IsValid() ? Widget->GetChildren() : nullptr;
	Index = Children && Index < 0 ? Children->Num() + Index : Index;
	return Children && Index >= 0 && Index < Children->Num() ? TSharedPtr<SWidget>(Children->GetChildAt(Index))
															 : nullptr;
}

/**
 * The parts of the panel a person tells apart, found as a person would see them: buttons and boxes by their texts'
 * keys, the rest by where they sit. Listed as looks list them: the signed-in parts first, and among those what can be
 * used while working before what starts work.
 */
TArray<TPair<FString, TSharedPtr<SWidget>>> Parts(const FPanelUnderTest& P)
{
	const FHostSlateDriver& D = P.Driver;
	const TSharedPtr<SWidget> Column = Parent(P.Find(TEXT("Title")));
	const TSharedPtr<SWidget> MotionBox = Parent(Parent(D.FindTextBox(TEXT("PromptHint"))));
	const TArray<TSharedRef<SWidget>> Examples = P.ExampleButtons();
	return {{TEXT("SignIn"), P.Find(TEXT("KeyHint"))}, {TEXT("KeyBox"), D.FindTextBox(TEXT("KeyBox"))},
		{TEXT("Connect"), D.FindButton(TEXT("Connect"))}, {TEXT("GetKey"), D.FindButton(TEXT("GetKey"))},
		{TEXT("TopUp"), D.FindButton(TEXT("TopUp"))}, {TEXT("SignOut"), D.FindButton(TEXT("SignOut"))},
		{TEXT("CharacterHeader"), P.Find(TEXT("Character"))}, {TEXT("Picker"), P.Picker()},
		{TEXT("UploadSel"), ChildOf(Parent(D.FindButton(TEXT("UploadFile"))), 1)},
		{TEXT("Formats"), P.Find(TEXT("Formats"))}, {TEXT("MotionHeader"), P.Find(TEXT("Motion"))},
		{TEXT("PromptBox"), D.FindTextBox(TEXT("PromptHint"))},
		{TEXT("Examples"), Examples.Num() > 0 ? TSharedPtr<SWidget>(Examples[0]) : nullptr},
		{TEXT("Refresh"), D.FindButton(TEXT("Refresh"))}, {TEXT("UploadFile"), D.FindButton(TEXT("UploadFile"))},
		{TEXT("Price"), D.FindButton(TEXT("Price"))}, {TEXT("Make"), D.FindButton(TEXT("Make"))},
		{TEXT("PriceLine"), ChildOf(MotionBox, 2)}, {TEXT("Progress"), ChildOf(MotionBox, 4)},
		{TEXT("Folder"), ChildOf(Parent(Parent(D.FindButton(TEXT("Show")))), 0)},
		{TEXT("Show"), D.FindButton(TEXT("Show"))}, {TEXT("AddToLevel"), D.FindButton(TEXT("AddToLevel"))},
		{TEXT("Watch"), D.FindButton(TEXT("Watch"))}, {TEXT("Again"), D.FindButton(TEXT("Again"))},
		{TEXT("Error"), ChildOf(Column, -2)}, {TEXT("Status"), ChildOf(Column, -1)}};
}

TSharedPtr<SWidget> Part(const FPanelUnderTest& P, const FString& Name)
{
	for (const TPair<FString, TSharedPtr<SWidget>>& Found : Parts(P))
	{
		if (Found.Key == Name)
		{
			return Found.Value;
		}
	}
	return nullptr;
}

/** What every signed-in state shows, and what can be used while working, when idle, and with a sentence to send. */
const FString SignedIn = TEXT("TopUp SignOut CharacterHeader Picker UploadSel Formats MotionHeader PromptBox Examples "
							  "Refresh UploadFile Price Make");
const FString Working = TEXT("TopUp SignOut Picker PromptBox Examples");
const FString Free = Working + TEXT(" Refresh UploadFile");
const FString Ready = Free + TEXT(" Price Make");

/** Checks one state's look: the parts shown, the controls among them that can be used, and nothing merely hidden. */
void TestLook(FAutomationTestBase* Test, const FPanelUnderTest& P, const FString& State, const FString& Shown,
	const FString& Usable)
{
	TArray<FString> ShownNow;
	TArray<FString> UsableNow;
	for (const TPair<FString, TSharedPtr<SWidget>>& Part : Parts(P))
	{
		if (Part.Value.IsValid() && P.Driver.IsVisible(Part.Value))
		{
			ShownNow.Add(Part.Key);
			// Buttons and text boxes say they take clicks or typing; the picker opens its list on a click.
			const bool bControl =
				Part.Value->IsInteractable() || Part.Value->SupportsKeyboardFocus() || Part.Key == TEXT("Picker");
			if (bControl && P.Driver.CanInteract(Part.Value))
			{
				UsableNow.Add(Part.Key);
			}
		}
	}
	// Rules answer visible or collapsed: a hidden widget would keep its room as an empty gap.
	int32 Hidden = 0;
	P.Driver.ForEachWidget(
		[&Hidden](SWidget& Widget)
		{
			Hidden += Widget.GetVisibility() == EVisibility::Hidden ? 1 : 0;
			return true;
		});
	Test->TestEqual(*State,
		FString::Printf(TEXT("shown %s; usable %s; hidden %d"), *FString::Join(ShownNow, TEXT(" ")),
			*FString::Join(UsableNow, TEXT(" ")), Hidden),
		FString::Printf(TEXT("shown %s; usable %s; hidden 0"), *Shown, *Usable));
}

/** The sentences offered for a family, as the example buttons must show them. */
FString ExamplesOf(const FString& Family)
{
	return FString::Join(STarvolinePanel::ExamplesForFamily(Family), TEXT(" | "));
}

FString PickerLine(
	const FString& Face, const FString& Rows, const FString& Selected, const FString& Examples, const FString& Prompt)
{
	return FString::Printf(TEXT("face '%s', rows '%s', selected '%s', examples '%s', prompt '%s'"), *Face, *Rows,
		*Selected, *Examples, *Prompt);
}

/** The picker's face, rows and selected row, the example buttons' sentences and the sentence typed. */
FString DescribePicker(const FPanelUnderTest& P)
{
	return PickerLine(P.Driver.GetString(P.Picker()), FString::Join(P.Driver.GetOptionStrings(P.Picker()), TEXT(" | ")),
		P.Driver.GetSelectedOptionString(P.Picker()), FString::Join(P.ExampleTexts(), TEXT(" | ")),
		P.Driver.GetString(P.Driver.FindTextBox(TEXT("PromptHint"))));
}

/** A text block's look: typeface and size, whether it wraps, and its colour rule or colour. */
FString TextLook(const TSharedPtr<SWidget>& Widget)
{
	if (!Widget.IsValid() || Widget->GetType() != FName(TEXT("STextBlock")))
	{
		return TEXT("not a text block");
	}
	const STextBlock& Text = static_cast<const STextBlock&>(*Widget);
	const FSlateColor Colour = Text.HostGetColorAndOpacity();
	return FString::Printf(TEXT("%s %g%s%s%s"), *Text.HostGetFont().TypefaceFontName.ToString(),
		Text.HostGetFont().Size, Text.HostGetAutoWrapText() ? TEXT(" wraps") : TEXT(""),
		Colour.GetColorUseRule() == ESlateColorStylingMode::UseColor_Foreground_Subdued ? TEXT(" subdued") : TEXT(""),
		Colour.IsColorSpecified() ? *(TEXT(" ") + Colour.GetSpecifiedColor().ToString()) : TEXT(""));
}
} // namespace TarvolineLayoutTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineLayoutWalkThroughTest, "Tarvoline.Layout.WalkThrough",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineLayoutWalkThroughTest::RunTest(const FString&)
{
	using namespace TarvolineLayoutTest;
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	const FString Pictures = PictureDir();
	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	const TSharedRef<FPanelUnderTest> P = MakeShared<FPanelUnderTest>();
	const auto NotBusy = [P]()
	{
		return !P->Panel->IsBusy();
	};
	const FString Results = TEXT(" Show AddToLevel Watch");

	// Signed out: only the sign-in box; Connect waits for a key.
	Then(
		[this, P, Pictures]()
		{
			// The panel's 3-second and 2.5-second polls pass ten times faster; the service is sped up by its clock.
			HostEditorLoop::SetTimeDilation(10.0f);
			HostDesktopPlatform::Reset();
			HostContentBrowser::Reset();
			HostEngine::ClearLaunchedUrls();
			// Every text the panel shows before it knows anything is a localizable text of the plug-in, under a short
			// key that no other widget uses; the example sentences alone are plain strings.
			const TArray<FString> Examples = STarvolinePanel::ExamplesForFamily(TEXT("quadruped"));
			TArray<FString> Keys;
			TArray<FString> Faults;
			P->Driver.ForEachWidget(
				[&Examples, &Keys, &Faults](SWidget& Widget)
				{
					for (const TOptional<FText>& Text : {Widget.HostGetShownText(), Widget.HostGetHintText()})
					{
						const FString Key = Text.IsSet() ? FTextInspector::GetKey(*Text).Get(FString()) : FString();
						if (!Text.IsSet() || Text->IsEmpty() || (Key.IsEmpty() && Examples.Contains(Text->ToString())))
						{
							continue;
						}
						if (Key.IsEmpty() || Key.Len() > 12 || !IsPluginText(*Text, Key) || Keys.Contains(Key))
						{
							Faults.Add(Key + TEXT(": ") + Text->ToString());
						}
						Keys.Add(Key);
					}
					return true;
				});
			TestEqual(TEXT("texts without a short key of their own in the plug-in's namespace"),
				FString::Join(Faults, TEXT(" | ")), FString());
			TestTrue(TEXT("the panel's fixed texts found"), Keys.Num() >= 20);
			// Fonts, colours and wrapping of the texts, top to bottom; the buttons' and text boxes' styles.
			TArray<FString> Looks;
			for (const TSharedPtr<SWidget>& Text : {P->Find(TEXT("Title")), P->Find(TEXT("Sub")),
					 P->Find(TEXT("Account")), P->Find(TEXT("KeyHint")), P->Find(TEXT("Character")),
					 P->Find(TEXT("Formats")), P->Find(TEXT("Motion")), Part(*P, TEXT("PriceLine")),
					 Part(*P, TEXT("Folder")), Part(*P, TEXT("Error")), Part(*P, TEXT("Status"))})
			{
				Looks.Add(TextLook(Text));
			}
			TestEqual(TEXT("title, hints, headers; price, folder, error and status lines"),
				FString::Join(Looks, TEXT(", ")),
				TEXT("Bold 14, Regular 10 wraps subdued, Bold 11, Regular 10 wraps subdued, Bold 11, Regular 10 "
					 "wraps subdued, Bold 11, Regular 10 wraps, Regular 10 wraps, Regular 10 wraps "
					 "(R=0.950000,G=0.350000,B=0.300000,A=1.000000), Regular 10 wraps"));
			const auto StyleOf = [P](const TCHAR* Key)
			{
				const TSharedPtr<SButton> Button = P->Driver.FindButton(Key);
				return Button.IsValid() && Button->HostGetButtonStyle()
						   ? Button->HostGetButtonStyle()->HostStyleName.ToString()
						   : FString();
			};
			TestEqual(TEXT("make in the primary style, price in the default one"),
				StyleOf(TEXT("Make")) + TEXT(", ") + StyleOf(TEXT("Price")), TEXT("PrimaryButton, Button"));
			const TSharedPtr<SHostEditableTextBox> KeyBox = P->Driver.FindTextBox(TEXT("KeyBox"));
			TestTrue(TEXT("key box masks the key on one line"),
				KeyBox.IsValid() && KeyBox->HostIsPassword() && !KeyBox->HostIsMultiLine());
			const TSharedPtr<SHostEditableTextBox> PromptBox = P->Driver.FindTextBox(TEXT("PromptHint"));
			const TSharedPtr<SWidget> PromptSize = Parent(PromptBox);
			TestTrue(TEXT("motion box wraps over lines, at least 48 high"),
				PromptBox.IsValid() && PromptBox->HostIsMultiLine() && PromptBox->HostGetAutoWrapText() &&
					!PromptBox->HostIsPassword() && PromptSize->GetType() == FName(TEXT("SBox")) &&
					StaticCastSharedPtr<SBox>(PromptSize)->HostGetMinDesiredHeight() == FOptionalSize(48.0f));

			TestLook(this, *P, TEXT("signed out"), TEXT("SignIn KeyBox Connect GetKey"), TEXT("KeyBox GetKey"));
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-signed-out.png"));
			TestTrue(TEXT("connect usable once a key is typed"),
				P->TypeInto(TEXT("KeyBox"), TEXT("t")) && P->CanUse(TEXT("Connect")));
			TestTrue(TEXT("a refused key sent"),
				P->TypeInto(TEXT("KeyBox"), TEXT("tv_no_such_key")) && P->Click(TEXT("Connect")));
			TestLook(this, *P, TEXT("signing in"), TEXT("SignIn KeyBox Connect GetKey Status"), TEXT("KeyBox GetKey"));
			TestEqual(TEXT("signing in: status"), P->Driver.GetString(Part(*P, TEXT("Status"))), TEXT("Connecting..."));
		});
	WaitUntil(this, TEXT("the refusal"), NotBusy);

	// Refused: the sign-in box stays, with the service's own words for the refusal under it, wrapped inside the
	// panel; the key stays in the box.
	Then(
		[this, P, Pictures]()
		{
			TestLook(
				this, *P, TEXT("refused"), TEXT("SignIn KeyBox Connect GetKey Error"), TEXT("KeyBox Connect GetKey"));
			TestEqual(TEXT("refused: reason, key"),
				P->Driver.GetString(Part(*P, TEXT("Error"))) + TEXT(", ") +
					P->Driver.GetString(P->Driver.FindTextBox(TEXT("KeyBox"))),
				TEXT("Invalid API key., tv_no_such_key"));
			HostSlate::LayoutPass(P->Panel, PanelWidth, 0.0f, HostSlate::GetFontMeasurer());
			const FGeometry& ErrorBox = Part(*P, TEXT("Error"))->HostGetGeometry();
			TestTrue(FString::Printf(TEXT("refused: reason wraps inside the panel (%.0f wide)"), ErrorBox.Size.X),
				ErrorBox.Size.X <= PanelWidth - 24.0f && ErrorBox.AbsolutePosition.X >= 12.0f);
			TestEqual(TEXT("refused: a collapsed status line takes no room"),
				Part(*P, TEXT("Status"))->HostGetGeometry().Size.Y, 0.0);
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-refused.png"));
			TestTrue(TEXT("a good key sent"), P->TypeInto(TEXT("KeyBox"), DemoKey) && P->Click(TEXT("Connect")));
		});
	WaitUntil(this, TEXT("sign-in"), NotBusy);

	// Connected, without characters yet: nothing to price or make.
	SimulatorTimeStep(this, TEXT("{\"timeScale\": 1000}"));
	Then(
		[this, P, Pictures]()
		{
			TestLook(this, *P, TEXT("connected"), SignedIn, Free);
			TestEqual(TEXT("connected: account line"), P->Driver.GetString(Parent(P->Driver.FindButton(TEXT("TopUp")))),
				TEXT("demo@tarvoline.test - 1000 credits"));
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-connected.png"));
			// The texts that follow the state have keys too: the picker's face and the upload-selection label.
			TestTrue(TEXT("the picker's face and the upload-selection label"),
				IsPluginText(P->Driver.GetText(P->Picker()), TEXT("NoCharacters")) &&
					IsPluginText(P->Driver.GetText(Part(*P, TEXT("UploadSel"))), TEXT("UploadSelNone")));
			// The picker says there are no characters; the four-legged examples stand in.
			TestEqual(TEXT("connected: picker"), DescribePicker(*P),
				PickerLine(TEXT("No characters yet. Upload one below."), FString(), FString(),
					ExamplesOf(TEXT("quadruped")), FString()));

			// A mesh selected in the Content Browser whose source file is still on disk is offered by its file name.
			const FString Unnamed = P->Driver.GetString(Part(*P, TEXT("UploadSel")));
			const FTarvolineImportResult Imported =
				ImportAnimationFbx(TestModelFile(TEXT("humanoid_anim.fbx")), TEXT("Layout Texts.fbx"), TEXT("pose"));
			HostContentBrowser::SetSelectedAssets({FAssetData(Imported.Mesh.Get())});
			const FString Named = P->Driver.GetString(Part(*P, TEXT("UploadSel")));
			TestTrue(TEXT("a selection can be uploaded"), P->Driver.CanInteract(Part(*P, TEXT("UploadSel"))));
			HostContentBrowser::Reset();
			TestEqual(TEXT("upload-selection label: nothing selected, a mesh, nothing again"),
				Unnamed + TEXT(", ") + Named + TEXT(", ") + P->Driver.GetString(Part(*P, TEXT("UploadSel"))),
				TEXT("Upload the selected asset's source file, Upload humanoid_anim.fbx, Upload the selected asset's "
					 "source file"));

			// A model chosen in the file dialog; the service takes its time to rig it.
			HostDesktopPlatform::QueueAnswer(TestModelFile(TEXT("humanoid_mesh.fbx")));
			TestTrue(TEXT("upload a model file"), P->Click(TEXT("UploadFile")));
		});
	WaitUntil(this, TEXT("the rig under way"),
		[P]()
		{
			return P->Panel->GetStatus() == TEXT("Building its skeleton. About a minute.");
		});

	// Rigging: busy, so only what does not start work can be used.
	Then(
		[this, P, Pictures]()
		{
			TestEqual(TEXT("one file dialog"), HostDesktopPlatform::GetDialogCalls().Num(), 1);
			TestLook(this, *P, TEXT("rigging"), SignedIn + TEXT(" Status"), Working);
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-rigging.png"));
		});
	// The rig ends; the job that follows is made slow enough to be seen running.
	SimulatorTimeStep(this, TEXT("{\"advanceSeconds\": 100000, \"timeScale\": 100}"));
	WaitUntil(this, TEXT("the rigged character"), NotBusy);

	// Priced: a sentence of only spaces cannot be sent; a real one gets its price.
	Then(
		[this, P]()
		{
			const FString Row = TEXT("humanoid_mesh.fbx  (humanoid)");
			TestEqual(TEXT("rigged: status"), P->Driver.GetString(Part(*P, TEXT("Status"))),
				TEXT("humanoid_mesh.fbx is rigged as humanoid. Now say what it does."));
			TestEqual(TEXT("rigged: picker"), DescribePicker(*P),
				PickerLine(Row, Row, Row, ExamplesOf(TEXT("humanoid")), FString()));
			TestTrue(TEXT("spaces typed"), P->TypeInto(TEXT("PromptHint"), TEXT("   ")));
			TestLook(this, *P, TEXT("spaces: nothing to price or make"), SignedIn + TEXT(" Status"), Free);
			TestTrue(TEXT("a prompt priced"),
				P->TypeInto(TEXT("PromptHint"), TEXT("walks forward, then waves")) && P->Click(TEXT("Price")));
		});
	WaitUntil(this, TEXT("the price"), NotBusy);
	Then(
		[this, P, Pictures]()
		{
			TestLook(this, *P, TEXT("priced"), SignedIn + TEXT(" PriceLine"), Ready);
			TestEqual(TEXT("priced: price line"), P->Driver.GetString(Part(*P, TEXT("PriceLine"))),
				P->Panel->GetPriceText().ToString());
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-priced.png"));
			TestTrue(TEXT("make the animation"), P->Click(TEXT("Make")));
		});
	WaitUntil(this, TEXT("the job queued"),
		[P]()
		{
			return P->Panel->GetJob().IsSet();
		});
	// Into the job's middle stages.
	SimulatorTimeStep(this, TEXT("{\"advanceSeconds\": 520}"));
	WaitUntil(this, TEXT("the job running"),
		[P]()
		{
			return P->Panel->GetJob().IsSet() && P->Panel->GetJob()->Status == TEXT("running");
		});

	// Running: the progress box shows the stage; the price stays as it was.
	Then(
		[this, P, Pictures]()
		{
			TestLook(this, *P, TEXT("running"), SignedIn + TEXT(" PriceLine Progress"), Working);
			TestEqual(TEXT("running: stage"), P->Driver.GetString(ChildOf(Part(*P, TEXT("Progress")), 1)),
				P->Panel->GetStageText().ToString());
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-running.png"));
		});
	SimulatorTimeStep(this, TEXT("{\"advanceSeconds\": 100000, \"timeScale\": 0.02}"));
	WaitUntil(this, TEXT("the imported clip"), NotBusy);
	// One character of each other family, for the picker once the list is refreshed; rigs and jobs now end at once.
	SimulatorTimeStep(this, TEXT("{\"timeScale\": 0}"));
	for (const TCHAR* Model : {TEXT("bird_mesh.fbx"), TEXT("frog_mesh.fbx"), TEXT("quadruped_mesh.fbx")})
	{
		UploadRiggedCharacterStep(this, DemoKey, TestModelFile(Model));
	}

	// Result: the folder and the three result buttons; the progress box is gone with the finished job.
	Then(
		[this, P, Pictures, Results]()
		{
			TestLook(this, *P, TEXT("result"), SignedIn + TEXT(" PriceLine Folder") + Results + TEXT(" Status"),
				Ready + Results);
			TestEqual(TEXT("result: error, folder, status"),
				P->Panel->GetError() + TEXT(", ") + P->Driver.GetString(Part(*P, TEXT("Folder"))) + TEXT(", ") +
					P->Driver.GetString(Part(*P, TEXT("Status"))).Left(7),
				TEXT(", ") + P->Panel->GetLastImport().FolderPath + TEXT(", Ready: "));
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-result.png"));

			// Each result button does its work: the browser synced, an actor placed, the job's page opened.
			const int32 SyncsBefore = GEditor->HostGetSyncCount();
			const int32 ActorsBefore = CountMeshActors();
			TestTrue(TEXT("the result buttons clicked"),
				P->Click(TEXT("Show")) && P->Click(TEXT("AddToLevel")) && P->Click(TEXT("Watch")));
			TestEqual(TEXT("syncs, actors, pages"),
				FString::Printf(TEXT("%d, %d, %s"), GEditor->HostGetSyncCount() - SyncsBefore,
					CountMeshActors() - ActorsBefore, *FString::Join(HostEngine::GetLaunchedUrls(), TEXT(" "))),
				FString::Printf(TEXT("1, 1, %s/app/animate?job=%s"), TarvolineSiteUrl, *P->Panel->GetJob()->Id));

			// Working with a result shown: what starts work waits, the links and the result buttons do not.
			TestTrue(TEXT("refresh"), P->Click(TEXT("Refresh")));
			TestLook(this, *P, TEXT("working with a result"), SignedIn + TEXT(" PriceLine Folder") + Results,
				Working + Results);
		});
	WaitUntil(this, TEXT("the refreshed list"), NotBusy);
	// "Check again" is shown only where pressing it can work: first for a finished job whose download fails.
	SimulatorTimeStep(this, TEXT("{\"timeScale\": 0}"));
	FaultStep(this, TEXT("{\"kind\": \"status\", \"status\": 500, \"path\": \"/downloads/\"}"));
	Then(
		[this, P]()
		{
			// A clip deleted from the project takes the result box with it.
			if (UAnimSequence* Clip = P->Panel->GetLastImport().Clip.Get())
			{
				Clip->MarkAsGarbage();
				CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
			}
			TestFalse(TEXT("clip deleted: result box collapsed"), P->Shows(TEXT("Show")));

			// Four characters, oldest first as the service lists them. Another character brings its family's examples
			// and drops the price; the sentence typed so far stays.
			const TArray<FString> Rows = {TEXT("humanoid_mesh.fbx  (humanoid)"), TEXT("bird_mesh.fbx  (bird)"),
				TEXT("frog_mesh.fbx  (frog)"), TEXT("quadruped_mesh.fbx  (quadruped)")};
			const TCHAR* const Families[] = {TEXT("humanoid"), TEXT("bird"), TEXT("frog"), TEXT("quadruped")};
			TestEqual(TEXT("refreshed: the first still selected"), DescribePicker(*P),
				PickerLine(Rows[0], FString::Join(Rows, TEXT(" | ")), Rows[0], ExamplesOf(Families[0]),
					TEXT("walks forward, then waves")));
			for (const int32 Row : {2, 1, 3, 2})
			{
				P->Driver.PickByText(P->Picker(), Rows[Row]);
				TestEqual(TEXT("picked: ") + Rows[Row], DescribePicker(*P),
					PickerLine(Rows[Row], FString::Join(Rows, TEXT(" | ")), Rows[Row], ExamplesOf(Families[Row]),
						TEXT("walks forward, then waves")));
			}
			TestFalse(TEXT("another character: the price is gone"), P->Driver.IsVisible(Part(*P, TEXT("PriceLine"))));
			// An example's button puts its sentence in the motion box.
			const TArray<TSharedRef<SWidget>> Buttons = P->ExampleButtons();
			TestTrue(TEXT("second example clicked"), Buttons.Num() >= 2 && P->Driver.Click(Buttons[1]));
			TestEqual(TEXT("the example is the prompt"), P->Driver.GetString(P->Driver.FindTextBox(TEXT("PromptHint"))),
				STarvolinePanel::ExamplesForFamily(TEXT("frog"))[1]);
			TestTrue(TEXT("make another"), P->Click(TEXT("Make")));
		});
	WaitUntil(this, TEXT("the failed download"), NotBusy);
	Then(
		[this, P]()
		{
			// The button the error line asks for is there, with nothing to show yet; pressed, it clears the error and
			// cannot be pressed again.
			TestEqual(TEXT("download failed: reason"), P->Driver.GetString(Part(*P, TEXT("Error"))),
				TEXT("The download link did not work. Press Check again."));
			TestLook(this, *P, TEXT("download failed"), SignedIn + TEXT(" Again Error"), Ready + TEXT(" Again"));
			TestTrue(TEXT("check again"), P->Click(TEXT("Again")));
			TestLook(this, *P, TEXT("checking again"), SignedIn + TEXT(" Again"), Working);
		});
	WaitUntil(this, TEXT("the result after checking again"), NotBusy);

	// A running job that could no longer be read: following it stopped, and Check again picks it up once done.
	SimulatorTimeStep(this, TEXT("{\"timeScale\": 100}"));
	FaultStep(this, TEXT("{\"kind\": \"status\", \"status\": 503, \"method\": \"GET\", \"path\": \"/v1/jobs/\"}"));
	Then(
		[this, P, Results]()
		{
			TestLook(this, *P, TEXT("checked again"), SignedIn + TEXT(" Folder") + Results + TEXT(" Status"),
				Ready + Results);
			TestTrue(TEXT("make a third"), P->Click(TEXT("Make")));
		});
	WaitUntil(this, TEXT("the failed poll"), NotBusy);
	SimulatorTimeStep(this, TEXT("{\"advanceSeconds\": 100000}"));
	Then(
		[this, P]()
		{
			TestLook(this, *P, TEXT("poll failed"), SignedIn + TEXT(" Progress Again Error"), Ready + TEXT(" Again"));
			TestTrue(TEXT("check again once done"), P->Click(TEXT("Again")));
		});
	WaitUntil(this, TEXT("the third job's result"), NotBusy);
	Then(
		[this, P, Results]()
		{
			TestLook(
				this, *P, TEXT("third job"), SignedIn + TEXT(" Folder") + Results + TEXT(" Status"), Ready + Results);
			HostEditorLoop::SetTimeDilation(1.0f);
		});
	RestoreStoredKeyStep(SavedKey);
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS && WITH_TARVOLINE_HOST
