#include "store/ProfileLoader.h"

#include <string>
#include <vector>

#include "store/DeviceDatabase.h"

namespace quorvel {

int LoadProfiles(DeviceDatabase& db, std::string_view profileWord, const ProfileDefaults& defaults) {
    {
        // One immediate transaction across the check and the four inserts: neither the other thread nor
        // another process must see (or make) a half list, or make a second one beside it.
        DeviceDatabase::Transaction transaction(db, true);
        std::vector<ProfileRecord> list;
        if (db.ListProfiles(list) == 0) {
            bool all = true;
            for (int n = 1; n <= 4; ++n) {
                ProfileRecord record;
                record.name = std::string(profileWord) + " " + std::to_string(n);
                const int profile = db.AddProfile(record);
                if (profile == 0) {
                    all = false;
                    continue;
                }
                // Every profile is the model's from the start, not only the one the mouse is read into.
                for (const auto& [key, value] : defaults) {
                    if (!db.SetConfig(profile, key, value)) all = false;
                }
            }
            // All four or none: a half list would stay for good, since profiles are made only once.
            if (all && db.SetActiveProfile(1)) transaction.Commit();
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
