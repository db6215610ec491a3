// Stands in for the engine's Widgets/SPanel.h: the base of widgets that arrange any number of children.
#pragma once

#include "CoreMinimal.h"
#include "Layout/Children.h"
#include "Widgets/SWidget.h"

class SPanel : public SWidget
{
public:
	virtual FChildren* GetChildren() override = 0;

protected:
	SPanel() = default;
};
