// Stands in for the engine's Widgets/Input/SHyperlink.h: an underlined text that can be clicked.
#pragma once

#include "CoreMinimal.h"
#include "Styling/CoreStyle.h"
#include "Styling/SlateTypes.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Input/SButton.h"

class SHyperlink : public SButton
{
public:
	SLATE_BEGIN_ARGS(SHyperlink)
		: _Text()
		, _Style(&FCoreStyle::Get().GetWidgetStyle<FHyperlinkStyle>("Hyperlink"))
		, _TextStyle(nullptr)
		, _UnderlineStyle(nullptr)
		, _Padding()
	{
	}
	SLATE_ATTRIBUTE(FText, Text)
	SLATE_STYLE_ARGUMENT(FHyperlinkStyle, Style)
	SLATE_STYLE_ARGUMENT(FTextBlockStyle, TextStyle)
	SLATE_STYLE_ARGUMENT(FButtonStyle, UnderlineStyle)
	SLATE_ATTRIBUTE(FMargin, Padding)
	SLATE_EVENT(FSimpleDelegate, OnNavigate)
	SLATE_ATTRIBUTE(FText, HighlightText)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

private:
	FReply OnLinkClicked();

	FSimpleDelegate OnNavigate;
};
