#pragma once
// Pairing ids for new items of a macro's event list: ids no item of the list uses, counting up from the
// largest one in use (internal to the macro actions).

#include <algorithm>
#include <climits>
#include <set>
#include <vector>

#include "store/Records.h"

namespace quorvel {

class MacroPairIds {
public:
    explicit MacroPairIds(const std::vector<MacroEventRecord>& list) {
        for (const MacroEventRecord& e : list) {
            used_.insert(e.delay_time);
            next_ = std::max<long long>(next_, static_cast<long long>(e.delay_time) + 1);
        }
    }
    int Next() {
        for (;;) {
            if (next_ <= 0 || next_ > INT_MAX) next_ = 1;  // ids that ran up to the top wrap around
            const int id = static_cast<int>(next_++);
            if (used_.insert(id).second) return id;
        }
    }

private:
    std::set<int> used_;
    long long next_ = 1;
};

}  // namespace quorvel
