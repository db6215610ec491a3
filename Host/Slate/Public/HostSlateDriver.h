// Stand-in only (no engine counterpart): drives a widget tree as a person at the editor would. It finds widgets by
// the localization key of the text they show, by tag or by type; reads what the last paint pass found (texts,
// visibility and enabled state, both including ancestors); and acts only where a person could: a click reaches a
// button only when it is shown, hit-testable and enabled, typing only an enabled, shown, writable text box, a pick
// only an option the combo's list shows.
//
// By default every read and every action first runs a paint pass over the root, so the driver always sees the
// current frame, as a person does; SetPaintBeforeEachStep(false) leaves painting to the caller (e.g. to check that
// a collapsed widget's getters are not called).
#pragma once

#include "CoreMinimal.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Input/SComboBox.h"
#include "Widgets/SWidget.h"

class SHostEditableTextBox;

class FHostSlateDriver
{
public:
	/** Drives the tree under Root (a panel, a tab, a window). */
	explicit FHostSlateDriver(const TSharedRef<SWidget>& InRoot);

	const TSharedRef<SWidget>& GetRoot() const { return Root; }
	/** Runs one paint pass over the root. */
	void Paint(float DeltaTime = 0.0f) const;
	/** Whether reads and actions paint first (default true). */
	void SetPaintBeforeEachStep(bool bInPaintBeforeEachStep) { bPaintBeforeEachStep = bInPaintBeforeEachStep; }

	// --- Finding: the whole tree under the root, collapsed parts included, depth first. ---

	/** The first widget whose own text or hint text has this localization key (LOCTEXT's key). */
	TSharedPtr<SWidget> FindByKey(const FString& TextKey) const;
	TArray<TSharedRef<SWidget>> FindAllByKey(const FString& TextKey) const;
	/** The first widget whose own text or hint text reads exactly this. */
	TSharedPtr<SWidget> FindByText(const FString& DisplayText) const;
	/** The first widget with this tag (.Tag() or FTagMetaData). */
	TSharedPtr<SWidget> FindByTag(FName Tag) const;
	/** The button (or hyperlink) whose face shows a text with this key. */
	TSharedPtr<SButton> FindButton(const FString& TextKey) const;
	/** The button (or hyperlink) whose face shows exactly this text. */
	TSharedPtr<SButton> FindButtonByText(const FString& DisplayText) const;
	/** The text box whose text or hint text has this key. */
	TSharedPtr<SHostEditableTextBox> FindTextBox(const FString& TextKey) const;

	template <class WidgetType>
	TArray<TSharedRef<WidgetType>> FindAll() const
	{
		TArray<TSharedRef<WidgetType>> Found;
		ForEachWidget(
			[&Found](SWidget& Widget)
			{
				if (dynamic_cast<WidgetType*>(&Widget) != nullptr)
				{
					Found.Add(StaticCastSharedRef<WidgetType>(Widget.AsShared()));
				}
				return true;
			});
		return Found;
	}
	template <class WidgetType>
	TSharedPtr<WidgetType> FindFirst() const
	{
		TArray<TSharedRef<WidgetType>> Found = FindAll<WidgetType>();
		return Found.Num() > 0 ? TSharedPtr<WidgetType>(Found[0]) : TSharedPtr<WidgetType>();
	}
	/** All widgets of this type under Within (not the root's whole tree). */
	template <class WidgetType>
	static TArray<TSharedRef<WidgetType>> FindAllUnder(const TSharedRef<SWidget>& Within)
	{
		return FHostSlateDriver(Within).FindAll<WidgetType>();
	}

	// --- Reading. ---

	/** What the widget shows: a text block's text, a text box's contents, a button's face text, a combo's face
	 *  text; the first text found inside for other widgets. Empty when there is none. */
	FText GetText(const TSharedPtr<SWidget>& Widget) const;
	FString GetString(const TSharedPtr<SWidget>& Widget) const { return GetText(Widget).ToString(); }
	/** Shown: the widget and every ancestor up to the root are neither collapsed nor hidden. */
	bool IsVisible(const TSharedPtr<SWidget>& Widget) const;
	/** The widget and every ancestor up to the root are enabled. */
	bool IsEnabled(const TSharedPtr<SWidget>& Widget) const;
	/** Shown, hit-testable and enabled: a person could click it. */
	bool CanInteract(const TSharedPtr<SWidget>& Widget) const;
	/** The texts of the rows a combo's drop-down list shows, made by its row generator. */
	TArray<FString> GetOptionStrings(const TSharedPtr<SWidget>& Combo) const;
	/** The row text of the combo's selection; empty when nothing (or nothing shown) is selected. */
	FString GetSelectedOptionString(const TSharedPtr<SWidget>& Combo) const;
	/** The tree as indented lines (type, tag, text, visibility, enabled), for failure messages. */
	FString Describe() const;

	// --- Acting; each returns false and does nothing when a person could not do it. ---

	/** Clicks the button or hyperlink (or the one a given text block sits in). */
	bool Click(const TSharedPtr<SWidget>& Widget) const;
	bool ClickByKey(const FString& TextKey) const { return Click(FindButton(TextKey)); }
	/** Replaces the text box's whole text, as selecting all and typing; OnTextChanged fires once with the new text,
	 *  then OnTextCommitted (OnEnter) when bCommit. */
	bool Type(const TSharedPtr<SWidget>& TextBox, const FString& Text, bool bCommit = false) const;
	/** Picks the item from the combo's drop-down list (OnMouseClick). */
	template <typename OptionType>
	bool Pick(const TSharedPtr<SComboBox<OptionType>>& Combo, const OptionType& Item) const
	{
		if (!Combo.IsValid() || !CanInteract(Combo))
		{
			return false;
		}
		return Combo->HostUserPicks(Item, ESelectInfo::OnMouseClick);
	}
	/** Picks the row of the combo's list whose text reads exactly RowText. */
	bool PickByText(const TSharedPtr<SWidget>& Combo, const FString& RowText) const;

	/** Calls Visit on every widget under the root, depth first, until it answers false. */
	void ForEachWidget(const TFunction<bool(SWidget&)>& Visit) const;

private:
	void PaintIfWanted() const;
	static IHostComboBox* AsCombo(SWidget* Widget);
	static TSharedPtr<SButton> ButtonAround(const TSharedPtr<SWidget>& Widget);
	static FText FirstTextIn(SWidget& Widget);

	TSharedRef<SWidget> Root;
	bool bPaintBeforeEachStep = true;
};
