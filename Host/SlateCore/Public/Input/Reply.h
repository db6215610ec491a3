// Stands in for the engine's Input/Reply.h: a handler's answer, whether it handled the event.
#pragma once

#include "CoreTypes.h"
#include "Templates/SharedPointer.h"

class SWidget;

class FReply
{
public:
	/** The event was handled; it goes no further. */
	static FReply Handled() { return FReply(true); }
	/** The event was not handled; it bubbles on. */
	static FReply Unhandled() { return FReply(false); }

	bool IsEventHandled() const { return bIsHandled; }

	// Focus and mouse requests have no effect in the headless UI; they are accepted so that handlers compile.
	FReply& SetUserFocus(TSharedRef<SWidget> /*GiveMeFocus*/, uint32 /*FocusCause*/ = 0, bool /*bInAllUsers*/ = false)
	{
		return *this;
	}
	FReply& ClearUserFocus(bool /*bInAllUsers*/ = false) { return *this; }
	FReply& CaptureMouse(TSharedRef<SWidget> /*InMouseCaptor*/) { return *this; }
	FReply& ReleaseMouseCapture() { return *this; }
	FReply& PreventThrottling() { return *this; }

private:
	explicit FReply(bool bInIsHandled)
		: bIsHandled(bInIsHandled)
	{
	}
	bool bIsHandled;
};
