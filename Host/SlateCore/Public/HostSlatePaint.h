// Stand-in only (no engine counterpart): the headless paint pass. Each editor frame the engine's pre-pass walks a
// window's widgets top-down; for each widget it reads Visibility first and, unless the widget is collapsed, every
// other bound attribute, then recurses. Collapsed subtrees are skipped, so their getters do not run. This pass does
// the same and caches what it read; the test driver and picture output read those caches.
#pragma once

#include "CoreMinimal.h"
#include "Widgets/SWidget.h"

namespace HostSlate
{
/** Evaluates Root's tree as one frame's paint would; DeltaTime reaches the widgets' Tick. */
void PaintPass(const TSharedRef<SWidget>& Root, float DeltaTime = 0.0f);

/** Adds a top-level widget (a window, an open tab) that the application paints each frame and owns until removed. */
void AddRoot(const TSharedRef<SWidget>& Root);
/** Stops painting and owning a top-level widget; false when it was not one. */
bool RemoveRoot(const SWidget& Root);
/** The top-level widgets, oldest first. */
TArray<TSharedRef<SWidget>> GetRoots();
/** Paints every top-level widget once. */
void PaintRoots(float DeltaTime = 0.0f);

/** The number of paint passes run so far in this process. */
uint64 GetPaintPassCount();

/** Whether Widget is shown: it and every ancestor up to (and including) Root were found visible (not collapsed and
 *  not hidden) by the last paint pass. A widget not under Root is not shown. */
bool IsShownUnder(const SWidget& Widget, const SWidget& Root);

/** Whether Widget could take a click: shown, hit-testable itself, and no ancestor up to Root hides its children
 *  from clicks (HitTestInvisible). */
bool IsHitTestableUnder(const SWidget& Widget, const SWidget& Root);

/** Whether Widget and every ancestor up to Root were enabled at the last paint pass that read them. */
bool IsEnabledUnder(const SWidget& Widget, const SWidget& Root);
} // namespace HostSlate
