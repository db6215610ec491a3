// Imports a downloaded FBX as an animation clip in the character's content folder, beside its skeletal mesh.

#pragma once

#include "CoreMinimal.h"
#include "UObject/WeakObjectPtrTemplates.h"

class UAnimSequence;
class USkeletalMesh;
class USkeleton;

/** The outcome of importing one FBX file; the assets are held weakly, so holders test them before use. */
struct FTarvolineImportResult
{
	/** Content folder of the character, e.g. /Game/Tarvoline/Animations/fox (no trailing slash). */
	FString FolderPath;

	/** The character's skeletal mesh, imported now or found in the folder; may be unset. */
	TWeakObjectPtr<USkeletalMesh> Mesh;

	/** The imported clip; unset on failure. */
	TWeakObjectPtr<UAnimSequence> Clip;

	/** Empty on success; the failure sentence otherwise. */
	FString Error;
};

/** Lower-case ASCII letters and digits joined by single "_", at most MaxLength long ("animation" when nothing is left). */
FString MakeAssetName(const FString& Text, int32 MaxLength);

/**
 * The download's file name for a job: MakeAssetName of the prompt (at most 48 long), "_", the first 8 characters of the
 * job id, ".fbx". The id comes from the service and is joined unescaped, so an id whose part holds anything but ASCII
 * letters, digits, "-" and "_" (a path separator, "..", a drive colon) is refused: false, with OutError set to the
 * sentence for the user.
 */
bool MakeDownloadFileName(const FString& Prompt, const FString& JobId, FString& OutFileName, FString& OutError);

/** The content folder of a character: /Game/Tarvoline/Animations/<asset name of the file's base name>. */
FString AnimationFolderFor(const FString& CharacterName);

/** An asset name in Folder that no asset uses yet: BaseName, or BaseName with a number the engine appends. */
FString MakeUniqueAssetName(const FString& Folder, const FString& BaseName);

/** The first skeletal mesh directly in Folder (in the asset registry's order), loaded; nullptr when there is none. */
USkeletalMesh* FindFirstSkeletalMesh(const FString& Folder);

/** The first skeleton directly in Folder (in the asset registry's order), loaded; nullptr when there is none. */
USkeleton* FindFirstSkeleton(const FString& Folder);

/**
 * Imports FbxFile for the character: mesh, skeleton and clip on the first import into its folder, the clip alone
 * (bound to the folder's skeleton) afterwards. The clip is named after AnimationName and the folder's dirty packages
 * are saved. Only a clip this import made counts: clips the folder held before are never picked, renamed or
 * reported, so a failed import ends with the missing-clip sentence. Every import option the result depends on is
 * set, so the user's saved FBX dialog choices cannot change it. Runs synchronously on the game thread.
 */
FTarvolineImportResult ImportAnimationFbx(const FString& FbxFile, const FString& CharacterName, const FString& AnimationName);
