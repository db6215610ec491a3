// Where the Tarvoline service lives and how the plug-in introduces itself to it.

#pragma once

#include "CoreMinimal.h"

namespace TarvolineApi
{
/** The live service's API base URL: scheme and host, no path, no trailing slash. TARVOLINE_API replaces it. */
inline const TCHAR* const DefaultApiBaseUrl = TEXT("https://api.tarvoline.com");

/** The host name of the service's web site, as failure sentences name it to the user. */
inline const TCHAR* const TarvolineSiteHost = TEXT("tarvoline.com");

/** The plug-in's version, sent in the user agent. */
inline const TCHAR* const PluginVersion = TEXT("0.1.0");

/** Every request, uploads and downloads included, gives up after this many seconds. */
inline constexpr float RequestTimeoutSeconds = 900.0f;
}

/** The base URL of the service's web site (account, credits and job pages); TARVOLINE_API never moves it. */
inline const TCHAR* const TarvolineSiteUrl = TEXT("https://tarvoline.com");
