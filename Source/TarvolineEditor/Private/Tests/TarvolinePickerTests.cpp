// Automation tests of the character picker and the motion examples: the sentences offered for each creature family,
// how characters are written in the picker, and the example buttons following the selection.

#include "CoreMinimal.h"
#include "Misc/AutomationTest.h"
#include "STarvolinePanel.h"
#include "TarvolineTestHelpers.h"

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolinePickerTest
{
using namespace TarvolineUiTest;

FString Joined(const TArray<FString>& Lines)
{
	return FString::Join(Lines, TEXT(" | "));
}

/** The sentences offered for a family, as the buttons must show them. */
FString ExamplesOf(const TCHAR* Family)
{
	return Joined(STarvolinePanel::ExamplesForFamily(Family));
}
} // namespace TarvolinePickerTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePickerExamplesByFamilyTest, "Tarvoline.Picker.ExamplesByFamily",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePickerExamplesByFamilyTest::RunTest(const FString&)
{
	using namespace TarvolinePickerTest;
	// Each family the service names has sentences of its own, found in any letter case.
	const TCHAR* const Families[] = {TEXT("humanoid"), TEXT("bird"), TEXT("frog"), TEXT("quadruped")};
	TSet<FString> Seen;
	for (const TCHAR* Family : Families)
	{
		const TArray<FString> Examples = STarvolinePanel::ExamplesForFamily(Family);
		TestTrue(FString::Printf(TEXT("%s: sentences"), Family),
			Examples.Num() > 0 && !Examples.ContainsByPredicate(
									  [](const FString& Sentence)
									  {
										  return Sentence.TrimStartAndEnd().IsEmpty();
									  }));
		TestFalse(FString::Printf(TEXT("%s: its own sentences"), Family), Seen.Contains(Joined(Examples)));
		Seen.Add(Joined(Examples));
		TestEqual(
			FString::Printf(TEXT("%s in capitals"), Family), ExamplesOf(*FString(Family).ToUpper()), Joined(Examples));
	}
	// Anything else, near misses included, is treated as four-legged.
	for (const TCHAR* Family : {TEXT(""), TEXT("dragon"), TEXT("birds"), TEXT(" frog")})
	{
		TestEqual(FString::Printf(TEXT("\"%s\" falls back to four legs"), Family), ExamplesOf(Family),
			ExamplesOf(TEXT("quadruped")));
	}
	return true;
}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePickerCharactersTest, "Tarvoline.Picker.CharactersAndExamples",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePickerCharactersTest::RunTest(const FString&)
{
	using namespace TarvolinePickerTest;
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	ControlStep(this, TEXT("POST"), TEXT("/_sim/reset"));
	// Rigs finish at the first look, so uploads are ready at once.
	SimulatorTimeStep(this, TEXT("{\"timeScale\": 0}"));

	const TSharedRef<FPanelUnderTest> P = MakeShared<FPanelUnderTest>();
	const auto SignedInAndIdle = [P]()
	{
		return P->Panel->GetAccount().IsSet() && !P->Panel->IsBusy();
	};

	// An account without characters: the picker says so, and the four-legged examples stand in.
	Then(
		[this, P]()
		{
			TestTrue(TEXT("key typed"), P->TypeInto(TEXT("KeyBox"), DemoKey));
			TestTrue(TEXT("connect"), P->Click(TEXT("Connect")));
		});
	WaitUntil(this, TEXT("sign-in"), SignedInAndIdle);
	Then(
		[this, P]()
		{
			const TSharedPtr<STarvolinePanel::FCharacterCombo> Picker = P->Picker();
			TestTrue(TEXT("empty: picker face"), IsPluginText(P->Driver.GetText(Picker), TEXT("NoCharacters")));
			TestEqual(TEXT("empty: picker face text"), P->Driver.GetString(Picker),
				FString(TEXT("No characters yet. Upload one below.")));
			TestEqual(TEXT("empty: no rows"), P->Driver.GetOptionStrings(Picker).Num(), 0);
			TestEqual(TEXT("empty: examples"), Joined(P->ExampleTexts()), ExamplesOf(TEXT("quadruped")));
		});

	// Four characters, one of each family, oldest first as the service lists them.
	UploadRiggedCharacterStep(this, DemoKey, TestModelFile(TEXT("humanoid_mesh.fbx")));
	UploadRiggedCharacterStep(this, DemoKey, TestModelFile(TEXT("bird_mesh.fbx")));
	UploadRiggedCharacterStep(this, DemoKey, TestModelFile(TEXT("frog_mesh.fbx")));
	UploadRiggedCharacterStep(this, DemoKey, TestModelFile(TEXT("quadruped_mesh.fbx")));
	Then(
		[this, P]()
		{
			TestTrue(TEXT("refresh"), P->Click(TEXT("Refresh")));
		});
	WaitUntil(this, TEXT("the refreshed list"),
		[P]()
		{
			return !P->Panel->IsBusy() && P->Panel->GetCharacters().Num() == 4;
		});
	Then(
		[this, P]()
		{
			const TSharedPtr<STarvolinePanel::FCharacterCombo> Picker = P->Picker();
			const TArray<FString> Rows = {TEXT("humanoid_mesh.fbx  (humanoid)"), TEXT("bird_mesh.fbx  (bird)"),
				TEXT("frog_mesh.fbx  (frog)"), TEXT("quadruped_mesh.fbx  (quadruped)")};
			TestEqual(TEXT("rows: file name, two spaces, family in parentheses"),
				Joined(P->Driver.GetOptionStrings(Picker)), Joined(Rows));
			TestEqual(TEXT("the first is selected"), P->Driver.GetString(Picker), Rows[0]);
			TestEqual(TEXT("its row is the selection"), P->Driver.GetSelectedOptionString(Picker), Rows[0]);
			TestEqual(TEXT("humanoid examples"), Joined(P->ExampleTexts()), ExamplesOf(TEXT("humanoid")));

			// Another character: its family's examples replace the others; the sentence typed so far stays.
			TestTrue(TEXT("prompt typed"), P->TypeInto(TEXT("PromptHint"), TEXT("dances a little")));
			TestTrue(TEXT("frog picked"), P->Driver.PickByText(Picker, Rows[2]));
			TestEqual(TEXT("frog on the picker's face"), P->Driver.GetString(Picker), Rows[2]);
			TestEqual(TEXT("frog examples"), Joined(P->ExampleTexts()), ExamplesOf(TEXT("frog")));
			TestEqual(TEXT("prompt kept"), P->Driver.GetString(P->Driver.FindTextBox(TEXT("PromptHint"))),
				FString(TEXT("dances a little")));
			TestTrue(TEXT("bird picked"), P->Driver.PickByText(Picker, Rows[1]));
			TestEqual(TEXT("bird examples"), Joined(P->ExampleTexts()), ExamplesOf(TEXT("bird")));
			TestTrue(TEXT("four-legged picked"), P->Driver.PickByText(Picker, Rows[3]));
			TestEqual(TEXT("four-legged examples"), Joined(P->ExampleTexts()), ExamplesOf(TEXT("quadruped")));
			TestTrue(TEXT("frog picked again"), P->Driver.PickByText(Picker, Rows[2]));

			// A price for the typed sentence, then an example replaces the sentence and the price with it.
			TestTrue(TEXT("check the price"), P->Click(TEXT("Price")));
		});
	WaitUntil(this, TEXT("the price"),
		[P]()
		{
			return !P->Panel->IsBusy() && P->Panel->GetPlan().IsSet();
		});
	Then(
		[this, P]()
		{
			TestTrue(
				TEXT("price shown"), P->Driver.IsVisible(P->Driver.FindByText(P->Panel->GetPriceText().ToString())));
			const TArray<TSharedRef<SWidget>> Buttons = P->ExampleButtons();
			if (!TestTrue(TEXT("the frog's buttons"), Buttons.Num() >= 2))
			{
				return;
			}
			TestTrue(TEXT("example clicked"), P->Driver.Click(Buttons[1]));
			TestEqual(TEXT("the example is the prompt"), P->Driver.GetString(P->Driver.FindTextBox(TEXT("PromptHint"))),
				STarvolinePanel::ExamplesForFamily(TEXT("frog"))[1]);
			TestFalse(TEXT("the price is gone"), P->Panel->GetPlan().IsSet());
		});
	RestoreStoredKeyStep(SavedKey);
	return true;
}

#endif // WITH_TARVOLINE_HOST

#endif // WITH_DEV_AUTOMATION_TESTS
