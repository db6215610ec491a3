// UTF-8 and Latin-1 conversions of the stand-in's text types.
#include "Containers/StringConv.h"

namespace HostConv
{
int32 TcharLen(const TCHAR* Source)
{
	int32 Len = 0;
	while (Source[Len] != 0)
	{
		++Len;
	}
	return Len;
}

std::string ToUtf8(const TCHAR* Source, int32 Len)
{
	std::string Out;
	Out.reserve(Len > 0 ? (SIZE_T)Len : 0);
	for (int32 Index = 0; Index < Len; ++Index)
	{
		uint32 Code = Source[Index];
		if (Code >= 0xD800 && Code <= 0xDBFF)
		{
			if (Index + 1 < Len && Source[Index + 1] >= 0xDC00 && Source[Index + 1] <= 0xDFFF)
			{
				Code = 0x10000 + ((Code - 0xD800) << 10) + (Source[Index + 1] - 0xDC00);
				++Index;
			}
			else
			{
				Code = '?';
			}
		}
		else if (Code >= 0xDC00 && Code <= 0xDFFF)
		{
			Code = '?';
		}

		if (Code < 0x80)
		{
			Out.push_back((char)Code);
		}
		else if (Code < 0x800)
		{
			Out.push_back((char)(0xC0 | (Code >> 6)));
			Out.push_back((char)(0x80 | (Code & 0x3F)));
		}
		else if (Code < 0x10000)
		{
			Out.push_back((char)(0xE0 | (Code >> 12)));
			Out.push_back((char)(0x80 | ((Code >> 6) & 0x3F)));
			Out.push_back((char)(0x80 | (Code & 0x3F)));
		}
		else
		{
			Out.push_back((char)(0xF0 | (Code >> 18)));
			Out.push_back((char)(0x80 | ((Code >> 12) & 0x3F)));
			Out.push_back((char)(0x80 | ((Code >> 6) & 0x3F)));
			Out.push_back((char)(0x80 | (Code & 0x3F)));
		}
	}
	return Out;
}

std::u16string FromUtf8(const char* Source, int32 Len)
{
	std::u16string Out;
	Out.reserve(Len > 0 ? (SIZE_T)Len : 0);
	const unsigned char* Bytes = (const unsigned char*)Source;
	int32 Index = 0;
	while (Index < Len)
	{
		const uint32 Lead = Bytes[Index];
		int32 Extra = 0;
		uint32 Code = 0;
		uint32 Minimum = 0;
		if (Lead < 0x80)
		{
			Out.push_back((char16_t)Lead);
			++Index;
			continue;
		}
		else if ((Lead & 0xE0) == 0xC0)
		{
			Extra = 1;
			Code = Lead & 0x1F;
			Minimum = 0x80;
		}
		else if ((Lead & 0xF0) == 0xE0)
		{
			Extra = 2;
			Code = Lead & 0x0F;
			Minimum = 0x800;
		}
		else if ((Lead & 0xF8) == 0xF0)
		{
			Extra = 3;
			Code = Lead & 0x07;
			Minimum = 0x10000;
		}
		else
		{
			Out.push_back(u'?');
			++Index;
			continue;
		}

		bool bValid = Index + Extra < Len;
		for (int32 Step = 1; bValid && Step <= Extra; ++Step)
		{
			const uint32 Next = Bytes[Index + Step];
			if ((Next & 0xC0) != 0x80)
			{
				bValid = false;
				break;
			}
			Code = (Code << 6) | (Next & 0x3F);
		}
		if (!bValid || Code < Minimum || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
		{
			Out.push_back(u'?');
			++Index;
			continue;
		}
		Index += Extra + 1;
		if (Code >= 0x10000)
		{
			Code -= 0x10000;
			Out.push_back((char16_t)(0xD800 + (Code >> 10)));
			Out.push_back((char16_t)(0xDC00 + (Code & 0x3FF)));
		}
		else
		{
			Out.push_back((char16_t)Code);
		}
	}
	return Out;
}
} // namespace HostConv

FTCHARToANSI::FTCHARToANSI(const TCHAR* Source)
{
	for (const TCHAR* Ptr = Source; Ptr && *Ptr; ++Ptr)
	{
		Converted.push_back(*Ptr < 0x100 ? (char)*Ptr : '?');
	}
}

FANSIToTCHAR::FANSIToTCHAR(const ANSICHAR* Source)
{
	for (const ANSICHAR* Ptr = Source; Ptr && *Ptr; ++Ptr)
	{
		Converted.push_back((char16_t)(unsigned char)*Ptr);
	}
}
