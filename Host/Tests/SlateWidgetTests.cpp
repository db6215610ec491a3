// The headless UI as a panel uses it: bound attributes read at each paint pass (and not under collapsed parents),
// clicks, typing and combo picks only where a person could, and boxes rebuilt while the panel lives.
#include "HostSlateDriver.h"
#include "HostSlatePaint.h"
#include "SlateOptMacros.h"
#include "Styling/AppStyle.h"
#include "Styling/CoreStyle.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Input/SComboBox.h"
#include "Widgets/Input/SEditableTextBox.h"
#include "Widgets/Input/SHyperlink.h"
#include "Widgets/Input/SMultiLineEditableTextBox.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/Layout/SScrollBox.h"
#include "Widgets/Layout/SWrapBox.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/SCompoundWidget.h"
#include "Widgets/Text/STextBlock.h"
#include <gtest/gtest.h>

#define LOCTEXT_NAMESPACE "SlateWidgetTests"

namespace
{
struct FCreature
{
	FString Name;
	FString Family;
};

using FCreatureCombo = SComboBox<TSharedPtr<FCreature>>;

/** A small panel in the shape of the plug-in's: state in fields, widgets reading it through const getters. */
class STestPanel : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(STestPanel) {}
	SLATE_END_ARGS()

	BEGIN_SLATE_FUNCTION_BUILD_OPTIMIZATION
	void Construct(const FArguments& /*InArgs*/)
	{
		ChildSlot
		[
			SNew(SScrollBox)
			+ SScrollBox::Slot()
			.Padding(12.0f)
			[
				SNew(SVerticalBox)
				+ SVerticalBox::Slot()
				.AutoHeight()
				[
					SNew(STextBlock)
					.Text(LOCTEXT("Title", "Creatures"))
					.Font(FCoreStyle::GetDefaultFontStyle("Bold", 14))
				]
				+ SVerticalBox::Slot()
				.AutoHeight()
				.Padding(0, 2, 0, 2)
				[
					SAssignNew(SignInBox, SVerticalBox)
					.Visibility(this, &STestPanel::GetSignedOutVisibility)
					+ SVerticalBox::Slot()
					.AutoHeight()
					.Padding(0, 4)
					[
						SNew(SEditableTextBox)
						.IsPassword(true)
						.HintText(LOCTEXT("KeyBox", "API key"))
						.Text(this, &STestPanel::GetKeyText)
						.OnTextChanged(this, &STestPanel::OnKeyChanged)
						.OnTextCommitted(this, &STestPanel::OnKeyCommitted)
					]
					+ SVerticalBox::Slot()
					.AutoHeight()
					[
						SNew(SHorizontalBox)
						+ SHorizontalBox::Slot()
						.AutoWidth()
						.Padding(0, 0, 6, 0)
						[
							SNew(SButton)
							.Text(LOCTEXT("Connect", "Connect"))
							.IsEnabled(this, &STestPanel::CanConnect)
							.OnClicked(this, &STestPanel::OnConnectClicked)
						]
						+ SHorizontalBox::Slot()
						.AutoWidth()
						[
							SNew(SHyperlink)
							.Text(LOCTEXT("GetKey", "Get a key"))
							.OnNavigate_Lambda([this]() { ++LinkClicks; })
						]
					]
				]
				+ SVerticalBox::Slot()
				.AutoHeight()
				[
					SNew(SVerticalBox)
					.Visibility_Lambda([this]() { return bSignedIn ? EVisibility::Visible : EVisibility::Collapsed; })
					+ SVerticalBox::Slot()
					.AutoHeight()
					[
						SNew(STextBlock)
						.Tag("Account")
						.Text(this, &STestPanel::GetAccountText)
					]
					+ SVerticalBox::Slot()
					.AutoHeight()
					[
						SAssignNew(Picker, FCreatureCombo)
						.OptionsSource(&Creatures)
						.OnGenerateWidget(this, &STestPanel::MakeRow)
						.OnSelectionChanged(this, &STestPanel::OnPicked)
						[
							SNew(STextBlock)
							.Text(this, &STestPanel::GetPickerLabel)
						]
					]
					+ SVerticalBox::Slot()
					.AutoHeight()
					[
						SNew(SBox)
						.MinDesiredHeight(48)
						[
							SNew(SMultiLineEditableTextBox)
							.AutoWrapText(true)
							.HintText(LOCTEXT("PromptHint", "walks forward"))
							.Text_Lambda([this]() { return FText::FromString(Prompt); })
							.OnTextChanged_Lambda([this](const FText& NewText) { Prompt = NewText.ToString(); })
						]
					]
					+ SVerticalBox::Slot()
					.AutoHeight()
					.Padding(0, 4)
					[
						SAssignNew(ExamplesBox, SVerticalBox)
					]
					+ SVerticalBox::Slot()
					.AutoHeight()
					[
						SNew(SProgressBar)
						.Percent(this, &STestPanel::GetProgress)
					]
					+ SVerticalBox::Slot()
					.AutoHeight()
					[
						SNew(SButton)
						.ButtonStyle(&FAppStyle::Get().GetWidgetStyle<FButtonStyle>("PrimaryButton"))
						.Text(LOCTEXT("Make", "Make"))
						.IsEnabled(this, &STestPanel::IsNotBusy)
						.OnClicked_Lambda([this]() { ++MakeClicks; return FReply::Handled(); })
					]
				]
				+ SVerticalBox::Slot()
				.AutoHeight()
				.Padding(0, 10, 0, 0)
				[
					SNew(SHorizontalBox)
					+ SHorizontalBox::Slot()
					.FillWidth(1)
					.VAlign(VAlign_Center)
					[
						SNew(STextBlock)
						.Tag("Error")
						.AutoWrapText(true)
						.ColorAndOpacity(FLinearColor(0.95f, 0.35f, 0.3f, 1.0f))
						.Visibility_Lambda([this]() { return Error.IsEmpty() ? EVisibility::Collapsed : EVisibility::Visible; })
						.Text_Lambda([this]() { return FText::FromString(Error); })
					]
				]
			]
		];
		RebuildExamples();
	}
	END_SLATE_FUNCTION_BUILD_OPTIMIZATION

