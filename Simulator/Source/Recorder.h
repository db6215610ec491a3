#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tvsim
{
struct RecordedRequest
{
	long long Seq = 0;
	double Time = 0.0;
	std::string Method;
	std::string Path;   // as sent, before percent-decoding, without the query
	std::string Query;  // as sent, without the '?'
	std::vector<std::pair<std::string, std::string>> Headers; // names as sent
	std::string Body;   // raw bytes
	int Status = 0;     // 0 while the answer is not made, or when the connection was dropped
	std::string Fault;  // kind of the fault applied, if any
};

// Keeps the API requests the server received (not the control ones), newest last, so client
// tests can check what went over the wire byte for byte.
class RequestRecorder
{
public:
	explicit RequestRecorder(std::size_t Capacity = 2000) : Capacity(Capacity) {}

	long long Add(RecordedRequest Request);
	void SetOutcome(long long Seq, int Status, const std::string& Fault);

	// Requests with Seq > AfterSeq, matching Method (if not empty) and starting with PathPrefix.
	nlohmann::json ToJson(long long AfterSeq, const std::string& Method, const std::string& PathPrefix) const;
	void Clear();

private:
	mutable std::mutex Mutex;
	std::deque<RecordedRequest> Requests;
	std::size_t Capacity;
	long long NextSeq = 1;
};

std::string Base64Encode(const std::string& Bytes);
} // namespace tvsim
