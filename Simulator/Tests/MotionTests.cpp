#include "Motion.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tvsim;

namespace
{
std::vector<std::string> Primitives(const MotionPlan& Plan)
{
	std::vector<std::string> Out;
	for (const auto& S : Plan.Segments)
	{
		Out.push_back(S.Primitive);
	}
	return Out;
}
} // namespace

TEST(Motion, PrimitivesFollowThePromptAndTheFamily)
{
	EXPECT_EQ(Primitives(PlanMotion("a fox jumps", "quadruped")), std::vector<std::string>{"quad_jump"});
	EXPECT_EQ(Primitives(PlanMotion("Walks forward, then waves!", "humanoid")), (std::vector<std::string>{"walk", "wave"}));
	EXPECT_EQ(Primitives(PlanMotion("trots to the gate and sits", "quadruped")),
		(std::vector<std::string>{"quad_trot_forward", "quad_sit"}));
	EXPECT_EQ(Primitives(PlanMotion("takes off and flies", "bird")), (std::vector<std::string>{"bird_takeoff", "bird_fly"}));
	EXPECT_EQ(Primitives(PlanMotion("hops twice then croaks", "frog")),
		(std::vector<std::string>{"frog_hop", "frog_hop", "frog_croak"}));
	// An unknown family is planned as a person.
	EXPECT_EQ(Primitives(PlanMotion("jumps", "dragon")), std::vector<std::string>{"jump"});
}

TEST(Motion, LengthsModifiersAndPrice)
{
	const auto Trot = PlanMotion("trot", "quadruped");
	ASSERT_EQ(Trot.Segments.size(), 1u);
	EXPECT_DOUBLE_EQ(Trot.Segments[0].Seconds, 2.26);
	EXPECT_EQ(Trot.Cost, 1 + 3);

	const auto Slow = PlanMotion("walks slowly", "humanoid");
	const auto Quick = PlanMotion("walks quickly", "humanoid");
	EXPECT_GT(Slow.TotalSeconds, PlanMotion("walks", "humanoid").TotalSeconds);
	EXPECT_LT(Quick.TotalSeconds, PlanMotion("walks", "humanoid").TotalSeconds);

	// Every plan costs at least 2, so a 1-credit account can afford none; the price is
	// one credit per started second plus one.
	for (const char* Prompt : {"nods", "hop", "jump", "dance dance dance dance dance dance dance dance dance"})
	{
		const auto Plan = PlanMotion(Prompt, "humanoid");
		EXPECT_GE(Plan.Cost, 2) << Prompt;
		EXPECT_EQ(Plan.Cost, 1 + static_cast<int>(std::ceil(Plan.TotalSeconds - 1e-9))) << Prompt;
		EXPECT_LE(Plan.Segments.size(), 8u) << Prompt;
	}
}

TEST(Motion, UnknownMotionsFallBackToThePresetAndSaySo)
{
	const auto Plan = PlanMotion("contemplates the meaning of life", "bird");
	EXPECT_TRUE(Plan.Fallback);
	EXPECT_EQ(Primitives(Plan), std::vector<std::string>{"bird_idle"});
	ASSERT_FALSE(Plan.Notes.empty());
	EXPECT_NE(Plan.Notes.front().find("preset"), std::string::npos);

	// A motion the family cannot do is left out with a note, not planned.
	const auto Frog = PlanMotion("kicks and hops", "frog");
	EXPECT_FALSE(Frog.Fallback);
	EXPECT_EQ(Primitives(Frog), std::vector<std::string>{"frog_hop"});
	EXPECT_NE(Frog.Notes.front().find("kick"), std::string::npos);
}
