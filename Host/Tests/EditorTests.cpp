// The editor stand-in: undo steps (recorded states, objects made in a step, nesting, cancel, redo), actor spawning
// in and out of a step, selection, and which dirty packages count as content.
#include "Animation/SkeletalMeshActor.h"
#include "Animation/Skeleton.h"
#include "Editor.h"
#include "Editor/Transactor.h"
#include "Engine/World.h"
#include "EngineUtils.h"
#include "FileHelpers.h"
#include "HostEngine.h"
#include "ScopedTransaction.h"
#include "Selection.h"
#include "UObject/Package.h"
#include <filesystem>
#include <gtest/gtest.h>

namespace
{
class EditorTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		char Template[] = "/tmp/editor-test-XXXXXX";
		ProjectDir = mkdtemp(Template);
		HostEngine::SetProjectDir(FString(ProjectDir.c_str()));
		ASSERT_NE(GEditor, nullptr);
		World = GEditor->HostResetEditorWorld();
	}
	void TearDown() override
	{
		std::error_code Error;
		std::filesystem::remove_all(ProjectDir, Error);
	}
	int32 CountActors() const
	{
		int32 Count = 0;
		for (TActorIterator<AActor> It(World); It; ++It)
		{
			++Count;
		}
		return Count;
	}
	std::string ProjectDir;
	UWorld* World = nullptr;
};
} // namespace

TEST_F(EditorTest, TheEditorHasALevelToEdit)
{
	EXPECT_EQ(GEditor->GetEditorWorldContext(false).World(), World);
	EXPECT_EQ(World->WorldType, EWorldType::Editor);
	EXPECT_TRUE(World->GetPackage()->GetName().StartsWith(TEXT("/Temp/")));
	EXPECT_EQ(CountActors(), 0);
	EXPECT_EQ(GEditor->Trans->GetQueueLength(), 0);
}

TEST_F(EditorTest, UndoRevertsOneStepAndRedoReappliesIt)
{
	ASkeletalMeshActor* Before = World->SpawnActor<ASkeletalMeshActor>(FVector(1, 2, 3), FRotator::ZeroRotator);
	ASSERT_NE(Before, nullptr);
	EXPECT_EQ(GEditor->Trans->GetQueueLength(), 0) << "no step outside a transaction";
	EXPECT_TRUE(Before->GetActorLocation().Equals(FVector(1, 2, 3)));

	ASkeletalMeshActor* Spawned = nullptr;
	{
		FScopedTransaction Transaction(FText::FromString(TEXT("Spawn and relabel")));
		EXPECT_TRUE(Transaction.IsOutstanding());
		Spawned = World->SpawnActor<ASkeletalMeshActor>(FVector::ZeroVector, FRotator::ZeroRotator);
		Before->SetActorLabel(TEXT("Renamed"), true);
		{
			// A nested transaction is part of the outer step.
			FScopedTransaction Inner(FText::FromString(TEXT("Move")));
			Before->Modify();
			Before->SetActorLocation(FVector(7, 7, 7));
		}
	}
	EXPECT_EQ(GEditor->Trans->GetQueueLength(), 1);
	EXPECT_EQ(CountActors(), 2);

	EXPECT_TRUE(GEditor->UndoTransaction());
	EXPECT_FALSE(IsValid(Spawned));
	EXPECT_FALSE(IsValid(Spawned->GetSkeletalMeshComponent())) << "its component goes with it";
	EXPECT_EQ(CountActors(), 1);
	EXPECT_EQ(FString(Before->GetActorLabel(false)), FString());
	EXPECT_TRUE(Before->GetActorLocation().Equals(FVector(1, 2, 3)));
	EXPECT_FALSE(GEditor->UndoTransaction()) << "nothing older to undo";

	EXPECT_TRUE(GEditor->RedoTransaction());
	EXPECT_TRUE(IsValid(Spawned));
	EXPECT_EQ(CountActors(), 2);
	EXPECT_TRUE(FString(Before->GetActorLabel()).Equals(TEXT("Renamed")));
	EXPECT_TRUE(Before->GetActorLocation().Equals(FVector(7, 7, 7)));

	// A new step after an undo drops what could have been redone.
	GEditor->UndoTransaction();
	{
		FScopedTransaction Transaction(FText::FromString(TEXT("Other")));
		World->SpawnActor<ASkeletalMeshActor>();
	}
	EXPECT_EQ(GEditor->Trans->GetQueueLength(), 1);
	EXPECT_FALSE(GEditor->RedoTransaction());
}

