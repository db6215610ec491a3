#include "ModelInspector.h"
#include "Persistence.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>

using namespace tvsim;

class FamilyOfTestModel : public ::testing::TestWithParam<std::pair<const char*, const char*>>
{
};

TEST_P(FamilyOfTestModel, IsDecidedFromTheModelNotTheName)
{
	const auto [File, Family] = GetParam();
	const auto Bytes = test::ModelBytes(File);
	if (!Bytes)
	{
		GTEST_SKIP() << File << " is not in " << test::ModelsDir();
	}
	// The file name given to the reader carries no family hint.
	const std::string Extension = std::string(File).substr(std::string(File).rfind('.'));
	const auto Verdict = InspectModel(*Bytes, "upload" + Extension);
	ASSERT_TRUE(Verdict.Readable) << Verdict.Error;
	EXPECT_EQ(Verdict.Family, Family) << Verdict.Reason;
	EXPECT_GE(Verdict.Meshes, 1);
}

INSTANTIATE_TEST_SUITE_P(TestData, FamilyOfTestModel,
	::testing::Values(std::pair{"humanoid_mesh.fbx", "humanoid"}, std::pair{"humanoid_mesh.glb", "humanoid"},
		std::pair{"quadruped_mesh.fbx", "quadruped"}, std::pair{"quadruped_mesh.glb", "quadruped"},
		std::pair{"bird_mesh.fbx", "bird"}, std::pair{"frog_mesh.fbx", "frog"},
		std::pair{"humanoid_anim.fbx", "humanoid"}, std::pair{"quadruped_anim.fbx", "quadruped"},
		std::pair{"bird_anim.fbx", "bird"}, std::pair{"frog_anim.fbx", "frog"}),
	[](const auto& Info) {
		std::string Name = Info.param.first;
		std::replace(Name.begin(), Name.end(), '.', '_');
		return Name;
	});

TEST(Family, FromProportionsInTheUpAxis)
{
	// Up, side-to-side, front-to-back.
	EXPECT_EQ(FamilyFromProportions(170, 50, 30), "humanoid");
	EXPECT_EQ(FamilyFromProportions(170, 170, 30), "humanoid"); // arms out
	EXPECT_EQ(FamilyFromProportions(60, 30, 100), "quadruped");
	EXPECT_EQ(FamilyFromProportions(60, 100, 30), "quadruped"); // standing side-on
	EXPECT_EQ(FamilyFromProportions(30, 80, 40), "bird");
	EXPECT_EQ(FamilyFromProportions(10, 20, 25), "frog");
}

TEST(Family, FromBoneNames)
{
	EXPECT_EQ(FamilyFromBoneNames({"Hips", "Spine", "LeftArm", "LeftForeArm", "LeftHand", "LeftUpLeg"}, 170, 50, 30), "humanoid");
	EXPECT_EQ(FamilyFromBoneNames({"Root", "Body", "LeftWing", "LeftWingTip"}, 30, 80, 40), "bird");
	EXPECT_EQ(FamilyFromBoneNames({"Pelvis", "Neck", "Tail", "FrontLeftUpper", "BackLeftLower"}, 60, 30, 100), "quadruped");
	EXPECT_EQ(FamilyFromBoneNames({"Root", "Body", "FrontLeftLeg", "BackLeftThigh", "BackLeftShin"}, 10, 20, 25), "frog");
	// Animal rigs that name the front legs "upper_arm" and "hand" are still animals when long and low.
	EXPECT_EQ(FamilyFromBoneNames({"spine", "upper_arm.L", "forearm.L", "hand.L", "thigh.L"}, 60, 30, 100), "quadruped");
	// Names that tell nothing leave it to the proportions.
	EXPECT_EQ(FamilyFromBoneNames({"Bone", "Bone.001", "Bone.002"}, 170, 50, 30), "");
}

TEST(Family, UnreadableUploadsFailWithASentence)
{
	const std::pair<std::string, std::string> Cases[] = {
		{"model.obj", "v 0 0 0\n"},
		{"model.fbx", ""},
		{"model.fbx", "this is not a model\n"},
		{"model.glb", std::string(64, '\x07')},
		{"model.dae", "<?xml version=\"1.0\"?><COLLADA"},
		{"model.zip", "PK\x03\x04 broken"},
	};
	for (const auto& [Name, Bytes] : Cases)
	{
		const auto Verdict = InspectModel(Bytes, Name);
		EXPECT_FALSE(Verdict.Readable) << Name;
		EXPECT_FALSE(Verdict.Error.empty()) << Name;
		EXPECT_EQ(Verdict.Error.back(), '.') << Name;
	}
	if (const auto Corrupt = test::ModelBytes("corrupt.fbx"))
	{
		EXPECT_FALSE(InspectModel(*Corrupt, "corrupt.fbx").Readable);
	}
}

TEST(Family, ZipUploadsAreUnpackedAndTheModelInsideIsRead)
{
	const auto Glb = test::ModelBytes("quadruped_mesh.glb");
	if (!Glb)
	{
		GTEST_SKIP() << "quadruped_mesh.glb is not in " << test::ModelsDir();
	}
	test::TempDir Dir;
	const std::string ZipPath = Dir.Path + "/pack.zip";
	zipFile Zip = zipOpen64(ZipPath.c_str(), APPEND_STATUS_CREATE);
	ASSERT_NE(Zip, nullptr);
	auto Add = [&](const char* Name, const std::string& Bytes) {
		zip_fileinfo Info{};
		ASSERT_EQ(zipOpenNewFileInZip64(Zip, Name, &Info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 6, 1), ZIP_OK);
		ASSERT_EQ(zipWriteInFileInZip(Zip, Bytes.data(), static_cast<unsigned>(Bytes.size())), ZIP_OK);
		zipCloseFileInZip(Zip);
	};
	Add("readme.txt", "a dog");
	Add("textures/skin.png", "not really a png");
	Add("dog/dog.glb", *Glb);
	Add("../escape.txt", "must not be written outside");
	zipClose(Zip, nullptr);

	const auto Verdict = InspectModel(*ReadWholeFile(ZipPath), "dog.zip");
	ASSERT_TRUE(Verdict.Readable) << Verdict.Error;
	EXPECT_EQ(Verdict.Family, "quadruped");

	// A zip without a model in it.
	const std::string Empty = Dir.Path + "/empty.zip";
	Zip = zipOpen64(Empty.c_str(), APPEND_STATUS_CREATE);
	Add("readme.txt", "nothing here");
	zipClose(Zip, nullptr);
	EXPECT_FALSE(InspectModel(*ReadWholeFile(Empty), "empty.zip").Readable);
}