	EVisibility GetSignedOutVisibility() const { return bSignedIn ? EVisibility::Collapsed : EVisibility::Visible; }
	FText GetKeyText() const { return FText::FromString(ApiKey); }
	bool CanConnect() const { return !bBusy && !ApiKey.IsEmpty(); }
	bool IsNotBusy() const { return !bBusy; }
	FText GetAccountText() const
	{
		++AccountTextCalls;
		return FText::FromString(FString::Printf(TEXT("%d credits"), (int)Credits));
	}
	FText GetPickerLabel() const
	{
		return Selected.IsValid() ? FText::FromString(Selected->Name) : LOCTEXT("NoCreatures", "None yet");
	}
	TOptional<float> GetProgress() const { return Progress; }

	void OnKeyChanged(const FText& NewText)
	{
		// Stored trimmed, as the plug-in stores its key: the bound box then shows the trimmed value.
		ApiKey = NewText.ToString().TrimStartAndEnd();
		KeyChanges.Add(NewText.ToString());
	}
	void OnKeyCommitted(const FText& /*NewText*/, ETextCommit::Type CommitType) { Commits.Add(CommitType); }
	FReply OnConnectClicked()
	{
		++ConnectClicks;
		return FReply::Handled();
	}
	TSharedRef<SWidget> MakeRow(TSharedPtr<FCreature> Item)
	{
		return SNew(STextBlock).Text(FText::FromString(Item->Name + TEXT("  (") + Item->Family + TEXT(")")));
	}
	void OnPicked(TSharedPtr<FCreature> Item, ESelectInfo::Type SelectInfo)
	{
		Selected = Item;
		Picks.Add(SelectInfo);
		RebuildExamples();
	}

	void RebuildExamples()
	{
		if (!ExamplesBox.IsValid())
		{
			return;
		}
		ExamplesBox->ClearChildren();
		const TArray<FString> Sentences = Selected.IsValid() && Selected->Family == TEXT("bird")
			? TArray<FString>{TEXT("flies"), TEXT("lands")}
			: TArray<FString>{TEXT("walks"), TEXT("trots"), TEXT("runs")};
		for (const FString& Sentence : Sentences)
		{
			ExamplesBox->AddSlot()
			.AutoHeight()
			.Padding(0, 1, 0, 1)
			.HAlign(HAlign_Fill)
			[
				SNew(SButton)
				.Text(FText::FromString(Sentence))
				.OnClicked_Lambda([this, Sentence]() { Prompt = Sentence; return FReply::Handled(); })
			];
		}
	}

