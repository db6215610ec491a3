// Automation test of the panel's layout, walked through its widgets against the local service: every text's key and
// the styles the panel sets, the parts shown and the controls usable in each state ("Check again" included), the picker
// and the examples, and a picture at each main stop. It needs the stand-in's widget driver and picture maker.

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

/** What every signed-in state shows, and what can be used while working, when idle, and with a sentence to send. */
const FString SignedIn = TEXT("TopUp SignOut CharacterHeader Picker UploadSel Formats MotionHeader PromptBox Examples "
							  "Refresh UploadFile Price Make");
const FString Working = TEXT("TopUp SignOut Picker PromptBox Examples");
const FString Free = Working + TEXT(" Refresh UploadFile");
const FString Ready = Free + TEXT(" Price Make");
const FString Results = TEXT(" Show AddToLevel Watch");
const FString Prompt = TEXT("walks forward, then waves");
/** Passed to TestLook to draw the state into panel-<state>.png. */
constexpr bool Drawn = true;

/** The sentences offered for a family, as the example buttons must show them. */
FString ExamplesOf(const FString& Family)
{
	return FString::Join(STarvolinePanel::ExamplesForFamily(Family), TEXT(" | "));
}

FString PickerLine(
	const FString& Face, const FString& Rows, const FString& Selected, const FString& Examples, const FString& Typed)
{
	return FString::Printf(TEXT("face '%s', rows '%s', selected '%s', examples '%s', prompt '%s'"), *Face, *Rows,
		*Selected, *Examples, *Typed);
}

