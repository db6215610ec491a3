// The desktop's file dialog answered from a queue, and the Content Browser's selection and syncs.
#include "AssetRegistry/AssetData.h"
#include "ContentBrowserModule.h"
#include "DesktopPlatformModule.h"
#include "Framework/Application/SlateApplication.h"
#include "HostContentBrowser.h"
#include "HostDesktopPlatform.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include <gtest/gtest.h>

TEST(Desktop, FileDialogIsAnsweredFromTheQueueAndRecorded)
{
	HostDesktopPlatform::Reset();
	IDesktopPlatform* Platform = FDesktopPlatformModule::Get();
	ASSERT_NE(Platform, nullptr);
	const void* Parent = FSlateApplication::Get().FindBestParentWindowHandleForDialogs(nullptr);
	const FString Filter = TEXT("3D models (*.fbx;*.glb)|*.fbx;*.glb");

	HostDesktopPlatform::QueueAnswer(TArray<FString>{TEXT("/models/fox.fbx"), TEXT("/models/wolf.glb")});
	HostDesktopPlatform::QueueCancel();
	EXPECT_EQ(HostDesktopPlatform::NumQueuedAnswers(), 2);

	// A single-selection dialog hands back one file, appended to what the caller had.
	TArray<FString> Files{TEXT("kept")};
	EXPECT_TRUE(Platform->OpenFileDialog(Parent, TEXT("Choose a model"), TEXT("/project/"), TEXT(""), Filter, EFileDialogFlags::None, Files));
	EXPECT_EQ(Files, (TArray<FString>{TEXT("kept"), TEXT("/models/fox.fbx")}));

	TArray<FString> Cancelled;
	EXPECT_FALSE(Platform->OpenFileDialog(Parent, TEXT("Again"), TEXT(""), TEXT(""), Filter, EFileDialogFlags::None, Cancelled));
	EXPECT_TRUE(Cancelled.IsEmpty());
	// With nothing queued the user cancels.
	EXPECT_FALSE(Platform->OpenFileDialog(Parent, TEXT("Empty"), TEXT(""), TEXT(""), Filter, EFileDialogFlags::Multiple, Cancelled));

	const TArray<HostDesktopPlatform::FDialogCall> Calls = HostDesktopPlatform::GetDialogCalls();
	ASSERT_EQ(Calls.Num(), 3);
	EXPECT_EQ(Calls[0].Title, TEXT("Choose a model"));
	EXPECT_EQ(Calls[0].DefaultPath, TEXT("/project/"));
	EXPECT_EQ(Calls[0].FileTypes, Filter);
	EXPECT_EQ(Calls[0].ParentWindowHandle, nullptr);
	EXPECT_EQ(Calls[2].Flags, (uint32)EFileDialogFlags::Multiple);
	HostDesktopPlatform::Reset();
	EXPECT_TRUE(HostDesktopPlatform::GetDialogCalls().IsEmpty());
}

TEST(Desktop, ContentBrowserSelectionAndSyncs)
{
	HostContentBrowser::Reset();
	IContentBrowserSingleton& Browser = FModuleManager::LoadModuleChecked<FContentBrowserModule>("ContentBrowser").Get();
	const FAssetData Texture(FName("/Game/T/tex"), FName("/Game/T"), FName("tex"),
		FTopLevelAssetPath(FName("/Script/Engine"), FName("Texture2D")));
	const FAssetData Mesh(FName("/Game/M/fox"), FName("/Game/M"), FName("fox"),
		FTopLevelAssetPath(FName("/Script/Engine"), FName("StaticMesh")));

	HostContentBrowser::SetSelectedAssets({Texture, Mesh});
	TArray<FAssetData> Selected;
	Browser.GetSelectedAssets(Selected);
	ASSERT_EQ(Selected.Num(), 2);
	EXPECT_EQ(Selected[0], Texture);
	EXPECT_EQ(Selected[1], Mesh);

	// Syncing records the call and selects what was synced.
	UPackage* Package = CreatePackage(TEXT("/Game/Synced/clip"));
	UObject* Clip = NewObject<UObject>(Package, FName(TEXT("clip")), RF_Public | RF_Standalone);
	Browser.SyncBrowserToAssets(TArray<UObject*>{Clip, nullptr}, false, true);
	const TArray<HostContentBrowser::FSyncCall> Syncs = HostContentBrowser::GetSyncCalls();
	ASSERT_EQ(Syncs.Num(), 1);
	ASSERT_EQ(Syncs[0].Assets.Num(), 1);
	EXPECT_EQ(Syncs[0].Assets[0].AssetName, FName("clip"));
	EXPECT_TRUE(Syncs[0].bFocusContentBrowser);
	Selected.Empty();
	Browser.GetSelectedAssets(Selected);
	ASSERT_EQ(Selected.Num(), 1);
	EXPECT_EQ(Selected[0].PackageName, FName("/Game/Synced/clip"));
	HostContentBrowser::Reset();
}
