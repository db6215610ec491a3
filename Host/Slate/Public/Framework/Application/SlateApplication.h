// Stands in for the engine's Framework/Application/SlateApplication.h: the UI application. The headless one has no
// desktop: it paints its windows and open tabs once per editor frame (a frame hook), and answers dialog-parent
// queries with no window. It is up from the start, as in the editor; Shutdown() ends it (as at editor exit) and
// Create() starts it again.
#pragma once

#include "CoreMinimal.h"
#include "Widgets/SWindow.h"

enum class ESlateParentWindowSearchMethod
{
	ActiveWindow,
	MainWindow,
};

enum class EFocusCause : uint8
{
	Mouse,
	Navigation,
	SetDirectly,
	Cleared,
	OtherWidgetLostFocus,
	WindowActivate,
};

class FSlateApplication
{
public:
	/** Whether the application exists (it does until Shutdown). */
	static bool IsInitialized();
	/** The application; a failed check when it does not exist. */
	static FSlateApplication& Get();
	/** Starts the application if it is not running. */
	static void Create();
	/** Ends the application: closes windows and tabs and stops painting. */
	static void Shutdown(bool bShutdownPlatform = true);

	/** A native window handle to parent a dialog to; the headless application has none, so null (a valid parent). */
	const void* FindBestParentWindowHandleForDialogs(const TSharedPtr<SWidget>& InWidget,
		const ESlateParentWindowSearchMethod InParentWindowSearchMethod = ESlateParentWindowSearchMethod::ActiveWindow);
	TSharedPtr<SWindow> FindBestParentWindowForDialogs(const TSharedPtr<SWidget>& InWidget,
		const ESlateParentWindowSearchMethod InParentWindowSearchMethod = ESlateParentWindowSearchMethod::ActiveWindow);
	TSharedPtr<SWindow> GetActiveTopLevelWindow() const;

	/** Opens a window: it is painted each frame until destroyed. */
	TSharedRef<SWindow> AddWindow(TSharedRef<SWindow> InSlateWindow, const bool bShowImmediately = true);
	void RequestDestroyWindow(TSharedRef<SWindow> WindowToDestroy);
	void DestroyWindowImmediately(TSharedRef<SWindow> WindowToDestroy);

	/** Paints every window and open tab once (what each editor frame does). */
	void Tick();
	double GetCurrentTime() const;
	float GetDeltaTime() const { return LastDeltaTime; }

	bool SetKeyboardFocus(const TSharedPtr<SWidget>& OptionalWidgetToFocus, EFocusCause ReasonFocusIsChanging = EFocusCause::SetDirectly);
	void ClearKeyboardFocus(const EFocusCause ReasonFocusIsChanging = EFocusCause::SetDirectly);
	TSharedPtr<SWidget> GetKeyboardFocusedWidget() const { return FocusedWidget.Pin(); }
	bool IsActive() const { return true; }
	void CloseToolTip() {}
	void DismissAllMenus() {}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: makes sure the frame hook that paints is registered; widgets that open call it. */
	static void HostEnsurePainting();
#endif

private:
	FSlateApplication();
	~FSlateApplication();
	void Frame(float DeltaSeconds);

	int32 PaintHookId = 0;
	float LastDeltaTime = 0.0f;
	TWeakPtr<SWidget> FocusedWidget;
};
