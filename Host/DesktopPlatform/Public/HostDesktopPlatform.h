// Stand-in only (no engine counterpart): the desktop's dialogs are answered from a queue that tests fill, and every
// dialog shown is recorded. A dialog shown while the queue is empty is cancelled.
#pragma once

#include "CoreMinimal.h"

namespace HostDesktopPlatform
{
enum class EDialogKind : uint8
{
	OpenFile,
	SaveFile,
	OpenDirectory,
};

/** One dialog as it was shown. */
struct FDialogCall
{
	EDialogKind Kind = EDialogKind::OpenFile;
	const void* ParentWindowHandle = nullptr;
	FString Title;
	FString DefaultPath;
	FString DefaultFile;
	FString FileTypes;
	uint32 Flags = 0;
};

/** The next dialog is answered with these files (for a folder dialog: the first one). */
void QueueAnswer(const TArray<FString>& Filenames);
void QueueAnswer(const FString& Filename);
/** The next dialog is cancelled. */
void QueueCancel();
int32 NumQueuedAnswers();

/** Every dialog shown since the last Reset, oldest first. */
TArray<FDialogCall> GetDialogCalls();
/** Empties the queue and the record. */
void Reset();
} // namespace HostDesktopPlatform
