// Stands in for the engine's Widgets/SNullWidget.h: the shared empty widget that fills an unused slot.
#pragma once

#include "Widgets/SWidget.h"

class SNullWidget
{
public:
	/** The one empty widget; slots hold it when they hold nothing. It never has a parent. */
	static TSharedRef<SWidget> NullWidget;
};
