// Tests of the stand-in's single-owner pointer: the owned object lives exactly as long as its one owner.
#include "CoreMinimal.h"
#include "Templates/UniquePtr.h"
#include <gtest/gtest.h>

namespace
{
/** Counts how many are alive, so a test sees each deletion. */
struct FCounted
{
	explicit FCounted(int32* InAlive)
		: Alive(InAlive)
	{
		++*Alive;
	}
	~FCounted() { --*Alive; }
	int32* Alive;
};
} // namespace

TEST(CoreUniquePtr, OwnsMovesResetsAndReleases)
{
	int32 Alive = 0;
	{
		TUniquePtr<FCounted> First = MakeUnique<FCounted>(&Alive);
		EXPECT_TRUE(First.IsValid());
		TUniquePtr<FCounted> Second = MoveTemp(First);
		EXPECT_FALSE(First);
		EXPECT_EQ(Alive, 1);
		Second.Reset(new FCounted(&Alive));
		EXPECT_EQ(Alive, 1);
		First = MoveTemp(Second);
		EXPECT_EQ(Alive, 1);
		FCounted* Loose = First.Release();
		EXPECT_FALSE(First.IsValid());
		EXPECT_EQ(Alive, 1);
		delete Loose;
		First.Reset(new FCounted(&Alive));
	}
	EXPECT_EQ(Alive, 0);
}
