#include "ModelInspector.h"

#include "Ids.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <unzip.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>

namespace fs = std::filesystem;

namespace tvsim
{
namespace
{
std::string Lower(std::string Text)
{
	std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
	return Text;
}

std::string ExtensionOf(const std::string& Name)
{
	const auto Dot = Name.find_last_of('.');
	const auto Slash = Name.find_last_of("/\\");
	if (Dot == std::string::npos || (Slash != std::string::npos && Dot < Slash))
	{
		return "";
	}
	return Lower(Name.substr(Dot + 1));
}

bool IsModelExtension(const std::string& Extension)
{
	return Extension == "fbx" || Extension == "glb" || Extension == "gltf" || Extension == "dae";
}

// Removes a scratch directory when the inspection is over, whatever the outcome.
struct ScratchDir
{
	fs::path Path;
	ScratchDir() : Path(fs::temp_directory_path() / ("tarvoline-sim-" + RandomHex(8))) { fs::create_directories(Path); }
	~ScratchDir()
	{
		std::error_code Ignored;
		fs::remove_all(Path, Ignored);
	}
	ScratchDir(const ScratchDir&) = delete;
	ScratchDir& operator=(const ScratchDir&) = delete;
};

// Unpacks a zip upload and returns the model file in it (the shallowest one, FBX first), or an
// empty path with the reason in Error.
fs::path UnpackZip(const std::string& Bytes, const fs::path& Dir, std::string& Error)
{
	const fs::path Archive = Dir / "upload.zip";
	{
		std::ofstream Out(Archive, std::ios::binary);
		Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
	}
	unzFile Zip = unzOpen64(Archive.string().c_str());
	if (!Zip)
	{
		Error = "The zip file could not be opened.";
		return {};
	}
	const fs::path Root = Dir / "unpacked";
	constexpr std::uint64_t MaxUnpacked = 512ull * 1024 * 1024;
	std::uint64_t Unpacked = 0;
	std::vector<fs::path> Models;
	int Status = unzGoToFirstFile(Zip);
	while (Status == UNZ_OK)
	{
		unz_file_info64 Info{};
		char NameBuffer[1024];
		if (unzGetCurrentFileInfo64(Zip, &Info, NameBuffer, sizeof NameBuffer, nullptr, 0, nullptr, 0) != UNZ_OK)
		{
			Error = "The zip file is damaged.";
			break;
		}
		const std::string Name = NameBuffer;
		const fs::path Relative = fs::path(Name).lexically_normal();
		const bool Unsafe = Relative.is_absolute() || Relative.empty() || *Relative.begin() == "..";
		if (!Unsafe && !Name.empty() && Name.back() != '/')
		{
			Unpacked += Info.uncompressed_size;
			if (Unpacked > MaxUnpacked)
			{
				Error = "The zip file unpacks to more than we accept.";
				break;
			}
			const fs::path Target = Root / Relative;
			fs::create_directories(Target.parent_path());
			if (unzOpenCurrentFile(Zip) != UNZ_OK)
			{
				Error = "The zip file is damaged.";
				break;
			}
			std::ofstream Out(Target, std::ios::binary);
			char Buffer[65536];
			int Read = 0;
			while ((Read = unzReadCurrentFile(Zip, Buffer, sizeof Buffer)) > 0)
			{
				Out.write(Buffer, Read);
			}
			const int CloseStatus = unzCloseCurrentFile(Zip);
			if (Read < 0 || CloseStatus != UNZ_OK)
			{
				Error = "The zip file is damaged.";
				break;
			}
			if (IsModelExtension(ExtensionOf(Name)))
			{
				Models.push_back(Target);
			}
		}
		Status = unzGoToNextFile(Zip);
	}
	unzClose(Zip);
	if (!Error.empty())
	{
		return {};
	}
	if (Models.empty())
	{
		Error = "The zip file holds no FBX, GLB, GLTF or DAE model.";
		return {};
	}
	auto Rank = [&](const fs::path& P) {
		const auto Depth = std::distance(P.lexically_relative(Root).begin(), P.lexically_relative(Root).end());
		const std::string Ext = ExtensionOf(P.string());
		const int Preference = Ext == "fbx" ? 0 : Ext == "glb" ? 1 : Ext == "gltf" ? 2 : 3;
		return std::make_pair(Depth, Preference);
	};
	return *std::min_element(Models.begin(), Models.end(), [&](const fs::path& A, const fs::path& B) { return Rank(A) < Rank(B); });
}

void Accumulate(const aiScene& Scene, const aiNode& Node, const aiMatrix4x4& Parent, aiVector3D& Min, aiVector3D& Max, int& Vertices)
{
	const aiMatrix4x4 World = Parent * Node.mTransformation;
	for (unsigned M = 0; M < Node.mNumMeshes; ++M)
	{
		const aiMesh* Mesh = Scene.mMeshes[Node.mMeshes[M]];
		for (unsigned V = 0; V < Mesh->mNumVertices; ++V)
		{
			const aiVector3D P = World * Mesh->mVertices[V];
			Min.x = std::min(Min.x, P.x);
			Min.y = std::min(Min.y, P.y);
			Min.z = std::min(Min.z, P.z);
			Max.x = std::max(Max.x, P.x);
			Max.y = std::max(Max.y, P.y);
			Max.z = std::max(Max.z, P.z);
			++Vertices;
		}
	}
	for (unsigned C = 0; C < Node.mNumChildren; ++C)
	{
		Accumulate(Scene, *Node.mChildren[C], World, Min, Max, Vertices);
	}
}

void CollectNodeNames(const aiNode& Node, std::vector<std::string>& Names)
{
	Names.emplace_back(Node.mName.C_Str());
	for (unsigned C = 0; C < Node.mNumChildren; ++C)
	{
		CollectNodeNames(*Node.mChildren[C], Names);
	}
}

int MetaInt(const aiScene& Scene, const char* Key, int Default)
{
	if (!Scene.mMetaData)
	{
		return Default;
	}
	int32_t Value = 0;
	if (Scene.mMetaData->Get(Key, Value))
	{
		return Value;
	}
	return Default;
}

bool ContainsAny(const std::string& Name, std::initializer_list<const char*> Keys)
{
	for (const char* Key : Keys)
	{
		if (Name.find(Key) != std::string::npos)
		{
			return true;
		}
	}
	return false;
}

// True when a bone name marks a limb as front or back and left or right ("FrontLeftUpper",
// "hind_leg.L", "leg_fl"), or names a paw or a hoof: a body that stands on four limbs.
bool IsFourLegBone(std::string Name)
{
	// "forearm" holds "rear" and "fore"; it is an arm, not a hind or front leg.
	for (auto At = Name.find("forearm"); At != std::string::npos; At = Name.find("forearm"))
	{
		Name.erase(At, 7);
	}
	if (ContainsAny(Name, {"paw", "hoof", "hind", "foreleg", "fore_leg"}))
	{
		return true;
	}
	const bool FrontOrBack = ContainsAny(Name, {"front", "back", "rear"});
	const bool Limb = ContainsAny(Name, {"leg", "left", "right", "upper", "lower", "thigh", "shin", "foot"});
	if (FrontOrBack && Limb && Name.find("backbone") == std::string::npos)
	{
		return true;
	}
	if (Name.find("leg") == std::string::npos)
	{
		return false;
	}
	for (const char* Suffix : {"_fl", "_fr", "_bl", "_br", "_rl", "_rr", ".fl", ".fr", ".bl", ".br", ".rl", ".rr"})
	{
		const std::string S = Suffix;
		if (Name.size() >= S.size() && Name.compare(Name.size() - S.size(), S.size(), S) == 0)
		{
			return true;
		}
	}
	return false;
}
} // namespace

std::string FamilyFromBoneNames(const std::vector<std::string>& RawNames, double Up, double Side, double Front)
{
	int Bird = 0;
	int Frog = 0;
	int Four = 0;
	int Human = 0;
	int NeckOrTail = 0;
	for (const auto& Raw : RawNames)
	{
		const std::string Name = Lower(Raw);
		if (ContainsAny(Name, {"wing", "beak", "feather", "talon"}))
		{
			++Bird;
		}
		if (ContainsAny(Name, {"frog", "tongue", "throat", "vocal"}))
		{
			++Frog;
		}
		if (IsFourLegBone(Name))
		{
			++Four;
		}
		if (ContainsAny(Name, {"hand", "arm", "clavicle", "shoulder", "finger", "thumb", "index", "pinky"}))
		{
			++Human;
		}
		if (ContainsAny(Name, {"neck", "tail"}))
		{
			++NeckOrTail;
		}
	}
	if (Bird > 0)
	{
		return "bird";
	}
	if (Frog > 0)
	{
		return "frog";
	}
	if (Human >= 2 && Four == 0)
	{
		// Arms and hands: a person, unless the body is plainly long and low (some animal rigs
		// name the front legs arms).
		return FamilyFromProportions(Up, Side, Front) == "quadruped" ? "quadruped" : "humanoid";
	}
	if (Four > 0)
	{
		// Four limbs: a frog or a four-legged animal. A neck or a tail, or a long body, makes
		// the animal; a frog has neither and is about as wide as it is long.
		const bool Long = Front >= 1.5 * Side || Side >= 1.5 * Front;
		return NeckOrTail > 0 || Long ? "quadruped" : "frog";
	}
	return "";
}

std::string FamilyFromProportions(double Up, double Side, double Front)
{
	const double Horizontal = std::max(Side, Front);
	// Tall and narrow: taller than it is deep, and not much narrower than wide (arms out allowed).
	if (Up >= 1.2 * Front && Up >= 0.8 * Side)
	{
		return "humanoid";
	}
	// A wide wingspan: far wider than long, and low.
	if (Side >= 1.5 * Front && Side >= 2.0 * Up)
	{
		return "bird";
	}
	// Long and low, facing along its front axis or turned side-on.
	if ((Front >= 1.3 * Up && Front >= 1.5 * Side) || (Side >= 1.3 * Up && Side >= 1.5 * Front))
	{
		return "quadruped";
	}
	// Small and squat: about as wide as long, and not taller than that.
	if (Up <= Horizontal)
	{
		return "frog";
	}
	return "humanoid";
}

ModelVerdict InspectModel(const std::string& Bytes, const std::string& Filename)
{
	ModelVerdict Verdict;
	const std::string Extension = ExtensionOf(Filename);
	if (!IsModelExtension(Extension) && Extension != "zip")
	{
		Verdict.Error = "That file is not a model we can rig: send FBX, GLB, GLTF, DAE or a zip holding one.";
		return Verdict;
	}
	if (Bytes.empty())
	{
		Verdict.Error = "The file is empty.";
		return Verdict;
	}

	Assimp::Importer Importer;
	// Lines and points carry no volume to rig.
	Importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
	const unsigned Flags = aiProcess_SortByPType;
	const aiScene* Scene = nullptr;
	std::string ModelExtension = Extension;
	std::unique_ptr<ScratchDir> Scratch;
	if (Extension == "zip")
	{
		Scratch = std::make_unique<ScratchDir>();
		std::string ZipError;
		const fs::path Model = UnpackZip(Bytes, Scratch->Path, ZipError);
		if (Model.empty())
		{
			Verdict.Error = ZipError;
			return Verdict;
		}
		ModelExtension = ExtensionOf(Model.string());
		Scene = Importer.ReadFile(Model.string(), Flags);
	}
	else
	{
		Scene = Importer.ReadFileFromMemory(Bytes.data(), Bytes.size(), Flags, Extension.c_str());
	}
	if (!Scene || !Scene->mRootNode)
	{
		Verdict.Error = "The model could not be read: the file is damaged or not really " +
						[&] { std::string U = ModelExtension; std::transform(U.begin(), U.end(), U.begin(), ::toupper); return U; }() + ".";
		return Verdict;
	}

	aiVector3D Min(std::numeric_limits<float>::max());
	aiVector3D Max(std::numeric_limits<float>::lowest());
	int Vertices = 0;
	Accumulate(*Scene, *Scene->mRootNode, aiMatrix4x4(), Min, Max, Vertices);
	Verdict.Meshes = static_cast<int>(Scene->mNumMeshes);
	if (Vertices == 0)
	{
		Verdict.Error = "The file holds no mesh to rig.";
		return Verdict;
	}

	// FBX files say which axis is up (Y for most tools, Z for some) and which is the front;
	// the other readers hand us Y up with the front along Z.
	int UpAxis = 1;
	int FrontAxis = 2;
	if (ModelExtension == "fbx")
	{
		UpAxis = std::clamp(MetaInt(*Scene, "UpAxis", 1), 0, 2);
		FrontAxis = std::clamp(MetaInt(*Scene, "FrontAxis", UpAxis == 2 ? 1 : 2), 0, 2);
		if (FrontAxis == UpAxis)
		{
			FrontAxis = UpAxis == 2 ? 1 : 2;
		}
	}
	const int SideAxis = 3 - UpAxis - FrontAxis;
	const double Size[3] = {Max.x - Min.x, Max.y - Min.y, Max.z - Min.z};
	Verdict.UpSideFront = {Size[UpAxis], Size[SideAxis], Size[FrontAxis]};
	if (std::max({Size[0], Size[1], Size[2]}) <= 0.0)
	{
		Verdict.Error = "The model has no size.";
		return Verdict;
	}

	std::set<std::string> BoneNames;
	for (unsigned M = 0; M < Scene->mNumMeshes; ++M)
	{
		const aiMesh* Mesh = Scene->mMeshes[M];
		for (unsigned B = 0; B < Mesh->mNumBones; ++B)
		{
			BoneNames.insert(Mesh->mBones[B]->mName.C_Str());
		}
	}
	Verdict.Bones = static_cast<int>(BoneNames.size());
	Verdict.Readable = true;

	if (!BoneNames.empty())
	{
		// The whole skeleton is in the node tree (unweighted bones included), so read it all.
		std::vector<std::string> Names;
		CollectNodeNames(*Scene->mRootNode, Names);
		const std::string ByBones =
			FamilyFromBoneNames(Names, Verdict.UpSideFront[0], Verdict.UpSideFront[1], Verdict.UpSideFront[2]);
		if (!ByBones.empty())
		{
			Verdict.Family = ByBones;
			Verdict.Reason = "bone names";
			return Verdict;
		}
	}
	Verdict.Family = FamilyFromProportions(Verdict.UpSideFront[0], Verdict.UpSideFront[1], Verdict.UpSideFront[2]);
	char Reason[160];
	std::snprintf(Reason, sizeof Reason, "proportions up %.3g side %.3g front %.3g", Verdict.UpSideFront[0],
		Verdict.UpSideFront[1], Verdict.UpSideFront[2]);
	Verdict.Reason = Reason;
	return Verdict;
}
} // namespace tvsim
