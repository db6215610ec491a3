// Layout and pictures: where the layout pass puts widgets (padding, auto and fill slots, wrapping, collapsed
// widgets) and a PNG of a small panel.
#include "HAL/FileManager.h"
#include "HostSlateDriver.h"
#include "HostSlateLayout.h"
#include "HostSlatePaint.h"
#include "HostSlatePicture.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Styling/AppStyle.h"
#include "Styling/CoreStyle.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Input/SEditableTextBox.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/Layout/SScrollBox.h"
#include "Widgets/Layout/SWrapBox.h"
#include "Widgets/Notifications/SProgressBar.h"
#include "Widgets/SBoxPanel.h"
#include "Widgets/Text/STextBlock.h"
#include <gtest/gtest.h>

#define LOCTEXT_NAMESPACE "SlatePictureTests"

namespace
{
/** A column in the shape of the plug-in's panel. */
struct FColumn
{
	FString Error;
	TSharedPtr<SVerticalBox> Column;
	TSharedPtr<STextBlock> Hint;
	TSharedPtr<SButton> Connect;
	TSharedPtr<STextBlock> Account;
	TSharedPtr<STextBlock> ErrorLine;
	TSharedPtr<SBox> MotionBox;

	TSharedRef<SWidget> Build()
	{
		return SNew(SScrollBox)
			+ SScrollBox::Slot()
			.Padding(12.0f)
			[
				SAssignNew(Column, SVerticalBox)
				+ SVerticalBox::Slot()
				.AutoHeight()
				[
					SNew(STextBlock).Text(LOCTEXT("Title", "Tarvoline")).Font(FCoreStyle::GetDefaultFontStyle("Bold", 14))
				]
				+ SVerticalBox::Slot()
				.AutoHeight()
				.Padding(0, 2, 0, 10)
				[
					SAssignNew(Hint, STextBlock)
					.AutoWrapText(true)
					.ColorAndOpacity(FSlateColor::UseSubduedForeground())
					.Text(LOCTEXT("Sub", "Rig and animate a character from a sentence, and bring the clip into the level."))
				]
				+ SVerticalBox::Slot()
				.AutoHeight()
				.Padding(0, 4)
				[
					SNew(SEditableTextBox).IsPassword(true).HintText(LOCTEXT("KeyBox", "API key (tv_...)")).Text(FText::FromString(TEXT("tv_secret")))
				]
				+ SVerticalBox::Slot()
				.AutoHeight()
				[
					SNew(SHorizontalBox)
					+ SHorizontalBox::Slot()
					.AutoWidth()
					.Padding(0, 0, 6, 0)
					[
						SAssignNew(Connect, SButton).Text(LOCTEXT("Connect", "Connect")).IsEnabled(false)
					]
					+ SHorizontalBox::Slot()
					.FillWidth(1)
					.VAlign(VAlign_Center)
					[
						SAssignNew(Account, STextBlock).Text(LOCTEXT("Account", "someone@example.com, 12 credits"))
					]
				]
				+ SVerticalBox::Slot()
				.AutoHeight()
				.Padding(0, 6)
				[
					SAssignNew(MotionBox, SBox).MinDesiredHeight(48)[SNew(SProgressBar).Percent(0.4f)]
				]
				+ SVerticalBox::Slot()
				.AutoHeight()
				[
					SNew(SButton)
					.ButtonStyle(&FAppStyle::Get().GetWidgetStyle<FButtonStyle>("PrimaryButton"))
					.Text(LOCTEXT("Make", "Make the animation"))
				]
				+ SVerticalBox::Slot()
				.AutoHeight()
				.Padding(0, 10, 0, 0)
				[
					SAssignNew(ErrorLine, STextBlock)
					.AutoWrapText(true)
					.ColorAndOpacity(FLinearColor(0.95f, 0.35f, 0.3f, 1.0f))
					.Visibility_Lambda([this]() { return Error.IsEmpty() ? EVisibility::Collapsed : EVisibility::Visible; })
					.Text_Lambda([this]() { return FText::FromString(Error); })
				]
			];
	}
};

FVector2D Lay(const TSharedRef<SWidget>& Root, float Width)
{
	HostSlate::PaintPass(Root);
	return HostSlate::LayoutPass(Root, Width);
}
} // namespace

