// Stands in for the engine's Widgets/Input/SEditableTextBox.h: a one-line text box, optionally masked as a password.
#pragma once

#include "CoreMinimal.h"
#include "Styling/CoreStyle.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Input/SHostEditableTextBox.h"

class SEditableTextBox : public SHostEditableTextBox
{
public:
	SLATE_BEGIN_ARGS(SEditableTextBox)
		: _Style(&FCoreStyle::Get().GetWidgetStyle<FEditableTextBoxStyle>("NormalEditableTextBox"))
		, _Text()
		, _HintText()
		, _IsReadOnly(false)
		, _IsPassword(false)
		, _IsCaretMovedWhenGainFocus(true)
		, _SelectAllTextWhenFocused(false)
		, _RevertTextOnEscape(false)
		, _ClearKeyboardFocusOnCommit(true)
		, _Justification(ETextJustify::Left)
		, _MinDesiredWidth(0.0f)
	{
	}
	SLATE_STYLE_ARGUMENT(FEditableTextBoxStyle, Style)
	SLATE_ATTRIBUTE(FText, Text)
	SLATE_ATTRIBUTE(FText, HintText)
	SLATE_ATTRIBUTE(FText, SearchText)
	SLATE_ATTRIBUTE(FSlateFontInfo, Font)
	SLATE_ATTRIBUTE(FSlateColor, ForegroundColor)
	SLATE_ATTRIBUTE(FSlateColor, ReadOnlyForegroundColor)
	SLATE_ATTRIBUTE(bool, IsReadOnly)
	SLATE_ATTRIBUTE(bool, IsPassword)
	SLATE_ATTRIBUTE(bool, IsCaretMovedWhenGainFocus)
	SLATE_ATTRIBUTE(bool, SelectAllTextWhenFocused)
	SLATE_ATTRIBUTE(bool, RevertTextOnEscape)
	SLATE_ATTRIBUTE(bool, ClearKeyboardFocusOnCommit)
	SLATE_ATTRIBUTE(bool, SelectAllTextOnCommit)
	SLATE_ATTRIBUTE(FMargin, Padding)
	SLATE_ATTRIBUTE(ETextJustify::Type, Justification)
	SLATE_ATTRIBUTE(float, MinDesiredWidth)
	SLATE_EVENT(FOnTextChanged, OnTextChanged)
	SLATE_EVENT(FOnTextCommitted, OnTextCommitted)
	SLATE_EVENT(FOnVerifyTextChanged, OnVerifyTextChanged)
	SLATE_END_ARGS()

	SEditableTextBox()
		: SHostEditableTextBox(false)
	{
	}
	void Construct(const FArguments& InArgs);
};
