// Stands in for the engine's UObject/UObjectIterator.h: walks every live object of a class.
#pragma once

#include "UObject/Class.h"
#include "UObject/UObjectHash.h"

template <class T>
class TObjectIterator
{
public:
	TObjectIterator() { GetObjectsOfClass(T::StaticClass(), Objects, true); }
	explicit operator bool() const { return Index < Objects.Num(); }
	TObjectIterator& operator++()
	{
		++Index;
		return *this;
	}
	T* operator*() const { return (T*)Objects[Index]; }
	T* operator->() const { return (T*)Objects[Index]; }

private:
	TArray<UObject*> Objects;
	int32 Index = 0;
};
