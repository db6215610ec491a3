// The asset tools: unique names as the engine makes them, automated imports through a factory, and renames that
// move package and object together.
#include "AssetImportTask.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "AssetToolsModule.h"
#include "Factories/FbxFactory.h"
#include "FileHelpers.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "UObject/Package.h"
#include "UObject/UObjectHash.h"

DEFINE_LOG_CATEGORY_STATIC(LogAssetTools, Log, All);

namespace
{
const TCHAR* const InvalidObjectNameCharacters = TEXT("\"' ,/.:|&!~\n\r\t@#(){}[]=;^%$`");
const TCHAR* const InvalidLongPackageCharacters = TEXT("\\:*?\"<>|' ,.&!~\n\r\t@#");

FString Sanitize(const FString& Text, const TCHAR* Invalid)
{
	FString Result = Text;
	for (TCHAR& Char : Result)
	{
		for (const TCHAR* Each = Invalid; *Each; ++Each)
		{
			if (Char == *Each)
			{
				Char = '_';
				break;
			}
		}
	}
	return Result;
}

bool AssetExists(const FString& PackageName, const FString& AssetName)
{
	const FSoftObjectPath Path(PackageName + TEXT(".") + AssetName);
	return IAssetRegistry::GetChecked().GetAssetByObjectPath(Path).IsValid();
}

bool PackageHasObjects(const UPackage* Package)
{
	TArray<UObject*> Inner;
	GetObjectsWithOuter(Package, Inner, false);
	return Inner.Num() > 0;
}

class FHostAssetTools : public IAssetTools
{
public:
	virtual void CreateUniqueAssetName(const FString& InBasePackageName, const FString& InSuffix, FString& OutPackageName,
		FString& OutAssetName) override
	{
		const FString SanitizedBase = Sanitize(InBasePackageName, InvalidLongPackageCharacters);
		const FString PackagePath = FPackageName::GetLongPackagePath(SanitizedBase);
		const FString BaseName = Sanitize(FPackageName::GetShortName(SanitizedBase) + InSuffix, InvalidObjectNameCharacters);

		// A name ending in digits continues counting from them, keeping their width; an all-digit name gets "_".
		int32 FirstDigit = BaseName.Len();
		while (FirstDigit > 0 && FChar::IsDigit(BaseName[FirstDigit - 1]))
		{
			--FirstDigit;
		}
		FString Stem = BaseName;
		int32 Counter = 1;
		int32 Width = 0;
		if (FirstDigit == 0 && BaseName.Len() > 0)
		{
			Stem = BaseName + TEXT("_");
			Counter = 2;
		}
		else if (FirstDigit < BaseName.Len())
		{
			Stem = BaseName.Left(FirstDigit);
			const FString Digits = BaseName.RightChop(FirstDigit);
			Width = Digits.Len();
			Counter = FCString::Atoi(*Digits) + 1;
		}
		OutAssetName = BaseName;
		OutPackageName = PackagePath + TEXT("/") + OutAssetName;
		while (AssetExists(OutPackageName, OutAssetName))
		{
			FString Number = FString::FromInt(Counter++);
			while (Number.Len() < Width)
			{
				Number = FString(TEXT("0")) + Number;
			}
			OutAssetName = Stem + Number;
			OutPackageName = PackagePath + TEXT("/") + OutAssetName;
		}
	}

	virtual void ImportAssetTasks(const TArray<UAssetImportTask*>& ImportTasks) override
	{
		for (UAssetImportTask* Task : ImportTasks)
		{
			if (Task)
			{
				RunTask(Task);
			}
		}
	}

