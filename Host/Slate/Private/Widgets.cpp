// The common widgets' construction and attribute updates.
#include "Widgets/Input/SButton.h"
#include "Widgets/Input/SEditableTextBox.h"
#include "Widgets/Input/SHyperlink.h"
#include "Widgets/Input/SMultiLineEditableTextBox.h"
#include "Widgets/Layout/SBorder.h"
#include "Widgets/Layout/SBox.h"
#include "Widgets/Layout/SScrollBox.h"
#include "Widgets/Layout/SSeparator.h"
#include "Widgets/Layout/SWrapBox.h"
#include "Widgets/Text/STextBlock.h"

STextBlock::STextBlock() = default;

void STextBlock::Construct(const FArguments& InArgs)
{
	TextAttribute.Assign(InArgs._Text);
	TextStyle = InArgs._TextStyle ? InArgs._TextStyle : &FCoreStyle::Get().GetWidgetStyle<FTextBlockStyle>("NormalText");
	FontAttribute.Assign(InArgs._Font);
	ColorAndOpacityAttribute.Assign(InArgs._ColorAndOpacity);
	ShadowOffsetAttribute.Assign(InArgs._ShadowOffset);
	ShadowColorAndOpacityAttribute.Assign(InArgs._ShadowColorAndOpacity);
	HighlightTextAttribute.Assign(InArgs._HighlightText);
	WrapTextAtAttribute.Assign(InArgs._WrapTextAt);
	AutoWrapTextAttribute.Assign(InArgs._AutoWrapText);
	JustificationAttribute.Assign(InArgs._Justification);
	MarginAttribute.Assign(InArgs._Margin);
	LineHeightPercentageAttribute.Assign(InArgs._LineHeightPercentage);
	MinDesiredWidthAttribute.Assign(InArgs._MinDesiredWidth);
	OnDoubleClicked = InArgs._OnDoubleClicked;
}

void STextBlock::HostUpdateAttributes()
{
	TextAttribute.Update();
	FontAttribute.Update();
	ColorAndOpacityAttribute.Update();
	ShadowOffsetAttribute.Update();
	ShadowColorAndOpacityAttribute.Update();
	HighlightTextAttribute.Update();
	WrapTextAtAttribute.Update();
	AutoWrapTextAttribute.Update();
	JustificationAttribute.Update();
	MarginAttribute.Update();
	LineHeightPercentageAttribute.Update();
	MinDesiredWidthAttribute.Update();
}

FSlateFontInfo STextBlock::HostGetFont() const
{
	return FontAttribute.IsSet() ? FontAttribute.Get() : TextStyle->Font;
}

FSlateColor STextBlock::HostGetColorAndOpacity() const
{
	return ColorAndOpacityAttribute.IsSet() ? ColorAndOpacityAttribute.Get() : TextStyle->ColorAndOpacity;
}

SBorder::SBorder() = default;

void SBorder::Construct(const FArguments& InArgs)
{
	ChildSlot.HAlign(InArgs._HAlign).VAlign(InArgs._VAlign).Padding(InArgs._Padding)[InArgs._Content.Widget];
	SetColorAndOpacity(InArgs._ColorAndOpacity);
	SetForegroundColor(InArgs._ForegroundColor);
	BorderImageAttribute.Assign(InArgs._BorderImage);
	BorderBackgroundColorAttribute.Assign(InArgs._BorderBackgroundColor);
}

SButton::SButton() = default;

void SButton::Construct(const FArguments& InArgs)
{
	ButtonStyle = InArgs._ButtonStyle ? InArgs._ButtonStyle : &FCoreStyle::Get().GetWidgetStyle<FButtonStyle>("Button");
	OnClicked = InArgs._OnClicked;
	OnPressed = InArgs._OnPressed;
	OnReleased = InArgs._OnReleased;
	bIsFocusable = InArgs._IsFocusable;

	// Content given in [ ] is the face; otherwise a Text makes a text block for it.
	TSharedRef<SWidget> Content = InArgs._Content.Widget;
	if (Content == SNullWidget::NullWidget && InArgs._Text.IsSet())
	{
		Content = SNew(STextBlock).Visibility(EVisibility::HitTestInvisible).Text(InArgs._Text).TextStyle(InArgs._TextStyle);
	}

	SBorder::Construct(SBorder::FArguments()
						   .BorderImage(&ButtonStyle->Normal)
						   .Padding(InArgs._ContentPadding.IsSet() ? InArgs._ContentPadding
																   : TAttribute<FMargin>(ButtonStyle->NormalPadding))
						   .HAlign(InArgs._HAlign)
						   .VAlign(InArgs._VAlign)
						   .ForegroundColor(InArgs._ForegroundColor.IsSet() ? InArgs._ForegroundColor
																			: TAttribute<FSlateColor>(ButtonStyle->NormalForeground))
							   [Content]);
	if (InArgs._ButtonColorAndOpacity.IsSet())
	{
		SetBorderBackgroundColor(InArgs._ButtonColorAndOpacity);
	}
}

