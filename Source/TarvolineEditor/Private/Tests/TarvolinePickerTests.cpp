// Automation test of the motion examples: the sentences offered for each creature family. How the picker writes
// characters and how the example buttons follow the selection is walked through in Tarvoline.Layout.WalkThrough.

#include "CoreMinimal.h"
#include "Misc/AutomationTest.h"
#include "STarvolinePanel.h"

#if WITH_DEV_AUTOMATION_TESTS

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolinePickerExamplesByFamilyTest, "Tarvoline.Picker.ExamplesByFamily",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolinePickerExamplesByFamilyTest::RunTest(const FString&)
{
	// The sentences offered for a family, as the buttons must show them.
	const auto ExamplesOf = [](const FString& Family)
	{
		return FString::Join(STarvolinePanel::ExamplesForFamily(Family), TEXT(" | "));
	};
	// Each family has sentences of its own, none blank, found in any letter case.
	TSet<FString> Seen;
	for (const FString Family : {TEXT("humanoid"), TEXT("bird"), TEXT("frog"), TEXT("quadruped")})
	{
		const TArray<FString> Examples = STarvolinePanel::ExamplesForFamily(Family);
		const bool bBlank = Examples.ContainsByPredicate(
			[](const FString& Sentence)
			{
				return Sentence.TrimStartAndEnd().IsEmpty();
			});
		TestTrue(Family + TEXT(": sentences of its own, none blank"),
			Examples.Num() > 0 && !bBlank && !Seen.Contains(ExamplesOf(Family)));
		Seen.Add(ExamplesOf(Family));
		TestEqual(*(Family + TEXT(" in capitals")), *ExamplesOf(Family.ToUpper()), *ExamplesOf(Family));
	}
	// Anything else, near misses included, is treated as four-legged.
	for (const FString Family : {TEXT(""), TEXT("dragon"), TEXT("birds"), TEXT(" frog")})
	{
		TestEqual(
			TEXT("falls back to four legs: '") + Family + TEXT("'"), ExamplesOf(Family), ExamplesOf(TEXT("quadruped")));
	}
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS
