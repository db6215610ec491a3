// Stands in for the engine's Widgets/Input/SMultiLineEditableTextBox.h: a text box of several lines that can wrap.
#pragma once

#include "CoreMinimal.h"
#include "Styling/CoreStyle.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Input/SHostEditableTextBox.h"

class SMultiLineEditableTextBox : public SHostEditableTextBox
{
public:
	SLATE_BEGIN_ARGS(SMultiLineEditableTextBox)
		: _Style(&FCoreStyle::Get().GetWidgetStyle<FEditableTextBoxStyle>("NormalEditableTextBox"))
		, _Text()
		, _HintText()
		, _IsReadOnly(false)
		, _AutoWrapText(false)
		, _WrapTextAt(0.0f)
		, _Justification(ETextJustify::Left)
		, _AllowMultiLine(true)
		, _SelectAllTextWhenFocused(false)
	{
	}
	SLATE_STYLE_ARGUMENT(FEditableTextBoxStyle, Style)
	SLATE_ATTRIBUTE(FText, Text)
	SLATE_ATTRIBUTE(FText, HintText)
	SLATE_ATTRIBUTE(FText, SearchText)
	SLATE_ATTRIBUTE(FSlateFontInfo, Font)
	SLATE_ATTRIBUTE(FSlateColor, ForegroundColor)
	SLATE_ATTRIBUTE(bool, IsReadOnly)
	SLATE_ATTRIBUTE(bool, AutoWrapText)
	SLATE_ATTRIBUTE(float, WrapTextAt)
	SLATE_ATTRIBUTE(ETextJustify::Type, Justification)
	SLATE_ATTRIBUTE(FMargin, Margin)
	SLATE_ATTRIBUTE(FMargin, Padding)
	SLATE_ATTRIBUTE(bool, AllowMultiLine)
	SLATE_ATTRIBUTE(bool, SelectAllTextWhenFocused)
	SLATE_EVENT(FOnTextChanged, OnTextChanged)
	SLATE_EVENT(FOnTextCommitted, OnTextCommitted)
	SLATE_EVENT(FOnVerifyTextChanged, OnVerifyTextChanged)
	SLATE_END_ARGS()

	SMultiLineEditableTextBox()
		: SHostEditableTextBox(true)
	{
	}
	void Construct(const FArguments& InArgs);

	void SetAutoWrapText(const TAttribute<bool>& InAutoWrapText) { AutoWrapTextAttribute.Assign(InAutoWrapText); }
};
