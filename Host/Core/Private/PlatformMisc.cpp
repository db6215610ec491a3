// Environment and processor facts from the C library.
#include "HAL/PlatformMisc.h"

#include "Containers/StringConv.h"
#include "HostCorePrivate.h"

#include <cstdlib>
#include <thread>

FString FPlatformMisc::GetEnvironmentVariable(const TCHAR* VariableName)
{
	const std::string Name = HostCore::ToNative(VariableName);
	const char* Value = Name.empty() ? nullptr : std::getenv(Name.c_str());
	return Value ? HostCore::FromNative(Value) : FString();
}

void FPlatformMisc::SetEnvironmentVar(const TCHAR* VariableName, const TCHAR* Value)
{
	const std::string Name = HostCore::ToNative(VariableName);
	if (Name.empty())
	{
		return;
	}
	// An empty value unsets the variable, as the engine does.
	if (Value == nullptr || *Value == 0)
	{
		unsetenv(Name.c_str());
	}
	else
	{
		setenv(Name.c_str(), HostConv::ToUtf8(Value, HostConv::TcharLen(Value)).c_str(), 1);
	}
}

int32 FPlatformMisc::NumberOfCores()
{
	const unsigned Count = std::thread::hardware_concurrency();
	return Count > 0 ? (int32)Count : 1;
}
