// Stand-in for the engine's Serialization/MemoryArchive.h: the position shared by archives over memory.
#pragma once

#include "Serialization/Archive.h"

class FMemoryArchive : public FArchive
{
public:
	void Seek(int64 InPos) override { Offset = InPos; }
	int64 Tell() override { return Offset; }

protected:
	FMemoryArchive() = default;

	int64 Offset = 0;
};
