// Automation tests of the panel's layout: every text with its key and the few styles the panel sets; which parts are
// shown and which controls can be used in each state of the workflow; and the whole road taken only through the widgets
// against the local service, with a picture of the panel at each stop.
//
// The widgets are driven and drawn with the stand-in's driver and picture maker, so these tests are compiled only
// where those exist.

#include "Animation/AnimSequence.h"
#include "Animation/SkeletalMeshActor.h"
#include "AssetRegistry/AssetData.h"
#include "CoreMinimal.h"
#include "Editor.h"
#include "Editor/EditorEngine.h"
#include "Engine/SkeletalMesh.h"
#include "EngineUtils.h"
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
#include "HostSlatePicture.h"
#include "Styling/SlateTypes.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Input/SMultiLineEditableTextBox.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/Text/STextBlock.h"

namespace TarvolineLayoutTest
{
using namespace TarvolineUiTest;

FString Joined(const TArray<FString>& Lines)
{
	return FString::Join(Lines, TEXT(" "));
}

/** The main column: the vertical box in the scroll box that fills the panel. */
TSharedPtr<SWidget> MainColumn(const FPanelUnderTest& P)
{
	const TSharedPtr<SWidget> Title = P.Find(TEXT("Title"));
	return Title.IsValid() ? Title->GetParentWidget() : nullptr;
}

/** A child of a widget by index; null when there is none. */
TSharedPtr<SWidget> ChildOf(const TSharedPtr<SWidget>& Widget, int32 Index)
{
	FChildren* Children = Widget.IsValid() ? Widget->GetChildren() : nullptr;
	if (!Children || Index < 0 || Index >= Children->Num())
	{
		return nullptr;
	}
	return Children->GetChildAt(Index);
}

int32 ChildCount(const TSharedPtr<SWidget>& Widget)
{
	FChildren* Children = Widget.IsValid() ? Widget->GetChildren() : nullptr;
	return Children ? Children->Num() : 0;
}

/** The box under the motion header: prompt, examples, price line, price and make buttons, progress. */
TSharedPtr<SWidget> MotionBox(const FPanelUnderTest& P)
{
	const TSharedPtr<SWidget> PromptBox = P.Driver.FindTextBox(TEXT("PromptHint"));
	const TSharedPtr<SWidget> SizeBox = PromptBox.IsValid() ? PromptBox->GetParentWidget() : nullptr;
	return SizeBox.IsValid() ? SizeBox->GetParentWidget() : nullptr;
}

TSharedPtr<SWidget> PriceLine(const FPanelUnderTest& P)
{
	return ChildOf(MotionBox(P), 2);
}

TSharedPtr<SWidget> ProgressBox(const FPanelUnderTest& P)
{
	return ChildOf(MotionBox(P), 4);
}

TSharedPtr<SWidget> ErrorLine(const FPanelUnderTest& P)
{
	const TSharedPtr<SWidget> Column = MainColumn(P);
	return ChildOf(Column, ChildCount(Column) - 2);
}

TSharedPtr<SWidget> StatusLine(const FPanelUnderTest& P)
{
	const TSharedPtr<SWidget> Column = MainColumn(P);
	return ChildOf(Column, ChildCount(Column) - 1);
}

/** The upload-selection button, whichever of its two labels it shows. */
TSharedPtr<SButton> UploadSelectionButton(const FPanelUnderTest& P)
{
	const TSharedPtr<SButton> Button = P.Driver.FindButton(TEXT("UploadSelNone"));
	if (Button.IsValid())
	{
		return Button;
	}
	// Naming a file, its label is a formatted text; it sits right of "Upload a model file...".
	const TSharedPtr<SButton> UploadFile = P.Driver.FindButton(TEXT("UploadFile"));
	const TSharedPtr<SWidget> Row = UploadFile.IsValid() ? UploadFile->GetParentWidget() : nullptr;
	const TSharedPtr<SWidget> Second = ChildOf(Row, 1);
	return Second.IsValid() && Second->GetType() == FName(TEXT("SButton")) ? StaticCastSharedPtr<SButton>(Second)
																		   : nullptr;
}

/** The parts of the panel a person tells apart, each found as a person would see it. */
TArray<TPair<FString, TSharedPtr<SWidget>>> Parts(const FPanelUnderTest& P)
{
	const TArray<TSharedRef<SWidget>> Examples = P.ExampleButtons();
	return {
		{TEXT("SignIn"), P.Find(TEXT("KeyHint"))},
		{TEXT("KeyBox"), P.Driver.FindTextBox(TEXT("KeyBox"))},
		{TEXT("Connect"), P.Driver.FindButton(TEXT("Connect"))},
		{TEXT("GetKey"), P.Driver.FindButton(TEXT("GetKey"))},
		{TEXT("TopUp"), P.Driver.FindButton(TEXT("TopUp"))},
		{TEXT("SignOut"), P.Driver.FindButton(TEXT("SignOut"))},
		{TEXT("CharacterHeader"), P.Find(TEXT("Character"))},
		{TEXT("Picker"), P.Picker()},
		{TEXT("Refresh"), P.Driver.FindButton(TEXT("Refresh"))},
		{TEXT("UploadFile"), P.Driver.FindButton(TEXT("UploadFile"))},
		{TEXT("UploadSel"), UploadSelectionButton(P)},
		{TEXT("Formats"), P.Find(TEXT("Formats"))},
		{TEXT("MotionHeader"), P.Find(TEXT("Motion"))},
		{TEXT("PromptBox"), P.Driver.FindTextBox(TEXT("PromptHint"))},
		{TEXT("Examples"), Examples.Num() > 0 ? TSharedPtr<SWidget>(Examples[0]) : nullptr},
		{TEXT("PriceLine"), PriceLine(P)},
		{TEXT("Price"), P.Driver.FindButton(TEXT("Price"))},
		{TEXT("Make"), P.Driver.FindButton(TEXT("Make"))},
		{TEXT("Progress"), ProgressBox(P)},
		{TEXT("Show"), P.Driver.FindButton(TEXT("Show"))},
		{TEXT("AddToLevel"), P.Driver.FindButton(TEXT("AddToLevel"))},
		{TEXT("Watch"), P.Driver.FindButton(TEXT("Watch"))},
		{TEXT("Again"), P.Driver.FindButton(TEXT("Again"))},
		{TEXT("Error"), ErrorLine(P)},
		{TEXT("Status"), StatusLine(P)},
	};
}

/** What a person sees in one state: the parts shown, and the controls among them that can be used. */
struct FLook
{
	FString Shown;
	FString Usable;
};

FLook LookOf(const FPanelUnderTest& P)
{
	TArray<FString> Shown;
	TArray<FString> Usable;
	P.Driver.Paint();
	for (const TPair<FString, TSharedPtr<SWidget>>& Part : Parts(P))
	{
		if (!Part.Value.IsValid())
		{
			continue;
		}
		if (P.Driver.IsVisible(Part.Value))
		{
			Shown.Add(Part.Key);
			// Buttons and text boxes say they take clicks or typing; the picker opens its list on a click.
			const bool bControl =
				Part.Value->IsInteractable() || Part.Value->SupportsKeyboardFocus() || Part.Key == TEXT("Picker");
			if (bControl && P.Driver.CanInteract(Part.Value))
			{
				Usable.Add(Part.Key);
			}
		}
	}
	return {Joined(Shown), Joined(Usable)};
}

/** Checks one state's look; every part not named must be hidden, every control not named unusable. */
void TestLook(FAutomationTestBase* Test, const FPanelUnderTest& P, const FString& State, const FString& Shown,
	const FString& Usable)
{
	const FLook Look = LookOf(P);
	Test->TestEqual(State + TEXT(": shown"), Look.Shown, Shown);
	Test->TestEqual(State + TEXT(": usable"), Look.Usable, Usable);
	// Rules answer visible or collapsed: a hidden widget would keep its room as an empty gap.
	int32 Hidden = 0;
	P.Driver.ForEachWidget(
		[&Hidden](SWidget& Widget)
		{
			Hidden += Widget.GetVisibility() == EVisibility::Hidden ? 1 : 0;
			return true;
		});
	Test->TestEqual(State + TEXT(": nothing hidden rather than collapsed"), Hidden, 0);
}

const TCHAR* const SignedInParts = TEXT("TopUp SignOut CharacterHeader Picker Refresh UploadFile UploadSel Formats "
										"MotionHeader PromptBox Examples");

FString SignedInShown(const FString& Middle, const FString& End = FString())
{
	FString Shown = FString(SignedInParts) + TEXT(" ") + Middle + TEXT(" Price Make");
	if (!End.IsEmpty())
	{
		Shown += TEXT(" ") + End;
	}
	return Shown.Replace(TEXT("  "), TEXT(" "));
}
} // namespace TarvolineLayoutTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineLayoutTextsAndLookTest, "Tarvoline.Layout.TextsAndLook",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineLayoutTextsAndLookTest::RunTest(const FString&)
{
	using namespace TarvolineLayoutTest;
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	const TSharedRef<FPanelUnderTest> P = MakeShared<FPanelUnderTest>();

	// Every text the panel shows before it knows anything is a localizable text of the plug-in, under a short key
	// that no other widget uses; the example sentences alone are plain strings.
	const TArray<FString> Examples = STarvolinePanel::ExamplesForFamily(TEXT("quadruped"));
	TMap<FString, int32> Keys;
	P->Driver.ForEachWidget(
		[this, &Keys, &Examples](SWidget& Widget)
		{
			for (const TOptional<FText>& Text : {Widget.HostGetShownText(), Widget.HostGetHintText()})
			{
				if (!Text.IsSet() || Text->IsEmpty())
				{
					continue;
				}
				const TOptional<FString> Key = FTextInspector::GetKey(Text.GetValue());
				if (!Key.IsSet() && Examples.Contains(Text->ToString()))
				{
					continue;
				}
				const FString Shown = Text->ToString();
				if (TestTrue(TEXT("a key for: ") + Shown, Key.IsSet() && !Key->IsEmpty() && Key->Len() <= 12) &&
					TestTrue(
						TEXT("in the plug-in's namespace: ") + Shown, IsPluginText(Text.GetValue(), Key.GetValue())))
				{
					Keys.FindOrAdd(Key.GetValue())++;
				}
			}
			return true;
		});
	TestTrue(TEXT("the panel's fixed texts found"), Keys.Num() >= 20);
	for (const TPair<FString, int32>& Key : Keys)
	{
		TestEqual(TEXT("widgets showing ") + Key.Key, Key.Value, 1);
	}

	// Fonts, colours, wrapping and styles.
	const auto TextBlock = [P](const TCHAR* Key)
	{
		const TSharedPtr<SWidget> Widget = P->Find(Key);
		return Widget.IsValid() && Widget->GetType() == FName(TEXT("STextBlock"))
				   ? StaticCastSharedPtr<STextBlock>(Widget)
				   : TSharedPtr<STextBlock>();
	};
	if (const TSharedPtr<STextBlock> Title = TextBlock(TEXT("Title")))
	{
		TestEqual(TEXT("title typeface"), Title->HostGetFont().TypefaceFontName.ToString(), FString(TEXT("Bold")));
		TestEqual(TEXT("title size"), Title->HostGetFont().Size, 14.0f);
	}
	for (const TCHAR* Key : {TEXT("Account"), TEXT("Character"), TEXT("Motion")})
	{
		const TSharedPtr<STextBlock> Header = TextBlock(Key);
		TestTrue(FString::Printf(TEXT("%s header in bold 11"), Key),
			Header.IsValid() && Header->HostGetFont().TypefaceFontName == FName(TEXT("Bold")) &&
				Header->HostGetFont().Size == 11.0f);
	}
	for (const TCHAR* Key : {TEXT("Sub"), TEXT("KeyHint"), TEXT("Formats")})
	{
		const TSharedPtr<STextBlock> Hint = TextBlock(Key);
		TestTrue(FString::Printf(TEXT("%s hint wraps in the subdued colour"), Key),
			Hint.IsValid() && Hint->HostGetAutoWrapText() &&
				Hint->HostGetColorAndOpacity().GetColorUseRule() ==
					ESlateColorStylingMode::UseColor_Foreground_Subdued);
	}
	const TSharedPtr<SButton> Make = P->Driver.FindButton(TEXT("Make"));
	const TSharedPtr<SButton> Price = P->Driver.FindButton(TEXT("Price"));
	TestTrue(TEXT("make in the primary style"),
		Make.IsValid() && Make->HostGetButtonStyle() &&
			Make->HostGetButtonStyle()->HostStyleName == FName(TEXT("PrimaryButton")));
	TestTrue(TEXT("price in the default style"),
		Price.IsValid() && Price->HostGetButtonStyle() &&
			Price->HostGetButtonStyle()->HostStyleName != FName(TEXT("PrimaryButton")));
	const TSharedPtr<SHostEditableTextBox> KeyBox = P->Driver.FindTextBox(TEXT("KeyBox"));
	TestTrue(TEXT("key box masks the key"), KeyBox.IsValid() && KeyBox->HostIsPassword() && !KeyBox->HostIsMultiLine());
	const TSharedPtr<SHostEditableTextBox> PromptBox = P->Driver.FindTextBox(TEXT("PromptHint"));
	TestTrue(TEXT("motion box wraps over lines"), PromptBox.IsValid() && PromptBox->HostIsMultiLine() &&
													  PromptBox->HostGetAutoWrapText() && !PromptBox->HostIsPassword());
	const TSharedPtr<SWidget> PromptSize = PromptBox.IsValid() ? PromptBox->GetParentWidget() : nullptr;
	TestTrue(TEXT("motion box at least 48 high"),
		PromptSize.IsValid() && PromptSize->GetType() == FName(TEXT("SBox")) &&
			StaticCastSharedPtr<SBox>(PromptSize)->HostGetMinDesiredHeight() == FOptionalSize(48.0f));
	const auto Wraps = [](const TSharedPtr<SWidget>& Widget)
	{
		return Widget.IsValid() && Widget->GetType() == FName(TEXT("STextBlock")) &&
			   StaticCastSharedPtr<STextBlock>(Widget)->HostGetAutoWrapText();
	};
	TestTrue(TEXT("price line wraps"), Wraps(PriceLine(*P)));
	TestTrue(TEXT("status line wraps"), Wraps(StatusLine(*P)));
	TestTrue(TEXT("error line wraps"), Wraps(ErrorLine(*P)));
	if (Wraps(ErrorLine(*P)))
	{
		const FSlateColor Colour = StaticCastSharedPtr<STextBlock>(ErrorLine(*P))->HostGetColorAndOpacity();
		TestTrue(TEXT("error line colour"),
			Colour.IsColorSpecified() && Colour.GetSpecifiedColor() == FLinearColor(0.95f, 0.35f, 0.3f, 1.0f));
	}
	const TSharedPtr<SWidget> ResultBox = P->Driver.FindButton(TEXT("Show"))->GetParentWidget()->GetParentWidget();
	TestTrue(TEXT("result folder wraps"), Wraps(ChildOf(ResultBox, 0)));

	// The texts that follow the state: the picker's face and the upload-selection button, once signed in.
	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	Then(
		[this, P]()
		{
			TestTrue(TEXT("key typed"), P->TypeInto(TEXT("KeyBox"), DemoKey));
			TestTrue(TEXT("connect"), P->Click(TEXT("Connect")));
		});
	WaitUntil(this, TEXT("sign-in"),
		[P]()
		{
			return P->Panel->GetAccount().IsSet() && !P->Panel->IsBusy();
		});
	Then(
		[this, P]()
		{
			const FText Face = P->Driver.GetText(P->Picker());
			TestTrue(TEXT("picker face key"), IsPluginText(Face, TEXT("NoCharacters")));
			TestEqual(TEXT("picker face"), Face.ToString(), FString(TEXT("No characters yet. Upload one below.")));
			const TSharedPtr<SButton> UploadSelection = UploadSelectionButton(*P);
			const FText Label = P->Driver.GetText(UploadSelection);
			TestTrue(TEXT("upload-selection key"), IsPluginText(Label, TEXT("UploadSelNone")));
			TestEqual(TEXT("upload-selection label"), Label.ToString(),
				FString(TEXT("Upload the selected asset's source file")));
			TestFalse(TEXT("nothing selected: cannot upload the selection"), P->Driver.CanInteract(UploadSelection));

			// A mesh selected in the Content Browser whose source file is still on disk is offered by its file name.
			const FTarvolineImportResult Imported =
				ImportAnimationFbx(TestModelFile(TEXT("humanoid_anim.fbx")), TEXT("Layout Texts.fbx"), TEXT("pose"));
			if (!TestTrue(TEXT("a mesh to select"), Imported.Mesh.IsValid()))
			{
				return;
			}
			HostContentBrowser::SetSelectedAssets({FAssetData(Imported.Mesh.Get())});
			const TSharedPtr<SButton> Named = UploadSelectionButton(*P);
			TestEqual(TEXT("upload-selection names the file"), P->Driver.GetString(Named),
				FString(TEXT("Upload humanoid_anim.fbx")));
			TestTrue(TEXT("and can be used"), P->Driver.CanInteract(Named));
			HostContentBrowser::Reset();
			TestEqual(TEXT("selection gone: the general label again"), P->Driver.GetString(UploadSelectionButton(*P)),
				FString(TEXT("Upload the selected asset's source file")));
		});
	RestoreStoredKeyStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineLayoutWalkThroughTest, "Tarvoline.Layout.WalkThrough",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineLayoutWalkThroughTest::RunTest(const FString&)
{
	using namespace TarvolineLayoutTest;
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	const FString Pictures = PictureDir();
	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	const TSharedRef<FPanelUnderTest> P = MakeShared<FPanelUnderTest>();
	const auto Idle = [P]()
	{
		return !P->Panel->IsBusy();
	};
	Then(
		[]()
		{
			// The panel's 3-second and 2.5-second polls pass ten times faster; the service is sped up by its clock.
			HostEditorLoop::SetTimeDilation(10.0f);
			HostDesktopPlatform::Reset();
			HostContentBrowser::Reset();
			HostEngine::ClearLaunchedUrls();
		});

	// Signed out: only the sign-in box; Connect waits for a key.
	Then(
		[this, P, Pictures]()
		{
			TestLook(this, *P, TEXT("signed out"), TEXT("SignIn KeyBox Connect GetKey"), TEXT("KeyBox GetKey"));
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-signed-out.png"));
			TestTrue(TEXT("one character typed"), P->TypeInto(TEXT("KeyBox"), TEXT("t")));
			TestTrue(TEXT("connect usable with a key"), P->CanUse(TEXT("Connect")));
			TestTrue(TEXT("key refused typed"), P->TypeInto(TEXT("KeyBox"), TEXT("tv_no_such_key")));
			TestTrue(TEXT("connect with it"), P->Click(TEXT("Connect")));
			TestLook(this, *P, TEXT("signing in"), TEXT("SignIn KeyBox Connect GetKey Status"), TEXT("KeyBox GetKey"));
			TestEqual(TEXT("signing in: status"), P->Driver.GetString(StatusLine(*P)), FString(TEXT("Connecting...")));
		});
	WaitUntil(this, TEXT("the refusal"), Idle);

	// Refused: the sign-in box stays, with the reason under it, wrapped inside the panel.
	Then(
		[this, P, Pictures]()
		{
			TestLook(
				this, *P, TEXT("refused"), TEXT("SignIn KeyBox Connect GetKey Error"), TEXT("KeyBox Connect GetKey"));
			// The service's own words for the refusal (the client passes them on).
			TestEqual(TEXT("refused: reason"), P->Driver.GetString(ErrorLine(*P)), FString(TEXT("Invalid API key.")));
			TestEqual(TEXT("refused: key kept in the box"), P->Driver.GetString(P->Driver.FindTextBox(TEXT("KeyBox"))),
				FString(TEXT("tv_no_such_key")));
			HostSlate::LayoutPass(P->Panel, PanelWidth, 0.0f, HostSlate::GetFontMeasurer());
			const FGeometry& ErrorBox = ErrorLine(*P)->HostGetGeometry();
			TestTrue(FString::Printf(TEXT("refused: reason wraps inside the panel (%.0f wide)"), ErrorBox.Size.X),
				ErrorBox.Size.X <= PanelWidth - 24.0f && ErrorBox.AbsolutePosition.X >= 12.0f);
			TestEqual(
				TEXT("refused: a collapsed status line takes no room"), StatusLine(*P)->HostGetGeometry().Size.Y, 0.0);
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-refused.png"));
			TestTrue(TEXT("good key typed"), P->TypeInto(TEXT("KeyBox"), DemoKey));
			TestTrue(TEXT("connect again"), P->Click(TEXT("Connect")));
		});
	WaitUntil(this, TEXT("sign-in"),
		[P]()
		{
			return P->Panel->GetAccount().IsSet() && !P->Panel->IsBusy();
		});

	// Connected, without characters yet: nothing to price or make.
	SimulatorTimeStep(this, TEXT("{\"timeScale\": 1000}"));
	Then(
		[this, P, Pictures]()
		{
			TestLook(this, *P, TEXT("connected"), SignedInShown(FString()),
				TEXT("TopUp SignOut Picker Refresh UploadFile PromptBox Examples"));
			TestEqual(TEXT("connected: account line"),
				P->Driver.GetString(P->Driver.FindButton(TEXT("TopUp"))->GetParentWidget()),
				FString(TEXT("demo@tarvoline.test - 1000 credits")));
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-connected.png"));

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
			TestLook(this, *P, TEXT("rigging"), SignedInShown(FString(), TEXT("Status")),
				TEXT("TopUp SignOut Picker PromptBox Examples"));
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-rigging.png"));
		});
	// The rig ends; the job that follows is made slow enough to be seen running.
	SimulatorTimeStep(this, TEXT("{\"advanceSeconds\": 100000, \"timeScale\": 100}"));
	WaitUntil(this, TEXT("the rigged character"),
		[P]()
		{
			return !P->Panel->IsBusy() && P->Panel->GetSelectedCharacter().IsValid();
		});

	// Priced: a sentence of only spaces cannot be sent; a real one gets its price.
	Then(
		[this, P]()
		{
			TestEqual(TEXT("rigged: status"), P->Driver.GetString(StatusLine(*P)),
				FString(TEXT("humanoid_mesh.fbx is rigged as humanoid. Now say what it does.")));
			TestEqual(TEXT("rigged: picker"), P->Driver.GetString(P->Picker()),
				FString(TEXT("humanoid_mesh.fbx  (humanoid)")));
			TestTrue(TEXT("spaces typed"), P->TypeInto(TEXT("PromptHint"), TEXT("   ")));
			TestFalse(TEXT("spaces: no price"), P->CanUse(TEXT("Price")));
			TestFalse(TEXT("spaces: no animation"), P->CanUse(TEXT("Make")));
			TestTrue(TEXT("prompt typed"), P->TypeInto(TEXT("PromptHint"), TEXT("walks forward, then waves")));
			TestTrue(TEXT("check the price"), P->Click(TEXT("Price")));
		});
	WaitUntil(this, TEXT("the price"),
		[P]()
		{
			return !P->Panel->IsBusy() && P->Panel->GetPlan().IsSet();
		});
	Then(
		[this, P, Pictures]()
		{
			TestLook(this, *P, TEXT("priced"), SignedInShown(TEXT("PriceLine")),
				TEXT("TopUp SignOut Picker Refresh UploadFile PromptBox Examples Price Make"));
			TestEqual(
				TEXT("priced: price line"), P->Driver.GetString(PriceLine(*P)), P->Panel->GetPriceText().ToString());
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
			TestLook(this, *P, TEXT("running"), SignedInShown(TEXT("PriceLine"), TEXT("Progress")),
				TEXT("TopUp SignOut Picker PromptBox Examples"));
			TestEqual(TEXT("running: stage"), P->Driver.GetString(ChildOf(ProgressBox(*P), 1)),
				P->Panel->GetStageText().ToString());
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-running.png"));
		});
	SimulatorTimeStep(this, TEXT("{\"advanceSeconds\": 100000, \"timeScale\": 0.02}"));
	WaitUntil(this, TEXT("the imported clip"),
		[P]()
		{
			return !P->Panel->IsBusy() && (P->Panel->GetLastImport().Clip.IsValid() || !P->Panel->GetError().IsEmpty());
		});

	// Result: the folder and the three result buttons; the progress box is gone with the finished job.
	Then(
		[this, P, Pictures]()
		{
			TestEqual(TEXT("result: no error"), P->Panel->GetError(), FString());
			TestLook(this, *P, TEXT("result"), SignedInShown(TEXT("PriceLine"), TEXT("Show AddToLevel Watch Status")),
				TEXT("TopUp SignOut Picker Refresh UploadFile PromptBox Examples Price Make Show AddToLevel Watch"));
			const TSharedPtr<SWidget> ResultBox =
				P->Driver.FindButton(TEXT("Show"))->GetParentWidget()->GetParentWidget();
			TestEqual(TEXT("result: folder"), P->Driver.GetString(ChildOf(ResultBox, 0)),
				P->Panel->GetLastImport().FolderPath);
			TestTrue(TEXT("result: status"), P->Panel->GetStatus().StartsWith(TEXT("Ready: ")));
			SavePanelPicture(this, P->Panel, Pictures, TEXT("panel-result.png"));

			const int32 SyncsBefore = GEditor ? GEditor->HostGetSyncCount() : 0;
			TestTrue(TEXT("show in the Content Browser"), P->Click(TEXT("Show")));
			TestEqual(TEXT("the browser was synced"), GEditor ? GEditor->HostGetSyncCount() : 0, SyncsBefore + 1);
			const int32 ActorsBefore = CountMeshActors();
			TestTrue(TEXT("add to level"), P->Click(TEXT("AddToLevel")));
			TestEqual(TEXT("an actor in the level"), CountMeshActors(), ActorsBefore + 1);
			TestTrue(TEXT("watch online"), P->Click(TEXT("Watch")));
			const TArray<FString> Urls = HostEngine::GetLaunchedUrls();
			TestTrue(TEXT("the job's page opened"),
				Urls.Num() > 0 && Urls.Last() == FString::Printf(TEXT("%s/app/animate?job=%s"), TarvolineSiteUrl,
													 *P->Panel->GetJob()->Id));

			// Working with a result shown: what starts work waits, the links and the result buttons do not.
			TestTrue(TEXT("refresh"), P->Click(TEXT("Refresh")));
			TestLook(this, *P, TEXT("working with a result"),
				SignedInShown(TEXT("PriceLine"), TEXT("Show AddToLevel Watch")),
				TEXT("TopUp SignOut Picker PromptBox Examples Show AddToLevel Watch"));
		});
	WaitUntil(this, TEXT("the refreshed list"), Idle);
	Then(
		[this, P]()
		{
			// A clip deleted from the project takes the result box with it.
			UAnimSequence* Clip = P->Panel->GetLastImport().Clip.Get();
			if (!TestNotNull(TEXT("clip still there"), Clip))
			{
				return;
			}
			Clip->MarkAsGarbage();
			CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
			TestFalse(
				TEXT("clip deleted: result box collapsed"), P->Driver.IsVisible(P->Driver.FindButton(TEXT("Show"))));
		});
	Then(
		[]()
		{
			HostEditorLoop::SetTimeDilation(1.0f);
		});
	RestoreStoredKeyStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineLayoutCheckAgainTest, "Tarvoline.Layout.CheckAgain",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineLayoutCheckAgainTest::RunTest(const FString&)
{
	using namespace TarvolineLayoutTest;
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	SimulatorTimeStep(this, TEXT("{\"timeScale\": 0}"));
	UploadRiggedCharacterStep(this, DemoKey, TestModelFile(TEXT("humanoid_mesh.fbx")));
	const TSharedRef<FPanelUnderTest> P = MakeShared<FPanelUnderTest>();
	const auto Idle = [P]()
	{
		return !P->Panel->IsBusy();
	};
	const FString Usable = TEXT("TopUp SignOut Picker Refresh UploadFile PromptBox Examples Price Make");
	Then(
		[this, P]()
		{
			HostEditorLoop::SetTimeDilation(10.0f);
			TestTrue(TEXT("key typed"), P->TypeInto(TEXT("KeyBox"), DemoKey));
			TestTrue(TEXT("connect"), P->Click(TEXT("Connect")));
		});
	WaitUntil(this, TEXT("sign-in"),
		[P]()
		{
			return P->Panel->GetAccount().IsSet() && !P->Panel->IsBusy();
		});

	// A finished job whose download fails: the button the error line asks for is there, with nothing to show yet.
	FaultStep(this, TEXT("{\"kind\": \"status\", \"status\": 500, \"path\": \"/downloads/\"}"));
	Then(
		[this, P]()
		{
			TestTrue(TEXT("prompt typed"), P->TypeInto(TEXT("PromptHint"), TEXT("walks forward, then waves")));
			TestFalse(TEXT("no job yet: no check again"), P->Shows(TEXT("Again")));
			TestTrue(TEXT("make the animation"), P->Click(TEXT("Make")));
		});
	WaitUntil(this, TEXT("the failed download"), Idle);
	Then(
		[this, P, Usable]()
		{
			TestEqual(TEXT("download failed: reason"), P->Driver.GetString(ErrorLine(*P)),
				FString(TEXT("The download link did not work. Press Check again.")));
			TestLook(this, *P, TEXT("download failed"), SignedInShown(FString(), TEXT("Again Error")),
				Usable + TEXT(" Again"));
			TestTrue(TEXT("check again"), P->Click(TEXT("Again")));
			TestTrue(TEXT("checking: error line cleared"), P->Panel->GetError().IsEmpty());
			TestTrue(TEXT("checking: still shown"), P->Shows(TEXT("Again")));
			TestFalse(TEXT("checking: not pressed twice"), P->CanUse(TEXT("Again")));
		});
	WaitUntil(this, TEXT("the result after checking again"), Idle);
	Then(
		[this, P, Usable]()
		{
			TestTrue(TEXT("checked again: clip imported"), P->Panel->GetLastImport().Clip.IsValid());
			TestLook(this, *P, TEXT("checked again"), SignedInShown(FString(), TEXT("Show AddToLevel Watch Status")),
				Usable + TEXT(" Show AddToLevel Watch"));
		});

	// A running job that could no longer be read: following it stopped, and Check again picks it up once done.
	SimulatorTimeStep(this, TEXT("{\"timeScale\": 100}"));
	FaultStep(this, TEXT("{\"kind\": \"status\", \"status\": 503, \"method\": \"GET\", \"path\": \"/v1/jobs/\"}"));
	Then(
		[this, P]()
		{
			TestTrue(TEXT("make another"), P->Click(TEXT("Make")));
		});
	WaitUntil(this, TEXT("the failed poll"), Idle);
	Then(
		[this, P, Usable]()
		{
			TestTrue(
				TEXT("poll failed: job still running"), P->Panel->GetJob().IsSet() && P->Panel->GetJob()->IsActive());
			TestLook(this, *P, TEXT("poll failed"), SignedInShown(FString(), TEXT("Progress Again Error")),
				Usable + TEXT(" Again"));
		});
	SimulatorTimeStep(this, TEXT("{\"advanceSeconds\": 100000}"));
	Then(
		[this, P]()
		{
			TestTrue(TEXT("check again once done"), P->Click(TEXT("Again")));
		});
	WaitUntil(this, TEXT("the result of the second job"), Idle);
	Then(
		[this, P, Usable]()
		{
			TestTrue(TEXT("second job: clip imported"), P->Panel->GetLastImport().Clip.IsValid());
			TestLook(this, *P, TEXT("second job"), SignedInShown(FString(), TEXT("Show AddToLevel Watch Status")),
				Usable + TEXT(" Show AddToLevel Watch"));
			HostEditorLoop::SetTimeDilation(1.0f);
		});
	RestoreStoredKeyStep(SavedKey);
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS && WITH_TARVOLINE_HOST
