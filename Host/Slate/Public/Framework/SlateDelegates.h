// Stands in for the engine's Framework/SlateDelegates.h: the delegate types of the common widgets' events.
#pragma once

#include "CoreMinimal.h"
#include "Input/Reply.h"
#include "Styling/SlateTypes.h"
#include "Types/SlateEnums.h"

class SWidget;

/** A button was clicked. */
DECLARE_DELEGATE_RetVal(FReply, FOnClicked)
/** The user changed a text; called with the whole new text. */
DECLARE_DELEGATE_OneParam(FOnTextChanged, const FText&)
/** The user finished editing a text, and how. */
DECLARE_DELEGATE_TwoParams(FOnTextCommitted, const FText&, ETextCommit::Type)
/** Asked before a text edit is kept; false with a message rejects it. */
DECLARE_DELEGATE_RetVal_TwoParams(bool, FOnVerifyTextChanged, const FText&, FText&)
DECLARE_DELEGATE_OneParam(FOnFloatValueChanged, float)
DECLARE_DELEGATE_OneParam(FOnInt32ValueChanged, int32)
DECLARE_DELEGATE_OneParam(FOnBooleanValueChanged, bool)
DECLARE_DELEGATE_OneParam(FOnCheckStateChanged, ECheckBoxState)
DECLARE_DELEGATE_OneParam(FOnUserScrolled, float)
DECLARE_DELEGATE_RetVal(TSharedRef<SWidget>, FOnGetContent)
DECLARE_DELEGATE(FOnComboBoxOpening)
DECLARE_DELEGATE_OneParam(FOnIsOpenChanged, bool)

/** Delegates whose argument is a list item, taken by value. */
template <typename ArgumentType>
class TSlateDelegates
{
public:
	/** Makes the row widget for an item. */
	typedef TDelegate<TSharedRef<SWidget>(ArgumentType)> FOnGenerateWidget;
	/** The selection changed to the item, and how. */
	typedef TDelegate<void(ArgumentType, ESelectInfo::Type)> FOnSelectionChanged;
	typedef TDelegate<void(ArgumentType)> FOnMouseButtonClick;
};
