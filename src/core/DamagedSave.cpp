#include "core/DamagedSave.h"

namespace tsl {

bool ConfirmDamagedSave(MapHandler& maps, Prompter& prompter)
{
    if (!maps.LoadedWithDamage || maps.DamagedSaveAgreed)
        return true;
    if (prompter.Message(kDamagedSaveQuestion, "Save maps", MessageIcon::Warning, Buttons::YesNo) != Answer::Yes)
        return false;
    maps.DamagedSaveAgreed = true;
    return true;
}

} // namespace tsl
