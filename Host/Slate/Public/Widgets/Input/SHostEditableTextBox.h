// Stand-in only (no engine counterpart): what the single-line and multi-line text boxes share here. The box keeps
// the text the user sees; a bound Text is read again at each paint pass and, when its value differs from the value
// read last time, replaces the box's contents (as the engine's editable text does each tick). User edits fire
// OnTextChanged with the whole text; setting or rebinding the text never does.
#pragma once

#include "CoreMinimal.h"
#include "Framework/SlateDelegates.h"
#include "Styling/SlateTypes.h"
#include "Widgets/Layout/SBorder.h"

class SHostEditableTextBox : public SBorder
{
public:
	/** The box's current contents. */
	FText GetText() const { return EditedText; }
	/** Replaces the text (unbinding any getter) and the contents at once; no change event fires. */
	void SetText(const TAttribute<FText>& InNewText);
	void SetHintText(const TAttribute<FText>& InHintText) { HintTextAttribute.Assign(InHintText); }
	FText GetHintText() const { return HintTextAttribute.Get(); }
	void SetIsReadOnly(TAttribute<bool> InIsReadOnly) { IsReadOnlyAttribute.Assign(InIsReadOnly); }
	void SetIsPassword(TAttribute<bool> InIsPassword) { IsPasswordAttribute.Assign(InIsPassword); }
	void SetFont(const TAttribute<FSlateFontInfo>& InFont) { FontAttribute.Assign(InFont); }
	void SetError(const FText& InError) { ErrorText = InError; }
	void SetError(const FString& InError) { ErrorText = FText::FromString(InError); }
	bool HasError() const { return !ErrorText.IsEmpty(); }
	void SelectAllText() {}
	void ClearSelection() {}

	virtual bool SupportsKeyboardFocus() const override { return true; }
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override;
	virtual TOptional<FText> HostGetShownText() const override { return EditedText; }
	virtual TOptional<FText> HostGetHintText() const override { return HintTextAttribute.Get(); }
	/** The contents (or the hint when empty, or the mask of a password) in the box's font, plus padding. */
	virtual FVector2D HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context) override;
	/** What the box draws: the contents, masked for a password; empty when it shows its hint. */
	FString HostGetDrawnText() const;

	/** The user replaces the whole text (select all, then type or paste): OnTextChanged fires with it, and, when
	 *  CommitType is set, OnTextCommitted follows. Read-only boxes refuse; false then. */
	bool HostUserEdit(const FText& NewText, TOptional<ETextCommit::Type> CommitType = TOptional<ETextCommit::Type>());
	bool HostIsPassword() const { return IsPasswordAttribute.Get(); }
	bool HostIsReadOnly() const { return IsReadOnlyAttribute.Get(); }
	const FText& HostGetError() const { return ErrorText; }
	/** The font used: the Font argument when given, else the style's. */
	FSlateFontInfo HostGetFont() const;
	bool HostIsMultiLine() const { return bMultiLine; }
	bool HostGetAutoWrapText() const { return AutoWrapTextAttribute.Get(); }
#endif

protected:
	explicit SHostEditableTextBox(bool bInMultiLine);

	/** Takes the arguments both boxes have. */
	void ConstructText(const TAttribute<FText>& InText, const TAttribute<FText>& InHintText,
		const TAttribute<bool>& InIsReadOnly, const TAttribute<bool>& InIsPassword, const TAttribute<FSlateFontInfo>& InFont,
		const FOnTextChanged& InOnTextChanged, const FOnTextCommitted& InOnTextCommitted,
		const FOnVerifyTextChanged& InOnVerifyTextChanged, const FEditableTextBoxStyle* InStyle);
	/** Reads the bound text and takes it when it changed since the last read. */
	void SyncFromBinding();

	HostSlate::TCachedAttribute<FText> HintTextAttribute;
	HostSlate::TCachedAttribute<bool> IsReadOnlyAttribute{false};
	HostSlate::TCachedAttribute<bool> IsPasswordAttribute{false};
	HostSlate::TCachedAttribute<FSlateFontInfo> FontAttribute;
	HostSlate::TCachedAttribute<bool> AutoWrapTextAttribute{false};
	const FEditableTextBoxStyle* Style = nullptr;

private:
	TAttribute<FText> BoundText;
	FText EditedText;
	FString LastBoundString;
	bool bHasReadBinding = false;
	FText ErrorText;
	FOnTextChanged OnTextChanged;
	FOnTextCommitted OnTextCommitted;
	FOnVerifyTextChanged OnVerifyTextChanged;
	bool bMultiLine;
};
