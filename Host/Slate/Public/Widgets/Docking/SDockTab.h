// Stands in for the engine's Widgets/Docking/SDockTab.h: a tab in the editor's docking area holding one widget.
// Closing a tab releases its content (so a panel in it dies with it).
#pragma once

#include "CoreMinimal.h"
#include "Framework/Docking/TabManager.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Layout/SBorder.h"

/** The role of a tab; unscoped, as in the engine. */
enum ETabRole : uint8
{
	MajorTab,
	PanelTab,
	NomadTab,
	DocumentTab,
	NumRoles
};

enum class ETabActivationCause : uint8
{
	UserClickedOnTab,
	SetDirectly,
};

class SDockTab : public SBorder
{
public:
	DECLARE_DELEGATE_OneParam(FOnTabClosedCallback, TSharedRef<SDockTab>);
	DECLARE_DELEGATE_TwoParams(FOnTabActivatedCallback, TSharedRef<SDockTab>, ETabActivationCause);
	DECLARE_DELEGATE_RetVal(bool, FCanCloseTab);
	DECLARE_DELEGATE_OneParam(FOnPersistVisualState, TSharedRef<SDockTab>);

	SLATE_BEGIN_ARGS(SDockTab)
		: _Content()
		, _ContentPadding(FMargin(0.0f))
		, _TabRole(ETabRole::PanelTab)
		, _Label()
		, _ShouldAutosize(false)
		, _TabColorScale(FLinearColor::Transparent)
		, _ForegroundColor(FSlateColor::UseStyle())
	{
	}
	SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_NAMED_SLOT(FArguments, TabWellContentLeft)
	SLATE_NAMED_SLOT(FArguments, TabWellContentRight)
	SLATE_ATTRIBUTE(FMargin, ContentPadding)
	SLATE_ARGUMENT(ETabRole, TabRole)
	SLATE_ATTRIBUTE(FText, Label)
	SLATE_EVENT(FOnTabClosedCallback, OnTabClosed)
	SLATE_EVENT(FOnTabActivatedCallback, OnTabActivated)
	SLATE_ARGUMENT(bool, ShouldAutosize)
	SLATE_EVENT(FCanCloseTab, OnCanCloseTab)
	SLATE_EVENT(FOnPersistVisualState, OnPersistVisualState)
	SLATE_ATTRIBUTE(FLinearColor, TabColorScale)
	SLATE_ATTRIBUTE(FSlateColor, ForegroundColor)
	SLATE_END_ARGS()

	SDockTab();
	void Construct(const FArguments& InArgs);

	void SetContent(TSharedRef<SWidget> InContent);
	TSharedRef<SWidget> GetContent() { return GetChildren()->GetChildAt(0); }
	ETabRole GetTabRole() const { return TabRole; }
	ETabRole GetVisualTabRole() const { return TabRole; }
	FText GetTabLabel() const { return LabelAttribute.Get(); }
	void SetLabel(const TAttribute<FText>& InTabLabel) { LabelAttribute.Assign(InTabLabel); }
	/** The tab's id in its tab manager (set when spawned). */
	FTabId GetLayoutIdentifier() const { return LayoutIdentifier; }
	/** Whether the tab is the one shown in its well. */
	bool IsForeground() const;
	bool IsActive() const { return IsForeground(); }
	void ActivateInParent(ETabActivationCause InActivationCause);
	void DrawAttention() {}
	void FlashTab() {}
	void SetOnTabClosed(const FOnTabClosedCallback& InDelegate) { OnTabClosed = InDelegate; }
	void SetCanCloseTab(const FCanCloseTab& InOnTabClosing) { OnCanCloseTab = InOnTabClosing; }
	void SetTabIcon(const TAttribute<const FSlateBrush*> InTabIcon) { (void)InTabIcon; }

	/** Closes the tab unless OnCanCloseTab refuses; OnTabClosed fires and the content is released. */
	bool RequestCloseTab();

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override
	{
		SBorder::HostUpdateAttributes();
		LabelAttribute.Update();
	}
	/** Whether the tab is open in the docking area. */
	bool HostIsOpen() const { return bIsOpen; }
	void HostSetLayoutIdentifier(const FTabId& InId) { LayoutIdentifier = InId; }
	void HostSetOpen(bool bInIsOpen) { bIsOpen = bInIsOpen; }
#endif

private:
	ETabRole TabRole = ETabRole::PanelTab;
	HostSlate::TCachedAttribute<FText> LabelAttribute;
	FOnTabClosedCallback OnTabClosed;
	FOnTabActivatedCallback OnTabActivated;
	FCanCloseTab OnCanCloseTab;
	FTabId LayoutIdentifier;
	bool bIsOpen = false;
};