	virtual bool RenameAssets(const TArray<FAssetRenameData>& AssetsAndNames) override
	{
		bool bAllRenamed = true;
		for (const FAssetRenameData& Data : AssetsAndNames)
		{
			bAllRenamed &= RenameOne(Data);
		}
		return bAllRenamed;
	}

private:
	void RunTask(UAssetImportTask* Task)
	{
		UFactory* Factory = Task->Factory.Get();
		if (!Factory || !(Task->bAutomated && Factory->FactoryCanImport(Task->Filename)))
		{
			// Without a usable factory the importer picks one by the file's extension.
			Factory = nullptr;
			UFbxFactory* Fbx = NewObject<UFbxFactory>(GetTransientPackage());
			if (Fbx->FactoryCanImport(Task->Filename))
			{
				Factory = Fbx;
			}
		}
		if (!Factory)
		{
			UE_LOG(LogAssetTools, Warning, TEXT("No factory can import %s"), *Task->Filename);
			return;
		}
		const FString Name = Sanitize(
			Task->DestinationName.IsEmpty() ? FPaths::GetBaseFilename(Task->Filename) : Task->DestinationName, InvalidObjectNameCharacters);
		const FString PackageName = Sanitize(Task->DestinationPath / Name, InvalidLongPackageCharacters);
		if (UObject* Existing = StaticFindObject(nullptr, nullptr, *(PackageName + TEXT(".") + Name));
			(Existing || AssetExists(PackageName, Name)) && !Task->bReplaceExisting)
		{
			// An automated import never asks: an asset already there is kept and the file is skipped.
			(void)Existing;
			UE_LOG(LogAssetTools, Display, TEXT("%s exists already; %s is not imported"), *PackageName, *Task->Filename);
			return;
		}
		UPackage* Package = CreatePackage(*PackageName);
		Factory->AssetImportTask = Task;
		bool bCanceled = false;
		UObject* Result = Factory->FactoryCreateFile(nullptr, Package, FName(*Name), RF_Public | RF_Standalone | RF_Transactional,
			Task->Filename, nullptr, nullptr, bCanceled);
		Factory->AssetImportTask = nullptr;
		if (!Result)
		{
			if (!PackageHasObjects(Package))
			{
				Package->MarkAsGarbage();
			}
			return;
		}
		TArray<UPackage*> Touched;
		Task->ImportedObjectPaths.Add(Result->GetPathName());
		Touched.AddUnique(Result->GetPackage());
		for (UObject* Additional : Factory->GetAdditionalImportedObjects())
		{
			if (IsValid(Additional))
			{
				Task->ImportedObjectPaths.Add(Additional->GetPathName());
				Touched.AddUnique(Additional->GetPackage());
			}
		}
		if (Task->bSave)
		{
			UEditorLoadingAndSavingUtils::SavePackages(Touched, true);
		}
	}

	bool RenameOne(const FAssetRenameData& Data)
	{
		UObject* Asset = Data.Asset.Get();
		if (!Asset && Data.OldObjectPath.IsValid())
		{
			Asset = Data.OldObjectPath.TryLoad();
		}
		FString NewPath = Data.NewPackagePath;
		FString NewName = Data.NewName;
		if (Data.NewObjectPath.IsValid())
		{
			NewPath = FPackageName::GetLongPackagePath(Data.NewObjectPath.GetLongPackageName());
			NewName = Data.NewObjectPath.GetAssetName();
		}
		if (!Asset || !Asset->GetPackage() || NewName.IsEmpty() || !FPackageName::IsValidLongPackageName(NewPath / NewName))
		{
			return false;
		}
		const FString NewPackageName = NewPath / NewName;
		UPackage* OldPackage = Asset->GetPackage();
		if (OldPackage->GetName().Equals(NewPackageName, ESearchCase::CaseSensitive) && Asset->GetName().Equals(NewName, ESearchCase::CaseSensitive))
		{
			return true;
		}
		if (AssetExists(NewPackageName, NewName) && !(OldPackage->GetName() == NewPackageName && Asset->GetName() == NewName))
		{
			UE_LOG(LogAssetTools, Warning, TEXT("Cannot rename %s: %s.%s exists"), *Asset->GetPathName(), *NewPackageName, *NewName);
			return false;
		}
		UPackage* NewPackage = CreatePackage(*NewPackageName);
		if (NewPackage != OldPackage && PackageHasObjects(NewPackage))
		{
			return false;
		}
		if (!Asset->Rename(*NewName, NewPackage, REN_None))
		{
			return false;
		}
		NewPackage->SetDirtyFlag(true);
		if (NewPackage != OldPackage && !PackageHasObjects(OldPackage))
		{
			if (OldPackage->GetHostFileName().IsEmpty() && !FPackageName::DoesPackageExist(OldPackage->GetName()))
			{
				// Never saved: nothing is left behind.
				OldPackage->MarkAsGarbage();
			}
			else
			{
				// On disk: saving the emptied package removes its file.
				OldPackage->SetDirtyFlag(true);
			}
		}
		return true;
	}
};
} // namespace

IAssetTools& FAssetToolsModule::Get() const
{
	static FHostAssetTools* const Tools = new FHostAssetTools();
	return *Tools;
}
