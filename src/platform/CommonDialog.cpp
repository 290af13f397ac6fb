// The colour dialog keeps its colour unless the user confirms another.
#include "platform/CommonDialog.h"

void CommonDialog::ShowColor()
{
    if (const auto chosen = dialogs_.showColor(Color))
        Color = *chosen;
}
