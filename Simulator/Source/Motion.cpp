#include "Motion.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

namespace tvsim
{
namespace
{
// A motion concept and the words that name it. Family tables map concepts to primitives.
struct Concept
{
	const char* Name;
	std::vector<const char*> Words;
};

const std::vector<Concept>& Concepts()
{
	static const std::vector<Concept> Table = {
		{"walk", {"walk", "walks", "walking", "walked", "stroll", "strolls", "strolling", "step", "steps", "stepping", "march", "marches", "marching", "wander", "wanders"}},
		{"run", {"run", "runs", "running", "ran", "jog", "jogs", "jogging", "sprint", "sprints", "sprinting", "dash", "dashes", "rush", "rushes"}},
		{"trot", {"trot", "trots", "trotting"}},
		{"gallop", {"gallop", "gallops", "galloping"}},
		{"jump", {"jump", "jumps", "jumping", "jumped", "leap", "leaps", "leaping", "bound", "bounds", "pounce", "pounces", "pouncing"}},
		{"hop", {"hop", "hops", "hopping", "hopped", "skip", "skips", "skipping"}},
		{"wave", {"wave", "waves", "waving", "waved", "greet", "greets", "greeting"}},
		{"dance", {"dance", "dances", "dancing", "danced", "groove", "grooves"}},
		{"sit", {"sit", "sits", "sitting", "sat"}},
		{"lie", {"lie", "lies", "lying", "lays", "rest", "rests", "resting", "sleep", "sleeps", "sleeping"}},
		{"idle", {"idle", "idles", "stand", "stands", "standing", "wait", "waits", "waiting", "breathe", "breathes", "still"}},
		{"kick", {"kick", "kicks", "kicking", "kicked"}},
		{"punch", {"punch", "punches", "punching", "punched", "box", "boxes", "boxing", "hit", "hits"}},
		{"turn", {"turn", "turns", "turning", "turned", "rotate", "rotates"}},
		{"spin", {"spin", "spins", "spinning", "twirl", "twirls", "pirouette"}},
		{"crouch", {"crouch", "crouches", "crouching", "duck", "ducks", "squat", "squats", "kneel", "kneels"}},
		{"clap", {"clap", "claps", "clapping", "applaud", "applauds"}},
		{"bow", {"bow", "bows", "bowing"}},
		{"fall", {"fall", "falls", "falling", "fell", "collapse", "collapses", "trip", "trips"}},
		{"climb", {"climb", "climbs", "climbing"}},
		{"throw", {"throw", "throws", "throwing", "threw", "toss", "tosses"}},
		{"crawl", {"crawl", "crawls", "crawling", "creep", "creeps"}},
		{"look", {"look", "looks", "looking", "glance", "glances", "stare", "stares", "peek", "peeks"}},
		{"nod", {"nod", "nods", "nodding"}},
		{"point", {"point", "points", "pointing"}},
		{"stretch", {"stretch", "stretches", "stretching", "yawn", "yawns"}},
		{"celebrate", {"celebrate", "celebrates", "celebrating", "cheer", "cheers", "cheering"}},
		{"shake", {"shake", "shakes", "shaking", "shiver", "shivers"}},
		{"sniff", {"sniff", "sniffs", "sniffing", "smell", "smells"}},
		{"bark", {"bark", "barks", "barking", "howl", "howls", "growl", "growls", "roar", "roars"}},
		{"fly", {"fly", "flies", "flying", "flew", "soar", "soars", "soaring"}},
		{"flap", {"flap", "flaps", "flapping"}},
		{"glide", {"glide", "glides", "gliding", "hover", "hovers", "hovering"}},
		{"takeoff", {"takeoff", "launch", "launches"}},
		{"land", {"land", "lands", "landing", "perch", "perches", "perching"}},
		{"peck", {"peck", "pecks", "pecking", "eat", "eats", "eating", "graze", "grazes", "feed", "feeds"}},
		{"croak", {"croak", "croaks", "croaking", "ribbit", "sing", "sings", "singing", "call", "calls"}},
		{"swim", {"swim", "swims", "swimming", "swam", "paddle", "paddles"}},
		{"catch", {"catch", "catches", "catching", "snap", "snaps", "lick", "licks"}},
	};
	return Table;
}

struct Move
{
	const char* Primitive;
	double Seconds;
};

using FamilyMoves = std::map<std::string, Move>;

const std::map<std::string, FamilyMoves>& Families()
{
	static const std::map<std::string, FamilyMoves> Table = {
		{"humanoid",
			{{"walk", {"walk", 2.0}}, {"run", {"run", 1.6}}, {"trot", {"jog", 1.8}}, {"gallop", {"run", 1.6}},
				{"jump", {"jump", 1.2}}, {"hop", {"hop", 1.0}}, {"wave", {"wave", 2.0}}, {"dance", {"dance", 4.0}},
				{"sit", {"sit_down", 2.0}}, {"lie", {"lie_down", 2.5}}, {"idle", {"idle", 3.0}},
				{"kick", {"kick", 1.2}}, {"punch", {"punch", 1.0}}, {"turn", {"turn_around", 1.2}},
				{"spin", {"spin", 1.5}}, {"crouch", {"crouch", 1.5}}, {"clap", {"clap", 2.0}},
				{"bow", {"bow", 1.8}}, {"fall", {"fall_down", 1.6}}, {"climb", {"climb", 3.0}},
				{"throw", {"throw", 1.4}}, {"crawl", {"crawl", 3.0}}, {"look", {"look_around", 2.0}},
				{"nod", {"nod", 1.0}}, {"point", {"point", 1.2}}, {"stretch", {"stretch", 3.0}},
				{"celebrate", {"celebrate", 2.5}}, {"shake", {"shake", 1.5}}, {"swim", {"swim", 3.0}},
				{"catch", {"catch", 1.2}}}},
		{"quadruped",
			{{"walk", {"quad_walk_forward", 2.4}}, {"run", {"quad_gallop_forward", 1.8}},
				{"trot", {"quad_trot_forward", 2.26}}, {"gallop", {"quad_gallop_forward", 1.8}},
				{"jump", {"quad_jump", 1.4}}, {"hop", {"quad_jump", 1.4}}, {"sit", {"quad_sit", 2.0}},
				{"lie", {"quad_lie_down", 2.5}}, {"idle", {"quad_idle", 3.0}}, {"turn", {"quad_turn_around", 1.6}},
				{"spin", {"quad_chase_tail", 2.0}}, {"crouch", {"quad_crouch", 1.5}}, {"shake", {"quad_shake", 1.5}},
				{"sniff", {"quad_sniff", 2.0}}, {"bark", {"quad_bark", 1.5}}, {"look", {"quad_look_around", 2.0}},
				{"kick", {"quad_buck", 1.4}}, {"dance", {"quad_prance", 3.0}}, {"stretch", {"quad_stretch", 2.5}},
				{"crawl", {"quad_stalk", 3.0}}, {"swim", {"quad_paddle", 3.0}}, {"wave", {"quad_paw_wave", 1.8}},
				{"peck", {"quad_graze", 3.0}}}},
		{"bird",
			{{"walk", {"bird_walk", 2.0}}, {"run", {"bird_run", 1.5}}, {"hop", {"bird_hop", 1.0}},
				{"jump", {"bird_hop", 1.0}}, {"fly", {"bird_fly", 3.0}}, {"flap", {"bird_flap", 1.5}},
				{"glide", {"bird_glide", 3.0}}, {"takeoff", {"bird_takeoff", 1.5}}, {"land", {"bird_land", 1.5}},
				{"peck", {"bird_peck", 1.5}}, {"idle", {"bird_idle", 3.0}}, {"look", {"bird_look_around", 2.0}},
				{"turn", {"bird_turn", 1.0}}, {"sit", {"bird_perch", 2.0}}, {"shake", {"bird_ruffle", 1.5}},
				{"croak", {"bird_sing", 2.0}}, {"bark", {"bird_squawk", 1.5}}, {"wave", {"bird_flap", 1.5}},
				{"dance", {"bird_bob", 3.0}}, {"lie", {"bird_nest", 2.5}}, {"swim", {"bird_swim", 3.0}}}},
		{"frog",
			{{"hop", {"frog_hop", 0.9}}, {"jump", {"frog_leap", 1.3}}, {"walk", {"frog_crawl", 2.5}},
				{"crawl", {"frog_crawl", 2.5}}, {"run", {"frog_hop", 0.9}}, {"croak", {"frog_croak", 2.0}},
				{"bark", {"frog_croak", 2.0}}, {"swim", {"frog_swim", 3.0}}, {"idle", {"frog_idle", 3.0}},
				{"sit", {"frog_sit", 2.0}}, {"lie", {"frog_sit", 2.0}}, {"catch", {"frog_tongue_catch", 1.0}},
				{"peck", {"frog_tongue_catch", 1.0}}, {"look", {"frog_look_around", 2.0}},
				{"turn", {"frog_turn", 1.0}}, {"spin", {"frog_turn", 1.0}}, {"dance", {"frog_wiggle", 2.5}}}},
	};
	return Table;
}

const std::map<std::string, Move>& Presets()
{
	static const std::map<std::string, Move> Table = {
		{"humanoid", {"idle", 3.0}},
		{"quadruped", {"quad_idle", 3.0}},
		{"bird", {"bird_idle", 3.0}},
		{"frog", {"frog_idle", 3.0}},
	};
	return Table;
}

std::vector<std::string> Words(const std::string& Prompt)
{
	std::vector<std::string> Out;
	std::string Word;
	for (const unsigned char C : Prompt)
	{
		if (std::isalnum(C) || C >= 0x80 || C == '-')
		{
			Word += static_cast<char>(std::tolower(C));
		}
		else if (!Word.empty())
		{
			Out.push_back(Word);
			Word.clear();
		}
	}
	if (!Word.empty())
	{
		Out.push_back(Word);
	}
	// "take-off" and "take off" both name a take-off.
	for (auto& W : Out)
	{
		W.erase(std::remove(W.begin(), W.end(), '-'), W.end());
	}
	return Out;
}

const Concept* FindConcept(const std::string& Word)
{
	for (const auto& C : Concepts())
	{
		for (const char* W : C.Words)
		{
			if (Word == W)
			{
				return &C;
			}
		}
	}
	return nullptr;
}

std::string FormatSeconds(double Seconds)
{
	char Buffer[32];
	std::snprintf(Buffer, sizeof Buffer, "%.1f", Seconds);
	return Buffer;
}

constexpr std::size_t MaxSegments = 8;
} // namespace

bool IsKnownFamily(const std::string& Family)
{
	return Families().count(Family) != 0;
}

MotionPlan PlanMotion(const std::string& Prompt, const std::string& RequestedFamily)
{
	const std::string Family = IsKnownFamily(RequestedFamily) ? RequestedFamily : "humanoid";
	const FamilyMoves& Moves = Families().at(Family);
	MotionPlan Plan;
	std::set<std::string> Unavailable;

	const auto WordsOfPrompt = Words(Prompt);
	for (std::size_t I = 0; I < WordsOfPrompt.size(); ++I)
	{
		const std::string& Word = WordsOfPrompt[I];
		const bool HaveLast = !Plan.Segments.empty();

		// Modifiers act on the segment just named.
		if (HaveLast && (Word == "slowly" || Word == "slow" || Word == "carefully" || Word == "lazily"))
		{
			Plan.Segments.back().Seconds *= 1.5;
			continue;
		}
		if (HaveLast && (Word == "quickly" || Word == "fast" || Word == "briskly" || Word == "rapidly"))
		{
			Plan.Segments.back().Seconds *= 0.7;
			continue;
		}
		int Repeats = 0;
		if (Word == "twice")
		{
			Repeats = 1;
		}
		else if (Word == "thrice")
		{
			Repeats = 2;
		}
		else if (I + 1 < WordsOfPrompt.size() && WordsOfPrompt[I + 1] == "times")
		{
			if (Word == "two" || Word == "2")
			{
				Repeats = 1;
			}
			else if (Word == "three" || Word == "3")
			{
				Repeats = 2;
			}
			else if (Word == "four" || Word == "4")
			{
				Repeats = 3;
			}
		}
		if (HaveLast && Repeats > 0)
		{
			const MotionSegment Last = Plan.Segments.back();
			for (int R = 0; R < Repeats && Plan.Segments.size() < MaxSegments; ++R)
			{
				Plan.Segments.push_back(Last);
			}
			continue;
		}

		const bool TakeOff = (Word == "take" || Word == "takes" || Word == "taking" || Word == "took") &&
							 I + 1 < WordsOfPrompt.size() && WordsOfPrompt[I + 1] == "off";
		if (TakeOff)
		{
			++I;
		}
		const Concept* Found = FindConcept(TakeOff ? "takeoff" : Word);
		if (!Found)
		{
			continue;
		}
		const auto Move = Moves.find(Found->Name);
		if (Move == Moves.end())
		{
			Unavailable.insert(Found->Name);
			continue;
		}
		if (Plan.Segments.size() >= MaxSegments)
		{
			Plan.Notes.push_back("Only the first " + std::to_string(MaxSegments) + " motions were kept.");
			break;
		}
		Plan.Segments.push_back({Move->second.Primitive, Move->second.Seconds});
	}

	for (const auto& Name : Unavailable)
	{
		Plan.Notes.push_back("A " + Family + " cannot " + Name + "; that part was left out.");
	}
	if (Plan.Segments.empty())
	{
		const Move& Preset = Presets().at(Family);
		Plan.Segments.push_back({Preset.Primitive, Preset.Seconds});
		Plan.Fallback = true;
		Plan.Notes.push_back("No motion we know was found in the sentence, so a preset " +
							 std::string(Preset.Primitive) + " will be made instead.");
	}

	for (auto& Segment : Plan.Segments)
	{
		Segment.Seconds = std::round(Segment.Seconds * 100.0) / 100.0;
		Plan.TotalSeconds += Segment.Seconds;
	}
	Plan.TotalSeconds = std::round(Plan.TotalSeconds * 100.0) / 100.0;
	Plan.Cost = 1 + static_cast<int>(std::ceil(Plan.TotalSeconds - 1e-9));
	Plan.Notes.push_back("Planned for a " + Family + ": " + FormatSeconds(Plan.TotalSeconds) + " s of motion.");
	return Plan;
}
} // namespace tvsim
