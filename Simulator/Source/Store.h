#pragma once

#include "Clock.h"
#include "ModelInspector.h"
#include "Motion.h"

#include <nlohmann/json.hpp>

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tvsim
{
// What a service operation answers: an HTTP status and a JSON body.
struct Answer
{
	int Status = 200;
	nlohmann::json Body;
};

Answer Detail(int Status, const std::string& Text);
// FastAPI-style validation failure: 422 with "detail" as a list of {loc, msg, type}.
Answer Invalid(const std::string& Field, const std::string& Message, const std::string& Type = "value_error");

struct Account
{
	std::string Key;
	std::string Email;
	long long Credits = 0;
};

struct Character
{
	std::string Id;
	std::string Owner;
	std::string Filename;
	long long SizeBytes = 0;
	double CreatedAt = 0.0;
	double ProcessingAt = 0.0;
	double DoneAt = 0.0;
	bool WillFail = false;
	std::string FailError;
	std::string Family;
	std::string Reason;
	bool Settled = false; // the final status is reached and recorded
};

struct JobStage
{
	std::string Name;
	double StartsAt = 0.0;
};

struct Job
{
	std::string Id;
	std::string Owner;
	std::string AssetId;
	std::string Prompt;
	std::string Family;
	std::vector<MotionSegment> Segments;
	std::vector<std::string> Formats;
	double DurationSeconds = 0.0;
	int Cost = 0;
	std::string FallbackFrom;
	double CreatedAt = 0.0;
	std::vector<JobStage> Stages; // the first is "queued"
	double EndsAt = 0.0;
	bool WillFail = false;
	std::string FailError;
	std::string FailStage;
	double FailAt = 0.0;
	bool NoFbx = false;
	// Final outcome once settled: "succeeded" or "failed".
	std::string Outcome;
	bool Refunded = false;
};

// One-shot changes to the next character or job, queued by POST /_sim/next.
struct RigOverride
{
	std::optional<std::string> Fail;
	std::optional<std::string> Family;
};

struct JobOverride
{
	std::optional<std::string> Fail;
	std::string FailStage = "generating";
	bool NoFbx = false;
	bool Fallback = false;
};

struct StoreOptions
{
	double TimeScale = 1.0;
	// Empty: memory only. Otherwise the state file, rewritten atomically after every change.
	std::string StateFile;
};

// Where an output link leads.
struct DownloadTarget
{
	std::string Family;
	std::string Kind;
};

// The service's state: accounts and their credits, characters, jobs. Every operation takes
// the one lock, first moves work whose time has come to its end (rig done, job done or failed
// and refunded), then acts; so credits are charged and refunded exactly once, also under
// concurrent requests and across restarts.
class Store
{
public:
	explicit Store(StoreOptions Options);

	static const std::vector<Account>& SeedAccounts();

	SimClock& Clock() { return SimTime; }
	std::string Secret() const;
	// Problems met when loading or saving the state file (empty when none).
	std::string LastPersistenceError() const;

	bool HasAccount(const std::string& Key);
	Answer Me(const std::string& Key);
	Answer ListCharacters(const std::string& Key);
	Answer GetCharacter(const std::string& Key, const std::string& Id);
	Answer CreateCharacter(const std::string& Key, const std::string& Filename, long long SizeBytes,
		const ModelVerdict& Verdict);
	Answer Plan(const std::string& Key, const std::string& Prompt, const std::string& AssetId);
	Answer Generate(const std::string& Key, const std::string& Prompt, const std::string& AssetId,
		const std::vector<std::string>& Formats, const std::string& BaseUrl);
	Answer GetJob(const std::string& Key, const std::string& Id, const std::string& BaseUrl);
	std::optional<DownloadTarget> FindDownload(const std::string& JobId, const std::string& File);

	// Control operations.
	void Reset();
	void SetTimeScale(double Scale);
	double TimeScale() const;
	void AdvanceTime(double Seconds);
	void QueueRigOverride(RigOverride Override);
	void QueueJobOverride(JobOverride Override);
	void SetAccount(const Account& Value);
	nlohmann::json Snapshot();

private:
	void SettleLocked(double Now);
	void SaveLocked();
	void LoadLocked();
	void SeedLocked();
	nlohmann::json CharacterJson(const Character& C, double Now, bool Initial) const;
	nlohmann::json JobJson(const Job& J, double Now, bool Initial, const std::string& BaseUrl) const;
	Character* FindCharacterLocked(const std::string& Key, const std::string& Id);
	Answer CheckCharacterLocked(const std::string& Key, const std::string& AssetId, Character*& Out);
	nlohmann::json ToJsonLocked() const;

	mutable std::mutex Mutex;
	StoreOptions Options;
	double StartTimeScale;
	SimClock SimTime;
	std::string SecretKey;
	std::map<std::string, Account> Accounts;
	std::vector<Character> Characters;
	std::vector<Job> Jobs;
	std::deque<RigOverride> RigOverrides;
	std::deque<JobOverride> JobOverrides;
	double WarmUntil = 0.0;
	std::string PersistenceError;
};
} // namespace tvsim
