// FBX files through assimp, converted as the engine's FBX importer converts them (see FbxSceneReader.h).
#include "FbxSceneReader.h"
#include "Factories/FbxAnimSequenceImportData.h"
#include <algorithm>
#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/scene.h>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <numeric>
#include <set>

DEFINE_LOG_CATEGORY_STATIC(LogFbx, Log, All);

namespace
{
FHostMatrix FromAssimp(const aiMatrix4x4& A)
{
	FHostMatrix R;
	const ai_real* Src[4] = {&A.a1, &A.b1, &A.c1, &A.d1};
	for (int Row = 0; Row < 4; ++Row)
	{
		for (int Col = 0; Col < 4; ++Col)
		{
			R.M[Row][Col] = (double)Src[Row][Col];
		}
	}
	return R;
}

int32 MetaInt(const aiScene* Scene, const char* Key, int32 Default)
{
	int32 Value = Default;
	if (Scene->mMetaData && Scene->mMetaData->Get(Key, Value))
	{
		return Value;
	}
	return Default;
}

double MetaDouble(const aiScene* Scene, const char* Key, double Default)
{
	if (!Scene->mMetaData)
	{
		return Default;
	}
	double AsDouble = 0.0;
	if (Scene->mMetaData->Get(Key, AsDouble))
	{
		return AsDouble;
	}
	float AsFloat = 0.0f;
	if (Scene->mMetaData->Get(Key, AsFloat))
	{
		return (double)AsFloat;
	}
	return Default;
}

/**
 * What assimp leaves out of its scene: the header's creator and the node class of each model. Binary files are
 * walked record by record (every record states where it ends), text files line by line.
 */
class FFbxFactsReader
{
public:
	FFbxFactsReader(std::string& InCreator, std::map<std::string, std::string>& InModelClasses)
		: Creator(InCreator)
		, ModelClasses(InModelClasses)
	{
	}

	void Read(const std::string& Path)
	{
		std::ifstream File(Path, std::ios::binary);
		Data.assign(std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>());
		static const char Magic[] = "Kaydara FBX Binary  ";
		if (Data.size() > 27 && Data.compare(0, sizeof(Magic) - 1, Magic) == 0)
		{
			const uint32 Version = ReadU32(23);
			bWide = Version >= 7500;
			ReadList(27, Data.size(), "");
		}
		else
		{
			ReadText();
		}
		if (Creator.empty())
		{
			Creator = TopCreator;
		}
	}

private:
	uint32 ReadU32(size_t At) const
	{
		uint32 Value = 0;
		if (At + 4 <= Data.size())
		{
			std::memcpy(&Value, Data.data() + At, 4);
		}
		return Value;
	}
	uint64 ReadU64(size_t At) const
	{
		uint64 Value = 0;
		if (At + 8 <= Data.size())
		{
			std::memcpy(&Value, Data.data() + At, 8);
		}
		return Value;
	}

	/** The string properties of a record, in order (other properties are skipped). */
	std::vector<std::string> ReadStrings(size_t At, size_t End) const
	{
		std::vector<std::string> Strings;
		while (At < End && At < Data.size())
		{
			const char Type = Data[At++];
			switch (Type)
			{
				case 'C':
					At += 1;
					break;
				case 'Y':
					At += 2;
					break;
				case 'I':
				case 'F':
					At += 4;
					break;
				case 'D':
				case 'L':
					At += 8;
					break;
				case 'f':
				case 'd':
				case 'l':
				case 'i':
				case 'b':
					At += 12 + (size_t)ReadU32(At + 8);
					break;
				case 'S':
				case 'R':
				{
					const size_t Length = ReadU32(At);
					if (Type == 'S' && At + 4 + Length <= Data.size())
					{
						Strings.push_back(Data.substr(At + 4, Length));
					}
					At += 4 + Length;
					break;
				}
				default:
					return Strings;
			}
		}
		return Strings;
	}

	void ReadList(size_t At, size_t End, const std::string& Parent)
	{
		const size_t HeaderSize = bWide ? 25 : 13;
		while (At + HeaderSize <= End && At + HeaderSize <= Data.size())
		{
			const uint64 RecordEnd = bWide ? ReadU64(At) : ReadU32(At);
			const uint64 PropertyBytes = bWide ? ReadU64(At + 16) : ReadU32(At + 8);
			const size_t NameLength = (uint8)Data[At + HeaderSize - 1];
			if (RecordEnd == 0 || RecordEnd <= At || RecordEnd > Data.size())
			{
				return;
			}
			const std::string Name = Data.substr(At + HeaderSize, NameLength);
			const size_t Properties = At + HeaderSize + NameLength;
			const size_t Children = Properties + (size_t)PropertyBytes;
			if (Name == "Creator" || (Name == "Model" && Parent == "Objects"))
			{
				const std::vector<std::string> Strings = ReadStrings(Properties, Children);
				if (Name == "Creator" && !Strings.empty())
				{
					(Parent == "FBXHeaderExtension" ? Creator : TopCreator) = Strings[0];
				}
				else if (Name == "Model" && Strings.size() >= 2)
				{
					// Binary names are "<name>\0\1Model".
					const std::string ModelName = Strings[0].substr(0, Strings[0].find('\0'));
					ModelClasses.emplace(ModelName, Strings[1]);
				}
			}
			else if ((Name == "FBXHeaderExtension" || Name == "Objects") && Children < RecordEnd)
			{
				ReadList(Children, (size_t)RecordEnd, Name);
			}
			At = (size_t)RecordEnd;
		}
	}

