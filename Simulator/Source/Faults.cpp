#include "Faults.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace tvsim
{
namespace
{
struct KindName
{
	FaultKind Kind;
	const char* Name;
};

constexpr KindName KindNames[] = {
	{FaultKind::Status, "status"},
	{FaultKind::Html, "html"},
	{FaultKind::Empty, "empty"},
	{FaultKind::Number, "number"},
	{FaultKind::Malformed, "malformed"},
	{FaultKind::Truncated, "truncated"},
	{FaultKind::Cut, "cut"},
	{FaultKind::Drop, "drop"},
	{FaultKind::DropAfter, "dropAfter"},
	{FaultKind::Delay, "delay"},
	{FaultKind::Slow, "slow"},
};

std::string Upper(std::string Text)
{
	std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char C) { return static_cast<char>(std::toupper(C)); });
	return Text;
}

int IntMember(const nlohmann::json& Description, const char* Name, int Default, int Min, int Max)
{
	if (!Description.contains(Name))
	{
		return Default;
	}
	const auto& Value = Description[Name];
	if (!Value.is_number_integer())
	{
		throw std::invalid_argument(std::string("\"") + Name + "\" must be a whole number.");
	}
	const auto N = Value.get<long long>();
	if (N < Min || N > Max)
	{
		throw std::invalid_argument(std::string("\"") + Name + "\" must be between " + std::to_string(Min) + " and " +
									std::to_string(Max) + ".");
	}
	return static_cast<int>(N);
}

std::string TextMember(const nlohmann::json& Description, const char* Name)
{
	if (!Description.contains(Name))
	{
		return "";
	}
	if (!Description[Name].is_string())
	{
		throw std::invalid_argument(std::string("\"") + Name + "\" must be a text.");
	}
	return Description[Name].get<std::string>();
}
} // namespace

const char* FaultKindName(FaultKind Kind)
{
	for (const auto& Entry : KindNames)
	{
		if (Entry.Kind == Kind)
		{
			return Entry.Name;
		}
	}
	return "?";
}

nlohmann::json Fault::ToJson() const
{
	nlohmann::json Out = {{"id", Id}, {"kind", FaultKindName(Kind)}, {"count", Remaining}, {"fired", Fired}};
	if (!Method.empty())
	{
		Out["method"] = Method;
	}
	if (!PathPrefix.empty())
	{
		Out["path"] = PathPrefix;
	}
	if (!PathPattern.empty())
	{
		Out["pathRegex"] = PathPattern;
	}
	if (Status != 0)
	{
		Out["status"] = Status;
	}
	if (Detail)
	{
		Out["detail"] = *Detail;
	}
	if (Body)
	{
		Out["body"] = *Body;
	}
	if (!ContentType.empty())
	{
		Out["contentType"] = ContentType;
	}
	if (!Headers.empty())
	{
		Out["headers"] = Headers;
	}
	if (DelayMs != 0)
	{
		Out["delayMs"] = DelayMs;
	}
	if (BytesPerSecond != 0)
	{
		Out["bytesPerSecond"] = BytesPerSecond;
	}
	return Out;
}