FReply SButton::SimulateClick()
{
	OnPressed.ExecuteIfBound();
	OnReleased.ExecuteIfBound();
	return OnClicked.IsBound() ? OnClicked.Execute() : FReply::Unhandled();
}

void SHyperlink::Construct(const FArguments& InArgs)
{
	OnNavigate = InArgs._OnNavigate;
	const FHyperlinkStyle* LinkStyle = InArgs._Style ? InArgs._Style : &FCoreStyle::Get().GetWidgetStyle<FHyperlinkStyle>("Hyperlink");
	const FTextBlockStyle* TextStyle = InArgs._TextStyle ? InArgs._TextStyle : &LinkStyle->TextStyle;
	const FButtonStyle* UnderlineStyle = InArgs._UnderlineStyle ? InArgs._UnderlineStyle : &LinkStyle->UnderlineStyle;
	SButton::Construct(SButton::FArguments()
						   .ContentPadding(InArgs._Padding.IsSet() ? InArgs._Padding : TAttribute<FMargin>(LinkStyle->Padding))
						   .ButtonStyle(UnderlineStyle)
						   .OnClicked(this, &SHyperlink::OnLinkClicked)
							   [SNew(STextBlock).Text(InArgs._Text).TextStyle(TextStyle).HighlightText(InArgs._HighlightText)]);
}

FReply SHyperlink::OnLinkClicked()
{
	OnNavigate.ExecuteIfBound();
	return FReply::Handled();
}

SHostEditableTextBox::SHostEditableTextBox(bool bInMultiLine)
	: bMultiLine(bInMultiLine)
{
}

void SHostEditableTextBox::ConstructText(const TAttribute<FText>& InText, const TAttribute<FText>& InHintText,
	const TAttribute<bool>& InIsReadOnly, const TAttribute<bool>& InIsPassword, const TAttribute<FSlateFontInfo>& InFont,
	const FOnTextChanged& InOnTextChanged, const FOnTextCommitted& InOnTextCommitted,
	const FOnVerifyTextChanged& InOnVerifyTextChanged, const FEditableTextBoxStyle* InStyle)
{
	Style = InStyle ? InStyle : &FCoreStyle::Get().GetWidgetStyle<FEditableTextBoxStyle>("NormalEditableTextBox");
	SBorder::Construct(SBorder::FArguments().BorderImage(&Style->BackgroundImageNormal).Padding(Style->Padding));
	HintTextAttribute.Assign(InHintText);
	IsReadOnlyAttribute.Assign(InIsReadOnly);
	IsPasswordAttribute.Assign(InIsPassword);
	FontAttribute.Assign(InFont);
	OnTextChanged = InOnTextChanged;
	OnTextCommitted = InOnTextCommitted;
	OnVerifyTextChanged = InOnVerifyTextChanged;
	BoundText = InText;
	if (!BoundText.IsBound())
	{
		SyncFromBinding();
	}
}

void SHostEditableTextBox::SetText(const TAttribute<FText>& InNewText)
{
	BoundText = InNewText;
	bHasReadBinding = false;
	SyncFromBinding();
}

void SHostEditableTextBox::SyncFromBinding()
{
	const FText Bound = BoundText.Get(FText::GetEmpty());
	const FString& BoundString = Bound.ToString();
	if (!bHasReadBinding || !BoundString.Equals(LastBoundString, ESearchCase::CaseSensitive))
	{
		EditedText = Bound;
		LastBoundString = BoundString;
		bHasReadBinding = true;
	}
}

void SHostEditableTextBox::HostUpdateAttributes()
{
	SBorder::HostUpdateAttributes();
	HintTextAttribute.Update();
	IsReadOnlyAttribute.Update();
	IsPasswordAttribute.Update();
	FontAttribute.Update();
	AutoWrapTextAttribute.Update();
	if (BoundText.IsBound())
	{
		SyncFromBinding();
	}
}