	/** The quoted strings of a text line, in order. */
	static std::vector<std::string> Quoted(const std::string& Line)
	{
		std::vector<std::string> Strings;
		size_t At = 0;
		while ((At = Line.find('"', At)) != std::string::npos)
		{
			const size_t Close = Line.find('"', At + 1);
			if (Close == std::string::npos)
			{
				break;
			}
			Strings.push_back(Line.substr(At + 1, Close - At - 1));
			At = Close + 1;
		}
		return Strings;
	}

	void ReadText()
	{
		size_t At = 0;
		while (At < Data.size())
		{
			size_t LineEnd = Data.find('\n', At);
			if (LineEnd == std::string::npos)
			{
				LineEnd = Data.size();
			}
			std::string Line = Data.substr(At, LineEnd - At);
			At = LineEnd + 1;
			const size_t First = Line.find_first_not_of(" \t");
			if (First == std::string::npos)
			{
				continue;
			}
			Line.erase(0, First);
			if (Line.rfind("Creator:", 0) == 0)
			{
				const std::vector<std::string> Strings = Quoted(Line);
				if (!Strings.empty() && Creator.empty())
				{
					Creator = Strings[0];
				}
			}
			else if (Line.rfind("Model:", 0) == 0)
			{
				const std::vector<std::string> Strings = Quoted(Line);
				if (Strings.size() >= 2)
				{
					std::string ModelName = Strings[0];
					if (ModelName.rfind("Model::", 0) == 0)
					{
						ModelName.erase(0, 7);
					}
					ModelClasses.emplace(ModelName, Strings[1]);
				}
			}
		}
	}

	std::string& Creator;
	std::string TopCreator;
	std::map<std::string, std::string>& ModelClasses;
	std::string Data;
	bool bWide = false;
};

FQuat QuatFromRotation(const double R[3][3])
{
	const double Trace = R[0][0] + R[1][1] + R[2][2];
	FQuat Q;
	if (Trace > 0.0)
	{
		const double S = 0.5 / std::sqrt(Trace + 1.0);
		Q = FQuat((R[2][1] - R[1][2]) * S, (R[0][2] - R[2][0]) * S, (R[1][0] - R[0][1]) * S, 0.25 / S);
	}
	else if (R[0][0] > R[1][1] && R[0][0] > R[2][2])
	{
		const double S = 2.0 * std::sqrt(1.0 + R[0][0] - R[1][1] - R[2][2]);
		Q = FQuat(0.25 * S, (R[0][1] + R[1][0]) / S, (R[0][2] + R[2][0]) / S, (R[2][1] - R[1][2]) / S);
	}
	else if (R[1][1] > R[2][2])
	{
		const double S = 2.0 * std::sqrt(1.0 + R[1][1] - R[0][0] - R[2][2]);
		Q = FQuat((R[0][1] + R[1][0]) / S, 0.25 * S, (R[1][2] + R[2][1]) / S, (R[0][2] - R[2][0]) / S);
	}
	else
	{
		const double S = 2.0 * std::sqrt(1.0 + R[2][2] - R[0][0] - R[1][1]);
		Q = FQuat((R[0][2] + R[2][0]) / S, (R[1][2] + R[2][1]) / S, 0.25 * S, (R[1][0] - R[0][1]) / S);
	}
	Q.Normalize();
	// One sign for the same rotation, so stored keys do not flip between equivalent quaternions.
	if (Q.W < 0.0)
	{
		Q = FQuat(-Q.X, -Q.Y, -Q.Z, -Q.W);
	}
	return Q;
}

template <typename KeyType>
size_t FindKey(const KeyType* Keys, unsigned int Num, double Time)
{
	// The last key at or before Time (keys are sorted by time).
	size_t Low = 0;
	size_t High = Num;
	while (High - Low > 1)
	{
		const size_t Mid = (Low + High) / 2;
		if (Keys[Mid].mTime <= Time)
		{
			Low = Mid;
		}
		else
		{
			High = Mid;
		}
	}
	return Low;
}

aiVector3D SampleVector(const aiVectorKey* Keys, unsigned int Num, double Time, const aiVector3D& Default)
{
	if (Num == 0)
	{
		return Default;
	}
	const size_t Index = FindKey(Keys, Num, Time);
	if (Index + 1 >= Num || Time <= Keys[Index].mTime)
	{
		return Keys[Index].mValue;
	}
	const double Span = Keys[Index + 1].mTime - Keys[Index].mTime;
	const ai_real Alpha = (ai_real)(Span > 0.0 ? (Time - Keys[Index].mTime) / Span : 0.0);
	return Keys[Index].mValue + (Keys[Index + 1].mValue - Keys[Index].mValue) * Alpha;
}

aiQuaternion SampleQuat(const aiQuatKey* Keys, unsigned int Num, double Time, const aiQuaternion& Default)
{
	if (Num == 0)
	{
		return Default;
	}
	const size_t Index = FindKey(Keys, Num, Time);
	if (Index + 1 >= Num || Time <= Keys[Index].mTime)
	{
		return Keys[Index].mValue;
	}
	const double Span = Keys[Index + 1].mTime - Keys[Index].mTime;
	const ai_real Alpha = (ai_real)(Span > 0.0 ? (Time - Keys[Index].mTime) / Span : 0.0);
	aiQuaternion Out;
	aiQuaternion::Interpolate(Out, Keys[Index].mValue, Keys[Index + 1].mValue, Alpha);
	return Out.Normalize();
}

bool IsWhole(double Value, double Tolerance)
{
	return std::fabs(Value - std::round(Value)) <= Tolerance;
}
} // namespace