TEST_F(EditorTest, EmptyAndCancelledStepsLeaveNothing)
{
	{
		FScopedTransaction Nothing(FText::FromString(TEXT("Nothing")));
	}
	EXPECT_EQ(GEditor->Trans->GetQueueLength(), 0);
	ASkeletalMeshActor* Spawned = nullptr;
	{
		FScopedTransaction Cancelled(FText::FromString(TEXT("Cancelled")));
		Spawned = World->SpawnActor<ASkeletalMeshActor>();
		Cancelled.Cancel();
		EXPECT_FALSE(Cancelled.IsOutstanding());
	}
	EXPECT_FALSE(IsValid(Spawned));
	EXPECT_EQ(CountActors(), 0);
	EXPECT_EQ(GEditor->Trans->GetQueueLength(), 0);
	{
		FScopedTransaction Off(FText::FromString(TEXT("Off")), false);
		EXPECT_FALSE(Off.IsOutstanding());
		World->SpawnActor<ASkeletalMeshActor>();
	}
	EXPECT_EQ(GEditor->Trans->GetQueueLength(), 0);
}

TEST_F(EditorTest, SelectionFollowsTheRunningEditor)
{
	ASkeletalMeshActor* A = World->SpawnActor<ASkeletalMeshActor>();
	ASkeletalMeshActor* B = World->SpawnActor<ASkeletalMeshActor>();
	USelection* Selection = GEditor->GetSelectedActors();
	const int32 Notices = GEditor->HostGetSelectionNoticeCount();
	GEditor->SelectActor(A, true, true);
	GEditor->SelectActor(B, true, false);
	EXPECT_EQ(Selection->Num(), 2);
	EXPECT_EQ(GEditor->HostGetSelectionNoticeCount(), Notices + 1);
	EXPECT_EQ(Selection->GetTop<ASkeletalMeshActor>(), A);
	GEditor->SelectNone(false, true, true);
	EXPECT_EQ(Selection->Num(), 0);
	EXPECT_EQ(GEditor->HostGetSelectionNoticeCount(), Notices + 1);
	GEditor->SelectActor(B, true, true);
	B->Destroy();
	EXPECT_EQ(Selection->Num(), 0) << "a destroyed actor is not selected";
}

TEST_F(EditorTest, ContentPackagesAreTheDirtyOnesWithoutALevel)
{
	World->SpawnActor<ASkeletalMeshActor>();
	World->PersistentLevel->MarkPackageDirty();
	UPackage* Package = CreatePackage(TEXT("/Game/Dirty/rig"));
	NewObject<USkeleton>(Package, FName(TEXT("rig")), RF_Public | RF_Standalone)->MarkPackageDirty();
	CreatePackage(TEXT("/Game/Dirty/clean"));

	TArray<UPackage*> Content;
	UEditorLoadingAndSavingUtils::GetDirtyContentPackages(Content);
	EXPECT_TRUE(Content.Contains(Package));
	EXPECT_FALSE(Content.Contains(World->GetPackage()));
	TArray<UPackage*> Maps;
	UEditorLoadingAndSavingUtils::GetDirtyMapPackages(Maps);
	EXPECT_TRUE(Maps.Contains(World->GetPackage()));

	EXPECT_TRUE(UEditorLoadingAndSavingUtils::SavePackages(Content, true));
	EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(ProjectDir) / "Content/Dirty/rig.uasset"));
	EXPECT_FALSE(Package->IsDirty());
	EXPECT_FALSE(UEditorLoadingAndSavingUtils::SavePackages(Maps, true)) << "an unsaved level has no content file";
}
