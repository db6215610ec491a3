#include "Recorder.h"

namespace tvsim
{
std::string Base64Encode(const std::string& Bytes)
{
	static const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
	std::string Out;
	Out.reserve((Bytes.size() + 2) / 3 * 4);
	std::size_t I = 0;
	for (; I + 2 < Bytes.size(); I += 3)
	{
		const unsigned N = (static_cast<unsigned char>(Bytes[I]) << 16) | (static_cast<unsigned char>(Bytes[I + 1]) << 8) |
						   static_cast<unsigned char>(Bytes[I + 2]);
		Out += Alphabet[(N >> 18) & 63];
		Out += Alphabet[(N >> 12) & 63];
		Out += Alphabet[(N >> 6) & 63];
		Out += Alphabet[N & 63];
	}
	if (I + 1 == Bytes.size())
	{
		const unsigned N = static_cast<unsigned char>(Bytes[I]) << 16;
		Out += Alphabet[(N >> 18) & 63];
		Out += Alphabet[(N >> 12) & 63];
		Out += "==";
	}
	else if (I + 2 == Bytes.size())
	{
		const unsigned N = (static_cast<unsigned char>(Bytes[I]) << 16) | (static_cast<unsigned char>(Bytes[I + 1]) << 8);
		Out += Alphabet[(N >> 18) & 63];
		Out += Alphabet[(N >> 12) & 63];
		Out += Alphabet[(N >> 6) & 63];
		Out += '=';
	}
	return Out;
}

long long RequestRecorder::Add(RecordedRequest Request)
{
	std::lock_guard Lock(Mutex);
	Request.Seq = NextSeq++;
	const long long Seq = Request.Seq;
	Requests.push_back(std::move(Request));
	while (Requests.size() > Capacity)
	{
		Requests.pop_front();
	}
	return Seq;
}

void RequestRecorder::SetOutcome(long long Seq, int Status, const std::string& Fault)
{
	std::lock_guard Lock(Mutex);
	for (auto It = Requests.rbegin(); It != Requests.rend(); ++It)
	{
		if (It->Seq == Seq)
		{
			It->Status = Status;
			It->Fault = Fault;
			return;
		}
	}
}

nlohmann::json RequestRecorder::ToJson(long long AfterSeq, const std::string& Method, const std::string& PathPrefix) const
{
	std::lock_guard Lock(Mutex);
	nlohmann::json List = nlohmann::json::array();
	for (const auto& R : Requests)
	{
		if (R.Seq <= AfterSeq || (!Method.empty() && R.Method != Method) ||
			R.Path.compare(0, PathPrefix.size(), PathPrefix) != 0)
		{
			continue;
		}
		nlohmann::json Headers = nlohmann::json::object();
		nlohmann::json HeaderList = nlohmann::json::array();
		for (const auto& [Name, Value] : R.Headers)
		{
			HeaderList.push_back({Name, Value});
			if (Headers.contains(Name))
			{
				Headers[Name] = Headers[Name].get<std::string>() + ", " + Value;
			}
			else
			{
				Headers[Name] = Value;
			}
		}
		nlohmann::json Entry = {
			{"seq", R.Seq},
			{"time", R.Time},
			{"method", R.Method},
			{"path", R.Path},
			{"query", R.Query},
			{"headers", Headers},
			{"headerList", HeaderList},
			{"bodyBase64", Base64Encode(R.Body)},
			{"bodySize", R.Body.size()},
			{"status", R.Status},
		};
		if (!R.Fault.empty())
		{
			Entry["fault"] = R.Fault;
		}
		List.push_back(std::move(Entry));
	}
	return List;
}

void RequestRecorder::Clear()
{
	std::lock_guard Lock(Mutex);
	Requests.clear();
}
} // namespace tvsim