FString HostStripNamespace(const char* Name)
{
	FString Text((int32)std::strlen(Name), (const UTF8CHAR*)Name);
	int32 Colon = INDEX_NONE;
	if (Text.FindLastChar(':', Colon))
	{
		Text.RightChopInline(Colon + 1);
	}
	return Text;
}

const TCHAR* const HostFbxMultipleRootsMessage =
	TEXT("Multiple roots are found in the bone hierarchy. We only support single root bone.");

FString HostFbxBoneName(const char* Name)
{
	FString Text = HostStripNamespace(Name);
	for (const TCHAR Special : {TEXT('.'), TEXT(','), TEXT('/'), TEXT('`'), TEXT('%')})
	{
		Text.ReplaceCharInline(Special, TEXT('_'));
	}
	Text.TrimStartAndEndInline();
	Text.ReplaceCharInline(TEXT(' '), TEXT('-'));
	return Text;
}

FHostMatrix FHostMatrix::operator*(const FHostMatrix& B) const
{
	FHostMatrix R;
	for (int Row = 0; Row < 4; ++Row)
	{
		for (int Col = 0; Col < 4; ++Col)
		{
			double Sum = 0.0;
			for (int K = 0; K < 4; ++K)
			{
				Sum += M[Row][K] * B.M[K][Col];
			}
			R.M[Row][Col] = Sum;
		}
	}
	return R;
}

FHostMatrix FHostMatrix::Inverse() const
{
	// Affine inverse: invert the 3x3 part by cofactors, then the translation.
	const double(&A)[4][4] = M;
	const double C00 = A[1][1] * A[2][2] - A[1][2] * A[2][1];
	const double C01 = A[1][2] * A[2][0] - A[1][0] * A[2][2];
	const double C02 = A[1][0] * A[2][1] - A[1][1] * A[2][0];
	const double Det = A[0][0] * C00 + A[0][1] * C01 + A[0][2] * C02;
	FHostMatrix R;
	if (std::fabs(Det) < 1e-300)
	{
		return R;
	}
	const double InvDet = 1.0 / Det;
	R.M[0][0] = C00 * InvDet;
	R.M[0][1] = (A[0][2] * A[2][1] - A[0][1] * A[2][2]) * InvDet;
	R.M[0][2] = (A[0][1] * A[1][2] - A[0][2] * A[1][1]) * InvDet;
	R.M[1][0] = C01 * InvDet;
	R.M[1][1] = (A[0][0] * A[2][2] - A[0][2] * A[2][0]) * InvDet;
	R.M[1][2] = (A[0][2] * A[1][0] - A[0][0] * A[1][2]) * InvDet;
	R.M[2][0] = C02 * InvDet;
	R.M[2][1] = (A[0][1] * A[2][0] - A[0][0] * A[2][1]) * InvDet;
	R.M[2][2] = (A[0][0] * A[1][1] - A[0][1] * A[1][0]) * InvDet;
	for (int Row = 0; Row < 3; ++Row)
	{
		R.M[Row][3] = -(R.M[Row][0] * A[0][3] + R.M[Row][1] * A[1][3] + R.M[Row][2] * A[2][3]);
	}
	return R;
}

FVector FHostMatrix::TransformPoint(const FVector& P) const
{
	return FVector(M[0][0] * P.X + M[0][1] * P.Y + M[0][2] * P.Z + M[0][3],
		M[1][0] * P.X + M[1][1] * P.Y + M[1][2] * P.Z + M[1][3], M[2][0] * P.X + M[2][1] * P.Y + M[2][2] * P.Z + M[2][3]);
}

FTransform FHostMatrix::ToTransform() const
{
	double Scale[3];
	for (int Col = 0; Col < 3; ++Col)
	{
		Scale[Col] = std::sqrt(M[0][Col] * M[0][Col] + M[1][Col] * M[1][Col] + M[2][Col] * M[2][Col]);
	}
	const double Det = M[0][0] * (M[1][1] * M[2][2] - M[1][2] * M[2][1]) - M[0][1] * (M[1][0] * M[2][2] - M[1][2] * M[2][0]) +
		M[0][2] * (M[1][0] * M[2][1] - M[1][1] * M[2][0]);
	if (Det < 0.0)
	{
		Scale[0] = -Scale[0];
	}
	double R[3][3];
	for (int Row = 0; Row < 3; ++Row)
	{
		for (int Col = 0; Col < 3; ++Col)
		{
			R[Row][Col] = Scale[Col] != 0.0 ? M[Row][Col] / Scale[Col] : (Row == Col ? 1.0 : 0.0);
		}
	}
	return FTransform(QuatFromRotation(R), FVector(M[0][3], M[1][3], M[2][3]), FVector(Scale[0], Scale[1], Scale[2]));
}

