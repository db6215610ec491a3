// The desktop platform: dialogs answered from a queue, each one recorded.
#include "DesktopPlatformModule.h"
#include "HostDesktopPlatform.h"

namespace
{
struct FDialogState
{
	TArray<TOptional<TArray<FString>>> Answers;
	TArray<HostDesktopPlatform::FDialogCall> Calls;
};

FDialogState& State()
{
	static FDialogState Instance;
	return Instance;
}

/** Records the dialog and takes the next answer; false (cancelled) when none is queued or it is a cancel. */
bool Answer(HostDesktopPlatform::FDialogCall&& Call, TArray<FString>& OutFilenames)
{
	FDialogState& Dialogs = State();
	Dialogs.Calls.Add(MoveTemp(Call));
	if (Dialogs.Answers.IsEmpty())
	{
		return false;
	}
	TOptional<TArray<FString>> Next = Dialogs.Answers[0];
	Dialogs.Answers.RemoveAt(0);
	if (!Next.IsSet())
	{
		return false;
	}
	OutFilenames.Append(Next.GetValue());
	return true;
}

class FHostDesktopPlatform : public IDesktopPlatform
{
public:
	virtual bool OpenFileDialog(const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath,
		const FString& DefaultFile, const FString& FileTypes, uint32 Flags, TArray<FString>& OutFilenames) override
	{
		int32 FilterIndex = 0;
		return OpenFileDialog(ParentWindowHandle, DialogTitle, DefaultPath, DefaultFile, FileTypes, Flags, OutFilenames, FilterIndex);
	}

	virtual bool OpenFileDialog(const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath,
		const FString& DefaultFile, const FString& FileTypes, uint32 Flags, TArray<FString>& OutFilenames,
		int32& OutFilterIndex) override
	{
		OutFilterIndex = 0;
		TArray<FString> Chosen;
		const bool bChosen = Answer(Make(HostDesktopPlatform::EDialogKind::OpenFile, ParentWindowHandle, DialogTitle,
										DefaultPath, DefaultFile, FileTypes, Flags),
			Chosen);
		// A single-selection dialog hands back one file, whatever the answer held.
		if (bChosen && (Flags & EFileDialogFlags::Multiple) == 0 && Chosen.Num() > 1)
		{
			Chosen.SetNum(1);
		}
		OutFilenames.Append(Chosen);
		return bChosen && Chosen.Num() > 0;
	}

	virtual bool SaveFileDialog(const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath,
		const FString& DefaultFile, const FString& FileTypes, uint32 Flags, TArray<FString>& OutFilenames) override
	{
		return Answer(Make(HostDesktopPlatform::EDialogKind::SaveFile, ParentWindowHandle, DialogTitle, DefaultPath,
						  DefaultFile, FileTypes, Flags),
			OutFilenames);
	}

	virtual bool OpenDirectoryDialog(
		const void* ParentWindowHandle, const FString& DialogTitle, const FString& DefaultPath, FString& OutFolderName) override
	{
		TArray<FString> Chosen;
		const bool bChosen = Answer(Make(HostDesktopPlatform::EDialogKind::OpenDirectory, ParentWindowHandle,
										DialogTitle, DefaultPath, FString(), FString(), 0),
			Chosen);
		if (bChosen && Chosen.Num() > 0)
		{
			OutFolderName = Chosen[0];
			return true;
		}
		return false;
	}

private:
	static HostDesktopPlatform::FDialogCall Make(HostDesktopPlatform::EDialogKind Kind, const void* ParentWindowHandle,
		const FString& Title, const FString& DefaultPath, const FString& DefaultFile, const FString& FileTypes, uint32 Flags)
	{
		HostDesktopPlatform::FDialogCall Call;
		Call.Kind = Kind;
		Call.ParentWindowHandle = ParentWindowHandle;
		Call.Title = Title;
		Call.DefaultPath = DefaultPath;
		Call.DefaultFile = DefaultFile;
		Call.FileTypes = FileTypes;
		Call.Flags = Flags;
		return Call;
	}
};
} // namespace

void FDesktopPlatformModule::StartupModule()
{
	DesktopPlatform = new FHostDesktopPlatform();
}

void FDesktopPlatformModule::ShutdownModule()
{
	delete DesktopPlatform;
	DesktopPlatform = nullptr;
}

IDesktopPlatform* FDesktopPlatformModule::Get()
{
	FDesktopPlatformModule& Module = FModuleManager::Get().LoadModuleChecked<FDesktopPlatformModule>("DesktopPlatform");
	return Module.GetSingleton();
}

IDesktopPlatform* FDesktopPlatformModule::TryGet()
{
	FDesktopPlatformModule* Module = FModuleManager::GetModulePtr<FDesktopPlatformModule>("DesktopPlatform");
	return Module ? Module->GetSingleton() : nullptr;
}

namespace HostDesktopPlatform
{
void QueueAnswer(const TArray<FString>& Filenames)
{
	State().Answers.Add(TOptional<TArray<FString>>(Filenames));
}

void QueueAnswer(const FString& Filename)
{
	QueueAnswer(TArray<FString>{Filename});
}

void QueueCancel()
{
	State().Answers.Add(TOptional<TArray<FString>>());
}

int32 NumQueuedAnswers()
{
	return State().Answers.Num();
}

TArray<FDialogCall> GetDialogCalls()
{
	return State().Calls;
}

void Reset()
{
	State().Answers.Empty();
	State().Calls.Empty();
}
} // namespace HostDesktopPlatform
