#pragma once

#include <string>
#include <vector>

namespace tvsim
{
struct MotionSegment
{
	std::string Primitive;
	double Seconds = 0.0;
};

struct MotionPlan
{
	std::vector<MotionSegment> Segments;
	double TotalSeconds = 0.0;
	int Cost = 0;
	std::vector<std::string> Notes;
	// True when no motion word was understood and the family's preset was planned instead.
	bool Fallback = false;
};

// The families the service knows; anything else is treated as "humanoid".
bool IsKnownFamily(const std::string& Family);

// Turns a prompt into motion primitives for a body family, in the order the prompt names them,
// with lengths in seconds, and prices it: one credit per started second plus one, so even the
// shortest motion costs 2 credits.
MotionPlan PlanMotion(const std::string& Prompt, const std::string& Family);
} // namespace tvsim