FHostMatrix FHostMatrix::FromTransform(const FVector& T, const FQuat& Q, const FVector& S)
{
	FHostMatrix R;
	const FVector X = Q.RotateVector(FVector(S.X, 0, 0));
	const FVector Y = Q.RotateVector(FVector(0, S.Y, 0));
	const FVector Z = Q.RotateVector(FVector(0, 0, S.Z));
	R.M[0][0] = X.X;
	R.M[1][0] = X.Y;
	R.M[2][0] = X.Z;
	R.M[0][1] = Y.X;
	R.M[1][1] = Y.Y;
	R.M[2][1] = Y.Z;
	R.M[0][2] = Z.X;
	R.M[1][2] = Z.Y;
	R.M[2][2] = Z.Z;
	R.M[0][3] = T.X;
	R.M[1][3] = T.Y;
	R.M[2][3] = T.Z;
	return R;
}

FHostFbxScene::FHostFbxScene()
	: Importer(new Assimp::Importer())
{
}

FHostFbxScene::~FHostFbxScene() = default;

bool FHostFbxScene::Open(const FString& Filename, FString& OutError)
{
	// Pivot helper nodes would otherwise become bones; materials, textures, cameras and lights are not needed.
	Importer->SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, false);
	Importer->SetPropertyBool(AI_CONFIG_IMPORT_FBX_READ_CAMERAS, false);
	Importer->SetPropertyBool(AI_CONFIG_IMPORT_FBX_READ_LIGHTS, false);
	Importer->SetPropertyBool(AI_CONFIG_IMPORT_FBX_READ_TEXTURES, false);
	Scene = Importer->ReadFile(FTCHARToUTF8(*Filename).Get(), 0);
	if (!Scene || !Scene->mRootNode)
	{
		const char* Reason = Importer->GetErrorString();
		OutError = FString((int32)std::strlen(Reason), (const UTF8CHAR*)Reason);
		Scene = nullptr;
		return false;
	}

	// Axis conversion A: the file's right (coord), up and front axes go to +X, +Z and -Y, as the FBX SDK's
	// conversion to Z up, front -Y does; then N negates Y into the engine's left-handed frame.
	const int32 UpAxis = MetaInt(Scene, "UpAxis", 1);
	const int32 UpSign = MetaInt(Scene, "UpAxisSign", 1) < 0 ? -1 : 1;
	const int32 FrontAxis = MetaInt(Scene, "FrontAxis", 2);
	const int32 FrontSign = MetaInt(Scene, "FrontAxisSign", 1) < 0 ? -1 : 1;
	const int32 CoordAxis = MetaInt(Scene, "CoordAxis", 0);
	const int32 CoordSign = MetaInt(Scene, "CoordAxisSign", 1) < 0 ? -1 : 1;
	FHostMatrix A;
	A.M[0][0] = A.M[1][1] = A.M[2][2] = 0.0;
	const bool bAxesValid = UpAxis >= 0 && UpAxis < 3 && FrontAxis >= 0 && FrontAxis < 3 && CoordAxis >= 0 && CoordAxis < 3 &&
		UpAxis != FrontAxis && UpAxis != CoordAxis && FrontAxis != CoordAxis;
	if (bAxesValid)
	{
		A.M[0][CoordAxis] = CoordSign;
		A.M[2][UpAxis] = UpSign;
		A.M[1][FrontAxis] = -FrontSign;
	}
	else
	{
		A.M[0][0] = 1.0;
		A.M[1][2] = -1.0;
		A.M[2][1] = 1.0;
	}
	FileAxes = A;
	UnitScaleFactor = MetaDouble(Scene, "UnitScaleFactor", 1.0);
	Mirror.M[1][1] = -1.0;

	// The creator and the node classes come from the file itself: assimp keeps neither.
	std::string CreatorText;
	FFbxFactsReader(CreatorText, ModelClasses).Read(FTCHARToUTF8(*Filename).Get());
	Creator = FString((int32)CreatorText.size(), (const UTF8CHAR*)CreatorText.data());
	SetTransformOptions(nullptr);
	return true;
}

void FHostFbxScene::SetTransformOptions(const UFbxAssetImportData* Settings)
{
	const bool bConvertScene = Settings ? Settings->bConvertScene : true;
	const bool bForceFrontX = Settings ? Settings->bForceFrontXAxis : false;
	const bool bConvertUnit = Settings ? Settings->bConvertSceneUnit : false;
	FHostMatrix Conversion = bConvertScene ? FileAxes : FHostMatrix();
	if (bConvertScene && bForceFrontX)
	{
		// Front +X instead of -Y: a quarter turn about Z after the conversion.
		FHostMatrix Turn;
		Turn.M[0][0] = 0.0;
		Turn.M[0][1] = -1.0;
		Turn.M[1][0] = 1.0;
		Turn.M[1][1] = 0.0;
		Conversion = Turn * Conversion;
	}
	if (bConvertUnit && UnitScaleFactor > 0.0 && UnitScaleFactor != 1.0)
	{
		// The file's unit is UnitScaleFactor centimetres.
		FHostMatrix Unit;
		Unit.M[0][0] = Unit.M[1][1] = Unit.M[2][2] = UnitScaleFactor;
		Conversion = Unit * Conversion;
	}
	AxisToEngine = Mirror * Conversion;
	if (Settings)
	{
		// The import transform acts in the engine's frame, after the conversion.
		const double Scale = (double)Settings->ImportUniformScale;
		const FHostMatrix Import = FHostMatrix::FromTransform(
			Settings->ImportTranslation, Settings->ImportRotation.Quaternion(), FVector(Scale, Scale, Scale));
		AxisToEngine = Import * AxisToEngine;
	}
}

