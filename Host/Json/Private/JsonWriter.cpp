// Number and string formatting shared by every writer instantiation.
#include "Policies/JsonPrintPolicy.h"
#include "Serialization/JsonWriter.h"
#include <cmath>
#include <cstdio>

namespace
{
FString FromAscii(const char* Text)
{
	return FString(Text);
}
} // namespace

FString HostJson::FormatDouble(double Value)
{
	// JSON has no infinity or NaN; the reader makes an infinity of a number too large for a double (1e400), and
	// printing "inf" would make a document nothing reads back. Such values are written as null, as browsers do.
	if (!std::isfinite(Value))
	{
		return FromAscii("null");
	}
	char Buffer[64];
	std::snprintf(Buffer, sizeof(Buffer), "%.17g", Value);
	return FromAscii(Buffer);
}

FString HostJson::FormatFloat(float Value)
{
	if (!std::isfinite(Value))
	{
		return FromAscii("null");
	}
	char Buffer[64];
	std::snprintf(Buffer, sizeof(Buffer), "%g", (double)Value);
	return FromAscii(Buffer);
}

void HostJson::AppendQuotedString(FString& Out, const FString& Text)
{
	Out.Reserve(Out.Len() + Text.Len() + 2);
	Out.AppendChar(TEXT('"'));
	for (const TCHAR Char : Text)
	{
		switch (Char)
		{
			case '\\':
				Out.Append(TEXT("\\\\"));
				break;
			case '"':
				Out.Append(TEXT("\\\""));
				break;
			case '\n':
				Out.Append(TEXT("\\n"));
				break;
			case '\r':
				Out.Append(TEXT("\\r"));
				break;
			case '\t':
				Out.Append(TEXT("\\t"));
				break;
			case '\b':
				Out.Append(TEXT("\\b"));
				break;
			case '\f':
				Out.Append(TEXT("\\f"));
				break;
			default:
				// '/' and everything from the space up, non-ASCII included, goes out as it is.
				if (Char < 0x20)
				{
					Out.Appendf(TEXT("\\u%04x"), (int32)Char);
				}
				else
				{
					Out.AppendChar(Char);
				}
				break;
		}
	}
	Out.AppendChar(TEXT('"'));
}