	bool bSignedIn = false;
	bool bBusy = false;
	FString Error;
	FString ApiKey;
	FString Prompt;
	int32 Credits = 0;
	TOptional<float> Progress;
	TArray<TSharedPtr<FCreature>> Creatures;
	TSharedPtr<FCreature> Selected;
	TSharedPtr<SVerticalBox> SignInBox;
	TSharedPtr<FCreatureCombo> Picker;
	TSharedPtr<SVerticalBox> ExamplesBox;

	TArray<FString> KeyChanges;
	TArray<ETextCommit::Type> Commits;
	TArray<ESelectInfo::Type> Picks;
	int32 ConnectClicks = 0;
	int32 LinkClicks = 0;
	int32 MakeClicks = 0;
	mutable int32 AccountTextCalls = 0;
};

TSharedRef<FCreature> MakeCreature(const TCHAR* Name, const TCHAR* Family)
{
	return MakeShared<FCreature>(FCreature{Name, Family});
}
} // namespace

TEST(SlateWidgets, BoundAttributesFollowStateAtEachPaint)
{
	TSharedRef<STestPanel> Panel = SNew(STestPanel);
	FHostSlateDriver Driver(Panel);

	Panel->bSignedIn = true;
	Panel->Credits = 5;
	TSharedPtr<SWidget> Account = Driver.FindByTag("Account");
	ASSERT_TRUE(Account.IsValid());
	EXPECT_EQ(Driver.GetString(Account), TEXT("5 credits"));
	Panel->Credits = 7;
	EXPECT_EQ(Driver.GetString(Account), TEXT("7 credits"));

	// Widgets see only what the last pass read: without a pass, the old text stays.
	Driver.SetPaintBeforeEachStep(false);
	Panel->Credits = 9;
	EXPECT_EQ(Driver.GetString(Account), TEXT("7 credits"));
	Driver.Paint();
	EXPECT_EQ(Driver.GetString(Account), TEXT("9 credits"));

	TSharedPtr<SProgressBar> Bar = Driver.FindFirst<SProgressBar>();
	ASSERT_TRUE(Bar.IsValid());
	EXPECT_FALSE(Bar->HostGetPercent().IsSet());
	Panel->Progress = 0.25f;
	Driver.Paint();
	EXPECT_EQ(Bar->HostGetPercent().Get(0.0f), 0.25f);
}

TEST(SlateWidgets, CollapsedSubtreesAreNotEvaluated)
{
	TSharedRef<STestPanel> Panel = SNew(STestPanel);
	FHostSlateDriver Driver(Panel);
	Driver.SetPaintBeforeEachStep(false);

	Driver.Paint();
	Driver.Paint();
	EXPECT_EQ(Panel->AccountTextCalls, 0);

	Panel->bSignedIn = true;
	Driver.Paint();
	Driver.Paint();
	EXPECT_EQ(Panel->AccountTextCalls, 2);
	EXPECT_TRUE(Driver.IsVisible(Driver.FindByTag("Account")));
	EXPECT_FALSE(Driver.IsVisible(Panel->SignInBox));
	EXPECT_FALSE(Driver.IsVisible(Driver.FindButton(TEXT("Connect"))));
}

TEST(SlateWidgets, ClicksReachOnlyVisibleEnabledButtons)
{
	TSharedRef<STestPanel> Panel = SNew(STestPanel);
	FHostSlateDriver Driver(Panel);

	// Disabled by its own rule (no key yet).
	TSharedPtr<SButton> Connect = Driver.FindButton(TEXT("Connect"));
	ASSERT_TRUE(Connect.IsValid());
	EXPECT_FALSE(Driver.IsEnabled(Connect));
	EXPECT_FALSE(Driver.Click(Connect));
	EXPECT_EQ(Panel->ConnectClicks, 0);

	Panel->ApiKey = TEXT("tv_1");
	EXPECT_TRUE(Driver.ClickByKey(TEXT("Connect")));
	EXPECT_EQ(Panel->ConnectClicks, 1);

	// Inside a collapsed box: refused although the button itself is enabled.
	Panel->bSignedIn = true;
	EXPECT_FALSE(Driver.Click(Connect));
	EXPECT_EQ(Panel->ConnectClicks, 1);

	// A disabled ancestor disables the subtree.
	Panel->bSignedIn = false;
	Panel->SignInBox->SetEnabled(false);
	EXPECT_FALSE(Driver.IsEnabled(Connect));
	EXPECT_FALSE(Driver.Click(Connect));
	Panel->SignInBox->SetEnabled(true);

	// Hidden keeps its room but cannot be clicked.
	Panel->SignInBox->SetVisibility(EVisibility::Hidden);
	EXPECT_FALSE(Driver.Click(Connect));
	Panel->SignInBox->SetVisibility(TAttribute<EVisibility>::CreateSP(&Panel.Get(), &STestPanel::GetSignedOutVisibility));

	// Clicking the text on a button clicks the button; a hyperlink is a button too.
	EXPECT_TRUE(Driver.Click(Driver.FindByKey(TEXT("Connect"))));
	EXPECT_EQ(Panel->ConnectClicks, 2);
	EXPECT_TRUE(Driver.ClickByKey(TEXT("GetKey")));
	EXPECT_EQ(Panel->LinkClicks, 1);

	// A widget that is no button cannot be clicked.
	EXPECT_FALSE(Driver.Click(Driver.FindByKey(TEXT("Title"))));
}