bool FHostFbxScene::IsFromBlender() const
{
	return Creator.StartsWith(TEXT("Blender"), ESearchCase::IgnoreCase);
}

bool FHostFbxScene::HasSkinnedMesh() const
{
	for (unsigned int Index = 0; Scene && Index < Scene->mNumMeshes; ++Index)
	{
		if (Scene->mMeshes[Index]->mNumBones > 0)
		{
			return true;
		}
	}
	return false;
}

bool FHostFbxScene::HasMesh() const
{
	return Scene && Scene->mNumMeshes > 0;
}

int32 FHostFbxScene::GetNumTakes() const
{
	return Scene ? (int32)Scene->mNumAnimations : 0;
}

FString FHostFbxScene::GetTakeName(int32 TakeIndex) const
{
	FString Name = HostStripNamespace(Scene->mAnimations[TakeIndex]->mName.C_Str());
	Name.RemoveFromStart(TEXT("AnimStack::"));
	return Name;
}

FHostMatrix FHostFbxScene::NodeGlobal(const aiNode* Node) const
{
	FHostMatrix Global;
	for (const aiNode* Each = Node; Each; Each = Each->mParent)
	{
		Global = FromAssimp(Each->mTransformation) * Global;
	}
	return Global;
}

FHostMatrix FHostFbxScene::ToEngineGlobal(const FHostMatrix& Global) const
{
	// The conversion applies to the scene's roots and the mirror to every level, so a global transform G becomes
	// K * G * N: points go through K, and each bone's own axes are mirrored once.
	return AxisToEngine * Global * Mirror;
}

bool FHostFbxScene::IsBlenderArmatureNull(const aiNode* Node) const
{
	if (!Node || Node->mParent != Scene->mRootNode || !IsFromBlender())
	{
		return false;
	}
	const FString Name((int32)Node->mName.length, (const UTF8CHAR*)Node->mName.C_Str());
	if (!Name.Equals(TEXT("armature"), ESearchCase::IgnoreCase))
	{
		return false;
	}
	// Only a null: an armature node that declares itself a skeleton stays a bone.
	const auto Found = ModelClasses.find(Node->mName.C_Str());
	return Found == ModelClasses.end() || Found->second == "Null";
}

const aiNode* FHostFbxScene::RootSkeletonOf(const aiNode* Link) const
{
	while (Link && Link->mParent && Link->mParent != Scene->mRootNode)
	{
		if (IsBlenderArmatureNull(Link->mParent))
		{
			break;
		}
		Link = Link->mParent;
	}
	return Link;
}

