// Actors, their components, levels and worlds: spawning and destroying actors (recorded in an open transaction),
// labels, and the single-node animation state of skeletal mesh components.
#include "Animation/AnimationAsset.h"
#include "Animation/SkeletalMeshActor.h"
#include "Engine/Engine.h"
#include "Engine/SkeletalMesh.h"
#include "Engine/World.h"
#include "UObject/HostObjects.h"
#include "UObject/Package.h"

DEFINE_LOG_CATEGORY_STATIC(LogAnimation, Log, All);
DEFINE_LOG_CATEGORY_STATIC(LogSpawn, Log, All);

UEngine* GEngine = nullptr;

AActor* UActorComponent::GetOwner() const
{
	return GetTypedOuter<AActor>();
}

UWorld* UActorComponent::GetWorld() const
{
	AActor* Owner = GetOwner();
	return Owner ? Owner->GetWorld() : nullptr;
}

void USceneComponent::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << RelativeLocation << RelativeRotation << RelativeScale3D;
}

void USkinnedMeshComponent::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << SkinnedAsset;
}

void USkeletalMeshComponent::SetSkeletalMesh(USkeletalMesh* NewMesh, bool bReinitPose)
{
	SetSkinnedAsset(NewMesh);
	if (bReinitPose)
	{
		++HostPoseResets;
	}
}

USkeletalMesh* USkeletalMeshComponent::GetSkeletalMeshAsset() const
{
	return Cast<USkeletalMesh>(GetSkinnedAsset());
}

void USkeletalMeshComponent::SetAnimationMode(EAnimationMode::Type InAnimationMode, bool bForceInitAnimScriptInstance)
{
	const bool bChanged = AnimationMode != InAnimationMode;
	AnimationMode = InAnimationMode;
	if (bChanged || bForceInitAnimScriptInstance)
	{
		InitAnimInstance();
	}
}

void USkeletalMeshComponent::InitAnimInstance()
{
	if (AnimationMode == EAnimationMode::AnimationSingleNode)
	{
		HostInstanceAsset = AnimationData.AnimToPlay.Get();
		bHostInstancePlaying = AnimationData.bSavedPlaying && HostInstanceAsset.Get() != nullptr;
		bHostInstanceLooping = AnimationData.bSavedLooping;
	}
	else
	{
		HostInstanceAsset = nullptr;
		bHostInstancePlaying = false;
		bHostInstanceLooping = false;
	}
}

void USkeletalMeshComponent::SetAnimation(UAnimationAsset* NewAnimToPlay)
{
	if (AnimationMode != EAnimationMode::AnimationSingleNode)
	{
		UE_LOG(LogAnimation, Warning,
			TEXT("Currently in Animation Blueprint mode. Please change AnimationMode to Use Animation Asset"));
		return;
	}
	HostInstanceAsset = NewAnimToPlay;
	bHostInstanceLooping = false;
	bHostInstancePlaying = false;
}

void USkeletalMeshComponent::Play(bool bLooping)
{
	if (AnimationMode == EAnimationMode::AnimationSingleNode && HostInstanceAsset.Get())
	{
		bHostInstanceLooping = bLooping;
		bHostInstancePlaying = true;
	}
}

void USkeletalMeshComponent::Stop()
{
	bHostInstancePlaying = false;
}

void USkeletalMeshComponent::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	uint8 Mode = AnimationMode.GetIntValue();
	bool bLooping = AnimationData.bSavedLooping;
	bool bPlaying = AnimationData.bSavedPlaying;
	Ar << Mode << AnimationData.AnimToPlay << bLooping << bPlaying << AnimationData.SavedPosition << AnimationData.SavedPlayRate;
	Ar << HostInstanceAsset << bHostInstancePlaying << bHostInstanceLooping << HostPoseResets;
	if (Ar.IsLoading())
	{
		AnimationMode = (EAnimationMode::Type)Mode;
		AnimationData.bSavedLooping = bLooping;
		AnimationData.bSavedPlaying = bPlaying;
	}
}

