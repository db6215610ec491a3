// Stands in for the engine's IDesktopPlatform.h: the desktop's file and folder dialogs.
#pragma once

#include "CoreMinimal.h"

namespace EFileDialogFlags
{
enum Type
{
	None = 0x00,
	/** More than one file may be chosen. */
	Multiple = 0x01,
};
}

class IDesktopPlatform
{
public:
	virtual ~IDesktopPlatform() = default;

	/**
	 * Asks the user for files to open. FileTypes is "Description|*.a;*.b" pairs joined by '|'. False when the user
	 * cancels; the chosen files are appended to OutFilenames.
	 */
	virtual bool OpenFileDialog(const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath,
		const FString& DefaultFile, const FString& FileTypes, uint32 Flags, TArray<FString>& OutFilenames) = 0;
	/** As OpenFileDialog, also telling which filter the user chose. */
	virtual bool OpenFileDialog(const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath,
		const FString& DefaultFile, const FString& FileTypes, uint32 Flags, TArray<FString>& OutFilenames,
		int32& OutFilterIndex) = 0;
	virtual bool SaveFileDialog(const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath,
		const FString& DefaultFile, const FString& FileTypes, uint32 Flags, TArray<FString>& OutFilenames) = 0;
	virtual bool OpenDirectoryDialog(const void* ParentWindowHandle, const FString& DialogTitle,
		const FString& DefaultPath, FString& OutFolderName) = 0;
};
