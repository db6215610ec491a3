#pragma once

#include <array>
#include <string>
#include <vector>

namespace tvsim
{
struct ModelVerdict
{
	bool Readable = false;
	// One sentence for the user when the model cannot be rigged.
	std::string Error;
	// "humanoid", "quadruped", "bird" or "frog" when readable.
	std::string Family;
	// How the family was decided, for the log: "bones: ..." or "proportions: ...".
	std::string Reason;
	int Meshes = 0;
	int Bones = 0;
	// Extent of the model along its up axis, its side-to-side axis and its front-to-back axis.
	std::array<double, 3> UpSideFront = {0.0, 0.0, 0.0};
};

// Reads an uploaded model and decides its body family from the model itself: by its bone
// names when it is rigged and they tell, otherwise by the proportions of its bounding box
// measured in its own up axis. `Filename` only selects the reader (by extension); it never
// decides the family.
ModelVerdict InspectModel(const std::string& Bytes, const std::string& Filename);

// Family from a bounding box: Up = height, Side = side-to-side width, Front = front-to-back length.
std::string FamilyFromProportions(double Up, double Side, double Front);

// Family from bone names, or an empty text when the names do not tell. The box (as above)
// tells a frog from a four-legged animal when the limbs alone cannot.
std::string FamilyFromBoneNames(const std::vector<std::string>& Names, double Up, double Side, double Front);
} // namespace tvsim