TEST(SlateLayout, PaddingAutoAndFillSlotsPlaceWidgets)
{
	FColumn Panel;
	TSharedRef<SWidget> Root = Panel.Build();
	Lay(Root, 320.0f);

	// The scroll box slot's padding of 12 on each side frames the column.
	const FGeometry& Column = Panel.Column->HostGetGeometry();
	EXPECT_EQ(Column.AbsolutePosition, FVector2D(12.0, 12.0));
	EXPECT_EQ(Column.Size.X, 296.0);

	// In the row, the auto-width button is as wide as it wants; the fill slot takes the rest after its padding.
	const FGeometry& Button = Panel.Connect->HostGetGeometry();
	const FGeometry& Account = Panel.Account->HostGetGeometry();
	EXPECT_EQ(Button.AbsolutePosition.X, 12.0);
	EXPECT_NEAR(Account.AbsolutePosition.X, Button.AbsolutePosition.X + Button.Size.X + 6.0, 0.01);
	EXPECT_NEAR(Account.AbsolutePosition.X + Account.Size.X, 12.0 + 296.0, 0.01);

	// A minimum desired height holds for a shorter content.
	EXPECT_EQ(Panel.MotionBox->HostGetGeometry().Size.Y, 48.0);
}

TEST(SlateLayout, CollapsedWidgetsTakeNoRoomAndTextWraps)
{
	FColumn Panel;
	TSharedRef<SWidget> Root = Panel.Build();

	const double Without = Lay(Root, 320.0f).Y;
	Panel.Error = TEXT("The service refused the key.");
	const double With = Lay(Root, 320.0f).Y;
	EXPECT_GT(With, Without + 10.0);
	EXPECT_GT(Panel.ErrorLine->HostGetGeometry().Size.Y, 0.0);

	// Narrower, the wrapping hint takes more lines; its width never passes the column's.
	Lay(Root, 600.0f);
	const double WideHeight = Panel.Hint->HostGetGeometry().Size.Y;
	Lay(Root, 200.0f);
	EXPECT_GT(Panel.Hint->HostGetGeometry().Size.Y, WideHeight);
	EXPECT_LE(Panel.Hint->HostGetGeometry().Size.X, 176.0);
}

TEST(SlateLayout, WrapBoxBreaksLines)
{
	TSharedRef<SWrapBox> Wrap = SNew(SWrapBox).UseAllottedSize(true).InnerSlotPadding(FVector2D(4.0, 4.0));
	TArray<TSharedRef<SBox>> Items;
	for (int32 Index = 0; Index < 5; ++Index)
	{
		TSharedRef<SBox> Item = SNew(SBox).WidthOverride(50.0f).HeightOverride(20.0f);
		Wrap->AddSlot()[Item];
		Items.Add(Item);
	}
	// 50 + 4 + 50 + 4 + 50 = 158 fits in 170; the fourth item starts a second line.
	const FVector2D Size = Lay(Wrap, 170.0f);
	EXPECT_EQ(Items[2]->HostGetGeometry().AbsolutePosition, FVector2D(108.0, 0.0));
	EXPECT_EQ(Items[3]->HostGetGeometry().AbsolutePosition, FVector2D(0.0, 24.0));
	EXPECT_EQ(Size.Y, 44.0);
}

TEST(SlatePictures, PanelIsDrawnIntoAPng)
{
	if (!HostSlate::CanMakePictures())
	{
		GTEST_SKIP() << "built without Cairo and Pango";
	}
	FColumn Panel;
	Panel.Error = TEXT("The service refused the key.");
	TSharedRef<SWidget> Root = Panel.Build();
	const FString Path = FPaths::Combine(FPaths::ConvertRelativePathToFull(FPaths::ProjectSavedDir()), TEXT("HostPictures"), TEXT("Column.png"));
	IFileManager::Get().MakeDirectory(*FPaths::GetPath(Path), true);
	FString Error;
	ASSERT_TRUE(HostSlate::SavePicture(Root, Path, 360.0f, 0.0f, &Error)) << TCHAR_TO_UTF8(*Error);

	TArray<uint8> Bytes;
	ASSERT_TRUE(FFileHelper::LoadFileToArray(Bytes, *Path));
	ASSERT_GT(Bytes.Num(), 24);
	EXPECT_EQ(Bytes[1], 'P');
	EXPECT_EQ(Bytes[2], 'N');
	EXPECT_EQ(Bytes[3], 'G');
	// The IHDR chunk holds the width, big-endian.
	const uint32 Width = (uint32(Bytes[16]) << 24) | (uint32(Bytes[17]) << 16) | (uint32(Bytes[18]) << 8) | uint32(Bytes[19]);
	EXPECT_EQ(Width, 360u);

	// With the system's fonts, text still wraps inside the column.
	EXPECT_LE(Panel.Hint->HostGetGeometry().Size.X, 336.0);
	IFileManager::Get().Delete(*Path);
}

#undef LOCTEXT_NAMESPACE