bool FHostFbxScene::BuildReferenceSkeleton(FReferenceSkeleton& OutSkeleton, TArray<FName>& OutWeightedBones, FString& OutError) const
{
	if (!Scene || Scene->mNumMeshes == 0)
	{
		OutError = TEXT("The file holds no mesh.");
		return false;
	}
	// Bind pose of every skinned joint: the mesh node's global transform times the inverse of the bone's offset.
	std::map<std::string, FHostMatrix> BindPose;
	const aiNode* FirstBoneNode = nullptr;
	for (unsigned int MeshIndex = 0; MeshIndex < Scene->mNumMeshes; ++MeshIndex)
	{
		const aiMesh* Mesh = Scene->mMeshes[MeshIndex];
		for (unsigned int BoneIndex = 0; BoneIndex < Mesh->mNumBones; ++BoneIndex)
		{
			const aiBone* Bone = Mesh->mBones[BoneIndex];
			const std::string Name = Bone->mName.C_Str();
			if (BindPose.count(Name))
			{
				continue;
			}
			const aiNode* MeshNode = nullptr;
			std::function<const aiNode*(const aiNode*)> FindMeshNode = [&](const aiNode* Node) -> const aiNode*
			{
				for (unsigned int Index = 0; Index < Node->mNumMeshes; ++Index)
				{
					if (Node->mMeshes[Index] == MeshIndex)
					{
						return Node;
					}
				}
				for (unsigned int Index = 0; Index < Node->mNumChildren; ++Index)
				{
					if (const aiNode* Found = FindMeshNode(Node->mChildren[Index]))
					{
						return Found;
					}
				}
				return nullptr;
			};
			MeshNode = FindMeshNode(Scene->mRootNode);
			const FHostMatrix MeshGlobal = MeshNode ? NodeGlobal(MeshNode) : FHostMatrix();
			BindPose[Name] = MeshGlobal * FromAssimp(Bone->mOffsetMatrix).Inverse();
			if (!FirstBoneNode)
			{
				FirstBoneNode = Scene->mRootNode->FindNode(Bone->mName);
			}
			OutWeightedBones.Add(FName(*HostFbxBoneName(Name.c_str())));
		}
	}

	const aiNode* Root = nullptr;
	if (FirstBoneNode)
	{
		// Every skinned joint climbs to its root; the engine takes one root only.
		for (const auto& Joint : BindPose)
		{
			const aiNode* JointNode = Scene->mRootNode->FindNode(Joint.first.c_str());
			const aiNode* JointRoot = JointNode ? RootSkeletonOf(JointNode) : nullptr;
			if (JointRoot && Root && JointRoot != Root)
			{
				OutError = HostFbxMultipleRootsMessage;
				return false;
			}
			Root = Root ? Root : JointRoot;
		}
	}
	if (!Root)
	{
		// A mesh without skin comes in as a rigid mesh: one bone for the node that holds it.
		std::function<const aiNode*(const aiNode*)> FindFirstMeshNode = [&](const aiNode* Node) -> const aiNode*
		{
			if (Node->mNumMeshes > 0)
			{
				return Node;
			}
			for (unsigned int Index = 0; Index < Node->mNumChildren; ++Index)
			{
				if (const aiNode* Found = FindFirstMeshNode(Node->mChildren[Index]))
				{
					return Found;
				}
			}
			return nullptr;
		};
		const aiNode* MeshNode = FindFirstMeshNode(Scene->mRootNode);
		if (!MeshNode)
		{
			OutError = TEXT("The file holds no mesh.");
			return false;
		}
		FReferenceSkeletonModifier Modifier(OutSkeleton, nullptr);
		const FName Name(*HostFbxBoneName(MeshNode->mName.C_Str()));
		Modifier.Add(FMeshBoneInfo(Name, Name.ToString(), INDEX_NONE), ToEngineGlobal(NodeGlobal(MeshNode)).ToTransform());
		OutWeightedBones.Add(Name);
		return true;
	}

	// Walk the root's subtree parents first; mesh nodes that are not joints are left out.
	FReferenceSkeletonModifier Modifier(OutSkeleton, nullptr);
	std::vector<FHostMatrix> EngineGlobals;
	bool bDuplicate = false;
	FString DuplicateName;
	std::function<void(const aiNode*, int32)> Visit = [&](const aiNode* Node, int32 ParentIndex)
	{
		const std::string RawName = Node->mName.C_Str();
		const bool bIsJoint = BindPose.count(RawName) > 0;
		const bool bHelper = RawName.find("$AssimpFbx$") != std::string::npos;
		int32 ThisIndex = ParentIndex;
		if (!bHelper && (bIsJoint || Node->mNumMeshes == 0))
		{
			const FName Name(*HostFbxBoneName(RawName.c_str()));
			if (OutSkeleton.FindBoneIndex(Name) != INDEX_NONE)
			{
				bDuplicate = true;
				DuplicateName = Name.ToString();
				return;
			}
			const FHostMatrix Global = ToEngineGlobal(bIsJoint ? BindPose[RawName] : NodeGlobal(Node));
			const FHostMatrix Local = ParentIndex == INDEX_NONE ? Global : EngineGlobals[(size_t)ParentIndex].Inverse() * Global;
			Modifier.Add(FMeshBoneInfo(Name, Name.ToString(), ParentIndex), Local.ToTransform());
			EngineGlobals.push_back(Global);
			ThisIndex = OutSkeleton.GetNum() - 1;
		}
		for (unsigned int Index = 0; Index < Node->mNumChildren; ++Index)
		{
			Visit(Node->mChildren[Index], ThisIndex);
		}
	};
	Visit(Root, INDEX_NONE);
	if (bDuplicate)
	{
		OutError = FString::Printf(
			TEXT("Duplicate bone name found ('%s'). Each bone must have a unique name."), *DuplicateName);
		return false;
	}
	if (OutSkeleton.GetNum() == 0)
	{
		OutError = TEXT("The file's skeleton has no bones.");
		return false;
	}
	return true;
}

FBox FHostFbxScene::ComputeBounds(int32& OutNumVertices, int32& OutNumTriangles) const
{
	FBox Box(ForceInit);
	OutNumVertices = 0;
	OutNumTriangles = 0;
	std::function<void(const aiNode*, const FHostMatrix&)> Visit = [&](const aiNode* Node, const FHostMatrix& ParentGlobal)
	{
		const FHostMatrix Global = ParentGlobal * FromAssimp(Node->mTransformation);
		if (Node->mNumMeshes > 0)
		{
			const FHostMatrix ToEngine = AxisToEngine * Global;
			for (unsigned int Index = 0; Index < Node->mNumMeshes; ++Index)
			{
				const aiMesh* Mesh = Scene->mMeshes[Node->mMeshes[Index]];
				OutNumVertices += (int32)Mesh->mNumVertices;
				for (unsigned int Face = 0; Face < Mesh->mNumFaces; ++Face)
				{
					// A polygon of n corners is n - 2 triangles once triangulated.
					const unsigned int Corners = Mesh->mFaces[Face].mNumIndices;
					OutNumTriangles += Corners >= 3 ? (int32)(Corners - 2) : 0;
				}
				for (unsigned int Vertex = 0; Vertex < Mesh->mNumVertices; ++Vertex)
				{
					const aiVector3D& P = Mesh->mVertices[Vertex];
					Box += ToEngine.TransformPoint(FVector(P.x, P.y, P.z));
				}
			}
		}
		for (unsigned int Index = 0; Index < Node->mNumChildren; ++Index)
		{
			Visit(Node->mChildren[Index], Global);
		}
	};
	if (Scene)
	{
		Visit(Scene->mRootNode, FHostMatrix());
	}
	return Box;
}

