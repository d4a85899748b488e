#include "device/ProfilePreparation.h"

#include "store/DeviceDatabase.h"
#include "store/LightDefaults.h"
#include "store/ProfileLoader.h"

namespace quorvel {

int PrepareLighting(DeviceDatabase& db, int profile, const ModelState& model) {
    if (!model.light || profile <= 0) return 0;
    AddDefaultLightModes(db, profile, model.light_zone, model.light_config);
    return db.GetActiveLightMode(profile);
}

PreparedProfile PrepareActiveProfile(DeviceDatabase& db, const ModelState& model,
                                     std::string_view profileWord) {
    PreparedProfile prepared;
    prepared.profile = LoadProfiles(db, profileWord, model.profile_defaults);
    prepared.lightMode = PrepareLighting(db, prepared.profile, model);
    return prepared;
}

}  // namespace quorvel