bool SHostEditableTextBox::HostUserEdit(const FText& NewText, TOptional<ETextCommit::Type> CommitType)
{
	if (IsReadOnlyAttribute.Get())
	{
		return false;
	}
	EditedText = NewText;
	if (OnVerifyTextChanged.IsBound())
	{
		FText Message;
		ErrorText = OnVerifyTextChanged.Execute(EditedText, Message) ? FText::GetEmpty() : Message;
	}
	OnTextChanged.ExecuteIfBound(EditedText);
	if (CommitType.IsSet())
	{
		OnTextCommitted.ExecuteIfBound(EditedText, CommitType.GetValue());
	}
	return true;
}

FSlateFontInfo SHostEditableTextBox::HostGetFont() const
{
	return FontAttribute.IsSet() ? FontAttribute.Get() : Style->TextStyle.Font;
}

void SEditableTextBox::Construct(const FArguments& InArgs)
{
	ConstructText(InArgs._Text, InArgs._HintText, InArgs._IsReadOnly, InArgs._IsPassword, InArgs._Font,
		InArgs._OnTextChanged, InArgs._OnTextCommitted, InArgs._OnVerifyTextChanged, InArgs._Style);
	if (InArgs._Padding.IsSet())
	{
		SetPadding(InArgs._Padding);
	}
}

void SMultiLineEditableTextBox::Construct(const FArguments& InArgs)
{
	ConstructText(InArgs._Text, InArgs._HintText, InArgs._IsReadOnly, TAttribute<bool>(false), InArgs._Font,
		InArgs._OnTextChanged, InArgs._OnTextCommitted, InArgs._OnVerifyTextChanged, InArgs._Style);
	AutoWrapTextAttribute.Assign(InArgs._AutoWrapText);
	if (InArgs._Padding.IsSet())
	{
		SetPadding(InArgs._Padding);
	}
}

SBox::SBox()
	: ChildSlot(this)
{
}

void SBox::Construct(const FArguments& InArgs)
{
	ChildSlot.HAlign(InArgs._HAlign).VAlign(InArgs._VAlign).Padding(InArgs._Padding)[InArgs._Content.Widget];
	WidthOverride.Assign(InArgs._WidthOverride);
	HeightOverride.Assign(InArgs._HeightOverride);
	MinDesiredWidth.Assign(InArgs._MinDesiredWidth);
	MinDesiredHeight.Assign(InArgs._MinDesiredHeight);
	MaxDesiredWidth.Assign(InArgs._MaxDesiredWidth);
	MaxDesiredHeight.Assign(InArgs._MaxDesiredHeight);
	MinAspectRatio.Assign(InArgs._MinAspectRatio);
	MaxAspectRatio.Assign(InArgs._MaxAspectRatio);
}

void SBox::HostUpdateAttributes()
{
	ChildSlot.HostUpdateAttributes();
	WidthOverride.Update();
	HeightOverride.Update();
	MinDesiredWidth.Update();
	MinDesiredHeight.Update();
	MaxDesiredWidth.Update();
	MaxDesiredHeight.Update();
	MinAspectRatio.Update();
	MaxAspectRatio.Update();
}

SScrollBox::SScrollBox()
	: Children(this)
{
}

void SScrollBox::Construct(const FArguments& InArgs)
{
	Orientation = InArgs._Orientation;
	OnUserScrolled = InArgs._OnUserScrolled;
	Children.AddSlots(MoveTemp(const_cast<TArray<FSlot::FSlotArguments>&>(InArgs._Slots)));
}

SWrapBox::SWrapBox()
	: Slots(this)
{
}

void SWrapBox::Construct(const FArguments& InArgs)
{
	PreferredSize.Assign(InArgs._PreferredSize);
	HAlignment = InArgs._HAlign;
	InnerSlotPadding = InArgs._InnerSlotPadding;
	bUseAllottedSize = InArgs._UseAllottedSize;
	Orientation = InArgs._Orientation;
	Slots.AddSlots(MoveTemp(const_cast<TArray<FSlot::FSlotArguments>&>(InArgs._Slots)));
}

void SSeparator::Construct(const FArguments& InArgs)
{
	Orientation = InArgs._Orientation;
	Thickness = InArgs._Thickness;
	SBorder::Construct(SBorder::FArguments()
						   .BorderImage(InArgs._SeparatorImage)
						   .BorderBackgroundColor(InArgs._ColorAndOpacity)
						   .Padding(0.0f));
}
