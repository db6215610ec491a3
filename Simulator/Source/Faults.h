#pragma once

#include <nlohmann/json.hpp>

#include <map>
#include <mutex>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace tvsim
{
enum class FaultKind
{
	Status,    // answer `status` with {"detail": ...}, a raw `body`, or nothing
	Html,      // answer `status` with an HTML error page
	Empty,     // answer `status` (2xx by default) with an empty body
	Number,    // answer `status` with a lone JSON number as the body
	Malformed, // answer `status` with text that is not JSON
	Truncated, // do the real work, answer with the first half of its body (lengths agree)
	Cut,       // do the real work, announce the whole body, send half of it, close the connection
	Drop,      // close the connection without an answer; the request is not carried out
	DropAfter, // carry the request out, then close the connection without an answer
	Delay,     // wait `delayMs`, then answer normally
	Slow,      // answer normally, sending the body at `bytesPerSecond`
};

struct Fault
{
	int Id = 0;
	FaultKind Kind = FaultKind::Status;
	std::string Method;      // empty: any method
	std::string PathPrefix;  // empty: any path
	std::string PathPattern; // empty: no regex; otherwise searched in the path
	std::optional<std::regex> PathRegex;
	int Remaining = 1; // requests left to hit; -1: until cleared
	int Fired = 0;
	int Status = 0; // 0: the kind's default
	std::optional<nlohmann::json> Detail;
	std::optional<std::string> Body;
	std::string ContentType;
	std::map<std::string, std::string> Headers;
	int DelayMs = 0;
	int BytesPerSecond = 0;

	nlohmann::json ToJson() const;
};

const char* FaultKindName(FaultKind Kind);

// The faults a test switched on, matched against each API request in the order they were
// added; the first one that matches is used up by one.
class FaultBook
{
public:
	// Parses one fault description. Throws std::invalid_argument with a sentence when invalid.
	static Fault Parse(const nlohmann::json& Description);

	// Adds faults from {"faults": [...]}, a list, or one fault object; returns what was added.
	// Throws std::invalid_argument with a sentence when any of them is invalid (then none is added).
	std::vector<Fault> Add(const nlohmann::json& Body);

	// The fault for this request, if any; counts it as fired.
	std::optional<Fault> Take(const std::string& Method, const std::string& Path);

	std::vector<Fault> List() const;
	void Clear();

private:
	mutable std::mutex Mutex;
	std::vector<Fault> Faults;
	int NextId = 1;
};
} // namespace tvsim
