#include "Faults.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace tvsim;
using nlohmann::json;

TEST(FaultBook, RefusesDescriptionsItCannotCarryOut)
{
	const json Bad[] = {
		json::array({1}),
		{{"kind", "explode"}},
		{{"kind", "status"}, {"status", 42}},
		{{"kind", "status"}, {"status", "500"}},
		{{"kind", "status"}, {"count", 0}},
		{{"kind", "status"}, {"pathRegex", "(unclosed"}},
		{{"kind", "slow"}, {"bytesPerSecond", 0}},
		{{"kind", "status"}, {"headers", {{"Retry-After", 30}}}},
	};
	for (const auto& Description : Bad)
	{
		FaultBook Book;
		EXPECT_THROW(Book.Add(Description), std::invalid_argument) << Description.dump();
		EXPECT_TRUE(Book.List().empty()) << Description.dump();
	}
	// One bad fault in a list adds none of them.
	FaultBook Book;
	EXPECT_THROW(Book.Add({{"faults", {{{"kind", "drop"}}, {{"kind", "nope"}}}}}), std::invalid_argument);
	EXPECT_TRUE(Book.List().empty());
}

TEST(FaultBook, FiresOnlyForTheRequestsItNamesAndOnlyAsOftenAsAsked)
{
	FaultBook Book;
	Book.Add({{"faults",
		{{{"kind", "status"}, {"status", 503}, {"method", "get"}, {"path", "/v1/jobs/"}, {"count", 2}},
			{{"kind", "drop"}, {"pathRegex", "^/v1/assets/[0-9a-f]+$"}},
			{{"kind", "html"}, {"method", "POST"}, {"count", -1}}}}});

	EXPECT_FALSE(Book.Take("GET", "/v1/jobs"));      // prefix needs the slash
	EXPECT_FALSE(Book.Take("GET", "/v1/assets"));    // regex needs an id
	EXPECT_FALSE(Book.Take("GET", "/v1/auth/me"));
	EXPECT_FALSE(Book.Take("GET", "/v1/assets/XYZ"));

	auto Hit = Book.Take("GET", "/v1/jobs/abc");
	ASSERT_TRUE(Hit);
	EXPECT_EQ(Hit->Kind, FaultKind::Status);
	EXPECT_EQ(Hit->Status, 503);
	EXPECT_TRUE(Book.Take("GET", "/v1/jobs/abc"));
	EXPECT_FALSE(Book.Take("GET", "/v1/jobs/abc")); // used up

	Hit = Book.Take("GET", "/v1/assets/0123abcd");
	ASSERT_TRUE(Hit);
	EXPECT_EQ(Hit->Kind, FaultKind::Drop);
	EXPECT_FALSE(Book.Take("GET", "/v1/assets/0123abcd"));

	// Without a path, every POST; with count -1 until cleared.
	for (int I = 0; I < 5; ++I)
	{
		Hit = Book.Take("POST", "/v1/plan");
		ASSERT_TRUE(Hit);
		EXPECT_EQ(Hit->Kind, FaultKind::Html);
		EXPECT_EQ(Hit->Status, 502);
	}
	EXPECT_EQ(Book.List().size(), 1u);
	EXPECT_EQ(Book.List()[0].Fired, 5);
	Book.Clear();
	EXPECT_FALSE(Book.Take("POST", "/v1/plan"));
}

TEST(FaultBook, EarlierFaultsWinAndDefaultsFitTheKind)
{
	FaultBook Book;
	Book.Add(json::array({{{"kind", "number"}, {"path", "/v1/"}}, {{"kind", "empty"}, {"path", "/v1/"}}}));
	EXPECT_EQ(Book.Take("GET", "/v1/auth/me")->Kind, FaultKind::Number);
	const auto Second = Book.Take("GET", "/v1/auth/me");
	EXPECT_EQ(Second->Kind, FaultKind::Empty);
	EXPECT_EQ(Second->Status, 200);

	const auto Delay = FaultBook::Parse({{"kind", "delay"}});
	EXPECT_EQ(Delay.DelayMs, 1000);
	const auto Detail = FaultBook::Parse({{"kind", "status"}, {"status", 422}, {"detail", json::array({{{"msg", "bad"}}})}});
	ASSERT_TRUE(Detail.Detail);
	EXPECT_TRUE(Detail.Detail->is_array());
}