TEST(SlateWidgets, TypingFiresHandlersAndBoundTextFollowsState)
{
	TSharedRef<STestPanel> Panel = SNew(STestPanel);
	FHostSlateDriver Driver(Panel);

	TSharedPtr<SHostEditableTextBox> KeyBox = Driver.FindTextBox(TEXT("KeyBox"));
	ASSERT_TRUE(KeyBox.IsValid());
	EXPECT_TRUE(KeyBox->HostIsPassword());
	EXPECT_TRUE(Driver.Type(KeyBox, TEXT("  tv_abc ")));
	ASSERT_EQ(Panel->KeyChanges.Num(), 1);
	EXPECT_EQ(Panel->KeyChanges[0], TEXT("  tv_abc "));
	EXPECT_TRUE(Panel->Commits.IsEmpty());

	// The box shows the trimmed key the panel stored, once a paint read the binding.
	EXPECT_EQ(Driver.GetString(KeyBox), TEXT("tv_abc"));

	// Setting the bound value from code changes the box without a change event.
	Panel->ApiKey = TEXT("tv_other");
	EXPECT_EQ(Driver.GetString(KeyBox), TEXT("tv_other"));
	EXPECT_EQ(Panel->KeyChanges.Num(), 1);

	EXPECT_TRUE(Driver.Type(KeyBox, TEXT("tv_x"), true));
	ASSERT_EQ(Panel->Commits.Num(), 1);
	EXPECT_EQ(Panel->Commits[0], ETextCommit::OnEnter);

	// A box the user cannot reach cannot be typed into.
	Panel->bSignedIn = true;
	EXPECT_FALSE(Driver.Type(KeyBox, TEXT("tv_y")));
	EXPECT_EQ(Panel->ApiKey, TEXT("tv_x"));

	// SetText replaces the text and drops the binding; it fires nothing.
	KeyBox->SetText(FText::FromString(TEXT("fixed")));
	EXPECT_EQ(KeyBox->GetText().ToString(), TEXT("fixed"));
	Panel->ApiKey = TEXT("ignored");
	EXPECT_EQ(Driver.GetString(KeyBox), TEXT("fixed"));
	EXPECT_EQ(Panel->KeyChanges.Num(), 2);
}

