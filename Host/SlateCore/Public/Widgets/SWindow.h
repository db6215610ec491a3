// Stands in for the engine's Widgets/SWindow.h: a top-level window with a title and content. The headless UI has no
// desktop: a window added to the application is painted each frame and can be driven by tests.
#pragma once

#include "CoreMinimal.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

class SWindow : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SWindow)
		: _Title()
		, _ClientSize(FVector2D(640.0, 480.0))
		, _SupportsMaximize(true)
		, _SupportsMinimize(true)
		, _IsTopmostWindow(false)
	{
	}
	SLATE_ATTRIBUTE(FText, Title)
	SLATE_ARGUMENT(FVector2D, ClientSize)
	SLATE_ARGUMENT(bool, SupportsMaximize)
	SLATE_ARGUMENT(bool, SupportsMinimize)
	SLATE_ARGUMENT(bool, IsTopmostWindow)
	SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs)
	{
		TitleAttribute.Assign(InArgs._Title);
		ClientSize = InArgs._ClientSize;
		ChildSlot[InArgs._Content.Widget];
	}

	void SetContent(TSharedRef<SWidget> InContent) { ChildSlot[InContent]; }
	TSharedRef<const SWidget> GetContent() const { return ChildSlot.GetWidget(); }
	FText GetTitle() const { return TitleAttribute.Get(); }
	void SetTitle(const FText& InTitle) { TitleAttribute.Assign(InTitle); }
	FVector2D GetClientSizeInScreen() const { return ClientSize; }
	void Resize(FVector2D NewClientSize) { ClientSize = NewClientSize; }
	/** Closing goes through the application, which stops painting the window. */
	void RequestDestroyWindow();

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override
	{
		SCompoundWidget::HostUpdateAttributes();
		TitleAttribute.Update();
	}
#endif

private:
	HostSlate::TCachedAttribute<FText> TitleAttribute;
	FVector2D ClientSize;
};