/** How a widget looks: a text's typeface, size, wrapping and colour; a button's style; a text box's kind and height. */
FString Look(const TSharedPtr<SWidget>& Widget)
{
	const FString Type = Widget.IsValid() ? Widget->GetTypeAsString() : FString();
	if (Type == TEXT("SButton"))
	{
		return StaticCastSharedPtr<SButton>(Widget)->HostGetButtonStyle()->HostStyleName.ToString();
	}
	if (Type.EndsWith(TEXT("EditableTextBox")))
	{
		const SHostEditableTextBox& Box = static_cast<const SHostEditableTextBox&>(*Widget);
		const TSharedPtr<SWidget> Size = Parent(Widget);
		const FString Height = Size->GetType() == FName(TEXT("SBox"))
								   ? FString::Printf(TEXT(" at least %g high"),
										 StaticCastSharedPtr<SBox>(Size)->HostGetMinDesiredHeight().Get())
								   : FString();
		return FString::Printf(TEXT("%s%s%s%s"), Box.HostIsPassword() ? TEXT("masked ") : TEXT(""),
			Box.HostIsMultiLine() ? TEXT("lines") : TEXT("one line"),
			Box.HostGetAutoWrapText() ? TEXT(" wrapped") : TEXT(""), *Height);
	}
	if (Type != TEXT("STextBlock"))
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

/** The parts a person tells apart, signed-in ones from those usable while working to those that start work. */
const TCHAR* const PartNames[] = {TEXT("SignIn"), TEXT("KeyBox"), TEXT("Connect"), TEXT("GetKey"), TEXT("TopUp"),
	TEXT("SignOut"), TEXT("CharacterHeader"), TEXT("Picker"), TEXT("UploadSel"), TEXT("Formats"), TEXT("MotionHeader"),
	TEXT("PromptBox"), TEXT("Examples"), TEXT("Refresh"), TEXT("UploadFile"), TEXT("Price"), TEXT("Make"),
	TEXT("PriceLine"), TEXT("Progress"), TEXT("Folder"), TEXT("Show"), TEXT("AddToLevel"), TEXT("Watch"), TEXT("Again"),
	TEXT("Error"), TEXT("Status")};

/** The panel as a person tells its parts apart, with a check of each state's look. */
struct FLayoutPanel : FPanelUnderTest
{
	const FString Pictures = PictureDir();

	/** A part found as a person would see it: by where it sits, else a button or a text by its key. */
	TSharedPtr<SWidget> Part(const FString& Name) const
	{
		const FHostSlateDriver& D = Driver;
		const TSharedPtr<SWidget> Column = Parent(Find(TEXT("Title")));
		const TSharedPtr<SWidget> MotionBox = Parent(Parent(D.FindTextBox(TEXT("PromptHint"))));
		const TArray<TSharedRef<SWidget>> Examples = ExampleButtons();
		const TMap<FString, TSharedPtr<SWidget>> Placed = {{TEXT("SignIn"), Find(TEXT("KeyHint"))},
			{TEXT("KeyBox"), D.FindTextBox(TEXT("KeyBox"))}, {TEXT("CharacterHeader"), Find(TEXT("Character"))},
			{TEXT("Picker"), Picker()}, {TEXT("UploadSel"), ChildOf(Parent(D.FindButton(TEXT("UploadFile"))), 1)},
			{TEXT("MotionHeader"), Find(TEXT("Motion"))}, {TEXT("PromptBox"), D.FindTextBox(TEXT("PromptHint"))},
			{TEXT("Examples"), Examples.Num() > 0 ? TSharedPtr<SWidget>(Examples[0]) : nullptr},
			{TEXT("PriceLine"), ChildOf(MotionBox, 2)}, {TEXT("Progress"), ChildOf(MotionBox, 4)},
			{TEXT("Folder"), ChildOf(Parent(Parent(D.FindButton(TEXT("Show")))), 0)},
			{TEXT("Error"), ChildOf(Column, -2)}, {TEXT("Status"), ChildOf(Column, -1)}};
		const TSharedPtr<SWidget>* Found = Placed.Find(Name);
		return Found ? *Found : D.FindButton(Name).IsValid() ? D.FindButton(Name) : Find(Name);
	}

	FString Text(const FString& Name) const { return Driver.GetString(Part(Name)); }

	/** The picker's face, rows and selected row, the example buttons' sentences and the sentence typed. */
	FString DescribePicker() const
	{
		return PickerLine(Driver.GetString(Picker()), FString::Join(Driver.GetOptionStrings(Picker()), TEXT(" | ")),
			Driver.GetSelectedOptionString(Picker()), FString::Join(ExampleTexts(), TEXT(" | ")),
			Text(TEXT("PromptBox")));
	}

	/** Checks one state's look: the parts shown, the controls among them usable, and nothing merely hidden. */
	void TestLook(FAutomationTestBase* Test, const FString& State, const FString& Shown, const FString& Usable,
		bool bDraw = false) const
	{
		TArray<FString> ShownNow;
		TArray<FString> UsableNow;
		for (const TCHAR* Name : PartNames)
		{
			const TSharedPtr<SWidget> Found = Part(Name);
			if (Found.IsValid() && Driver.IsVisible(Found))
			{
				ShownNow.Add(Name);
				// Buttons and text boxes say they take clicks or typing; the picker opens its list on a click.
				const bool bControl =
					Found->IsInteractable() || Found->SupportsKeyboardFocus() || FString(Name) == TEXT("Picker");
				if (bControl && Driver.CanInteract(Found))
				{
					UsableNow.Add(Name);
				}
			}
		}
		// Rules answer visible or collapsed: a hidden widget would keep its room as an empty gap.
		int32 Hidden = 0;
		Driver.ForEachWidget(
			[&Hidden](SWidget& Widget)
			{
				Hidden += Widget.GetVisibility() == EVisibility::Hidden ? 1 : 0;
				return true;
			});
		Test->TestEqual(*State,
			FString::Printf(TEXT("shown %s; usable %s; hidden %d"), *FString::Join(ShownNow, TEXT(" ")),
				*FString::Join(UsableNow, TEXT(" ")), Hidden),
			FString::Printf(TEXT("shown %s; usable %s; hidden 0"), *Shown, *Usable));
		if (bDraw)
		{
			SavePanelPicture(
				Test, Panel, Pictures, TEXT("panel-") + State.Replace(TEXT(" "), TEXT("-")) + TEXT(".png"));
		}
	}
};
} // namespace TarvolineLayoutTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineLayoutWalkThroughTest, "Tarvoline.Layout.WalkThrough",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineLayoutWalkThroughTest::RunTest(const FString&)
{
	using namespace TarvolineLayoutTest;
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	SimResetStep(this);
	const TSharedRef<FLayoutPanel> P = MakeShared<FLayoutPanel>();
	const auto NotBusy = [P]()
	{
		return !P->Panel->IsBusy();
	};

	// The panel's 3-second and 2.5-second polls pass ten times faster; the service is sped up by its clock.
	HostEditorLoop::SetTimeDilation(10.0f);
	HostDesktopPlatform::Reset();
	HostContentBrowser::Reset();
	HostEngine::ClearLaunchedUrls();
	// Every text the panel shows before it knows anything is a localizable text of the plug-in, under a short key that
	// no other widget uses; the example sentences alone are plain strings.
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
	TArray<FString> Looks;
	for (const TCHAR* Name : {TEXT("Title"), TEXT("Sub"), TEXT("Account"), TEXT("KeyHint"), TEXT("Character"),
			 TEXT("Formats"), TEXT("Motion"), TEXT("PriceLine"), TEXT("Folder"), TEXT("Error"), TEXT("Status"),
			 TEXT("Make"), TEXT("Price"), TEXT("KeyBox"), TEXT("PromptBox")})
	{
		Looks.Add(Look(P->Part(Name)));
	}
	TestEqual(TEXT("title, hints, headers; price, folder, error, status lines; make, price; key, motion boxes"),
		FString::Join(Looks, TEXT(", ")),
		TEXT("Bold 14, Regular 10 wraps subdued, Bold 11, Regular 10 wraps subdued, Bold 11, Regular 10 "
			 "wraps subdued, Bold 11, Regular 10 wraps, Regular 10 wraps, Regular 10 wraps "
			 "(R=0.950000,G=0.350000,B=0.300000,A=1.000000), Regular 10 wraps, PrimaryButton, Button, "
			 "masked one line, lines wrapped at least 48 high"));

	// Signed out: only the sign-in box; Connect waits for a key.
	Then(
		[this, P]()
		{
			P->TestLook(this, TEXT("signed out"), TEXT("SignIn KeyBox Connect GetKey"), TEXT("KeyBox GetKey"), Drawn);
			TestTrue(TEXT("connect usable once a key is typed"),
				P->TypeInto(TEXT("KeyBox"), TEXT("t")) && P->CanUse(TEXT("Connect")));
			TestTrue(TEXT("a refused key sent"),
				P->TypeInto(TEXT("KeyBox"), TEXT("tv_no_such_key")) && P->Click(TEXT("Connect")));
			P->TestLook(this, TEXT("signing in"), TEXT("SignIn KeyBox Connect GetKey Status"), TEXT("KeyBox GetKey"));
			TestEqual(TEXT("signing in: status"), P->Text(TEXT("Status")), TEXT("Connecting..."));
		});
	WaitUntil(this, TEXT("the refusal"), NotBusy);

	// Refused: the service's own words for the refusal under the sign-in box, wrapped inside the panel; the key stays.
	Then(
		[this, P]()
		{
			P->TestLook(this, TEXT("refused"), TEXT("SignIn KeyBox Connect GetKey Error"),
				TEXT("KeyBox Connect GetKey"), Drawn);
			TestEqual(TEXT("refused: reason, key"), P->Text(TEXT("Error")) + TEXT(", ") + P->Text(TEXT("KeyBox")),
				TEXT("Invalid API key., tv_no_such_key"));
			HostSlate::LayoutPass(P->Panel, PanelWidth, 0.0f, HostSlate::GetFontMeasurer());
			const FGeometry& ErrorBox = P->Part(TEXT("Error"))->HostGetGeometry();
			TestTrue(FString::Printf(TEXT("refused: reason wraps inside the panel (%.0f wide)"), ErrorBox.Size.X),
				ErrorBox.Size.X <= PanelWidth - 24.0f && ErrorBox.AbsolutePosition.X >= 12.0f);
			TestEqual(TEXT("refused: a collapsed status line takes no room"),
				P->Part(TEXT("Status"))->HostGetGeometry().Size.Y, 0.0);
			TestTrue(TEXT("a good key sent"), P->TypeInto(TEXT("KeyBox"), DemoKey) && P->Click(TEXT("Connect")));
		});
	WaitUntil(this, TEXT("sign-in"), NotBusy);

	// Connected, without characters yet: nothing to price or make.
	SimulatorTimeStep(this, TEXT("{\"timeScale\": 1000}"));
	Then(
		[this, P]()
		{
			P->TestLook(this, TEXT("connected"), SignedIn, Free, Drawn);
			TestEqual(TEXT("connected: account line"), P->Driver.GetString(Parent(P->Part(TEXT("TopUp")))),
				TEXT("demo@tarvoline.test - 1000 credits"));
			// The texts that follow the state have keys too; with no characters the four-legged examples stand in.
			TestTrue(TEXT("the picker's face and the upload-selection label"),
				IsPluginText(P->Driver.GetText(P->Picker()), TEXT("NoCharacters")) &&
					IsPluginText(P->Driver.GetText(P->Part(TEXT("UploadSel"))), TEXT("UploadSelNone")));
			TestEqual(TEXT("connected: picker"), P->DescribePicker(),
				PickerLine(TEXT("No characters yet. Upload one below."), FString(), FString(),
					ExamplesOf(TEXT("quadruped")), FString()));

			// A mesh selected in the Content Browser whose source file is still on disk is offered by its file name.
			const FString Unnamed = P->Text(TEXT("UploadSel"));
			const FTarvolineImportResult Imported =
				ImportAnimationFbx(TestModelFile(TEXT("humanoid_anim.fbx")), TEXT("Layout Texts.fbx"), TEXT("pose"));
			HostContentBrowser::SetSelectedAssets({FAssetData(Imported.Mesh.Get())});
			const FString Named = P->Text(TEXT("UploadSel")) +
								  (P->Driver.CanInteract(P->Part(TEXT("UploadSel"))) ? TEXT(" (usable)") : TEXT(""));
			HostContentBrowser::Reset();
			TestEqual(TEXT("upload-selection label: nothing selected, a mesh, nothing again"),
				Unnamed + TEXT(", ") + Named + TEXT(", ") + P->Text(TEXT("UploadSel")),
				Unnamed + TEXT(", Upload humanoid_anim.fbx (usable), Upload the selected asset's source file"));

			// A model chosen in the file dialog; the service takes its time to rig it.
			HostDesktopPlatform::QueueAnswer(TestModelFile(TEXT("humanoid_mesh.fbx")));
			TestTrue(TEXT("upload a model file, one file dialog"),
				P->Click(TEXT("UploadFile")) && HostDesktopPlatform::GetDialogCalls().Num() == 1);
		});
	WaitUntil(this, TEXT("the rig under way"),
		[P]()
		{
			return P->Panel->GetStatus() == TEXT("Building its skeleton. About a minute.");
		});

	// Rigging: busy, so only what does not start work can be used.
	Then(
		[this, P]()
		{
			P->TestLook(this, TEXT("rigging"), SignedIn + TEXT(" Status"), Working, Drawn);
		});
	// The rig ends; the job that follows is made slow enough to be seen running.
	SimulatorTimeStep(this, TEXT("{\"advanceSeconds\": 100000, \"timeScale\": 100}"));
	WaitUntil(this, TEXT("the rigged character"), NotBusy);

	// Rigged: a sentence of only spaces cannot be sent; a real one gets its price.
	Then(
		[this, P]()
		{
			const FString Row = TEXT("humanoid_mesh.fbx  (humanoid)");
			TestEqual(TEXT("rigged: status"), P->Text(TEXT("Status")),
				TEXT("humanoid_mesh.fbx is rigged as humanoid. Now say what it does."));
			TestEqual(TEXT("rigged: picker"), P->DescribePicker(),
				PickerLine(Row, Row, Row, ExamplesOf(TEXT("humanoid")), FString()));
			TestTrue(TEXT("spaces typed"), P->TypeInto(TEXT("PromptHint"), TEXT("   ")));
			P->TestLook(this, TEXT("spaces: nothing to price or make"), SignedIn + TEXT(" Status"), Free);
			TestTrue(TEXT("a prompt priced"), P->TypeInto(TEXT("PromptHint"), Prompt) && P->Click(TEXT("Price")));
		});
	WaitUntil(this, TEXT("the price"), NotBusy);
	Then(
		[this, P]()
		{
			P->TestLook(this, TEXT("priced"), SignedIn + TEXT(" PriceLine"), Ready, Drawn);
			TestEqual(TEXT("priced: price line"), P->Text(TEXT("PriceLine")), P->Panel->GetPriceText().ToString());
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
		[this, P]()
		{
			P->TestLook(this, TEXT("running"), SignedIn + TEXT(" PriceLine Progress"), Working, Drawn);
			TestEqual(TEXT("running: stage"), P->Driver.GetString(ChildOf(P->Part(TEXT("Progress")), 1)),
				P->Panel->GetStageText().ToString());
		});
	// The job ends; then one character of each other family for the picker, rigged and made at once from now on.
	SimulatorTimeStep(this, TEXT("{\"advanceSeconds\": 100000, \"timeScale\": 0}"));
	WaitUntil(this, TEXT("the imported clip"), NotBusy);
	for (const TCHAR* Model : {TEXT("bird_mesh.fbx"), TEXT("frog_mesh.fbx"), TEXT("quadruped_mesh.fbx")})
	{
		UploadRiggedCharacterStep(this, DemoKey, TestModelFile(Model));
	}

	// Result: the folder and the three result buttons; the progress box is gone with the finished job.
	Then(
		[this, P]()
		{
			P->TestLook(this, TEXT("result"), SignedIn + TEXT(" PriceLine Folder") + Results + TEXT(" Status"),
				Ready + Results, Drawn);
			TestEqual(TEXT("result: folder"), P->Text(TEXT("Folder")), P->Panel->GetLastImport().FolderPath);

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
			P->TestLook(
				this, TEXT("working with a result"), SignedIn + TEXT(" PriceLine Folder") + Results, Working + Results);
		});
	WaitUntil(this, TEXT("the refreshed list"), NotBusy);
	// "Check again" is shown only where pressing it can work: first for a running job that could no longer be read,
	// pressed once the job is done; then for the finished job's failed download.
	SimulatorTimeStep(this, TEXT("{\"timeScale\": 100}"));
	FaultStep(this, TEXT("{\"kind\": \"status\", \"status\": 503, \"method\": \"GET\", \"path\": \"/v1/jobs/\"}"));
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
			const FString All = FString::Join(Rows, TEXT(" | "));
			TestEqual(TEXT("refreshed: the first still selected"), P->DescribePicker(),
				PickerLine(Rows[0], All, Rows[0], ExamplesOf(Families[0]), Prompt));
			for (const int32 Row : {2, 1, 3, 2})
			{
				P->Driver.PickByText(P->Picker(), Rows[Row]);
				TestEqual(TEXT("picked: ") + Rows[Row], P->DescribePicker(),
					PickerLine(Rows[Row], All, Rows[Row], ExamplesOf(Families[Row]), Prompt));
			}
			TestFalse(TEXT("another character: the price is gone"), P->Driver.IsVisible(P->Part(TEXT("PriceLine"))));
			const TArray<TSharedRef<SWidget>> Buttons = P->ExampleButtons();
			TestTrue(TEXT("second example clicked"), Buttons.Num() >= 2 && P->Driver.Click(Buttons[1]));
			TestEqual(TEXT("the example is the prompt"), P->Text(TEXT("PromptBox")),
				STarvolinePanel::ExamplesForFamily(TEXT("frog"))[1]);
			TestTrue(TEXT("make another"), P->Click(TEXT("Make")));
		});
	WaitUntil(this, TEXT("the failed poll"), NotBusy);
	SimulatorTimeStep(this, TEXT("{\"advanceSeconds\": 100000}"));
	FaultStep(this, TEXT("{\"kind\": \"status\", \"status\": 500, \"path\": \"/downloads/\"}"));
	Then(
		[this, P]()
		{
			P->TestLook(this, TEXT("poll failed"), SignedIn + TEXT(" Progress Again Error"), Ready + TEXT(" Again"));
			TestTrue(TEXT("check again once done"), P->Click(TEXT("Again")));
		});
	WaitUntil(this, TEXT("the failed download"), NotBusy);
	Then(
		[this, P]()
		{
			// The button the error line asks for is there, with nothing to show yet; pressed, it clears the error and
			// cannot be pressed again.
			TestEqual(TEXT("download failed: reason"), P->Text(TEXT("Error")),
				TEXT("The download link did not work. Press Check again."));
			P->TestLook(this, TEXT("download failed"), SignedIn + TEXT(" Again Error"), Ready + TEXT(" Again"));
			TestTrue(TEXT("check again"), P->Click(TEXT("Again")));
			P->TestLook(this, TEXT("checking again"), SignedIn + TEXT(" Again"), Working);
		});
	WaitUntil(this, TEXT("the result after checking again"), NotBusy);
	Then(
		[this, P]()
		{
			P->TestLook(
				this, TEXT("checked again"), SignedIn + TEXT(" Folder") + Results + TEXT(" Status"), Ready + Results);
			HostEditorLoop::SetTimeDilation(1.0f);
		});
	RestoreStoredKeyStep(SavedKey);
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS && WITH_TARVOLINE_HOST