TEST(SlateWidgets, ComboFollowsItsOptionsArrayAfterRefresh)
{
	TSharedRef<STestPanel> Panel = SNew(STestPanel);
	Panel->bSignedIn = true;
	FHostSlateDriver Driver(Panel);

	EXPECT_TRUE(Driver.GetOptionStrings(Panel->Picker).IsEmpty());
	EXPECT_EQ(Driver.GetString(Panel->Picker), TEXT("None yet"));

	Panel->Creatures.Add(MakeCreature(TEXT("wolf.glb"), TEXT("quadruped")));
	Panel->Creatures.Add(MakeCreature(TEXT("crow.fbx"), TEXT("bird")));
	// The combo keeps a pointer to the array but shows new contents only after RefreshOptions and a paint.
	EXPECT_TRUE(Driver.GetOptionStrings(Panel->Picker).IsEmpty());
	Panel->Picker->RefreshOptions();
	Driver.SetPaintBeforeEachStep(false);
	EXPECT_TRUE(Panel->Picker->HostIsRefreshPending());
	Driver.Paint();
	Driver.SetPaintBeforeEachStep(true);
	const TArray<FString> Rows = Driver.GetOptionStrings(Panel->Picker);
	ASSERT_EQ(Rows.Num(), 2);
	EXPECT_EQ(Rows[0], TEXT("wolf.glb  (quadruped)"));

	// A user's pick fires with OnMouseClick; picking it again fires nothing.
	EXPECT_TRUE(Driver.Pick(Panel->Picker, Panel->Creatures[1]));
	ASSERT_EQ(Panel->Picks.Num(), 1);
	EXPECT_EQ(Panel->Picks[0], ESelectInfo::OnMouseClick);
	EXPECT_TRUE(Driver.Pick(Panel->Picker, Panel->Creatures[1]));
	EXPECT_EQ(Panel->Picks.Num(), 1);
	EXPECT_EQ(Driver.GetString(Panel->Picker), TEXT("crow.fbx"));
	EXPECT_EQ(Driver.GetSelectedOptionString(Panel->Picker), TEXT("crow.fbx  (bird)"));

	// An item the list does not show cannot be picked.
	EXPECT_FALSE(Driver.Pick(Panel->Picker, TSharedPtr<FCreature>(MakeCreature(TEXT("x"), TEXT("y")))));
	EXPECT_TRUE(Driver.PickByText(Panel->Picker, TEXT("wolf.glb  (quadruped)")));
	EXPECT_EQ(Panel->Selected, Panel->Creatures[0]);
	EXPECT_EQ(Panel->Picks.Num(), 2);

	// A disabled combo takes no picks.
	Panel->Picker->SetEnabled(false);
	EXPECT_FALSE(Driver.Pick(Panel->Picker, Panel->Creatures[1]));
	EXPECT_EQ(Panel->Picks.Num(), 2);
}

TEST(SlateWidgets, SetSelectedItemFiresDirectOnlyOnChange)
{
	TSharedRef<STestPanel> Panel = SNew(STestPanel);
	Panel->Creatures.Add(MakeCreature(TEXT("a"), TEXT("humanoid")));
	Panel->Creatures.Add(MakeCreature(TEXT("b"), TEXT("bird")));
	Panel->Picker->RefreshOptions();

	Panel->Picker->SetSelectedItem(Panel->Creatures[0]);
	ASSERT_EQ(Panel->Picks.Num(), 1);
	EXPECT_EQ(Panel->Picks[0], ESelectInfo::Direct);
	EXPECT_EQ(Panel->Selected, Panel->Creatures[0]);

	Panel->Picker->SetSelectedItem(Panel->Creatures[0]);
	EXPECT_EQ(Panel->Picks.Num(), 1);

	Panel->Picker->SetSelectedItem(nullptr);
	EXPECT_EQ(Panel->Picks.Num(), 2);
	EXPECT_FALSE(Panel->Selected.IsValid());
	Panel->Picker->ClearSelection();
	EXPECT_EQ(Panel->Picks.Num(), 2);

	// The handler runs synchronously: state it sets is there when SetSelectedItem returns.
	Panel->Picker->SetSelectedItem(Panel->Creatures[1]);
	EXPECT_EQ(Panel->Selected, Panel->Creatures[1]);
	EXPECT_EQ(Panel->Picker->GetSelectedItem(), Panel->Creatures[1]);

	// An initially selected item is selected without an event.
	int32 Fired = 0;
	TArray<TSharedPtr<FCreature>> Options{Panel->Creatures[0]};
	TSharedRef<FCreatureCombo> Combo = SNew(FCreatureCombo)
		.OptionsSource(&Options)
		.InitiallySelectedItem(Options[0])
		.OnSelectionChanged_Lambda([&Fired](TSharedPtr<FCreature>, ESelectInfo::Type) { ++Fired; });
	EXPECT_EQ(Combo->GetSelectedItem(), Options[0]);
	EXPECT_EQ(Fired, 0);
}