Fault FaultBook::Parse(const nlohmann::json& Description)
{
	if (!Description.is_object())
	{
		throw std::invalid_argument("A fault must be a JSON object.");
	}
	Fault F;
	const std::string Kind = TextMember(Description, "kind");
	bool Known = false;
	for (const auto& Entry : KindNames)
	{
		if (Kind == Entry.Name)
		{
			F.Kind = Entry.Kind;
			Known = true;
		}
	}
	if (!Known)
	{
		std::string Names;
		for (const auto& Entry : KindNames)
		{
			Names += Names.empty() ? "" : ", ";
			Names += Entry.Name;
		}
		throw std::invalid_argument("\"kind\" must be one of: " + Names + ".");
	}
	F.Method = Upper(TextMember(Description, "method"));
	if (F.Method == "*")
	{
		F.Method.clear();
	}
	F.PathPrefix = TextMember(Description, "path");
	F.PathPattern = TextMember(Description, "pathRegex");
	if (!F.PathPattern.empty())
	{
		try
		{
			F.PathRegex.emplace(F.PathPattern, std::regex::ECMAScript);
		}
		catch (const std::regex_error&)
		{
			throw std::invalid_argument("\"pathRegex\" is not a valid regular expression.");
		}
	}
	F.Remaining = IntMember(Description, "count", 1, -1, 1000000);
	if (F.Remaining == 0)
	{
		throw std::invalid_argument("\"count\" must be at least 1, or -1 for every request until cleared.");
	}
	const int DefaultStatus = [&] {
		switch (F.Kind)
		{
			case FaultKind::Status: return 500;
			case FaultKind::Html: return 502;
			case FaultKind::Empty:
			case FaultKind::Number:
			case FaultKind::Malformed: return 200;
			default: return 0;
		}
	}();
	F.Status = IntMember(Description, "status", DefaultStatus, 0, 599);
	if (F.Status != 0 && F.Status < 100)
	{
		throw std::invalid_argument("\"status\" must be an HTTP status between 100 and 599.");
	}
	if (Description.contains("detail"))
	{
		F.Detail = Description["detail"];
	}
	if (Description.contains("body"))
	{
		F.Body = TextMember(Description, "body");
	}
	F.ContentType = TextMember(Description, "contentType");
	if (Description.contains("headers"))
	{
		if (!Description["headers"].is_object())
		{
			throw std::invalid_argument("\"headers\" must be an object of texts.");
		}
		for (const auto& [Name, Value] : Description["headers"].items())
		{
			if (!Value.is_string())
			{
				throw std::invalid_argument("\"headers\" must be an object of texts.");
			}
			F.Headers[Name] = Value.get<std::string>();
		}
	}
	F.DelayMs = IntMember(Description, "delayMs", F.Kind == FaultKind::Delay ? 1000 : 0, 0, 600000);
	F.BytesPerSecond = IntMember(Description, "bytesPerSecond", F.Kind == FaultKind::Slow ? 16384 : 0, 0, 1 << 30);
	if (F.Kind == FaultKind::Slow && F.BytesPerSecond <= 0)
	{
		throw std::invalid_argument("\"bytesPerSecond\" must be at least 1 for a slow answer.");
	}
	return F;
}

std::vector<Fault> FaultBook::Add(const nlohmann::json& Body)
{
	std::vector<nlohmann::json> Descriptions;
	if (Body.is_object() && Body.contains("faults"))
	{
		if (!Body["faults"].is_array())
		{
			throw std::invalid_argument("\"faults\" must be a list of faults.");
		}
		Descriptions.assign(Body["faults"].begin(), Body["faults"].end());
	}
	else if (Body.is_array())
	{
		Descriptions.assign(Body.begin(), Body.end());
	}
	else
	{
		Descriptions.push_back(Body);
	}
	std::vector<Fault> Parsed;
	for (const auto& Description : Descriptions)
	{
		Parsed.push_back(Parse(Description));
	}
	std::lock_guard Lock(Mutex);
	for (auto& F : Parsed)
	{
		F.Id = NextId++;
		Faults.push_back(F);
	}
	return Parsed;
}

std::optional<Fault> FaultBook::Take(const std::string& Method, const std::string& Path)
{
	std::lock_guard Lock(Mutex);
	for (auto It = Faults.begin(); It != Faults.end(); ++It)
	{
		Fault& F = *It;
		if (!F.Method.empty() && F.Method != Method)
		{
			continue;
		}
		if (!F.PathPrefix.empty() && Path.compare(0, F.PathPrefix.size(), F.PathPrefix) != 0)
		{
			continue;
		}
		if (F.PathRegex && !std::regex_search(Path, *F.PathRegex))
		{
			continue;
		}
		++F.Fired;
		Fault Hit = F;
		if (F.Remaining > 0 && --F.Remaining == 0)
		{
			Faults.erase(It);
		}
		return Hit;
	}
	return std::nullopt;
}

std::vector<Fault> FaultBook::List() const
{
	std::lock_guard Lock(Mutex);
	return Faults;
}

void FaultBook::Clear()
{
	std::lock_guard Lock(Mutex);
	Faults.clear();
}
} // namespace tvsim