bool AActor::SetRootComponent(USceneComponent* NewRootComponent)
{
	RootComponent = NewRootComponent;
	return true;
}

FVector AActor::GetActorLocation() const
{
	return RootComponent ? RootComponent->GetComponentLocation() : FVector::ZeroVector;
}

FRotator AActor::GetActorRotation() const
{
	return RootComponent ? RootComponent->GetComponentRotation() : FRotator::ZeroRotator;
}

FTransform AActor::GetActorTransform() const
{
	return RootComponent ? RootComponent->GetComponentTransform() : FTransform::Identity;
}

bool AActor::SetActorLocation(const FVector& NewLocation, bool bSweep, void* OutSweepHitResult, ETeleportType Teleport)
{
	(void)bSweep;
	(void)OutSweepHitResult;
	(void)Teleport;
	if (!RootComponent)
	{
		return false;
	}
	RootComponent->SetRelativeLocation(NewLocation);
	return true;
}

bool AActor::SetActorRotation(FRotator NewRotation, ETeleportType Teleport)
{
	(void)Teleport;
	if (!RootComponent)
	{
		return false;
	}
	RootComponent->SetRelativeRotation(NewRotation);
	return true;
}

ULevel* AActor::GetLevel() const
{
	return GetTypedOuter<ULevel>();
}

UWorld* AActor::GetWorld() const
{
	ULevel* Level = GetLevel();
	return Level ? Level->OwningWorld.Get() : nullptr;
}

bool AActor::Destroy(bool bNetForce, bool bShouldModifyLevel)
{
	UWorld* World = GetWorld();
	return World && World->DestroyActor(this, bNetForce, bShouldModifyLevel);
}

bool AActor::Modify(bool bAlwaysMarkDirty)
{
	// An actor's undo record covers its root component too, as the engine's does for owned components.
	bool bSaved = Super::Modify(bAlwaysMarkDirty);
	if (USceneComponent* Root = RootComponent.Get(); Root && Root->HasAnyFlags(RF_Transactional))
	{
		bSaved |= Root->Modify(false);
	}
	return bSaved;
}

void AActor::SetActorLabel(const FString& NewActorLabel, bool bMarkDirty)
{
	if (bMarkDirty)
	{
		Modify(true);
	}
	ActorLabel = NewActorLabel.TrimStartAndEnd();
}

const FString& AActor::GetActorLabel(bool bCreateIfNone) const
{
	if (ActorLabel.IsEmpty() && bCreateIfNone)
	{
		ActorLabel = GetClass()->GetName();
	}
	return ActorLabel;
}

void AActor::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << RootComponent << ActorLabel;
}

ASkeletalMeshActor::ASkeletalMeshActor()
{
	SkeletalMeshComponent = CreateDefaultSubobject<USkeletalMeshComponent>(TEXT("SkeletalMeshComponent0"));
	SetRootComponent(SkeletalMeshComponent.Get());
}

void ASkeletalMeshActor::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << SkeletalMeshComponent;
}

void ULevel::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << Actors << OwningWorld;
}

UWorld* UWorld::CreateWorld(const EWorldType::Type InWorldType, bool bInformEngineOfWorld, FName WorldName, UPackage* InWorldPackage)
{
	static int32 UntitledCount = 0;
	UPackage* Package = InWorldPackage;
	if (!Package)
	{
		const FString PackageName = FString::Printf(TEXT("/Temp/Untitled_%d"), ++UntitledCount);
		Package = CreatePackage(*PackageName);
		if (WorldName.IsNone())
		{
			WorldName = FName(*FString::Printf(TEXT("Untitled_%d"), UntitledCount));
		}
	}
	if (WorldName.IsNone())
	{
		WorldName = FName(TEXT("NewWorld"));
	}
	UWorld* World = NewObject<UWorld>(Package, WorldName, RF_Public | RF_Standalone | RF_Transactional);
	World->WorldType = InWorldType;
	World->PersistentLevel = NewObject<ULevel>(World, FName(TEXT("PersistentLevel")), RF_Transactional);
	World->PersistentLevel->OwningWorld = World;
	if (bInformEngineOfWorld && GEngine)
	{
		GEngine->CreateNewWorldContext(InWorldType).SetCurrentWorld(World);
	}
	return World;
}