TEST(SlateWidgets, BoxesRebuiltAtRunTimeDropOldChildren)
{
	TSharedRef<STestPanel> Panel = SNew(STestPanel);
	Panel->bSignedIn = true;
	FHostSlateDriver Driver(Panel);

	TArray<TSharedRef<SButton>> Before = FHostSlateDriver::FindAllUnder<SButton>(Panel->ExamplesBox.ToSharedRef());
	ASSERT_EQ(Before.Num(), 3);
	EXPECT_EQ(Driver.GetString(Before[1]), TEXT("trots"));

	Panel->Creatures.Add(MakeCreature(TEXT("crow"), TEXT("bird")));
	Panel->Picker->RefreshOptions();
	Driver.Paint();
	ASSERT_TRUE(Driver.Pick(Panel->Picker, Panel->Creatures[0]));
	EXPECT_EQ(Panel->ExamplesBox->NumSlots(), 2);

	// A button of the old set is out of the tree: nobody can click it.
	EXPECT_FALSE(Before[0]->IsParentValid());
	EXPECT_FALSE(Driver.Click(Before[0]));
	EXPECT_TRUE(Panel->Prompt.IsEmpty());

	// Each new button carries its own sentence.
	EXPECT_TRUE(Driver.Click(Driver.FindButtonByText(TEXT("lands"))));
	EXPECT_EQ(Panel->Prompt, TEXT("lands"));
	EXPECT_EQ(Driver.GetString(Driver.FindByKey(TEXT("PromptHint"))), TEXT("lands"));

	// The same works for a wrap box.
	TSharedRef<SWrapBox> Wrap = SNew(SWrapBox).UseAllottedSize(true);
	Wrap->AddSlot().Padding(2)[SNew(STextBlock).Text(FText::FromString(TEXT("one")))];
	Wrap->AddSlot().Padding(2)[SNew(STextBlock).Text(FText::FromString(TEXT("two")))];
	EXPECT_EQ(Wrap->NumSlots(), 2);
	Wrap->ClearChildren();
	EXPECT_EQ(Wrap->NumSlots(), 0);
	EXPECT_FALSE(FHostSlateDriver(Wrap).FindByText(TEXT("one")).IsValid());
}

TEST(SlateWidgets, DisabledButtonsFollowTheBusyRuleAndStylesAreNamed)
{
	TSharedRef<STestPanel> Panel = SNew(STestPanel);
	Panel->bSignedIn = true;
	FHostSlateDriver Driver(Panel);

	TSharedPtr<SButton> Make = Driver.FindButton(TEXT("Make"));
	ASSERT_TRUE(Make.IsValid());
	EXPECT_EQ(Make->HostGetButtonStyle()->HostStyleName, FName("PrimaryButton"));
	Panel->bBusy = true;
	EXPECT_FALSE(Driver.Click(Make));
	Panel->bBusy = false;
	EXPECT_TRUE(Driver.Click(Make));
	EXPECT_EQ(Panel->MakeClicks, 1);

	TSharedPtr<STextBlock> Title = StaticCastSharedPtr<STextBlock>(Driver.FindByKey(TEXT("Title")));
	ASSERT_TRUE(Title.IsValid());
	EXPECT_EQ(Title->HostGetFont().TypefaceFontName, FName("Bold"));
	EXPECT_EQ(Title->HostGetFont().Size, 14.0f);
	EXPECT_TRUE(FAppStyle::Get().HostGetRequestedNames().Contains(FName("PrimaryButton")));

	// An empty error line takes no room; a set one shows in its colour, in a slot that fills the row.
	TSharedPtr<STextBlock> ErrorLine = StaticCastSharedPtr<STextBlock>(Driver.FindByTag("Error"));
	ASSERT_TRUE(ErrorLine.IsValid());
	EXPECT_FALSE(Driver.IsVisible(ErrorLine));
	Panel->Error = TEXT("The key was refused.");
	EXPECT_TRUE(Driver.IsVisible(ErrorLine));
	EXPECT_EQ(Driver.GetString(ErrorLine), TEXT("The key was refused."));
	EXPECT_EQ(ErrorLine->HostGetColorAndOpacity().GetSpecifiedColor(), FLinearColor(0.95f, 0.35f, 0.3f, 1.0f));
	EXPECT_TRUE(ErrorLine->HostGetAutoWrapText());
	const FSlotBase& ErrorSlot = ErrorLine->GetParentWidget()->GetChildren()->GetSlotAt(0);
	EXPECT_EQ(ErrorSlot.HostGetSizeRule(), EHostSlotSizeRule::Stretch);
	EXPECT_EQ(ErrorSlot.HostGetVAlign(), VAlign_Center);
	EXPECT_EQ(FAppStyle::GetBrush("ToolPanel.GroupBorder")->GetResourceName(), FName("ToolPanel.GroupBorder"));
}

#undef LOCTEXT_NAMESPACE
