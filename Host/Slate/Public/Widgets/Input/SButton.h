// Stands in for the engine's Widgets/Input/SButton.h: a clickable border around content or a text.
#pragma once

#include "CoreMinimal.h"
#include "Framework/SlateDelegates.h"
#include "Styling/CoreStyle.h"
#include "Styling/SlateTypes.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Layout/SBorder.h"

class SButton : public SBorder
{
public:
	SLATE_BEGIN_ARGS(SButton)
		: _Content()
		, _ButtonStyle(&FCoreStyle::Get().GetWidgetStyle<FButtonStyle>("Button"))
		, _TextStyle(&FCoreStyle::Get().GetWidgetStyle<FTextBlockStyle>("NormalText"))
		, _HAlign(HAlign_Fill)
		, _VAlign(VAlign_Fill)
		, _ClickMethod(EButtonClickMethod::DownAndUp)
		, _TouchMethod(EButtonTouchMethod::DownAndUp)
		, _PressMethod(EButtonPressMethod::DownAndUp)
		, _IsFocusable(true)
	{
	}
	SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_STYLE_ARGUMENT(FButtonStyle, ButtonStyle)
	SLATE_STYLE_ARGUMENT(FTextBlockStyle, TextStyle)
	SLATE_ARGUMENT(EHorizontalAlignment, HAlign)
	SLATE_ARGUMENT(EVerticalAlignment, VAlign)
	SLATE_ATTRIBUTE(FMargin, ContentPadding)
	SLATE_ATTRIBUTE(FText, Text)
	SLATE_EVENT(FOnClicked, OnClicked)
	SLATE_EVENT(FSimpleDelegate, OnPressed)
	SLATE_EVENT(FSimpleDelegate, OnReleased)
	SLATE_EVENT(FSimpleDelegate, OnHovered)
	SLATE_EVENT(FSimpleDelegate, OnUnhovered)
	SLATE_ARGUMENT(EButtonClickMethod, ClickMethod)
	SLATE_ARGUMENT(EButtonTouchMethod, TouchMethod)
	SLATE_ARGUMENT(EButtonPressMethod, PressMethod)
	SLATE_ATTRIBUTE(FVector2D, DesiredSizeScale)
	SLATE_ATTRIBUTE(FVector2D, ContentScale)
	SLATE_ATTRIBUTE(FSlateColor, ButtonColorAndOpacity)
	SLATE_ATTRIBUTE(FSlateColor, ForegroundColor)
	SLATE_ARGUMENT(bool, IsFocusable)
	SLATE_END_ARGS()

	SButton();
	void Construct(const FArguments& InArgs);

	void SetOnClicked(FOnClicked InOnClicked) { OnClicked = InOnClicked; }
	void SetButtonStyle(const FButtonStyle* InButtonStyle) { ButtonStyle = InButtonStyle ? InButtonStyle : ButtonStyle; }
	void SetContentPadding(TAttribute<FMargin> InContentPadding) { SetPadding(InContentPadding); }
	bool IsPressed() const { return false; }
	virtual bool IsInteractable() const override { return IsEnabled(); }
	virtual bool SupportsKeyboardFocus() const override { return bIsFocusable; }
	/** Runs the click handler as a click would, without looking at visibility or enabled state (as the engine's
	 *  test hook does); the test driver checks those first. */
	FReply SimulateClick();

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** The style in use ("Button" unless given). */
	const FButtonStyle* HostGetButtonStyle() const { return ButtonStyle; }
	bool HostHasClickHandler() const { return OnClicked.IsBound(); }
#endif

protected:
	FOnClicked OnClicked;
	FSimpleDelegate OnPressed;
	FSimpleDelegate OnReleased;
	const FButtonStyle* ButtonStyle = nullptr;
	bool bIsFocusable = true;
};