AActor* UWorld::SpawnActor(UClass* Class, FVector const* Location, FRotator const* Rotation, const FActorSpawnParameters& SpawnParameters)
{
	const FTransform Transform(Rotation ? *Rotation : FRotator::ZeroRotator, Location ? *Location : FVector::ZeroVector);
	return SpawnActor(Class, &Transform, SpawnParameters);
}

AActor* UWorld::SpawnActor(UClass* Class, FTransform const* Transform, const FActorSpawnParameters& SpawnParameters)
{
	if (!Class || !Class->IsChildOf(AActor::StaticClass()))
	{
		UE_LOG(LogSpawn, Warning, TEXT("SpawnActor failed because no class or not an actor class was given"));
		return nullptr;
	}
	ULevel* Level = SpawnParameters.OverrideLevel ? SpawnParameters.OverrideLevel : PersistentLevel.Get();
	if (!Level)
	{
		return nullptr;
	}
	if (!SpawnParameters.Name.IsNone() && StaticFindObjectFast(nullptr, Level, SpawnParameters.Name))
	{
		UE_LOG(LogSpawn, Error, TEXT("An actor of name '%s' already exists in level '%s'."), *SpawnParameters.Name.ToString(),
			*Level->GetFullName());
		return nullptr;
	}
	// The level's actor list goes into the open transaction first, so undo takes the new actor out of it again.
	Level->Modify();
	AActor* Actor = NewObject<AActor>(Level, Class, SpawnParameters.Name, SpawnParameters.ObjectFlags);
	if (Transform)
	{
		Actor->SetActorLocation(Transform->GetTranslation());
		Actor->SetActorRotation(Transform->Rotator());
	}
	Level->Actors.Add(Actor);
	return Actor;
}

bool UWorld::DestroyActor(AActor* Actor, bool bNetForce, bool bShouldModifyLevel)
{
	(void)bNetForce;
	ULevel* Level = Actor ? Actor->GetLevel() : nullptr;
	if (!Level || !IsValid(Actor))
	{
		return false;
	}
	if (bShouldModifyLevel)
	{
		Level->Modify();
	}
	Actor->Modify();
	Level->Actors.RemoveAll([Actor](const TObjectPtr<AActor>& Entry) { return Entry.Get() == Actor; });
	TArray<UObject*> Inner;
	GetObjectsWithOuter(Actor, Inner, true);
	for (UObject* Object : Inner)
	{
		Object->MarkAsGarbage();
	}
	Actor->MarkAsGarbage();
	return true;
}

void UWorld::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	uint8 Type = WorldType.GetIntValue();
	Ar << PersistentLevel << Type;
	WorldType = (EWorldType::Type)Type;
}

void FWorldContext::SetCurrentWorld(UWorld* World)
{
	ThisCurrentWorld = World;
}

FWorldContext& UEngine::CreateNewWorldContext(EWorldType::Type WorldType)
{
	FWorldContext* Context = new FWorldContext();
	Context->WorldType = WorldType;
	Context->ContextHandle = FName(*FString::Printf(TEXT("Context_%d"), WorldContexts.Num()));
	WorldContexts.Add(Context);
	return *Context;
}

FWorldContext* UEngine::GetWorldContextFromWorld(const UWorld* InWorld)
{
	for (FWorldContext* Context : WorldContexts)
	{
		if (Context->World() == InWorld)
		{
			return Context;
		}
	}
	return nullptr;
}

void UEngine::BeginDestroy()
{
	for (FWorldContext* Context : WorldContexts)
	{
		delete Context;
	}
	WorldContexts.Empty();
	Super::BeginDestroy();
}
