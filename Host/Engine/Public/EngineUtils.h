// Stands in for the engine's EngineUtils.h: iteration over the actors of a world.
#pragma once

#include "Engine/World.h"

template <class T>
class TActorIterator
{
public:
	explicit TActorIterator(const UWorld* InWorld)
	{
		if (InWorld && InWorld->PersistentLevel)
		{
			for (const TObjectPtr<AActor>& Actor : InWorld->PersistentLevel->Actors)
			{
				if (T* Typed = Cast<T>(Actor.Get()); Typed && IsValid(Typed))
				{
					Actors.Add(Typed);
				}
			}
		}
	}
	explicit operator bool() const { return Index < Actors.Num(); }
	TActorIterator& operator++()
	{
		++Index;
		return *this;
	}
	T* operator*() const { return Actors[Index]; }
	T* operator->() const { return Actors[Index]; }

private:
	TArray<T*> Actors;
	int32 Index = 0;
};
