#include "store/ProfileLoader.h"

#include <string>
#include <vector>

#include "store/DeviceDatabase.h"

namespace quorvel {

int LoadProfiles(DeviceDatabase& db, std::string_view profileWord) {
    {
        // Held across the check and the four inserts: the other thread must not see (or make) a half list.
        auto hold = db.Hold();
        std::vector<ProfileRecord> list;
        if (db.ListProfiles(list) == 0) {
            for (int n = 1; n <= 4; ++n) {
                ProfileRecord record;
                record.name = std::string(profileWord) + " " + std::to_string(n);
                db.AddProfile(record);
            }
            db.SetActiveProfile(1);
        }
    }
    int active = db.GetActiveProfile();
    if (active < 1) {
        db.SetActiveProfile(1);
        active = db.GetActiveProfile();
    }
    return active;
}

}  // namespace quorvel