const aiNode* FHostFbxScene::FindSkeletonRootNode(const FReferenceSkeleton& Skeleton) const
{
	if (!Scene || Skeleton.GetNum() == 0)
	{
		return nullptr;
	}
	// The raw name first, then the name the importer would give each node.
	const FString RootName = Skeleton.GetBoneName(0).ToString();
	if (const aiNode* Exact = Scene->mRootNode->FindNode(FTCHARToUTF8(*RootName).Get()))
	{
		return Exact;
	}
	const aiNode* Found = nullptr;
	std::function<void(const aiNode*)> Visit = [&](const aiNode* Node)
	{
		if (Found)
		{
			return;
		}
		if (Node != Scene->mRootNode && HostFbxBoneName(Node->mName.C_Str()).Equals(RootName, ESearchCase::IgnoreCase))
		{
			Found = Node;
			return;
		}
		for (unsigned int Index = 0; Index < Node->mNumChildren; ++Index)
		{
			Visit(Node->mChildren[Index]);
		}
	};
	Visit(Scene->mRootNode);
	return Found;
}

bool FHostFbxScene::SampleTake(int32 TakeIndex, const FReferenceSkeleton& Skeleton, const UFbxAnimSequenceImportData* Settings,
	FHostSampledTake& OutTake, FString& OutError) const
{
	const aiAnimation* Anim = Scene->mAnimations[TakeIndex];
	OutTake.Name = GetTakeName(TakeIndex);
	const double TicksPerSecond = Anim->mTicksPerSecond > 0.0 ? Anim->mTicksPerSecond : 30.0;

	const aiNode* RootNode = FindSkeletonRootNode(Skeleton);
	if (!RootNode)
	{
		OutError = TEXT("The file lacks the skeleton's root bone.");
		return false;
	}

	// The links: the root node and the bone-like nodes below it (mesh nodes and assimp's helpers are not bones).
	struct FLink
	{
		const aiNode* Node;
		const aiNodeAnim* Channel;
		FName Name;
	};
	std::vector<FLink> Links;
	std::function<void(const aiNode*)> Collect = [&](const aiNode* Node)
	{
		const std::string RawName = Node->mName.C_Str();
		const bool bBoneLike =
			Node == RootNode || (Node->mNumMeshes == 0 && RawName.find("$AssimpFbx$") == std::string::npos);
		if (!bBoneLike)
		{
			return;
		}
		const FString Name = HostFbxBoneName(RawName.c_str());
		if (Skeleton.FindBoneIndex(FName(*Name)) == INDEX_NONE)
		{
			OutTake.UnknownBones.Add(Name);
		}
		else if (std::none_of(Links.begin(), Links.end(),
					 [&Name](const FLink& Link)
					 {
						 return Link.Name == FName(*Name);
					 }))
		{
			const aiNodeAnim* Channel = nullptr;
			for (unsigned int Index = 0; Index < Anim->mNumChannels && !Channel; ++Index)
			{
				if (Anim->mChannels[Index]->mNodeName == Node->mName)
				{
					Channel = Anim->mChannels[Index];
				}
			}
			Links.push_back({Node, Channel, FName(*Name)});
		}
		for (unsigned int Index = 0; Index < Node->mNumChildren; ++Index)
		{
			Collect(Node->mChildren[Index]);
		}
	};
	Collect(RootNode);
	std::vector<const aiNodeAnim*> Channels;
	for (const FLink& Link : Links)
	{
		if (Link.Channel)
		{
			Channels.push_back(Link.Channel);
		}
	}

	// Sample rate: the lowest that hits every key (the file's frame rate in practice), or the settings' fixed one.
	double Rate = 30.0;
	if (Settings && Settings->bUseDefaultSampleRate)
	{
		Rate = 30.0;
	}
	else if (Settings && Settings->CustomSampleRate > 0)
	{
		Rate = Settings->CustomSampleRate;
	}
	else if (IsWhole(TicksPerSecond, 1e-6))
	{
		int64 Divisor = 0;
		bool bAllWhole = true;
		auto Note = [&](double Tick)
		{
			if (!IsWhole(Tick, 1e-4))
			{
				bAllWhole = false;
				return;
			}
			Divisor = std::gcd(Divisor, (int64)std::llround(std::fabs(Tick)));
		};
		for (const aiNodeAnim* Channel : Channels)
		{
			for (unsigned int Key = 0; Key < Channel->mNumPositionKeys; ++Key)
			{
				Note(Channel->mPositionKeys[Key].mTime);
			}
			for (unsigned int Key = 0; Key < Channel->mNumRotationKeys; ++Key)
			{
				Note(Channel->mRotationKeys[Key].mTime);
			}
			for (unsigned int Key = 0; Key < Channel->mNumScalingKeys; ++Key)
			{
				Note(Channel->mScalingKeys[Key].mTime);
			}
		}
		const int64 Ticks = (int64)std::llround(TicksPerSecond);
		Rate = (double)Ticks;
		if (bAllWhole && Divisor > 1 && Ticks % Divisor == 0)
		{
			Rate = (double)(Ticks / Divisor);
		}
	}
	else
	{
		Rate = TicksPerSecond;
	}

	// Time span in ticks: the take's exported span, its first to last key, or the settings' frame range.
	double Start = 0.0;
	double Stop = Anim->mDuration;
	const EFBXAnimationLengthImportType Length =
		Settings ? (EFBXAnimationLengthImportType)Settings->AnimationLength.GetValue() : FBXALIT_ExportedTime;
	if (Length == FBXALIT_AnimatedKey)
	{
		Start = 1e300;
		Stop = -1e300;
		for (const aiNodeAnim* Channel : Channels)
		{
			if (Channel->mNumPositionKeys > 0)
			{
				Start = std::min(Start, Channel->mPositionKeys[0].mTime);
				Stop = std::max(Stop, Channel->mPositionKeys[Channel->mNumPositionKeys - 1].mTime);
			}
			if (Channel->mNumRotationKeys > 0)
			{
				Start = std::min(Start, Channel->mRotationKeys[0].mTime);
				Stop = std::max(Stop, Channel->mRotationKeys[Channel->mNumRotationKeys - 1].mTime);
			}
		}
		if (Start > Stop)
		{
			Start = Stop = 0.0;
		}
	}
	else if (Length == FBXALIT_SetRange && Settings)
	{
		Start = (double)Settings->FrameImportRange.Min * TicksPerSecond / Rate;
		Stop = (double)Settings->FrameImportRange.Max * TicksPerSecond / Rate;
	}

	const double Seconds = (Stop - Start) / TicksPerSecond;
	if (Seconds <= 0.0)
	{
		OutError = FString::Printf(
			TEXT("Animation Stack %s does not contain any valid key. Try different time options when import."),
			*OutTake.Name);
		return false;
	}
	const double ExactFrames = Seconds * Rate;
	if (!IsWhole(ExactFrames, 1e-4) && !(Settings && Settings->bSnapToClosestFrameBoundary))
	{
		OutError = FString::Printf(
			TEXT("The take is %f frames long at %f frames per second, not a whole number of frames."), ExactFrames, Rate);
		return false;
	}
	OutTake.FrameRate = Rate;
	OutTake.NumberOfFrames = std::max(1, (int32)std::llround(ExactFrames));
	const int32 NumKeys = OutTake.NumberOfFrames + 1;

	const bool bBoneTracks = !Settings || Settings->bImportBoneTracks;
	if (!bBoneTracks)
	{
		return true;
	}
	for (const FLink& Link : Links)
	{
		const aiNode* Node = Link.Node;
		const aiNodeAnim* Channel = Link.Channel;
		const aiNode* Parent = Node->mParent;
		// The skeleton's root carries the axis conversion and whatever lies above it in the file (a Blender
		// armature null included); the other bones are only mirrored.
		const bool bTop = Node == RootNode;
		const FHostMatrix Above = Parent ? NodeGlobal(Parent) : FHostMatrix();
		aiVector3D DefaultT(0, 0, 0);
		aiVector3D DefaultS(1, 1, 1);
		aiQuaternion DefaultR;
		Node->mTransformation.Decompose(DefaultS, DefaultR, DefaultT);
		FRawAnimSequenceTrack Track;
		Track.PosKeys.Reserve(NumKeys);
		Track.RotKeys.Reserve(NumKeys);
		Track.ScaleKeys.Reserve(NumKeys);
		for (int32 Key = 0; Key < NumKeys; ++Key)
		{
			const double Time = Start + (double)Key * TicksPerSecond / Rate;
			const aiVector3D T =
				Channel ? SampleVector(Channel->mPositionKeys, Channel->mNumPositionKeys, Time, DefaultT) : DefaultT;
			const aiQuaternion R =
				Channel ? SampleQuat(Channel->mRotationKeys, Channel->mNumRotationKeys, Time, DefaultR) : DefaultR;
			const aiVector3D S =
				Channel ? SampleVector(Channel->mScalingKeys, Channel->mNumScalingKeys, Time, DefaultS) : DefaultS;
			const FHostMatrix Local = FHostMatrix::FromTransform(FVector(T.x, T.y, T.z), FQuat(R.x, R.y, R.z, R.w), FVector(S.x, S.y, S.z));
			const FHostMatrix Engine = bTop ? AxisToEngine * Above * Local * Mirror : Mirror * Local * Mirror;
			const FTransform Transform = Engine.ToTransform();
			Track.PosKeys.Add(FVector3f(Transform.GetTranslation()));
			Track.RotKeys.Add(FQuat4f(Transform.GetRotation()));
			Track.ScaleKeys.Add(FVector3f(Transform.GetScale3D()));
		}
		OutTake.TrackNames.Add(Link.Name);
		OutTake.Tracks.Add(MoveTemp(Track));
	}
	return true;
}
